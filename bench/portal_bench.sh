#!/usr/bin/env bash
# Capture Desktop on Wayland through the Screenshot portal (picture read back,
# JPEG of quality 90 written), side by side with grim's picture written as a
# JPEG of quality 90 (Debian's grim has no JPEG writer: through cjpeg), in headless sway at 1920x1080 and 3840x2160. Medians of N runs,
# in milliseconds. As root the session runs as an unprivileged user.
# Usage: bench/portal_bench.sh [BUILD_DIR] [N]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-10}
here=$(cd "$(dirname "$0")" && pwd)
[ -x "$build/bench/pellix_portal_bench" ] ||
  { echo "build it first: ninja -C $build pellix_portal_bench" >&2; exit 1; }
work=$(mktemp -d /tmp/pellix-portal-bench.XXXXXX)
chmod 755 "$work"
trap 'tail -3 "$work"/*.log >&2; rm -rf "$work"' EXIT
cp "$build/bench/pellix_portal_bench" "$here/../tests/wayland/session.sh" "$work/"
cat >"$work/inner.sh" <<'INNER'
#!/usr/bin/env bash
set -euo pipefail
"$WORK/pellix_portal_bench" "$RUNS" "$HOME"
times=()
for _ in $(seq "$RUNS"); do
  start=$(date +%s%N)
  grim -t ppm - | cjpeg -quality 90 >"$HOME/grim.jpg"
  times+=($((($(date +%s%N) - start) / 1000)))
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
printf '%s grim | cjpeg -quality 90 median %.1f ms, best %.1f ms\n' "$OUTPUT" \
  "$(echo "${sorted[$((RUNS / 2))]} / 1000" | bc -l)" "$(echo "${sorted[0]} / 1000" | bc -l)"
INNER
chmod +x "$work/inner.sh"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  id pellixwl >/dev/null 2>&1 || useradd -M -d /nonexistent -s /usr/sbin/nologin pellixwl
  chown -R pellixwl: "$work"
  as_user=(setpriv --reuid=pellixwl --regid="$(id -g pellixwl)" --clear-groups)
fi
for size in 1920x1080 3840x2160; do
  mkdir -p "$work/$size"
  [ ${#as_user[@]} -gt 0 ] && chown pellixwl: "$work/$size"
  "${as_user[@]}" env -i PATH=/usr/sbin:/usr/bin:/bin LANG=C.UTF-8 WORK="$work" RUNS="$runs" \
    OUTPUT=$size dbus-run-session -- "$work/session.sh" "$work/$size" "$work/inner.sh" 2>"$work/$size.log" |
    grep -E 'median'
done
