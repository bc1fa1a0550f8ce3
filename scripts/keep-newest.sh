#!/usr/bin/env bash
# keep-newest.sh DIR COUNT: removes all but the COUNT newest screen-*.png in
# DIR. Their names carry the date and time, so name order is time order;
# latest.png and anything else in DIR are left alone.
set -euo pipefail
dir=$1 count=$2
ls -1 "$dir" | grep '^screen-.*\.png$' | sort -r | tail -n +$((count + 1)) | while read -r old; do
  rm -f "$dir/$old"
done
