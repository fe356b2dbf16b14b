# The list of a distribution's payload that its SetUp.exe carries (the setup
# reads it: deploy/PayloadList.h): one line per file below DATA_DIR, sub-folders
# included, sorted,
#   <SHA-256, lowercase hex> <size in bytes> <path below DATA_DIR, '\' separated, UTF-8>
# Included by Distribution.cmake, or run alone (the benchmark):
#   cmake -DDATA_DIR=... -DLIST=... -P PayloadList.cmake
function(trabex_write_payload_list data_dir list_file)
    get_filename_component(data_dir "${data_dir}" ABSOLUTE)
    file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${data_dir} ${data_dir}/*)
    if(NOT files)
        message(FATAL_ERROR "no payload in ${data_dir}")
    endif()
    list(SORT files)
    set(text "")
    foreach(file ${files})
        file(SHA256 ${data_dir}/${file} sha256)
        file(SIZE ${data_dir}/${file} size)
        string(REPLACE "/" "\\" name "${file}")
        string(APPEND text "${sha256} ${size} ${name}\n")
    endforeach()
    file(WRITE ${list_file} "${text}")
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    if(NOT DATA_DIR OR NOT LIST)
        message(FATAL_ERROR "DATA_DIR and LIST must be set")
    endif()
    trabex_write_payload_list(${DATA_DIR} ${LIST})
endif()
