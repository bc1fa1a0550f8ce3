#!/usr/bin/env bash
# Builds Corvalin and opens it: on $DISPLAY when there is one, otherwise on an
# Xvfb whose screen is saved to build/screenshots/ every second. The local
# hang service runs beside it and stops when Corvalin ends.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/setup.sh"
"$here/scripts/build.sh" x86_64
session=$here/build/x86_64
bin=$session/bin
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" >/dev/null 2>&1 || true; done
  "$here/scripts/wine-session.sh" stop "$session"
}
trap cleanup EXIT
if [ -n "${DISPLAY:-}" ]; then
  "$here/scripts/wine-session.sh" start "$session" --use-display
else
  "$here/scripts/wine-session.sh" start "$session"
  mkdir -p "$here/build/screenshots"
  echo "no display: screenshots go to build/screenshots/ every second"
  ( . "$session/wine-session.env" 2>/dev/null
    while sleep 1; do
      import -window root "$here/build/screenshots/screen-$(date +%H%M%S).png" >/dev/null 2>&1 || true
    done ) >/dev/null 2>&1 </dev/null &
  pids+=($!)
fi
. "$session/wine-session.env" 2>/dev/null

if [ -f "$bin/hang-service.exe" ]; then
  wine "$bin/hang-service.exe" >"$session/hang-service.log" 2>&1 </dev/null &
  pids+=($!)
fi
wine "$bin/corvalin.exe" >"$session/corvalin.log" 2>&1 </dev/null
