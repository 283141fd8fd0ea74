#!/usr/bin/env bash
# The time of writing 2,000 files into an empty directory and into one
# holding 40,000 other files, by voxacurve render --each and by export; the
# ratio crowded / empty (each the best of three runs, both measured in the
# same run). The safe writes' clean-up reads a directory once per run, so
# the ratio stays near 1.
#
# Usage: bench/write_crowded.sh VOXACURVE MAKE_EXAMPLES [COUNT] [OTHERS]
set -euo pipefail

VOXACURVE=$(realpath "$1")
MAKE_EXAMPLES=$(realpath "$2")
count=${3:-2000}
others=${4:-40000}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

"$MAKE_EXAMPLES" "$WORK/examples" >/dev/null
mkdir "$WORK/in" "$WORK/crowd"
python3 - "$WORK" "$count" "$others" <<'PY'
import os, sys
work, count, others = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
for i in range(count):
    os.link(os.path.join(work, "examples", "SPEAKER.EA"), os.path.join(work, "in", "S%05d.EA" % i))
for i in range(others):
    open(os.path.join(work, "crowd", "other-%05d.txt" % i), "w").close()
PY

# Seconds of the best of three runs of the command writing into DIR, which
# is emptied of the command's own files before each run.
best_of_three() {
    local dir=$1
    shift
    local best=
    for _ in 1 2 3; do
        find "$dir" -maxdepth 1 \( -name 'S*.png' -o -name 'S*.frd' \) -delete
        local start end
        start=$(date +%s.%N)
        "$@" >/dev/null 2>&1
        end=$(date +%s.%N)
        best=$(python3 -c "import sys; t=$end-$start; b='$best'; print(t if not b else min(t, float(b)))")
    done
    echo "$best"
}

printf '%-22s %10s %12s %7s\n' "$count files" "empty (s)" "crowded (s)" ratio
for command in "render --each" export; do
    mkdir -p "$WORK/empty"
    empty=$(best_of_three "$WORK/empty" "$VOXACURVE" $command "$WORK/in" -o "$WORK/empty")
    crowded=$(best_of_three "$WORK/crowd" "$VOXACURVE" $command "$WORK/in" -o "$WORK/crowd")
    rm -rf "$WORK/empty"
    python3 -c "print('%-22s %10.2f %12.2f %7.2f' % ('$command', $empty, $crowded, $crowded / $empty))"
done
