#!/usr/bin/env python3
"""Draws the game's hammer cursor as a 64 x 64 RGBA PNG: a steel head and a wooden handle,
caught in the strike. The game draws it at 32 x 32 with the hot spot (16, 28), so the face
of the head that strikes sits at (32, 57) here, and nothing of the hammer lies below it: a
click lands where the hammer hits.

Usage: tools/make_hammer_cursor.py [OUTPUT]   (default: resources/hammer.png)

Pure Python (zlib only), sampled 4 x 4 per pixel for smooth edges, like the status-bar
icon's generator. Run it again after changing the drawing; the output is committed.
"""
import math
import struct
import sys
import zlib
from pathlib import Path

SIZE = 64
SAMPLES = 4

OUTLINE = (40, 30, 25)
HANDLE = (186, 120, 60)
HANDLE_GRIP = (140, 80, 40)
HEAD = (150, 160, 175)
HEAD_LIGHT = (210, 220, 230)

# The hammer is drawn upright in its own frame (head across the top, handle down), then
# turned so that the head's left face points down and the handle runs up to the right,
# scaled, and moved so that the middle of that face lies on the hot spot.
ANGLE = math.radians(-100.0)
SCALE = 0.78
FACE = (14.0, 16.0)  # middle of the head's left face, in the hammer's frame
HOT_SPOT = (32.0, 57.0)  # where that face goes in the image


def to_hammer_frame(x, y):
    dx, dy = (x - HOT_SPOT[0]) / SCALE, (y - HOT_SPOT[1]) / SCALE
    c, s = math.cos(-ANGLE), math.sin(-ANGLE)
    return FACE[0] + dx * c - dy * s, FACE[1] + dx * s + dy * c


def in_rounded_rect(x, y, left, top, right, bottom, radius):
    if x < left or x > right or y < top or y > bottom:
        return False
    nx = min(max(x, left + radius), right - radius)
    ny = min(max(y, top + radius), bottom - radius)
    return math.hypot(x - nx, y - ny) <= radius


def colour_at(x, y):
    """The colour of the topmost shape at (x, y), or None for transparent."""
    hx, hy = to_hammer_frame(x, y)
    # Head: a block across the top, its lit upper edge a lighter band.
    if in_rounded_rect(hx, hy, 14.0, 8.0, 50.0, 24.0, 3.0):
        if not in_rounded_rect(hx, hy, 15.5, 9.5, 48.5, 22.5, 2.0):
            return OUTLINE
        return HEAD_LIGHT if hy < 13.0 else HEAD
    # Handle: from under the head down to the bottom, with a darker grip.
    if in_rounded_rect(hx, hy, 28.0, 22.0, 36.0, 60.0, 3.0):
        if not in_rounded_rect(hx, hy, 29.5, 22.0, 34.5, 58.5, 2.0):
            return OUTLINE
        return HANDLE_GRIP if hy > 46.0 else HANDLE
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
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "resources" / "hammer.png"
    out.write_bytes(png(render()))
    print(out)


if __name__ == "__main__":
    main()
