# Lays out one distribution: DIST_ROOT/Q-Ostrevo-for-AutoCAD-<EDITION>/ with
# SetUp.exe beside Data (the sample payload, and Uninstall.exe and
# TrabexTrustedPath.exe, which the setup's payload copy places in the install
# folder), and its zip. The programs are signed as soon as they are in place
# (cmake/Signing.cmake: when the environment names a certificate), so that every
# later step, the zip among them, reads the signed files.
#   cmake -DDIST_ROOT=... -DEDITION=32bit|64bit -DVERSION=x.y.z -DSETUP=... -DUNINSTALL=...
#         -DTRUSTED_PATH=... -P Distribution.cmake
foreach(var DIST_ROOT EDITION VERSION SETUP UNINSTALL TRUSTED_PATH)
    if(NOT ${var})
        message(FATAL_ERROR "${var} not set")
    endif()
endforeach()
set(name Q-Ostrevo-for-AutoCAD-${EDITION})
set(folder ${DIST_ROOT}/${name})
set(zip Q-Ostrevo-${VERSION}-for-AutoCAD-${EDITION}.zip)
# An earlier run's zip must not outlive a run that fails.
file(REMOVE ${DIST_ROOT}/${zip})
file(MAKE_DIRECTORY ${folder}/Data)
file(COPY ${SETUP} DESTINATION ${folder})
file(COPY ${UNINSTALL} ${TRUSTED_PATH} DESTINATION ${folder}/Data)
include(${CMAKE_CURRENT_LIST_DIR}/Signing.cmake)
get_filename_component(setup_name ${SETUP} NAME)
get_filename_component(uninstall_name ${UNINSTALL} NAME)
get_filename_component(trusted_path_name ${TRUSTED_PATH} NAME)
trabex_sign_programs(${folder} ${folder}/${setup_name} ${folder}/Data/${uninstall_name}
                     ${folder}/Data/${trusted_path_name})
execute_process(COMMAND ${CMAKE_COMMAND} -DDATA_DIR=${folder}/Data -P ${CMAKE_CURRENT_LIST_DIR}/SamplePayload.cmake
                RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "sample payload not written")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip ${name}
                WORKING_DIRECTORY ${DIST_ROOT} RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "zip not written")
endif()
