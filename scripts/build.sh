#!/usr/bin/env bash
# Configures and builds one architecture: build.sh x86_64|i686 [targets...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
arch=$1; shift
dir=$here/build/$arch
launcher=()
if command -v ccache >/dev/null; then
  # Paths below the checkout are hashed relative to it, and the working folder
  # is left out, so every clone and worktree of the machine shares one cache.
  export CCACHE_BASEDIR=$here CCACHE_NOHASHDIR=1
  export CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-8G}
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
extra=()
if [ "$arch" = i686 ]; then
  # The 32-bit build is compiled and linked, never run or debugged here: the
  # same optimisation (and so the same warnings) without debug information
  # keeps its objects and links small.
  extra=(-DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG")
fi
# Configure every time: new folders are picked up only by a fresh configure.
cmake -S "$here" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/toolchain-$arch.cmake" "${launcher[@]}" "${extra[@]}" \
    >"$here/build/configure-$arch.log" 2>&1 \
    || { tail -40 "$here/build/configure-$arch.log"; exit 1; }
if [ $# -gt 0 ]; then
  cmake --build "$dir" -j"$(nproc)" --target "$@"
else
  cmake --build "$dir" -j"$(nproc)"
fi
