#!/usr/bin/env bash
# Pellix as installed under PREFIX, wherever that is, with no build tree to
# fall back on: started the way the desktop starts it (the desktop entry's Exec
# line, the programs found on PATH), it restarts itself with the engine's
# thread limit, opens its own help document, loads its own engine module for
# Recognize, and takes a capture handed over from the entry's action;
# pellix-ocr reads an image with the same module. Run on a private X server
# inside a private session bus.
# Usage: installed_e2e.sh PREFIX
set -uo pipefail
prefix=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'kill "${pid:-}" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
wait_for() { # SECONDS COMMAND...
    local tries=$(($1 * 10)); shift
    for _ in $(seq 1 "$tries"); do "$@" && return 0; sleep 0.1; done
    return 1
}

entry="$prefix/share/applications/org.pellix.Pellix.desktop"
[ -f "$entry" ] || fail "no desktop entry in $prefix"
exec_line() { # GROUP -> the Exec value of that group
    awk -v group="[$1]" '/^\[/ { in_group = ($0 == group) } in_group && /^Exec=/ {
        sub(/^Exec=/, ""); print; exit }' "$entry"
}

# What the desktop's opener is asked to open is noted instead of opened.
mkdir "$work/opener"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >>"%s"\n' "$work/opened" >"$work/opener/xdg-open"
chmod +x "$work/opener/xdg-open"
export PATH="$work/opener:$prefix/bin:$PATH"
unset OMP_THREAD_LIMIT

read -ra start <<<"$(exec_line 'Desktop Entry')"
"${start[@]}" >"$work/pellix.log" 2>&1 &
pid=$!
win=""
find_window() { win=$(xdotool search --onlyvisible --name '^Pellix Version' 2>/dev/null | head -n1); [ -n "$win" ]; }
wait_for 15 find_window || fail "the main window did not appear: $(cat "$work/pellix.log")"
picture="$HOME/Desktop/Pellix.JPG"
wait_for 5 test -s "$picture" || fail "no $picture"
cp "$picture" "$work/startup.jpg"

tr '\0' '\n' <"/proc/$pid/environ" | grep -qx 'OMP_THREAD_LIMIT=1' ||
    fail "the program runs without OMP_THREAD_LIMIT=1"

xdotool windowactivate --sync "$win" key --clearmodifiers alt+h
wait_for 5 test -s "$work/opened" || fail "Help opened nothing"
help=$(cat "$work/opened")
[ "$help" = "file://$prefix/share/pellix/Pellix_Help.pdf" ] || fail "Help opened $help"
head -c5 "$prefix/share/pellix/Pellix_Help.pdf" | grep -q '%PDF-' || fail "the help is no PDF"

clipboard_text() { xclip -selection clipboard -o 2>/dev/null | grep -q 'Pellix Version 1\.3'; }
xdotool windowactivate --sync "$win" key --clearmodifiers alt+r
wait_for 60 clipboard_text ||
    fail "Recognize put no text on the clipboard: $(xdotool getwindowname "$win") $(cat "$work/pellix.log")"

read -ra capture <<<"$(exec_line 'Desktop Action capture-desktop')"
timeout 10 "${capture[@]}" || fail "the capture-desktop action did not hand over"
desktop_size() { [ "$(identify -format '%w %h' "$picture" 2>/dev/null)" = "$(xdpyinfo |
    awk '/dimensions:/ { sub(/x/, " ", $2); print $2; exit }')" ]; }
wait_for 10 desktop_size || fail "the capture-desktop action took no desktop picture"
kill "$pid"

text=$(pellix-ocr "$work/startup.jpg") || fail "pellix-ocr failed"
grep -q 'Pellix Version 1\.3' <<<"$text" || fail "pellix-ocr read: $text"
echo "installed_e2e: 6 passed, 0 failed"
