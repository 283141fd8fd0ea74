# voxacurve render --band STATS.csv: the statistics of stats drawn in the
# data window, minimum to maximum and the outer percentiles shaded, the
# median as a line, where the levels lie; a text that is no statistics CSV
# is a wrong command line.
source "$(dirname "$0")/lib.sh"

# Flat curves at 60, 70 and 80 dB; their statistics at 3 points per octave.
for level in 60 70 80; do
    write_curve "$WORK/F$level.EA" 1 48000 4096 20000 20 "[10 ** ($level / 20)] * 2048"
done
run stats "$WORK"/F*.EA --ppo 3 --percentiles 10,50,90 -o "$WORK/stats.csv"
expect_rc 0 "stats of the flat curves"

"$VOXACURVE" render -o "$WORK/empty.png" --band "$WORK/stats.csv" \
    || fail "render of the band alone"
"$VOXACURVE" render "$WORK/F60.EA" -o "$WORK/c60.png" && "$VOXACURVE" render "$WORK/F80.EA" -o "$WORK/c80.png" \
    && "$VOXACURVE" render "$WORK/F70.EA" -o "$WORK/c70.png"
# The picture without anything: a curve file outside the window (level 0 dB).
write_curve "$WORK/NONE.EA" 1 48000 4096 20000 20 '[1e-9] * 2048'
"$VOXACURVE" render "$WORK/NONE.EA" -o "$WORK/none.png"
for f in empty c60 c70 c80 none; do convert "$WORK/$f.png" "$WORK/$f.ppm"; done

# In the middle column: the rows the band changes lie from the 80 dB line to
# the 60 dB line, and the median line lies on the 70 dB line.
python3 - "$WORK" <<'PY' || fail "the band is not where the levels are"
import sys
work = sys.argv[1]
def read(name):
    data = open(f"{work}/{name}.ppm", "rb").read()
    parts = data.split(b"\n", 3)
    w, h = map(int, parts[1].split())
    return w, h, parts[3]
w, h, none = read("none")
x = w // 2
def rows(name):
    _, _, pix = read(name)
    return [y for y in range(h) if pix[3 * (y * w + x):3 * (y * w + x) + 3] != none[3 * (y * w + x):3 * (y * w + x) + 3]]
band = rows("empty")
y60, y70, y80 = (min(rows(n)) for n in ("c60", "c70", "c80"))
assert band, "the band changed nothing"
assert y80 - 1 <= min(band) and max(band) <= y60 + 1, (min(band), max(band), y80, y60)
assert max(band) - min(band) >= y60 - y80 - 2, "the band does not reach from 60 to 80 dB"
_, _, pix = read("empty")
line = [y for y in band if pix[3 * (y * w + x):3 * (y * w + x) + 3] == bytes([255, 150, 0])]
assert line and abs(line[0] - y70) <= 1, (line, y70)
PY

# Limits as red lines where their levels lie: 85 dB above, a curve file at
# 60 dB below, on the band's picture and on a curve's alone.
printf '20 85\n20000 85\n' >"$WORK/upper.frd"
for picture in "--band $WORK/stats.csv" "$WORK/F70.EA"; do
    read -ra what <<<"$picture"
    run render "${what[@]}" --upper "$WORK/upper.frd" --lower "$WORK/F60.EA" -o "$WORK/limits.png"
    expect_rc 0 "limits over $picture"
    convert "$WORK/limits.png" "$WORK/limits.ppm"
    python3 - "$WORK" <<'PY2' || fail "the limits are not where their levels are over $picture"
import sys
work = sys.argv[1]
data = open(f"{work}/limits.ppm", "rb").read()
parts = data.split(b"\n", 3)
w, h = map(int, parts[1].split())
pix = parts[3]
x = w // 2
red = [y for y in range(h) if pix[3 * (y * w + x):3 * (y * w + x) + 3] == bytes([255, 0, 0])]
none = open(f"{work}/none.ppm", "rb").read().split(b"\n", 3)[3]
def top_row(name):
    other = open(f"{work}/{name}.ppm", "rb").read().split(b"\n", 3)[3]
    at = lambda img, y: img[3 * (y * w + x):3 * (y * w + x) + 3]
    return min(y for y in range(h) if at(other, y) != at(none, y))
y60, y80 = top_row("c60"), top_row("c80")
# The lower limit on the 60 dB line, the upper one 25 dB above it.
assert len(red) == 2, red
assert abs(red[1] - y60) <= 1, (red, y60)
assert abs((y60 - red[0]) - (y60 - y80) * 25 / 20) <= 1, (red, y60, y80)
PY2
done
run render "$WORK/F70.EA" --upper "$WORK/plain-missing.frd" -o "$WORK/x.png"
expect_rc 2 "a missing limit"
expect_in "$ERR" "plain-missing.frd" "the missing limit named"

# SVG: shaded areas and the line as vector paths.
run render "$WORK/F70.EA" --band "$WORK/stats.csv" -o "$WORK/band.svg"
expect_rc 0 "band in SVG"
grep -q 'fill="#ff9600"' "$WORK/band.svg" || fail "no shaded band in the SVG"

# What is no statistics CSV is refused in words.
printf 'Frequency (Hz),Magnitude (dB)\n20,80\n1000,70\n' >"$WORK/plain.csv"
run render "$WORK/F70.EA" --band "$WORK/plain.csv" -o "$WORK/x.png"
expect_rc 2 "a plain CSV as band"
expect_in "$ERR" "the header row is not that of voxacurve stats" "refusal in words"
[ ! -e "$WORK/x.png" ] || fail "a picture despite a refused band"
echo PASS
