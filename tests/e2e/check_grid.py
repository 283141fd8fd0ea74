"""Checks the empty grid of the data window on a screenshot: the 100 Hz
column over the full height and the twelve level divisions (rows at
H * i div 12) across the full width, for a data window of W x H pixels at
(X, Y) on the screen showing LOW to HIGH Hz (default 20 Hz to 20 kHz) with
the default level scale.

Usage: check_grid.py SCREENSHOT.ppm X Y W H [LOW HIGH]
Prints what is wrong and exits 1, or exits 0.
"""
import math
import struct
import sys

path, x0, y0, w, h = sys.argv[1], *map(int, sys.argv[2:6])
low, high = (float(v) for v in sys.argv[6:8]) if len(sys.argv) > 6 else (20.0, 20000.0)
data = open(path, "rb").read()
parts = data.split(maxsplit=4)
width = int(parts[1])
pixels = parts[4]
GREY, BLACK = b"\x80\x80\x80", b"\0\0\0"


def rgb(x, y):
    i = ((y0 + y) * width + x0 + x) * 3
    return pixels[i:i + 3]


def single(v):
    return struct.unpack("<f", struct.pack("<f", v))[0]


# the column FreqToX gives 100 Hz: single-precision scale and offset, halves to even
a = single(w / (math.log(single(high)) - math.log(single(low))))
b = single(-math.log(single(low)) * a)
x100 = round(math.log(100.0) * a + b)

wrong = []
if rgb(x100, h - 3) != GREY or rgb(x100 + 3, h - 3) != BLACK:
    wrong.append(f"no 100 Hz grid column at x={x100} near the bottom row {h - 3}")
for i in range(1, 12):
    y = h * i // 12
    if rgb(w - 3, y) != GREY or rgb(w - 3, y + 2) != BLACK:
        wrong.append(f"no grid row {i} at y={y} near the right edge")
if wrong:
    print(f"data window {w} x {h} at ({x0}, {y0}): " + "; ".join(wrong))
    sys.exit(1)
