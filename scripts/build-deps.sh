#!/usr/bin/env bash
# Cross-builds libjpeg-turbo and libxml2 for one architecture from Debian's
# source packages, and copies the header-only cpp-httplib and nlohmann-json.
# Results are cached per user; build/deps/<arch> links to the cache.
set -euo pipefail
arch=$1                      # x86_64 or i686
here=$(cd "$(dirname "$0")/.." && pwd)
cache=${CORVALIN_DEPS_CACHE:-$HOME/.cache/corvalin/deps}
src=$cache/src
prefix=$cache/$arch-v2   # bump when a dependency or its patches change
mkdir -p "$src" "$here/build/deps"

fetch() {   # fetch NAME: unpacks Debian's source package NAME into $src/NAME
  local name=$1
  if [ ! -d "$src/$name" ]; then
    local tmp; tmp=$(mktemp -d)
    (cd "$tmp" && apt-get source -qq "$name" >/dev/null 2>&1) || { echo "build-deps: cannot fetch $name" >&2; exit 1; }
    local dir; dir=$(find "$tmp" -maxdepth 1 -mindepth 1 -type d | head -n1)
    mv "$dir" "$src/$name"
    rm -rf "$tmp"
  fi
}

patch_source() {   # patch_source NAME PATCH: applies scripts/patches/NAME-PATCH.patch once
  local name=$1 patch=$2
  if [ ! -f "$src/$name/.patched-$patch" ]; then
    patch -d "$src/$name" -p1 -s <"$here/scripts/patches/$name-$patch.patch" || { echo "build-deps: cannot patch $name" >&2; exit 1; }
    touch "$src/$name/.patched-$patch"
  fi
}

cmake_build() {   # cmake_build NAME ARGS...
  local name=$1; shift
  local b=$cache/build-$arch-$name
  rm -rf "$b"
  cmake -S "$src/$name" -B "$b" -G "Unix Makefiles" \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/toolchain-$arch.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" "$@" >"$b.log" 2>&1 || { tail -30 "$b.log"; exit 1; }
  cmake --build "$b" -j"$(nproc)" >>"$b.log" 2>&1 || { tail -30 "$b.log"; exit 1; }
  cmake --install "$b" >>"$b.log" 2>&1
  rm -rf "$b"
}

if [ ! -f "$prefix/.complete" ]; then
  fetch libjpeg-turbo
  fetch libxml2
  fetch cpp-httplib
  patch_source libxml2 attribute-index
  echo "build-deps: building libjpeg-turbo for $arch"
  cmake_build libjpeg-turbo -DENABLE_SHARED=OFF -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF
  echo "build-deps: building libxml2 for $arch"
  cmake_build libxml2 -DBUILD_SHARED_LIBS=OFF -DLIBXML2_WITH_ICONV=OFF -DLIBXML2_WITH_LZMA=OFF \
    -DLIBXML2_WITH_ZLIB=OFF -DLIBXML2_WITH_PYTHON=OFF -DLIBXML2_WITH_TESTS=OFF -DLIBXML2_WITH_PROGRAMS=OFF
  mkdir -p "$prefix/include"
  cp "$src/cpp-httplib/httplib.h" "$prefix/include/httplib.h"
  touch "$prefix/.complete"
fi
# nlohmann's json.hpp includes its detail headers: copy the whole folder.
mkdir -p "$prefix/include/nlohmann"
cp -r /usr/include/nlohmann/. "$prefix/include/nlohmann/"
ln -sfn "$prefix" "$here/build/deps/$arch"
