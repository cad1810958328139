# Sourced with the build folder as $1: the environment every Wine run of this
# project uses (its own prefix, Japanese code page, no Mono/Gecko prompts).
_build=$(cd "$1" && pwd)
export WINEPREFIX="$_build/wineprefix"
# A 64-bit build (see cmake/Wine.cmake) runs in a 64-bit prefix under the
# 64-bit loader, which its wine64-bin commands start directly.
if [ "$(cat "$_build/wine-arch" 2>/dev/null)" = win64 ]; then
  export WINEARCH=win64
  export WINELOADER=/usr/lib/wine/wine64
  export WINESERVER=/usr/lib/wine/wineserver64
  case ":$PATH:" in
    *":$_build/wine64-bin:"*) ;;
    *) export PATH="$_build/wine64-bin:$PATH" ;;
  esac
else
  export WINEARCH=win32
fi
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LOCPATH="$_build/locale"
# (bash warns that it cannot use the locale itself; Wine can, through LOCPATH.)
{ export LC_ALL=ja_JP.UTF-8; } 2>/dev/null
export HOME="$_build/home"
unset _build
