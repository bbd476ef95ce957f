#!/usr/bin/env bash
# The CPU share orvane.exe takes while idle under Wine (goal: at most 0.3 % of a core).
# Usage: bench/idle_cpu.sh [EXE] [SECONDS]; the exe defaults to build/win64/orvane.exe.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exec "$root/scripts/with-wine.sh" python3 "$root/bench/idle_cpu.py" "$@"
