#!/usr/bin/env bash
# Starts the game of a build under Wine, saves a screenshot, then closes it.
# Usage: scripts/run-game.sh BUILD [PROGRAM [WINDOW-CLASS]]
#   PROGRAM       executable in BUILD/bin (default Pomelo.exe)
#   WINDOW-CLASS  class of its top-level window (default desert_Pomelo)
# Environment: RUN_SECONDS (default 5) before the screenshot, SCREENSHOT
# (default BUILD/screenshots/PROGRAM-TIME.png), CLOSE_SECONDS (default 15)
# before an unanswered close turns into wineserver -k.
# With $DISPLAY set the game opens there and the player plays it to its
# end. Otherwise it runs on a private Xvfb: the sample game is played
# through by hogeplay.exe (scripted input from outside, as the tests do)
# and a contact sheet of its main scenes is saved as one PNG (CONTACT_SHEET,
# default BUILD/screenshots/PROGRAM-TIME-scenes.png); other programs, or
# PLAY=0, get one screenshot and are closed.
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

wine "$program" </dev/null &
game=$!

if [ -z "${RUN_GAME_ON_XVFB:-}" ]; then
  echo "run-game: $program is running on $DISPLAY; play it to its end"
  wait "$game"; rc=$?
  echo "run-game: $program ended, exit code $rc"
  exit $rc
fi

# Plays the sample game through and joins a picture of each main scene
# into one PNG. False when the play did not reach the end.
play_through() {
  [ "${PLAY:-1}" != 0 ] && [ "$program" = Pomelo.exe ] && [ -f hogeplay.exe ] || return 1
  local stamp shots sheet
  stamp=$(date +%Y%m%d-%H%M%S)
  shots="$build/screenshots/scenes-$stamp"
  sheet=${CONTACT_SHEET:-$build/screenshots/${program%.*}-$stamp-scenes.png}
  mkdir -p "$shots"
  local windows_shots
  windows_shots=$(winepath -w "$shots" 2>/dev/null)
  if [ -z "$windows_shots" ]; then
    # Without a folder hogeplay would play on and save nothing.
    echo "run-game: winepath cannot name $shots for Windows" >&2
    return 1
  fi
  if ! timeout 180 wine hogeplay.exe --shots "$windows_shots" </dev/null; then
    echo "run-game: the scripted play did not reach the end" >&2
    return 1
  fi
  local pictures=("$shots"/*.bmp)
  if montage -geometry 400x320+6+6 -tile 4x -background '#202020' \
       "${pictures[@]}" "$sheet"; then
    echo "contact sheet: $sheet"
  else
    echo "run-game: no contact sheet" >&2
    sheet_missing=1
  fi
  for ((i = 0; i < 150; i++)); do
    kill -0 "$game" 2>/dev/null || break
    sleep 0.1
  done
  return 0
}

sheet_missing=0
if play_through && ! kill -0 "$game" 2>/dev/null; then
  wait "$game"; rc=$?
  echo "run-game: $program played to its end, exit code $rc"
  [ "$sheet_missing" = 0 ] || exit 1
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
