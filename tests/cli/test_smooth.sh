# --smooth 1/N on export, render, stats and check: fractions other than
# 1/1 ... 1/48 refused in words; the power average over +-1/(2N) octave
# applied to the bins before the grid; a flat curve stays flat; an export
# records its smoothing in its comment lines.
source "$(dirname "$0")/lib.sh"

# 48 kHz, N 4096: 11.72 Hz bins, band 20 to 20000 Hz; 20 dB everywhere
# (level factor 10, value 1) but 40 dB at bin 200 (2344 Hz).
spiky=$WORK/SPIKY.EA
write_curve "$spiky" 10 48000 4096 20000 20 '[1.0] * 200 + [10.0] + [1.0] * 1847'
flat=$WORK/FLAT.EA
write_curve "$flat" 10 48000 4096 20000 20 '[1.0] * 2048'
printf '20 26 0\n20000 26 0\n' >"$WORK/upper.frd"

for command in "export $flat -o -" "render $flat -o $WORK/x.png" "stats $flat" \
    "check $flat --upper $WORK/upper.frd"; do
    for bad in 1/4 3 1/3x 1/96 ""; do
        run $command --smooth "$bad"
        expect_rc 2 "$command --smooth '$bad'"
        expect_in "$ERR" "--smooth must be 1/1, 1/2, 1/3, 1/6, 1/12, 1/24 or 1/48 (of an octave), not \"$bad\"" \
            "$command refuses --smooth '$bad'"
    done
done

# Export: the values are the power average over the window, every bin of it
# drawn; the comment says so; a flat curve exports exactly as unsmoothed.
run export "$spiky" --smooth 1/3 -o -
expect_rc 0 "export --smooth 1/3"
expect_in "$OUT" "* Smoothing 1/3 octave: each bin the power average of the bins within +-1/6 octave of it" \
    "the smoothing in the comments"
/usr/bin/python3 - <<PY || fail "smoothed export values"
import math
lines = [l.split() for l in """$OUT""".splitlines() if not l.startswith("*")]
bins = range(2, 1707)  # 20 Hz rounds to bin 2, 20000 Hz to bin 1707 (not drawn)
assert len(lines) == len(bins), len(lines)
for i, (f, m, p) in zip(bins, lines):
    window = [j for j in bins if i * 2 ** (-1 / 6) <= j <= i * 2 ** (1 / 6)]
    power = sum(10000.0 if j == 200 else 100.0 for j in window) / len(window)
    assert abs(float(m) - 10 * math.log10(power)) < 6e-5, (i, m, 10 * math.log10(power))
PY
run export "$spiky" -o -
grep -q Smoothing <<<"$OUT" && fail "a comment on smoothing without --smooth"
plain=$OUT
run export "$flat" -o - --ppo 24
flat_plain=$(grep -v '^\*' <<<"$OUT")
for n in 1 3 48; do
    run export "$flat" -o - --ppo 24 --smooth 1/$n
    [ "$(grep -v '^\*' <<<"$OUT")" = "$flat_plain" ] || fail "a flat curve changed by --smooth 1/$n"
done
run export "$spiky" --format csv --smooth 1/3 -o -
[ "$(head -n 1 <<<"$OUT")" = "Frequency (Hz),Magnitude (dB),Phase (deg)" ] || fail "CSV header row changed"

# stats smooths before its grid: the mean of one curve is export's --ppo 48
# of the smoothed curve.
run stats "$spiky" --smooth 1/6 --percentiles 50 -o -
expect_rc 0 "stats --smooth"
stats_mean=$(tail -n +2 <<<"$OUT" | cut -d, -f1,2 | tr , ' ')
run export "$spiky" --smooth 1/6 --ppo 48 -o -
[ "$(grep -v '^\*' <<<"$OUT" | cut -d' ' -f1,2)" = "$stats_mean" ] || fail "stats --smooth is not export's smoothed grid"
run stats "$spiky" --percentiles 50 -o -
[ "$(tail -n +2 <<<"$OUT" | cut -d, -f1,2 | tr , ' ')" = "$stats_mean" ] && fail "stats ignores --smooth"
run stats --merge "$WORK/none.part" --smooth 1/3
expect_rc 2 "--merge --smooth"

# check: the 40 dB spike fails a 26 dB limit; spread over 1/3 octave (41 to
# 46 bins) it is 25.3 dB at most and passes.
run check "$spiky" --upper "$WORK/upper.frd"
expect_rc 1 "the spike fails unsmoothed"
run check "$spiky" --upper "$WORK/upper.frd" --smooth 1/3
expect_rc 0 "the spike passes smoothed"
expect_in "$OUT" "SPIKY.EA: pass" "check --smooth"

# render: a flat curve draws as without smoothing; the spiky one (on a scale
# of 15 to 45 dB) as the curve file of its smoothed values does.
run render "$flat" -o "$WORK/flat.png"
run render "$flat" -o "$WORK/flat-smooth.png" --smooth 1/12
cmp -s "$WORK/flat.png" "$WORK/flat-smooth.png" || fail "render --smooth changed a flat curve"
/usr/bin/python3 - "$spiky" "$WORK/SMOOTHED.EA" <<'PY'
import struct, sys
src, dst = sys.argv[1:]
data = open(src, "rb").read()
values = list(struct.unpack_from("<2048f", data, 20))
band = range(2, 1707)
for i in band:
    window = [j for j in band if i * 2 ** (-1 / 24) <= j <= i * 2 ** (1 / 24)]
    values_i = sum(float(struct.unpack_from("<f", data, 20 + 4 * j)[0]) ** 2 for j in window) / len(window)
    values[i] = values_i ** 0.5  # rounded to single precision by pack
open(dst, "wb").write(data[:20] + struct.pack("<2048f", *values))
PY
scale=(--level-top 45 --level-range 30)
run render "$spiky" -o "$WORK/spiky.png" "${scale[@]}"
run render "$spiky" -o "$WORK/spiky-smooth.png" --smooth 1/12 "${scale[@]}"
expect_rc 0 "render --smooth"
cmp -s "$WORK/spiky.png" "$WORK/spiky-smooth.png" && fail "render ignores --smooth"
run render "$WORK/SMOOTHED.EA" -o "$WORK/smoothed.png" "${scale[@]}"
cmp -s "$WORK/spiky-smooth.png" "$WORK/smoothed.png" || fail "render --smooth 1/12 differs from the smoothed curve file"
exit 0
