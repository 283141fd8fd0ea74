# voxacurve render --band: a statistics CSV is read by its column names (a
# standard deviation beside the mean, percentiles in any order), values no
# measurement holds are refused in words with their line, and no picture
# ever holds a number that is not finite.
source "$(dirname "$0")/lib.sh"

write_curve "$WORK/F70.EA" 1 48000 4096 20000 20 "[10 ** (70 / 20)] * 2048"
header='Frequency (Hz),Mean (dB),Minimum (dB),Maximum (dB),P5 (dB),P95 (dB),Count'
good='100,70,60,80,61,79,3'

# Read by the names of its columns.
printf 'Frequency (Hz),Mean (dB),Std (dB),Minimum (dB),Maximum (dB),P95 (dB),P5 (dB),Count\n%s\n%s\n' \
    '100,70,8.2,60,80,79,61,3' '1000,70,8.2,60,80,79,61,3' >"$WORK/std.csv"
run render "$WORK/F70.EA" --band "$WORK/std.csv" -o "$WORK/std.png"
expect_rc 0 "a band with a standard deviation and percentiles out of order"

# Each row: the CSV's lines after the header, then the words of the refusal.
refusals=(
    "0,70,60,80,61,79,3;$good|line 2: the frequency 0 Hz lies outside what a curve holds"
    "$good;200,70,80,60,61,79,3|line 3: the minimum 80 lies above the maximum 60"
    "$good;200,70,60,80,61,79,banana|line 3: the count \"banana\" is not a whole number"
    "$good;200,70,-1e308,1e308,61,79,3|line 3: the minimum -1e+308 lies outside what a curve holds"
)
for row in "${refusals[@]}"; do
    { echo "$header"; tr ';' '\n' <<<"${row%%|*}"; } >"$WORK/bad.csv"
    run render "$WORK/F70.EA" --band "$WORK/bad.csv" -o "$WORK/bad.png"
    expect_rc 2 "band ${row%%|*}"
    expect_in "$ERR" "${row#*|}" "refusal of ${row%%|*}"
    [ ! -e "$WORK/bad.png" ] || fail "a picture despite a refused band"
done
for p in -5 500; do
    printf 'Frequency (Hz),Mean (dB),Minimum (dB),Maximum (dB),P%s (dB),Count\n' "$p" >"$WORK/bad.csv"
    run render "$WORK/F70.EA" --band "$WORK/bad.csv" -o "$WORK/bad.png"
    expect_rc 2 "percentile $p"
    expect_in "$ERR" "line 1: the column \"P$p (dB)\" names percentile $p" "percentile $p"
done

# The farthest levels a band may hold, and limits of 1e308 dB, infinite or
# of no number (the limit reader may refuse them; what is drawn holds only
# finite numbers).
printf '%s\n100,0,-2000,2000,-1999,1999,1\n1000,0,-2000,2000,-1999,1999,1\n' "$header" >"$WORK/far.csv"
printf '20 -1e308\n1000 1e308\n' >"$WORK/huge.frd"
for limit in "" "--upper $WORK/huge.frd"; do
    read -ra upper <<<"$limit"
    rm -f "$WORK/far.svg"
    run render "$WORK/F70.EA" --band "$WORK/far.csv" "${upper[@]}" --level-range 5 --legend \
        -o "$WORK/far.svg"
    if [ "$RC" = 0 ]; then
        ! grep -iqE 'nan|inf' "$WORK/far.svg" || fail "a number not finite in the SVG"
        grep -q '<path\|<polyline' "$WORK/far.svg" || fail "the far band drew nothing"
    else
        [ -n "$limit" ] || fail "the far band refused: $ERR"
        expect_in "$ERR" "huge.frd" "the refused limit named"
    fi
done
echo PASS
