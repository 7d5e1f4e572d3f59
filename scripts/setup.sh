#!/usr/bin/env bash
# Installs what building and testing Zendrel needs on Debian 12 (run as root),
# and fetches libpng's source for the Windows cross build. Safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake ninja-build pkg-config git ca-certificates dpkg-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  libpng-dev zlib1g-dev libcairo2-dev libxcb1-dev libxcb-xtest0-dev libx11-dev libsndfile1-dev
  fonts-dejavu-core imagemagick xvfb xdotool
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev
  wine wine64
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# libpng has no mingw package: its Debian source is cross-built by our own build.
dest=third_party/downloads
if ! ls $dest/libpng1.6_*.orig.tar.* >/dev/null 2>&1; then
  mkdir -p $dest
  src=/etc/apt/sources.list.d/debian.sources
  if [ -f $src ] && ! grep -q 'deb-src' $src; then
    sed -i 's/^Types: deb$/Types: deb deb-src/' $src
    apt-get update -qq
  elif [ ! -f $src ] && ! grep -qs '^deb-src' /etc/apt/sources.list; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >> /etc/apt/sources.list
    apt-get update -qq
  fi
  # Only the upstream tarball is needed; a missing Debian patch set is no error here.
  (cd $dest && apt-get source --download-only libpng1.6 >/dev/null 2>&1) || true
  if ! ls $dest/libpng1.6_*.orig.tar.* >/dev/null 2>&1; then
    echo "setup: could not fetch libpng's source (apt-get source libpng1.6); check that deb-src entries are reachable" >&2
    exit 1
  fi
fi
echo "setup: ready"
