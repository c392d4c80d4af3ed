#!/usr/bin/env bash
# The real program's captures under a real window manager: the main window comes
# back exactly where the user left it (also left of the primary monitor and after
# a region capture); message boxes shown while it is hidden never end the
# program; the key chord captures only when held until the key repeats, not on a
# brief tap; the time-out cancels and the program goes on.
# Runs on a 3200x1080 screen (see CMakeLists.txt).
set -uo pipefail
pellix="$1"
work=$(mktemp -d)
trap 'kill "${pid:-}" 2>/dev/null; rm -rf "$work"' EXIT
passed=0
fail() { echo "FAIL: $*" >&2; exit 1; }
pass() { passed=$((passed + 1)); echo "ok: $*"; }
# shellcheck source-path=SCRIPTDIR source=../xvfb/close-window.sh
. "$(dirname "$0")/../xvfb/close-window.sh"

main_title='^Pellix Version 1\.3 for image capture and character recognition$'
file="$HOME/Desktop/Pellix.JPG"

visible_window() { # NAME-REGEX -> window id, waiting up to $2 tenths of a second
    for _ in $(seq 1 "${2:-100}"); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
main_hidden() { ! xdotool search --onlyvisible --name "$main_title" >/dev/null 2>&1; }
wait_hidden() {
    for _ in $(seq 1 50); do main_hidden && return 0; sleep 0.1; done
    return 1
}
place() { xdotool getwindowgeometry "$win" | sed -n 's/.*Position: \([0-9-]*,[0-9-]*\).*/\1/p'; }
stamp() { stat -c %Y.%s "$file" 2>/dev/null; sha1sum <"$file" | cut -c1-12; }
click() { xdotool mousemove --window "$win" "$1" "$2" click 1; }
# Button centres in the window's client area.
capture_region() { click 108 88; }
capture_desktop() { click 108 120; }
capture_window() { click 108 152; }
toggle_chord() { click 50 52; }
answer_box() { # waits up to $1 tenths of a second for a box titled Pellix and presses Return
    box=$(visible_window '^Pellix$' "$1") || return 1
    xdotool windowactivate --sync "$box" key --clearmodifiers Return
}
alive() { kill -0 "$pid" 2>/dev/null; }

xrandr --setmonitor LEFT 1280/338x1024/270+0+0 screen >/dev/null
xrandr --setmonitor '*MAIN' 1920/508x1080/286+1280+0 none >/dev/null

"$pellix" >"$work/out.log" 2>&1 &
pid=$!
win=$(visible_window "$main_title") || fail "main window did not appear"
sleep 0.5

# --- the window comes back where the user put it
for spot in "1500 400" "100 300"; do
    # shellcheck disable=SC2086
    xdotool windowmove "$win" $spot
    sleep 0.3
    before=$(place)
    capture_desktop
    sleep 1.5 # hidden for a tenth of a second, too short to be seen for sure
    win=$(visible_window "$main_title") || fail "the window did not come back"
    sleep 0.5
    [ "$(place)" = "$before" ] || fail "moved to $before, back at $(place) after a desktop capture"
done
pass "the window comes back in place after a desktop capture, also left of the primary"

before=$(place)
capture_region
wait_hidden || fail "the window was not hidden for the region"
sleep 0.7 # the overlay shows the frozen screen
xdotool mousemove 400 300 mousedown 1 mousemove 500 380 mousemove 600 420 mouseup 1
win=$(visible_window "$main_title") || fail "the window did not come back after the region"
sleep 0.5
[ "$(place)" = "$before" ] || fail "at $before before, at $(place) after a region capture"
[ "$(identify -format '%w %h' "$file")" = "200 120" ] || fail "the region file is not 200x120"
pass "the window comes back in place after a region capture"

# --- the countdown box while the window is hidden does not end the program
capture_window
answer_box 50 || fail "no countdown box"
sleep 3.5
alive || fail "the program ended after the countdown box"
win=$(visible_window "$main_title") || fail "the window did not come back after the countdown"
pass "the countdown box leaves the program running"

# --- the key chord: a brief tap starts nothing, a held chord captures
toggle_chord
capture_desktop
answer_box 50 || fail "no instruction box"
wait_hidden || fail "the window was not hidden while waiting for the chord"
sleep 0.5 # listening starts once the screen has repainted without the window
before=$(stamp)
xdotool keydown ctrl keydown shift keyup shift keyup ctrl
sleep 1.5
main_hidden || fail "a brief tap of Control and Shift ended the wait"
[ "$(stamp)" = "$before" ] || fail "a brief tap captured"
xdotool key Escape
win=$(visible_window "$main_title" 50) || fail "Escape did not bring the window back"
[ "$(stamp)" = "$before" ] || fail "Escape captured"
pass "a brief tap starts nothing and Escape cancels"

capture_desktop
answer_box 50 || fail "no instruction box"
wait_hidden || fail "the window was not hidden while waiting for the chord"
sleep 1.1 # the file's time stamp has whole seconds
xdotool keydown ctrl keydown shift
sleep 1.5
xdotool keyup shift keyup ctrl
win=$(visible_window "$main_title" 50) || fail "a held chord did not capture"
[ "$(stamp)" != "$before" ] || fail "a held chord did not write the image file"
pass "a held chord captures"

# --- the time-out cancels, and the program goes on
before=$(stamp)
capture_desktop
answer_box 50 || fail "no instruction box"
answer_box 250 || fail "no time-out box within 25 seconds"
win=$(visible_window "$main_title" 50) || fail "the window did not come back after the time-out"
sleep 1
alive || fail "the program ended after the time-out box"
[ "$(stamp)" = "$before" ] || fail "the time-out captured"
pass "the time-out cancels and the program goes on"

close_window "$win" "$pid"
status=$?
[ "$status" -eq 124 ] && fail "closing the main window did not end the program"
[ "$status" -eq 0 ] || fail "closing the window ended the program with status $status"
pass "closing the main window ends the program"
echo "capture_e2e: $passed passed, 0 failed"
