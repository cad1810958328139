#!/usr/bin/env python3
"""Writes the pictures that the DIB resource tests compile into their program:
BMP files made by ImageMagick (with the RGB pixels it reads back, top row
first), an "MCG " image made from one of them by ktimage, "RCG" resources
wrapping it (sound, with a wrong magic, with a size beyond the resource, with
a cut stream) and a bitmap resource whose rows are cut short.
Usage: make_dib_resources.py KTIMAGE OUTPUT_FOLDER"""
import os
import struct
import subprocess
import sys

ktimage, out = sys.argv[1], sys.argv[2]
os.makedirs(out, exist_ok=True)


def path(name):
    return os.path.join(out, name)


# Odd width, so rows are padded at every depth.
source = ["-size", "11x6", "gradient:navy-orange", "-fill", "white", "-draw", "line 0,0 10,5"]
pictures = {
    "p8": ["-colors", "50", "-type", "Palette", "-compress", "none", "BMP3:"],
    "core8": ["-colors", "30", "-type", "Palette", "BMP2:"],
    "t24": ["-type", "TrueColor", "BMP3:"],
}
for name, args in pictures.items():
    subprocess.run(["convert"] + source + args[:-1] + [args[-1] + path(name + ".bmp")], check=True)
    subprocess.run(["convert", path(name + ".bmp"), "-depth", "8", "rgb:" + path(name + ".rgb")],
                   check=True)

subprocess.run([ktimage, "mcg", path("p8.bmp"), path("p8.mcg")], check=True)
mcg = open(path("p8.mcg"), "rb").read()


def rcg(name, magic, stated, image):
    open(path(name), "wb").write(magic + struct.pack("<I", stated) + image)


rcg("good.rcg", b"RCG ", len(mcg), mcg)
rcg("badmagic.rcg", b"RCGX", len(mcg), mcg)
rcg("oversize.rcg", b"RCG ", len(mcg) + 1000, mcg)
rcg("cut.rcg", b"RCG ", len(mcg) - 20, mcg[:-20])

# A packed DIB (the BMP without its 14-byte file header) missing its last row.
bmp = open(path("p8.bmp"), "rb").read()
open(path("cut.dib"), "wb").write(bmp[14:-12])
open(path("done"), "w").write("\n")
