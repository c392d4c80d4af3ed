#!/usr/bin/env bash
# Desktop capture to a JPEG file at quality 90, side by side: Pellix (grab +
# file + clipboard), the floor (one MIT-SHM copy + one libjpeg-turbo encode into
# a file), scrot and ImageMagick's import. Each screen size gets an Xvfb of its
# own; every figure is the median of several runs, in milliseconds.
# The files go to OUT_DIR (default: a fresh folder under $TMPDIR or /tmp); its
# file system matters, since Pellix syncs its file to disk and the floor does not.
# Usage: bench/capture_bench.sh [BUILD_DIR] [REPETITIONS] [OUT_DIR]
set -euo pipefail

build=${1:-build}
reps=${2:-15}
bench="$build/bench/pellix_capture_bench"
[ -x "$bench" ] || { echo "build pellix_capture_bench first: ninja -C $build pellix_capture_bench" >&2; exit 1; }

workdir=$(mktemp -d)
out=${3:-$workdir}
xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$workdir"
}
trap cleanup EXIT

sizes=(1920x1080 3840x2160)
for size in "${sizes[@]}"; do
    mkfifo "$workdir/fd-$size"
    Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 "${size}x24" 3>"$workdir/fd-$size" \
        >"$workdir/xvfb-$size.log" 2>&1 &
    xvfb_pid=$!
    read -r -t 20 display <"$workdir/fd-$size"
    QT_QPA_PLATFORM=xcb DISPLAY=":$display" "$bench" --reps "$reps" --out "$out/out-$size" \
        >"$workdir/result-$size.txt"
    kill "$xvfb_pid"
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
done

awk -v sizes="${sizes[*]}" -v reps="$reps" -v dir="$workdir" -v outdir="$out" '
BEGIN {
    n = split(sizes, size, " ")
    split("pellix floor scrot import floor-fastdct pellix-grab pellix-save pellix-clipboard", order, " ")
    label["pellix"] = "Pellix: grab + JPEG file + clipboard"
    label["floor"] = "floor: MIT-SHM copy + tjCompress2 + file"
    label["floor-fastdct"] = "  floor, TurboJPEG default fast DCT"
    label["scrot"] = "scrot -q 90"
    label["import"] = "import -window root -quality 90"
    label["pellix-grab"] = "  Pellix grab alone"
    label["pellix-save"] = "  Pellix Save_Picture alone"
    label["pellix-clipboard"] = "  Pellix clipboard alone"
    for (s = 1; s <= n; s++) {
        file = dir "/result-" size[s] ".txt"
        while ((getline line < file) > 0) {
            split(line, f, " ")
            if (f[1] == "RESULT") { med[s, f[2]] = f[3]; lo[s, f[2]] = f[4]; hi[s, f[2]] = f[5] }
        }
    }
    printf "Capture to JPEG q90, median of %d runs in ms (min-max), x = times the floor\n", reps
    printf "files in %s\n\n", outdir
    printf "%-42s", "method"
    for (s = 1; s <= n; s++) printf " | %-26s", size[s]
    printf "\n"
    for (i = 1; i <= 8; i++) {
        m = order[i]
        printf "%-42s", label[m]
        for (s = 1; s <= n; s++) {
            cell = sprintf("%7.1f (%.1f-%.1f)", med[s, m], lo[s, m], hi[s, m])
            if (i <= 5) cell = cell sprintf(" %4.2fx", med[s, m] / med[s, "floor"])
            printf " | %-26s", cell
        }
        printf "\n"
    }
}'
