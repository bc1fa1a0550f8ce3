#!/usr/bin/env bash
# Builds Corvalin and opens it: on $DISPLAY when there is one, otherwise on an
# Xvfb whose screen is saved to build/screenshots/ every second (the newest
# 60 are kept, named by date and time so they sort in order, and latest.png is
# always the newest). The local hang service runs beside it and stops when
# Corvalin ends.
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
  shots=$here/build/screenshots
  echo "no display: screenshots go to $shots/ every second (the newest 60 kept; latest.png is the newest)"
  ( set +e +o pipefail
    . "$session/wine-session.env" 2>/dev/null
    while sleep 1; do
      shot=$shots/screen-$(date +%Y%m%d-%H%M%S).png
      if import -window root "$shot" >/dev/null 2>&1; then
        cp -f "$shot" "$shots/latest.png.partial" && mv -f "$shots/latest.png.partial" "$shots/latest.png"
      fi
      "$here/scripts/keep-newest.sh" "$shots" 60
    done ) >/dev/null 2>&1 </dev/null &
  pids+=($!)
fi
. "$session/wine-session.env" 2>/dev/null

if [ -f "$bin/hang-service.exe" ]; then
  # Corvalin loads the service page once, at start-up: the service must be
  # listening first. It writes its port into the file once it listens.
  portfile=$session/hang-service.port
  rm -f "$portfile"
  wine "$bin/hang-service.exe" --port-file "$(winepath -w "$portfile")" \
    >"$session/hang-service.log" 2>&1 </dev/null &
  pids+=($!)
  for _ in $(seq 100); do [ -s "$portfile" ] && break; sleep 0.1; done
  [ -s "$portfile" ] || { echo "the hang service did not start:" >&2; cat "$session/hang-service.log" >&2; exit 1; }
  echo "hang service on http://127.0.0.1:$(tr -d '\r\n' <"$portfile")/ (log: $session/hang-service.log)"
fi
wine "$bin/corvalin.exe" >"$session/corvalin.log" 2>&1 </dev/null
