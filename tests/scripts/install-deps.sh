#!/usr/bin/env bash
# The install step's decisions on a bad day at the package mirror, driven by
# stand-in apt-get, dpkg and dpkg-query on the PATH: an update that fails
# once, an index that keeps failing, a 32-bit Wine that cannot be installed,
# a 64-bit package that cannot be installed. Each case runs the install step
# and then the build choice as ./test.sh does, and checks what was chosen and
# what was said.
# Usage: tests/scripts/install-deps.sh SOURCE_DIR
set -uo pipefail
root=$(cd "${1:?source folder}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
index=http://mirror.invalid/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz

# The stand-ins keep their state in $STATE: installed (one package a line),
# arches, updates (what each apt-get update does, one line per call: ok or
# fail), refuse (packages whose install breaks) and calls (what was asked).
mkdir -p "$work/bin"
cat >"$work/bin/apt-get" <<EOF
#!/usr/bin/env bash
echo "apt-get \$*" >>"\$STATE/calls"
case "\$1" in
  update)
    plan=\$(head -n 1 "\$STATE/updates"); sed -i 1d "\$STATE/updates"
    echo "Hit:1 http://mirror.invalid/debian bookworm InRelease"
    [ "\$plan" = fail ] || exit 0
    echo "E: Failed to fetch $index  File has unexpected size (374820 != 376004). Mirror sync in progress?"
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
    exit 100 ;;
  install)
    shift
    for p in "\$@"; do
      case "\$p" in -*) continue ;; esac
      if grep -qx "\$p" "\$STATE/refuse"; then
        echo "E: Error, pkgProblemResolver::Resolve generated breaks, this may be caused by held packages."
        exit 100
      fi
    done
    for p in "\$@"; do case "\$p" in -*) ;; *) echo "\$p" >>"\$STATE/installed" ;; esac; done ;;
esac
EOF
cat >"$work/bin/dpkg-query" <<'EOF'
#!/usr/bin/env bash
grep -qx "${!#}" "$STATE/installed" || exit 1
printf 'install ok installed'
EOF
cat >"$work/bin/dpkg" <<'EOF'
#!/usr/bin/env bash
case "$1" in
  --print-foreign-architectures) cat "$STATE/arches" ;;
  --add-architecture) echo "$2" >>"$STATE/arches" ;;
esac
EOF
printf '#!/bin/sh\necho 0\n' >"$work/bin/id"
chmod +x "$work"/bin/*

packages64="g++-mingw-w64-i686 g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth
fonts-ipafont-gothic fonts-wine googletest imagemagick xdotool cmake ninja-build locales
libz-mingw-w64-dev clang libclang-rt-14-dev python3"

# One case: its name, POMELO_ARCH (- for none), what is installed at the
# start (none, 64 or all), the updates' plan, the refused package (-), then
# the install step's exit code, the build chosen (- when the step failed),
# and a text the output must contain (- for none).
run_case() {
  local name=$1 arch=$2 start=$3 updates=$4 refuse=$5 want_rc=$6 want_arch=$7 want_text=$8
  export STATE="$work/$name"
  mkdir -p "$STATE"
  : >"$STATE/installed"; : >"$STATE/arches"; : >"$STATE/calls"
  case $start in
    64)  printf '%s\n' $packages64 >"$STATE/installed" ;;
    all) printf '%s\n' $packages64 wine32:i386 >"$STATE/installed"; echo i386 >"$STATE/arches" ;;
  esac
  printf '%s\n' ${updates//,/ } >"$STATE/updates"
  [ "$refuse" = - ] && : >"$STATE/refuse" || echo "$refuse" >"$STATE/refuse"
  [ "$arch" = - ] && arch=
  local out rc
  out=$(cd "$work" && env -u POMELO_ARCH -u POMELO_BUILD ${arch:+POMELO_ARCH=$arch} \
        PATH="$work/bin:$PATH" POMELO_RUNS_32BIT=1 POMELO_APT_PAUSE=0 \
        POMELO_WINE32_NOTE="$STATE/note" bash -c '
          "$0/scripts/install-deps.sh" || exit $?
          source "$0/scripts/choose-arch.sh" testing
          echo "=> $POMELO_ARCH $build"' "$root" 2>&1)
  rc=$?
  printf '%s\n' "$out" >"$STATE/out"
  [ $rc = "$want_rc" ] || fail "$name: exit $rc, expected $want_rc"
  if [ "$want_arch" != - ]; then
    printf '%s\n' "$out" | grep -qx "=> $want_arch build${want_arch/32/}" ||
      fail "$name: did not choose the $want_arch-bit build"
  fi
  if [ "$want_text" != - ] && ! printf '%s\n' "$out" | grep -qF -- "$want_text"; then
    fail "$name: never said '$want_text'"
  fi
  [ $failures = 0 ] || sed 's/^/  | /' "$STATE/out"
}

breaks="Error, pkgProblemResolver::Resolve generated breaks, this may be caused by held packages."
#        name              arch start updates        refuse       rc arch text
run_case nothing-missing   -    all   ok             -            0  32 -
run_case update-once       -    none  fail,ok        -            0  32 -
run_case index-keeps-failing -  none  fail,fail,fail -            0  32 \
  "install-deps: apt-get update failed 3 times for $index; going on with the indexes that were fetched"
run_case wine32-breaks     -    64    ok             wine32:i386  0  64 \
  "the 32-bit Wine is not installed (apt-get could not install wine32:i386: $breaks): testing the 64-bit build"
run_case wine32-forced     32   64    ok             wine32:i386  1  -  \
  "install-deps: POMELO_ARCH=32 needs the 32-bit Wine, and apt-get could not install wine32:i386: $breaks"
run_case side64-breaks     -    none  fail,fail,fail xvfb         1  -  \
  "install-deps: cannot install g++-mingw-w64-i686 g++-mingw-w64-x86-64-posix wine wine64 xvfb"
run_case forced-64         64   64    ok             -            0  64 -

# What each case asked of apt-get.
calls() { grep -c "^apt-get $2" "$work/$1/calls"; }
[ "$(calls nothing-missing '')" = 0 ] || fail "nothing-missing: apt-get was called"
[ "$(calls update-once update)" = 2 ] || fail "update-once: $(calls update-once update) updates, expected 2"
[ "$(calls index-keeps-failing update)" = 3 ] || fail "index-keeps-failing: expected 3 updates"
grep -q 'wine32:i386' "$work/side64-breaks/calls" && fail "side64-breaks: went on to the 32-bit Wine"
grep -q 'wine32:i386' "$work/forced-64/calls" && fail "forced-64: installed the 32-bit Wine it does not need"
grep -qx 'wine32:i386' "$work/update-once/installed" || fail "update-once: the 32-bit Wine was not installed"
# A later success clears the reason the earlier failure wrote down.
[ -e "$work/update-once/note" ] && fail "update-once: a reason was written although all installed"
[ -e "$work/wine32-breaks/note" ] || fail "wine32-breaks: no reason was written"

[ $failures = 0 ] && echo "7 passed, 0 failed"
exit $((failures > 0))
