#!/usr/bin/env bash
# Retakes the program's screenshots: the real corvalin.exe of build/x86_64
# against the local hang service (test control on, so the captcha picture's
# download can be held back), on the Wine session's Xvfb, driven through the X
# display's input. Writes into OUT_DIR (default docs/):
#   main_window.png                   after the service page loaded
#   main_window_captcha_loading.png   the captcha layout while the picture's download is held back
#   main_window_captcha.png           the captcha layout with its picture
#   main_window_dragged.png           the captcha layout after a drag by the caption, kept only
#                                     when it differs from main_window_captcha.png
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
# The Chinese locale is Wine's alone (it gives the programs code page 936);
# this shell and its helpers keep a locale the system has.
export LC_ALL=C.UTF-8 LANG=C.UTF-8
chinese=(env LC_ALL=zh_CN.UTF-8 LANG=zh_CN.UTF-8)
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
"${chinese[@]}" wine "$bin/hang-service.exe" --test-control --port-file "$(winepath -w "$portfile")" \
  >"$session/screenshots-service.log" 2>&1 </dev/null &
pids+=($!)
wait_for 20 test -s "$portfile"   # the service writes its port once it listens
service=http://127.0.0.1:$(tr -d '\r\n' <"$portfile")
sessions() { curl -s "$service/test/sessions"; }
stalled() { curl -s "$service/test/captcha-stall"; }

"${chinese[@]}" wine "$bin/corvalin.exe" >"$session/screenshots-corvalin.log" 2>&1 </dev/null &
pids+=($!)
main_at() { input window Corvalin; }
main_shown() { test -n "$(main_at)"; }
page_loaded() { test -n "$(sessions)"; }   # the service knows the page's session
dialog_shown() { test -n "$(input window '友情提示：')"; }
wait_for 60 main_shown
wait_for 30 page_loaded
read -r mx my mw mh < <(main_at)
sleep 1   # the status line shows the page's first answer
shot main_window.png

# The main window's client coordinates are its screen place plus the form's.
input click $((mx + 120)) $((my + 95))
input type 12345678
input click $((mx + 120)) $((my + 128))
input type secret
# Held back for 8 s, inside the program's 10-second deadline for the picture.
curl -s -o /dev/null -d ms=8000 "$service/test/captcha-stall"
input click $((mx + 71)) $((my + 176))
captcha_layout() { read -r _ _ _ h < <(main_at) && [ "$h" = 260 ]; }
wait_for 10 captcha_layout
held() { test "$(stalled)" -ge 1 2>/dev/null; }
released() { test "$(stalled)" = 0; }
wait_for 10 held
shot main_window_captcha_loading.png
held || echo "warning: the download returned before the shot" >&2
curl -s -o /dev/null -d ms=0 "$service/test/captcha-stall"
wait_for 20 released
sleep 1   # the picture is decoded and drawn
shot main_window_captcha.png

# A drag by the caption, away from its buttons.
input drag $((mx + 150)) $((my + 10)) $((mx + 230)) $((my + 70))
moved() { read -r x _ _ _ < <(main_at) && [ "$x" != "$mx" ]; }
wait_for 10 moved
echo "dragged from $mx,$my to $(main_at)"
sleep 1
shot main_window_dragged.png
if cmp -s "$out/main_window_dragged.png" "$out/main_window_captcha.png"; then
  echo "after the drag: the same pixels as before it (removed)"
  rm -f "$out/main_window_dragged.png"
fi

read -r mx my mw mh < <(main_at)
input click $((mx + 120)) $((my + 95))
input key Escape
wait_for 10 dialog_shown
sleep 1
shot exit_confirm_window.png
input key n
