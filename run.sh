#!/usr/bin/env bash
# Installs what is missing, builds, and runs the game.
set -euo pipefail
cd "$(dirname "$0")"
build=${POMELO_BUILD:-build}

scripts/install-deps.sh
scripts/build.sh "$build"
if [ ! -f "$build/bin/Pomelo.exe" ]; then
  echo "Pomelo.exe is not built yet: the program itself arrives with the application shell."
  exit 0
fi
exec scripts/run-game.sh "$build"
