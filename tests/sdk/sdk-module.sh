#!/usr/bin/env bash
# The installed SDK as a module author outside the tree uses it: the build
# is installed with cmake --install and the folder moved elsewhere; a module
# from a folder of its own (outside-module/) is configured and built against
# it as docs/module-guide.md shows, put beside the installed Pomelo.exe with
# a Pomelo.ini naming it, and run there. A project configured with the other
# architecture's compiler must be refused with a message saying what to do.
# Usage: sdk-module.sh BUILD   (under scripts/ctest-wine.sh, which runs the wineserver)
set -uo pipefail
build=$(cd "${1:?build folder}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
tree=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }
show() { sed 's/^/  | /' "$1"; }

# The SDK: installed, then moved, so nothing may point at where it was made.
if ! cmake --install "$build" --prefix "$work/installed" >"$work/install.log" 2>&1; then
  fail "cmake --install"; show "$work/install.log"; exit 1
fi
mv "$work/installed" "$work/sdk"
sdk=$work/sdk
cp -r "$here/outside-module" "$work/src"

if ! { cmake -S "$work/src" -B "$work/out" -G Ninja -DCMAKE_PREFIX_PATH="$sdk" \
         -DCMAKE_TOOLCHAIN_FILE="$sdk/lib/cmake/PomeloSDK/toolchain.cmake" &&
       cmake --build "$work/out"; } >"$work/module.log" 2>&1; then
  fail "building the outside module"; show "$work/module.log"; exit 1
fi

# The other architecture's compiler, where it is installed.
if [ "$(cat "$build/wine-arch")" = win64 ]; then
  other=i686; bits=64; other_bits=32
else
  other=x86_64; bits=32; other_bits=64
fi
if command -v "$other-w64-mingw32-g++-posix" >/dev/null; then
  if cmake -S "$work/src" -B "$work/other" -G Ninja -DCMAKE_PREFIX_PATH="$sdk" \
       -DCMAKE_TOOLCHAIN_FILE="$tree/cmake/$other-mingw.cmake" >"$work/other.log" 2>&1; then
    fail "a $other compiler was accepted by the $bits-bit SDK"
  elif ! tr -s ' \n' ' ' <"$work/other.log" |
         grep -q "for its $bits-bit Pomelo.exe.*builds $other_bits-bit programs.*-DCMAKE_TOOLCHAIN_FILE=$sdk/lib/cmake/PomeloSDK/toolchain.cmake"; then
    fail "the $other compiler was refused without the expected message"; show "$work/other.log"
  fi
else
  echo "no $other compiler here: the refusal of the other architecture is not checked"
fi

# Beside the installed Pomelo.exe, named by the sample Pomelo.ini edited as
# the guide says. The product counts as set up, or the setup tool would open.
cp "$work/out/outside.dll" "$sdk/bin/"
sed -i 's/^scenario=hoge/scenario=outside/' "$sdk/bin/Pomelo.ini"
source "$tree/scripts/wine-env.sh" "$build"
wine reg add 'HKCU\Software\Lumen\VELKA\Pomelo' /v setupMode /t REG_DWORD /d 1 /f \
  </dev/null >/dev/null 2>&1
(cd "$sdk/bin" && exec timeout -k 5 60 wine Pomelo.exe) </dev/null >"$work/game.log" 2>&1
code=$?
case $code in
  0) ;;
  124|137) fail "Pomelo.exe did not end within 60 s (a box may be waiting)" ;;
  *) fail "Pomelo.exe ended with exit code $code" ;;
esac
expected="steps=3 runtime=host diagnostic=caught text=外のモジュール"
got=$(iconv -f cp932 -t utf-8 "$sdk/bin/outside-module.txt" 2>/dev/null | tr -d '\r')
[ "$got" = "$expected" ] || fail "the module wrote '$got', expected '$expected'"

[ $status -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $status
