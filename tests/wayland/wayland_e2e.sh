#!/usr/bin/env bash
# The real program in a private Wayland session (headless sway, pipewire, the
# desktop portals): captures, the region overlay on each output, the trigger
# from a second start and from the GlobalShortcuts portal (a stand-in), the
# clipboard, and the note under XWayland. sway refuses to run as root, so as
# root the session runs as an unprivileged user of its own.
# Usage: wayland_e2e.sh PELLIX ENGINE_MODULE PATTERN_PROGRAM POINTER_PROGRAM
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/pellix-wayland.XXXXXX)
chmod 755 "$work"
[ -n "${PELLIX_KEEP:-}" ] || trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/lib/pellix"
cp "$1" "$3" "$4" "$work/bin/"
cp "$2" "$work/lib/pellix/"
cp "$here/session.sh" "$here/checks.sh" "$here/portal_standin.py" "$work/"

as_user=()
if [ "$(id -u)" -eq 0 ]; then
  id pellixwl >/dev/null 2>&1 || useradd -M -d /nonexistent -s /usr/sbin/nologin pellixwl
  chown -R pellixwl: "$work"
  as_user=(setpriv --reuid=pellixwl --regid="$(id -g pellixwl)" --clear-groups)
fi

status=0
for mode in portal shortcut; do
  mkdir -p "$work/$mode"
  [ ${#as_user[@]} -gt 0 ] && chown pellixwl: "$work/$mode"
  portal=real
  [ "$mode" = shortcut ] && portal=standin
  if ! timeout 150 "${as_user[@]}" env -i PATH=/usr/sbin:/usr/bin:/bin LANG=C.UTF-8 \
    BIN="$work/bin" PORTAL=$portal \
    dbus-run-session -- "$work/session.sh" "$work/$mode" "$work/checks.sh" "$mode"; then
    status=1
    for log in sway portal home/pellix; do
      echo "--- $mode: $log.log" >&2
      tail -20 "$work/$mode/$log.log" >&2 2>/dev/null || true
    done
  fi
done
exit $status
