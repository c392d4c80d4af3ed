#!/usr/bin/env bash
# Without a reachable X display the program says why on standard error and
# ends with status 1, instead of aborting with a core dump.
set -uo pipefail
pellix="$1"
fail() { echo "FAIL: $*" >&2; exit 1; }

out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$pellix" 2>&1)
status=$?
[ "$status" -eq 1 ] || fail "with no DISPLAY the program ended with status $status: $out"
grep -qF "no X display is set (DISPLAY is empty)" <<<"$out" || fail "with no DISPLAY it said: $out"

# A display number nothing listens on.
out=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:64999 "$pellix" 2>&1)
status=$?
[ "$status" -eq 1 ] || fail "with a dead display the program ended with status $status: $out"
grep -qF 'cannot open the X display ":64999"' <<<"$out" || fail "with a dead display it said: $out"
grep -q "Reinstalling" <<<"$out" && fail "Qt's abort message still shows: $out"
echo "no_display: 2 passed, 0 failed"
