#!/usr/bin/env python3
"""Writes the toolkit tests' bitmaps and cursor into the folder given.

The colours are repeated in TestBitmaps.h; change both together.
"""
import struct
import sys


def write_bmp(path, width, height, pixel):
    """A 24-bit bottom-up BMP; pixel(x, y) returns (r, g, b)."""
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    bits = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(bits), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(bits), 0, 0, 14 + len(header)))
        f.write(header + bits)


def pattern(x, y):
    return (16 * x + 4, 16 * y + 4, 0x60)


def button(x, y):
    if (x, y) == (3, 3):
        return (255, 255, 255)
    if (x, y) == (4, 3):
        return (255, 255, 254)
    return (0x20 + x, 0x40 + y, 0xA0)


FRAMES = [(200, 0, 0), (0, 200, 0), (0, 0, 200), (200, 200, 0)]


def strip(x, y):
    local = (x % 13, y)
    if local == (1, 3):
        return (1, 2, 3)
    if local == (6, 6):
        return (255, 255, 255)
    return FRAMES[x // 13]


def grid(x, y):
    if (x % 26, y % 26) == (2, 5):
        return (9, 9, 9)
    return (40 * (x // 26) + 20, 100 * (y // 26) + 50, 77)


def write_cursor(path):
    """A 32 by 32 monochrome cursor, hot spot (13, 10)."""
    size = 32
    xor = bytes(4 * size)
    mask = bytes(0x00 if 8 <= y < 24 else 0xFF for y in range(size) for _ in range(4))
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 1, 0, len(xor) + len(mask), 0, 0, 2, 0)
    image = header + struct.pack("<II", 0, 0xFFFFFF) + xor + mask
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 2, 1))
        f.write(struct.pack("<BBBBHHII", size, size, 0, 0, 13, 10, len(image), 22))
        f.write(image)


def main(folder):
    write_bmp(f"{folder}/pattern.bmp", 16, 16, pattern)
    write_bmp(f"{folder}/button.bmp", 58, 19, button)
    write_bmp(f"{folder}/strip.bmp", 52, 13, strip)
    write_bmp(f"{folder}/grid.bmp", 104, 52, grid)
    write_cursor(f"{folder}/hand.cur")


if __name__ == "__main__":
    main(sys.argv[1])
