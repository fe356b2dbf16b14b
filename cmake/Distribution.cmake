# Lays out one distribution: DIST_ROOT/Q-Ostrevo-for-AutoCAD-<EDITION>/ with
# SetUp.exe beside Data (the sample payload), and its zip.
#   cmake -DDIST_ROOT=... -DEDITION=32bit|64bit -DVERSION=x.y.z -DSETUP=... -P Distribution.cmake
foreach(var DIST_ROOT EDITION VERSION SETUP)
    if(NOT ${var})
        message(FATAL_ERROR "${var} not set")
    endif()
endforeach()
set(name Q-Ostrevo-for-AutoCAD-${EDITION})
set(folder ${DIST_ROOT}/${name})
file(MAKE_DIRECTORY ${folder}/Data)
file(COPY ${SETUP} DESTINATION ${folder})
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
