#!/usr/bin/env bash
# Replace-all of "buf" by "buffer" in the first 50 MB of the 425 MB file of bench/compare.sh,
# inside orvane.exe under Wine beside the editor core natively (see wine_replace.py).
# Usage: bench/wine_replace.sh [RUNS]. ORVANE_BENCH_DIR picks the folder for the file.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-3}
gen=$root/../shared/bench/gen_big.py
[ -f "$gen" ] || { echo "wine_replace: $gen not found" >&2; exit 1; }
[ -f "$root/build/win64/orvane.exe" ] || "$root/scripts/build.sh" win64
cmake --build "$root/build/native" --target core_bench -j2 >/dev/null
folder=${ORVANE_BENCH_DIR:-/tmp}
work=$(mktemp -d "$folder/orvane-wine-replace-XXXXXX")
trap 'rm -rf "$work"' EXIT
python3 "$gen" "$work/big.txt"
# Whole lines only.
head -c 50000000 "$work/big.txt" | sed '$d' >"$work/part.txt"
rm "$work/big.txt"
"$root/scripts/with-wine.sh" python3 "$root/bench/wine_replace.py" "$work/part.txt" "$root/build/native/core_bench" "$runs"
