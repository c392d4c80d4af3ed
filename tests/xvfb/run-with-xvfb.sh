#!/usr/bin/env bash
# Runs one command on a private X server with a window manager, then stops both.
# Usage: run-with-xvfb.sh [--screen WxHxD] COMMAND [ARGS...]
# The server keeps running between clients (-noreset), so RandR monitors set by
# short-lived xrandr calls stay in place.
set -euo pipefail

screen="1920x1080x24"
if [ "${1:-}" = "--screen" ]; then screen="$2"; shift 2; fi

workdir=$(mktemp -d)
xvfb_pid=""
wm_pid=""
cleanup() {
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$workdir"
}
trap cleanup EXIT

mkfifo "$workdir/displayfd"
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 "$screen" 3>"$workdir/displayfd" \
    >"$workdir/xvfb.log" 2>&1 &
xvfb_pid=$!
# -displayfd hands back a free display number once the server accepts clients.
if ! read -r -t 20 display <"$workdir/displayfd"; then
    echo "run-with-xvfb: Xvfb did not start" >&2
    cat "$workdir/xvfb.log" >&2
    exit 1
fi
export DISPLAY=":$display"
unset WAYLAND_DISPLAY

# A private home, so tests never touch the user's desktop folder or settings.
if [ -z "${PELLIX_KEEP_HOME:-}" ]; then
    export HOME="$workdir/home"
    mkdir -p "$HOME/Desktop"
    export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
    export XDG_CACHE_HOME="$HOME/.cache" XDG_RUNTIME_DIR="$workdir/run"
    mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
fi

openbox --sm-disable >"$workdir/openbox.log" 2>&1 &
wm_pid=$!
wm_up=""
for _ in $(seq 1 200); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && { wm_up=1; break; }
    sleep 0.1
done
if [ -z "$wm_up" ]; then
    echo "run-with-xvfb: the window manager did not come up" >&2
    cat "$workdir/openbox.log" >&2
    exit 1
fi

set +e
"$@"
status=$?
exit $status
