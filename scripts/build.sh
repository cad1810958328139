#!/usr/bin/env bash
# Configures (once) and builds the cross build in the given folder.
set -euo pipefail
build=${1:-build}
cd "$(dirname "$0")/.."
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/i686-mingw.cmake
fi
cmake --build "$build"
scripts/prepare-prefix.sh "$build"
