#!/usr/bin/env bash
# The checks on the real program in a private Wayland session (see session.sh).
# Usage: checks.sh portal|shortcut   with BIN set to the folder of the programs.
set -euo pipefail
mode=$1
jpg=$HOME/Desktop/Pellix.JPG
fail() { echo "wayland: $*" >&2; exit 1; }
stamp() { stat -c %Y.%y "$jpg" 2>/dev/null || echo none; }
wait_change() { # OLD_STAMP WHAT
  for _ in $(seq 100); do [ "$(stamp)" != "$1" ] && sleep 0.3 && return 0; sleep 0.1; done
  fail "$2"
}
# The session has no pointer of its own: a virtual one over the layout's box.
drag() { "$BIN/pellix_wl_pointer" -800 0 2080 720 "m:$1,$2" d "m:$(($1 + 10)),$(($2 + 10))" \
  "m:$3,$4" s:200 u; }
# Each wtype is a new keyboard whose first key only brings it to the window.
keys() { wtype -k shift_l -s 200 "$@"; }
same() { # A B: exactly the same pixels
  [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ] || fail "$3 ($(compare -metric AE "$1" "$2" null: 2>&1) pixels differ)"
}

"$BIN/pellix_wl_pattern" HEADLESS-2 >"$HOME/pattern.log" 2>&1 &
sleep 1
swaymsg -q focus output HEADLESS-1
"$BIN/pellix" >"$HOME/pellix.log" 2>&1 &
pellix=$!
for _ in $(seq 100); do [ -f "$jpg" ] && break; sleep 0.1; done
[ -f "$jpg" ] || fail "Pellix did not start: $(cat "$HOME/pellix.log")"
sleep 1

if [ "$mode" = portal ]; then
  # The start-up picture, offered before the compositor would take it (this
  # session has no keyboard until wtype makes one), reaches the clipboard at
  # the first key; Recognize (Alt+R) puts its text there.
  keys -k shift_l
  sleep 0.5
  [ "$(wl-paste --list-types | grep -c image/png)" = 1 ] || fail "no start-up picture on the clipboard"
  keys -M alt -k r -m alt
  for _ in $(seq 100); do
    text=$(wl-paste --type text/plain 2>/dev/null || true)
    [[ $text == *"character recognition"* ]] && break
    sleep 0.2
  done
  [[ $text == *"character recognition"* ]] || fail "no recognised text on the clipboard: $text"
  # Capture Desktop from a second start: the first instance takes it, the
  # picture equals the compositor's, and the clipboard holds it for others.
  before=$(stamp)
  timeout 10 "$BIN/pellix" --capture desktop || fail "the second start did not hand over its command"
  wait_change "$before" "pellix --capture desktop changed nothing"
  kill -0 $pellix || fail "the first instance ended"
  [ "$(pgrep -c -u "$(id -u)" -f "^$BIN/pellix( |$)")" = 1 ] || fail "a second instance stayed"
  wl-paste --type image/png >"$HOME/desktop.png"
  grim -o HEADLESS-2 "$HOME/left.png"
  [ "$(identify -format %wx%h "$HOME/desktop.png")" = 2080x720 ] || fail "the desktop is not 2080x720"
  convert "$HOME/desktop.png" -crop 800x600+0+0 +repage "$HOME/desktop-left.png"
  same "$HOME/desktop-left.png" "$HOME/left.png" "the output left of the origin differs from grim's"
  # A dragged region on each output: exactly its pixels. The overlays show
  # the frozen picture 1:1, so grim's picture of them is the reference.
  for region in "-700 100 -500 250 200x150+100+100" "300 200 420 260 120x60+1100+200"; do
    set -- $region
    before=$(stamp)
    "$BIN/pellix" --capture region
    sleep 1.5
    grim "$HOME/frozen.png"
    drag "$1" "$2" "$3" "$4"
    wait_change "$before" "the region $5 was not captured"
    wl-paste --type image/png >"$HOME/region.png"
    convert "$HOME/frozen.png" -crop "$5" +repage "$HOME/expected.png"
    same "$HOME/region.png" "$HOME/expected.png" "the region $5 differs"
  done
  # As an X client in the Wayland session it says what it cannot see.
  display=$(sed -n 's/^DISPLAY=//p' "$HOME/sway-env")
  [ -n "$display" ] || fail "sway started no Xwayland"
  DISPLAY=$display QT_QPA_PLATFORM=xcb timeout 20 "$BIN/pellix" 2>"$HOME/xcb.log" || true
  grep -q "may not be visible" "$HOME/xcb.log" || fail "no note under XWayland: $(cat "$HOME/xcb.log")"
else
  # "Use Control+Shift" arms the desktop's shortcut; pressing it captures.
  bound=$(gdbus call --session --dest org.freedesktop.portal.Desktop \
    --object-path /org/freedesktop/portal/desktop --method org.pellix.test.Portal.Press)
  [[ $bound == *capture* ]] || fail "no shortcut bound: $bound"
  # Use Control+Shift is two tabs back from the first capture button (or
  # from no focus at all); Capture Desktop is three tabs on from there.
  before=$(stamp)
  keys -M shift -k Tab -k Tab -m shift -k space -k Tab -k Tab -k Tab -k space
  sleep 1
  keys -k Return # the instructions
  sleep 1
  gdbus call --session --dest org.freedesktop.portal.Desktop \
    --object-path /org/freedesktop/portal/desktop --method org.pellix.test.Portal.Press >/dev/null
  wait_change "$before" "the shortcut did not capture"
  wl-paste --type image/png >"$HOME/desktop.png"
  [ "$(identify -format %wx%h "$HOME/desktop.png")" = 2080x720 ] || fail "the shortcut's capture is not the desktop"
fi
kill $pellix
echo "wayland $mode: ok"
