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
  echo "== $(basename "$b")"
  "$here/scripts/wine-run" "$b" || echo "== $(basename "$b") ended with exit code $?"
done
