#!/usr/bin/env python3
"""Draws morlo's icon (a game cartridge with a patch sewn on) at 16, 32 and 48 pixels and
writes it as an .ico file of 32-bit images. Usage: make-icon.py OUTPUT.ico"""
import struct
import sys

SAMPLES = 4  # per axis, for smooth edges


def rounded_rect(x, y, left, top, right, bottom, radius):
    if not (left <= x <= right and top <= y <= bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def colour_at(x, y):
    """The colour (r, g, b, a) of a point in a 1 x 1 square."""
    # The patch: an orange square with white stitches, sewn over the lower right corner.
    if 0.50 <= x <= 0.96 and 0.50 <= y <= 0.96:
        inner = 0.555 <= x <= 0.905 and 0.555 <= y <= 0.905
        stitch = not (0.585 <= x <= 0.875 and 0.585 <= y <= 0.875) and inner
        if stitch and int((x + y) * 22) % 2 == 0:
            return (255, 255, 255, 255)
        return (247, 148, 29, 255) if inner else (150, 72, 0, 255)
    # The cartridge: a grey body with a notch at the top right and a blue label.
    if rounded_rect(x, y, 0.14, 0.06, 0.86, 0.94, 0.06) and not (x > 0.70 and y < 0.20):
        if rounded_rect(x, y, 0.24, 0.26, 0.76, 0.62, 0.04):
            return (40, 92, 170, 255)
        if 0.30 < x < 0.70 and 0.74 < y < 0.88 and int((x - 0.30) * 40) % 2 == 0:
            return (90, 90, 96, 255)  # contacts
        edge = not rounded_rect(x, y, 0.17, 0.09, 0.83, 0.91, 0.05)
        return (70, 72, 80, 255) if edge else (178, 180, 188, 255)
    return (0, 0, 0, 0)


def image(size):
    rows = []
    for row in range(size):
        pixels = []
        for column in range(size):
            total = [0, 0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    r, g, b, a = colour_at((column + (sx + 0.5) / SAMPLES) / size,
                                           (row + (sy + 0.5) / SAMPLES) / size)
                    total = [total[0] + r * a, total[1] + g * a, total[2] + b * a, total[3] + a]
            alpha = total[3] / SAMPLES ** 2
            if total[3]:
                pixels.append(tuple(round(c / total[3]) for c in total[:3]) + (round(alpha),))
            else:
                pixels.append((0, 0, 0, 0))
        rows.append(pixels)
    return rows


def bitmap(size):
    """A BITMAPINFOHEADER image with an AND mask, as icon files hold them."""
    rows = image(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_row)
        for column, pixel in enumerate(row):
            if pixel[3] == 0:
                bits[column // 8] |= 0x80 >> (column % 8)
        mask += bits
    return header + colour + bytes(mask)


def main():
    sizes = (16, 32, 48)
    images = [bitmap(size) for size in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as f:
        f.write(out + b"".join(images))


main()
