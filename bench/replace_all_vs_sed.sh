#!/usr/bin/env bash
# Replace all with 20,000 hits on one line: both editors (build/native/replace_all_bench)
# beside sed on the same line, with the ratio. Goal: at most 20 ms in every mode.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bench="$root/build/native/replace_all_bench"
[ -x "$bench" ] || "$root/scripts/build.sh" native
line=$(mktemp)
trap 'rm -f "$line"' EXIT
python3 -c 'import sys; sys.stdout.write("ab " * 20000 + "\n")' >"$line"
start=$(date +%s%N)
for _ in 1 2 3 4 5; do sed -e 's/ab/xyz/g' "$line" >/dev/null; done
sed_ms=$(( ($(date +%s%N) - start) / 5000000 ))
echo "sed: ${sed_ms} ms per run"
"$bench" --benchmark_format=csv 2>/dev/null | awk -F, -v sed="$sed_ms" 'NR > 1 {
    gsub(/"/, ""); ms = $3 + 0; cpu = $4 + 0; if ($5 == "us") { ms /= 1000; cpu /= 1000 }
    printf "%-40s %-17s %6.2f ms (cpu %6.2f ms)  %.2f x sed\n", $1, $8, ms, cpu, (sed > 0 ? ms / sed : 0) }'
