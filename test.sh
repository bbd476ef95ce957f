#!/usr/bin/env bash
# Installs what is missing, builds the native and Windows trees, and runs every test layer:
# native unit tests (plain and sanitized), Win32 tests under Wine, and the end-to-end
# scenarios against orvane.exe. Ends with one line: N passed, N failed.
set -uo pipefail
cd "$(dirname "$0")"
root=$(pwd)

passed=0
failed=0
failures=()
count() { # passed failed label
  passed=$((passed + $1)); failed=$((failed + $2))
  [ "$2" -eq 0 ] || failures+=("$3: $2 failed")
}
check() { # label command...: a single pass/fail check
  local label=$1; shift
  if "$@"; then count 1 0 "$label"; else count 0 1 "$label"; fi
}
stop() { echo "$*" >&2; echo "$passed passed, $((failed + 1)) failed"; exit 1; }

scripts/install-deps.sh || stop "installing packages failed"

ctest_layer() { # build-dir label
  local out
  out=$(cd "$1" && ctest -j"$(nproc)" --output-on-failure 2>&1)
  local line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' <<<"$out" | tail -n 1)
  if [ -z "$line" ]; then echo "$out"; count 0 1 "$2"; return; fi
  bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
  [ "$bad" -eq 0 ] || echo "$out" | grep -E -A30 'Failed|FAILED' | head -n 200
  echo "$2: $((total - bad)) passed, $bad failed"
  count $((total - bad)) "$bad" "$2"
}

scripts/build.sh native || stop "native build failed"
ctest_layer build/native "native unit tests"
scripts/build.sh asan || stop "sanitized build failed"
# The program answers an allocation that fails with a message, so the sanitizer must let it
# fail rather than stop the process.
ASAN_OPTIONS=allocator_may_return_null=1 ctest_layer build/asan "sanitized unit tests"

no_windows_h() {
  local hits
  hits=$(grep -rlE '#\s*include\s*[<"]windows\.h[>"]' src | grep -vE '_win32\.(cpp|h)$' || true)
  [ -z "$hits" ] || { echo "logic files include <windows.h>:"; echo "$hits"; return 1; }
}
check "logic files stay portable" no_windows_h

scripts/build.sh win64 || stop "Windows build failed"
# The installer and the portable archive, which the end-to-end layer installs and runs.
scripts/package.sh >/dev/null || stop "packaging failed"

exports_are_cjson_only() {
  local names
  names=$(x86_64-w64-mingw32-objdump -p build/win64/orvane.exe |
    sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -nE 's/^\s*\[ *[0-9]+\] ([A-Za-z_][A-Za-z0-9_]*)$/\1/p')
  grep -qx cJSON_Parse <<<"$names" || { echo "export table lacks cJSON_Parse"; return 1; }
  grep -qx cJSONUtils_GetPointer <<<"$names" || { echo "export table lacks cJSONUtils_GetPointer"; return 1; }
  local own
  own=$(grep -vE '^cJSON' <<<"$names" || true)
  [ -z "$own" ] || { echo "orvane.exe exports more than cJSON:"; echo "$own"; return 1; }
}
check "export table" exports_are_cjson_only

wine_layers() {
  local out
  out=$(wine build/win64/win32_tests.exe --gtest_brief=1 2>&1)
  local ok bad
  ok=$(grep -oE '\[  PASSED  \] [0-9]+' <<<"$out" | grep -oE '[0-9]+$' || echo 0)
  bad=$(grep -oE '\[  FAILED  \] [0-9]+ tests?, listed below' <<<"$out" | grep -oE '[0-9]+' || echo 0)
  if [ -z "$ok$bad" ] || { [ "${ok:-0}" -eq 0 ] && [ "${bad:-0}" -eq 0 ]; }; then
    echo "$out"; echo "win32 tests: no result"; echo "W 0 1"; return
  fi
  [ "${bad:-0}" -eq 0 ] || echo "$out" | grep -E -B2 -A20 'Failure|FAILED' | head -n 200
  echo "win32 tests: ${ok:-0} passed, ${bad:-0} failed"
  echo "W ${ok:-0} ${bad:-0}"
  if [ -x tests/e2e/run.sh ]; then tests/e2e/run.sh; fi
}
while read -r line; do
  case "$line" in
    "W "*|"E "*) set -- $line; count "$2" "$3" "$([ "$1" = W ] && echo "win32 tests" || echo "end-to-end")" ;;
    *) echo "$line" ;;
  esac
done < <(scripts/with-wine.sh bash -c "$(declare -f wine_layers); wine_layers" 2>&1)

for f in "${failures[@]}"; do echo "FAILED: $f"; done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
