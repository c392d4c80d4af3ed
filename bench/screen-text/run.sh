#!/usr/bin/env bash
# The screen-text benchmark. Writes the pages of cases.tsv from texts Debian
# ships (make_pages.py), photographs them on a private X server as headless
# Chromium and xterm show them, and reads each photograph twice with
# pellix-ocr and with the tesseract command line (one thread each): as the PNG,
# and after the JPEG quality 90 round trip a capture takes before recognition.
# Prints the character error rate per kind of page (edits of all its pages
# added up over their characters, whitespace runs folded) and the median time
# per image, Pellix and tesseract side by side.
# Usage: bench/screen-text/run.sh BUILD_DIR [OUT_DIR]
#   PELLIX_BENCH_ONLY=REGEX   only the cases whose name matches
#   PELLIX_BENCH_PATHS="png"  skip the JPEG path (default "png jpg")
#   PELLIX_BENCH_TESSERACT=0  skip the command line (reuse its last results)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: run.sh BUILD_DIR [OUT_DIR]}" && pwd)
out=${2:-$build/bench/screen-text}
pages="$out/pages"
only=${PELLIX_BENCH_ONLY:-.}
cases() { grep -v '^#' "$here/cases.tsv" | awk -F'\t' -v re="$only" '$1 ~ re'; }

if [ "${PELLIX_BENCH_RENDER:-}" = "1" ]; then
    # Inside the private X server: photograph every page not photographed yet.
    cases | while IFS=$'\t' read -r name kind program source language font px theme; do
        [ -s "$pages/$name.png" ] && continue
        if [ "$program" = chromium ]; then
            chromium --headless --no-sandbox --disable-gpu --hide-scrollbars \
                --force-device-scale-factor=1 --window-size="$(cat "$pages/$name.geometry")" \
                --screenshot="$pages/$name.png" "file://$pages/$name.html" >/dev/null 2>&1
            continue
        fi
        IFS=$'\t' read -r face size fg bg <"$pages/$name.termopts"
        file="$pages/$name.term"
        title="pellix-bench-$name"
        columns=$(($(wc -L <"$file") + 2))
        rows=$(($(wc -l <"$file") + 1))
        # The cursor is hidden so it cannot pass for a character.
        xterm -title "$title" -fa "$face:pixelsize=$size" -fg "$fg" -bg "$bg" \
            -geometry "${columns}x${rows}+0+0" +sb -b 8 -u8 \
            -e sh -c "printf '\033[?25l'; cat '$file'; sleep 60" &
        pid=$!
        window=$(xdotool search --sync --onlyvisible --name "^$title\$" | head -n 1)
        sleep 1
        import -window "$window" "$pages/$name.png"
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    exit 0
fi

mkdir -p "$pages"
python3 "$here/make_pages.py" <(cases) "$pages"
PELLIX_BENCH_RENDER=1 "$here/../../tests/xvfb/run-with-xvfb.sh" --screen 2560x1440x24 \
    "$0" "$build" "$out"

# The command line reads each page in the language Pellix is given, by the
# code the program's own language table holds for it.
code_of() {
    awk -F'\t' -v name="$1" '$1 == name { print $3; found = 1 } END { exit !found }' \
        "$here/../../resources/languages.tsv" || {
        echo "run.sh: no language \"$1\" in resources/languages.tsv" >&2
        exit 1
    }
}
now() { date +%s.%N; }

# The JPEG a capture writes: quality 90, chroma halved both ways, libjpeg-turbo.
cases | while IFS=$'\t' read -r name _; do
    [ "$pages/$name.jpg" -nt "$pages/$name.png" ] ||
        /usr/bin/convert "$pages/$name.png" ppm:- | cjpeg -quality 90 -sample 2x2 >"$pages/$name.jpg"
done

# The command line runs with one OpenMP thread too, as pellix-ocr always does.
export OMP_THREAD_LIMIT=1
score() { "$build/bench/pellix_score_text" "$1" "$2"; }
results="$out/results.tsv"
[ "$only" = . ] || results="$out/results-subset.tsv"
[ -f "$results" ] && mv "$results" "$results.previous"
: >"$results"
for path in ${PELLIX_BENCH_PATHS:-png jpg}; do
    while IFS=$'\t' read -r name kind _ _ language _; do
        image="$pages/$name.$path"
        truth="$pages/$name.truth.txt"
        code=$(code_of "$language")
        start=$(now)
        "$build/bin/pellix-ocr" --lang "$language" "$image" >"$out/$name.$path.pellix.txt"
        middle=$(now)
        if [ "${PELLIX_BENCH_TESSERACT:-1}" = 1 ] || [ ! -f "$out/$name.$path.tesseract.txt" ]; then
            tesseract "$image" stdout -l "$code" \
                >"$out/$name.$path.tesseract.txt" 2>/dev/null
            echo "$(now) - $middle" | bc >"$out/$name.$path.tesseract.time"
        fi
        read -r chars pel_edits < <(score "$truth" "$out/$name.$path.pellix.txt")
        read -r _ tes_edits < <(score "$truth" "$out/$name.$path.tesseract.txt")
        printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$path" "$name" "$kind" "$chars" \
            "$pel_edits" "$(echo "$middle - $start" | bc)" "$tes_edits" \
            "$(cat "$out/$name.$path.tesseract.time")" >>"$results"
    done < <(cases)
done

python3 "$here/report.py" "$results"
