# voxacurve render --legend: each file's name in its curve's colour, in the
# corner where it hides the fewest points of the curves; text in SVG and PDF.
source "$(dirname "$0")/lib.sh"

dir=$(examples)

# SVG: a text element per file, in the colour of the curve's line.
run render "$dir/SPEAKER.EA" "$dir/WOOFER.EA" "$dir/SPEAKER.OHM" --legend -o "$WORK/l.svg"
expect_rc 0 "legend in SVG"
for name in SPEAKER.EA WOOFER.EA SPEAKER.OHM; do
    fill=$(tr -d '\n' <"$WORK/l.svg" | grep -oE "<text fill=\"#[0-9a-f]{6}\"[^>]*>$name</text>" | grep -oE '#[0-9a-f]{6}') \
        || fail "no text $name in the SVG"
    grep -q "stroke=\"$fill\"" "$WORK/l.svg" || fail "$name's text in $fill, a colour no line has"
done
run render "$dir/SPEAKER.EA" -o "$WORK/n.svg"
grep -q '>SPEAKER.EA</text>' "$WORK/n.svg" && fail "a legend without --legend"

# PDF: the names are text.
run render "$dir/SPEAKER.EA" "$dir/WOOFER.OHM" --legend -o "$WORK/l.pdf"
expect_rc 0 "legend in PDF"
text=$(pdftotext "$WORK/l.pdf" -)
expect_in "$text" "SPEAKER.EA" "PDF text"
expect_in "$text" "WOOFER.OHM" "PDF text"

# PNG: the legend goes where it hides the fewest points. Each row: the
# curves as level:from:to (flat, dB and Hz; the window shows 40 to 100 dB
# over 20 Hz to 20 kHz), then the quarter of the picture the legend must lie in.
placements=(
    "97:20:20000|bottom right"
    "97:1000:20000 45:20:20000|top left"
    "97:20:20000 45:20:1000|bottom right"
)
for row in "${placements[@]}"; do
    files=()
    for curve in ${row%%|*}; do
        IFS=: read -r level from to <<<"$curve"
        write_curve "$WORK/L$level-$from.EA" 1 48000 4096 "$to" "$from" "[10 ** ($level / 20)] * 2048"
        files+=("$WORK/L$level-$from.EA")
    done
    "$VOXACURVE" render "${files[@]}" -o "$WORK/plain.png"
    "$VOXACURVE" render "${files[@]}" --legend -o "$WORK/legend.png"
    convert "$WORK/plain.png" "$WORK/plain.ppm"
    convert "$WORK/legend.png" "$WORK/legend.ppm"
    python3 - "$WORK/plain.ppm" "$WORK/legend.ppm" "${row#*|}" <<'PY' || fail "legend not at the ${row#*|} for ${row%%|*}"
import sys
def read(path):
    data = open(path, "rb").read()
    parts = data.split(b"\n", 3)
    w, h = map(int, parts[1].split())
    return w, h, parts[3]
w, h, a = read(sys.argv[1])
_, _, b = read(sys.argv[2])
changed = [(i // 3 % w, i // 3 // w) for i in range(0, len(a), 3) if a[i:i + 3] != b[i:i + 3]]
assert changed, "the legend changed nothing"
xs, ys = [x for x, _ in changed], [y for _, y in changed]
vertical, horizontal = sys.argv[3].split()
assert (min(ys) > h / 2) if vertical == "bottom" else (max(ys) < h / 2), (min(ys), max(ys))
assert (min(xs) > w / 2) if horizontal == "right" else (max(xs) < w / 2), (min(xs), max(xs))
PY
done
echo PASS
