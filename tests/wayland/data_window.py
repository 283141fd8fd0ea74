"""Finds the data window in a screen picture (binary PPM on stdin).

The data window of the default view is black with grey grid lines, the
20 Hz line in its first column. A black run of 16 pixels or more (no text has
one), widened over the adjacent black and grid pixels, spans a row of the
data window when it reaches back to that grid line (the frame's black edge
does not). Prints "X Y WIDTH HEIGHT" of the rows' bounding box, or nothing.
"""
import re
import sys

data = sys.stdin.buffer.read()
# Exactly one white-space byte ends the header: the first pixel may be one too.
header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+\d+\s", data)
width, height = int(header.group(1)), int(header.group(2))
pixels = data[header.end():]
BLACK, GRID = b"\0\0\0", b"\x80\x80\x80"


def in_window(row, x):
    return row[3 * x:3 * x + 3] in (BLACK, GRID)


box = None
for y in range(height):
    row = pixels[3 * width * y:3 * width * (y + 1)]
    x = 0
    while x < width:
        if row[3 * x:3 * x + 3] != BLACK:
            x += 1
            continue
        end = x
        while end < width and row[3 * end:3 * end + 3] == BLACK:
            end += 1
        if end - x >= 16:
            left, right = x, end
            while left > 0 and in_window(row, left - 1):
                left -= 1
            while right < width and in_window(row, right):
                right += 1
            if row[3 * left:3 * left + 3] != GRID:
                x = end
                continue
            box = (left, y, right, y + 1) if box is None else (
                min(box[0], left), min(box[1], y), max(box[2], right), y + 1)
        x = end
if box:
    print(box[0], box[1], box[2] - box[0], box[3] - box[1])
