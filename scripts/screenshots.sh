#!/usr/bin/env bash
# Takes the README's and the AppStream metadata's screenshots of the built
# program on a private X server: the main window, the region overlay while a
# region is dragged over a manual page, and the result window with its text.
# Usage: scripts/screenshots.sh [BUILD_DIR]   (writes docs/screenshots/*.png)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)
if [ -z "${PELLIX_SCREENSHOT_SESSION:-}" ]; then
    cmake --build "$build" --target pellix pellix_tesseract pellix_help pellix_desktop_files
    export PELLIX_SCREENSHOT_SESSION=1
    exec dbus-run-session -- tests/xvfb/run-with-xvfb.sh --screen 1280x800x24 "$0" "$build"
fi
out=docs/screenshots
mkdir -p "$out"
fail() { echo "screenshots: $*" >&2; exit 1; }
window() { # NAME-REGEX -> the id of the visible window of that name
    for _ in $(seq 1 150); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
shoot() { # WINDOW FILE: the window with its frame, as the desktop shows it
    sleep 0.5
    import -silent -frame -window "$1" -strip "$out/$2"
}
trap 'kill $(jobs -p) 2>/dev/null || true' EXIT

# Something to read on the screen: the manual of pellix-ocr in a terminal.
xterm -fa 'DejaVu Sans Mono' -fs 12 -geometry 82x34+20+20 -T manual \
    -e man -l "$build/share/man/man1/pellix-ocr.1.gz" &
window '^manual$' >/dev/null || fail "no terminal"

"$build/bin/pellix" >/dev/null 2>&1 &
main=$(window '^Pellix Version') || fail "no main window"
xdotool windowmove "$main" 200 160
shoot "$main" main-window.png

# A region dragged over the manual's synopsis, the mouse still held.
"$build/bin/pellix" --capture region
sleep 1
xdotool mousemove 18 44 mousedown 1 mousemove 300 150 mousemove 832 232
shoot root region-overlay.png
xdotool mouseup 1
sleep 1

xdotool windowactivate --sync "$main" key --clearmodifiers alt+r
result=$(window '^Pellix - Recognized characters$') || fail "no result window"
shoot "$result" result-window.png
echo "screenshots: $(ls "$out")"
