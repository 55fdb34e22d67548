#!/usr/bin/env bash
# A blind caller's game from the keyboard under the Orca screen reader, in English and Japanese.
# CTest runs it under xsession with a window manager, as Orca follows the active window. Each
# language is a private D-Bus session with Orca (speech-dispatcher needs no sound), the program
# and the keys; what Orca said is read from its debug log once it has ended (it writes in blocks).
set -euo pipefail
source "$(dirname "$0")/checks.sh"
need orca dbus-run-session dbus-send xdotool localedef setsid pgrep
export EXE=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The Japanese locale, for this test alone: LOCPATH points the C library at it.
localedef -i ja_JP -f UTF-8 "$work/ja_JP.UTF-8" 2>/dev/null || [ -d "$work/ja_JP.UTF-8" ]
# Orca does not start while its user runs another Orca anywhere on the machine (it asks
# `pgrep -u UID -x orca`), such as a run of this suite in a chroot at the same time: each
# language runs in a process session of its own, and Orca's pgrep looks only there.
mkdir "$work/bin"
printf '#!/bin/sh\nexec %s --session 0 "$@"\n' "$(command -v pgrep)" >"$work/bin/pgrep"
chmod +x "$work/bin/pgrep"

# Orca first, as it turns on the program's accessibility; then the program and the keys: the
# empty number box, STOP, three calls, the number box again, RESET, a new game, and one key more
# so that Orca writes all of it.
play() {
    orca --debug-file="$LOG" >/dev/null 2>&1 &
    local orca=$! app key
    for _ in $(seq 100); do
        [[ $(dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
            org.freedesktop.DBus.Properties.Get string:org.a11y.Status string:IsEnabled \
            2>/dev/null) == *true* ]] && break
        sleep 0.2
    done
    sleep 3
    "$EXE" &
    app=$!
    xdotool search --sync --onlyvisible --name BINGO >/dev/null
    sleep 3
    for key in Tab Tab space space space shift+Tab shift+Tab Return Tab; do
        xdotool key "$key"
        sleep 1.5
    done
    kill "$orca" && wait "$orca" || true
    kill "$app" && wait "$app" || true
}
export -f play

# language LOCALE BOX NEW_GAME: the number box's name and a new game's words in LOCALE.
language() {
    local home=$work/$1 said=$work/$1.said box=$2 new=$3
    mkdir -p "$home" && mkdir -m 700 "$home/run"
    HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_CACHE_HOME=$home/cache \
        XDG_RUNTIME_DIR=$home/run LANG=$1 LC_ALL=$1 LOCPATH=$work LOG=$home/orca.log \
        PATH=$work/bin:$PATH setsid --wait dbus-run-session -- bash -c play 2>&1 | grep -vE "Failed to set fd limit|Subscription string not handled" || true
    grep -o "SPEECH OUTPUT: '[^']*'" "$home/orca.log" | sed "s/^SPEECH OUTPUT: '//; s/'\$//" \
        >"$said" || true
    # A call is said as the boxes show it, after the role's name where Orca says one.
    check "$1: the empty number box named on Tab" "in_order $said '^$box' 'O 74\.?\$'"
    check "$1: three calls said with STOP focused" \
        "in_order $said '^STOP' '(^| )O 74\.?\$' '(^| )B 14\.?\$' '(^| )I 23\.?\$'"
    check "$1: the number box holding 23 said whole" \
        "in_order $said 'I 23\.?\$' '^$box' '^23( |\.|\$)' && ! grep -qE '^2( |\.|\$)' $said"
    check "$1: RESET said" "in_order $said '^RESET' '(^| )$new\.?\$'"
    [ "$fail" -eq 0 ] || sed 's/^/    said: /' "$said"
}

language C.UTF-8 "Number box" "New game"
language ja_JP.UTF-8 "番号ボックス" "新しいゲーム"
exit $fail
