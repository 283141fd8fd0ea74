# voxacurve limits: upper and lower limits from the statistics of a golden
# batch (mean +- K standard deviations, or two percentiles, widened), which
# check reads; a batch of flat curves whose mean and deviation are known.
source "$(dirname "$0")/lib.sh"

# Golden batch: flat 60, 70 and 80 dB (mean 70, sample deviation 10) and
# impedance 8, 10 and 12 Ohm (mean 10, deviation 2) over 20 Hz ... 20 kHz.
mkdir "$WORK/golden" "$WORK/ohm"
for level in 60 70 80; do
    write_curve "$WORK/golden/G$level.EA" 1 48000 4096 20000 20 "[10 ** ($level / 20)] * 2048"
done
for ohm in 8 10 12; do # values are Ohm / serial resistor (150 Ohm)
    write_curve "$WORK/ohm/Z$ohm.OHM" 1 48000 4096 20000 20 "[$ohm / 150] * 2048"
done
run stats "$WORK/golden" --ppo 6 --percentiles 5,50,95 -o "$WORK/golden.csv"
expect_rc 0 "golden statistics"
run stats "$WORK/ohm" --ppo 6 -o "$WORK/ohm.csv"
expect_rc 0 "impedance statistics"

# One row a case: arguments | the upper and the lower level at 1 kHz.
cases=(
    "--sigma 2|1000 90.0000 0|1000 50.0000 0"
    "--sigma 1.5 --widen 1|1000 86.0000 0|1000 54.0000 0"
    "--percentiles 5,95|1000 79.0000 0|1000 61.0000 0"
    "--percentiles 5,95 --widen 0.5|1000 79.5000 0|1000 60.5000 0"
)
for row in "${cases[@]}"; do
    IFS='|' read -r args upper lower <<<"$row"
    read -r -a a <<<"$args"
    rm -rf "$WORK/lim"
    run limits "$WORK/golden.csv" "${a[@]}" -o "$WORK/lim"
    expect_rc 0 "limits $args"
    grep -qx "$upper" "$WORK/lim/upper.frd" || fail "limits $args: upper.frd at 1 kHz not $upper: $(grep '^1000 ' "$WORK/lim/upper.frd")"
    grep -qx "$lower" "$WORK/lim/lower.frd" || fail "limits $args: lower.frd at 1 kHz not $lower: $(grep '^1000 ' "$WORK/lim/lower.frd")"
done

# check judges with them: 85 dB lies within mean +- 2 std (50 ... 90 dB), 95 dB does not.
write_curve "$WORK/T85.EA" 1 48000 4096 20000 20 "[10 ** (85 / 20)] * 2048"
write_curve "$WORK/T95.EA" 1 48000 4096 20000 20 "[10 ** (95 / 20)] * 2048"
"$VOXACURVE" limits "$WORK/golden.csv" --sigma 2 -o "$WORK/lim2" || fail "limits --sigma 2"
run check "$WORK/T85.EA" "$WORK/T95.EA" --upper "$WORK/lim2/upper.frd" --lower "$WORK/lim2/lower.frd"
expect_rc 1 "check against the limits"
expect_in "$OUT" "T85.EA: pass" "a curve within the limits"
expect_in "$OUT" "T95.EA: fail: above the upper limit" "a curve above them"

# Impedance: ZMA limits; --widen 20*log10(1.1) dB multiplies and divides by 1.1.
run limits "$WORK/ohm.csv" --sigma 1 --widen 0.8278537 -o "$WORK/zlim"
expect_rc 0 "impedance limits"
grep -qx '1000 13.2 0' "$WORK/zlim/upper.zma" || fail "upper.zma: $(grep '^1000 ' "$WORK/zlim/upper.zma")"
grep -qx '1000 7.272727 0' "$WORK/zlim/lower.zma" || fail "lower.zma: $(grep '^1000 ' "$WORK/zlim/lower.zma")"
run limits "$WORK/ohm.csv" --sigma 6 -o "$WORK/zlim6"
expect_rc 2 "a lower impedance limit below 0 Ohm"
expect_in "$ERR" "Ohm, not above 0 Ohm: choose a smaller --sigma" "the reason"

# What cannot be made is refused in words; nothing is written.
printf 'Frequency (Hz),Mean (dB),Minimum (dB),Maximum (dB),P50 (dB),Count\n20,1,1,1,1,2\n30,1,1,1,1,2\n' >"$WORK/old.csv"
cases=(
    "$WORK/golden.csv --percentiles 10,90|2|the statistics have no P10 column (their percentiles: P5, P50, P95)"
    "$WORK/golden.csv --percentiles 95,5|2|--percentiles must be LO,HI"
    "$WORK/golden.csv --sigma 2 --percentiles 5,95|2|give one of --sigma K and --percentiles LO,HI"
    "$WORK/golden.csv|2|give one of --sigma K and --percentiles LO,HI"
    "$WORK/golden.csv --sigma -1|2|--sigma must be a number from 0 to 100"
    "$WORK/golden.csv --sigma 2 --widen x|2|--widen"
    "$WORK/old.csv --sigma 2|2|the statistics have no Std column"
    "$WORK/T85.EA --sigma 2|1|not a statistics CSV of voxacurve stats"
    "$WORK/none.csv --sigma 2|1|no such file"
)
for row in "${cases[@]}"; do
    IFS='|' read -r args rc words <<<"$row"
    read -r -a a <<<"$args"
    run limits "${a[@]}" -o "$WORK/bad"
    expect_rc "$rc" "limits $args"
    expect_in "$ERR" "$words" "the reason for limits $args"
done
[ ! -e "$WORK/bad" ] || fail "written by a refused limits run"
echo PASS
