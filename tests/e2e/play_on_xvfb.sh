#!/usr/bin/env bash
# Plays the real program on a virtual X display as a person would: starts it, checks that the
# window is centred with its background, clicks the reels into motion and to a stop, opens and
# closes the about box, and confirms the exit prompt. Screenshots are left in the output folder.
set -euo pipefail
program=$1
pictures=$2
out=$3
mkdir -p "$out"
rm -f "$out"/*.png
source "$(dirname "$0")/xvfb.sh"
start_xvfb "$out"
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    wait 2>/dev/null || true
}
trap cleanup EXIT

"$program" 2>"$out/stderr.log" &
pid=$!

window() {  # the program's window with this title, waiting for it to appear
    for _ in $(seq 100); do
        for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
            if [ "$(xdotool getwindowname "$w")" = "$1" ]; then
                echo "$w"
                return
            fi
        done
        sleep 0.05
    done
    fail "no window titled $1"
}
gone() {  # waits until no window has this title
    for _ in $(seq 100); do
        local found=
        for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
            [ "$(xdotool getwindowname "$w")" = "$1" ] && found=1
        done
        [ -z "$found" ] && return
        sleep 0.05
    done
    fail "the window titled $1 is still open"
}
geometry() {  # X Y WIDTH HEIGHT of a window
    eval "$(xdotool getwindowgeometry --shell "$1")"
    echo "$X $Y $WIDTH $HEIGHT"
}
shot() {
    sleep 0.3
    import -window root "$out/$1.png"
}
# Pixels of a screenshot region against a picture region: how many differ.
differs() {  # shot x y picture px py width height
    convert "$out/$1.png" -crop "$7x$8+$2+$3" +repage "$out/region.png"
    convert "$pictures/$4" -crop "$7x$8+$5+$6" +repage "$out/expected.png"
    compare -metric AE "$out/region.png" "$out/expected.png" null: 2>&1 | cut -d' ' -f1 || true
}

main=$(window "ポコリンダー Ver1.0β")
prompt=$(window "ダイアログ")
read -r mx my mw mh <<<"$(geometry "$main")"
[ "$mx $my $mw $mh" = "312 234 400 300" ] || fail "main window at $mx,$my ${mw}x$mh"
shot start
# The client area starts inside a 3-pixel frame and a 19-pixel caption; the top-left of the
# background is not under the exit prompt.
cx=$((mx + 3))
cy=$((my + 22))
[ "$(differs start $cx $cy background.bmp 0 0 120 60)" = 0 ] || fail "no background in the client area"

# A press starts the reels; the next stops them and brings the stop notice.
xdotool mousemove $((cx + 20)) $((cy + 8)) click 1
sleep 1
xdotool mousemove $((cx + 20)) $((cy + 8)) click 1
notice=$(window "結果")
shot stopped
# Which symbol each reel shows: its top 40 rows, which no box covers.
symbols=()
for r in 0 1 2; do
    found=
    for s in 1 2 3 4 5 6 7 8; do
        if [ "$(differs stopped $((cx + 5 + 130 * r)) $((cy + 30)) "symbol$s.bmp" 0 0 128 40)" = 0 ]; then
            found=$s
        fi
    done
    [ -n "$found" ] || fail "reel $r shows no symbol"
    symbols+=("$found")
done
echo "reels show symbols ${symbols[*]}"
[ "${symbols[1]}" = $((symbols[0] % 8 + 1)) ] && [ "${symbols[2]}" = $((symbols[1] % 8 + 1)) ] ||
    fail "the reels are not three consecutive symbols: ${symbols[*]}"
xdotool key Return
gone "結果"

# A right press opens the about box; Escape leaves it open, Enter closes it.
xdotool mousemove $((cx + 20)) $((cy + 8)) click 3
about=$(window "説明")
shot about
xdotool key Escape
sleep 0.3
window "説明" >/dev/null
xdotool key Return
gone "説明"
shot closed
[ "$(differs closed $cx $cy background.bmp 0 0 390 270)" = 0 ] || fail "no background after the about box"

# The exit prompt went behind the main window when the game was clicked: bring it forward
# and give it the keyboard, as a window manager would, then press Enter.
xdotool windowraise "$prompt"
xdotool windowfocus --sync "$prompt"
shot exit
xdotool key Return
for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
done
kill -0 "$pid" 2>/dev/null && fail "the program did not end after OK"
status=0
wait "$pid" || status=$?
pid=
[ "$status" = 0 ] || fail "exit status $status"
echo "1 passed, 0 failed"
