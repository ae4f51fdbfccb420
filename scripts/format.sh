#!/usr/bin/env bash
# Formats the C++ sources with the tree's .clang-format.
#   scripts/format.sh            format every tracked source in place
#   scripts/format.sh FILE...    format just these
#   scripts/format.sh --check    list the files that are not formatted and fail if there are any
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
fmt=$(command -v clang-format || true)
if [ -z "$fmt" ]; then
  echo "format: clang-format is not installed (make setup installs it)" >&2
  exit 1
fi
sources() { git ls-files -z -- '*.cpp' '*.h' '*.cc' '*.c'; }
if [ "${1:-}" = "--check" ]; then
  bad=$(sources | xargs -0 -P "$(nproc)" -n 40 "$fmt" --dry-run 2>&1 | grep -oE '^[^:]+\.(cpp|h|cc|c):' | sort -u | sed 's/:$//' || true)
  if [ -n "$bad" ]; then
    echo "format: these files are not formatted (run scripts/format.sh):"
    echo "$bad"
    exit 1
  fi
  echo "format: every source is formatted"
  exit 0
fi
if [ $# -gt 0 ]; then
  # Only C++ sources: a build file or script named by mistake is left alone.
  files=()
  for f in "$@"; do
    case "$f" in *.cpp | *.h | *.cc | *.c) files+=("$f") ;; esac
  done
  [ ${#files[@]} -eq 0 ] || "$fmt" -i "${files[@]}"
else
  sources | xargs -0 -P "$(nproc)" -n 40 "$fmt" -i
fi
