#!/usr/bin/env bash
# An SVG picture shows what the PNG of the same curves shows: curves cut at
# the data window, labels only inside their strips. Curves that run beyond
# the view (a narrow range, a response from 10 Hz, a statistics band) are
# rendered both ways; the SVG rasterised at the picture's size (rsvg-convert) has no pixel
# of its own outside the data window that the PNG lacks within two pixels.
source "$(dirname "$0")/lib.sh"

dir=$(examples)
write_curve "$WORK/LOW.EA" 1 48000 16384 20000 10 "[10000.0] * (n // 2)"
"$VOXACURVE" stats "$dir/SPEAKER.EA" "$dir/WOOFER.EA" "$WORK/LOW.EA" -o "$WORK/band.csv" 2>/dev/null
for view in "--from 50 --to 5000" "--from 31.5 --to 16000" "" "--from 100 --to 2000 --band $WORK/band.csv"; do
    read -ra range <<<"$view"
    for format in png svg; do
        run render "$dir/SPEAKER.EA" "$dir/WOOFER.EA" "$dir/SPEAKER.OHM" "$WORK/LOW.EA" \
            -o "$WORK/picture.$format" "${range[@]}"
        expect_rc 0 "render to $format with $view"
    done
    rsvg-convert -w 640 -h 450 "$WORK/picture.svg" -o "$WORK/svg.png"
    convert "$WORK/picture.png" -depth 8 "$WORK/png.ppm"
    convert "$WORK/svg.png" -background '#808080' -flatten -depth 8 "$WORK/svg.ppm"
    /usr/bin/python3 - "$WORK/png.ppm" "$WORK/svg.ppm" <<'PY' || fail "the SVG draws outside the PNG's places with $view"
import sys

def read_ppm(path):
    data = open(path, "rb").read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    w, h = int(fields[1]), int(fields[2])
    return w, h, data[pos + 1:]

w, h, png = read_ppm(sys.argv[1])
w2, h2, svg = read_ppm(sys.argv[2])
assert (w, h) == (w2, h2), ((w, h), (w2, h2))
px = lambda img, x, y: img[3 * (y * w + x):3 * (y * w + x) + 3]
background = px(png, 0, h - 1)
# The data window: the black rectangle of the PNG.
black = [(x, y) for y in range(h) for x in range(w) if px(png, x, y) == b"\0\0\0"]
left, right = min(x for x, _ in black), max(x for x, _ in black)
top, bottom = min(y for _, y in black), max(y for _, y in black)
differs = lambda p, q: max(abs(a - b) for a, b in zip(p, q)) > 60

def marked_near(x, y):
    return any(differs(px(png, i, j), background)
               for j in range(max(0, y - 2), min(h, y + 3))
               for i in range(max(0, x - 2), min(w, x + 3)))

stray = [(x, y) for y in range(h) for x in range(w)
         if not (left - 1 <= x <= right + 1 and top - 1 <= y <= bottom + 1)
         and differs(px(svg, x, y), background) and not marked_near(x, y)]
if stray:
    print(f"{len(stray)} pixels drawn outside the data window, first {stray[:5]}", file=sys.stderr)
    sys.exit(1)
PY
done
echo "svg matches png: ok"
