#!/usr/bin/env bash
# Searches the same generated ~1 GB text with Orvane's document search and with grep -F,
# and prints both throughputs. Usage: bench/search_vs_grep.sh [BUILD_DIR] (default build/native).
# ORVANE_SEARCH_BYTES sets the size.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/native}
bench=$build/search_bench
[ -x "$bench" ] || { echo "search_vs_grep: $bench not built" >&2; exit 1; }

work=$(mktemp -d /tmp/orvane-search-XXXXXX)
trap 'rm -rf "$work"' EXIT
file=$work/corpus.txt
needle=orvane_needle_42

# The benchmark generates the document in memory and writes the identical text to the file.
"$bench" --write-file "$file" --benchmark_format=json >"$work/bench.json"
orvane=$(sed -n 's/.*"MB\/s": *\([0-9.eE+]*\).*/\1/p' "$work/bench.json" | head -1)
bytes=$(stat -c %s "$file")

# grep: best of three runs over the same file, after one run to warm the page cache.
grep -F -c "$needle" "$file" >/dev/null
best=""
for _ in 1 2 3; do
  start=$(date +%s.%N)
  count=$(grep -F -c "$needle" "$file")
  end=$(date +%s.%N)
  t=$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')
  if [ -z "$best" ] || awk -v t="$t" -v b="$best" 'BEGIN { exit !(t < b) }'; then best=$t; fi
done
[ "$count" = 1 ] || { echo "search_vs_grep: grep found $count matches, expected 1" >&2; exit 1; }
grep_rate=$(awk -v n="$bytes" -v t="$best" 'BEGIN { print n / 1e6 / t }')

printf 'document: %.0f MB\n' "$(awk -v n="$bytes" 'BEGIN { print n / 1e6 }')"
printf 'orvane search: %8.0f MB/s\n' "$orvane"
printf 'grep -F:       %8.0f MB/s\n' "$grep_rate"
