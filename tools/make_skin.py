#!/usr/bin/env python3
"""Draws skin.bmp, the main window's skin: a tile the window repeats across
its client area.

The tile is as high as the main window's client area at 96 DPI (611 pixels)
and narrow; it repeats sideways without a seam. From top to bottom it runs
from a soft blue band behind the tool-bar buttons into a pale paper colour
that darkens a little towards the Compile and Exit buttons, with a faint
diagonal weave. Every colour is light, so black label text stays easy to
read on it. Usage: make_skin.py OUTPUT_FILE
"""
import struct
import sys

WIDTH = 32  # the weave repeats every 4 pixels, so 32 tiles seamlessly
HEIGHT = 616
TOOL_BAR = 26  # the tool-bar buttons are 25 pixels high

TOP_BAND = (196, 214, 238)
PAPER_TOP = (247, 249, 252)
PAPER_BOTTOM = (214, 225, 240)


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def pixel(x, y):
    if y < TOOL_BAR:
        colour = mix(TOP_BAND, PAPER_TOP, (y / TOOL_BAR) ** 2)
    else:
        colour = mix(PAPER_TOP, PAPER_BOTTOM, (y - TOOL_BAR) / (HEIGHT - TOOL_BAR))
    if y == TOOL_BAR:
        colour = mix(colour, (160, 180, 210), 0.5)  # a hairline under the tool bar
    elif (x + y) % 4 == 0:
        colour = tuple(max(0, c - 6) for c in colour)  # the weave
    return colour


def bitmap():
    stride = (WIDTH * 3 + 3) & ~3
    rows = []
    for y in reversed(range(HEIGHT)):  # bottom-up, as BMP rows are stored
        row = bytearray()
        for x in range(WIDTH):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return header + info + data


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_skin.py OUTPUT_FILE")
    with open(sys.argv[1], "wb") as out:
        out.write(bitmap())


if __name__ == "__main__":
    main()
