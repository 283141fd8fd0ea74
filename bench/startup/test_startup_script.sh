#!/usr/bin/env bash
# The start-up measurement runs and reports: both times and their ratio, in
# agreement with each other. Speed itself is not judged here.
# Usage: test_startup_script.sh STARTUP_SCRIPT BUILD_DIR
set -euo pipefail
out=$(bash "$1" "$2" 2)
echo "$out"
bare=$(sed -n 's/^bare Qt window: *\([0-9.]*\) ms (fastest of 2)$/\1/p' <<<"$out")
viewer=$(sed -n 's/^viewer: *\([0-9.]*\) ms (fastest of 2)$/\1/p' <<<"$out")
ratio=$(sed -n 's/^ratio: *\([0-9.]*\)$/\1/p' <<<"$out")
[ -n "$bare" ] && [ -n "$viewer" ] && [ -n "$ratio" ] || { echo "FAIL: times or ratio missing"; exit 1; }
awk -v b="$bare" -v v="$viewer" -v r="$ratio" 'BEGIN {
    if (b <= 0 || v <= 0) { print "FAIL: a time is not positive"; exit 1 }
    if (r < v / b - 0.02 || r > v / b + 0.02) { print "FAIL: the ratio is not viewer / bare"; exit 1 }
}'
