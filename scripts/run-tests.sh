#!/usr/bin/env bash
# The whole test suite: set-up, both architectures built, every test run
# under Wine in one Xvfb and one persistent wineserver.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/setup.sh"
"$here/scripts/build.sh" i686      # 32-bit: compiled and linked only
"$here/scripts/build.sh" x86_64
session=$here/build/x86_64
trap '"$here/scripts/wine-session.sh" stop "$session"' EXIT
"$here/scripts/wine-session.sh" start "$session"
cd "$session"
status=0
ctest --output-on-failure --timeout 900 "$@" || status=$?
if [ "$status" -ne 0 ]; then
    # A long log is often shown only by its ends: repeat what failed last.
    echo "== what failed =="
    grep -a -A8 -E ': Failure$|^\[  FAILED  \]' Testing/Temporary/LastTest.log | head -200 || true
fi
exit "$status"
