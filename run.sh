#!/usr/bin/env bash
# Installs what is missing, builds orvane.exe with its data files into build/win64/, and opens
# FILE (or an empty document) in it: under Wine on Linux, directly on Windows.
set -euo pipefail
cd "$(dirname "$0")"
case "$(uname -s)" in
  MINGW*|MSYS*|CYGWIN*)
    cmake -S . -B build/win64 -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build/win64 --target orvane >/dev/null
    exec build/win64/orvane.exe "$@" ;;
esac
scripts/install-deps.sh
scripts/build.sh win64
# Orvane takes a Windows path: a Linux path is given as its Wine drive Z: form.
args=()
if [ $# -gt 0 ]; then
  args=("Z:$(realpath -m "$*" | tr / '\\')")
fi
if [ -n "${DISPLAY:-}" ]; then
  WINEPREFIX="${WINEPREFIX:-$PWD/build/wineprefix}" WINEDEBUG=-all exec wine build/win64/orvane.exe "${args[@]}"
fi
echo "No DISPLAY: starting Orvane on a private Xvfb display (close it with Ctrl+Q or stop this script)."
exec scripts/with-wine.sh wine build/win64/orvane.exe "${args[@]}"
