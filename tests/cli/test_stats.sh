# voxacurve stats: count, minimum, maximum, mean and percentiles per point of
# the export's grid; one CSV or one file per statistic; partials that merge
# into exactly the text of one run; partials that are not sound refused.
source "$(dirname "$0")/lib.sh"

# Flat curves of known levels: 60, 70 and 80 dB over 100 Hz ... 10 kHz and
# 90 dB over 900 ... 2300 Hz only (N 4096 and 8192, different rates).
mkdir "$WORK/flat"
write_curve "$WORK/flat/A.EA" 1 48000 4096 10000 100 '[1000.0] * 2048'
write_curve "$WORK/flat/B.EE" 10 44100 8192 10000 100 '[316.22776601683796] * 4096'
write_curve "$WORK/flat/C.AE" 1 48000 4096 10000 100 '[10000.0] * 2048'
write_curve "$WORK/flat/D.AA" 1 48000 4096 2300 900 '[31622.776601683792] * 2048'

run stats "$WORK/flat" --ppo 3 --percentiles 5,50,95
expect_rc 0 "stats of the flat curves"
expect_in "$ERR" "statistics of 4 curves; 0 files refused or unreadable" "summary"
[ "$(head -n 1 <<<"$OUT")" = "Frequency (Hz),Mean (dB),Std (dB),Minimum (dB),Maximum (dB),P5 (dB),P50 (dB),P95 (dB),Count" ] \
    || fail "the CSV does not start with its header row: $(head -n 3 <<<"$OUT")"
# One row a case: frequency, then the row expected (the sample standard
# deviation of 60, 70, 80 is 10; of 60, 70, 80, 90 it is sqrt(500 / 3)).
rows=(
    "125,125,70.0000,10.0000,60.0000,80.0000,61.0000,70.0000,79.0000,3"
    "1000,1000,75.0000,12.9099,60.0000,90.0000,61.5000,75.0000,88.5000,4"
    "2000,2000,75.0000,12.9099,60.0000,90.0000,61.5000,75.0000,88.5000,4"
    "2519.8421,2519.8421,70.0000,10.0000,60.0000,80.0000,61.0000,70.0000,79.0000,3"
    "8000,8000,70.0000,10.0000,60.0000,80.0000,61.0000,70.0000,79.0000,3"
)
for row in "${rows[@]}"; do
    f=${row%%,*}
    line=$(grep "^$f," <<<"$OUT") || fail "no row at $f Hz in: $OUT"
    [ "$line" = "${row#*,}" ] || fail "row at $f Hz: $line instead of ${row#*,}"
done
[ "$(grep -c '^[0-9]' <<<"$OUT")" = 19 ] || fail "not the 19 grid points of 125 Hz ... 8 kHz at 3 per octave"

# The default grid is the export's: 48 points per octave, 1000 Hz among them.
run stats "$WORK/flat/A.EA"
expect_rc 0 "one curve"
expect_in "$OUT" $'\n1000,60.0000,,60.0000,60.0000,60.0000,60.0000,60.0000,1\n1014.545,' "48 per octave, no deviation of one curve"
expect_in "$ERR" "statistics of 1 curve; 0 files refused or unreadable" "one curve, in the singular"
run export "$WORK/flat/A.EA" --ppo 48 -o -
[ "$(grep -c '^[0-9]' <<<"$OUT")" = "$("$VOXACURVE" stats "$WORK/flat/A.EA" 2>/dev/null | grep -c '^[0-9]')" ] \
    || fail "stats and export --ppo 48 on different grids"

# One file per statistic into a directory, FRD for responses, ZMA for
# impedance; import reads them back.
run stats "$WORK/flat" --ppo 3 -o "$WORK/frd/"
expect_rc 0 "one file per statistic"
[ "$(ls "$WORK/frd" | tr '\n' ' ')" = "maximum.frd mean.frd minimum.frd p5.frd p50.frd p95.frd std.frd " ] \
    || fail "statistic files: $(ls "$WORK/frd")"
grep -qx '1000 75.0000 0' "$WORK/frd/mean.frd" || fail "mean.frd: $(cat "$WORK/frd/mean.frd")"
grep -qx '1000 12.9099 0' "$WORK/frd/std.frd" || fail "std.frd: $(cat "$WORK/frd/std.frd")"
run import "$WORK/frd/p95.frd" -o "$WORK/P95.EA" --rate 48000 --length 4096
expect_rc 0 "import of a statistic"
dir=$(examples)
run stats "$dir/SPEAKER.OHM" "$dir/WOOFER.OHM" -o "$WORK/zma/"
expect_rc 0 "impedance statistics"
[ -f "$WORK/zma/p50.zma" ] || fail "no p50.zma: $(ls "$WORK/zma")"
run stats "$dir/SPEAKER.OHM" -o "$WORK/zma" --format frd
expect_rc 1 "FRD of impedance"
expect_in "$ERR" "frd does not hold an impedance curve" "FRD of impedance refused"

