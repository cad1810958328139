# Sourced by ./test.sh and ./run.sh: decides which build to make and use.
# Sets POMELO_ARCH (32 or 64) and build (the build folder; POMELO_BUILD
# overrides it). The 32-bit build is the product; the 64-bit one, under
# Wine's 64-bit loader, serves machines that run no 32-bit programs.
# POMELO_ARCH=32 or =64 forces the choice; otherwise scripts/runs-32bit.sh asks
# the machine (POMELO_RUNS_32BIT=1 or =0 forces its answer), and where it runs
# 32-bit programs but the 32-bit Wine is not installed, the 64-bit build is
# chosen with the reason scripts/install-deps.sh wrote down. Source it after
# the install step.
# $1 names what the caller does with the build, for the one line it prints.
case "${POMELO_ARCH:-}" in
  32|64) echo "POMELO_ARCH=$POMELO_ARCH: ${1:-using} the $POMELO_ARCH-bit build" ;;
  "")
    _probe=0
    "$(dirname "${BASH_SOURCE[0]}")/runs-32bit.sh" || _probe=$?
    case $_probe in
      0) POMELO_ARCH=32
         # The machine runs 32-bit programs, but the 32-bit Wine may still be
         # missing (a mirror mid-sync, say): the install step wrote why.
         if ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'; then
           POMELO_ARCH=64
           _why=$(head -n 1 "${POMELO_WINE32_NOTE:-$(dirname "${BASH_SOURCE[0]}")/../.wine32-missing}" 2>/dev/null || true)
           echo "the 32-bit Wine is not installed (${_why:-reason unknown}): ${1:-using} the 64-bit build"
           unset _why
         fi ;;
      1) POMELO_ARCH=64
         echo "this machine runs no 32-bit programs: ${1:-using} the 64-bit build" ;;
      *) return 2 2>/dev/null || exit 2 ;;
    esac
    unset _probe
    ;;
  *)
    echo "POMELO_ARCH must be 32 or 64, not '$POMELO_ARCH'" >&2
    return 2 2>/dev/null || exit 2
    ;;
esac
export POMELO_ARCH
if [ "$POMELO_ARCH" = 64 ]; then
  build=${POMELO_BUILD:-build64}
else
  build=${POMELO_BUILD:-build}
fi
