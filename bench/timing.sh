# Shared by the bench scripts (sourced): one timed run and the median of a column of numbers.

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
