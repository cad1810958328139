#!/usr/bin/env python3
"""Writes the icon and cursors of the host executable into a folder.

Pictures are drawn from a few lines of geometry so that the repository holds
no opaque binaries. Usage: make_images.py OUTPUT_FOLDER
"""
import os
import struct
import sys

SIZE = 32


def bitmap_header(width, height, bits, image_bytes):
    # Icon and cursor images store the colour picture and the mask one above
    # the other, so the header gives twice the height.
    return struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, bits, 0,
                       image_bytes, 0, 0, 0, 0)


def mask_rows(opaque):
    """1-bit AND mask, bottom-up, rows padded to 32 bits: 0 shows the image."""
    out = bytearray()
    for y in reversed(range(SIZE)):
        row = 0
        for x in range(SIZE):
            if not opaque(x, y):
                row |= 1 << (31 - x)
        out += struct.pack('>I', row)
    return bytes(out)


def cursor_file(shape, hotspot):
    """Monochrome cursor: black outline, white fill, transparent elsewhere.

    shape(x, y) returns None (transparent), 'o' (outline) or 'f' (fill)."""
    xor = bytearray()
    for y in reversed(range(SIZE)):
        row = 0
        for x in range(SIZE):
            if shape(x, y) == 'f':
                row |= 1 << (31 - x)
        xor += struct.pack('>I', row)
    andmask = mask_rows(lambda x, y: shape(x, y) is not None)
    palette = struct.pack('<II', 0x000000, 0xFFFFFF)
    image = bitmap_header(SIZE, SIZE, 1, len(xor) + len(andmask)) + palette + bytes(xor) + andmask
    directory = struct.pack('<HHH', 0, 2, 1)
    # For cursors the planes and bit-count words of the entry hold the hotspot.
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 0, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    return directory + entry + image


def icon_file(colour):
    """32-bit icon: colour(x, y) gives (b, g, r, a) or None for transparent."""
    pixels = bytearray()
    for y in reversed(range(SIZE)):
        for x in range(SIZE):
            pixels += bytes(colour(x, y) or (0, 0, 0, 0))
    andmask = mask_rows(lambda x, y: colour(x, y) is not None)
    image = bitmap_header(SIZE, SIZE, 32, len(pixels) + len(andmask)) + bytes(pixels) + andmask
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


def outlined(inside):
    """Turns an inside test into a shape with a one-pixel black outline."""
    def shape(x, y):
        if inside(x, y):
            return 'f'
        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            if inside(x + dx, y + dy):
                return 'o'
        return None
    return shape


def arrow(direction):
    """A thick arrow pointing up, right, down or left from the centre."""
    def up(x, y):
        if 4 <= y <= 15:                      # head: a triangle widening downwards
            return abs(x - 15.5) <= (y - 3)
        return 16 <= y <= 27 and 12 <= x <= 19  # shaft
    turn = {
        'up': lambda x, y: (x, y),
        'down': lambda x, y: (x, 31 - y),
        'left': lambda x, y: (y, x),
        'right': lambda x, y: (31 - y, x),
    }[direction]
    return outlined(lambda x, y: 0 <= x < SIZE and 0 <= y < SIZE and up(*turn(x, y)))


def pointing(x, y):
    """A small diamond with a dot in the middle, for pointing at things."""
    if not (0 <= x < SIZE and 0 <= y < SIZE):
        return False
    d = abs(x - 15) + abs(y - 15)
    return d <= 9 and not (3 <= d <= 4)


def hourglass(x, y):
    if not (4 <= y <= 27 and 0 <= x < SIZE):
        return False
    half = abs(y - 15.5)
    return abs(x - 15.5) <= max(2.0, half * 0.8)


def pomelo(x, y):
    """The program's icon: a round yellow-green fruit with a leaf."""
    dx, dy = x - 15.5, y - 17.5
    if dx * dx + dy * dy <= 13.5 * 13.5:
        shade = 200 + int(40 * (-dx - dy) / 27)
        return (60, min(255, shade + 20), min(255, shade), 255)
    if 1 <= y <= 5 and 16 <= x <= 24 and abs((x - 20) / 4.5) + abs((y - 3) / 2.2) <= 1:
        return (40, 140, 30, 255)
    return None


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    files = {
        'pomelo.ico': icon_file(pomelo),
        'point.cur': cursor_file(outlined(pointing), (15, 15)),
        'up.cur': cursor_file(arrow('up'), (15, 4)),
        'right.cur': cursor_file(arrow('right'), (27, 15)),
        'down.cur': cursor_file(arrow('down'), (15, 27)),
        'left.cur': cursor_file(arrow('left'), (4, 15)),
        'wait.cur': cursor_file(outlined(hourglass), (15, 15)),
    }
    for name, data in files.items():
        path = os.path.join(out, name)
        # Rewrite only on change so that the resource object is not rebuilt.
        if os.path.exists(path):
            with open(path, 'rb') as f:
                if f.read() == data:
                    continue
        with open(path, 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
