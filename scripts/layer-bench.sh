#!/usr/bin/env bash
# Builds and runs the layer benchmark under Wine on a private Xvfb display:
# composition of 24 layers against memcpy, and the wall time of transitions,
# on the window's own thread and asked from a second thread as a module does,
# and the time from starting Pomelo.exe to the sample game's title.
# Usage: scripts/layer-bench.sh [BUILD] [compositions per batch] [transition rounds] [loop kind 0-3]
#   (BUILD defaults to build, rounds to 5, the loop kind to the widest)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}
perBatch=${2:-4}
rounds=${3:-5}
kind=${4:-}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$here/.." -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/../cmake/i686-mingw.cmake" >/dev/null
fi
cmake --build "$build" --target LayerBench TransitionBench StartupBench -j2 >/dev/null
build=$(cd "$build" && pwd)
"$here/prepare-prefix.sh" "$build"
source "$here/wine-env.sh" "$build"
# The transitions run on a real window, hence the display.
exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" sh -c '
  cd "$0/bin"
  wine LayerBench.exe "$1" $3; rc=$?
  wine TransitionBench.exe "$2" || rc=$?
  wine StartupBench.exe || rc=$?
  wineserver -k >/dev/null 2>&1
  exit $rc' "$build" "$perBatch" "$rounds" "$kind"
