# voxacurve stats and what it counts: nothing twice (a partial merged twice
# or copied, partials of overlapping inputs, one file under two names),
# partials of different serial resistors kept apart, forged partials
# refused, counts in words, percentiles named apart, one reason for an
# output that cannot be made.
source "$(dirname "$0")/lib.sh"

dir=$(examples)
mkdir "$WORK/a" "$WORK/b"
python3 "$(dirname "$0")/../../bench/make_curves.py" 6 "$WORK/a" >/dev/null
rm -f "$WORK/a"/*.dat
cp "$dir/SPEAKER.EA" "$WORK/b/"
run stats "$WORK/a" --partial -o "$WORK/a.part"
expect_rc 0 "partial a"
run stats "$WORK/b" --partial -o "$WORK/b.part"
expect_rc 0 "partial b"
expect_in "$ERR" "statistics of 1 curve; 0 files refused or unreadable" "one curve, in the singular"
cp "$WORK/a.part" "$WORK/copy.part"
run stats "$WORK/a/$(ls "$WORK/a" | head -n 1)" "$WORK/b" --partial -o "$WORK/overlap.part"
expect_rc 0 "partial of a file of a and of b"

# Each merge refused in words, nothing written.
cases=(
    "$WORK/a.part $WORK/a.part|a.part: does not merge: the same partial as one merged before (given twice, or a copy of it)"
    "$WORK/a.part $WORK/b.part $WORK/copy.part|copy.part: does not merge: the same partial as one merged before"
    "$WORK/a.part $WORK/overlap.part|overlap.part: does not merge: it holds curves of a file that a partial merged before holds too (overlapping inputs)"
)
for row in "${cases[@]}"; do
    read -r -a a <<<"${row%%|*}"
    run stats --merge "${a[@]}" -o "$WORK/merged.csv"
    expect_rc 1 "merge ${row%%|*}"
    expect_in "$ERR" "${row#*|}" "refusal of ${row%%|*}"
    [ ! -e "$WORK/merged.csv" ] || fail "written despite ${row%%|*}"
done
run stats --merge "$WORK/a.part" "$WORK/b.part" -o "$WORK/merged.csv"
expect_rc 0 "merge of disjoint partials"
expect_in "$ERR" "statistics of 7 curves; 0 files refused" "disjoint partials"

# One file under two names (a hard link) counts once in a run, and says so.
ln "$WORK/b/SPEAKER.EA" "$WORK/b/AGAIN.EA"
run stats "$WORK/b/SPEAKER.EA" "$WORK/b/AGAIN.EA" -o "$WORK/twice.csv"
expect_in "$ERR" "statistics of 1 curve;" "a file reached twice counted once"
grep -q "reached twice\|counted once\|twice" <<<"$ERR" || fail "reaching a file twice is not said: $ERR"

# Impedance partials of different serial resistors do not merge.
mkdir "$WORK/ohm1" "$WORK/ohm2"
cp "$dir/SPEAKER.OHM" "$WORK/ohm1/"
cp "$dir/WOOFER.OHM" "$WORK/ohm2/"
"$VOXACURVE" stats "$WORK/ohm1" --partial -o "$WORK/r150.part" 2>/dev/null
"$VOXACURVE" stats "$WORK/ohm2" --partial -o "$WORK/r1000.part" --serial-resistor 1000 2>/dev/null
run stats --merge "$WORK/r150.part" "$WORK/r1000.part"
expect_rc 1 "merge of two resistors"
expect_in "$ERR" "r1000.part: does not merge: impedance curves with a serial resistor of 1000 Ohm, not 150" "resistors"
"$VOXACURVE" stats "$WORK/ohm2" --partial -o "$WORK/r150b.part" 2>/dev/null
run stats --merge "$WORK/r150.part" "$WORK/r150b.part" -o "$WORK/ohm.csv"
expect_rc 0 "merge of one resistor"

# Partials of different smoothing do not merge; of the same smoothing they do.
"$VOXACURVE" stats "$WORK/ohm1" --partial -o "$WORK/third.part" --smooth 1/3 2>/dev/null
"$VOXACURVE" stats "$WORK/ohm2" --partial -o "$WORK/sixth.part" --smooth 1/6 2>/dev/null
"$VOXACURVE" stats "$WORK/ohm2" --partial -o "$WORK/third2.part" --smooth 1/3 2>/dev/null
run stats --merge "$WORK/third.part" "$WORK/sixth.part" -o "$WORK/mixed.csv"
expect_rc 1 "merge of two smoothings"
expect_in "$ERR" "sixth.part: does not merge: curves smoothed to 1/6 octave, not smoothed to 1/3 octave" "smoothings"
run stats --merge "$WORK/r150.part" "$WORK/third.part" -o "$WORK/mixed.csv"
expect_in "$ERR" "third.part: does not merge: curves smoothed to 1/3 octave, not unsmoothed" "smoothed and not"
[ ! -e "$WORK/mixed.csv" ] || fail "written from partials of different smoothing"
run stats --merge "$WORK/third.part" "$WORK/third2.part" -o "$WORK/merged-third.csv"
"$VOXACURVE" stats "$WORK/ohm1" "$WORK/ohm2" --smooth 1/3 -o "$WORK/one-run-third.csv" 2>/dev/null
cmp -s "$WORK/merged-third.csv" "$WORK/one-run-third.csv" || fail "smoothed partials merge unlike one run"

# A forged partial: grid index 10^8, or curves taken -5, with a checksum that fits.
forge() { # PART OFFSET FORMAT VALUE OUT
    python3 - "$@" <<'PY'
import struct, sys
part, offset, fmt, value, out = sys.argv[1:]
data = bytearray(open(part, "rb").read())
struct.pack_into("<" + fmt, data, int(offset), int(value))
h = 14695981039346656037
for b in data[:-8]:
    h = ((h ^ b) * 1099511628211) % 2**64
struct.pack_into("<Q", data, len(data) - 8, h)
open(out, "wb").write(data)
PY
}
forge "$WORK/b.part" 52 q 100000000 "$WORK/far.part"
forge "$WORK/b.part" 36 q -5 "$WORK/minus.part"
forge "$WORK/b.part" 44 q -1 "$WORK/refused.part"
cases=(
    "far.part|grid points at frequencies no curve file reaches"
    "minus.part|18446744073709551611 curves announced, more than its bytes hold"
    "refused.part|18446744073709551615 refused files announced, more than a run reads"
)
for row in "${cases[@]}"; do
    run stats --merge "$WORK/a.part" "$WORK/${row%%|*}" -o "$WORK/forged.csv"
    expect_rc 1 "merge with ${row%%|*}"
    expect_in "$ERR" "${row%%|*}: not a usable partial of voxacurve stats: ${row#*|}" "refusal of ${row%%|*}"
done
[ ! -e "$WORK/forged.csv" ] || fail "written despite a forged partial"

# Counts in the singular and the plural.
head -c 10 "$dir/SPEAKER.EA" >"$WORK/b/BROKEN.EA"
run stats "$WORK/b/SPEAKER.EA" "$WORK/b/BROKEN.EA" "$dir/SPEAKER.OHM" --kind response
expect_in "$ERR" "statistics of 1 curve; 1 file refused or unreadable" "singular counts"
expect_in "$ERR" "voxacurve: 1 file of the other kind left out (--kind)" "one file of the other kind"

# What the walk or a file list cannot give counts as refused, in the
# summary and in the partial alike.
run stats "$WORK/b/SPEAKER.EA" --files-from "$WORK/no-list" --partial -o "$WORK/gap.part"
expect_rc 1 "a file list that cannot be read"
expect_in "$ERR" "statistics of 1 curve; 1 file refused or unreadable" "the list counted in the summary"
run stats --merge "$WORK/gap.part"
expect_in "$ERR" "statistics of 1 curve; 1 file refused or unreadable" "the list counted in the partial"

# Percentiles that print alike get names apart, in files and columns.
run stats "$WORK/a" --percentiles 50,50.0000001 -o "$WORK/apart/"
expect_rc 0 "percentiles close together"
[ "$(ls "$WORK/apart" | tr '\n' ' ')" = "maximum.frd mean.frd minimum.frd p50.0000001.frd p50.frd std.frd " ] \
    || fail "statistic files: $(ls "$WORK/apart")"
run stats "$WORK/a" --percentiles 50,50.0000001
expect_in "$(head -n 1 <<<"$OUT")" ",P50 (dB),P50.0000001 (dB),Count" "CSV columns apart"

# An output directory that cannot be made: the reason once.
touch "$WORK/plain"
run stats "$WORK/a" -o "$WORK/plain/s/"
expect_rc 1 "output under a plain file"
[ "$(grep -c . <<<"$ERR")" = 2 ] || fail "not one summary and one reason: $ERR"
expect_in "$ERR" "cannot make the directory $WORK/plain/s/: Not a directory" "the reason in words"
echo PASS
