#!/usr/bin/env bash
# Started with no display to open, the program says so in one line and exits 1 (no abort, no
# core file); with Qt's own -platform option it starts as usual.
set -euo pipefail
source "$(dirname "$0")/checks.sh"
exe=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$exe" 2>"$work/err" || status=$?
check "exit status 1" '[ "$status" -eq 1 ]'
check "one line on standard error" '[ "$(wc -l <"$work/err")" -eq 1 ]'
check "names the problem" 'grep -q "no display to open; set DISPLAY or WAYLAND_DISPLAY" "$work/err"'
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 3 "$exe" -platform offscreen \
    2>/dev/null || status=$?
check "-platform offscreen runs until stopped" '[ "$status" -eq 124 ]'
exit $fail
