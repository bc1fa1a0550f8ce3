#!/usr/bin/env bash
# A day of polling: soak.sh [POLLS] (86400 by default, one a second for a day,
# driven as fast as the program answers). Prints what the program holds at
# the start, every 10,000 polls and at the end; fails when any figure grew.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
polls=${1:-86400}
"$here/scripts/setup.sh"
"$here/scripts/build.sh" x86_64 corvalin-soak corvalin-e2e hang-service
session=$here/build/x86_64
trap '"$here/scripts/wine-session.sh" stop "$session"' EXIT
"$here/scripts/wine-session.sh" start "$session" >/dev/null
"$here/scripts/wine-run" "$session/bin/corvalin-soak.exe" "$polls"
