#!/usr/bin/env bash
# The cost of one 8192-byte read request under Wine, the way the document reader makes them,
# beside the same reads without the event reset, without an event, synchronously and in 1 MB
# blocks, on the first 100 MB of the file of bench/compare.sh; then the program's own
# FileReader over those 100 MB and over the whole 425 MB file.
# Usage: bench/wine_read_blocks.sh. ORVANE_BENCH_DIR picks the folder for the file.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
gen=$root/../shared/bench/gen_big.py
folder=${ORVANE_BENCH_DIR:-/tmp}
work=$(mktemp -d "$folder/orvane-read-blocks-XXXXXX")
trap 'rm -rf "$work"' EXIT
cxx="x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -static -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -DNOMINMAX -I$root/src"
$cxx -o "$work/read_blocks.exe" "$root/bench/read_blocks_win32.cpp"
$cxx -o "$work/file_reader.exe" "$root/bench/file_reader_win32.cpp" "$root/src/platform/file_reader_win32.cpp" \
  "$root/src/platform/file_open_win32.cpp" "$root/src/platform/file_writer_win32.cpp" \
  "$root/src/platform/file_io_common.cpp" "$root/src/text/path_form.cpp" "$root/src/text/utf16.cpp" "$root/src/text/utf8.cpp"
python3 "$gen" "$work/big.txt"
head -c 100000000 "$work/big.txt" >"$work/part.txt"
cat "$work/big.txt" "$work/part.txt" >/dev/null
wine_dir="Z:${work//\//\\}"
"$root/scripts/with-wine.sh" bash -c "wine '$work/read_blocks.exe' '$wine_dir\\part.txt'; \
  wine '$work/file_reader.exe' '$wine_dir\\part.txt'; wine '$work/file_reader.exe' '$wine_dir\\big.txt'"
