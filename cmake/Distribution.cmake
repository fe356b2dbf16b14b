# Lays out one distribution: DIST_ROOT/Q-Ostrevo-for-AutoCAD-<EDITION>/ with
# SetUp.exe beside Data (the sample payload, and Uninstall.exe and
# TrabexTrustedPath.exe, which the setup's payload copy places in the install
# folder), and its zip.
#   cmake -DDIST_ROOT=... -DEDITION=32bit|64bit -DVERSION=x.y.z -DSETUP=... -DUNINSTALL=...
#         -DTRUSTED_PATH=... -P Distribution.cmake
foreach(var DIST_ROOT EDITION VERSION SETUP UNINSTALL TRUSTED_PATH)
    if(NOT ${var})
        message(FATAL_ERROR "${var} not set")
    endif()
endforeach()
set(name Q-Ostrevo-for-AutoCAD-${EDITION})
set(folder ${DIST_ROOT}/${name})
file(MAKE_DIRECTORY ${folder}/Data)
file(COPY ${SETUP} DESTINATION ${folder})
file(COPY ${UNINSTALL} ${TRUSTED_PATH} DESTINATION ${folder}/Data)
execute_process(COMMAND ${CMAKE_COMMAND} -DDATA_DIR=${folder}/Data -P ${CMAKE_CURRENT_LIST_DIR}/SamplePayload.cmake
                RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "sample payload not written")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf Q-Ostrevo-${VERSION}-for-AutoCAD-${EDITION}.zip --format=zip ${name}
                WORKING_DIRECTORY ${DIST_ROOT} RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "zip not written")
endif()
