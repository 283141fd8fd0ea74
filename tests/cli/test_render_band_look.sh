# voxacurve render --band: the band lies under the curves and over the grid,
# runs from the lowest to the highest percentile whatever their order, keeps
# every curve's colour exact inside it, draws its median in a colour far
# from the grid's and the curves', and the legend names what is drawn; on
# both colour sets.
source "$(dirname "$0")/lib.sh"

for level in 60 62 66 70 74 80; do
    write_curve "$WORK/F$level.EA" 1 48000 4096 20000 20 "[10 ** ($level / 20)] * 2048"
done
# The percentiles out of order: the darker area must still run from P5 to P95.
run stats "$WORK"/F60.EA "$WORK"/F70.EA "$WORK"/F80.EA --ppo 3 --percentiles 50,5,95 \
    -o "$WORK/stats.csv"
expect_rc 0 "stats of the flat curves"

for colours in default print; do
    r() { "$VOXACURVE" render --colours "$colours" "$@"; }
    r -o "$WORK/band.png" --band "$WORK/stats.csv"
    r "$WORK/F62.EA" "$WORK/F66.EA" "$WORK/F74.EA" -o "$WORK/curves.png"
    r "$WORK/F62.EA" "$WORK/F66.EA" "$WORK/F74.EA" -o "$WORK/both.png" --band "$WORK/stats.csv"
    write_curve "$WORK/NONE.EA" 1 48000 4096 20000 20 '[1e-9] * 2048'
    r "$WORK/NONE.EA" -o "$WORK/none.png"
    for level in 63 65 70 77 82 90; do
        write_curve "$WORK/L$level.EA" 1 48000 4096 20000 20 "[10 ** ($level / 20)] * 2048"
        r "$WORK/L$level.EA" -o "$WORK/l$level.png"
    done
    for f in "$WORK"/*.png; do convert "$f" -depth 8 "${f%.png}.ppm"; done
    /usr/bin/python3 - "$WORK" "$colours" <<'PY' || fail "the band's look with --colours $colours"
import sys
work, colours = sys.argv[1:]
class Image:  # a PPM picture's pixels as (r, g, b)
    def __init__(self, path):
        data = open(path, "rb").read()
        magic, size, depth, self.pixels = data.split(b"\n", 3)
        self.size = tuple(map(int, size.split()))
    def getpixel(self, at):
        i = 3 * (at[1] * self.size[0] + at[0])
        return tuple(self.pixels[i:i + 3])
img = {n: Image(f"{work}/{n}.ppm") for n in
       ["band", "curves", "both", "none"] + [f"l{v}" for v in (63, 65, 70, 77, 82, 90)]}
w, h = img["none"].size
none = img["none"]
background = none.getpixel((w // 2, h // 2 - 3))
# A column of the data window without a vertical grid line (the grid's rows
# lie 5 dB apart, far more than 7 pixels).
x = next(x for x in range(w // 2, w) if all(none.getpixel((x, y)) == background
                                            for y in (h // 2 - 10, h // 2 - 3)))
def row(name):  # the row of a flat curve's line in column x
    return next(y for y in range(h) if img[name].getpixel((x, y)) != none.getpixel((x, y)))
band = img["band"]
at = lambda level: band.getpixel((x, row(f"l{level}")))
# P5 to P95 is the darker area, on both sides of the median.
assert at(63) == at(77), ("P5 to P50 and P50 to P95 differ", at(63), at(77))
assert at(63) != background, "no band at 63 dB"
assert at(82) == background, ("shaded above the maximum", at(82))
# The median line lies on 70 dB: the median of 60, 70 and 80.
median = at(70)
assert median not in (at(63), background), median
grid = none.getpixel((x, row("l90")))  # 90 dB is a grid line
assert grid != background
distance = lambda a, b: sum((p - q) ** 2 for p, q in zip(a, b)) ** 0.5
assert distance(median, grid) >= 100, ("median close to the grid", median, grid)
for other in [(0, 255, 0), (0, 255, 255), (255, 0, 255), (255, 0, 0), background]:
    assert distance(median, other) >= 100, ("median close to", other, median)
# Every curve keeps its exact colour inside the band: lime, aqua, fuchsia.
curves, both = img["curves"], img["both"]
drawn = [(xx, y) for y in range(h) for xx in range(w)
         if curves.getpixel((xx, y)) in [(0, 255, 0), (0, 255, 255), (255, 0, 255)]]
assert len(drawn) > 1000, len(drawn)
changed = [p for p in drawn if both.getpixel(p) != curves.getpixel(p)]
assert not changed, ("curve pixels changed by the band", changed[:5])
inside = [p for p in drawn if band.getpixel(p) != none.getpixel(p)]
assert len(inside) > 500, "the curves do not lie in the band"
# The band lies over the grid: the grid line at 65 dB shows through it, tinted.
assert at(65) not in (grid, at(63)), (at(65), grid)
PY
done

# The legend names the curves, the band's areas and its median, and the
# limits; in SVG as text, in PNG with the band's colour in its swatch.
printf '20 85\n20000 85\n' >"$WORK/upper.frd"
run render "$WORK/F66.EA" --band "$WORK/stats.csv" --upper "$WORK/upper.frd" --legend \
    -o "$WORK/legend.svg"
expect_rc 0 "legend of a band in SVG"
for entry in F66.EA "minimum to maximum" "P5 to P95" "median (P50)" limits; do
    grep -q ">$entry</text>" "$WORK/legend.svg" || fail "no legend entry $entry"
done
"$VOXACURVE" render "$WORK/F66.EA" --band "$WORK/stats.csv" -o "$WORK/nolegend.png"
"$VOXACURVE" render "$WORK/F66.EA" --band "$WORK/stats.csv" --legend -o "$WORK/legend.png"
convert "$WORK/nolegend.png" -depth 8 "$WORK/nolegend.ppm"
convert "$WORK/legend.png" -depth 8 "$WORK/legend.ppm"
/usr/bin/python3 - "$WORK" <<'PY' || fail "the PNG legend shows no band swatch"
import sys
work = sys.argv[1]
def pixels(name):
    data = open(f"{work}/{name}.ppm", "rb").read()
    _, _, _, raw = data.split(b"\n", 3)
    return [tuple(raw[i:i + 3]) for i in range(0, len(raw), 3)]
a, b = pixels("nolegend"), pixels("legend")
changed = {q for p, q in zip(a, b) if p != q}
colours = set(a)
plain = {(0, 0, 0), (128, 128, 128), (0, 255, 0), (255, 150, 0), (255, 0, 0)}
swatches = (changed & colours) - plain
assert (255, 150, 0) in changed, "no median line or text in the legend"
assert len(swatches) >= 2, ("no swatch of the band's two areas", swatches)
PY
echo PASS
