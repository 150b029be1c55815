#!/usr/bin/env python3
"""Draws MAINICON: a computer beside a package, 32 x 32 in 256 colours.

Writes resources/MainIcon.ico. The .ico is kept in the repository; run this
again after changing the picture.
"""
import struct
import sys
from pathlib import Path

SIZE = 32
PALETTE = {  # name: (red, green, blue)
    "clear": (0, 0, 0),
    "black": (0, 0, 0),
    "case": (214, 208, 190),
    "shade": (150, 144, 128),
    "screen": (24, 64, 160),
    "glare": (120, 170, 240),
    "box": (190, 140, 80),
    "boxdark": (140, 96, 48),
    "tape": (236, 220, 150),
    "green": (40, 200, 60),
}
NAMES = list(PALETTE)


def draw():
    pixels = [["clear"] * SIZE for _ in range(SIZE)]

    def rect(x0, y0, x1, y1, colour):  # inclusive corners
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                pixels[y][x] = colour

    def frame(x0, y0, x1, y1, colour):
        rect(x0, y0, x1, y0, colour)
        rect(x0, y1, x1, y1, colour)
        rect(x0, y0, x0, y1, colour)
        rect(x1, y0, x1, y1, colour)

    # The monitor, its stand and the keyboard, on the left.
    rect(1, 4, 19, 18, "case")
    frame(1, 4, 19, 18, "black")
    rect(4, 7, 16, 15, "screen")
    frame(3, 6, 17, 16, "shade")
    rect(5, 8, 7, 9, "glare")
    rect(17, 17, 18, 17, "green")
    rect(8, 19, 12, 21, "shade")
    rect(4, 22, 16, 23, "case")
    frame(4, 22, 16, 23, "black")
    rect(1, 25, 19, 28, "case")
    frame(1, 25, 19, 28, "black")
    for x in range(3, 18, 2):
        rect(x, 26, x, 27, "shade")

    # The package, on the right, in front.
    rect(18, 14, 30, 29, "box")
    rect(18, 14, 30, 16, "boxdark")
    frame(18, 14, 30, 29, "black")
    rect(23, 14, 25, 29, "tape")
    frame(18, 14, 30, 29, "black")
    return pixels


def ico(pixels):
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 8, 0, 0, 0, 0, 256, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE.values())
    palette += b"\0" * 4 * (256 - len(PALETTE))
    rows = reversed(pixels)  # bottom-up
    colour = b"".join(bytes(NAMES.index(name) for name in row) for row in rows)
    mask = b""
    for row in reversed(pixels):
        bits = 0
        for x, name in enumerate(row):
            if name == "clear":
                bits |= 1 << (31 - x)
        mask += struct.pack(">I", bits)
    image = header + palette + colour + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 8, len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).with_name("MainIcon.ico")
    out.write_bytes(ico(draw()))
