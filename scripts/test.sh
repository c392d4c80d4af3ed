#!/usr/bin/env bash
# Installs what is missing, builds, checks the formatting and runs every test;
# then builds everything again with AddressSanitizer and UndefinedBehaviorSanitizer
# (in build-sanitize/) and runs every test there too.
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

# -O1 with line tables only: instrumented -O2 -g takes twice as long to build,
# and the sanitizers' stacks still name file and line.
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELLIX_SANITIZE=ON \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG"
cmake --build build-sanitize
cd build-sanitize && ctest --output-on-failure -j2
