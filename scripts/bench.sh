#!/usr/bin/env bash
# Builds and runs every benchmark under Wine: bench.sh [name-filter]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/build.sh" x86_64 benches
session=$here/build/x86_64
trap '"$here/scripts/wine-session.sh" stop "$session"' EXIT
"$here/scripts/wine-session.sh" start "$session"
for b in "$session"/bin/*_bench.exe; do
  case "$(basename "$b")" in *${1:-}*) ;; *) continue ;; esac
  name=$(basename "$b")
  echo "== $name"
  status=0
  "$here/scripts/wine-run" "$b" || status=$?
  [ "$status" = 0 ] || echo "== $name ended with exit code $status"
done
