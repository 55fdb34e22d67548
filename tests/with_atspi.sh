#!/usr/bin/env bash
# Runs a command with a D-Bus session and the AT-SPI accessibility bus, as on a desktop where a
# screen reader is running. CTest runs it on a private X display (xsession run). Everything
# started here ends with the command.
set -euo pipefail
source "$(dirname "$0")/checks.sh"
launcher=/usr/libexec/at-spi-bus-launcher
need dbus-run-session "$launcher"
[ -n "${DISPLAY:-}" ] || { echo "FAIL: no X display (run under xsession run)"; exit 1; }
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export BINGO_REQUIRE_ACCESSIBILITY=1
dbus-run-session -- bash -c '
    "$0" --launch-immediately &
    bus=$!
    rc=0
    "$@" || rc=$?
    kill "$bus" 2>/dev/null || true
    exit "$rc"' "$launcher" "$@" 2>&1 | grep -v "Failed to set fd limit"
