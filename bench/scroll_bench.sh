#!/usr/bin/env bash
# Usage: bench/scroll_bench.sh [BUILD_DIR]
# Runs once off screen and once on a private X server.
set -euo pipefail
build="${1:-build}"
cmake --build "$build" --target pellix_bench_scroll >/dev/null
QT_QPA_PLATFORM=offscreen "$build/bench/pellix_bench_scroll"
"$(dirname "$0")/../tests/xvfb/run-with-xvfb.sh" env QT_QPA_PLATFORM=xcb \
    "$build/bench/pellix_bench_scroll"
