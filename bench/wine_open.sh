#!/usr/bin/env bash
# orvane.exe under Wine on the 425 MB file of bench/compare.sh, beside native Vim and cp +
# sync in the same run: start -> whole text loaded and painted, Ctrl+S -> saved, and the peak
# memory (see wine_open.py). Usage: bench/wine_open.sh [RUNS] [EXE]; the exe defaults to
# build/win64/orvane.exe. ORVANE_BENCH_DIR picks the folder for the file; ORVANE_BENCH_SAVE=0
# leaves out the save.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-3}
exe=${2:-}
gen=$root/../shared/bench/gen_big.py
[ -f "$gen" ] || { echo "wine_open: $gen not found" >&2; exit 1; }
[ -x "$root/build/win64/orvane.exe" ] || [ -f "$root/build/win64/orvane.exe" ] || "$root/scripts/build.sh" win64

folder=${ORVANE_BENCH_DIR:-/tmp}
free_kb=$(df -Pk "$folder" | awk 'NR == 2 { print $4 }')
[ "$free_kb" -ge $((1024 * 1024)) ] || { echo "wine_open: $folder has too little free space" >&2; exit 1; }
work=$(mktemp -d "$folder/orvane-wine-open-XXXXXX")
trap 'rm -rf "$work"' EXIT
command -v vim >/dev/null || { echo "wine_open: vim is needed for the side-by-side figures" >&2; exit 1; }
python3 "$gen" "$work/big.txt"
exec_args=("$work/big.txt" "$runs")
[ -z "$exe" ] || exec_args+=("$exe")
"$root/scripts/with-wine.sh" python3 "$root/bench/wine_open.py" "${exec_args[@]}"
