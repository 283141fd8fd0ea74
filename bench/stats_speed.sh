#!/usr/bin/env bash
# The speed of voxacurve stats, check (each also with --smooth 1/3) and
# export --format sqlite over whole archives of curve files (N = 4096 at
# 48 kHz, as bench/make_curves.py writes them), as a ratio to cat reading the
# same files to /dev/null, with every file in the page cache; and the peak
# memory (/usr/bin/time). Each figure is the best of three runs, the
# reference measured in the same run.
#
# Usage: bench/stats_speed.sh VOXACURVE [COUNT...]    (default 10000 100000)
# Needs about 17 kB of disk per file in TMPDIR.
set -euo pipefail

VOXACURVE=$(realpath "$1")
shift
counts=("${@:-10000}")
[ $# -eq 0 ] && counts=(10000 100000)
max=0
for c in "${counts[@]}"; do ((c > max)) && max=$c; done
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# 1,000 distinct curves, copied into directories of 1,000 up to the largest count.
python3 "$(dirname "$0")/make_curves.py" 1000 "$WORK/base" >/dev/null
rm "$WORK/base"/*.dat
mkdir "$WORK/archive"
for ((d = 0; d * 1000 < max; ++d)); do
    cp -r "$WORK/base" "$WORK/archive/$(printf 'd%04d' $d)"
done
find "$WORK/archive" -type f | sort >"$WORK/all"
xargs cat <"$WORK/all" >/dev/null # into the page cache

# Limits for check: the 5th and 95th percentile of the first 1,000 curves.
"$VOXACURVE" stats "$WORK/base" -o "$WORK/limits/" 2>/dev/null

best() { # COMMAND... ; prints the seconds of the fastest of three runs and the peak kB
    local best_s="" best_kb=""
    for _ in 1 2 3; do
        rm -f "$WORK/out.db" # export refuses to write into an existing database
        /usr/bin/time -f '%e %M' -o "$WORK/time" "$@" >/dev/null 2>&1 || true
        read -r s kb < <(tail -n 1 "$WORK/time") # after "Command exited with ..."
        if [ -z "$best_s" ] || awk "BEGIN{exit !($s < $best_s)}"; then best_s=$s; fi
        if [ -z "$best_kb" ] || ((kb > best_kb)); then best_kb=$kb; fi
    done
    echo "$best_s $best_kb"
}

# One line per count and command: seconds, throughput as a share of cat's
# (1.00 is as fast as cat, 0.50 half as fast) and peak MiB.
printf '%8s %-22s %9s %9s %9s %9s\n' files command "cat s" "s" "ratio" "peak MiB"
for count in "${counts[@]}"; do
    head -n "$count" "$WORK/all" >"$WORK/list"
    read -r cat_s _ < <(best sh -c "xargs cat <'$WORK/list' >/dev/null")
    limits=(--upper "$WORK/limits/p95.frd" --lower "$WORK/limits/p5.frd")
    for name in stats "stats --smooth 1/3" check "check --smooth 1/3" "export sqlite"; do
        case $name in
        stats*) args=(stats --files-from "$WORK/list" -o "$WORK/out.csv" ${name#stats}) ;;
        check*) args=(check --files-from "$WORK/list" "${limits[@]}" ${name#check}) ;;
        export*) args=(export --files-from "$WORK/list" --format sqlite -o "$WORK/out.db") ;;
        esac
        read -r s kb < <(best "$VOXACURVE" "${args[@]}")
        printf '%8d %-22s %9.2f %9.2f %9.2f %9d\n' "$count" "$name" "$cat_s" "$s" \
            "$(awk "BEGIN{print $cat_s / $s}")" $((kb / 1024))
    done
done
