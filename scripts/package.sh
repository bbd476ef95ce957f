#!/usr/bin/env bash
# Builds the release orvane.exe once and makes, under build/dist/:
#   orvane-VERSION-setup.exe      the installer (NSIS, zlib)
#   orvane-VERSION-portable.zip   the portable archive, with its empty "portable" folder
#   orvane-VERSION-SHA256SUMS.txt the checksums of both
# Both hold the same orvane.exe and data files. The version is the one in VERSION.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" win64

version=$(head -n 1 "$root/VERSION")
build=$root/build/win64
dist=$root/build/dist
stage=$dist/stage
rm -rf "$dist"
mkdir -p "$stage/skin/mask"
for f in orvane.exe documentation.txt changelog.txt license.txt; do cp "$build/$f" "$stage/"; done
cp "$build/skin/mask/scrollbar.png" "$stage/skin/mask/"

log=$(mktemp)
trap 'rm -f "$log"' EXIT
quiet() { "$@" >"$log" 2>&1 || { cat "$log"; echo "package: failed: $*" >&2; exit 1; }; }

setup=orvane-$version-setup.exe
quiet makensis -V2 -DVERSION="$version" -DSOURCE="$stage" -DOUTFILE="$dist/$setup" "$root/res/orvane.nsi"

# The archive unpacks into one folder; its "portable" folder keeps the data beside the exe.
portable=orvane-$version-portable
zipdir=$dist/zip/$portable
mkdir -p "$zipdir"
cp -r "$stage/." "$zipdir/"
mkdir -p "$zipdir/portable"
(cd "$dist/zip" && quiet zip -q -r -X "$dist/$portable.zip" "$portable")

(cd "$dist" && sha256sum "$setup" "$portable.zip" >"orvane-$version-SHA256SUMS.txt")
rm -rf "$stage" "$dist/zip"
echo "$dist/$setup"
echo "$dist/$portable.zip"
echo "$dist/orvane-$version-SHA256SUMS.txt"
