#!/usr/bin/env bash
# The Windows package as shipped: the zip holds the program, the Qt DLLs and plugins it loads,
# the MinGW runtime and the licences; the executable is a GUI-subsystem PE with address space
# randomisation (high entropy) and no-execute data, and carries the version record 1.00,
# 1.0.0.0, language Japanese, and its icon, as read back from the .exe itself. No PE header
# holds a time. Qt is 6.8 or later. The setup program is a 64-bit Windows program.
set -euo pipefail
source "$(dirname "$0")/checks.sh"
build=$1
need cpack unzip x86_64-w64-mingw32-objdump /usr/bin/python3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for generator in ZIP NSIS; do
    (cd "$build" && cpack -G $generator -B "$work/out" >"$work/cpack.log" 2>&1) ||
        { cat "$work/cpack.log"; exit 1; }
done
setup=$(ls "$work"/out/*-setup.exe)
echo "setup: $(basename "$setup"), $(du -k "$setup" | cut -f1) KiB"
check "setup program is 64-bit" '[[ $(x86_64-w64-mingw32-objdump -f "$setup") == *"file format pei-x86-64"* ]]'

zip=$(ls "$work"/out/*.zip)
echo "package: $(basename "$zip"), $(du -k "$zip" | cut -f1) KiB"
unzip -q "$zip" -d "$work/root"
dir=$(ls -d "$work"/root/*/)
unzip -l "$zip" | awk 'NR > 3 && $4 != "" { print $4 }' | grep -v '/$' | sed 's|^[^/]*/||' | sort
exe="$dir/bingo-caller.exe"
check "zip holds the Windows style plugin" 'ls "$dir"/styles/q*windows*style.dll >/dev/null'
for file in bingo-caller.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll platforms/qwindows.dll \
    libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll \
    licences/qt/LGPL-3.0-only.txt licences/mingw-w64/copyright licences/gcc/copyright; do
    check "zip holds $file" '[ -f "$dir/$file" ]'
done
check "no test or build files" \
    '[ -z "$(find "$dir" -maxdepth 1 -iname "*test*" -o -name "*.a" -o -iname "*.cmake*")" ]'

x86_64-w64-mingw32-objdump -p "$exe" >"$work/pe"
check "GUI subsystem" 'grep -Eq "^Subsystem\s+00000002" "$work/pe"'
check "ASLR (dynamic base)" 'grep -q "^\s*DYNAMIC_BASE$" "$work/pe"'
check "high-entropy ASLR" 'grep -q "^\s*HIGH_ENTROPY_VA$" "$work/pe"'
check "DEP (NX compatible)" 'grep -q "^\s*NX_COMPAT$" "$work/pe"'
# shellcheck disable=SC2034 # read in the checks' conditions
stamps=$(for f in "$exe" "$dir"/*.dll "$dir"/*/*.dll; do x86_64-w64-mingw32-objdump -p "$f"
    done | grep -P '^Time/Date\t' | sort -u | tr -s "\t " " ")
check "no time in any PE header" '[ "$stamps" = "Time/Date Thu Jan 1 00:00:00 1970" ]'

/usr/bin/python3 - "$exe" "$dir/Qt6Core.dll" >"$work/version" <<'PY'
import sys, pefile
core = pefile.PE(sys.argv[2]).VS_FIXEDFILEINFO[0]
print("qtcore", core.FileVersionMS >> 16, core.FileVersionMS & 0xFFFF)
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
for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
    if kind.id in (pefile.RESOURCE_TYPE["RT_ICON"], pefile.RESOURCE_TYPE["RT_GROUP_ICON"]):
        names = [str(entry.name or entry.id) for entry in kind.directory.entries]
        print(pefile.RESOURCE_TYPE.get(kind.id), len(names), names[0])
PY
cat "$work/version"
check "FILEVERSION 1.0.0.0" 'grep -qx "fixed 1 0 0 0" "$work/version"'
check "Qt6Core.dll is Qt 6.8 or later" \
    'awk "/^qtcore / { found = \$2 > 6 || \$2 == 6 && \$3 >= 8 } END { exit !found }" "$work/version"'
check "Japanese Unicode string table" 'grep -qix "table 041104b0" "$work/version"'
check "FileVersion 1.00" 'grep -qx "FileVersion = 1.00" "$work/version"'
check "ProductVersion 1.00" 'grep -qx "ProductVersion = 1.00" "$work/version"'
check "icon IDI_ICON1 in six sizes" 'grep -qx "RT_GROUP_ICON 1 IDI_ICON1" "$work/version" &&
    grep -q "^RT_ICON 6 " "$work/version"'
check "translation Japanese, Unicode" 'grep -qix "Translation = 0x0411 0x04b0" "$work/version"'
exit $fail
