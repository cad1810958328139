#!/usr/bin/env bash
# Adds (setup) or removes (cleanup) two CD-ROM drives, E: and F:, in the build's
# Wine prefix, for the tests of "%:" game-disc paths. E: holds DATA\A.BMP.
# Wine's mount manager reads drive types only when it starts, so the
# wineserver is restarted both ways; the ctest entries running this script are
# RUN_SERIAL so that no other test loses its server meanwhile.
# Usage: gamedisc-drives.sh BUILD setup|cleanup
set -u
build=$(cd "${1:?build folder}" && pwd)
action=${2:?setup or cleanup}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../../scripts/wine-env.sh" "$build"
discs="$build/gamedisc"
devices="$WINEPREFIX/dosdevices"

restart_server() {
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  wineserver -p </dev/null >/dev/null 2>&1
  wine wineboot </dev/null >/dev/null 2>&1
}

case "$action" in
setup)
  mkdir -p "$discs/e/DATA" "$discs/f"
  printf 'BM' > "$discs/e/DATA/A.BMP"
  for d in e f; do
    ln -sfn "$discs/$d" "$devices/$d:"
    LC_ALL=C wine reg add 'HKLM\Software\Wine\Drives' /v "$d:" /t REG_SZ /d cdrom /f \
      </dev/null >/dev/null 2>&1 || exit 1
  done
  restart_server
  ;;
cleanup)
  for d in e f; do
    rm -f "$devices/$d:"
    LC_ALL=C wine reg delete 'HKLM\Software\Wine\Drives' /v "$d:" /f </dev/null >/dev/null 2>&1
  done
  restart_server
  ;;
*)
  echo "unknown action $action" >&2
  exit 2
  ;;
esac
exit 0
