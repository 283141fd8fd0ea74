"""Predicts the data-window pixel of one bin of a curve file, by the drawing
rules of the viewer (level trace: 20 log10 of LevelFactor x value over a
logarithmic frequency axis; impedance trace: SerialResistor x value, linear).

Usage: predict_pixel.py FILE KIND FREQ_HZ WIDTH HEIGHT F_LOW F_HIGH SCALE_A SCALE_B
KIND is "level" (SCALE_A = LevelRange, SCALE_B = LevelTop) or "ohm"
(SCALE_A = ImpedanceStep, SCALE_B = ImpedanceBase, serial resistor 150 Ohm).
The bin nearest FREQ_HZ must lie in the first, unthinned stage. Prints "x y".
"""
import math
import struct
import sys

path, kind, freq = sys.argv[1], sys.argv[2], float(sys.argv[3])
width, height = int(sys.argv[4]), int(sys.argv[5])
f_low, f_high = float(sys.argv[6]), float(sys.argv[7])
scale_a, scale_b = int(sys.argv[8]), int(sys.argv[9])

data = open(path, "rb").read()
level_factor, fs, n, upper, lower = struct.unpack_from("<fiiff", data)
k = round(freq * n / fs)
assert k < round(n / 24), "the bin must lie in the unthinned stage"
value = struct.unpack_from("<f", data, 20 + 4 * k)[0]


def single(v):
    return struct.unpack("<f", struct.pack("<f", v))[0]


a = single(width / (math.log(f_high) - math.log(f_low)))
b = single(-math.log(f_low) * a)
x = round(math.log(k * single(fs / n)) * a + b)
if kind == "level":
    y = round(height * (scale_b - 20 * math.log10(level_factor * value)) / scale_a)
else:
    y = round(height * (1 - (10 * 150 * value - scale_b) / (8 * scale_a)))
print(x, y)
