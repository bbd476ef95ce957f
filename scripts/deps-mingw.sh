#!/usr/bin/env bash
# Builds cJSON (with cJSON_Utils) and libpng for Windows x86-64 from Debian's source packages
# into a cache prefix outside the clone, keyed by the package versions. Prints the prefix.
set -euo pipefail

cache_root="${ORVANE_CACHE:-$HOME/.cache/orvane}"
cjson_version=$(dpkg-query -W -f='${Version}' libcjson-dev)
png_version=$(dpkg-query -W -f='${Version}' libpng-dev)
prefix="$cache_root/mingw-cjson-${cjson_version}-png-${png_version}"

if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"

# apt-get source needs deb-src entries; mirror the existing deb ones once.
if ! apt-get indextargets --format '$(TARGET_OF)' 2>/dev/null | grep -q deb-src; then
  src_list=/etc/apt/sources.list.d/orvane-deb-src.sources
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | $sudo_cmd tee "$src_list" >/dev/null
  elif [ -f /etc/apt/sources.list ]; then
    grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | $sudo_cmd tee /etc/apt/sources.list.d/orvane-deb-src.list >/dev/null
  fi
  $sudo_cmd apt-get update -qq >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
log="$work/build.log"
# Runs a step quietly; shows its output only when it fails.
quiet() { "$@" >>"$log" 2>&1 || { cat "$log" >&2; echo "deps-mingw: failed: $*" >&2; exit 1; }; }

# The newest security revision may lack its Debian tarball on the mirror; the upstream
# .orig.tar.gz of the same version is then enough.
apt-get source --download-only cjson libpng1.6 >/dev/null 2>&1 || true
unpack() { # name-glob dir-glob
  local dsc
  dsc=$(ls $1_*.dsc 2>/dev/null | head -n 1 || true)
  if [ -n "$dsc" ] && [ -n "$(ls $1_*.debian.tar.* 2>/dev/null)" ] && dpkg-source -x "$dsc" "src-$1" >>"$log" 2>&1; then
    echo "$work/src-$1"
  else
    local orig
    orig=$(ls $1_*.orig.tar.* | head -n 1)
    mkdir -p "src-$1"
    tar xf "$orig" -C "src-$1" --strip-components=1
    echo "$work/src-$1"
  fi
}
cjson_src=$(unpack cjson)
png_src=$(unpack libpng1.6)

mkdir -p "$prefix/include/cjson" "$prefix/lib"
cc=x86_64-w64-mingw32-gcc-posix
# CJSON_EXPORT_SYMBOLS marks cJSON's public functions for the executable's export table.
for f in cJSON cJSON_Utils; do
  quiet $cc -O2 -std=c89 -DCJSON_EXPORT_SYMBOLS -c "$cjson_src/$f.c" -o "$work/$f.o"
done
x86_64-w64-mingw32-ar rcs "$prefix/lib/libcjson.a" "$work/cJSON.o"
x86_64-w64-mingw32-ar rcs "$prefix/lib/libcjson_utils.a" "$work/cJSON_Utils.o"
cp "$cjson_src/cJSON.h" "$cjson_src/cJSON_Utils.h" "$prefix/include/cjson/"

cd "$png_src"
quiet ./configure --host=x86_64-w64-mingw32 --prefix="$prefix" --disable-shared --enable-static \
    CC=$cc CPPFLAGS="-I/usr/x86_64-w64-mingw32/include" LDFLAGS="-L/usr/x86_64-w64-mingw32/lib"
quiet make -j"$(nproc)" install
cd "$work"
touch "$prefix/.complete"
echo "$prefix"
