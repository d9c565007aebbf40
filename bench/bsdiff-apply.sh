#!/usr/bin/env bash
# Usage: bench/bsdiff-apply.sh [RUNS]
# Applies one BSDiff patch of a 64 MiB pair with scattered edits, RUNS times (default 5) with
# tollen.exe under Wine and with Debian's native bspatch, and prints the median times, their
# ratio and the peak memory of each (GNU time). Also prints the peak memory of a tollen run that
# does nothing, which is what Wine itself costs. Needs a Windows build (scripts/build win).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${MORLO_BUILD:-$root/build}/win"
runs=${1:-5}
size=$((64 << 20))
[ -x "$build/wine-run" ] && [ -f "$build/bin/tollen.exe" ] || { echo "no Windows build in $build" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/bsdiff-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
echo "making a pair of $((size >> 20)) MiB and its patch (bsdiff takes a while)"
"$root/tests/tollen/makeBsdiffPair.sh" "$size" 400 64 old new
bsdiff old new patch.bsd
echo "old $(stat -c %s old) bytes, new $(stat -c %s new) bytes, patch $(stat -c %s patch.bsd) bytes"

. "$root/bench/timing.sh"

"$build/wine-run" "$build/bin/tollen.exe" >/dev/null  # starts the Wine server outside the timing
: >tollen.txt
: >bspatch.txt
: >idle.txt
for ((i = 0; i < runs; i++)); do
  cp old rom.bin
  sync  # each run starts with no dirty pages of an earlier step to write back
  measure tollen.txt "$build/wine-run" "$build/bin/tollen.exe" patch.bsd rom.bin
  cmp -s rom.bin new || { echo "tollen's result differs from the new file" >&2; exit 1; }
  sync
  measure bspatch.txt bspatch old out patch.bsd
  cmp -s out new || { echo "bspatch's result differs from the new file" >&2; exit 1; }
  measure idle.txt "$build/wine-run" "$build/bin/tollen.exe"
done

tollenMs=$(cut -d' ' -f1 tollen.txt | median)
bspatchMs=$(cut -d' ' -f1 bspatch.txt | median)
idleMs=$(cut -d' ' -f1 idle.txt | median)
echo "runs: $runs"
echo "median time: tollen (Wine) $tollenMs ms, bspatch (native) $bspatchMs ms, Wine start alone $idleMs ms"
awk -v t="$tollenMs" -v b="$bspatchMs" -v w="$idleMs" 'BEGIN {
  printf "median ratio tollen/bspatch: %.2f (%.2f without Wine'"'"'s start)\n", t / b, (t - w) / b }'
echo "peak memory: tollen $(cut -d' ' -f2 tollen.txt | sort -n | tail -1) KiB," \
  "bspatch $(cut -d' ' -f2 bspatch.txt | sort -n | tail -1) KiB," \
  "tollen doing nothing $(cut -d' ' -f2 idle.txt | sort -n | tail -1) KiB," \
  "old + new $((($(stat -c %s old) + $(stat -c %s new)) >> 10)) KiB"
