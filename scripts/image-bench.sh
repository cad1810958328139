#!/usr/bin/env bash
# Builds and runs the image decoding benchmark under Wine: "MCG " and "SLD"
# decoding of a 640x480 8-bit picture beside memcpy and zlib's inflate.
# Usage: scripts/image-bench.sh [BUILD] [picture.bmp]   (default build folder: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
shift || true
# A new folder becomes the 32-bit build, or the 64-bit one with POMELO_ARCH=64.
toolchain() { [ "${POMELO_ARCH:-32}" = 64 ] && echo x86_64-mingw.cmake || echo i686-mingw.cmake; }
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="cmake/$(toolchain)" >/dev/null
fi
cmake --build "$build" --target ImageBench >/dev/null
scripts/prepare-prefix.sh "$build" >/dev/null
exec "$build/wine-run" "$build/bin/ImageBench.exe" "$@"
