#!/usr/bin/env python3
"""Draws Orvane's program icon (res/orvane.ico): a dark rounded tile with a violet caret bar
and three text rows, at 16, 32 and 48 pixels, as 32-bit images with alpha."""
import struct
import sys

BACKGROUND = (0x14, 0x14, 0x1C)
EDGE = (0x3A, 0x3A, 0x4A)
ACCENT = (0x80, 0x80, 0xFF)
TEXT = (0xC0, 0xC0, 0xC0)


def pixel(size, x, y):
    """RGBA of one icon pixel at the given size."""
    s = size / 32.0
    r = 5 * s
    # Rounded tile.
    cx = min(max(x + 0.5, r), size - r)
    cy = min(max(y + 0.5, r), size - r)
    d = ((x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2) ** 0.5
    if d > r:
        return (0, 0, 0, 0)
    colour = EDGE if d > r - max(1.0, s) or x < s or y < s or x >= size - s or y >= size - s else BACKGROUND
    # Three text rows of different lengths.
    for row, length in ((0, 18), (1, 12), (2, 15)):
        top = (8 + row * 6) * s
        if top <= y < top + 3 * s and 6 * s <= x < (6 + length) * s:
            colour = TEXT
    # Caret bar after the second row.
    if 19 * s <= x < 21 * s and 13 * s <= y < 21 * s:
        colour = ACCENT
    # Accent underline.
    if 6 * s <= x < 26 * s and 25 * s <= y < 27 * s:
        colour = ACCENT
    return colour + (255,)


def bmp_entry(size):
    rows = []
    for y in range(size - 1, -1, -1):  # bottom-up
        row = bytearray()
        for x in range(size):
            r, g, b, a = pixel(size, x, y)
            row += bytes((b, g, r, a))
        rows.append(bytes(row))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    mask_row = ((size + 31) // 32) * 4
    mask = bytes(mask_row * size)
    return header + b"".join(rows) + mask


def main(path):
    sizes = [16, 32, 48]
    images = [bmp_entry(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "res/orvane.ico")
