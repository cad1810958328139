# Sourced with the build folder as $1: the environment every Wine run of this
# project uses (its own prefix, Japanese code page, no Mono/Gecko prompts).
_build=$(cd "$1" && pwd)
export WINEPREFIX="$_build/wineprefix"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LOCPATH="$_build/locale"
# (bash warns that it cannot use the locale itself; Wine can, through LOCPATH.)
{ export LC_ALL=ja_JP.UTF-8; } 2>/dev/null
export HOME="$_build/home"
unset _build
