#!/usr/bin/env bash
# Replace-all of "buf" by "buffer" in a 50 MB file of 702,213 code-like lines with about
# 300,000 hits, inside orvane.exe under Wine beside the editor core natively (see
# wine_replace.py).
# Usage: bench/wine_replace.sh [RUNS]. ORVANE_BENCH_DIR picks the folder for the file.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-3}
[ -f "$root/build/win64/orvane.exe" ] || "$root/scripts/build.sh" win64
cmake --build "$root/build/native" --target core_bench -j2 >/dev/null
folder=${ORVANE_BENCH_DIR:-/tmp}
work=$(mktemp -d "$folder/orvane-wine-replace-XXXXXX")
trap 'rm -rf "$work"' EXIT
python3 - "$work/part.txt" <<'PY'
import sys
with_buf = ["    n = fill(buf, size, in);          /* the next piece of input */",
            "    if (buf[0] == '#') continue;       /* a comment line, skipped */",
            "    total += write(out, buf, n);       /* passed on as it came in */"]
without = ["    for (int i = 0; i < count; ++i) {  /* every entry of the table */",
           "        table[i].next = table[i + 1].first; /* the chain goes on */",
           "    }                                   /* end of the loop body */",
           "    return status == 0 ? total : -status; /* what the caller sees */"]
with open(sys.argv[1], "w") as f:
    for i in range(702213):
        f.write((with_buf[i % 3] if i % 7 in (0, 2, 4) else without[i % 4]) + "\n")
PY
"$root/scripts/with-wine.sh" python3 "$root/bench/wine_replace.py" "$work/part.txt" "$root/build/native/core_bench" "$runs"
