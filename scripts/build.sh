#!/usr/bin/env bash
# Configures and builds one architecture: build.sh x86_64|i686 [targets...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
arch=$1; shift
dir=$here/build/$arch
# Configure every time: new folders are picked up only by a fresh configure.
cmake -S "$here" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/toolchain-$arch.cmake" >"$here/build/configure-$arch.log" 2>&1 \
    || { tail -40 "$here/build/configure-$arch.log"; exit 1; }
if [ $# -gt 0 ]; then
  cmake --build "$dir" -j"$(nproc)" --target "$@"
else
  cmake --build "$dir" -j"$(nproc)"
fi
