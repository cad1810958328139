#!/usr/bin/env bash
# The SDK as a module author uses it: the build is installed into a folder,
# the module of tests/sdk/outside-module is copied out of the tree and built
# against that folder alone, exactly as docs/module-guide.md shows, and the
# installed Pomelo.exe runs it from a game folder of its own. A project
# configured for the other processor is refused with a clear message.
# Usage: sdk-install.sh BUILD SOURCE
set -uo pipefail
build=$(cd "${1:?build folder}" && pwd)
source_dir=$(cd "${2:?source folder}" && pwd)
work="$build/sdk-check"
sdk="$work/sdk"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

rm -rf "$work"
mkdir -p "$work"
cmake --install "$build" --prefix "$sdk" >"$work/install.log" 2>&1 || { cat "$work/install.log"; exit 1; }
for file in bin/Pomelo.exe bin/KtLIB.dll bin/KtConfig.exe bin/KtMonitor.exe bin/ktpnm.spi \
            bin/libstdc++-6.dll include/KtVelka.h include/KtMessage.h include/KtVSurface.h \
            lib/libKtLIB.dll.a lib/cmake/PomeloSDK/PomeloSDKConfig.cmake; do
  [ -f "$sdk/$file" ] || fail "the SDK lacks $file"
done

cp -r "$source_dir/tests/sdk/outside-module" "$work/hello"
configure() {   # toolchain, build folder
  cmake -S "$work/hello" -B "$2" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$1" -DCMAKE_PREFIX_PATH="$sdk"
}
if configure "$sdk/lib/cmake/PomeloSDK/toolchain.cmake" "$work/hello-build" >"$work/configure.log" 2>&1 &&
   cmake --build "$work/hello-build" >"$work/build.log" 2>&1; then
  :
else
  cat "$work/configure.log" "$work/build.log" 2>/dev/null
  fail "the outside module did not build against the SDK"
fi

# The other processor's compiler: refused at configure time, saying why.
if [ "$(cat "$build/wine-arch")" = win64 ]; then other=i686-mingw.cmake; else other=x86_64-mingw.cmake; fi
if configure "$source_dir/cmake/$other" "$work/other-build" >"$work/other.log" 2>&1; then
  fail "a project for the other processor was accepted"
elif ! grep -q "this Pomelo SDK was built for" "$work/other.log"; then
  cat "$work/other.log"
  fail "the refusal does not say why"
fi

# A game folder: the module and a copy of the SDK's settings file naming it.
game="$work/game"
mkdir -p "$game"
cp "$work/hello-build/hello.dll" "$game/" 2>/dev/null || fail "no hello.dll"
LC_ALL=C sed -e 's/^scenario=.*/scenario=hello/' -e 's/^entry=.*/entry=hello/' \
  "$sdk/bin/Pomelo.ini" >"$game/Pomelo.ini"

source "$source_dir/scripts/wine-env.sh" "$build"
wine reg add 'HKCU\Software\Lumen\VELKA\Pomelo' /v setupMode /t REG_DWORD /d 1 /f >/dev/null 2>&1
(cd "$game" && timeout 60 wine "$sdk/bin/Pomelo.exe" </dev/null >/dev/null 2>&1)
rc=$?
[ $rc = 0 ] || fail "the installed Pomelo.exe ended with $rc"
said=$(iconv -f cp932 -t utf-8 "$game/hello.txt" 2>/dev/null)
[ "$said" = "こんにちは 2" ] || fail "hello.txt holds '$said', not both steps' word"

[ $failures = 0 ] && echo "the SDK builds an outside module that the installed Pomelo.exe runs"
exit $((failures > 0))
