#!/usr/bin/env bash
# Pomelo.exe switches the display to the configured mode and back, inside a
# Wine virtual desktop (where mode changes work; plain Xvfb refuses them):
# after an orderly end, after a module that faults, and not at all when no
# mode is configured. Runs on an Xvfb of its own with a copy of the build's
# Wine prefix, since one wineserver serves one display.
#
# Wine sometimes leaves a program started into a virtual desktop hanging, so
# every step has a time limit, a whole attempt has one (about three times
# what a run takes: a hung attempt is given up early), and a failed attempt
# is tried again, three attempts in all. Exit codes: 0 passed, 1 failed, 77 skipped (printed
# with its reason) when the virtual desktop itself did not start, or when
# Wine left the run hanging in every attempt: a hang says nothing about the
# display modes, while a wrong mode before, during or after a run fails.
set -uo pipefail
build=$(cd "${1:?build folder}" && pwd)
attempt_seconds=${SCREEN_MODE_ATTEMPT_SECONDS:-150}
attempts=3
source "$(dirname "$0")/../../scripts/wine-env.sh" "$build"
prefix="$build/wineprefix-modes"
export BUILD="$build"
desktop_missing=77

inside() {
  cd "$BUILD/bin"
  wineserver -p </dev/null >/dev/null 2>&1
  timeout 60 wine wineboot </dev/null >/dev/null 2>&1
  desktop="explorer /desktop=pomelo-modes,1024x768"
  status=0
  setmode() {   # width height depth; one import instead of a start of reg.exe per value
    {
      printf 'Windows Registry Editor Version 5.00\r\n\r\n'
      printf '[HKEY_CURRENT_USER\\Software\\Lumen\\VELKA\\Pomelo]\r\n'
      printf '"setupMode"=dword:%08x\r\n"frameMode"=dword:%08x\r\n' 1 0
      printf '"screenWidth"=dword:%08x\r\n"screenHeight"=dword:%08x\r\n' "$1" "$2"
      printf '"screenDepth"=dword:%08x\r\n' "$3"
    } >modes.reg
    # A settings change that did not arrive would look like a program that
    # ignores them: say so, and try once more.
    timeout 30 wine reg import modes.reg >/dev/null 2>&1 && return 0
    echo "$1x$2x$3: the settings import failed; once more"
    timeout 30 wine reg import modes.reg >/dev/null 2>&1
  }
  # A program started into the desktop may still be running when the
  # launcher returns: wait for the probe's file.
  probe() {
    rm -f probe.txt
    timeout 20 wine $desktop displayprobe.exe probe.txt >/dev/null 2>&1
    for _ in $(seq 1 50); do [ -s probe.txt ] && break; sleep 0.1; done
    cat probe.txt 2>/dev/null
  }
  # Waits until the display reads as expected (first two fields), at most
  # 40 s. Returns 1 for a display that reads otherwise, 2 when the desktop
  # stopped answering at all (a hang of Wine's, not of the program's).
  await() {
    got=""
    local deadline=$((SECONDS + 40))
    while [ $SECONDS -lt $deadline ]; do
      got=$(probe); case "$got" in "$1 $2 "*) echo "$got"; return 0;; esac; sleep 0.5
    done
    echo "$got"
    [ -n "$got" ] && return 1
    return 2
  }
  # Ends the attempt as hung when the desktop no longer answers.
  answering() {
    [ "$1" -ne 2 ] && return 0
    echo "the virtual desktop stopped answering"
    timeout 20 wineserver -k >/dev/null 2>&1
    exit 124
  }
  # The launcher may return before the game's own process has ended; a game
  # still closing would take the next start for a second instance and end it.
  gone() {
    for _ in $(seq 1 200); do pgrep -f '^([A-Za-z]:\\[^ ]*\\)?Pomelo\.exe' >/dev/null || return 0; sleep 0.1; done
    return 1
  }
  # Waits at most $2 tenths of a second for the process to end.
  ended() {
    for _ in $(seq 1 "$2"); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
    return 1
  }
  # name width height depth expected-during-width expected-during-height how-it-ends [folder]
  check() {
    setmode "$2" "$3" "$4"
    await 1024 768 >/dev/null; answering $?
    (cd "${8:-.}" && exec wine $desktop "$program") >/dev/null 2>&1 & game=$!
    during=$(await "$5" "$6"); rc=$?
    answering $rc
    [ $rc -eq 0 ] || { echo "FAIL $1: display during the run: $during"; status=1; }
    echo "$1: during the run $during"
    if [ "$4" -ne 0 ] && [ "${during##* }" != "$4" ]; then
      # Wine's virtual desktop keeps its own depth: the size changes, the
      # depth does not. On Windows the depth changes too.
      echo "$1: wine keeps depth ${during##* } instead of $4 (known Wine difference)"
    fi
    if [ "$7" = close ]; then
      timeout 30 wine $desktop boxdriver.exe --class desert_Pomelo --close --timeout 20000 \
        >/dev/null 2>&1
    fi
    if ! ended $game 400 || ! gone; then
      echo "FAIL $1: the game did not end"; status=1; kill $game
    fi
    after=$(await 1024 768); rc=$?
    answering $rc
    [ $rc -eq 0 ] || { echo "FAIL $1: display after the run: $after"; status=1; }
    echo "$1: after the run $after"
  }

  # The desktop itself: without it there is nothing to check.
  if [ -z "$(probe)" ]; then
    echo "SKIP: the Wine virtual desktop did not start"
    timeout 20 wineserver -k >/dev/null 2>&1
    return $desktop_missing
  fi
  program=$(winepath -w "$BUILD/bin/Pomelo.exe" 2>/dev/null)
  check "800x600x16" 800 600 16 800 600 close
  check "no mode configured" 0 0 0 1024 768 close
  # A module that faults a few seconds into the run (it gives up waiting
  # for a go-ahead that nobody sends here).
  mkdir -p run-modes-fault
  printf '[ＰＯＭＥＬＯ]\r\nscenario=misbehave\r\nentry=fault\r\n' | iconv -f utf-8 -t cp932 \
    >run-modes-fault/Pomelo.ini
  check "fault at 800x600" 800 600 16 800 600 fault run-modes-fault
  timeout 20 wineserver -k >/dev/null 2>&1
  return $status
}

attempt() {
  rm -rf "$prefix"
  cp -a "$build/wineprefix" "$prefix"
  WINEPREFIX="$prefix" BUILD="$build" desktop_missing=$desktop_missing \
    timeout -k 10 "$attempt_seconds" \
    xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash -c "$(declare -f inside); inside"
  local rc=$?
  # Whatever an attempt that ran out of time left behind.
  WINEPREFIX="$prefix" timeout 20 wineserver -k >/dev/null 2>&1
  rm -rf "$prefix"
  [ $rc -eq 124 ] && echo "attempt ran out of its $attempt_seconds seconds"
  return $rc
}

rc=1
hangs=0
for try in $(seq 1 $attempts); do
  echo "attempt $try"
  attempt
  rc=$?
  case $rc in 124|137) hangs=$((hangs + 1)) ;; esac
  [ $rc -eq 0 ] && break
done
[ $hangs -eq $attempts ] && rc=hung
case $rc in
  0) echo "1 passed, 0 failed" ;;
  "$desktop_missing") echo "skipped: the Wine virtual desktop did not start in any attempt" ;;
  hung) echo "skipped: Wine left the run hanging in the virtual desktop in every attempt"; rc=$desktop_missing ;;
  *) echo "0 passed, 1 failed" ; rc=1 ;;
esac
exit $rc
