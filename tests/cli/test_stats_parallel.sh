# An archive's statistics split over GNU parallel's job slots, by the
# README's recipe as it is written there (one pass per kind, names as
# arguments, and the piped form): each job a stats --partial, one --merge
# a kind; the text equals that of a single run byte for byte, also for an
# archive of both kinds.
source "$(dirname "$0")/lib.sh"

command -v parallel >/dev/null || fail "GNU parallel is missing (scripts/install-deps.sh installs it)"
export TMPDIR=$WORK HOME=$WORK # parallel keeps its notes under HOME

python3 "$(dirname "$0")/../../bench/make_curves.py" 60 "$WORK/archive/batch" >/dev/null
rm "$WORK/archive/batch"/*.dat # gnuplot's copies
dir=$(examples)
mkdir "$WORK/archive/old"
cp "$dir"/*.E? "$dir"/*.A? "$dir"/*.OHM "$WORK/archive/old/"
head -c 100 "$dir/WOOFER.EA" >"$WORK/archive/old/SHORT.EA" # refused in one job, counted once

run stats "$WORK/archive" --kind response --percentiles 5,50,95 -o "$WORK/single-response.csv"
expect_rc 1 "single run with a refused file"
expect_in "$ERR" "statistics of 65 curves; 1 file refused or unreadable" "single run summary"
run stats "$WORK/archive" --kind impedance --percentiles 5,50,95 -o "$WORK/single-impedance.csv"
expect_rc 0 "single run of the impedance curves"
expect_in "$ERR" "statistics of 2 curves; 0 files refused" "impedance curves"

# The README's recipe, run as written there with the archive's path, 7 names
# a job and 3 job slots.
readme=$(dirname "$0")/../../README.md
recipe=$(awk '/^\*\*Beyond one machine with GNU parallel/ {found = 1}
    found && /^```sh$/ {block = 1; next}
    block && /^```$/ {exit}
    block {print}' "$readme")
grep -q 'for kind in response impedance' <<<"$recipe" || fail "no recipe found in the README: $recipe"
recipe=${recipe//ARCHIVE/\"\$WORK/archive\"}
recipe=${recipe//-N 2000/-N 7 -j 3 --will-cite}
recipe=${recipe//voxacurve /\"\$VOXACURVE\" }
mkdir "$WORK/run"
(cd "$WORK/run" && eval "$recipe") 2>"$WORK/recipe.err" || true
[ "$(ls "$WORK/run/parts" | grep -c '^response-')" = 10 ] || fail "not 10 partials of 68 names by 7: $(ls "$WORK/run/parts")"
cmp "$WORK/single-response.csv" "$WORK/run/response.csv" || fail "the recipe's responses differ from the single run"
cmp "$WORK/single-impedance.csv" "$WORK/run/impedance.csv" || fail "the recipe's impedance curves differ from the single run"
[ "$(ls "$WORK/run/parts" | grep -c '^piped-')" = 10 ] || fail "not 10 piped partials: $(ls "$WORK/run/parts")"
cmp "$WORK/single-response.csv" "$WORK/run/piped.csv" || fail "the piped form's merge differs from the single run"
grep -q "statistics of 65 curves; 1 file refused or unreadable" "$WORK/recipe.err" \
    || fail "the merge of the responses does not count the refused file once: $(cat "$WORK/recipe.err")"

# Without --kind a job takes the kind of its first curve: mixed jobs refuse the other kind.
mkdir "$WORK/mixed"
find "$WORK/archive" -type f -print0 | sort -z \
    | parallel --will-cite -0 -j 3 -N 7 \
        "$VOXACURVE" stats --partial -o "$WORK/mixed/{#}.part" {} 2>/dev/null || true
run stats --merge "$WORK"/mixed/*.part --percentiles 5,50,95
expect_in "$ERR" "files refused" "mixed jobs"

echo PASS
