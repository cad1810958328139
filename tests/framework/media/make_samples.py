#!/usr/bin/env python3
"""Writes BMP variants with ImageMagick and, beside each, the RGB pixels
ImageMagick reads back from it (top row first), for the BMP reader tests.
Usage: make_samples.py OUTPUT_FOLDER"""
import os
import struct
import subprocess
import sys

out = sys.argv[1]
os.makedirs(out, exist_ok=True)
# Odd width, so every bit depth has padded rows.
source = ["-size", "13x7", "xc:", "-seed", "3", "+noise", "Random"]
variants = {
    "p8full": ["-colors", "200", "-type", "Palette", "-compress", "none", "BMP3:"],
    "p8cut": ["-colors", "40", "-type", "Palette", "-compress", "none", "BMP3:"],
    "core8": ["-colors", "40", "-type", "Palette", "BMP2:"],
    "p4": ["-colors", "12", "-compress", "none", "BMP3:"],
    "p1": ["-colors", "2", "-type", "Bilevel", "-compress", "none", "BMP3:"],
    "t24": ["-type", "TrueColor", "BMP3:"],
    "t32": ["-type", "TrueColorAlpha", "-alpha", "set", "BMP:"],
}
# Run-length coding needs runs: a gradient crossed by a line, odd width.
# ImageMagick codes palette pictures of any colour count as RLE8.
runs = ["-size", "37x9", "gradient:navy-orange", "-fill", "white", "-draw", "line 0,0 36,8"]
rle_variants = {
    "rle8": ["-colors", "60", "-type", "Palette", "-compress", "RLE", "BMP3:"],
    "rle8few": ["-colors", "12", "-type", "Palette", "-compress", "RLE", "BMP3:"],
}


def convert(args):
    subprocess.run(["convert"] + args, check=True)


def trim_palette(path, dest):
    """ImageMagick always writes a full table; cut it after the highest index
    the pixels use, as a writer of partial tables would."""
    data = bytearray(open(path, "rb").read())
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    stride = (width + 3) & ~3
    used = max(data[offset + y * stride + x] for y in range(height) for x in range(width)) + 1
    table = 14 + 40
    body = data[table:table + 4 * used] + data[offset:]
    header = data[:table]
    struct.pack_into("<I", header, 2, table + len(body))
    struct.pack_into("<I", header, 10, table + 4 * used)
    struct.pack_into("<II", header, 14 + 32, used, used)
    open(dest, "wb").write(header + body)


for name, args in variants.items():
    target = os.path.join(out, name + ".bmp")
    convert(source + args[:-1] + [args[-1] + target])
for name, args in rle_variants.items():
    target = os.path.join(out, name + ".bmp")
    convert(runs + args[:-1] + [args[-1] + target])
names = list(variants) + list(rle_variants)
trim_palette(os.path.join(out, "p8cut.bmp"), os.path.join(out, "p8part.bmp"))
names.append("p8part")
for name in names:
    bmp = os.path.join(out, name + ".bmp")
    convert([bmp, "-depth", "8", "rgb:" + os.path.join(out, name + ".rgb")])
with open(os.path.join(out, "done"), "w") as stamp:
    stamp.write("\n".join(names) + "\n")
