#!/usr/bin/env bash
# Installs the cross toolchains, Wine and the test tools when any is missing.
# Safe to run again: it does nothing when everything is already there.
# Both builds are served: the 32-bit one (i686 compiler, the 32-bit Wine) and
# the 64-bit one (x86_64 compiler, Wine's 64-bit loader from wine64).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

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

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
command -v i686-w64-mingw32-g++-posix >/dev/null 2>&1 || missing+=(g++-mingw-w64-i686)
missing_i386=()
for p in "${packages_i386[@]}"; do
  if [ $runs_32bit = 1 ]; then installed "$p" || missing_i386+=("$p")
  else unpacked "$p" || missing_i386+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ] && [ ${#missing_i386[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]} ${missing_i386[*]} (run as root to install them)" >&2
  exit 1
fi

echo "Installing: ${missing[*]} ${missing_i386[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
# The 64-bit side first, so that a failing i386 script cannot leave it
# half-configured.
apt-get install -y -q --no-install-recommends "${packages[@]}"
if [ $runs_32bit = 1 ]; then
  apt-get install -y -q --no-install-recommends "${packages_i386[@]}"
elif ! apt-get install -y -q --no-install-recommends "${packages_i386[@]}"; then
  echo "install-deps: the 32-bit Wine cannot be set up on this machine (it runs no 32-bit" \
       "programs); the 64-bit build does not need it" >&2
  # Settles whatever can be settled, so later apt-get runs are not refused.
  dpkg --configure -a || true
  for p in wine wine64; do
    installed "$p" || { echo "install-deps: $p is not configured" >&2; exit 1; }
  done
fi
