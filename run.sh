#!/usr/bin/env bash
# Installs what is missing, builds, and runs the game.
set -euo pipefail
cd "$(dirname "$0")"
build=${POMELO_BUILD:-build}

scripts/install-deps.sh
scripts/build.sh "$build"
if [ ! -f "$build/bin/Pomelo.exe" ]; then
  echo "run.sh: the build ended without $build/bin/Pomelo.exe" >&2
  exit 1
fi
exec scripts/run-game.sh "$build"
