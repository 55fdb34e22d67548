# Read by cpack for each generator.

# The time every package stamps on its files: SOURCE_DATE_EPOCH, or else the last commit's.
if("$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
    execute_process(COMMAND git -C ${CPACK_BINGO_SOURCE_DIR} log -1 --format=%ct
                    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(epoch MATCHES "^[0-9]+$")
        set(ENV{SOURCE_DATE_EPOCH} ${epoch})
    endif()
endif()

if(CPACK_GENERATOR MATCHES "^(DEB|ZIP)$")
    set(CPACK_POST_BUILD_SCRIPTS ${CPACK_BINGO_SOURCE_DIR}/cmake/Repack.cmake)
endif()

# With a certificate in the environment (scripts/sign-windows) the setup program signs its
# uninstaller as it takes it in, and itself once written.
set(CPACK_BINGO_SIGNING "")
if(CPACK_GENERATOR STREQUAL "NSIS" AND NOT "$ENV{BINGO_SIGN_PKCS12}" STREQUAL "")
    set(sign "bash \"${CPACK_BINGO_SOURCE_DIR}/scripts/sign-windows\" \"%1\"")
    set(CPACK_BINGO_SIGNING "!uninstfinalize '${sign}'\n!finalize '${sign}'")
endif()

# The setup program is named as one and installs the files themselves, not the zip's top folder.
if(CPACK_GENERATOR STREQUAL "NSIS")
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_NAME}-${CPACK_PACKAGE_VERSION}-win64-setup")
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
endif()
