#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test under Wine,
# then fuzzes the image readers for about a minute when clang can build the
# harnesses. Any failing test or any crash the fuzzers find fails the run.
# Usage: ./test.sh [ctest arguments...]   (for example: ./test.sh -R KtString)
# POMELO_FUZZ_SECONDS sets the time per harness (default 10, 0 skips fuzzing).
# The 32-bit build (folder build) is tested where the machine runs 32-bit
# programs, else the 64-bit build (build64); POMELO_ARCH=32 or 64 forces it.
set -euo pipefail
cd "$(dirname "$0")"
native=${POMELO_NATIVE_BUILD:-build-native}
fuzz_seconds=${POMELO_FUZZ_SECONDS:-10}

# The install step first: what it could install decides the build.
scripts/install-deps.sh
source scripts/choose-arch.sh testing
scripts/build.sh "$build"
scripts/ctest-wine.sh "$build" --output-on-failure "$@"

# A filtered run (ctest arguments given) is someone checking a few tests:
# fuzzing is left to the full run.
if [ $# -gt 0 ] || [ "$fuzz_seconds" = 0 ]; then
  exit 0
fi
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' \
  >"$probe/probe.cpp"
if ! command -v clang++ >/dev/null 2>&1 ||
   ! clang++ -fsanitize=fuzzer,address "$probe/probe.cpp" -o "$probe/probe" 2>/dev/null; then
  echo "Fuzzing skipped: clang++ with libFuzzer is not available (install clang and libclang-rt-14-dev)."
  exit 0
fi
scripts/fuzz.sh "$native" "$fuzz_seconds"
