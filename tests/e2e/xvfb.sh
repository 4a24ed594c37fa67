# Shared by the end-to-end scripts: a failure line, and a virtual display of our own.

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# start_xvfb FOLDER: starts Xvfb on a display number it picks itself, sets xvfb (its pid),
# DISPLAY, and no session bus (without one, D-Bus would start its own on the display).
# XVFB_ARGS adds to Xvfb's arguments, for example "-extension MIT-SHM".
start_xvfb() {
    rm -f "$1/display"
    # shellcheck disable=SC2086
    Xvfb -displayfd 3 -screen 0 1024x768x24 -noreset -nolisten tcp ${XVFB_ARGS:-} \
        3>"$1/display" >"$1/xvfb.log" 2>&1 &
    xvfb=$!
    for _ in $(seq 200); do
        [ -s "$1/display" ] && break
        sleep 0.05
    done
    [ -s "$1/display" ] || fail "Xvfb did not start"
    export DISPLAY=":$(cat "$1/display")"
    export DBUS_SESSION_BUS_ADDRESS=disabled:
    for _ in $(seq 200); do
        xdpyinfo >/dev/null 2>&1 && return
        sleep 0.05
    done
    fail "Xvfb does not answer"
}
