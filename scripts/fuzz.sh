#!/usr/bin/env bash
# Builds the image readers natively with clang (libFuzzer, AddressSanitizer)
# and runs each fuzz harness for a bounded time, seeded with files made by
# ktimage. Fails when any harness finds a crash, leak or oversized allocation.
# Usage: scripts/fuzz.sh BUILD_NATIVE [SECONDS_PER_HARNESS]   (default 10)
set -euo pipefail
build=${1:?native build folder}
seconds=${2:-10}
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$build"
build=$(cd "$build" && pwd)

cmake -S "$root/native" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DKT_FUZZ=ON >/dev/null
cmake --build "$build" -j2

# Seeds: small pictures of every depth, converted by ktimage.
seeds=$build/seeds
rm -rf "$seeds"
mkdir -p "$seeds/bmp" "$seeds/mcg" "$seeds/sld" "$seeds/rle" "$seeds/dib" "$seeds/susie" \
  "$seeds/pnm" "$build/pictures"
export ASAN_OPTIONS=detect_leaks=1
pattern=(-size 23x9 gradient:navy-orange -fill white -draw "line 0,0 22,8")
convert "${pattern[@]}" -colors 60 -type Palette -compress none "BMP3:$build/pictures/p8.bmp"
convert "${pattern[@]}" -colors 12 -compress none "BMP3:$build/pictures/p4.bmp"
convert "${pattern[@]}" -colors 2 -type Bilevel -compress none "BMP3:$build/pictures/p1.bmp"
convert "${pattern[@]}" -colors 60 -type Palette "BMP2:$build/pictures/core8.bmp"
convert "${pattern[@]}" -type TrueColor "BMP3:$build/pictures/t24.bmp"
convert "${pattern[@]}" -type TrueColorAlpha -alpha set "BMP:$build/pictures/t32.bmp"
convert "${pattern[@]}" -colors 60 -type Palette -compress RLE "BMP3:$build/pictures/rle8.bmp"
convert "${pattern[@]}" -colorspace Gray -depth 8 "$seeds/pnm/grey.pgm"
convert "${pattern[@]}" -depth 8 "$seeds/pnm/colour.ppm"
# The other harnesses take parts of the BMP files: the packed DIB after the
# file header; the header block and the rows as a plug-in hands them back
# (two bytes give the split); a run-length stream behind the bit count and
# size the harness reads from its first three bytes.
python3 - "$build/pictures" "$seeds" <<'PY'
import os, struct, sys
pictures, seeds = sys.argv[1], sys.argv[2]
for name in sorted(os.listdir(pictures)):
    data = open(os.path.join(pictures, name), "rb").read()
    stem = name[:-4]
    offset = struct.unpack_from("<I", data, 10)[0]
    open(os.path.join(seeds, "dib", stem), "wb").write(data[14:])
    info = data[14:offset]
    open(os.path.join(seeds, "susie", stem), "wb").write(struct.pack("<H", len(info)) + info + data[offset:])
    width, height, planes, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    if compression in (1, 2):
        prefix = bytes([1 if compression == 2 else 0, width % 65, height % 65])
        open(os.path.join(seeds, "rle", stem), "wb").write(prefix + data[offset:])
PY
for picture in "$build"/pictures/*.bmp; do
  name=$(basename "$picture" .bmp)
  cp "$picture" "$seeds/bmp/"
  "$build/ktimage" mcg "$picture" "$seeds/mcg/$name.mcg"
  "$build/ktimage" bmp "$seeds/mcg/$name.mcg" "$seeds/bmp/$name-back.bmp"
  "$build/ktimage" sld "$picture" "$seeds/sld/$name.sld" 2>/dev/null || true
done

failed=0
for format in mcg sld bmp rle dib susie pnm; do
  corpus=$build/corpus/$format
  mkdir -p "$corpus"
  echo "== fuzz_$format for ${seconds}s"
  # A 64 MB allocation limit: inputs here are a few kilobytes, so anything
  # near it means a size was taken from the file without a check.
  if ! "$build/fuzz_$format" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -malloc_limit_mb=64 -print_final_stats=1 -artifact_prefix="$build/crash-$format-" \
       "$corpus" "$seeds/$format" 2>"$build/fuzz_$format.log"; then
    echo "fuzz_$format FAILED; see $build/fuzz_$format.log and $build/crash-$format-*"
    tail -30 "$build/fuzz_$format.log"
    failed=1
  else
    grep -E 'stat::number_of_executed_units|cov:' "$build/fuzz_$format.log" | tail -2
  fi
done
exit $failed
