#!/usr/bin/env bash
# Runs a test command in a private mount namespace with two small file systems:
# $PELLIX_FULL_DIR, a 64 KiB tmpfs that a large image overflows, and
# $PELLIX_RO_DIR, a read-only tmpfs holding a previous Pellix.JPG.
# Without namespaces (some containers) the command runs as it is and those tests skip.
set -euo pipefail

if [ "${PELLIX_IN_MOUNT_NS:-}" != 1 ]; then
    if unshare -rm --propagation private true 2>/dev/null; then
        exec unshare -rm --propagation private env PELLIX_IN_MOUNT_NS=1 "$0" "$@"
    fi
    echo "with-small-disks: WARNING: no mount namespace here; the full-disk and read-only tests skip" >&2
    exec "$@"
fi

base=$(mktemp -d)
# The mounts end with the namespace; the folders that held them are ours to remove.
trap 'umount "$base/full" "$base/ro" 2>/dev/null; rm -rf "$base"' EXIT
mkdir "$base/full" "$base/ro"
mount -t tmpfs -o size=64k tmpfs "$base/full"
mount -t tmpfs -o size=1m tmpfs "$base/ro"
printf 'the previous image, kept whole' >"$base/ro/Pellix.JPG"
mount -o remount,ro "$base/ro"
export PELLIX_FULL_DIR="$base/full" PELLIX_RO_DIR="$base/ro"
"$@"
