#!/bin/sh
# uninstall-list.sh FOLDER OUTPUT: the uninstaller's lines for what the setup program puts in
# place from FOLDER, a Delete for each file and an RMDir for each folder, deepest first, in a
# fixed order (CPack's own list follows the order the disk lists files in). Run by makensis.
set -eu
cd "$1"
{
    find . -type f | LC_ALL=C sort | sed 's|^\./\(.*\)|  Delete "$INSTDIR/\1"|'
    find . -mindepth 1 -type d | LC_ALL=C sort -r | sed 's|^\./\(.*\)|  RMDir "$INSTDIR/\1"|'
} | sed 's|/|\\|g' >"$2"
