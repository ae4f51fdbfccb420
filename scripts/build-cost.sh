#!/usr/bin/env bash
# Where a build's time goes, from its .ninja_log: CPU-minutes per module folder (libraries and
# tests apart), the slowest objects, and the sanitizer build's cost per 1,000 lines of C++.
#
#   scripts/build-cost.sh [build folder] [earlier build folder]
#
# The build folder is build/test by default. With an earlier build folder its figures stand
# beside this one's. Each object counts once, by its last compile (the time ninja saw it run,
# which is CPU time only while the machine was not oversubscribed: compare builds made under
# similar load, or measure with CCACHE_DISABLE=1 and /usr/bin/time on a quiet machine).
# SLOWEST (20) sets how many objects are listed.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
now=${1:-$top/build/test}
before=${2:-}
for b in "$now" $before; do
  [ -f "$b/.ninja_log" ] || {
    echo "build-cost: no $b/.ninja_log (build there first)" >&2
    exit 1
  }
done
lines_of() {  # build folder: the lines of C++ in the tree it was built from
  local src
  src=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$1/CMakeCache.txt" 2>/dev/null)
  [ -d "$src" ] || src=$top
  git -C "$src" ls-files '*.cpp' '*.h' | (cd "$src" && xargs cat 2>/dev/null) | wc -l
}

# One line per output: seconds, kind (lib, test, link, other), module folder, output.
costs() {
  awk 'NR > 1 && !/^#/ { t[$4] = ($2 - $1) / 1000 }
       END {
         for (o in t) {
           kind = "other"; mod = "-"
           if (o ~ /\.o$/) {
             kind = (o ~ /_tests\.dir\// || o ~ /\/tests?\//) ? "test" : "lib"
             if (o ~ /_bench\.dir\// || o ~ /\/bench\//) kind = "bench"
             if (o ~ /_fuzz|fuzz\// || o ~ /fuzz_replay/) kind = "fuzz"
             mod = o; sub(/\/?CMakeFiles\/.*/, "", mod)
             if (mod == "") mod = "(top)"
           } else if (o !~ /\.(ninja|cmake|txt)$/ && o !~ /CMakeFiles\//) {
             kind = "link"
           }
           printf "%.3f %s %s %s\n", t[o], kind, mod, o
         }
       }' "$1/.ninja_log"
}

table() {  # costs...: CPU-minutes per module, by kind
  awk '{ m[$3] = 1; c[$3 " " $2] += $1; n[$3] += ($2 != "link" && $2 != "other"); k[$2] += $1; all += $1 }
       END {
         for (x in m) if (x != "-") printf "%-26s %8.2f %8.2f %8.2f %8.2f %6d\n", x, c[x " lib"] / 60, c[x " test"] / 60, c[x " bench"] / 60, c[x " fuzz"] / 60, n[x]
         printf "%-26s %8.2f %8.2f %8.2f %8.2f\n", "(links, other steps)", 0, 0, 0, (k["link"] + k["other"]) / 60
         printf "TOTAL %.2f %.2f %.2f %.2f %.2f %.2f\n", all / 60, k["lib"] / 60, k["test"] / 60, k["bench"] / 60, k["fuzz"] / 60, (k["lib"] + k["test"] + k["bench"] + k["fuzz"]) / 60
       }'
}

now_costs=$(costs "$now")
now_table=$(table <<<"$now_costs")
echo "CPU-minutes per module in $now (compiles only; links and other steps in the last row):"
if [ -z "$before" ]; then
  printf '%-26s %8s %8s %8s %8s %6s\n' module library tests bench fuzz objects
  grep -v '^TOTAL' <<<"$now_table" | sort -k1,1
else
  before_table=$(table <<<"$(costs "$before")")
  printf '%-26s %17s %17s %17s %17s\n' "" "library" "tests" "bench" "fuzz"
  printf '%-26s %8s %8s %8s %8s %8s %8s %8s %8s\n' module before now before now before now before now
  join -a1 -a2 -e 0 -o 0,2.2,1.2,2.3,1.3,2.4,1.4,2.5,1.5 \
    <(grep -v '^TOTAL' <<<"$now_table" | sed 's/^(links, other steps)/(links,other)/' | sort -k1,1) \
    <(grep -v '^TOTAL' <<<"$before_table" | sed 's/^(links, other steps)/(links,other)/' | sort -k1,1) |
    awk '{ printf "%-26s %8.2f %8.2f %8.2f %8.2f %8.2f %8.2f %8.2f %8.2f\n", $1, $2, $3, $4, $5, $6, $7, $8, $9 }'
fi

echo
echo "The ${SLOWEST:-20} slowest objects (seconds):"
grep -E ' (lib|test|bench|fuzz) ' <<<"$now_costs" | sort -rn | head -n "${SLOWEST:-20}" | awk '{ printf "%8.1f  %s\n", $1, $4 }'

echo
summary() {  # build folder, its table
  awk -v label="$1" -v lines="$(lines_of "$1")" '/^TOTAL/ {
      printf "%s: %.1f CPU-minutes in all, %.1f compiling (%.1f libraries, %.1f tests, %.1f benchmarks, %.1f fuzz); %.3f per 1,000 lines of %d\n",
        label, $2, $7, $3, $4, $5, $6, $2 / (lines / 1000), lines }' <<<"$2"
}
summary "$now" "$now_table"
[ -z "$before" ] || summary "$before" "$before_table"
