#!/usr/bin/env bash
# The SDK as a module author uses it: the build is installed into a folder,
# which is then moved (nothing in it may point at where it was made); the
# module of tests/sdk/outside-module is copied out of the tree and built
# against that folder alone, exactly as docs/module-guide.md shows; the
# installed Pomelo.exe runs it both ways the guide gives, from a game folder
# of its own and beside Pomelo.exe. A project configured for the other
# processor is refused with a message that says what to do.
# Usage: sdk-install.sh BUILD SOURCE   (under scripts/ctest-wine.sh)
set -uo pipefail
build=$(cd "${1:?build folder}" && pwd)
source_dir=$(cd "${2:?source folder}" && pwd)
# In the build folder, not the system's temporary one, which may be mounted
# without the right to run programs from it.
work=$(mktemp -d "$build/sdk-check.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
show() { sed 's/^/  | /' "$@" 2>/dev/null; }

cmake --install "$build" --prefix "$work/installed" >"$work/install.log" 2>&1 ||
  { show "$work/install.log"; echo "FAIL: cmake --install"; exit 1; }
mv "$work/installed" "$work/sdk"
sdk="$work/sdk"
for file in bin/Pomelo.exe bin/KtLIB.dll bin/KtConfig.exe bin/KtMonitor.exe bin/KtPlay.exe bin/hoge.play bin/ktimage.exe \
            bin/ktpnm.spi bin/libstdc++-6.dll bin/Pomelo.ini bin/hoge.dll \
            include/Pomelo/KtVelka.h include/Pomelo/KtMessage.h include/Pomelo/KtVSurface.h \
            include/Pomelo/resource.h lib/libKtLIB.dll.a lib/cmake/PomeloSDK/PomeloSDKConfig.cmake \
            lib/cmake/PomeloSDK/toolchain.cmake; do
  [ -f "$sdk/$file" ] || fail "the SDK lacks $file"
done

cp -r "$source_dir/tests/sdk/outside-module" "$work/hello"
configure() {   # toolchain, build folder
  cmake -S "$work/hello" -B "$2" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$1" -DCMAKE_PREFIX_PATH="$sdk"
}
if ! { configure "$sdk/lib/cmake/PomeloSDK/toolchain.cmake" "$work/hello-build" &&
       cmake --build "$work/hello-build"; } >"$work/build.log" 2>&1; then
  show "$work/build.log"
  fail "the outside module did not build against the SDK"; exit 1
fi

# The other processor's compiler: refused at configure time, saying why and
# which toolchain file to use.
if [ "$(cat "$build/wine-arch")" = win64 ]; then
  other=i686; bits=64; other_bits=32
else
  other=x86_64; bits=32; other_bits=64
fi
if configure "$source_dir/cmake/$other-mingw.cmake" "$work/other-build" >"$work/other.log" 2>&1; then
  fail "a project for the other processor was accepted"
elif ! tr -s ' \n' ' ' <"$work/other.log" |
       grep -q "for its $bits-bit Pomelo.exe.*builds $other_bits-bit programs.*-DCMAKE_TOOLCHAIN_FILE=$sdk/lib/cmake/PomeloSDK/toolchain.cmake"; then
  show "$work/other.log"
  fail "the refusal does not say why or what to do"
fi

# One run of the installed Pomelo.exe: it must end by itself with exit code
# 0 and the module must have written what it found. The product counts as
# set up, or the setup tool would open first.
source "$source_dir/scripts/wine-env.sh" "$build"
wine reg add 'HKCU\Software\Lumen\VELKA\Pomelo' /v setupMode /t REG_DWORD /d 1 /f \
  </dev/null >/dev/null 2>&1
run_game() {   # what, folder to start in, program
  rm -f "$2/hello.txt"
  (cd "$2" && exec timeout -k 5 60 wine "$3") </dev/null >/dev/null 2>&1
  local rc=$?
  case $rc in
    0) ;;
    124|137) fail "$1: Pomelo.exe did not end within 60 s (a box may be waiting)" ;;
    *) fail "$1: the installed Pomelo.exe ended with $rc" ;;
  esac
  local said
  said=$(iconv -f cp932 -t utf-8 "$2/hello.txt" 2>/dev/null)
  [ "$said" = "こんにちは 2 runtime=host diagnostic=caught" ] ||
    fail "$1: hello.txt holds '$said'"
}

# A game folder: the module and a copy of the SDK's settings file naming it
# and its entry (the file is Shift-JIS; only ASCII is replaced).
game="$work/game"
mkdir -p "$game"
cp "$work/hello-build/hello.dll" "$game/"
LC_ALL=C sed -e 's/^scenario=hoge/scenario=hello/' -e 's/^entry=hege/entry=hello/' \
  "$sdk/bin/Pomelo.ini" >"$game/Pomelo.ini"
run_game "game folder" "$game" "$sdk/bin/Pomelo.exe"

# Beside Pomelo.exe, with the SDK's own settings file edited in place.
cp "$work/hello-build/hello.dll" "$sdk/bin/"
LC_ALL=C sed -i -e 's/^scenario=hoge/scenario=hello/' -e 's/^entry=hege/entry=hello/' \
  "$sdk/bin/Pomelo.ini"
run_game "beside Pomelo.exe" "$sdk/bin" Pomelo.exe

# Played by the installed KtPlay.exe from a short script: it starts the
# game in its folder and expects its end. A bad script is refused with its
# line before anything starts.
printf '# the module ends by itself\nexit 0 60s\n' >"$game/hello.play"
printf 'exit 0\nwait\n' >"$game/bad.play"
rm -f "$game/hello.txt"
played=$(cd "$game" && timeout -k 5 90 wine "$sdk/bin/KtPlay.exe" --game . hello.play </dev/null 2>&1)
rc=$?
[ $rc = 0 ] || { echo "$played" | show; fail "KtPlay.exe played the outside module with exit code $rc"; }
[ "$(iconv -f cp932 -t utf-8 "$game/hello.txt" 2>/dev/null)" = "こんにちは 2 runtime=host diagnostic=caught" ] ||
  fail "KtPlay.exe: the module did not run"
refused=$(cd "$game" && timeout -k 5 30 wine "$sdk/bin/KtPlay.exe" bad.play </dev/null 2>&1)
rc=$?
[ $rc = 2 ] && echo "$refused" | grep -q 'line 2: wait: missing argument: time' ||
  { echo "$refused" | show; fail "KtPlay.exe took a bad script (exit code $rc)"; }

[ $failures = 0 ] && echo "the SDK builds an outside module that the installed Pomelo.exe runs"
exit $((failures > 0))
