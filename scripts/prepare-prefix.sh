#!/usr/bin/env bash
# Makes the Wine prefix and the Japanese locale inside a build folder.
# A ready prefix is left alone, so a second run costs nothing.
set -euo pipefail
build=$(cd "${1:?build folder}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)

if [ ! -f "$build/locale/ja_JP.UTF-8/LC_CTYPE" ]; then
  mkdir -p "$build/locale"
  localedef -i ja_JP -f UTF-8 "$build/locale/ja_JP.UTF-8" 2>/dev/null || true
fi

[ -f "$build/wineprefix/.prepared" ] && exit 0

source "$here/wine-env.sh" "$build"
mkdir -p "$HOME"
rm -rf "$WINEPREFIX"
echo "Creating Wine prefix in $WINEPREFIX"
wineboot -u </dev/null >/dev/null 2>&1 || true
wineserver -w
# Without a window manager Wine waits 2 s whenever a top-level window hides.
LC_ALL=C wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
  </dev/null >/dev/null 2>&1
wineserver -w
fonts="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fonts"
for f in marlett.ttf tahoma.ttf tahomabd.ttf; do
  [ -f "/usr/share/wine/fonts/$f" ] && cp "/usr/share/wine/fonts/$f" "$fonts/"
done
touch "$WINEPREFIX/.prepared"
