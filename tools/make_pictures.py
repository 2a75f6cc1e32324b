#!/usr/bin/env python3
"""Writes the program's pictures (.bmp and .ico) from the pixel maps below.

Each map is drawn in letters, one letter a pixel; LETTERS says which colour a
letter stands for. "." is "no colour": magenta in the tool-bar bitmaps (the
program replaces it by the button face when it loads them) and a transparent
pixel in the icons. Usage: make_pictures.py OUTPUT_FOLDER
"""
import os
import struct
import sys

# The sixteen colours of a 16-colour icon, in palette order.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
LETTERS = {
    "K": 0, "M": 1, "E": 2, "O": 3, "N": 4, "P": 5, "T": 6, "S": 7,
    "G": 8, "R": 9, "L": 10, "Y": 11, "B": 12, "C": 14, "W": 15,
}
TRANSPARENT_KEY = (255, 0, 255)

NEW_PAGE = """
................
..KKKKKKKKK.....
..KWWWWWWWKK....
..KWWWWWWWKWK...
..KWWWWWWWKWWK..
..KWWWWWWWKKKKK.
..KWWWWWWWWWWWK.
..KWWWWWWWWWWWK.
..KWWWWWWWWWWWK.
..KWWWWWWWWWWWK.
..KWWWWWWWWWWWK.
..KWWWWWWWWWWWK.
..KWWWWWWWWWWWK.
..KWWWWWWWWWWWK.
..KKKKKKKKKKKKK.
................
"""

OPEN_FOLDER = """
................
................
.KKKKK..........
KYYYYYK.........
KYYYYYYKKKKKKK..
KYYYYYYYYYYYYK..
KYYYKKKKKKKKKKKK
KYYKOOOOOOOOOOOK
KYYKOOOOOOOOOOK.
KYKOOOOOOOOOOOK.
KYKOOOOOOOOOOK..
KKOOOOOOOOOOOK..
KKOOOOOOOOOOK...
KKKKKKKKKKKKK...
................
................
"""

SAVE_DISK = """
................
.KKKKKKKKKKKKKK.
.KNWWWWWWWWWWNK.
.KNWGGGGGGGGWNK.
.KNWWWWWWWWWWNK.
.KNWGGGGGGGGWNK.
.KNWWWWWWWWWWNK.
.KNNNNNNNNNNNNK.
.KNNNNNNNNNNNNK.
.KNNSSSSSSSSNNK.
.KNNSSKKSSSSNNK.
.KNNSSKKSSSSNNK.
.KNNSSKKSSSSNNK.
.KNNSSSSSSSSNNK.
..KKKKKKKKKKKKK.
................
"""

# A black question mark on a small raised grey button face: light edge top
# and left, shadow bottom and right.
HELP_BUTTON = """
WWWWWWWWWWWWWWWK
WSSSSSSSSSSSSSGK
WSSSSSKKKKSSSSGK
WSSSSKKSSKKSSSGK
WSSSSKKSSKKSSSGK
WSSSSSSSSKKSSSGK
WSSSSSSSKKSSSSGK
WSSSSSSKKSSSSSGK
WSSSSSSKKSSSSSGK
WSSSSSSSSSSSSSGK
WSSSSSSKKSSSSSGK
WSSSSSSKKSSSSSGK
WGGGGGGGGGGGGGGK
KKKKKKKKKKKKKKKK
"""

# The program: a closed blue book with a yellow title plate and the white
# edges of its pages.
BOOK = """
................................
................................
................................
......KKKKKKKKKKKKKKKKKKKKKK....
.....KNBBBBBBBBBBBBBBBBBBBBBK...
.....KNBBBBBBBBBBBBBBBBBBBBBKK..
.....KNBBBBBBBBBBBBBBBBBBBBBKWK.
.....KNBBBBBBBBBBBBBBBBBBBBBKWK.
.....KNBBBBYYYYYYYYYYYYYBBBBKWK.
.....KNBBBBYOOOOOOOOOOOYBBBBKWK.
.....KNBBBBYOKKKKKKKKKOYBBBBKWK.
.....KNBBBBYOOOOOOOOOOOYBBBBKWK.
.....KNBBBBYOKKKKKKKOOOYBBBBKWK.
.....KNBBBBYOOOOOOOOOOOYBBBBKWK.
.....KNBBBBYYYYYYYYYYYYYBBBBKWK.
.....KNBBBBBBBBBBBBBBBBBBBBBKWK.
.....KNBBBBBBBBBBBBBBBBBBBBBKWK.
.....KNBBBBBBBBBBBBBBBBBBBBBKWK.
.....KNBBBBBBBBBBBBBBBBBBBBBKWK.
.....KNBBBBBBBBBBBBBBBBBBBBBKWK.
.....KNBBBBBBBBBBBBBBBBBBBBBKWK.
.....KNBBBBBBBBBBBBBBBBBBBBBKWK.
.....KNBBBBBBBBBBBBBBBBBBBBBKWK.
.....KNBBBBBBBBBBBBBBBBBBBBBKWK.
.....KNBBBBBBBBBBBBBBBBBBBBBKWK.
.....KNBBBBBBBBBBBBBBBBBBBBBKWK.
.....KNNNNNNNNNNNNNNNNNNNNNNKWK.
.....KNKKKKKKKKKKKKKKKKKKKKKKWK.
.....KNKWWWWWWWWWWWWWWWWWWWWWWK.
.....KNKSSSSSSSSSSSSSSSSSSSSSK..
......KKKKKKKKKKKKKKKKKKKKKKK...
................................
"""

