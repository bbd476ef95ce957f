#!/usr/bin/env bash
# Fuzzes every target in tests/fuzz for SECONDS each (default 60) with libFuzzer, under
# AddressSanitizer and UndefinedBehaviorSanitizer, starting from the seed corpora. Prints
# the executions of this run and of the whole campaign, and the open findings (inputs that
# broke something, kept in build/fuzz/findings/TARGET/ until they are dealt with and removed).
# The campaign's totals are kept in tests/fuzz/campaign.txt, which is committed, so they
# outlive the build folder and the machine (ORVANE_FUZZ_CAMPAIGN names another file).
# A run counts as a timeout (and as slow) after ORVANE_FUZZ_TIMEOUT seconds (default 10); on
# a machine that is busy with other work, give it more. A timeout or slow input that runs in
# time when it is run again on its own (after a fix, say) is dropped.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
timeout=${ORVANE_FUZZ_TIMEOUT:-10}

missing=()
for p in clang libclang-rt-14-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}" >/dev/null
fi
"$root/scripts/install-deps.sh"

build=$root/build/fuzz
log=$(mktemp)
trap 'rm -f "$log"' EXIT
quiet() { "$@" >"$log" 2>&1 || { cat "$log"; echo "fuzz: failed: $*" >&2; exit 1; }; }
quiet cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DORVANE_FUZZ=ON -DORVANE_SANITIZE=ON

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in "$root"/tests/fuzz/*_fuzz.cpp; do targets+=("$(basename "$f" _fuzz.cpp)"); done
fi
quiet cmake --build "$build" -j"$(nproc)" --target "${targets[@]/%/_fuzz}"

campaign=${ORVANE_FUZZ_CAMPAIGN:-$root/tests/fuzz/campaign.txt}
[ -f "$campaign" ] || printf '# target  executions over the whole campaign  open findings\n' >"$campaign"
status=0
printf '%-16s %14s %16s %9s\n' target "executions" "campaign total" findings
for t in "${targets[@]}"; do
  work=$build/corpus/$t
  findings=$build/findings/$t
  mkdir -p "$work" "$findings"
  out=$build/$t.log
  # New inputs go to the working corpus; the seeds in the repository stay as they are.
  "$build/${t}_fuzz" -max_total_time="$seconds" -print_final_stats=1 -timeout="$timeout" \
    -report_slow_units="$timeout" -rss_limit_mb=4096 \
    -artifact_prefix="$findings/" "$work" "$root/tests/fuzz/corpus/$t" >"$out" 2>&1 || true
  for slow in "$findings"/timeout-* "$findings"/slow-unit-*; do
    [ -e "$slow" ] || continue
    if "$build/${t}_fuzz" -runs=1 -timeout="$timeout" "$slow" >/dev/null 2>&1; then
      echo "$t: $(basename "$slow") ran within ${timeout} s on its own: dropped" >&2
      rm -f "$slow"
    fi
  done
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out" | tail -n 1)
  runs=${runs:-0}
  previous=$(awk -v t="$t" '$1 == t { print $2 }' "$campaign")
  total=$(( ${previous:-0} + runs ))
  found=$(find "$findings" -type f | wc -l)
  # One line a target, in name order, under the heading.
  { grep '^#' "$campaign"; { grep -v '^#' "$campaign" | grep -v "^$t " || true; echo "$t $total $found"; } | sort; } \
    >"$campaign.new"
  mv "$campaign.new" "$campaign"
  [ "$found" -eq 0 ] || status=1
  printf '%-16s %14s %16s %9s\n' "$t" "$runs" "$total" "$found"
done
exit $status
