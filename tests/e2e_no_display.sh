#!/usr/bin/env bash
# A display that is missing or cannot be opened: the program says why in one line, in the
# locale's language, and exits 1 (no abort, no core file). Where a display or platform is
# named, Qt tries it first; with Qt's own -platform offscreen the program starts as usual.
set -euo pipefail
source "$(dirname "$0")/checks.sh"
exe=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# CTest runs this under `xsession run --cookie`: an X server that lets in only holders of its
# cookie (the sudo case), refused for the rest.
locked=${DISPLAY:-}
auth=${XAUTHORITY:-}
[ -n "$locked" ] && [ -s "$auth" ] || { echo "FAIL: run under xsession run --cookie"; exit 1; }

# row NAME STATUS TEXT [NAME=VALUE ...] [-- ARG ...]: runs the program with only those
# variables of the display and locale set; TEXT must be its one line (empty: nothing said).
# Status 124: still running after five seconds. A program that is to exit gets a minute, as a
# sanitizer build on a busy machine starts slowly.
row() {
    local name=$1 want=$2 text=$3 vars=() args=() status=0 limit=60
    shift 3
    while [ $# -gt 0 ] && [ "$1" != -- ]; do vars+=("$1"); shift; done
    [ $# -gt 0 ] && shift && args=("$@")
    [ "$want" -ne 124 ] || limit=5
    # shellcheck disable=SC2034 # read in the checks' conditions
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE -u LANGUAGE \
        -u LC_ALL -u LC_MESSAGES -u LANG ${vars[@]+"${vars[@]}"} \
        timeout "$limit" "$exe" ${args[@]+"${args[@]}"} 2>"$work/err" >/dev/null || status=$?
    check "$name: exit status $want" '[ "$status" -eq "$want" ]'
    if [ -n "$text" ]; then
        check "$name: one line, \"$text\"" \
            '[ "$(wc -l <"$work/err")" -eq 1 ] && grep -qF "bingo-caller: $text" "$work/err"'
    fi
    if [[ " ${vars[*]-}" == *DISPLAY=* || ${#args[@]} -gt 0 ]]; then
        check "$name: a named display is Qt's to try" \
            '! grep -qE "no display to open|開くディスプレイがありません" "$work/err"'
    fi
}

row "nothing set" 1 "no display to open; set DISPLAY or WAYLAND_DISPLAY"
row "nothing set, Japanese" 1 "開くディスプレイがありません。DISPLAY または WAYLAND_DISPLAY を設定してください" \
    LANG=ja_JP.UTF-8
row "LANGUAGE under the C locale" 1 "no display to open" LANG=C LANGUAGE=ja
row "LANGUAGE list" 1 "開くディスプレイがありません" LANG=de_DE.UTF-8 LANGUAGE=fr:ja:en
row "LANGUAGE's first language wins" 1 "no display to open" LANG=ja_JP.UTF-8 LANGUAGE=en:ja
row "no X server" 1 "cannot open display :799: no X server answers there" DISPLAY=:799
row "no X server, Japanese" 1 "ディスプレイ :799 を開けません: X サーバーが応答しません" \
    LANG=en_US.UTF-8 LC_MESSAGES=ja_JP.UTF-8 DISPLAY=:799
row "refused without the cookie" 1 \
    "cannot open display $locked: the X server refused the connection (Authorization required" \
    DISPLAY="$locked" XAUTHORITY="$work/none"
row "-platform xcb, DISPLAY unset" 1 "cannot open a display: DISPLAY is not set" -- -platform xcb
row "bare -display" 1 "cannot open a display: DISPLAY is not set" -- -display
row "-display NAME is Qt's to try" 1 "cannot open display :798: no X server answers there" \
    -- -display :798
row "WAYLAND_DISPLAY alone, no compositor" 1 \
    "cannot open Wayland display wayland-9: no compositor answers there" WAYLAND_DISPLAY=wayland-9
# A Qt without its platform plugins: an empty folder over theirs, in a mount namespace of its
# own (a user namespace too where not root).
platforms=$(find /usr/lib/*/qt6/plugins -maxdepth 1 -name platforms)
platforms=${platforms%%$'\n'*}
mkdir "$work/empty"
[ "$(id -u)" -eq 0 ] && namespace=-m || namespace=-rm
cat >"$work/without-plugins" <<EOF
#!/bin/sh
exec unshare $namespace sh -c 'mount --bind "\$0" "\$1" && shift && exec "\$@"' \\
    "$work/empty" "$platforms" "$exe" "\$@"
EOF
chmod +x "$work/without-plugins"
# No mount namespace (a chroot whose root is no mount point, a container): the row says so and
# is skipped, but for CI, whose systems allow it.
if unshare $namespace sh -c 'mount --bind "$0" "$1"' "$work/empty" "$platforms" 2>"$work/err"; then
    exe=$work/without-plugins row "WAYLAND_DISPLAY alone, no Wayland plugin" 1 \
        "cannot open Wayland display wayland-9: Qt's Wayland plugin is missing (Debian package qt6-wayland)" \
        WAYLAND_DISPLAY=wayland-9
elif [ "${CI:-}" = true ]; then
    echo "FAIL: WAYLAND_DISPLAY alone, no Wayland plugin: no mount namespace here: $(cat "$work/err")"
    fail=1
else
    echo "SKIP: WAYLAND_DISPLAY alone, no Wayland plugin: no mount namespace here: $(cat "$work/err")"
fi
row "the cookie lets it in" 124 "" DISPLAY="$locked" XAUTHORITY="$auth"
row "-platform offscreen runs until stopped" 124 "" -- -platform offscreen
row "QT_QPA_PLATFORM=offscreen alone runs until stopped" 124 "" QT_QPA_PLATFORM=offscreen
exit $fail
