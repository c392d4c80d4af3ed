#!/usr/bin/env bash
# Usage: bench/soak.sh [BUILD_DIR] [CAPTURES] [RECOGNITIONS]
# Drives the real program on a private X server (Xvfb with openbox) as a user
# would, by its buttons: CAPTURES desktop captures (1000 by default), with
# RECOGNITIONS recognitions (50) of the captured screen spread among them, an
# xterm full of text on the screen. Prints the program's resident memory,
# threads and open descriptors at the start and every 100 captures, so growth
# shows. Not a test: it judges nothing but that every step finishes.
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
captures="${2:-1000}"
recognitions="${3:-50}"
cmake --build "$build" --target pellix pellix_tesseract >/dev/null
here="$(cd "$(dirname "$0")" && pwd)"
exec "$here/../tests/xvfb/run-with-xvfb.sh" bash -c '
set -uo pipefail
pellix="$1" captures="$2" recognitions="$3" readme="$4"
file="$HOME/Desktop/Pellix.JPG"
main_title="^Pellix Version 1\.3 for image capture"
fail() { echo "soak: FAIL: $*" >&2; exit 1; }

visible() { # NAME-REGEX TENTHS -> window id
    for _ in $(seq 1 "$2"); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.05
    done
    return 1
}
inode() { stat -c %i "$file" 2>/dev/null; }
figures() { # LABEL: resident and peak memory, threads, descriptors
    local rss hwm threads fds
    rss=$(awk "/^VmRSS/ {print \$2}" /proc/$pid/status)
    hwm=$(awk "/^VmHWM/ {print \$2}" /proc/$pid/status)
    threads=$(awk "/^Threads/ {print \$2}" /proc/$pid/status)
    fds=$(ls /proc/$pid/fd | wc -l)
    printf "%-31s RSS %7d KiB  peak %7d KiB  threads %3d  fds %3d\n" "$1" "$rss" "$hwm" "$threads" "$fds"
}

# Text for the recognitions, clear of the main window.
xterm -geometry 110x45+700+40 -e sh -c "cat \"$readme\"; sleep 100000" &
term=$!
trap "kill $term \${pid:-} 2>/dev/null" EXIT
sleep 1

"$pellix" >"$HOME/pellix.log" 2>&1 &
pid=$!
win=$(visible "$main_title" 200) || fail "the main window did not appear"
sleep 1
figures "start"

every=$(( recognitions > 0 ? captures / recognitions : captures + 1 ))
recognised=0
start=$(date +%s)
for i in $(seq 1 "$captures"); do
    before=$(inode)
    xdotool mousemove --window "$win" 108 120 click 1
    for _ in $(seq 1 200); do [ "$(inode)" != "$before" ] && break; sleep 0.02; done
    [ "$(inode)" != "$before" ] || fail "capture $i wrote no file"
    win=$(visible "$main_title" 200) || fail "the window did not come back after capture $i"
    if [ "$recognised" -lt "$recognitions" ] && [ $((i % every)) -eq 0 ]; then
        xdotool mousemove --window "$win" 108 400 click 1
        result=$(visible "^Pellix - Recognized characters$" 2400) ||
            fail "recognition $((recognised + 1)) showed no result"
        xdotool windowactivate --sync "$result" key --clearmodifiers alt+F4
        for _ in $(seq 1 100); do
            xdotool search --onlyvisible --name "^Pellix - Recognized" >/dev/null 2>&1 || break
            sleep 0.05
        done
        recognised=$((recognised + 1))
        chars=$(timeout 5 xclip -selection clipboard -o 2>/dev/null | wc -c)
        [ "$chars" -gt 0 ] || fail "recognition $recognised put no text on the clipboard"
        [ -z "${fewest:-}" ] || [ "$chars" -lt "$fewest" ] && fewest=$chars
    fi
    kill -0 "$pid" 2>/dev/null || fail "the program ended at capture $i"
    if [ $((i % 100)) -eq 0 ] || [ "$i" -eq "$captures" ]; then
        figures "$i captures, $recognised recognitions"
    fi
done
echo "soak: $captures captures and $recognised recognitions in $(( $(date +%s) - start )) s"
echo "soak: the shortest recognised text had ${fewest:-0} characters"
leftovers=$(find "$HOME/Desktop" -name ".Pellix.JPG.pellix-*" | wc -l)
echo "soak: temporary files left on the desktop: $leftovers"
xdotool windowactivate --sync "$win" key --clearmodifiers alt+F4
for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
wait "$pid"; echo "soak: the program ended with status $?"
' _ "$build/bin/pellix" "$captures" "$recognitions" "$here/../README.md"
