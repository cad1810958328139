#!/usr/bin/env bash
# Builds the pixel row loops and the layer composer natively with the host compiler (optimised, no
# sanitizers) and runs their benchmark RUNS times; read the median of the runs.
# Usage: scripts/native-bench.sh [BUILD_NATIVE] [RUNS] [frames per batch]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build-native-bench}
runs=${2:-3}
frames=${3:-10}
cmake -S "$root/native" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKT_FUZZ=OFF >/dev/null
cmake --build "$build" --target PixelRowsBench LayerComposeBench -j2 >/dev/null
for run in $(seq "$runs"); do
  echo "run $run"
  "$build/PixelRowsBench" "$frames"
  "$build/LayerComposeBench"
done
