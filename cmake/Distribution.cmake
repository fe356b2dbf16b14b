# Lays out one distribution, DIST_ROOT/Q-Ostrevo-for-AutoCAD-<EDITION>/ with
# SetUp.exe beside Data, and its zip, in two steps around the link of the
# distribution's SetUp.exe (a signature covers one file only: that program
# carries the list of Data's files, with their sizes and SHA-256, and installs
# nothing else):
#   payload: Data, with the payload (the folder TRABEX_PAYLOAD names, read from
#            the environment each time, else the sample payload) and Uninstall.exe
#            and TrabexTrustedPath.exe, which the setup's payload copy places in
#            the install folder; the programs signed (cmake/Signing.cmake: when
#            the environment names a certificate); then the list of every file
#            of Data, written to LIST, which the distribution's SetUp.exe is
#            linked with.
#   package: that SetUp.exe beside Data, signed, and the zip, which so holds the
#            signed files.
#   cmake -DSTEP=payload -DDIST_ROOT=... -DEDITION=32bit|64bit -DVERSION=x.y.z -DUNINSTALL=...
#         -DTRUSTED_PATH=... -DLIST=... -P Distribution.cmake
#   cmake -DSTEP=package -DDIST_ROOT=... -DEDITION=32bit|64bit -DVERSION=x.y.z -DSETUP=... -P Distribution.cmake
if(STEP STREQUAL "payload")
    set(required DIST_ROOT EDITION VERSION UNINSTALL TRUSTED_PATH LIST)
elseif(STEP STREQUAL "package")
    set(required DIST_ROOT EDITION VERSION SETUP)
else()
    message(FATAL_ERROR "STEP must be payload or package")
endif()
foreach(var ${required})
    if(NOT ${var})
        message(FATAL_ERROR "${var} not set")
    endif()
endforeach()
set(name Q-Ostrevo-for-AutoCAD-${EDITION})
set(folder ${DIST_ROOT}/${name})
set(zip Q-Ostrevo-${VERSION}-for-AutoCAD-${EDITION}.zip)
include(${CMAKE_CURRENT_LIST_DIR}/Signing.cmake)

if(STEP STREQUAL "payload")
    # An earlier run's folder, zip and list must not outlive a run that fails.
    file(REMOVE_RECURSE ${folder})
    file(REMOVE ${DIST_ROOT}/${zip} ${LIST})
    file(MAKE_DIRECTORY ${folder}/Data)
    set(payload "$ENV{TRABEX_PAYLOAD}")
    if(payload STREQUAL "")
        execute_process(COMMAND ${CMAKE_COMMAND} -DDATA_DIR=${folder}/Data
                                -P ${CMAKE_CURRENT_LIST_DIR}/SamplePayload.cmake
                        RESULT_VARIABLE failed)
        if(failed)
            message(FATAL_ERROR "sample payload not written")
        endif()
    elseif(IS_DIRECTORY "${payload}")
        file(COPY "${payload}/" DESTINATION ${folder}/Data)
    else()
        file(REMOVE_RECURSE ${folder})
        message(FATAL_ERROR "TRABEX_PAYLOAD: no folder at ${payload}")
    endif()
    file(COPY ${UNINSTALL} ${TRUSTED_PATH} DESTINATION ${folder}/Data)
    get_filename_component(uninstall_name ${UNINSTALL} NAME)
    get_filename_component(trusted_path_name ${TRUSTED_PATH} NAME)
    trabex_sign_programs(${folder} ${folder}/Data/${uninstall_name} ${folder}/Data/${trusted_path_name})
    # Last: the list holds the signed bytes.
    include(${CMAKE_CURRENT_LIST_DIR}/PayloadList.cmake)
    trabex_write_payload_list(${folder}/Data ${LIST})
    return()
endif()

if(NOT IS_DIRECTORY ${folder}/Data)
    message(FATAL_ERROR "${folder}/Data missing: the payload step runs first")
endif()
file(COPY ${SETUP} DESTINATION ${folder})
get_filename_component(setup_name ${SETUP} NAME)
trabex_sign_programs(${folder} ${folder}/${setup_name})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip ${name}
                WORKING_DIRECTORY ${DIST_ROOT} RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "zip not written")
endif()
