#!/usr/bin/env python3
"""Draws the program's icon, a disk with a wrench across it, as a 32 x 32 PNG with a palette of
256 colours. Standard library only; the PNG it wrote is kept beside it.

Usage: app/icons/make_icon.py [OUTPUT]   (default: wadwright.png beside this script)
"""

import math
import os
import struct
import sys
import zlib

SIZE = 32
SAMPLES = 8  # per pixel and axis: the edges come out smooth

RUST = (132, 34, 24)
RUST_DARK = (66, 14, 10)
STEEL = (198, 202, 210)
STEEL_DARK = (88, 92, 104)
SLOT = (40, 40, 48)
LABEL = (246, 236, 196)
INK = (120, 70, 40)
WRENCH = (226, 172, 40)
WRENCH_DARK = (92, 60, 8)


def rounded_box(x, y, left, top, right, bottom, radius):
    """Signed distance to a box with rounded corners: negative inside."""
    cx, cy = (left + right) / 2, (top + bottom) / 2
    hx, hy = (right - left) / 2 - radius, (bottom - top) / 2 - radius
    dx, dy = abs(x - cx) - hx, abs(y - cy) - hy
    outside = math.hypot(max(dx, 0), max(dy, 0))
    return outside + min(max(dx, dy), 0) - radius


def capsule(x, y, ax, ay, bx, by, radius):
    """Signed distance to a thick line with round ends."""
    px, py, vx, vy = x - ax, y - ay, bx - ax, by - ay
    t = max(0.0, min(1.0, (px * vx + py * vy) / (vx * vx + vy * vy)))
    return math.hypot(px - t * vx, py - t * vy) - radius


def circle(x, y, cx, cy, radius):
    return math.hypot(x - cx, y - cy) - radius


# The wrench lies from the lower left to the upper right; its open jaw points up and right.
HEAD = (24.0, 9.0)
TAIL = (8.5, 24.5)
AXIS = (HEAD[0] - TAIL[0], HEAD[1] - TAIL[1])
AXIS_LEN = math.hypot(*AXIS)
UX, UY = AXIS[0] / AXIS_LEN, AXIS[1] / AXIS_LEN


def wrench(x, y):
    handle = capsule(x, y, TAIL[0], TAIL[1], HEAD[0], HEAD[1], 2.0)
    head = circle(x, y, HEAD[0], HEAD[1], 5.2)
    ring = circle(x, y, TAIL[0], TAIL[1], 3.4)
    shape = min(handle, head, ring)
    # The jaw: a slot cut into the head along the wrench's axis, and the ring's hole.
    along = (x - HEAD[0]) * UX + (y - HEAD[1]) * UY
    across = -(x - HEAD[0]) * UY + (y - HEAD[1]) * UX
    jaw = max(abs(across) - 1.8, -(along + 0.6))
    hole = circle(x, y, TAIL[0], TAIL[1], 1.5)
    return max(shape, -jaw, -hole)


def layers(x, y):
    """The shapes from back to front: (distance, colour)."""
    yield rounded_box(x, y, 3, 3, 29, 29, 2.5), RUST_DARK
    yield rounded_box(x, y, 4, 4, 28, 28, 1.8), RUST
    yield rounded_box(x, y, 9, 3, 22, 13, 0.8), STEEL_DARK
    yield rounded_box(x, y, 10, 3.5, 21, 12, 0.5), STEEL
    yield rounded_box(x, y, 16, 5, 19, 10.5, 0.4), SLOT
    yield rounded_box(x, y, 7, 16, 25, 27, 1.0), LABEL
    for top in (19, 22.5):
        yield rounded_box(x, y, 9, top, 21, top + 1.3, 0.5), INK
    yield wrench(x, y) - 0.9, WRENCH_DARK
    yield wrench(x, y), WRENCH


def pixel(px, py):
    red = green = blue = alpha = 0.0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            x, y = px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES
            colour = None
            for distance, fill in layers(x, y):
                if distance <= 0:
                    colour = fill
            if colour:
                red, green, blue, alpha = red + colour[0], green + colour[1], blue + colour[2], alpha + 1
    if alpha == 0:
        return (0, 0, 0, 0)
    return (round(red / alpha), round(green / alpha), round(blue / alpha), round(255 * alpha / SAMPLES ** 2))


def quantised(image):
    """Fewest rounding steps that leave at most 256 colours, fully transparent ones as one."""
    step = 1
    while True:
        def near(c):
            if c[3] == 0:
                return (0, 0, 0, 0)
            return tuple(min(255, step * round(v / step)) for v in c[:3]) + (min(255, 16 * round(c[3] / 16)),)
        rounded = [[near(c) for c in row] for row in image]
        colours = sorted({c for row in rounded for c in row}, key=lambda c: (c[3] != 0, c))
        if len(colours) <= 256:
            return rounded, colours
        step += 1


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def png(image):
    rounded, colours = quantised(image)
    index = {c: i for i, c in enumerate(colours)}
    palette = colours + [(0, 0, 0, 255)] * (256 - len(colours))  # a full 256-colour palette
    rows = b"".join(b"\0" + bytes(index[c] for c in row) for row in rounded)
    alphas = bytes(c[3] for c in palette)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 3, 0, 0, 0))
            + chunk(b"PLTE", b"".join(bytes(c[:3]) for c in palette))
            + chunk(b"tRNS", alphas.rstrip(b"\xff") or b"\xff")
            + chunk(b"IDAT", zlib.compress(rows, 9))
            + chunk(b"IEND", b""))


def main():
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "wadwright.png")
    image = [[pixel(x, y) for x in range(SIZE)] for y in range(SIZE)]
    with open(output, "wb") as file:
        file.write(png(image))


if __name__ == "__main__":
    main()
