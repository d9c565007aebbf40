#!/usr/bin/env bash
# Usage: bench/rup-apply.sh [RUNS] [TYPE]
# Applies and undoes one RUP patch of a 64 MiB image with 20,000 changed runs of 1 to 40 bytes
# (same size; file type TYPE, default 0: patched as it stands), RUNS times (default 5), with
# tollen.exe under Wine, next to native md5sum and cp of the image. Prints the median times, the
# ratios of apply and undo to md5sum + cp once Wine's own start (tollen.exe -h) is taken out, the
# peak memory (GNU time) and the machine's load. Needs a Windows build (scripts/build win).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${MORLO_BUILD:-$root/build}/win"
runs=${1:-5}
type=${2:-0}
tollen=("$build/wine-run" "$build/bin/tollen.exe")
[ -x "$build/wine-run" ] && [ -f "$build/bin/tollen.exe" ] && [ -f "$build/bin/rup-bench-files.exe" ] ||
  { echo "no Windows build with rup-bench-files in $build" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/rup-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
"$build/wine-run" "$build/bin/rup-bench-files.exe" 64 20000 "$type" source.bin target.bin patch.rup
echo "image $(stat -c %s source.bin) bytes, patch $(stat -c %s patch.rup) bytes, file type $type"

. "$root/bench/timing.sh"

"${tollen[@]}" -h >/dev/null  # starts the Wine server outside the timing
: >md5sum.txt
: >cp.txt
: >idle.txt
: >apply.txt
: >undo.txt
for ((i = 0; i < runs; i++)); do
  referenceRun source.bin "${tollen[@]}" -h
  cp source.bin rom.bin
  timed apply.txt "${tollen[@]}" patch.rup rom.bin
  cmp -s rom.bin target.bin || { echo "applying gave another file than the target" >&2; exit 1; }
  timed undo.txt "${tollen[@]}" patch.rup rom.bin
  cmp -s rom.bin source.bin || { echo "undoing gave another file than the source" >&2; exit 1; }
done

echo "runs: $runs; load average: $(uptime | sed 's/.*load average: //')"
echo "median time: md5sum $(ms md5sum.txt) ms, cp $(ms cp.txt) ms, Wine start (tollen.exe -h) $(ms idle.txt) ms," \
  "apply $(ms apply.txt) ms, undo $(ms undo.txt) ms"
awk -v a="$(ms apply.txt)" -v u="$(ms undo.txt)" -v w="$(ms idle.txt)" -v m="$(ms md5sum.txt)" -v c="$(ms cp.txt)" 'BEGIN {
  printf "ratio to md5sum + cp, Wine'"'"'s start taken out: apply %.2f, undo %.2f (target 3)\n", (a - w) / (m + c), (u - w) / (m + c) }'
echo "peak memory: apply $(peak apply.txt) KiB, undo $(peak undo.txt) KiB, tollen.exe -h $(peak idle.txt) KiB," \
  "image $(($(stat -c %s source.bin) >> 10)) KiB"
