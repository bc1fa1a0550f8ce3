#!/usr/bin/env bash
# Takes the README's two pictures of the page engine, each of the page-driver's
# window shown on the X display: the local hang service's page, and a rich page
# (tables, images, styled text) served from this checkout on loopback.
#   page-screenshots.sh [OUT_DIR]    (docs/ by default)
# Every process started here (the session when it was not running, the hang
# service, the page server, the driver) is ended before it returns.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "${1:-$here/docs}" && cd "${1:-$here/docs}" && pwd)
session=$here/build/x86_64
bin=$session/bin
"$here/scripts/build.sh" x86_64 page-driver hang-service >/dev/null

own_session=0
if [ ! -f "$session/wine-session.env" ]; then
  "$here/scripts/wine-session.sh" start "$session" >/dev/null
  own_session=1
fi
. "$session/wine-session.env"
pids=()
driver_pid=
cleanup() {
  [ -n "$driver_pid" ] && kill "$driver_pid" >/dev/null 2>&1 || true
  for p in "${pids[@]}"; do kill "$p" >/dev/null 2>&1 || true; done
  [ "$own_session" = 1 ] && "$here/scripts/wine-session.sh" stop "$session"
  return 0
}
trap cleanup EXIT

portfile=$session/page-shots-service.port
rm -f "$portfile"
wine "$bin/hang-service.exe" --port-file "$(winepath -w "$portfile")" >"$session/page-shots-service.log" 2>&1 </dev/null &
pids+=($!)
pagelog=$session/page-shots-server.log
python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$here" >"$pagelog" 2>&1 </dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$portfile" ] && grep -q "port" "$pagelog" && break; sleep 0.1; done
service="http://127.0.0.1:$(tr -d '\r\n' <"$portfile")/"
pages="http://127.0.0.1:$(sed -n 's/.* port \([0-9]*\).*/\1/p' "$pagelog" | head -1)"

# The driver answers each line with one line of JSON; the window is grabbed
# from the screen between lines.
coproc DRIVER { exec wine "$bin/page-driver.exe" --visible 2>"$session/page-shots-driver.log"; }
driver_pid=$DRIVER_PID
run() {
  echo "$1" >&"${DRIVER[1]}"
  local answer
  read -r -t 60 answer <&"${DRIVER[0]}" || { echo "page-driver gave no answer to: $1" >&2; exit 1; }
  case $answer in *'"error"'*) echo "page-driver: $answer" >&2; exit 1 ;; esac
}
shot() {
  run "wait 500"
  python3 "$here/scripts/window_shot.py" "$1" page-driver
  echo "wrote $1"
}
run "load $pages/scripts/page-screenshots/rich_page.html"   # shown once, so its own link is visited
run "load $service"
shot "$out/browser_box_service_page.png"
run "load $pages/scripts/page-screenshots/rich_page.html"
shot "$out/browser_box_rich_page.png"
run "quit"
wait "$driver_pid" 2>/dev/null || true
driver_pid=
