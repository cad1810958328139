#!/usr/bin/env bash
# Pomelo.exe on a real 256-colour display: the two colour boxes at start,
# shown again after OK, and Cancel ending the program with exit code 0.
# Runs on an 8-bit Xvfb of its own with a copy of the build's Wine prefix,
# since one wineserver serves one display.
set -uo pipefail
build=$(cd "${1:?build folder}" && pwd)
source "$(dirname "$0")/../../scripts/wine-env.sh" "$build"
prefix="$build/wineprefix-8bit"
rm -rf "$prefix"
cp -a "$build/wineprefix" "$prefix"
export WINEPREFIX="$prefix"

run() {
  cd "$build/bin"
  wineserver -p </dev/null >/dev/null 2>&1
  wine wineboot </dev/null >/dev/null 2>&1
  wine reg add 'HKCU\Software\Lumen\VELKA\Pomelo' /v setupMode /t REG_DWORD /d 1 /f >/dev/null 2>&1
  wine Pomelo.exe & game=$!
  status=0
  expect() {   # caption text button
    out=$(wine boxdriver.exe --caption "$1" --button "$3" --timeout 15000 | iconv -f cp932 -t utf-8)
    echo "$out"
    echo "$out" | grep -qF "text=$2" || { echo "FAIL: expected box text '$2'"; status=1; }
    echo "$out" | grep -qx "owner-class=desert_Pomelo" || { echo "FAIL: box not owned by the game window"; status=1; }
  }
  first='システムが、２５６色以下のモードで動作しています'
  second='このゲームは、ハイカラー以上を前提に作られています。'
  expect 'system information' "$first" 1
  expect 'system information' "$second" 1
  expect 'system information' "$first" 1
  expect 'system information' "$second" 2
  wait $game; code=$?
  [ "$code" -eq 0 ] || { echo "FAIL: exit code $code after Cancel"; status=1; }
  wineserver -k >/dev/null 2>&1
  return $status
}


xvfb-run -a -s "-screen 0 1024x768x8 -nolisten tcp" bash -c "$(declare -f run); build='$build'; run"
rc=$?
rm -rf "$prefix"
[ $rc -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $rc
