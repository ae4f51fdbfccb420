#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded number of inputs.
# New inputs go to a scratch folder; the committed corpus is only read.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build/fuzz"
runs=${FUZZ_RUNS:-20000}
seconds=${FUZZ_SECONDS:-120}
CC=clang CXX=clang++ cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELTO_FUZZ=ON >/dev/null
list="$build/fuzzers.txt"
if [ ! -s "$list" ]; then
  echo "fuzz: no targets"
  exit 0
fi
targets=$(cut -d' ' -f1 "$list" | tr '\n' ' ')
cmake --build "$build" -j "${JOBS:-$(nproc)}" --target $targets
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
while read -r name corpus; do
  mkdir -p "$scratch/$name"
  echo "fuzz: $name ($runs inputs at most, ${seconds}s at most)"
  args=("$scratch/$name")
  [ -d "$corpus" ] && args+=("$corpus")
  ASAN_OPTIONS=detect_leaks=1 "$build/fuzz/$name" -runs="$runs" -max_total_time="$seconds" \
    -rss_limit_mb=4096 -print_final_stats=0 "${args[@]}" 2>"$scratch/$name.log" || {
      tail -n 60 "$scratch/$name.log"; echo "fuzz: $name failed"; exit 1; }
done < "$list"
echo "fuzz: all targets passed"
