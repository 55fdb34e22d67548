#!/usr/bin/env bash
# Compiles the Windows version resource with the MinGW resource compiler and reads it back.
set -euo pipefail
source "$(dirname "$0")/checks.sh"
rc=$1
windres=x86_64-w64-mingw32-windres
need "$windres"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$windres" --preprocessor=cpp -I "$(dirname "$rc")" "$rc" -O coff -o "$work/version.o"
"$windres" -i "$work/version.o" -O rc -o "$work/back.rc"

says() { grep -qF -- "$1" "$work/back.rc"; }
check "icon IDI_ICON1, six sizes" 'says "\"IDI_ICON1\" 14 /* RT_GROUP_ICON */" &&
    [ "$(grep -c "RT_ICON \*/" "$work/back.rc")" -eq 6 ]'
check "language Japanese" 'says "LANGUAGE 17, 1"'
check "FILEVERSION" 'says "FILEVERSION 1, 0, 0, 0"'
check "PRODUCTVERSION" 'says "PRODUCTVERSION 1, 0, 0, 0"'
check "Japanese Unicode string table" "says 'BLOCK \"041104B0\"'"
check "FileVersion text" "says 'VALUE \"FileVersion\", \"1.00\"'"
check "ProductVersion text" "says 'VALUE \"ProductVersion\", \"1.00\"'"
check "translation" "says 'VALUE \"Translation\", 0x411, 1200'"
[ $fail -eq 0 ] || cat "$work/back.rc"
exit $fail
