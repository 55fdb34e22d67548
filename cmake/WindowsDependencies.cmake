# Runs at install time (cmake/WindowsPackage.cmake): copies into the install folder every DLL
# that the program and its plugins load, other than Windows' own, read from the files
# themselves with objdump, and stripped of their debugging sections. Set by the caller:
# BINGO_EXE, BINGO_MODULES, BINGO_DIRS, BINGO_OBJDUMP, BINGO_STRIP.
cmake_policy(VERSION 3.25)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND ${BINGO_OBJDUMP})

# A DLL's name as the importing file spells it need not match the case-sensitive folders here
# (CMake 3.25 gives "qt6core.dll" for Qt6Core.dll, CMake 3.31 leaves it unresolved): such names
# are looked up again without regard to case, and their files read for dependencies of their
# own, until nothing new turns up.
set(libraries)
foreach(round RANGE 10)
    file(GET_RUNTIME_DEPENDENCIES
        EXECUTABLES ${BINGO_EXE}
        MODULES ${BINGO_MODULES}
        LIBRARIES ${libraries}
        RESOLVED_DEPENDENCIES_VAR found
        UNRESOLVED_DEPENDENCIES_VAR unresolved
        DIRECTORIES ${BINGO_DIRS})
    string(TOLOWER "${unresolved}" unresolved)
    set(more)
    foreach(dir ${BINGO_DIRS})
        file(GLOB candidates "${dir}/*.dll")
        foreach(candidate ${candidates})
            get_filename_component(name ${candidate} NAME)
            string(TOLOWER ${name} name)
            if(name IN_LIST unresolved AND NOT candidate IN_LIST libraries)
                list(APPEND more ${candidate})
            endif()
        endforeach()
    endforeach()
    if(NOT more)
        break()
    endif()
    list(APPEND libraries ${more})
endforeach()

foreach(dll ${found} ${libraries})
    file(INSTALL ${dll} DESTINATION ${CMAKE_INSTALL_PREFIX})
    get_filename_component(name ${dll} NAME)
    # strip writes a time into the PE header, SOURCE_DATE_EPOCH's if set: none, as the linker.
    execute_process(COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0
                            ${BINGO_STRIP} --strip-debug ${CMAKE_INSTALL_PREFIX}/${name})
    string(TOLOWER ${name} name)
    list(REMOVE_ITEM unresolved ${name})
endforeach()
message(STATUS "Windows' own DLLs, not shipped: ${unresolved}")
