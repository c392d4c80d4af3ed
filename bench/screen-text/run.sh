#!/usr/bin/env bash
# The screen-text benchmark: renders the pages listed in cases.tsv with real
# programs (xterm, and a Qt window) on a private X server, then reads each one
# with pellix-ocr and with the tesseract command line and prints, side by side,
# the character and word error rates (after folding whitespace) and the time.
# Usage: bench/screen-text/run.sh BUILD_DIR [OUT_DIR]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: run.sh BUILD_DIR [OUT_DIR]}" && pwd)
out=${2:-$build/bench/screen-text}

if [ "${PELLIX_BENCH_RENDER:-}" = "1" ]; then
    # Inside the private X server: photograph every case.
    mkdir -p "$out"
    grep -v '^#' "$here/cases.tsv" | while IFS=$'\t' read -r name program text language px fg bg; do
        file="$here/texts/$text.txt"
        title="pellix-bench-$name"
        if [ "$program" = xterm ]; then
            columns=$(( $(wc -L <"$file") + 2 ))
            rows=$(( $(wc -l <"$file") + 1 ))
            # The cursor is hidden so it cannot pass for a character.
            xterm -title "$title" -fa "DejaVu Sans Mono:pixelsize=$px" -fg "$fg" -bg "$bg" \
                -geometry "${columns}x${rows}+20+20" +sb -b 8 -u8 \
                -e sh -c "printf '\033[?25l'; cat '$file'; sleep 60" &
        else
            "$build/bench/pellix_bench_ui" "$title" "$file" "$px" "$fg" "$bg" &
        fi
        pid=$!
        window=$(xdotool search --sync --onlyvisible --name "^$title\$" | head -n 1)
        sleep 1
        import -window "$window" "$out/$name.png"
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    exit 0
fi

mkdir -p "$out"
PELLIX_BENCH_RENDER=1 "$here/../../tests/xvfb/run-with-xvfb.sh" "$0" "$build" "$out"

code_of() {
    case "$1" in
        English) echo eng ;; German) echo deu ;; French) echo fra ;;
        Russian) echo rus ;; Greek) echo ell ;; *) echo eng ;;
    esac
}
now() { date +%s.%N; }

# The command line runs with one OpenMP thread too, as pellix-ocr always does;
# its default threading is several times slower on a small machine.
export OMP_THREAD_LIMIT=1
rows="$out/results.tsv"
: >"$rows"
while IFS=$'\t' read -r name program text language px fg bg; do
    image="$out/$name.png"
    truth="$here/texts/$text.txt"
    start=$(now)
    "$build/src/app/pellix-ocr" --lang "$language" "$image" >"$out/$name.pellix.txt"
    middle=$(now)
    tesseract "$image" stdout -l "$(code_of "$language")" >"$out/$name.tesseract.txt" 2>/dev/null
    end=$(now)
    read -r chars pellix_cer pellix_wer < <("$build/bench/pellix_score_text" "$truth" "$out/$name.pellix.txt")
    read -r _ tesseract_cer tesseract_wer < <("$build/bench/pellix_score_text" "$truth" "$out/$name.tesseract.txt")
    printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$name" "$language" "$chars" \
        "$pellix_cer" "$pellix_wer" "$start" "$middle" "$tesseract_cer" "$tesseract_wer" "$end" >>"$rows"
done < <(grep -v '^#' "$here/cases.tsv")

awk -F'\t' '
BEGIN {
    printf "%-20s %-8s %5s | %8s %8s %6s | %8s %8s %6s\n", "image", "language", "chars",
        "pel CER", "pel WER", "pel s", "tes CER", "tes WER", "tes s"
}
{
    pt = $7 - $6; tt = $10 - $7
    printf "%-20s %-8s %5d | %7.2f%% %7.2f%% %6.2f | %7.2f%% %7.2f%% %6.2f\n", $1, $2, $3,
        100 * $4, 100 * $5, pt, 100 * $8, 100 * $9, tt
    n++; s[1] += $4; s[2] += $5; s[3] += pt; s[4] += $8; s[5] += $9; s[6] += tt
}
END {
    if (n == 0) exit 1
    printf "%-20s %-8s %5s | %7.2f%% %7.2f%% %6.2f | %7.2f%% %7.2f%% %6.2f\n", "mean of " n, "", "",
        100 * s[1] / n, 100 * s[2] / n, s[3] / n, 100 * s[4] / n, 100 * s[5] / n, s[6] / n
}' "$rows"
