#!/usr/bin/env bash
# Builds the Debian package from a built tree and checks it as a user gets it:
# its files are exactly those of an install, lintian finds no error, every
# library its programs load comes from a package it depends on, and unpacked
# into a throw-away root, far from the build tree, it runs (the desktop
# entry's Exec line under Xvfb, pellix-ocr on an image).
# Usage: scripts/check-package.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
work=$(mktemp -d /tmp/pellix-package.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "check-package: FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log" >&2; fail "cpack"; }
deb=$(ls "$work"/out/pellix_*.deb)
echo "check-package: $(basename "$deb"), $(du -k "$deb" | cut -f1) KiB"
dpkg-deb -f "$deb" Depends Recommends Suggests

dpkg-deb -c "$deb" >"$work/contents"
diff -u "$here/tests/install/installed-files.txt" \
    <(awk '$1 !~ /^d/ { sub(/^\.\/usr\//, "", $6); print $6 }' "$work/contents" | LC_ALL=C sort) ||
    fail "the package's files differ from tests/install/installed-files.txt"
awk '$2 != "root/root" { bad = 1; print } END { exit bad }' "$work/contents" ||
    fail "files not owned by root"

lintian --fail-on error --suppress-tags-from-file /dev/null "$deb" | tee "$work/lintian.log" ||
    fail "lintian found errors"
[ "$(dpkg-deb -f "$deb" Version)" = "$(head -n1 "$here/resources/debian/changelog" |
    sed -E 's/.*\((.*)\).*/\1/')" ] || fail "the changelog's version is not the package's"

root="$work/root"
dpkg-deb -x "$deb" "$root"
! grep -rl --binary-files=text "$build" "$root" ||
    fail "files of the package refer to the build tree $build"
# Every library that a program or the module links, by the package that owns it.
depends=$(dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed -E 's/^ *//; s/[ :].*//')
for file in "$root"/usr/bin/* "$root"/usr/lib/pellix/*; do
    for needed in $(readelf -d "$file" | sed -nE 's/.*\(NEEDED\).*\[(.*)\]/\1/p'); do
        lib=$(ldd "$file" | awk -v n="$needed" '$1 == n { print $3 } $1 ~ "/" n "$" { print $1 }' |
            head -n1)
        [ -n "$lib" ] || fail "$(basename "$file"): $needed is not found"
        owner=$({ dpkg -S "$lib" 2>/dev/null || dpkg -S "$(realpath "$lib")" 2>/dev/null; } |
            head -n1 | cut -d: -f1)
        [ -n "$owner" ] || fail "no package owns $lib"
        grep -qx "$owner" <<<"$depends" ||
            fail "$(basename "$file") links $needed of $owner, which Depends does not name"
    done
done

dbus-run-session -- "$here/tests/xvfb/run-with-xvfb.sh" \
    "$here/tests/install/installed_e2e.sh" "$root/usr"
echo "check-package: 6 passed, 0 failed"
