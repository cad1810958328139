#!/usr/bin/env bash
# ./run.sh against stand-ins for its helper scripts: a failed build, or a
# build that leaves no Pomelo.exe, must fail the run; a good build starts
# the game with the build folder.
set -uo pipefail
source_tree=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0

# One case: what the build stand-in does, the exit code run.sh must give
# (0 or "nonzero") and whether the game must have been started.
check() {   # name build-behaviour expected game-started
  local tree="$work/$1"
  mkdir -p "$tree/scripts"
  cp "$source_tree/run.sh" "$tree/"
  cp "$source_tree/scripts/choose-arch.sh" "$source_tree/scripts/runs-32bit.sh" "$tree/scripts/"
  printf '#!/usr/bin/env bash\nexit 0\n' >"$tree/scripts/install-deps.sh"
  printf '#!/usr/bin/env bash\n%s\n' "$2" >"$tree/scripts/build.sh"
  printf '#!/usr/bin/env bash\necho "$1" >"%s/game-started"\nexit 0\n' "$tree" >"$tree/scripts/run-game.sh"
  chmod +x "$tree"/scripts/*.sh "$tree/run.sh"
  (cd "$tree" && POMELO_ARCH=32 POMELO_BUILD=out ./run.sh) >"$tree/log" 2>&1
  local code=$?
  case "$3" in
    0) [ "$code" -eq 0 ] || { echo "FAIL $1: exit code $code, expected 0"; status=1; } ;;
    *) [ "$code" -ne 0 ] || { echo "FAIL $1: exit code 0, expected a failure"; status=1; } ;;
  esac
  if [ "$4" = yes ] && [ "$(cat "$tree/game-started" 2>/dev/null)" != out ]; then
    echo "FAIL $1: the game was not started with the build folder"; status=1
  fi
  if [ "$4" = no ] && [ -e "$tree/game-started" ]; then
    echo "FAIL $1: the game was started"; status=1
  fi
  [ "$status" -eq 0 ] || sed 's/^/  | /' "$tree/log"
}

check build-fails 'exit 2' nonzero no
check no-program 'mkdir -p "$1/bin"; exit 0' nonzero no
check built 'mkdir -p "$1/bin"; touch "$1/bin/Pomelo.exe"; exit 0' 0 yes

[ $status -eq 0 ] && echo "3 passed, 0 failed" || echo "failures above"
exit $status
