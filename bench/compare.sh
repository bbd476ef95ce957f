#!/usr/bin/env bash
# Orvane's editor core beside Vim, cp and grep -F on the same 425 MB file of 10 million
# code-like lines, page cache warm: load (and peak memory), save with CR LF, and a search for
# a missing string, each pair with its ratio; load and save of a 200 MB UTF-16 copy of part of
# it beside Vim and iconv; then the growth rows at two sizes each.
# Usage: bench/compare.sh [RUNS] (default 3). ORVANE_BENCH_DIR picks the folder for the big
# files (default /tmp); ORVANE_COMPARE_ONLY=side|growth runs one half.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-3}
build=$root/build/native
gen=$root/../shared/bench/gen_big.py

[ -f "$gen" ] || { echo "compare: $gen not found" >&2; exit 1; }

# Vim is only needed here, never by the tests.
if ! command -v vim >/dev/null; then
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq && { $sudo apt-get install -y -qq vim-nox || $sudo apt-get install -y -qq vim; } >/dev/null
fi

# ORVANE_CORE_BENCH measures another build of the driver (an older revision, say).
bench=${ORVANE_CORE_BENCH:-}
if [ -z "$bench" ]; then
  [ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build" --target core_bench -j2 >/dev/null
  bench=$build/core_bench
fi

folder=${ORVANE_BENCH_DIR:-/tmp}
# The big file, two saved copies, the UTF-16 sample with its copies and a 1 GB line at most
# live here at once.
need_kb=$((3200 * 1024))
free_kb=$(df -Pk "$folder" | awk 'NR == 2 { print $4 }')
[ "$free_kb" -ge "$need_kb" ] || { echo "compare: $folder has $((free_kb / 1024)) MB free, needs $((need_kb / 1024)) MB" >&2; exit 1; }
work=$(mktemp -d "$folder/orvane-compare-XXXXXX")
trap 'rm -rf "$work"' EXIT

big=$work/big.txt
if [ "${ORVANE_COMPARE_ONLY:-}" != growth ]; then
  python3 "$gen" "$big"
  cat "$big" >/dev/null  # warm the page cache
fi
python3 "$root/bench/compare.py" "$bench" "$big" "$work" "$runs"
