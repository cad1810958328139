#!/usr/bin/env python3
"""Writes a small uncompressed AVI movie: one video stream, 8-bit palettized
or 32-bit, rows bottom-up as every DIB without a negative height.

    make_movie.py OUT.avi DEPTH WIDTH HEIGHT FRAMES FPS [damaged]

With "damaged", the file is the start of such a movie cut inside its
headers: a movie file that exists but that no player can open.

Each frame shows a bar that moves one step to the right per frame over a
background whose shade changes with the frame number, so that a picture on
screen tells which frame is shown. Top-down rows or 24-bit pixels are not
written: the MCI window of the platform shows neither correctly.
"""
import struct
import sys


def chunk(fourcc, data):
    pad = b"\0" if len(data) % 2 else b""
    return fourcc + struct.pack("<I", len(data)) + data + pad


def riff_list(kind, fourcc, parts):
    body = fourcc + b"".join(parts)
    return kind + struct.pack("<I", len(body)) + body


# The palette of 8-bit movies: index i is grey i, except a few marker colours.
BAR_INDEX = 250
BAR_RGB = (0xFF, 0x20, 0x20)


def palette():
    entries = bytearray()
    for i in range(256):
        r, g, b = (i, i, i) if i != BAR_INDEX else BAR_RGB
        entries += bytes((b, g, r, 0))
    return bytes(entries)


def frame_pixels(depth, width, height, frame, frames):
    """Rows bottom-up: the first row written is the bottom row of the picture."""
    shade = (frame * 200) // max(frames - 1, 1)
    bar_left = (frame * max(width - 4, 1)) // max(frames, 1)
    rows = []
    for y_from_top in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            in_bar = bar_left <= x < bar_left + 4
            if depth == 8:
                row.append(BAR_INDEX if in_bar else shade)
            else:
                b, g, r = (BAR_RGB[2], BAR_RGB[1], BAR_RGB[0]) if in_bar else (shade, shade, shade)
                row += bytes((b, g, r, 0))
        while len(row) % 4:            # DIB rows are padded to 4 bytes
            row.append(0)
        rows.append(bytes(row))
    return b"".join(rows)


def movie(depth, width, height, frames, fps):
    stride = ((width * depth // 8) + 3) & ~3
    frame_size = stride * height
    micro_per_frame = 1000000 // fps

    bih = struct.pack("<IiiHHIIiiII", 40, width, height, 1, depth, 0, frame_size, 0, 0,
                      256 if depth == 8 else 0, 0)
    strf = bih + (palette() if depth == 8 else b"")

    avih = struct.pack("<14I", micro_per_frame, frame_size * fps, 0, 0x10, frames, 0, 1,
                       frame_size, width, height, 0, 0, 0, 0)
    strh = struct.pack("<4s4sIHHIIIIIIii4h", b"vids", b"DIB ", 0, 0, 0, 0, 1, fps, 0, frames,
                       frame_size, -1, 0, 0, 0, width, height)
    hdrl = riff_list(b"LIST", b"hdrl", [
        chunk(b"avih", avih),
        riff_list(b"LIST", b"strl", [chunk(b"strh", strh), chunk(b"strf", strf)]),
    ])

    movi_chunks = []
    index = bytearray()
    offset = 4   # offsets count from the 'movi' type code
    for frame in range(frames):
        data = frame_pixels(depth, width, height, frame, frames)
        piece = chunk(b"00db", data)
        index += struct.pack("<4sIII", b"00db", 0x10, offset, len(data))
        offset += len(piece)
        movi_chunks.append(piece)
    movi = riff_list(b"LIST", b"movi", movi_chunks)
    return riff_list(b"RIFF", b"AVI ", [hdrl, movi, chunk(b"idx1", bytes(index))])


# Long enough for the RIFF header, the header list's start and the main
# header, short of the stream headers.
DAMAGED_LENGTH = 88


def main():
    damaged = len(sys.argv) == 8 and sys.argv[7] == "damaged"
    if len(sys.argv) != 7 and not damaged:
        sys.exit(__doc__)
    out, depth, width, height, frames, fps = sys.argv[1], *map(int, sys.argv[2:7])
    if depth not in (8, 32) or width < 1 or height < 1 or frames < 1 or fps < 1:
        sys.exit("depth is 8 or 32; sizes, frames and fps are positive")
    data = movie(depth, width, height, frames, fps)
    with open(out, "wb") as f:
        f.write(data[:DAMAGED_LENGTH] if damaged else data)


if __name__ == "__main__":
    main()
