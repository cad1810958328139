#!/usr/bin/env bash
# Configures (once) and builds the cross build in the given folder.
# POMELO_ARCH=64 makes a new folder the 64-bit build (default 32); a folder
# keeps the kind it was configured with.
set -euo pipefail
build=${1:-build}
cd "$(dirname "$0")/.."
arch=${POMELO_ARCH:-32}
case $arch in
  32) toolchain=cmake/i686-mingw.cmake; kind=win32 ;;
  64) toolchain=cmake/x86_64-mingw.cmake; kind=win64 ;;
  *) echo "POMELO_ARCH must be 32 or 64, not '$arch'" >&2; exit 2 ;;
esac
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain"
elif [ -n "${POMELO_ARCH:-}" ] && [ "$(cat "$build/wine-arch" 2>/dev/null)" != "$kind" ]; then
  echo "$build is not the $arch-bit build; choose another folder (POMELO_BUILD) or remove it" >&2
  exit 2
fi
cmake --build "$build"
scripts/prepare-prefix.sh "$build"
