#!/usr/bin/env bash
# Builds and runs the pixel transfer and blend benchmark under Wine on a
# private Xvfb display (the surfaces need a screen to make their DIB sections).
# Usage: scripts/bench.sh [BUILD] [frames per batch]   (BUILD defaults to build)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}
frames=${2:-10}
# A new folder becomes the 32-bit build, or the 64-bit one with POMELO_ARCH=64.
toolchain() { [ "${POMELO_ARCH:-32}" = 64 ] && echo x86_64-mingw.cmake || echo i686-mingw.cmake; }
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$here/.." -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/../cmake/$(toolchain)" >/dev/null
fi
cmake --build "$build" --target PixelBench -j2 >/dev/null
build=$(cd "$build" && pwd)
"$here/prepare-prefix.sh" "$build"
source "$here/wine-env.sh" "$build"
# The surfaces are DIB sections made against the screen, hence the display.
exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" sh -c '
  cd "$0/bin"
  wine PixelBench.exe "$1"; rc=$?
  wineserver -k >/dev/null 2>&1
  exit $rc' "$build" "$frames"
