#!/usr/bin/env bash
# Compiles the Windows version resource with the MinGW resource compiler and reads it back.
set -euo pipefail
rc=$1
windres=x86_64-w64-mingw32-windres
command -v "$windres" >/dev/null || { echo "FAIL: $windres is not installed (scripts/test installs it)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$windres" --preprocessor=cpp "$rc" -O coff -o "$work/version.o"
"$windres" -i "$work/version.o" -O rc -o "$work/back.rc"

fail=0
check() { if grep -qF -- "$2" "$work/back.rc"; then echo "PASS: $1"; else echo "FAIL: $1"; fail=1; fi; }
check "language Japanese" "LANGUAGE 17, 1"
check "FILEVERSION" "FILEVERSION 1, 0, 0, 0"
check "PRODUCTVERSION" "PRODUCTVERSION 1, 0, 0, 0"
check "Japanese Unicode string table" 'BLOCK "041104B0"'
check "FileVersion text" 'VALUE "FileVersion", "1.00"'
check "ProductVersion text" 'VALUE "ProductVersion", "1.00"'
check "translation" 'VALUE "Translation", 0x411, 1200'
[ $fail -eq 0 ] || cat "$work/back.rc"
exit $fail
