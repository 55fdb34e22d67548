# Run by cpack once it has made a zip or a .deb (CPACK_POST_BUILD_SCRIPTS), so that the package
# is the same bytes on any file system and under any umask.
#
# A zip holds a folder's files in the order the file system lists them: strip-nondeterminism
# sorts them and sets their times and permissions.
#
# In a .deb, CPack adds each folder's own size, which differs from one file system to another,
# into Installed-Size: dpkg's estimate takes its place (a kibibyte for each started kibibyte of a
# file, one for each folder). Permissions are set from the owner's, and dpkg-deb packs the
# package again, names sorted and times clamped to SOURCE_DATE_EPOCH.
foreach(package ${CPACK_PACKAGE_FILES})
    if(package MATCHES "\\.zip$")
        set(time)
        if(NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
            set(time --timestamp $ENV{SOURCE_DATE_EPOCH})
        endif()
        execute_process(COMMAND strip-nondeterminism --type zip ${time} ${package}
                        COMMAND_ERROR_IS_FATAL ANY)
        continue()
    endif()
    set(tree ${CPACK_TOPLEVEL_DIRECTORY}/repack)
    file(REMOVE_RECURSE ${tree})
    execute_process(COMMAND dpkg-deb -R ${package} ${tree} COMMAND_ERROR_IS_FATAL ANY)
    file(GLOB_RECURSE entries LIST_DIRECTORIES true ${tree}/*)
    set(size 0)
    foreach(entry ${entries})
        if(entry MATCHES "^${tree}/DEBIAN(/|$)")
            continue()
        elseif(IS_DIRECTORY ${entry})
            math(EXPR size "${size} + 1")
        else()
            file(SIZE ${entry} bytes)
            math(EXPR size "${size} + (${bytes} + 1023) / 1024")
        endif()
    endforeach()
    file(READ ${tree}/DEBIAN/control control)
    string(REGEX REPLACE "Installed-Size: [0-9]+" "Installed-Size: ${size}" control "${control}")
    file(WRITE ${tree}/DEBIAN/control "${control}")
    execute_process(COMMAND chmod -R u+rwX,go=u-w ${tree} COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND dpkg-deb --root-owner-group --build ${tree} ${package}
                    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE_RECURSE ${tree})
endforeach()
