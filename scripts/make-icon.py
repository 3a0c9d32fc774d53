#!/usr/bin/env python3
"""Writes resources/stats.ico, the plug-in's icon: three rising bars (a score
table) on a pale yellow tile with a dark frame, at 16x16 and 32x32 in 32-bit
colour. Drawn here from code so the picture is our own and the file can be
made again byte for byte: python3 scripts/make-icon.py [output]."""
import os
import struct
import sys

FRAME = (0x40, 0x30, 0x20, 0xFF)
TILE = (0xC6, 0xFA, 0xFF, 0xFF)  # the panel's pale yellow, as B, G, R, A
BARS = [(0xD0, 0x60, 0x20, 0xFF), (0x30, 0xA0, 0x30, 0xFF), (0x20, 0x30, 0xD0, 0xFF)]


def picture(size):
    """Rows top to bottom of (B, G, R, A) pixels."""
    px = [[TILE for _ in range(size)] for _ in range(size)]
    for i in range(size):
        for edge in (0, size - 1):
            px[i][edge] = FRAME
            px[edge][i] = FRAME
    bar_w = size // 5
    gap = (size - 2 - 3 * bar_w) // 4
    base = size - 1 - max(1, size // 8)
    for n, colour in enumerate(BARS):
        left = 1 + gap + n * (bar_w + gap)
        height = (size - 4) * (n + 2) // 4
        for y in range(base - height, base):
            for x in range(left, left + bar_w):
                px[y][x] = colour
    return px


def icon_image(size):
    """One icon entry: BITMAPINFOHEADER, XOR pixels bottom-up, AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = picture(size)
    xor = b"".join(bytes(p) for row in reversed(rows) for p in row)
    mask_row = ((size + 31) // 32) * 4
    and_mask = b"\x00" * (mask_row * size)
    return header + xor + and_mask


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources", "stats.ico")
    sizes = [16, 32]
    images = [icon_image(s) for s in sizes]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        data += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    data += b"".join(images)
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