# Mixed kinds: the first decides unless --kind says.
run stats "$dir"
expect_rc 1 "mixed kinds"
expect_in "$ERR" "SPEAKER.OHM: refused: an impedance curve among frequency responses" "mixed kinds refused"
run stats "$dir" --kind impedance -o "$WORK/imp.csv"
expect_rc 0 "--kind impedance"
expect_in "$ERR" "statistics of 2 curves" "the impedance curves only"
expect_in "$(cat "$WORK/imp.csv")" "Mean (Ohm)" "Ohm columns"

# Partials merge into exactly the text of one run, whichever split.
python3 "$(dirname "$0")/../../bench/make_curves.py" 40 "$WORK/gen" >/dev/null
cp "$dir"/*.E? "$dir"/*.A? "$WORK/gen/"
run stats "$WORK/gen" --percentiles 0,1,50,99.5,100 -o "$WORK/one.csv"
expect_rc 0 "one run"
run stats "$WORK/gen" --percentiles 0,1,50,99.5,100 -o "$WORK/one/"
find "$WORK/gen" -iname '*.[ea][ea]' | sort >"$WORK/all"
split -n l/3 "$WORK/all" "$WORK/part-list."
for list in "$WORK"/part-list.*; do
    run stats --files-from "$list" --partial -o "$list.part"
    expect_rc 0 "partial of $list"
done
run stats --merge "$WORK"/part-list.ac.part "$WORK"/part-list.aa.part "$WORK"/part-list.ab.part \
    --percentiles 0,1,50,99.5,100 -o "$WORK/merged.csv"
expect_rc 0 "merge"
expect_in "$ERR" "statistics of 45 curves; 0 files refused" "merged summary"
cmp "$WORK/one.csv" "$WORK/merged.csv" || fail "the merge differs from one run"
run stats --merge "$WORK"/part-list.*.part --percentiles 0,1,50,99.5,100 -o "$WORK/merged/"
diff -r "$WORK/one" "$WORK/merged" || fail "the merged statistic files differ from one run"

# A partial that is cut, changed or no partial is refused in words and
# nothing is written.
part=$WORK/part-list.aa.part
head -c $(($(stat -c %s "$part") - 5)) "$part" >"$WORK/cut.part"
cp "$part" "$WORK/changed.part"
printf '\x01' | dd of="$WORK/changed.part" bs=1 seek=100 conv=notrunc status=none
cases=(
    "$WORK/cut.part|not a usable partial of voxacurve stats: "
    "$WORK/changed.part|its checksum does not match"
    "$dir/SPEAKER.EA|it does not start with VOXASTAT"
    "$WORK/none.part|no such file"
)
for row in "${cases[@]}"; do
    run stats --merge "$part" "${row%%|*}" -o "$WORK/bad.csv"
    expect_rc 1 "merge with ${row%%|*}"
    expect_in "$ERR" "${row#*|}" "refusal of ${row%%|*}"
    [ ! -e "$WORK/bad.csv" ] || fail "written despite ${row%%|*}"
done
run stats --merge "$part" --ppo 24
expect_rc 1 "merge onto another grid"
expect_in "$ERR" "does not merge: made with 48 points per octave, not 24" "grid mismatch"

# Wrong command lines, found before any curve is read (a broken curve in
# the archive would be reported otherwise); what has no effect is refused.
head -c 10 "$dir/SPEAKER.EA" >"$WORK/gen/BROKEN.EA"
cases=(
    "--percentiles 101 $WORK/gen|--percentiles must be numbers from 0 to 100"
    "--percentiles 5,,50 $WORK/gen|--percentiles must be numbers"
    "--percentiles 50,5,50 $WORK/gen|--percentiles names 50 twice"
    "--ppo 0 $WORK/gen|--ppo"
    "--partial $WORK/gen|--partial needs -o PART"
    "--partial --merge x -o y|--partial and --merge exclude each other"
    "--merge|--merge needs at least one PART"
    "--kind both $WORK/gen|--kind must be response or impedance"
    "$WORK/gen -o $WORK/x.csv --format zma|one file holds every statistic as CSV only"
    "$WORK/gen --kind response --format zma -o $WORK/z/|zma does not hold frequency responses"
    "--merge $part --kind response|--kind has no effect with --merge"
    "--merge $part --serial-resistor 1000|--serial-resistor has no effect with --merge"
    "--merge $part -0|--merge takes the partials on the command line"
    "$WORK/gen --partial -o $WORK/p.part --percentiles 5,95|--percentiles has no effect with --partial"
    "$WORK/gen --partial -o $WORK/p.part --format frd|--format has no effect with --partial"
    "$WORK/gen --partial -o $WORK/|--partial writes one file: -o PART, not a directory"
)
for row in "${cases[@]}"; do
    read -r -a a <<<"${row%%|*}"
    run stats "${a[@]}"
    expect_rc 2 "stats ${row%%|*}"
    expect_in "$ERR" "${row#*|}" "the reason for stats ${row%%|*}"
    if grep -q "BROKEN\|statistics of" <<<"$ERR"; then fail "curves read before the options were checked: $ERR"; fi
done
[ ! -e "$WORK/z" ] && [ ! -e "$WORK/x.csv" ] && [ ! -e "$WORK/p.part" ] || fail "written by a wrong command line"
echo PASS