# The help window: a white question mark on a blue disc.
HELP_DISC = """
................................
................................
...........KKKKKKKKKK...........
.........KKBBBBBBBBBBKK.........
.......KKBBBBBBBBBBBBBBKK.......
......KBBBBBBBBBBBBBBBBBBK......
.....KBBBBBBBBBBBBBBBBBBBBK.....
....KBBBBBBBBWWWWWWBBBBBBBBK....
....KBBBBBBBWWWWWWWWBBBBBBBK....
...KBBBBBBBWWWBBBBWWWBBBBBBBK...
...KBBBBBBBWWWBBBBWWWBBBBBBBK...
..KBBBBBBBBBBBBBBBWWWBBBBBBBBK..
..KBBBBBBBBBBBBBBWWWWBBBBBBBBK..
..KBBBBBBBBBBBBBWWWWBBBBBBBBBK..
..KBBBBBBBBBBBBWWWWBBBBBBBBBBK..
..KBBBBBBBBBBBBWWWBBBBBBBBBBBK..
..KBBBBBBBBBBBBWWWBBBBBBBBBBBK..
..KBBBBBBBBBBBBWWWBBBBBBBBBBBK..
..KBBBBBBBBBBBBBBBBBBBBBBBBBBK..
..KBBBBBBBBBBBBBBBBBBBBBBBBBBK..
...KBBBBBBBBBBWWWWBBBBBBBBBBK...
...KBBBBBBBBBBWWWWBBBBBBBBBBK...
....KBBBBBBBBBWWWWBBBBBBBBBK....
....KBBBBBBBBBBBBBBBBBBBBBBK....
.....KBBBBBBBBBBBBBBBBBBBBK.....
......KBBBBBBBBBBBBBBBBBBK......
.......KKBBBBBBBBBBBBBBKK.......
.........KKBBBBBBBBBBKK.........
...........KKKKKKKKKK...........
................................
................................
................................
"""


def rows_of(name, art, width, height):
    rows = [line for line in art.strip("\n").split("\n")]
    if len(rows) != height or any(len(row) != width for row in rows):
        sizes = sorted({len(row) for row in rows})
        sys.exit(f"make_pictures: {name} must be {width} x {height}, is {sizes} x {len(rows)}")
    for row in rows:
        for letter in row:
            if letter != "." and letter not in LETTERS:
                sys.exit(f"make_pictures: {name} uses the unknown letter {letter!r}")
    return rows


def colour(letter):
    return TRANSPARENT_KEY if letter == "." else PALETTE[LETTERS[letter]]


def bitmap_24(rows):
    """A 24-bit BMP file; rows are stored bottom-up, each padded to 4 bytes."""
    width, height = len(rows[0]), len(rows)
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for letter in row:
            red, green, blue = colour(letter)
            line += bytes((blue, green, red))
        pixels += line + bytes(stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    offset = 14 + len(info)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + pixels


def icon_16_colours(rows):
    """An ICO file with one 16-colour image and its transparency mask."""
    width, height = len(rows[0]), len(rows)
    xor_stride = ((width * 4 + 31) // 32) * 4
    and_stride = ((width + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for x, letter in enumerate(row):
            index = 0 if letter == "." else LETTERS[letter]
            line[x // 2] |= index << (4 if x % 2 == 0 else 0)
            if letter == ".":
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += line
        mask += bits
    palette = b"".join(bytes((b, g, r, 0)) for (r, g, b) in PALETTE)
    # The image's header gives twice the height: the colour rows, then the mask.
    info = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 4, 0,
                       len(xor) + len(mask), 0, 0, 16, 0)
    image = info + palette + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", width, height, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


PICTURES = [
    ("new.bmp", NEW_PAGE, 16, 16, bitmap_24),
    ("open.bmp", OPEN_FOLDER, 16, 16, bitmap_24),
    ("save.bmp", SAVE_DISK, 16, 16, bitmap_24),
    ("help.bmp", HELP_BUTTON, 16, 14, bitmap_24),
    ("program.ico", BOOK, 32, 32, icon_16_colours),
    ("help_window.ico", HELP_DISC, 32, 32, icon_16_colours),
]


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for name, art, width, height, encode in PICTURES:
        data = encode(rows_of(name, art, width, height))
        path = os.path.join(folder, name)
        # Rewritten only when different, so the resources are not rebuilt
        # on every build.
        if not os.path.exists(path) or open(path, "rb").read() != data:
            with open(path + ".tmp", "wb") as out:
                out.write(data)
            os.replace(path + ".tmp", path)


if __name__ == "__main__":
    main()
