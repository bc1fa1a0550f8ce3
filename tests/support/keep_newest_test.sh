#!/usr/bin/env bash
# make run's screenshot folder keeps the newest 60 shots across a day boundary,
# and nothing else in the folder is touched.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
# 70 shots from 23:59:00 on one day into the next, written in a shuffled order.
for i in $(seq 0 69); do
  if [ "$i" -lt 60 ]; then name=screen-20261208-2359$(printf %02d "$i").png
  else name=screen-20261209-0000$(printf %02d $((i - 60))).png; fi
  echo "$i" >"$dir/$name"
done
touch "$dir/latest.png" "$dir/notes.txt"
"$here/scripts/keep-newest.sh" "$dir" 60
shots=$(ls -1 "$dir" | grep -c '^screen-' || true)
[ "$shots" -eq 60 ] || { echo "kept $shots shots, not 60"; exit 1; }
for gone in screen-20261208-235900.png screen-20261208-235909.png; do
  [ ! -e "$dir/$gone" ] || { echo "$gone, among the oldest, was kept"; exit 1; }
done
for kept in screen-20261208-235910.png screen-20261209-000009.png latest.png notes.txt; do
  [ -e "$dir/$kept" ] || { echo "$kept was removed"; exit 1; }
done
# A second pass over a full folder removes nothing.
"$here/scripts/keep-newest.sh" "$dir" 60
[ "$(ls -1 "$dir" | grep -c '^screen-')" -eq 60 ] || { echo "a second pass removed shots"; exit 1; }
echo "kept the newest 60 screenshots"
