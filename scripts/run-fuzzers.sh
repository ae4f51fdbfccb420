#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded number of inputs, several at
# once. New inputs go to a scratch folder; the committed corpus is only read.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build/fuzz"
jobs=${JOBS:-$(nproc)}
export FUZZ_RUNS=${FUZZ_RUNS:-20000}
export FUZZ_SECONDS=${FUZZ_SECONDS:-90}
# -O1 with line tables: what libFuzzer's own documentation builds with; a report still has file and
# line, and the build costs a fifth less than -O2 -g.
CC=clang CXX=clang++ cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" \
  -DPELTO_FUZZ=ON >/dev/null
list="$build/fuzzers.txt"
if [ ! -s "$list" ]; then
  echo "fuzz: no targets"
  exit 0
fi
targets=$(cut -d' ' -f1 "$list" | tr '\n' ' ')
cmake --build "$build" -j "$jobs" --target $targets
export FUZZ_SCRATCH=$(mktemp -d)
export FUZZ_BIN="$build/fuzz"
trap 'rm -rf "$FUZZ_SCRATCH"' EXIT

run_one() {
  local name=$1 corpus=$2 log="$FUZZ_SCRATCH/$1.log"
  mkdir -p "$FUZZ_SCRATCH/$name"
  local args=("$FUZZ_SCRATCH/$name")
  [ -d "$corpus" ] && args+=("$corpus")
  if ASAN_OPTIONS=detect_leaks=1 "$FUZZ_BIN/$name" -runs="$FUZZ_RUNS" -max_total_time="$FUZZ_SECONDS" \
       -rss_limit_mb=2048 -timeout=60 -print_final_stats=0 "${args[@]}" >"$log" 2>&1; then
    echo "fuzz: $name passed ($FUZZ_RUNS inputs at most, ${FUZZ_SECONDS}s at most)"
  else
    tail -n 60 "$log"
    echo "fuzz: $name failed"
    return 1
  fi
}
export -f run_one
xargs -P "$jobs" -L 1 bash -c 'run_one "$0" "$1"' < "$list"
echo "fuzz: all targets passed"
