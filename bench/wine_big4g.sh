#!/usr/bin/env bash
# A file of about 4 GB in orvane.exe under Wine: it opens, takes an edit at its end, saves back
# byte for byte (md5 against the expected bytes), and the peak memory is set against the file's
# size (see wine_big4g.py). The file is made under ORVANE_BENCH_DIR (default /tmp) from ten
# copies of the 425 MB file of bench/compare.sh, and removed afterwards.
# Usage: bench/wine_big4g.sh [EXE]; the exe defaults to build/win64/orvane.exe.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exe=${1:-}
gen=$root/../shared/bench/gen_big.py
[ -f "$gen" ] || { echo "wine_big4g: $gen not found" >&2; exit 1; }
[ -f "$root/build/win64/orvane.exe" ] || "$root/scripts/build.sh" win64
folder=${ORVANE_BENCH_DIR:-/tmp}
free_kb=$(df -Pk "$folder" | awk 'NR == 2 { print $4 }')
# The file, its saved copy beside it, and room to spare.
[ "$free_kb" -ge $((10 * 1024 * 1024)) ] || { echo "wine_big4g: $folder needs 10 GB free" >&2; exit 1; }
work=$(mktemp -d "$folder/orvane-wine-4g-XXXXXX")
trap 'rm -rf "$work"' EXIT
python3 "$gen" "$work/part.txt"
for _ in 1 2 3 4 5 6 7 8 9 10; do cat "$work/part.txt"; done > "$work/big4g.txt"
rm "$work/part.txt"
args=("$work/big4g.txt")
[ -z "$exe" ] || args+=("$exe")
"$root/scripts/with-wine.sh" python3 "$root/bench/wine_big4g.py" "${args[@]}"
