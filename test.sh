#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test under Wine.
# Usage: ./test.sh [ctest arguments...]   (for example: ./test.sh -R KtString)
set -euo pipefail
cd "$(dirname "$0")"
build=${POMELO_BUILD:-build}

scripts/install-deps.sh
scripts/build.sh "$build"
scripts/ctest-wine.sh "$build" --output-on-failure "$@"
