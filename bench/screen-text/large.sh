#!/usr/bin/env bash
# Large screens full of text: licence texts in four (or eight) columns of
# 13 px DejaVu Sans, rendered by headless Chromium at 3840x2160 and 7680x4320.
# Prints, for pellix-ocr and the tesseract command line (one thread), the
# wall time, peak memory and character error rate of each.
# Usage: bench/screen-text/large.sh BUILD_DIR [OUT_DIR]
#   PELLIX_BENCH_SIZES="3840x2160 7680x4320"  the screens to read
#   PELLIX_BENCH_TESSERACT_MAX=3840            widest screen the command line reads
#                                             (it needs over ten minutes at 7680)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: large.sh BUILD_DIR [OUT_DIR]}" && pwd)
out=${2:-$build/bench/screen-text-large}
mkdir -p "$out"

page() { # WIDTH HEIGHT COLUMNS: writes $out/WxH.html and its truth
    python3 - "$1" "$2" "$3" "$out/$1x$2" <<'EOF'
import html, re, sys
width, height, columns, base = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
paras = []
for name in ["GPL-3", "Apache-2.0", "LGPL-2.1", "MPL-2.0", "GPL-2", "GFDL-1.3", "Artistic"]:
    text = open(f"/usr/share/common-licenses/{name}", encoding="utf-8").read()
    paras += [" ".join(p.split()) for p in re.split(r"\n\s*\n", text) if len(p.split()) > 8]
# What surely fits: characters per column line and lines per column, with room.
per_line = int((width / columns - 40) / (13 * 0.58))
lines = int((height - 40) / (13 * 1.4)) * columns
chosen, i = [], 0
while lines > 2:
    p = paras[i % len(paras)]
    need = -(-len(p) // per_line) + 0.5
    if need > lines:
        break
    chosen.append(p)
    lines -= need
    i += 1
open(base + ".truth.txt", "w", encoding="utf-8").write("\n".join(chosen) + "\n")
open(base + ".html", "w", encoding="utf-8").write(
    f"""<!DOCTYPE html><html><head><meta charset="utf-8"><style>
html, body {{ margin: 0; background: #fff; color: #1a1a1a; font: 13px/1.4 'DejaVu Sans'; }}
.cols {{ column-count: {columns}; column-gap: 40px; padding: 10px 20px; height: {height - 20}px;
  box-sizing: border-box; }}
p {{ margin: 0 0 0.5em 0; }}
</style></head><body><div class="cols">"""
    + "".join(f"<p>{html.escape(p)}</p>" for p in chosen) + "</div></body></html>\n")
EOF
}

measure() { # NAME COMMAND...: prints seconds and peak MB, text to $out/NAME.txt
    local name=$1
    shift
    /usr/bin/time -f '%e %M' -o "$out/$name.time" "$@" >"$out/$name.txt" 2>/dev/null
    read -r seconds kb <"$out/$name.time"
    read -r chars edits < <("$build/bench/pellix_score_text" "$truth" "$out/$name.txt")
    printf '%-10s %-9s %8.1f s %7d MB %7.2f %% of %d chars\n' "$size" "${name##*.}" "$seconds" \
        $((kb / 1024)) "$(echo "100 * $edits / $chars" | bc -l)" "$chars"
}

export OMP_THREAD_LIMIT=1
for size in ${PELLIX_BENCH_SIZES:-3840x2160 7680x4320}; do
    width=${size%x*}
    height=${size#*x}
    image="$out/$size.png"
    truth="$out/$size.truth.txt"
    if [ ! -s "$image" ]; then
        page "$width" "$height" $((width / 960))
        chromium --headless --no-sandbox --disable-gpu --hide-scrollbars \
            --force-device-scale-factor=1 --window-size="$width,$height" \
            --screenshot="$image" "file://$out/$size.html" >/dev/null 2>&1
    fi
    measure "$size.pellix" "$build/bin/pellix-ocr" "$image"
    if [ "$width" -le "${PELLIX_BENCH_TESSERACT_MAX:-3840}" ]; then
        measure "$size.tesseract" tesseract "$image" stdout -l eng
    fi
done
