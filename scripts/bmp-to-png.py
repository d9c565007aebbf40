#!/usr/bin/env python3
"""Converts the 24-bit BMP pictures that morloScreenshots writes into PNG files.
Usage: bmp-to-png.py FILE.bmp... (each FILE.png is written beside it, the BMP removed)"""
import os
import struct
import sys
import zlib


def convert(path):
    with open(path, "rb") as f:
        data = f.read()
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    row = (width * 3 + 3) & ~3
    raw = bytearray()
    for y in range(height - 1, -1, -1):  # bottom-up rows
        line = data[offset + y * row: offset + y * row + width * 3]
        raw.append(0)
        for x in range(0, len(line), 3):
            raw += bytes((line[x + 2], line[x + 1], line[x]))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))
    with open(os.path.splitext(path)[0] + ".png", "wb") as f:
        f.write(png)
    os.remove(path)


for name in sys.argv[1:]:
    convert(name)
