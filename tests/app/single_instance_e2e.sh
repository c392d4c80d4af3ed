#!/usr/bin/env bash
# One Pellix per session: a second start hands its command to the first and
# ends, so it neither replaces the first's picture in Pellix.JPG nor takes the
# clipboard. Runs on a private X server inside a private session bus.
set -uo pipefail
pellix="$1"
file="$HOME/Desktop/Pellix.JPG"
trap 'kill "${pid:-}" 2>/dev/null' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
hash() { sha1sum <"$file" | cut -c1-12; }
changed_from() {
    for _ in $(seq 1 100); do [ "$(hash 2>/dev/null)" != "$1" ] && return 0; sleep 0.1; done
    return 1
}

"$pellix" >"$HOME/first.log" 2>&1 &
pid=$!
for _ in $(seq 1 100); do [ -s "$file" ] && break; sleep 0.1; done
[ -s "$file" ] || fail "the first Pellix did not start: $(cat "$HOME/first.log")"
sleep 0.5
startup=$(hash)

timeout 10 "$pellix" --capture desktop || fail "pellix --capture desktop did not hand over"
changed_from "$startup" || fail "the first Pellix did not capture the desktop"
sleep 0.5
captured=$(hash)
clip=$(xclip -selection clipboard -t image/png -o | sha1sum | cut -c1-12)

timeout 10 "$pellix" || fail "a second start did not end by itself"
sleep 1
kill -0 "$pid" 2>/dev/null || fail "the first Pellix ended"
[ "$(hash)" = "$captured" ] || fail "the second start replaced the first's picture"
[ "$(xclip -selection clipboard -t image/png -o | sha1sum | cut -c1-12)" = "$clip" ] ||
    fail "the second start took the clipboard"
timeout 10 "$pellix" --capture sideways 2>/dev/null && fail "an unknown capture kind was accepted"
echo "ok: one instance per session"
