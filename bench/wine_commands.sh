#!/usr/bin/env bash
# Commands over the 425 MB file (moves to its ends, select all + copy, indent and unindent of
# every line with their undos, the line-end toggle) inside orvane.exe under Wine, beside the
# editor core natively on the same file (see wine_commands.py).
# Usage: bench/wine_commands.sh [FILE] [RUNS]; without FILE the standard big file is written
# to ORVANE_BENCH_DIR (default /tmp).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
file=${1:-}
runs=${2:-2}
[ -f "$root/build/win64/orvane.exe" ] || "$root/scripts/build.sh" win64
cmake --build "$root/build/native" --target core_bench -j2 >/dev/null
if [ -z "$file" ]; then
    work=$(mktemp -d "${ORVANE_BENCH_DIR:-/tmp}/orvane-wine-commands-XXXXXX")
    trap 'rm -rf "$work"' EXIT
    file=$work/big.txt
    python3 "$root/../shared/bench/gen_big.py" "$file"
fi
"$root/scripts/with-wine.sh" python3 "$root/bench/wine_commands.py" "$file" "$root/build/native/core_bench" "$runs"
