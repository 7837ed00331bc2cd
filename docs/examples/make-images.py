#!/usr/bin/env python3
"""Writes the example skin's images: a nine-grid frame and radio icons.
Plain zlib and struct, so nothing needs installing."""
import struct
import zlib
from pathlib import Path


def png(path, width, height, pixel):
    rows = b"".join(b"\0" + b"".join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    data = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))
    Path(path).write_bytes(data)


def frame(x, y):
    # 6-pixel edges in gold with darker corners, a striped centre.
    edge = min(x, y, 23 - x, 23 - y) < 6
    corner = (x < 6 or x > 17) and (y < 6 or y > 17)
    if corner:
        return (150, 100, 20, 255)
    if edge:
        return (230, 180, 60, 255) if (x + y) % 4 < 2 else (200, 150, 40, 255)
    return (40, 60, 90, 255) if x % 4 < 2 else (60, 90, 130, 255)


def radio(on):
    def pixel(x, y):
        d = ((x - 7.5) ** 2 + (y - 7.5) ** 2) ** 0.5
        if 5.5 < d <= 7.5:
            return (220, 220, 220, 255)
        if on and d <= 3.5:
            return (80, 200, 120, 255)
        return (0, 0, 0, 0)
    return pixel


here = Path(__file__).resolve().parent
png(here / "images/frame.png", 24, 24, frame)
png(here / "images/radio-off.png", 16, 16, radio(False))
png(here / "images/radio-on.png", 16, 16, radio(True))
