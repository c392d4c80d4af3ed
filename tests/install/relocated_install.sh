#!/usr/bin/env bash
# An install into a prefix that is then moved elsewhere: exactly the files of
# installed-files.txt, and the programs in the moved prefix still find their
# module, help and data (installed_e2e.sh).
# Usage: relocated_install.sh BUILD_DIR
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$1" --prefix "$work/first" >"$work/install.log" 2>&1 ||
    fail "cmake --install failed: $(cat "$work/install.log")"
mv "$work/first" "$work/moved"
diff -u "$here/installed-files.txt" <(cd "$work/moved" && find . -type f | sed 's|^\./||' | LC_ALL=C sort) ||
    fail "the installed files differ from installed-files.txt"
dbus-run-session -- "$here/../xvfb/run-with-xvfb.sh" "$here/installed_e2e.sh" "$work/moved"
