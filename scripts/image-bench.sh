#!/usr/bin/env bash
# Builds and runs the image decoding benchmark under Wine: "MCG " and "SLD"
# decoding of a 640x480 8-bit picture beside memcpy and zlib's inflate.
# Usage: scripts/image-bench.sh [BUILD] [picture.bmp]   (default build folder: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
shift || true
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/i686-mingw.cmake >/dev/null
fi
cmake --build "$build" --target ImageBench >/dev/null
scripts/prepare-prefix.sh "$build" >/dev/null
exec "$build/wine-run" "$build/bin/ImageBench.exe" "$@"
