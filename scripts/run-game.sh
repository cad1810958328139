#!/usr/bin/env bash
# Starts the game of a build under Wine, saves a screenshot, then closes it.
# Usage: scripts/run-game.sh BUILD [PROGRAM [WINDOW-CLASS]]
#   PROGRAM       executable in BUILD/bin (default Pomelo.exe)
#   WINDOW-CLASS  class of its top-level window (default desert_Pomelo)
# Environment: RUN_SECONDS (default 5) before the screenshot, SCREENSHOT
# (default BUILD/screenshots/PROGRAM-TIME.png), CLOSE_SECONDS (default 15)
# before an unanswered close turns into wineserver -k.
# With $DISPLAY set the game opens there and the player plays it to its
# end. Otherwise it runs on a private Xvfb: KtPlay.exe starts the sample
# game and plays it through by its play script (scenario/hoge/hoge.play,
# scripted input from outside), and a contact sheet of every scene is saved
# as one PNG (CONTACT_SHEET, default BUILD/screenshots/PROGRAM-TIME-scenes.png);
# other programs, or PLAY=0, get one screenshot and are closed.
# The only thing written into the prefix is the setup tool's defaults, and
# only when the product has never been set up.
set -uo pipefail
build=$(cd "${1:?usage: run-game.sh BUILD [PROGRAM [WINDOW-CLASS]]}" && pwd)
program=${2:-Pomelo.exe}
window_class=${3:-desert_Pomelo}
here=$(cd "$(dirname "$0")" && pwd)
bin="$build/bin"
product_key='HKCU\Software\Lumen\VELKA\Pomelo'

if [ ! -f "$bin/$program" ]; then
  echo "run-game: $bin/$program does not exist" >&2
  exit 1
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${RUN_GAME_ON_XVFB:-}" ]; then
  "$here/prepare-prefix.sh" "$build" || exit 1
  RUN_GAME_ON_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" "$@"
fi
[ -n "${RUN_GAME_ON_XVFB:-}" ] || "$here/prepare-prefix.sh" "$build" || exit 1
source "$here/wine-env.sh" "$build"
cd "$bin"

if [ -n "${RUN_GAME_ON_XVFB:-}" ]; then
  # Our own display: start the server for it and remove it at the end.
  wineserver -p </dev/null >/dev/null 2>&1
  trap 'wineserver -k >/dev/null 2>&1' EXIT
fi
wine wineboot </dev/null >/dev/null 2>&1

if ! LC_ALL=C wine reg query "$product_key" /v setupMode </dev/null 2>/dev/null | grep -q setupMode; then
  echo "run-game: first run, writing the setup defaults"
  wine KtConfig.exe /auto </dev/null || echo "run-game: KtConfig.exe /auto failed" >&2
fi

# Plays the sample game through with KtPlay.exe, which starts it, and turns
# its contact sheet into one PNG. Returns KtPlay's exit code, 3 when there
# is nothing to play here.
play_through() {
  [ "${PLAY:-1}" != 0 ] && [ "$program" = Pomelo.exe ] && [ -f KtPlay.exe ] || return 3
  local stamp shots sheet script windows_shots windows_script
  stamp=$(date +%Y%m%d-%H%M%S)
  shots="$build/screenshots/scenes-$stamp"
  sheet=${CONTACT_SHEET:-$build/screenshots/${program%.*}-$stamp-scenes.png}
  script="$here/../scenario/hoge/hoge.play"
  mkdir -p "$shots"
  windows_shots=$(winepath -w "$shots" 2>/dev/null)
  windows_script=$(winepath -w "$script" 2>/dev/null)
  if [ -z "$windows_shots" ] || [ -z "$windows_script" ]; then
    echo "run-game: winepath cannot name $shots or $script for Windows" >&2
    return 1
  fi
  timeout -k 10 240 wine KtPlay.exe --shots "$windows_shots" --sheet "$windows_shots\\sheet.bmp" \
    "$windows_script" </dev/null | iconv -f cp932 -t utf-8
  local rc=${PIPESTATUS[0]}
  if [ -f "$shots/sheet.bmp" ] && convert "$shots/sheet.bmp" "$sheet"; then
    echo "contact sheet: $sheet"
  else
    echo "run-game: no contact sheet" >&2
    [ "$rc" != 0 ] || rc=1
  fi
  if [ "$rc" != 0 ]; then
    echo "run-game: the scripted play did not reach the end (KtPlay exit code $rc)" >&2
  else
    echo "run-game: $program played to its end by its play script"
  fi
  return "$rc"
}

if [ -n "${RUN_GAME_ON_XVFB:-}" ]; then
  play_through; rc=$?
  [ "$rc" = 3 ] || exit "$rc"
fi

wine "$program" </dev/null &
game=$!

if [ -z "${RUN_GAME_ON_XVFB:-}" ]; then
  echo "run-game: $program is running on $DISPLAY; play it to its end"
  wait "$game"; rc=$?
  echo "run-game: $program ended, exit code $rc"
  exit $rc
fi

# Wait for the game to show itself, stopping early if it has ended.
for ((i = 0; i < ${RUN_SECONDS:-5} * 10; i++)); do
  kill -0 "$game" 2>/dev/null || break
  sleep 0.1
done

mkdir -p "$build/screenshots"
shot=${SCREENSHOT:-$build/screenshots/${program%.*}-$(date +%Y%m%d-%H%M%S).png}
if import -window root "$shot"; then
  echo "screenshot: $shot"
else
  echo "run-game: no screenshot" >&2
fi

# Closes the game as the user's close command would, then answers whatever
# box it raises: Yes to a confirmation, else OK.
close_orderly() {
  local deadline=$((SECONDS + ${CLOSE_SECONDS:-15}))
  if [ ! -f boxdriver.exe ]; then
    echo "run-game: boxdriver.exe not built (tests off); cannot close in order" >&2
    return 1
  fi
  wine boxdriver.exe --class "$window_class" --close --timeout 1000 </dev/null >/dev/null 2>&1
  while kill -0 "$game" 2>/dev/null && [ $SECONDS -lt $deadline ]; do
    local report
    report=$(wine boxdriver.exe --button 6 --timeout 500 </dev/null 2>/dev/null)
    if [ $? -eq 2 ]; then
      report=$(wine boxdriver.exe --button 1 --timeout 500 </dev/null 2>/dev/null)
    fi
    [ -n "$report" ] && printf 'run-game: answered a box:\n%s\n' "$report" | iconv -f cp932 -t utf-8
  done
  ! kill -0 "$game" 2>/dev/null
}

if kill -0 "$game" 2>/dev/null; then
  if close_orderly; then
    wait "$game"; rc=$?
    echo "run-game: $program closed, exit code $rc"
  else
    echo "run-game: $program did not close in time; stopping Wine" >&2
    wineserver -k >/dev/null 2>&1
    wait "$game" 2>/dev/null
    rc=1
  fi
else
  wait "$game"; rc=$?
  echo "run-game: $program had already ended, exit code $rc"
fi
exit $rc
