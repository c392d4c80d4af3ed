#!/usr/bin/env bash
# The layer check passes on the tree as it is, and fails on a copy of it in
# which a logic folder includes a backend.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$root/scripts/check-layers.sh" "$root/src"
cp -r "$root/src" "$work/src"
echo '#include "platform/x11/X11Session.h"' >>"$work/src/capture/CaptureController.cpp"
if "$root/scripts/check-layers.sh" "$work/src" 2>"$work/out"; then
    echo "FAIL: a planted backend include passed" >&2
    exit 1
fi
grep -q 'capture/CaptureController.cpp includes "platform/x11/X11Session.h"' "$work/out"
echo "layers_self_test: 2 passed, 0 failed"
