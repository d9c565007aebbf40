#!/usr/bin/env bash
# Usage: makeBsdiffReferences.sh FOLDER
# Makes the reference cases of the BSDiff tests with Debian's bsdiff and bspatch: for each
# NAME, NAME.old and NAME.new, the patch NAME.bsd and NAME.bspatch, what bspatch makes of it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$1
rm -rf "$out"
mkdir -p "$out"
cd "$out"

"$here/makeBsdiffPair.sh" 3000 6 1 edits.old edits.new
head -c 2000 /dev/urandom >unrelated.old
head -c 2500 /dev/urandom >unrelated.new
head -c 6000 /dev/urandom >swapped.old
{ tail -c 2500 swapped.old; head -c 3500 swapped.old; } >swapped.new
head -c 1 /dev/urandom >tiny.old
head -c 300 /dev/urandom >tiny.new
"$here/makeBsdiffPair.sh" $((4 << 20)) 200 3 large.old large.new

for old in *.old; do
  name=${old%.old}
  bsdiff "$name.old" "$name.new" "$name.bsd"
  bspatch "$name.old" "$name.bspatch" "$name.bsd"
  cmp -s "$name.bspatch" "$name.new" || { echo "bspatch does not give $name.new" >&2; exit 1; }
done
touch done
