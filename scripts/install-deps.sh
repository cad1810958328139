#!/usr/bin/env bash
# Installs the cross toolchain, Wine and the test tools when any is missing.
# Safe to run again: it does nothing when everything is already there.
set -euo pipefail

packages=(g++-mingw-w64-i686 wine wine32:i386 xvfb xauth fonts-ipafont-gothic
          fonts-wine googletest imagemagick xdotool cmake ninja-build locales
          libz-mingw-w64-dev clang libclang-rt-14-dev python3)
# python3 draws the icon and cursors and writes Pomelo.ini at build time.
# clang alone only recommends its run-time libraries; the fuzzing step needs
# libFuzzer and AddressSanitizer from libclang-rt-14-dev (Debian 12's clang 14).

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
command -v i686-w64-mingw32-g++-posix >/dev/null 2>&1 || missing+=(g++-mingw-w64-i686)

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]} (run as root to install them)" >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${packages[@]}"
