#!/usr/bin/env bash
# What a Windows screen reader receives, under Wine 10 on a private Xvfb, in English and
# Japanese: uia-client follows the focus through UI Automation as NVDA or Narrator does, and
# each notification the program raises is read from Wine's log (Wine takes
# UiaRaiseNotificationEvent and logs its text). The keys are those of e2e-screen-reader: the
# empty number box, STOP, three calls, the number box again, RESET and a new game.
set -euo pipefail
source "$(dirname "$0")/checks.sh"
exe=$1 client=$2
run=$(dirname "$0")/wine_run.sh
need Xvfb xdotool wine localedef perl
work=$(mktemp -d)
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null; rm -rf "$work"' EXIT
export DISPLAY=$display
localedef -i ja_JP -f UTF-8 "$work/ja_JP.UTF-8" 2>/dev/null || [ -d "$work/ja_JP.UTF-8" ]

# play LOCALE: the game in a fresh prefix; the focus lines in LOCALE.focus, the notifications'
# texts in LOCALE.said.
play() {
    local prefix=$work/$1 app client_pid _
    mkfifo "$work/$1.keys"
    export BINGO_WINEPREFIX=$prefix WINEPREFIX=$prefix LANG=$1 LC_ALL=$1 LOCPATH=$work
    WINEDEBUG=-all,fixme+uiautomation bash "$run" "$exe" 2>"$work/$1.log" >/dev/null &
    app=$!
    bash "$run" "$client" "TavrinのBINGOマシーン" <"$work/$1.keys" >"$work/$1.focus" 2>&1 &
    client_pid=$!
    exec 3>"$work/$1.keys"
    for _ in $(seq 240); do
        grep -q '^ready' "$work/$1.focus" 2>/dev/null && break
        sleep 0.5
    done
    sleep 2
    for key in Tab Tab space space space shift+Tab shift+Tab Return Tab; do
        xdotool key "$key"
        sleep 1.5
    done
    exec 3>&-
    wait "$client_pid" || true
    kill "$app" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    wait "$app" 2>/dev/null || true
    # "(provider, kind, processing, L"text", ...)", the text's other characters as \XXXX.
    grep -a 'UiaRaiseNotificationEvent' "$work/$1.log" |
        perl -CS -ne 'print "$1 $2\n" if /\(\S+, \d+, (\d+), L"((?:[^"\\]|\\.)*)"/' |
        perl -CS -pe 's/\\([0-9a-f]{4})/chr(hex($1))/ge' >"$work/$1.said" || true
    tr -d '\r' <"$work/$1.focus" >"$work/$1.focus.txt"
}

# language LOCALE BOX NEW_GAME: the number box's name and a new game's words in LOCALE.
# UI Automation's control types: 50000 button, 50004 edit; processing 2 is "all", each
# notification queued after what is being said.
language() {
    local focus=$work/$1.focus.txt said=$work/$1.said box=$2 new=$3
    play "$1"
    check "$1: the client follows the window" "grep -q '^ready' $focus"
    check "$1: the empty number box named on Tab" "in_order $focus '^focus $box\|50004\|\$'"
    check "$1: STOP named, then three calls raised, each queued" \
        "in_order $focus '^focus STOP\|50000\|' && in_order $said '^2 O 74\$' '^2 B 14\$' '^2 I 23\$'"
    # Wine 10 gives no value (E_NOTIMPL): where a value comes, it is the box's whole text.
    check "$1: the number box holding 23 named, its value whole" "in_order $focus \
        '^focus STOP\|' '^focus $box\|50004\|(23)?\$' '^focus RESET\|50000\|'"
    check "$1: RESET, a new game raised" "in_order $said ' I 23\$' '^2 $new\$'"
    [ "$fail" -eq 0 ] || { sed 's/^/    focus: /' "$focus"; sed 's/^/    said: /' "$said"; }
}

language C.UTF-8 "Number box" "New game"
language ja_JP.UTF-8 "番号ボックス" "新しいゲーム"
exit $fail
