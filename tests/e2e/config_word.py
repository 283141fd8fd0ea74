"""Reads, or with VALUE writes, a little-endian 16-bit value of a scrambled
configuration file. Each 16-bit word of the file holds its plain value plus a
pseudo-random number of the fixed sequence, modulo 65536.

Usage: config_word.py FILE OFFSET [VALUE]   (reading prints the signed value)
"""
import sys

SIZE = 6808


def key_words():
    state = 2719
    for _ in range(0, SIZE, 2):
        state = (state * 134775813 + 1) & 0xFFFFFFFF
        yield (state * 700) >> 32


path, offset = sys.argv[1], int(sys.argv[2])
data = bytearray(open(path, "rb").read())
keys = list(key_words())
stored = data[offset] | data[offset + 1] << 8
key = keys[offset // 2]
if len(sys.argv) == 3:
    v = (stored - key) & 0xFFFF
    print(v - 65536 if v >= 32768 else v)
else:
    w = (int(sys.argv[3]) + key) & 0xFFFF
    data[offset], data[offset + 1] = w & 0xFF, w >> 8
    open(path, "wb").write(bytes(data))
