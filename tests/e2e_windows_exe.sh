#!/usr/bin/env bash
# The Windows package as shipped: the zip holds the program, the Qt DLLs and plugins it loads,
# the MinGW runtime and the licences; the executable is a GUI-subsystem PE with address space
# randomisation (high entropy) and no-execute data, and carries the version record 1.00,
# 1.0.0.0, language Japanese, as read back from the .exe itself.
set -euo pipefail
source "$(dirname "$0")/checks.sh"
build=$1
need cpack unzip x86_64-w64-mingw32-objdump /usr/bin/python3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$build" && cpack -G ZIP -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
zip=$(ls "$work"/out/*.zip)
echo "package: $(basename "$zip"), $(du -k "$zip" | cut -f1) KiB"
unzip -q "$zip" -d "$work/root"
dir=$(ls -d "$work"/root/*/)
unzip -l "$zip" | awk 'NR > 3 && $4 != "" { print $4 }' | grep -v '/$' | sed 's|^[^/]*/||' | sort
exe="$dir/bingo-caller.exe"
for file in bingo-caller.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll platforms/qwindows.dll \
    styles/qwindowsvistastyle.dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll \
    licences/qt/LGPL-3.0-only.txt licences/mingw-w64/copyright licences/gcc/copyright; do
    check "zip holds $file" '[ -f "$dir/$file" ]'
done
check "no test or build files" '! ls "$dir" | grep -Eqi "test|\.a$|\.cmake"'

x86_64-w64-mingw32-objdump -p "$exe" >"$work/pe"
check "GUI subsystem" 'grep -Eq "^Subsystem\s+00000002" "$work/pe"'
check "ASLR (dynamic base)" 'grep -q "^\s*DYNAMIC_BASE$" "$work/pe"'
check "high-entropy ASLR" 'grep -q "^\s*HIGH_ENTROPY_VA$" "$work/pe"'
check "DEP (NX compatible)" 'grep -q "^\s*NX_COMPAT$" "$work/pe"'

/usr/bin/python3 - "$exe" >"$work/version" <<'PY'
import sys, pefile
pe = pefile.PE(sys.argv[1])
fixed = pe.VS_FIXEDFILEINFO[0]
print("fixed", fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF,
      fixed.FileVersionLS >> 16, fixed.FileVersionLS & 0xFFFF)
for info in pe.FileInfo[0]:
    for table in getattr(info, "StringTable", []):
        print("table", table.LangID.decode())
        for key, value in table.entries.items():
            print(key.decode(), "=", value.decode())
    for var in getattr(info, "Var", []):
        for key, value in var.entry.items():
            print(key.decode(), "=", value)
PY
cat "$work/version"
check "FILEVERSION 1.0.0.0" 'grep -qx "fixed 1 0 0 0" "$work/version"'
check "Japanese Unicode string table" 'grep -qix "table 041104b0" "$work/version"'
check "FileVersion 1.00" 'grep -qx "FileVersion = 1.00" "$work/version"'
check "ProductVersion 1.00" 'grep -qx "ProductVersion = 1.00" "$work/version"'
check "translation Japanese, Unicode" 'grep -qix "Translation = 0x0411 0x04b0" "$work/version"'
exit $fail
