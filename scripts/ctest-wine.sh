#!/usr/bin/env bash
# Runs ctest in a build folder with a warm wineserver on a private Xvfb display.
# Usage: scripts/ctest-wine.sh BUILD [ctest arguments...]
set -uo pipefail
build=$(cd "${1:?build folder}" && pwd); shift
here=$(cd "$(dirname "$0")" && pwd)
"$here/prepare-prefix.sh" "$build"
source "$here/wine-env.sh" "$build"
export XVFB_SCREEN="${XVFB_SCREEN:-1024x768x24}"
# The wineserver is started before ctest so that it does not hold ctest's
# output pipe; it is killed at the end so no test leaves it behind.
exec xvfb-run -a -s "-screen 0 ${XVFB_SCREEN} -nolisten tcp" sh -c '
  cd "$0"
  # A wineserver left from an earlier run is bound to a display that is gone.
  wineserver -k >/dev/null 2>&1
  wineserver -p </dev/null >/dev/null 2>&1
  wine wineboot </dev/null >/dev/null 2>&1
  ctest "$@"; rc=$?
  wineserver -k >/dev/null 2>&1
  exit $rc' "$build" "$@"
