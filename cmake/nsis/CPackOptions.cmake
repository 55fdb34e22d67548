# Read by cpack for each generator: the setup program is named as one and installs the files
# themselves, not the zip's top folder.
if(CPACK_GENERATOR STREQUAL "NSIS")
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_NAME}-${CPACK_PACKAGE_VERSION}-win64-setup")
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
endif()
