#!/bin/sh
# Writes binary PGM and PPM pictures with ImageMagick for the plug-in tests,
# and beside each the samples ImageMagick reads back from it (top row
# first, 8 bits a sample), so the tests compare against an independent tool.
# Usage: make_pnm_samples.sh OUTPUT_FOLDER
set -eu
out=$1
mkdir -p "$out"
# Odd width: 24-bit rows need padding in the DIB.
noise="-size 5x3 xc: -seed 11 +noise Random"
convert $noise -depth 8 "PPM:$out/colour.ppm"
convert $noise -colorspace Gray -depth 8 "PGM:$out/grey.pgm"
# A largest sample value of 15: the reader must stretch samples to 0..255.
convert $noise -colorspace Gray -depth 4 "PGM:$out/grey15.pgm"
convert "$out/colour.ppm" -depth 8 "rgb:$out/colour.rgb"
convert "$out/grey.pgm" -depth 8 "gray:$out/grey.gray"
convert "$out/grey15.pgm" -depth 8 "gray:$out/grey15.gray"
# The same picture behind seven bytes of something else, for reads that
# start where the file stands.
{ printf 'prefix:'; cat "$out/colour.ppm"; } >"$out/prefixed.bin"
printf 'neither a picture nor anything else\n' >"$out/plain.txt"
touch "$out/done"
