#!/usr/bin/env bash
# Usage: bench/save_bench.sh [BUILD_DIR]
set -euo pipefail
build="${1:-build}"
cmake --build "$build" --target pellix_bench_save >/dev/null
QT_QPA_PLATFORM=offscreen "$build/bench/pellix_bench_save"
