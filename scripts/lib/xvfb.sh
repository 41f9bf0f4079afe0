# Sourced by the scripts: a private X server for the dialog when there is no display.
start_xvfb() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return; fi
    local display
    for display in $(seq 90 120); do
        [ -e "/tmp/.X$display-lock" ] && continue
        Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb_pid=$!
        export DISPLAY=":$display"
        for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return; sleep 0.1; done
    done
    echo "could not start Xvfb" >&2
}

stop_xvfb() {
    if [ -n "${xvfb_pid:-}" ]; then kill "$xvfb_pid" 2>/dev/null; fi
    return 0
}
