#!/usr/bin/env python3
"""Draws the status-bar icon, a small cat head, as a 64 x 64 RGBA PNG.

Usage: tools/make_menubar_icon.py [OUTPUT]   (default: resources/menubar_icon.png)

Pure Python (zlib only): each pixel is sampled 4 x 4 times against a few shapes, so the
edges come out smooth. Run it again after changing the drawing; the output is committed.
"""
import math
import struct
import sys
import zlib
from pathlib import Path

SIZE = 64
SAMPLES = 4

FUR = (245, 166, 35)
FUR_DARK = (200, 120, 20)
EAR_INNER = (255, 182, 193)
EYE = (40, 30, 30)
NOSE = (230, 90, 120)
WHISKER = (90, 60, 40)


def in_ellipse(x, y, cx, cy, rx, ry):
    return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def in_triangle(x, y, a, b, c):
    def side(p, q, r):
        return (r[0] - q[0]) * (p[1] - q[1]) - (r[1] - q[1]) * (p[0] - q[0])
    d1, d2, d3 = side((x, y), a, b), side((x, y), b, c), side((x, y), c, a)
    has_neg = d1 < 0 or d2 < 0 or d3 < 0
    has_pos = d1 > 0 or d2 > 0 or d3 > 0
    return not (has_neg and has_pos)


def near_segment(x, y, a, b, width):
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    px, py = ax + t * dx, ay + t * dy
    return math.hypot(x - px, y - py) <= width / 2


def colour_at(x, y):
    """The colour of the topmost shape at (x, y), or None for transparent."""
    # Whiskers sit on top of everything.
    for a, b in (((6, 40), (22, 42)), ((6, 47), (22, 45)), ((58, 40), (42, 42)), ((58, 47), (42, 45))):
        if near_segment(x, y, a, b, 1.6):
            return WHISKER
    if in_triangle(x, y, (30.0, 42.0), (34.0, 42.0), (32.0, 45.0)):
        return NOSE
    for cx in (23.0, 41.0):
        if in_ellipse(x, y, cx, 35.0, 3.2, 4.6):
            return EYE
    if in_ellipse(x, y, 32.0, 38.0, 23.0, 20.0):
        return FUR
    left_ear = ((10.0, 30.0), (14.0, 6.0), (28.0, 21.0))
    right_ear = ((54.0, 30.0), (50.0, 6.0), (36.0, 21.0))
    if in_triangle(x, y, (14.5, 26.0), (16.0, 12.0), (24.0, 21.0)) or in_triangle(
            x, y, (49.5, 26.0), (48.0, 12.0), (40.0, 21.0)):
        return EAR_INNER
    if in_triangle(x, y, *left_ear) or in_triangle(x, y, *right_ear):
        return FUR_DARK
    return None


def render():
    rows = []
    for py in range(SIZE):
        row = bytearray([0])  # filter type: none
        for px in range(SIZE):
            r = g = b = hits = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = colour_at(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES)
                    if c is not None:
                        r, g, b, hits = r + c[0], g + c[1], b + c[2], hits + 1
            if hits:
                row += bytes((r // hits, g // hits, b // hits, 255 * hits // (SAMPLES * SAMPLES)))
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return b"".join(rows)


def png(pixels):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(pixels, 9)) + chunk(b"IEND", b"")


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "resources" / "menubar_icon.png"
    out.write_bytes(png(render()))
    print(out)


if __name__ == "__main__":
    main()
