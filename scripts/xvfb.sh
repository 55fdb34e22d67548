# Starts a private Xvfb for one script and ends it (and the program under it) on exit.
# Sourced, not run. Sets DISPLAY.

start_xvfb() {
    local n
    for n in $(seq 90 140); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
            XVFB_PID=$!
            export DISPLAY=":$n"
            trap stop_xvfb EXIT
            for _ in $(seq 50); do
                xdpyinfo >/dev/null 2>&1 && return 0
                sleep 0.1
            done
            echo "Xvfb did not start on :$n" >&2
            return 1
        fi
    done
    echo "no free X display between :90 and :140" >&2
    return 1
}

stop_xvfb() {
    [ -n "${APP_PID:-}" ] && kill "$APP_PID" 2>/dev/null || true
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
    wait 2>/dev/null || true
}
