#!/usr/bin/env bash
# Which build ./test.sh and ./run.sh choose, for every answer of the probe and
# every forced setting; that a build folder keeps its kind; and that a
# folder's Wine environment matches its kind.
# Usage: tests/scripts/arch-choice.sh SOURCE_DIR
set -uo pipefail
root=$(cd "${1:?source folder}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The probe's forced answers are its exit codes; unforced it answers 0 or 1.
for row in "1 0" "0 1" "maybe 2"; do
  set -- $row
  POMELO_RUNS_32BIT=$1 "$root/scripts/runs-32bit.sh" 2>/dev/null; rc=$?
  [ $rc = "$2" ] || fail "runs-32bit.sh with POMELO_RUNS_32BIT=$1: exit $rc, expected $2"
done
env -u POMELO_RUNS_32BIT "$root/scripts/runs-32bit.sh"; rc=$?
[ $rc -le 1 ] || fail "runs-32bit.sh asking the machine: exit $rc"

# Whether the 32-bit Wine is installed is asked of dpkg-query: a stand-in
# answers from WINE32_INSTALLED, and the install step's note gives the reason.
mkdir -p "$work/bin"
printf '#!/bin/sh\n[ "$WINE32_INSTALLED" = yes ] && printf "install ok installed"\n' >"$work/bin/dpkg-query"
chmod +x "$work/bin/dpkg-query"
echo "the mirror said no" >"$work/note"

# POMELO_ARCH  POMELO_RUNS_32BIT  POMELO_BUILD  32-bit Wine  ->  arch  folder  line printed (- for none)
choices=(
  "-  1  -  yes 32 build   -"
  "-  1  -  no  64 build64 the 32-bit Wine is not installed (the mirror said no): testing the 64-bit build"
  "-  0  -  yes 64 build64 this machine runs no 32-bit programs: testing the 64-bit build"
  "32 0  -  no  32 build   POMELO_ARCH=32: testing the 32-bit build"
  "64 1  -  yes 64 build64 POMELO_ARCH=64: testing the 64-bit build"
  "-  0  b9 no  64 b9      this machine runs no 32-bit programs: testing the 64-bit build"
)
for row in "${choices[@]}"; do
  read -r arch runs folder wine32 want_arch want_build want_line <<<"$row"
  [ "$arch" = - ] && arch=
  [ "$folder" = - ] && folder=
  out=$(cd "$work" && env -u POMELO_ARCH -u POMELO_BUILD ${arch:+POMELO_ARCH=$arch} \
        ${folder:+POMELO_BUILD=$folder} POMELO_RUNS_32BIT=$runs PATH="$work/bin:$PATH" \
        WINE32_INSTALLED=$wine32 POMELO_WINE32_NOTE="$work/note" bash -c \
        'source "$0/scripts/choose-arch.sh" testing; echo "=> $POMELO_ARCH $build"' "$root" 2>&1)
  line=$(printf '%s\n' "$out" | grep -v '^=> ' || true)
  got=$(printf '%s\n' "$out" | grep '^=> ' || true)
  [ "$got" = "=> $want_arch $want_build" ] ||
    fail "POMELO_ARCH='$arch' probe=$runs POMELO_BUILD='$folder': got '$got', expected '=> $want_arch $want_build'"
  [ "$want_line" = - ] && want_line=
  [ "$line" = "$want_line" ] || fail "POMELO_ARCH='$arch' probe=$runs: said '$line', expected '$want_line'"
done

# A setting that is neither 32 nor 64 stops the run (the callers use set -e)
# instead of guessing.
for bad in "POMELO_ARCH=86" "POMELO_RUNS_32BIT=yes"; do
  (cd "$work" && env -u POMELO_ARCH $bad bash -c \
     'set -e; source "$0/scripts/choose-arch.sh" testing; echo chosen' "$root" >"$work/out" 2>&1); rc=$?
  [ $rc = 2 ] && ! grep -q chosen "$work/out" || fail "$bad: exit $rc, expected 2 before any choice"
done

# A configured folder keeps its kind: asking it for the other one fails
# before anything is configured or built.
for row in "win32 64" "win64 32"; do
  set -- $row
  folder="$work/folder-$1"
  mkdir -p "$folder"
  : >"$folder/build.ninja"
  echo "$1" >"$folder/wine-arch"
  POMELO_ARCH=$2 "$root/scripts/build.sh" "$folder" >"$work/out" 2>&1; rc=$?
  [ $rc = 2 ] || fail "build.sh for the $2-bit build in a $1 folder: exit $rc, expected 2"
  [ ! -d "$folder/CMakeFiles" ] || fail "build.sh configured a $1 folder as the $2-bit build"
done

# The Wine environment of a folder follows its kind: a 64-bit folder reaches
# the 64-bit loader through its own commands, ahead of the system's wine.
for row in "win32 win32 /usr/bin" "win64 win64 WINE64BIN"; do
  set -- $row
  folder="$work/env-$1"
  mkdir -p "$folder/wine64-bin"
  echo "$1" >"$folder/wine-arch"
  [ "$1" = win64 ] && printf '#!/bin/sh\n' >"$folder/wine64-bin/wine" && chmod +x "$folder/wine64-bin/wine"
  got=$(PATH=/usr/bin:/bin bash -c 'source "$0/scripts/wine-env.sh" "$1"; echo "$WINEARCH $(dirname "$(command -v wine)")"' \
        "$root" "$folder")
  want="$2 ${3/WINE64BIN/$folder/wine64-bin}"
  [ "$got" = "$want" ] || fail "wine-env.sh for a $1 folder: got '$got', expected '$want'"
done

[ $failures = 0 ] && echo "all build choices as expected"
exit $((failures > 0))
