#!/usr/bin/env bash
# The real program under X: it shows its window, writes the start-up picture to
# the desktop as a JPEG at quality 90, serves the same picture on the clipboard
# to another process, and ends with status 0 when its window is closed. With an
# image file it cannot write, it shows an error box titled "Pellix" and ends
# with a non-zero status. A link at the file's name is replaced, not written
# through, and a temporary file that a killed save left beside it is removed.
set -uo pipefail
pellix="$1"
work=$(mktemp -d)
trap 'kill "${pid:-}" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

wait_window() { # NAME-REGEX -> window id
    for _ in $(seq 1 100); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# shellcheck source-path=SCRIPTDIR source=../xvfb/close-window.sh
. "$(dirname "$0")/../xvfb/close-window.sh"

# --- a normal start
"$pellix" >"$work/out.log" 2>&1 &
pid=$!
win=$(wait_window '^Pellix Version 1\.3 for image capture and character recognition$') ||
    fail "main window did not appear"
file="$HOME/Desktop/Pellix.JPG"
[ -f "$file" ] || fail "no $file"
read -r format width height quality < <(identify -format '%m %w %h %Q\n' "$file")
[ "$format $width $height $quality" = "JPEG 785 353 90" ] ||
    fail "desktop file is '$format $width $height $quality', not a 785x353 JPEG at quality 90"

xclip -selection clipboard -t image/png -o >"$work/clip.png" 2>/dev/null
[ -s "$work/clip.png" ] || fail "clipboard holds no image"
[ "$(identify -format '%w %h' "$work/clip.png")" = "785 353" ] || fail "clipboard image size"
# The file is lossy: compare it with the exact clipboard copy, loosely.
rmse=$(compare -metric RMSE "$work/clip.png" "$file" null: 2>&1 | sed -E 's/.*\((.*)\)/\1/')
awk -v e="$rmse" 'BEGIN { exit !(e < 0.05) }' || fail "clipboard and file differ (RMSE $rmse)"

close_window "$win" "$pid"
status=$?
[ "$status" -eq 0 ] || fail "closing the window ended the program with status $status"

# --- a link in the file's place, and the leftover of a save killed mid-way
printf 'not yours' >"$work/target"
ln -sf "$work/target" "$file"
leftover="$HOME/Desktop/.Pellix.JPG.pellix-Ab12Cd"
printf 'half a picture' >"$leftover"
"$pellix" >"$work/out1.log" 2>&1 &
pid=$!
win=$(wait_window '^Pellix Version 1\.3') || fail "main window did not appear over a link"
[ -f "$file" ] && [ ! -L "$file" ] || fail "the link at $file was not replaced by the image"
[ "$(cat "$work/target")" = 'not yours' ] || fail "the start-up wrote through the link"
[ ! -e "$leftover" ] || fail "the leftover of a killed save is still there"
close_window "$win" "$pid"

# --- an image file that cannot be written: here a folder stands in its place
rm -f "$file" && mkdir "$file"
"$pellix" >"$work/out2.log" 2>&1 &
pid=$!
box=$(wait_window '^Pellix$') || fail "no error box titled Pellix"
xdotool windowactivate --sync "$box" key Return
wait_exit "$pid"
status=$?
[ "$status" -ne 0 ] && [ "$status" -ne 124 ] || fail "failed start-up ended with status $status"
xdotool search --onlyvisible --name '^Pellix Version' >/dev/null 2>&1 &&
    fail "main window was shown after a failed start-up"
echo "startup_e2e: 3 passed, 0 failed"
