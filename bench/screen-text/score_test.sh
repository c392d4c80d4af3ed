#!/usr/bin/env bash
# The benchmark's scorer: whitespace runs fold, each character (of any script)
# is one edit, the count is over the truth's characters, and a letter counts
# the same composed or not.
set -euo pipefail
score=${1:?usage: score_test.sh PELLIX_SCORE_TEXT}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
check() {
    printf '%s' "$1" >"$dir/truth"
    printf '%s' "$2" >"$dir/text"
    got=$("$score" "$dir/truth" "$dir/text")
    [ "$got" = "$3" ] || { echo "truth '$1', text '$2': got '$got', want '$3'" >&2; exit 1; }
}
check $'ls -l\n  total 4\n' 'ls -l total 4' '13 0'
check 'drwxr-xr-x root' 'drwxr-xr-x  r00t' '15 2'
check '表达式是由选项' '表达式 是由选項' '7 2'
check 'abc' '' '3 3'
check 'έξοδο' 'έξοδο' '5 0' # one letter, composed or not
