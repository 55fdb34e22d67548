# The Windows program as a folder that runs where it is unzipped: bingo-caller.exe, the Qt
# DLLs and the plugins it loads (the Windows platform and the Windows styles), the MinGW runtime
# DLLs, and the licence texts. Which DLLs are needed is read from the executables themselves
# (file(GET_RUNTIME_DEPENDENCIES) with objdump), not listed by hand.

get_target_property(BINGO_QT_CORE_DLL Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(BINGO_QT_BIN ${BINGO_QT_CORE_DLL} DIRECTORY)
get_filename_component(BINGO_QT_PREFIX ${BINGO_QT_BIN} DIRECTORY)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-libgcc-file-name
                OUTPUT_VARIABLE BINGO_LIBGCC OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(BINGO_GCC_DLLS ${BINGO_LIBGCC} DIRECTORY)
set(BINGO_RUNTIME_DIRS ${BINGO_QT_BIN} ${BINGO_GCC_DLLS} /usr/${BINGO_MINGW}/lib)
# The style plugin is qwindowsvistastyle.dll before Qt 6.7, qmodernwindowsstyle.dll since.
file(GLOB BINGO_STYLES RELATIVE ${BINGO_QT_PREFIX}/plugins ${BINGO_QT_PREFIX}/plugins/styles/*.dll)
set(BINGO_PLUGINS platforms/qwindows.dll ${BINGO_STYLES})

install(TARGETS bingo-caller RUNTIME DESTINATION .)
set(BINGO_MODULES)
foreach(plugin ${BINGO_PLUGINS})
    get_filename_component(folder ${plugin} DIRECTORY)
    install(FILES ${BINGO_QT_PREFIX}/plugins/${plugin} DESTINATION ${folder})
    list(APPEND BINGO_MODULES ${BINGO_QT_PREFIX}/plugins/${plugin})
endforeach()
install(CODE "
    set(BINGO_EXE \"$<TARGET_FILE:bingo-caller>\")
    set(BINGO_MODULES \"${BINGO_MODULES}\")
    set(BINGO_DIRS \"${BINGO_RUNTIME_DIRS}\")
    set(BINGO_OBJDUMP ${BINGO_MINGW}-objdump)
    set(BINGO_STRIP ${BINGO_MINGW}-strip)
    include(${PROJECT_SOURCE_DIR}/cmake/WindowsDependencies.cmake)
")
# Signed in place when a certificate is given, before the zip and the setup program take it.
install(CODE "execute_process(COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/sign-windows
    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bingo-caller.exe\" COMMAND_ERROR_IS_FATAL ANY)")
# Licences: Qt's (LGPL 3 among them) and the MinGW-w64 runtime's and GCC's.
file(GLOB BINGO_QT_LICENCES ${BINGO_QT_PREFIX}/*.txt)
install(FILES ${BINGO_QT_LICENCES} DESTINATION licences/qt)
install(FILES /usr/share/doc/mingw-w64-common/copyright DESTINATION licences/mingw-w64)
install(FILES /usr/share/doc/gcc-mingw-w64-base/copyright DESTINATION licences/gcc)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION .
        RENAME COPYRIGHT.txt)
