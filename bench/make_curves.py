#!/usr/bin/env python3
"""Writes COUNT generated frequency responses into DIR for the speed
comparison: CURVE0001.EA ... as curve files (N = 4096 at 48 kHz, 20 Hz to
20 kHz, level factor 1) and CURVE0001.dat beside each with the same bins of
the band as "frequency level-in-dB" text for gnuplot.

Usage: make_curves.py COUNT DIR
"""
import math
import os
import random
import struct
import sys

N, RATE, LOW, HIGH = 4096, 48000, 20.0, 20000.0


def level(f, shape):
    """A two-way loudspeaker's look: a high-pass roll-off, a few bumps, noise."""
    fc, q, tilt, bumps = shape
    x = f / fc
    highpass = 40 * math.log10(x * x / math.sqrt((1 - x * x) ** 2 + (x / q) ** 2))
    ripple = sum(a * math.exp(-((math.log(f / fb)) ** 2) / 0.05) for fb, a in bumps)
    return 85 + highpass + tilt * math.log2(f / 1000) + ripple


def main():
    count, out = int(sys.argv[1]), sys.argv[2]
    os.makedirs(out, exist_ok=True)
    rng = random.Random(4096)
    first, end = max(2, round(N * LOW / RATE)), round(N * HIGH / RATE)
    for k in range(1, count + 1):
        shape = (rng.uniform(40, 90), rng.uniform(0.5, 1.2), rng.uniform(-1.5, 0.5),
                 [(rng.uniform(200, 15000), rng.uniform(-4, 4)) for _ in range(4)])
        values = []
        lines = []
        for i in range(N // 2):
            f = max(i, 1) * RATE / N
            db = level(f, shape) + rng.gauss(0, 0.3)
            v = struct.unpack("<f", struct.pack("<f", 10 ** (db / 20)))[0]
            values.append(v)
            if first <= i < end:
                lines.append(f"{i * RATE / N:.6g} {20 * math.log10(v):.4f}\n")
        name = os.path.join(out, f"CURVE{k:04d}")
        with open(name + ".EA", "wb") as f:
            f.write(struct.pack("<fiiff", 1.0, RATE, N, HIGH, LOW))
            f.write(struct.pack(f"<{N // 2}f", *values))
        with open(name + ".dat", "w") as f:
            f.writelines(lines)


if __name__ == "__main__":
    main()
