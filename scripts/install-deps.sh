#!/usr/bin/env bash
# Installs the cross toolchains, Wine and the test tools when any is missing.
# Safe to run again: it does nothing when everything is already there.
# Both builds are served: the 32-bit one (i686 compiler, the 32-bit Wine) and
# the 64-bit one (x86_64 compiler, Wine's 64-bit loader from wine64).
#
# A package mirror in the middle of a sync is an ordinary day: an index that
# fails to download is retried, then left out with one line that names it.
# The 64-bit side must install (it fails at once, naming the packages); the
# 32-bit Wine may fail for any reason, and then the reason is written to
# POMELO_WINE32_NOTE (default .wine32-missing in the project folder), where
# scripts/choose-arch.sh finds it and falls back to the 64-bit build.
# POMELO_ARCH=64 leaves the 32-bit Wine out; POMELO_ARCH=32 makes its failure
# fatal. POMELO_APT_TRIES (default 3) and POMELO_APT_PAUSE (seconds, default
# 5) set how apt-get update is retried.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
note=${POMELO_WINE32_NOTE:-$here/../.wine32-missing}
tries=${POMELO_APT_TRIES:-3}
pause=${POMELO_APT_PAUSE:-5}
case "${POMELO_ARCH:-}" in
  32|64|"") ;;
  *) echo "POMELO_ARCH must be 32 or 64, not '$POMELO_ARCH'" >&2; exit 2 ;;
esac

packages=(g++-mingw-w64-i686 g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth
          fonts-ipafont-gothic fonts-wine googletest imagemagick xdotool cmake
          ninja-build locales libz-mingw-w64-dev clang libclang-rt-14-dev python3)
# The 32-bit Wine. On machines that run no 32-bit programs its packages still
# install, but some of their post-install scripts fail there; that must not
# stop the rest, which the 64-bit build needs.
packages_i386=(wine32:i386)
# python3 draws the icon and cursors and writes Pomelo.ini at build time.
# clang alone only recommends its run-time libraries; the fuzzing step needs
# libFuzzer and AddressSanitizer from libclang-rt-14-dev (Debian 12's clang 14).
# libz-mingw-w64-dev holds zlib for both compilers.

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}
# A package whose post-install script failed is left "half-configured";
# where 32-bit programs cannot run, that is as far as it gets.
unpacked() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q '^install ok '
}

runs_32bit=1
"$here/runs-32bit.sh" || runs_32bit=0
want_i386=1
[ "${POMELO_ARCH:-}" = 64 ] && want_i386=0

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
command -v i686-w64-mingw32-g++-posix >/dev/null 2>&1 || missing+=(g++-mingw-w64-i686)
missing_i386=()
if [ $want_i386 = 1 ]; then
  for p in "${packages_i386[@]}"; do
    if [ $runs_32bit = 1 ]; then installed "$p" || missing_i386+=("$p")
    else unpacked "$p" || missing_i386+=("$p")
    fi
  done
fi

if [ ${#missing[@]} -eq 0 ] && [ ${#missing_i386[@]} -eq 0 ]; then
  [ $want_i386 = 0 ] || rm -f "$note"
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]} ${missing_i386[*]} (run as root to install them)" >&2
  exit 1
fi

log=$(mktemp)
trap 'rm -f "$log"' EXIT

# apt-get update, tried again after a pause while any index fails. Whatever
# still fails is named in one line; what was fetched may well be enough.
update_indexes() {
  local attempt
  for ((attempt = 1; attempt <= tries; attempt++)); do
    if apt-get update -q >"$log" 2>&1; then
      cat "$log"
      return 0
    fi
    cat "$log"
    [ $attempt -lt $tries ] && sleep "$pause"
  done
  local failed
  failed=$(sed -n 's/^E: Failed to fetch \([^ ]*\).*/\1/p' "$log" | tr '\n' ' ')
  echo "install-deps: apt-get update failed $tries times${failed:+ for ${failed% }};" \
       "going on with the indexes that were fetched"
}

# The last error apt-get gave, for the one line that says why.
last_error() {
  local line
  line=$(grep '^E: ' "$log" | tail -n 1 | sed 's/^E: //')
  echo "${line:-apt-get exit $1}"
}

echo "Installing: ${missing[*]} ${missing_i386[*]}"
if [ ${#missing_i386[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
update_indexes

# The 64-bit side first, so that a failing i386 script cannot leave it
# half-configured. Nothing works without it: a failure here ends the run.
if [ ${#missing[@]} -gt 0 ]; then
  rc=0
  apt-get install -y -q --no-install-recommends "${missing[@]}" >"$log" 2>&1 || rc=$?
  cat "$log"
  if [ $rc -ne 0 ]; then
    still=()
    for p in "${missing[@]}"; do installed "$p" || still+=("$p"); done
    echo "install-deps: cannot install ${still[*]:-${missing[*]}}: $(last_error $rc)" >&2
    exit 1
  fi
fi

[ ${#missing_i386[@]} -eq 0 ] && { rm -f "$note"; exit 0; }

rc=0
apt-get install -y -q --no-install-recommends "${missing_i386[@]}" >"$log" 2>&1 || rc=$?
cat "$log"
if [ $rc -eq 0 ] && { [ $runs_32bit = 0 ] || installed wine32:i386; }; then
  rm -f "$note"
  exit 0
fi
if [ $runs_32bit = 0 ]; then
  reason="this machine runs no 32-bit programs"
else
  reason="apt-get could not install wine32:i386: $(last_error $rc)"
fi
echo "$reason" >"$note"
if [ "${POMELO_ARCH:-}" = 32 ]; then
  echo "install-deps: POMELO_ARCH=32 needs the 32-bit Wine, and $reason" >&2
  exit 1
fi
echo "install-deps: the 32-bit Wine cannot be set up ($reason); the 64-bit build does not need it" >&2
# Settles whatever can be settled, so later apt-get runs are not refused.
dpkg --configure -a || true
for p in wine wine64; do
  installed "$p" || { echo "install-deps: $p is not configured" >&2; exit 1; }
done
