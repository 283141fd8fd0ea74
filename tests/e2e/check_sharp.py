"""Checks a screenshot of the viewer at a device pixel ratio of 2: the data
window is, pixel for pixel, the picture the drawing rules give a data window
of twice the size (RENDERED: voxacurve's picture of that size, its data
window at (52, 24)); its grid lines are one device pixel wide; the curve is
drawn; and the "dBxx" label has the glyphs of the font drawn at twice its
pixel size (SHARP) rather than those of the font at its own size blown up
(BLOWN).

Usage: check_sharp.py SCREEN.ppm RENDERED.ppm SHARP.pgm BLOWN.pgm CLIENT_X CLIENT_Y W H
(W x H: the data window in device pixels; CLIENT_X, CLIENT_Y: the client
area's corner on the screen.) Prints what is wrong and exits 1, or exits 0.
"""
import sys

GREY, BLACK, LIME = (128, 128, 128), (0, 0, 0), (0, 255, 0)


def read_pnm(path):
    data = open(path, "rb").read()
    magic, w, h, maxval, pixels = data.split(maxsplit=4)
    assert maxval == b"255", f"{path}: not 8 bits a channel"
    channels = 3 if magic == b"P6" else 1
    return int(w), int(h), channels, pixels


class Picture:
    def __init__(self, path):
        self.w, self.h, self.channels, self.pixels = read_pnm(path)

    def rgb(self, x, y):
        i = (y * self.w + x) * self.channels
        return tuple(self.pixels[i:i + 3]) if self.channels == 3 else (self.pixels[i],) * 3

    def ink(self, x0, y0, x1, y1):
        """The dark pixels of a region, as a set of (x, y) relative to their
        bounding box."""
        dots = {(x, y) for y in range(y0, y1) for x in range(x0, x1) if sum(self.rgb(x, y)) < 3 * 128}
        if not dots:
            return set()
        left = min(x for x, _ in dots)
        top = min(y for _, y in dots)
        return {(x - left, y - top) for x, y in dots}


failures = []


def fail(message):
    failures.append(message)
    print("FAIL:", message)


def find_data_window(screen, cx, cy):
    # Column 0 is the 20 Hz grid line right of the frame, over the data
    # window's full height.
    row = cy + 400
    x0 = next((x for x in range(cx, cx + 400)
               if screen.rgb(x, row) == GREY and screen.rgb(x + 1, row) == BLACK), None)
    if x0 is None:
        fail("no data window found")
        sys.exit(1)
    y0 = next(y for y in range(cy, cy + 400) if screen.rgb(x0, y) == GREY)
    return x0, y0


def overlap(a, b):
    """The best share of common ink of two glyph pictures, over small shifts."""
    best = 0.0
    for dx in range(-2, 3):
        for dy in range(-2, 3):
            shifted = {(x + dx, y + dy) for x, y in b}
            best = max(best, len(a & shifted) / len(a | shifted))
    return best


def main():
    screen, rendered = Picture(sys.argv[1]), Picture(sys.argv[2])
    sharp, blown = Picture(sys.argv[3]), Picture(sys.argv[4])
    cx, cy, w, h = map(int, sys.argv[5:9])
    x0, y0 = find_data_window(screen, cx, cy)

    grid_columns = [x for x in range(w)
                    if sum(screen.rgb(x0 + x, y0 + y) == GREY for y in range(h)) > 0.9 * h]
    grid_rows = [y for y in range(h)
                 if sum(screen.rgb(x0 + x, y0 + y) == GREY for x in range(w)) > 0.9 * w]
    if len(grid_columns) < 10 or len(grid_rows) < 10:
        fail(f"grid not found: {len(grid_columns)} columns, {len(grid_rows)} rows")
    for lines, name in ((grid_columns, "column"), (grid_rows, "row")):
        wide = [v for v in lines if v + 1 in lines]
        if wide:
            fail(f"grid lines wider than one device pixel at {name}s {wide[:5]}")

    curve = sum(screen.rgb(x0 + x, y0 + y) == LIME for y in range(h) for x in range(w))
    if curve < 2 * w // 3:
        fail(f"no curve drawn ({curve} lime pixels)")

    # "dBxx" stands left of the data window's top edge; the label below it
    # starts lower than this region.
    label = screen.ink(x0 - 100, y0 - 24, x0 - 8, y0 + 24)
    glyphs_sharp = sharp.ink(0, 0, sharp.w, sharp.h)
    glyphs_blown = blown.ink(0, 0, blown.w, blown.h)
    if not label:
        fail("no label found left of the data window")
    to_sharp, to_blown = overlap(label, glyphs_sharp), overlap(label, glyphs_blown)
    print(f"dBxx: {to_sharp:.2f} of its ink shared with the font at twice its size, "
          f"{to_blown:.2f} with the font blown up")
    if to_sharp < 0.7 or to_sharp < to_blown + 0.1:
        fail("the label's glyphs are not those of the font at the device resolution")

    differing = sum(screen.rgb(x0 + x, y0 + y) != rendered.rgb(52 + x, 24 + y)
                    for y in range(h) for x in range(w))
    if differing:
        fail(f"{differing} pixels of the data window differ from the rules' picture of {w} x {h}")
    sys.exit(1 if failures else 0)


main()
