#!/usr/bin/env bash
# Fuzzes the reading of image files for recognition (tests/fuzz) with libFuzzer.
#
#   scripts/fuzz.sh [--time SECONDS] [BUILD_DIR]   a developer's run, 600 s by default;
#                                                  what it finds new stays in BUILD_DIR/corpus
#   scripts/fuzz.sh --runs N BUILD_DIR             a bounded, repeatable run (the test command's)
#
# BUILD_DIR (default build-fuzz) is configured and built here with clang++.
# Inputs that crash, leak, take more than 2 GB or 20 s are kept as
# BUILD_DIR/crash-*, leak-*, oom-*, timeout-*; rerun one with
# BUILD_DIR/image_file_fuzz FILE.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=""
seconds=600
dir="$root/build-fuzz"
while [ $# -gt 0 ]; do
    case "$1" in
        --runs) runs=$2; shift 2 ;;
        --time) seconds=$2; shift 2 ;;
        -*) echo "usage: $0 [--runs N | --time SECONDS] [BUILD_DIR]" >&2; exit 2 ;;
        *) dir=$1; shift ;;
    esac
done

if [ -z "$runs" ]; then
    cmake -S "$root/tests/fuzz" -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
    cmake --build "$dir"
fi

options=(-max_len=4096 -rss_limit_mb=2048 -timeout=20 -artifact_prefix="$dir/"
    -print_final_stats=1)
if [ -n "$runs" ]; then
    # A fresh corpus each time and a fixed seed: the same inputs every run.
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    options+=(-seed=1 -runs="$runs")
else
    work="$dir/corpus"
    mkdir -p "$work"
    options+=(-max_total_time="$seconds")
fi
# New inputs go to the first folder; the committed seeds are only read.
"$dir/image_file_fuzz" "${options[@]}" "$work" "$root/tests/fuzz/corpus"
