#!/usr/bin/env bash
# The key chord's latency, from the X server to the listener's callback, on a
# private Xvfb. Usage: bench/key_latency_bench.sh [BUILD_DIR] [REPETITIONS]
set -euo pipefail
build=${1:-build}
reps=${2:-200}
bench="$build/bench/pellix_key_latency_bench"
[ -x "$bench" ] || { echo "build it first: ninja -C $build pellix_key_latency_bench" >&2; exit 1; }
echo "method median min max p95 (milliseconds)"
PELLIX_KEEP_HOME=1 "$(dirname "$0")/../tests/xvfb/run-with-xvfb.sh" "$bench" "$reps"
