#!/usr/bin/env bash
# Starts a private Wayland desktop for tests: headless sway with two outputs
# (one left of the origin), pipewire and the desktop portals on a private
# session bus, then runs COMMAND inside it and stops everything it started.
# Usage: session.sh WORKDIR COMMAND...   (run as an unprivileged user)
# With PORTAL=standin the portal is portal_standin.py (beside this script);
# with OUTPUT=WxH one output of that size instead of the two.
# Inside COMMAND: WAYLAND_DISPLAY, XDG_RUNTIME_DIR, DBUS_SESSION_BUS_ADDRESS.
set -euo pipefail
work=$1
shift
export XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config
mkdir -p "$HOME/Desktop" "$XDG_CONFIG_HOME"
export WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 WLR_HEADLESS_OUTPUTS=2
export XDG_CURRENT_DESKTOP=sway:GNOME XDG_SESSION_TYPE=wayland
unset DISPLAY WAYLAND_DISPLAY
if [ -n "${OUTPUT:-}" ]; then
  export WLR_HEADLESS_OUTPUTS=1
  outputs="output HEADLESS-1 resolution $OUTPUT position 0 0"
else
  outputs="output HEADLESS-1 resolution 1280x720 position 0 0
output HEADLESS-2 resolution 800x600 position -800 0"
fi
cat >"$work/sway.conf" <<CONF
$outputs
xwayland enable
exec env > \$HOME/sway-env
default_border none
focus_follows_mouse no
CONF

pids=()
stop_all() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap stop_all EXIT

sway -c "$work/sway.conf" >"$work/sway.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  sock=$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -name 'wayland-*' ! -name '*.lock' | head -1)
  [ -n "$sock" ] && break
  sleep 0.1
done
[ -n "${sock:-}" ] || { echo "session: sway did not start" >&2; cat "$work/sway.log" >&2; exit 1; }
export WAYLAND_DISPLAY=${sock##*/}
export SWAYSOCK=$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -name 'sway-ipc.*' | head -1)

dbus-update-activation-environment WAYLAND_DISPLAY XDG_CURRENT_DESKTOP XDG_RUNTIME_DIR \
  XDG_SESSION_TYPE HOME SWAYSOCK
pipewire >"$work/pipewire.log" 2>&1 &
pids+=($!)
sleep 0.5
if [ "${PORTAL:-}" = standin ]; then
  /usr/bin/python3 "$(dirname "$0")/portal_standin.py" >"$work/portal.log" 2>&1 &
else
  /usr/libexec/xdg-desktop-portal >"$work/portal.log" 2>&1 &
fi
pids+=($!)
# Asked without starting anything: the bus would start the real portal.
for _ in $(seq 100); do
  gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.NameHasOwner org.freedesktop.portal.Desktop | grep -q true && break
  sleep 0.1
done
"$@"
