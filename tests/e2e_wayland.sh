#!/usr/bin/env bash
# The program as a native Wayland client, as on a GNOME or KDE desktop: a headless sway
# compositor (which refuses root, so everything here runs as nobody when the test runs as root),
# the program started with only WAYLAND_DISPLAY set, a virtual keyboard for the keys (a seat
# offers a keyboard only while one is plugged in), swaymsg for the window and grim for the
# screen.
set -euo pipefail
source "$(dirname "$0")/checks.sh"
need sway swaymsg wtype grim python3 setpriv
# shellcheck disable=SC2034 # read in the checks' conditions
entry=$2
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
cp "$1" "$work/bingo-caller"
mkdir -m 700 "$work/run"
printf '%s\n' 'output HEADLESS-1 resolution 1024x768 position 0 0' \
    'for_window [app_id=".*"] floating enable' >"$work/config"
user=()
if [ "$(id -u)" -eq 0 ]; then
    chown -R nobody: "$work"
    user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
# A command as that user, in the compositor's session.
as_user() {
    "${user[@]}" env -i PATH=/usr/bin:/bin HOME="$work" XDG_RUNTIME_DIR="$work/run" \
        SWAYSOCK="$work/run/sway.sock" WAYLAND_DISPLAY="$display" "$@"
}

# Started as plain commands, so that the trap's kill reaches them.
"${user[@]}" env -i PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$work/run" SWAYSOCK="$work/run/sway.sock" \
    WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    sway -c "$work/config" >"$work/sway.log" 2>&1 &
for _ in $(seq 100); do [ -S "$work/run/sway.sock" ] && break; sleep 0.1; done
display=""
for socket in "$work"/run/wayland-*; do
    [[ ${socket##*/} =~ ^wayland-[0-9]+$ ]] && display=${socket##*/} && break
done
for command in "wtype -s 3600000" "$work/bingo-caller"; do
    "${user[@]}" env -i PATH=/usr/bin:/bin HOME="$work" XDG_RUNTIME_DIR="$work/run" \
        WAYLAND_DISPLAY="$display" $command &
done
# The program's window: app id, shell, where its inside is on the screen, size and title.
window() {
    as_user swaymsg -t get_tree | python3 -c 'import json, sys
def walk(n):
    if n.get("app_id"):
        r, w = n["rect"], n["window_rect"]
        print(n["app_id"], n["shell"], r["x"] + w["x"], r["y"] + w["y"], w["width"], w["height"], n["name"])
    [walk(child) for child in n.get("nodes", []) + n.get("floating_nodes", [])]
walk(json.load(sys.stdin))'
}
for _ in $(seq 100); do [ -n "$(window)" ] && break; sleep 0.1; done
sleep 1
# shellcheck disable=SC2034 # read in the checks' conditions
read -r app shell left top width height title <<<"$(window)"
check "a Wayland client" '[ "$shell" = xdg_shell ]'
check "app id is the desktop entry's name" '[ "$app.desktop" = "$(basename "$entry")" ]'
check "title" '[ "$title" = "TavrinのBINGOマシーン" ]'
check "size 683x433" '[ "${width}x$height" = 683x433 ]'

key() { as_user wtype "$@"; sleep 0.5; }
# red N X Y: whether the cell of N, whose top-left corner is at X,Y in the window, is red.
red() {
    as_user grim -t ppm "$work/run/screen.ppm"
    local at=$(( $(head -n 3 "$work/run/screen.ppm" | wc -c) + ((top + $3 + 4) * 1024 + left + $2 + 4) * 3 ))
    [ "$(od -An -tu1 -j "$at" -N 3 "$work/run/screen.ppm" | tr -s ' ')" = " 255 128 128" ]
}
key -k Tab
key -k Tab
key -k space
check "Tab Tab Space from launch calls 74" 'red 74 632 352'
key -P Return -s 3000 -p Return
check "a held Return calls once: 14, not 23" 'red 14 312 352 && ! red 23 392 112'
[ "$fail" -eq 0 ] || cat "$work/sway.log"
exit $fail
