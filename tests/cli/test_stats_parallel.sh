# An archive's statistics split over GNU parallel's job slots: the file list
# cut into jobs (by --xargs and by --pipe), each job a stats --partial, one
# --merge; the text equals that of a single run byte for byte.
source "$(dirname "$0")/lib.sh"

command -v parallel >/dev/null || fail "GNU parallel is missing (scripts/install-deps.sh installs it)"
export TMPDIR=$WORK HOME=$WORK # parallel keeps its notes under HOME

python3 "$(dirname "$0")/../../bench/make_curves.py" 60 "$WORK/archive/batch" >/dev/null
rm "$WORK/archive/batch"/*.dat # gnuplot's copies
dir=$(examples)
mkdir "$WORK/archive/old"
cp "$dir"/*.E? "$dir"/*.A? "$WORK/archive/old/"
head -c 100 "$dir/WOOFER.EA" >"$WORK/archive/old/SHORT.EA" # refused in one job, counted once

run stats "$WORK/archive" --percentiles 1,25,50,75,99 -o "$WORK/single.csv"
expect_rc 1 "single run with a refused file"
expect_in "$ERR" "statistics of 65 curves; 1 files refused or unreadable" "single run summary"

# Jobs of 7 file names on 3 slots, names passed as arguments.
mkdir "$WORK/xargs"
find "$WORK/archive" -type f -print0 | sort -z \
    | parallel --will-cite -0 -j 3 -N 7 \
        "$VOXACURVE" stats --partial -o "$WORK/xargs/{#}.part" {} 2>"$WORK/xargs.err" || true
[ "$(ls "$WORK/xargs" | wc -l)" = 10 ] || fail "not 10 partials of 66 names by 7: $(ls "$WORK/xargs")"
run stats --merge "$WORK"/xargs/*.part --percentiles 1,25,50,75,99 -o "$WORK/xargs.csv"
expect_rc 1 "merge of the --xargs jobs (the refused file)"
expect_in "$ERR" "statistics of 65 curves; 1 files refused or unreadable" "merge summary"
cmp "$WORK/single.csv" "$WORK/xargs.csv" || fail "the --xargs jobs' merge differs from the single run"

# Jobs of 9 NUL-separated names piped to each job's standard input.
mkdir "$WORK/pipe"
find "$WORK/archive" -type f -print0 \
    | parallel --will-cite --pipe --recend '\0' -N 9 -j 3 \
        "$VOXACURVE" stats --files-from - -0 --partial -o "$WORK/pipe/{#}.part" 2>"$WORK/pipe.err" || true
[ "$(ls "$WORK/pipe" | wc -l)" = 8 ] || fail "not 8 partials of 66 names by 9: $(ls "$WORK/pipe")"
run stats --merge "$WORK"/pipe/*.part --percentiles 1,25,50,75,99 -o "$WORK/pipe.csv"
cmp "$WORK/single.csv" "$WORK/pipe.csv" || fail "the --pipe jobs' merge differs from the single run"
echo PASS
