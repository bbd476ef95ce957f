#!/usr/bin/env bash
# The cost of one 8192-byte read request under Wine, the way the document reader makes them,
# beside the same reads without the event reset, without an event, synchronously and in 1 MB
# blocks, on the first 100 MB of the file of bench/compare.sh.
# Usage: bench/wine_read_blocks.sh. ORVANE_BENCH_DIR picks the folder for the file.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
gen=$root/../shared/bench/gen_big.py
folder=${ORVANE_BENCH_DIR:-/tmp}
work=$(mktemp -d "$folder/orvane-read-blocks-XXXXXX")
trap 'rm -rf "$work"' EXIT
x86_64-w64-mingw32-g++ -O2 -static -o "$work/read_blocks.exe" "$root/bench/read_blocks_win32.cpp"
python3 "$gen" "$work/big.txt"
head -c 100000000 "$work/big.txt" >"$work/part.txt"
rm "$work/big.txt"
cat "$work/part.txt" >/dev/null
"$root/scripts/with-wine.sh" wine "$work/read_blocks.exe" "Z:${work//\//\\}\\part.txt"
