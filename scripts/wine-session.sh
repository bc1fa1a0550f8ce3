#!/usr/bin/env bash
# Starts or stops the Wine session of one build tree: a Wine prefix under it,
# an Xvfb display (unless told to use $DISPLAY) and a persistent wineserver.
#   wine-session.sh start BUILD_DIR [--use-display]   writes BUILD_DIR/wine-session.env
#   wine-session.sh stop BUILD_DIR
# Every process started here has its output redirected to files, so none of
# them holds the caller's standard output open.
set -euo pipefail
cmd=$1
build=$(mkdir -p "$2" && cd "$2" && pwd)
envfile=$build/wine-session.env
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=$build/wineprefix
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
{ export LC_ALL=zh_CN.UTF-8 LANG=zh_CN.UTF-8; } 2>/dev/null

stop() {
  if [ -f "$envfile" ]; then
    # shellcheck disable=SC1090
    . "$envfile"
    wineserver -k >/dev/null 2>&1 || true
    [ -n "${CORVALIN_XVFB_PID:-}" ] && kill "$CORVALIN_XVFB_PID" >/dev/null 2>&1 || true
    rm -f "$envfile"
  fi
}

case "$cmd" in
stop) stop; exit 0 ;;
start) ;;
*) echo "usage: $0 start|stop BUILD_DIR [--use-display]" >&2; exit 2 ;;
esac

stop
xvfb_pid=
if [ "${3:-}" = "--use-display" ] && [ -n "${DISPLAY:-}" ]; then
  display=$DISPLAY
else
  # Pick a display number nobody uses.
  n=90
  while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
  display=:$n
  Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >"$build/xvfb.log" 2>&1 </dev/null &
  xvfb_pid=$!
  for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
fi
export DISPLAY=$display

if [ ! -f "$WINEPREFIX/.corvalin-ready" ]; then
  wineboot -i >"$build/wineboot.log" 2>&1 </dev/null || true
  wineserver -w
  # GDI+ finds the Chinese font names only when the prefix maps them.
  regfile=$build/fonts.reg
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"宋体"="WenQuanYi Micro Hei"\r\n"SimSun"="WenQuanYi Micro Hei"\r\n"NSimSun"="WenQuanYi Micro Hei"\r\n"新宋体"="WenQuanYi Micro Hei"\r\n"微软雅黑"="WenQuanYi Micro Hei"\r\n' \
    | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$regfile"
  wine regedit /S "$(winepath -w "$regfile")" >/dev/null 2>&1 </dev/null || true
  wineserver -w
  touch "$WINEPREFIX/.corvalin-ready"
fi

wineserver -p >/dev/null 2>&1 </dev/null
# Without a window manager, Wine waits two seconds for every destroyed task-bar
# window to be withdrawn; on our own Xvfb the windows are left unmanaged.
if [ -n "$xvfb_pid" ]; then
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null || true
else
  wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 </dev/null || true
fi
# A crashing program ends at once, its "Unhandled page fault" line shown,
# instead of waiting on winedbg (seen to hang for good on a busy machine).
# Without the value Wine starts winedbg anyway; a debugger that cannot be
# found ends the process.
wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d 'no-debugger.exe %ld %ld' /f >/dev/null 2>&1 </dev/null || true
# Wine's background services inherit the first program's output; start them
# here with theirs redirected, so a test runner's pipe is never held open.
wine cmd /c exit >/dev/null 2>&1 </dev/null || true

cat >"$envfile" <<EOT
export WINEPREFIX='$WINEPREFIX'
export WINEARCH=win64
export WINEDEBUG='$WINEDEBUG'
export WINEDLLOVERRIDES='mscoree,mshtml='
{ export LC_ALL=zh_CN.UTF-8 LANG=zh_CN.UTF-8; } 2>/dev/null
export DISPLAY='$display'
CORVALIN_XVFB_PID='$xvfb_pid'
EOT
echo "wine session ready on $display ($WINEPREFIX)"
