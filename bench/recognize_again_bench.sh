#!/usr/bin/env bash
# Usage: bench/recognize_again_bench.sh [BUILD_DIR]
# The Recognize button on the start-up picture three times, click to clipboard,
# beside the tesseract command line (one thread) on the same picture.
set -euo pipefail
build="${1:-build}"
cmake --build "$build" --target pellix_bench_recognize_again pellix_tesseract >/dev/null
OMP_THREAD_LIMIT=1 QT_QPA_PLATFORM=offscreen "$build/bench/pellix_bench_recognize_again"
