#!/usr/bin/env bash
# Exits 0 when this machine runs 32-bit Linux programs (and so the 32-bit
# Wine), 1 when it does not. Some machines of this kind refuse every 32-bit
# program with "Exec format error".
# POMELO_RUNS_32BIT=1 or =0 gives the answer without asking the machine.
set -uo pipefail
case "${POMELO_RUNS_32BIT:-}" in
  1) exit 0 ;;
  0) exit 1 ;;
  "") ;;
  *) echo "POMELO_RUNS_32BIT must be 1 or 0, not '$POMELO_RUNS_32BIT'" >&2; exit 2 ;;
esac

# Written beside the scripts: a temporary folder may be mounted noexec, and
# the project's own folder runs ./test.sh itself.
dir=$(mktemp -d "$(cd "$(dirname "$0")/.." && pwd)/.runs-32bit.XXXXXX")
trap 'rm -rf "$dir"' EXIT
# The smallest static 32-bit program: an ELF header, one loadable segment
# (the whole 96-byte file at 0x08048000) and, at its entry 0x08048054,
# mov eax,1; mov ebx,0; int 0x80 -- the exit call with status 0.
printf '%b' \
  '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' \
  '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' \
  '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00' \
  '\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08' \
  '\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00' \
  '\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x00\x00\x00\x00\xcd\x80' >"$dir/probe"
chmod +x "$dir/probe"
# A refusal comes back as 126 or 127 depending on the kernel, a hang as 124:
# everything but a clean exit means no.
if timeout 5 "$dir/probe" >/dev/null 2>&1; then
  exit 0
fi
exit 1
