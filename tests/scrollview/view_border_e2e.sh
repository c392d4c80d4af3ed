#!/usr/bin/env bash
# The real program under X: the image view's one-pixel border shows all round.
# The start-up picture lies inside it (its own one-pixel border first, then the
# picture itself two pixels in from the view's corner), and the scroll bars lie
# inside the view's right and bottom edges, not on them.
set -uo pipefail
pellix="$1"
work=$(mktemp -d)
trap 'kill "${pid:-}" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$pellix" >"$work/out.log" 2>&1 &
pid=$!
win=""
for _ in $(seq 1 100); do
    win=$(xdotool search --onlyvisible --name '^Pellix Version' 2>/dev/null | head -n1)
    [ -n "$win" ] && break
    sleep 0.1
done
[ -n "$win" ] || fail "main window did not appear"

# The view fills the window beside the control column: 221 from the left, 20 from
# the top, and 20 from the right and bottom edges.
eval "$(xdotool getwindowgeometry --shell "$win")"
left=221 top=20 width=$((WIDTH - 241)) height=$((HEIGHT - 40))
right=$((left + width - 1)) bottom=$((top + height - 1))

xclip -selection clipboard -t image/png -o >"$work/picture.png" 2>/dev/null
[ -s "$work/picture.png" ] || fail "clipboard holds no picture"
read -r pw ph < <(identify -format '%w %h\n' "$work/picture.png")

differing() { # the pixels of the picture that the window does not show in its place
    compare -metric AE "$work/shot.png[${pw}x${ph}+$((left + 2))+$((top + 2))]" \
        "$work/picture.png" null: 2>&1
}
shown=""
for _ in $(seq 1 50); do # until the window has been painted
    import -window "$win" "$work/shot.png" 2>/dev/null
    [ "$(differing)" = "0" ] && { shown=1; break; }
    sleep 0.1
done
[ -n "$shown" ] || fail "the picture is not two pixels inside the view ($(differing) pixels differ)"

edge() { # GEOMETRY -> "COLOURS FIRST-COLOUR" of that strip of the window
    identify -format '%k %[pixel:p{0,0}]\n' "$work/shot.png[$1]"
}
border=$(edge "${width}x1+${left}+${top}")
[ "${border%% *}" = "1" ] || fail "the view's top edge is not one colour: $border"
for strip in "1x${height}+${left}+${top}" "1x${height}+${right}+${top}" \
    "${width}x1+${left}+${bottom}"; do
    [ "$(edge "$strip")" = "$border" ] || fail "edge $strip is '$(edge "$strip")', not '$border'"
done
echo "view_border_e2e: 1 passed, 0 failed"
