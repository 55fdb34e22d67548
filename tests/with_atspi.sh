#!/usr/bin/env bash
# Runs a command on a private Xvfb with a D-Bus session and the AT-SPI accessibility bus, as on
# a desktop where a screen reader is running. Everything started here ends with the command.
set -euo pipefail
source "$(dirname "$0")/checks.sh"
launcher=/usr/libexec/at-spi-bus-launcher
need Xvfb dbus-run-session "$launcher"
exec 3< <(exec Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null)
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
read -r -t 10 display <&3 || { echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export BINGO_REQUIRE_ACCESSIBILITY=1
dbus-run-session -- bash -c '
    "$0" --launch-immediately &
    bus=$!
    rc=0
    "$@" || rc=$?
    kill "$bus" 2>/dev/null || true
    exit "$rc"' "$launcher" "$@" 2>&1 | grep -v "Failed to set fd limit"
