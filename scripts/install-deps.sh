#!/usr/bin/env bash
# Installs the Debian packages both builds and the tests need, only when some are missing.
set -euo pipefail

packages=(
  cmake g++ make ccache pkg-config dpkg-dev
  libgtest-dev googletest libbenchmark-dev
  libcjson-dev libpng-dev zlib1g-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 libz-mingw-w64-dev
  wine wine64 xvfb xdotool x11-apps x11-utils xclip imagemagick python3
  nsis zip
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}" >/dev/null
fi
