# Authenticode signing of the programs of one distribution folder, included by
# Distribution.cmake. The certificate comes from outside the repository, read
# from the environment each time the distribution is made:
#   TRABEX_SIGN_PFX            the publisher's certificate and key (PKCS#12)
#   TRABEX_SIGN_PASSWORD       a file holding its password (never on a command line)
#   TRABEX_SIGN_TIMESTAMP_URL  optional: an RFC 3161 timestamp server, so that the
#                              signature outlives the certificate
# Without a certificate the programs stay unsigned, which is said loudly: Windows
# names such a program's publisher "Unknown".

set(TRABEX_SIGN_DESCRIPTION "Q-Ostrevo")

# Signs each program in place. A failure removes FOLDER, the distribution being
# made, so that no unsigned program is left where a signed one was expected.
#   trabex_sign_programs(FOLDER PROGRAM...)
function(trabex_sign_programs folder)
    set(pfx "$ENV{TRABEX_SIGN_PFX}")
    set(password "$ENV{TRABEX_SIGN_PASSWORD}")
    set(timestamp "$ENV{TRABEX_SIGN_TIMESTAMP_URL}")
    get_filename_component(name ${folder} NAME)
    if(pfx STREQUAL "")
        if(NOT password STREQUAL "" OR NOT timestamp STREQUAL "")
            trabex_sign_failed(${folder} "TRABEX_SIGN_PASSWORD or TRABEX_SIGN_TIMESTAMP_URL set without TRABEX_SIGN_PFX")
        endif()
        message(WARNING "${name}: UNSIGNED programs, for testing only. "
                        "Set TRABEX_SIGN_PFX and TRABEX_SIGN_PASSWORD to sign a release.")
        return()
    endif()
    if(NOT EXISTS "${pfx}" OR IS_DIRECTORY "${pfx}")
        trabex_sign_failed(${folder} "TRABEX_SIGN_PFX: no certificate file at ${pfx}")
    endif()
    if(password STREQUAL "" OR NOT EXISTS "${password}" OR IS_DIRECTORY "${password}")
        trabex_sign_failed(${folder} "TRABEX_SIGN_PASSWORD must name the file holding the certificate's password")
    endif()
    find_program(OSSLSIGNCODE osslsigncode)
    if(NOT OSSLSIGNCODE)
        trabex_sign_failed(${folder} "osslsigncode not found (scripts/setup-deps.sh installs it)")
    endif()
    set(stamp)
    if(NOT timestamp STREQUAL "")
        set(stamp -ts ${timestamp})
    endif()
    foreach(program ${ARGN})
        set(signed ${program}.signed)
        file(REMOVE ${signed})
        execute_process(COMMAND ${OSSLSIGNCODE} sign -pkcs12 ${pfx} -readpass ${password} -h sha256
                                -n ${TRABEX_SIGN_DESCRIPTION} ${stamp} -in ${program} -out ${signed}
                        RESULT_VARIABLE failed OUTPUT_VARIABLE output ERROR_VARIABLE output)
        if(failed OR NOT EXISTS ${signed})
            trabex_sign_failed(${folder} "${program} not signed (osslsigncode: ${failed}):\n${output}")
        endif()
        file(RENAME ${signed} ${program})
        message(STATUS "Signed ${program}")
    endforeach()
endfunction()

function(trabex_sign_failed folder why)
    file(REMOVE_RECURSE ${folder})
    message(FATAL_ERROR "Signing failed, ${folder} removed: ${why}")
endfunction()
