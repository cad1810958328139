#!/usr/bin/env bash
# Installs what is missing, builds, and runs the game: the 32-bit build where
# the machine runs 32-bit programs, else the 64-bit build; POMELO_ARCH=32 or
# 64 forces it.
set -euo pipefail
cd "$(dirname "$0")"

# The install step first: what it could install decides the build.
scripts/install-deps.sh
source scripts/choose-arch.sh running
scripts/build.sh "$build"
if [ ! -f "$build/bin/Pomelo.exe" ]; then
  echo "run.sh: the build ended without $build/bin/Pomelo.exe" >&2
  exit 1
fi
exec scripts/run-game.sh "$build"
