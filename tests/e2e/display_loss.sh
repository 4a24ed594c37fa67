#!/usr/bin/env bash
# The program and its display: with none it says so and shows nothing; when the display goes
# away while the reels turn, it ends at once with a clear line and a failure status, and leaves
# no process behind.
set -euo pipefail
program=$1
out=$2
mkdir -p "$out"
source "$(dirname "$0")/xvfb.sh"

# No display at all.
status=0
env -u DISPLAY -u WAYLAND_DISPLAY "$program" >"$out/none.out" 2>"$out/none.err" || status=$?
[ "$status" -ne 0 ] || fail "started without a display"
[ "$(wc -l <"$out/none.err")" -eq 1 ] || fail "expected one line, got: $(cat "$out/none.err")"
grep -q "cannot open a display" "$out/none.err" || fail "unclear: $(cat "$out/none.err")"
echo "no display: $(cat "$out/none.err")"

# A display that is not there.
status=0
DISPLAY=:199 "$program" >/dev/null 2>"$out/absent.err" || status=$?
[ "$status" -ne 0 ] || fail "started on a display that does not exist"
grep -q 'cannot open the display ":199"' "$out/absent.err" || fail "unclear: $(cat "$out/absent.err")"

# A display that goes away while the reels turn.
start_xvfb "$out"
pid=
cleanup() {
    if [ -n "$pid" ]; then kill -9 "$pid" 2>/dev/null || true; fi
    kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
"$program" 2>"$out/lost.err" &
pid=$!
for _ in $(seq 100); do
    [ -n "$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null)" ] && break
    sleep 0.05
done
sleep 0.3
xdotool mousemove 335 265 click 1
sleep 0.5
children=$(pgrep -P "$pid" || true)
kill -9 "$xvfb"
for _ in $(seq 20); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
done
kill -0 "$pid" 2>/dev/null && fail "still running one second after the display went away"
status=0
wait "$pid" || status=$?
pid=
[ "$status" -ne 0 ] || fail "status 0 after losing the display"
[ "$(wc -l <"$out/lost.err")" -eq 1 ] || fail "expected one line, got: $(cat "$out/lost.err")"
grep -q "lost the connection to the display" "$out/lost.err" || fail "unclear: $(cat "$out/lost.err")"
echo "display lost: status $status, $(cat "$out/lost.err")"
for child in $children; do
    kill -0 "$child" 2>/dev/null && fail "process $child is left behind"
done
echo "1 passed, 0 failed"
