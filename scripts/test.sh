#!/usr/bin/env bash
# Installs what is missing, builds, checks the formatting and runs every test.
# Tests that need an X server start their own (tests/xvfb/run-with-xvfb.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
./scripts/check-format.sh
(cd build && ctest --output-on-failure -j2)

# --- the Debian package: built from the tree above, checked as a user gets it
./scripts/check-package.sh build
# --- end of the Debian package
