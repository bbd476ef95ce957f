#!/usr/bin/env bash
# Configures and builds one tree: native | asan | win64. Quiet unless something fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
kind=$1
jobs=$(nproc)
log=$(mktemp)
trap 'rm -f "$log"' EXIT
run() { "$@" >"$log" 2>&1 || { cat "$log"; echo "build ($kind) failed: $*" >&2; exit 1; }; }
case "$kind" in
  native) run cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Release ;;
  asan)   run cmake -S "$root" -B "$root/build/asan" -DCMAKE_BUILD_TYPE=Debug -DORVANE_SANITIZE=ON ;;
  win64)
    prefix=$("$root/scripts/deps-mingw.sh")
    run cmake -S "$root" -B "$root/build/win64" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DORVANE_MINGW_PREFIX="$prefix" ;;
  *) echo "usage: build.sh native|asan|win64" >&2; exit 2 ;;
esac
run cmake --build "$root/build/$kind" -j"$jobs"
