#!/usr/bin/env bash
# Usage: makeBsdiffPair.sh SIZE CHANGES SEED OLD NEW
# Writes OLD, SIZE random bytes, and NEW, a copy of it with CHANGES scattered edits in the
# way ROM hacks differ: bytes overwritten, inserted and removed, and runs copied from
# elsewhere in the old file (which gives the patch backward and forward seeks).
set -euo pipefail
size=$1 changes=$2 seed=$3 old=$4 new=$5
RANDOM=$seed
random() { echo $(((RANDOM << 15 | RANDOM) % $1)); }
slice() { dd if="$old" bs=1M iflag=skip_bytes,count_bytes skip="$1" count="$2" status=none; }

head -c "$size" /dev/urandom >"$old"
stride=$((size / (changes + 1) + 1))
pos=0
{
  for ((k = 0; k < changes; k++)); do
    keep=$((stride / 2 + $(random "$stride") / 2))
    ((keep > size - pos)) && keep=$((size - pos))
    slice "$pos" "$keep"
    pos=$((pos + keep))
    count=$((1 + $(random 64)))
    case $(random 4) in
      0) head -c "$count" /dev/urandom; pos=$((pos + count)) ;;
      1) head -c "$count" /dev/urandom ;;
      2) pos=$((pos + count)) ;;
      3) run=$((16 + $(random $((stride < 4096 ? stride : 4096))))); ((run > size)) && run=$size
         slice "$(random $((size - run + 1)))" "$run" ;;
    esac
    ((pos > size)) && pos=$size
  done
  slice "$pos" $((size - pos))
} >"$new"
