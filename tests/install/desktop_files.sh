#!/usr/bin/env bash
# What the desktop reads besides the programs, as the build tree holds it: the
# desktop entry and the AppStream metadata pass their validators, the metadata
# names this version's release and screenshots that the repository has, the
# manual pages format without warnings, and each theme icon has its size.
# Usage: desktop_files.sh BUILD_DIR SOURCE_DIR VERSION
set -uo pipefail
share="$1/share" source="$2" version="$3"
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

desktop-file-validate "$share/applications/org.pellix.Pellix.desktop" || fail "desktop entry"
metainfo="$share/metainfo/org.pellix.Pellix.metainfo.xml"
appstreamcli validate --no-net "$metainfo" >/dev/null || {
    appstreamcli validate --no-net "$metainfo" >&2
    fail "metainfo"
}
newest=$(grep -o '<release version="[^"]*"' "$metainfo" | head -n1 | cut -d'"' -f2)
[ "$newest" = "${version%.*}" ] || fail "the newest release is $newest, not ${version%.*}"
shots=$(grep -o 'screenshots/[^<]*\.png' "$metainfo")
[ -n "$shots" ] || fail "no screenshots"
for shot in $shots; do
    [ -f "$source/docs/$shot" ] || fail "docs/$shot is not in the repository"
done

for page in "$share"/man/man1/*.1.gz; do
    warnings=$(zcat "$page" | LC_ALL=C.UTF-8 groff -t -man -ww -z 2>&1)
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done

for size in 16 24 32 48 64 128 256; do
    icon="$share/icons/hicolor/${size}x$size/apps/org.pellix.Pellix.png"
    [ "$(identify -format '%w %h' "$icon" 2>/dev/null)" = "$size $size" ] || fail "$icon"
done
grep -q '<svg' "$share/icons/hicolor/scalable/apps/org.pellix.Pellix.svg" || fail "no SVG icon"
exit $failed
