#!/usr/bin/env python3
"""Draws the sample game's pictures and converts them with ktimage.

Usage: make_pictures.py KTIMAGE OUTPUT_FOLDER

Every picture is 640 x 480. The 8-bit ones keep palette index 250 for a
swatch at the top right (x 576..631, y 8..55) in a colour of the scene, so
that a player script can tell the scenes apart by one pixel. The PGM
pictures are grey; their swatch is a grey level of the scene.
"""
import math
import os
import struct
import subprocess
import sys

WIDTH, HEIGHT = 640, 480
SWATCH = (576, 8, 632, 56)
SWATCH_INDEX = 250

# Scene swatch colours (red, green, blue); the tests read them back.
SWATCHES = {
    "title": (0x20, 0x40, 0xC0),
    "forest": (0x10, 0xA0, 0x30),
    "town": (0xC0, 0x80, 0x20),
}
GREY_SWATCHES = {"mountain": 0xE0, "sea": 0x40}


def in_swatch(x, y):
    return SWATCH[0] <= x < SWATCH[2] and SWATCH[1] <= y < SWATCH[3]


def write_bmp8(path, palette, pixel):
    stride = (WIDTH + 3) & ~3
    rows = bytearray()
    for y in range(HEIGHT - 1, -1, -1):
        row = bytearray(pixel(x, y) for x in range(WIDTH))
        rows += row + bytes(stride - WIDTH)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    offset = 14 + 40 + len(table)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", offset + len(rows), 0, 0, offset))
        f.write(struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, 0, len(rows), 2835, 2835, 256, 0))
        f.write(table + rows)


def palette_of(low, high, swatch):
    """Index 0..249 from low to high, 250 the swatch, the rest white."""
    colours = []
    for i in range(250):
        t = i / 249
        colours.append(tuple(int(a + (b - a) * t) for a, b in zip(low, high)))
    colours.append(swatch)
    colours += [(255, 255, 255)] * 5
    return colours


def title(x, y):
    if in_swatch(x, y):
        return SWATCH_INDEX
    hill = 330 + 40 * math.sin(x / 70.0)
    if y > hill:
        return 40 + (y - 330) // 4
    return 120 + y * 120 // 480


def forest(x, y):
    if in_swatch(x, y):
        return SWATCH_INDEX
    trunk = (x // 80) % 2 == 0 and abs(x % 80 - 40) < 10
    crown = ((x % 80) - 40) ** 2 + ((y % 120) - 60) ** 2 < 35 ** 2
    if trunk or crown:
        return 30 + (y * 60 // 480)
    return 160 + (x + y) * 80 // (WIDTH + HEIGHT)


def town(x, y):
    if in_swatch(x, y):
        return SWATCH_INDEX
    house = (x // 100) % 2 == 1 and y > 200 + (x % 100) // 4
    window = house and (x % 25 < 12) and (y % 40 < 20)
    if window:
        return 240
    if house:
        return 60 + (x // 100) * 10
    return 150 + y * 90 // 480


def write_pgm(path, level, pixel):
    with open(path, "wb") as f:
        f.write(b"P5\n%d %d\n255\n" % (WIDTH, HEIGHT))
        f.write(bytes(level if in_swatch(x, y) else pixel(x, y)
                      for y in range(HEIGHT) for x in range(WIDTH)))


def mountain(x, y):
    ridge = 180 + abs((x % 240) - 120)
    return 90 if y > ridge else 160 + y * 40 // 480


def sea(x, y):
    wave = 240 + 12 * math.sin(x / 25.0 + y / 9.0)
    return 100 + y * 60 // 480 if y > wave else 180


def main():
    ktimage, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    write_bmp8(os.path.join(out, "title.bmp"),
               palette_of((10, 20, 60), (150, 190, 255), SWATCHES["title"]), title)
    # The same title at dusk: the title screen changes between the two.
    write_bmp8(os.path.join(out, "dusk.bmp"),
               palette_of((40, 10, 50), (250, 150, 90), SWATCHES["title"]), title)
    write_bmp8(os.path.join(out, "forest.bmp"),
               palette_of((0, 40, 10), (180, 230, 160), SWATCHES["forest"]), forest)
    write_bmp8(os.path.join(out, "town.bmp"),
               palette_of((60, 30, 20), (250, 220, 180), SWATCHES["town"]), town)
    subprocess.run([ktimage, "mcg", os.path.join(out, "forest.bmp"), os.path.join(out, "forest.mcg")], check=True)
    subprocess.run([ktimage, "sld", os.path.join(out, "town.bmp"), os.path.join(out, "town.sld")], check=True)
    os.remove(os.path.join(out, "forest.bmp"))
    os.remove(os.path.join(out, "town.bmp"))
    write_pgm(os.path.join(out, "mountain.pgm"), GREY_SWATCHES["mountain"], mountain)
    write_pgm(os.path.join(out, "sea.pgm"), GREY_SWATCHES["sea"], sea)
    open(os.path.join(out, "done"), "w").close()


if __name__ == "__main__":
    main()
