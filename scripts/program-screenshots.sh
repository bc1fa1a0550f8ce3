#!/usr/bin/env bash
# Retakes the program's screenshots: the real corvalin.exe of build/x86_64
# against the local hang service (test control on, so the captcha picture's
# download can be held back), on the Wine session's Xvfb, driven through the X
# display's input. Writes into OUT_DIR (default docs/):
#   main_window.png                   after the service page loaded
#   main_window_captcha_loading.png   the captcha layout while the picture's download is held back
#   main_window_captcha.png           the captcha layout with its picture
#   main_window_dragged.png           the captcha layout after a drag by the caption
#   exit_confirm_window.png           the exit confirmation over the main window
# Every process it starts is ended before it returns.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "${1:-$here/docs}" && cd "${1:-$here/docs}" && pwd)
session=$here/build/x86_64
bin=$session/bin
for exe in corvalin.exe hang-service.exe; do
  [ -f "$bin/$exe" ] || { echo "build $exe first: scripts/build.sh x86_64 corvalin hang-service" >&2; exit 1; }
done

pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" >/dev/null 2>&1 || true; done
  "$here/scripts/wine-session.sh" stop "$session"
}
trap cleanup EXIT
"$here/scripts/wine-session.sh" start "$session"
. "$session/wine-session.env" 2>/dev/null
input() { python3 "$here/scripts/x_input.py" "$@"; }
shot() { python3 "$here/scripts/window_shot.py" "$out/$1"; echo "$out/$1"; }
# Polls a condition every 0.1 s for up to $1 seconds.
wait_for() {
  local limit=$1; shift
  for _ in $(seq $((limit * 10))); do "$@" && return 0; sleep 0.1; done
  echo "gave up waiting for: $*" >&2
  return 1
}

portfile=$session/screenshots-service.port
rm -f "$portfile"
wine "$bin/hang-service.exe" --test-control --port-file "$(winepath -w "$portfile")" \
  >"$session/screenshots-service.log" 2>&1 </dev/null &
pids+=($!)
wait_for 20 test -s "$portfile"
service=http://127.0.0.1:$(tr -d '\r\n' <"$portfile")
sessions() { curl -s "$service/test/sessions"; }
stalled() { curl -s "$service/test/captcha-stall"; }

wine "$bin/corvalin.exe" >"$session/screenshots-corvalin.log" 2>&1 </dev/null &
pids+=($!)
main_at() { input window Corvalin; }
wait_for 60 test -n "$(main_at)"
# The page has loaded once the service knows its session.
wait_for 30 test -n "$(sessions)"
read -r mx my mw mh < <(main_at)
sleep 1   # the status line shows the page's first answer
shot main_window.png

# The main window's client coordinates are its screen place plus the form's.
input click $((mx + 120)) $((my + 95))
input type 12345678
input click $((mx + 120)) $((my + 128))
input type secret
curl -s -o /dev/null -d ms=6000 "$service/test/captcha-stall"
input click $((mx + 71)) $((my + 176))
captcha_layout() { read -r _ _ _ h < <(main_at) && [ "$h" = 260 ]; }
wait_for 10 captcha_layout
wait_for 10 test "$(stalled)" -ge 1
sleep 1   # well inside the held-back download
shot main_window_captcha_loading.png
test "$(stalled)" -ge 1 || echo "warning: the download returned before the shot" >&2
curl -s -o /dev/null -d ms=0 "$service/test/captcha-stall"
wait_for 20 test "$(stalled)" = 0
sleep 1   # the picture is decoded and drawn
shot main_window_captcha.png

# A drag by the caption, away from its buttons.
input drag $((mx + 150)) $((my + 10)) $((mx + 230)) $((my + 70))
moved() { read -r x _ _ _ < <(main_at) && [ "$x" != "$mx" ]; }
wait_for 10 moved
sleep 1
shot main_window_dragged.png

read -r mx my mw mh < <(main_at)
input click $((mx + 120)) $((my + 95))
input key Escape
wait_for 10 test -n "$(input window '友情提示：')"
sleep 1
shot exit_confirm_window.png
input key n
