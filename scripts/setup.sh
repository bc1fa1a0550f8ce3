#!/usr/bin/env bash
# Prepares a Debian 12 machine (as root) for building and running Corvalin:
# apt packages, Debian's source archive, and the cross-built libraries.
# Idempotent: a second run only checks what is there.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

packages=(
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  gcc-mingw-w64-x86-64-posix gcc-mingw-w64-i686-posix mingw-w64-tools
  wine64 wine xvfb xauth fonts-wqy-microhei googletest libz-mingw-w64-dev
  nlohmann-json3-dev dpkg-dev cmake make python3 x11-apps x11-utils imagemagick ccache patch
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Source packages come from Debian's source archive.
if [ ! -f /etc/apt/sources.list.d/debian-src.sources ]; then
  sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
    > /etc/apt/sources.list.d/debian-src.sources
  apt-get update -qq
fi

for arch in x86_64 i686; do
  "$here/scripts/build-deps.sh" "$arch"
done
