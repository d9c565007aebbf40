#!/usr/bin/env bash
# Usage: bench/morlo.sh [RUNS] [MIB]
# Times morlo-bench.exe under Wine on a generated pair of MIB MiB (default 1024) with about 1 per
# cent of the bytes changed in scattered runs, and on a longer and a shorter modified file:
# create, apply to a copy and apply in place, RUNS times each (default 3), next to native md5sum
# and cp of the same files and to Wine's start of morlo-bench doing no work. Prints the time of
# each pass alone (morlo-bench passes), the median times, the ratios to the targets with Wine's
# start taken out (create and apply in place against md5sum of the original, apply to a copy
# against md5sum plus cp) and the peak memory (GNU time). All data lives in one temporary folder,
# deleted at the end. Needs a Windows build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${MORLO_BUILD:-$root/build}/win"
runs=${1:-3}
size=$((${2:-1024} << 20))
bench="$build/bin/morlo-bench.exe"
[ -x "$build/wine-run" ] && [ -f "$bench" ] || { echo "no Windows build with morlo-bench in $build" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/morlo-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
echo "making an original of $((size >> 20)) MiB and three modified files"
head -c "$size" /dev/urandom >original.bin
python3 - "$size" <<'PY'
import os, random, shutil, sys
size = int(sys.argv[1])
random.seed(1)
shutil.copyfile("original.bin", "same.bin")
changed = 0
with open("same.bin", "r+b") as f:
    while changed < size // 100:
        length = random.randint(1, 400)
        at = random.randrange(size - length)
        f.seek(at)
        data = f.read(length)
        f.seek(at)
        f.write(bytes(b ^ 0xFF for b in data))
        changed += length
shutil.copyfile("same.bin", "longer.bin")
with open("longer.bin", "ab") as f:
    f.write(os.urandom(16 << 20))
shutil.copyfile("same.bin", "shorter.bin")
os.truncate("shorter.bin", size - (16 << 20))
PY

. "$root/bench/timing.sh"

"$build/wine-run" "$bench" >/dev/null 2>&1 || true  # starts the Wine server outside the timing
: >md5sum.txt
: >cp.txt
for ((i = 0; i < runs; i++)); do
  timed md5sum.txt md5sum original.bin
  rm -f copy.bin
  timed cp.txt cp original.bin copy.bin
done
md5Ms=$(ms md5sum.txt)
cpMs=$(ms cp.txt)
echo "runs: $runs; median md5sum $md5Ms ms, cp $cpMs ms"
sync
"$build/wine-run" "$bench" passes original.bin same.bin passes.bin
rm -f passes.bin

for kind in same longer shorter; do
  : >create.txt
  : >copy.txt
  : >inplace.txt
  : >idle.txt
  for ((i = 0; i < runs; i++)); do
    rm -f "$kind.ml" out.bin
    # Wine's start, in the same state of the machine as the runs it is taken from.
    timed idle.txt "$build/wine-run" "$bench" idle
    timed create.txt "$build/wine-run" "$bench" create original.bin "$kind.bin" "$kind.ml"
    timed copy.txt "$build/wine-run" "$bench" apply "$kind.ml" original.bin out.bin
    cmp -s out.bin "$kind.bin" || { echo "applying $kind.ml to a copy gave another file" >&2; exit 1; }
    cp original.bin inplace.bin
    timed inplace.txt "$build/wine-run" "$bench" apply "$kind.ml" inplace.bin
    cmp -s inplace.bin "$kind.bin" || { echo "applying $kind.ml in place gave another file" >&2; exit 1; }
  done
  idleMs=$(ms idle.txt)
  echo "$kind: patch $(stat -c %s "$kind.ml") bytes; median create $(ms create.txt) ms," \
    "apply to a copy $(ms copy.txt) ms, apply in place $(ms inplace.txt) ms," \
    "Wine start of morlo-bench doing no work $idleMs ms"
  awk -v c="$(ms create.txt)" -v a="$(ms copy.txt)" -v i="$(ms inplace.txt)" -v w="$idleMs" \
    -v m="$md5Ms" -v p="$cpMs" 'BEGIN {
    printf "  ratios without Wine'"'"'s start: create / md5sum %.2f, apply to a copy / (md5sum + cp) %.2f,", \
      (c - w) / m, (a - w) / (m + p)
    printf " apply in place / md5sum %.2f (target 1.2 each)\n", (i - w) / m }'
  echo "  peak memory: create $(peak create.txt) KiB, apply to a copy $(peak copy.txt) KiB," \
    "apply in place $(peak inplace.txt) KiB (Wine start alone $(peak idle.txt) KiB; game" \
    "$((size >> 10)) KiB; target under 614400 KiB, and a few MiB beyond the game's size for small games)"
done
