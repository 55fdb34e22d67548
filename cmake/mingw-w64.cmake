# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the posix-thread compiler, which
# Qt's threads need). Used to build Qt itself (scripts/windows-qt) and the `windows` preset.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(BINGO_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${BINGO_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BINGO_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${BINGO_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${BINGO_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# No link time in the PE headers, of Qt's DLLs and of the program: the same bytes from every
# build.
set(CMAKE_EXE_LINKER_FLAGS_INIT -Wl,--no-insert-timestamp)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -Wl,--no-insert-timestamp)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -Wl,--no-insert-timestamp)
