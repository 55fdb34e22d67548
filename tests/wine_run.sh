#!/usr/bin/env bash
# Runs a Windows executable of the `windows` preset under Wine, with the cross-built Qt and the
# MinGW runtime DLLs on its path: the preset's CMAKE_CROSSCOMPILING_EMULATOR. The Wine prefix
# is made on first use and kept (BINGO_WINEPREFIX, default ~/.cache/bingo-caller/wine), with
# Debian's faces installed under the names of the Windows faces they stand in for
# (scripts/wine-fonts.py).
set -euo pipefail
qt=${BINGO_WINDOWS_QT:-/var/cache/bingo-caller/qt6-mingw}
export WINEPREFIX=${BINGO_WINEPREFIX:-$HOME/.cache/bingo-caller/wine}
export WINEDEBUG=${WINEDEBUG:--all}
# A caller may set its own path, even an empty one (the zip's program, where the cross
# compiler may be missing).
if [ -z "${WINEPATH+set}" ]; then
    gcc_dlls=$(dirname "$(x86_64-w64-mingw32-gcc-posix -print-libgcc-file-name)")
    export WINEPATH="Z:$qt/bin;Z:$gcc_dlls;Z:/usr/x86_64-w64-mingw32/lib"
fi
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine keeps the host's QT_ variables (QT_QPA_PLATFORM among them) from Windows programs; the
# same names behind WINE reach them.
for name in $(compgen -e | grep '^QT_' || true); do
    export "WINE$name=${!name}"
done
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1 || true
fi
fonts=$(dirname "$0")/../scripts/wine-fonts.py
stamp=$(sha256sum <"$fonts" | cut -c1-16)
if [ "$(cat "$WINEPREFIX/bingo-fonts" 2>/dev/null)" != "$stamp" ]; then
    # regedit reads UTF-16 files whatever the prefix's code page.
    /usr/bin/python3 "$fonts" "$WINEPREFIX/drive_c/windows/Fonts" |
        iconv -f UTF-8 -t UTF-16 >"$WINEPREFIX/bingo-fonts.reg"
    wine regedit /S "$WINEPREFIX/bingo-fonts.reg" >/dev/null 2>&1
    echo "$stamp" >"$WINEPREFIX/bingo-fonts"
fi
exec wine "$@"
