#!/usr/bin/env bash
# Saves a PNG of the running program's windows: screenshot.sh OUT.png [BUILD_DIR]
# The picture is the part of the screen that the Corvalin windows cover.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=$1
session=${2:-$here/build/x86_64}
[ -f "$session/wine-session.env" ] && . "$session/wine-session.env" 2>/dev/null
python3 "$here/scripts/window_shot.py" "$out"
