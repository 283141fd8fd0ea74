# e2e: screen 1600x1200
# At a device pixel ratio of 2 the printer button's glyph is drawn at the
# screen's resolution: its outline, a pen of one window pixel on whole pixel
# positions, covers two device pixels in full, so the top edge steps from the
# light button to black within one device pixel (blown up from the 1x glyph it
# would be grey there).
source "$E2E_DIR/lib.sh"

export QT_SCALE_FACTOR=2
start_fresh_viewer
xdotool mousemove 0 0
sleep 0.3
import -window root -depth 8 "$E2E_WORK/screen.ppm"
# The printer glyph lies in the button rows at the top of the client area:
# its body is filled with grey (128, 128, 128); the column through the middle
# of the body crosses the paper's top edge above it.
eval "$(xdotool getwindowgeometry --shell "$WID")"
client_y=$((Y + HEIGHT - 2 * (450 - 46)))
python3 - "$E2E_WORK/screen.ppm" "$X" "$client_y" <<'PY' || fail "the printer glyph is not drawn at the screen's resolution"
import sys
data = open(sys.argv[1], "rb").read()
magic, w, h, maxval, pixels = data.split(maxsplit=4)
w = int(w)
x0, y0 = int(sys.argv[2]), int(sys.argv[3])
def rgb(x, y):
    i = (y * w + x) * 3
    return pixels[i:i + 3]
band = range(y0, y0 + 2 * 50)
grey = [(x, y) for y in band for x in range(x0, x0 + 2 * 632) if tuple(rgb(x, y)) == (128, 128, 128)]
if not grey:
    sys.exit("no printer body found")
xs = sorted(x for x, _ in grey)
x = xs[len(xs) // 2]
black = lambda y: max(rgb(x, y)) < 32
light = lambda y: min(rgb(x, y)) > 160
# The body's grey begins 7 window pixels below the glyph's top row, which is
# the button's own light colour: the paper's top edge lies between.
glyph_top = min(y for gx, y in grey if gx == x) - 2 * 7
y = next((y for y in range(glyph_top, glyph_top + 14) if black(y)), None)
if y is None:
    sys.exit(f"no black device pixel in column {x}")
if not (light(y - 1) and black(y + 1)):
    sys.exit(f"the edge at ({x}, {y}) is not one device pixel sharp: {list(rgb(x, y - 1))} above")
PY
quit_viewer "$WID"
echo "sharp glyphs at device pixel ratio 2: ok"
