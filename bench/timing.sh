# Shared by the bench scripts (sourced): one timed run, the median of a column of numbers, the
# median time and peak memory of a file of timed runs, and one run of the reference commands.

# Runs a command once; appends "milliseconds peakKiB" (GNU time) to the file named first.
measure() {
  local out=$1
  shift
  local start end
  start=$(date +%s%N)
  /usr/bin/time -f %M -o memory "$@" >/dev/null || { echo "failed with status $?: $*" >&2; return 1; }
  end=$(date +%s%N)
  echo "$(((end - start) / 1000000)) $(cat memory)" >>"$out"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Each run starts with no dirty pages left by the one before, native and Wine alike.
timed() {
  sync
  measure "$@"
}
ms() { cut -d' ' -f1 "$1" | median; }
peak() { cut -d' ' -f2 "$@" | sort -n | tail -1; }

# One timed run each of md5sum and cp of the file named first and of the command that follows
# (Wine's own start), appended to md5sum.txt, cp.txt and idle.txt.
referenceRun() {
  local file=$1
  shift
  timed md5sum.txt md5sum "$file"
  rm -f copy.bin
  timed cp.txt cp "$file" copy.bin
  timed idle.txt "$@"
}
