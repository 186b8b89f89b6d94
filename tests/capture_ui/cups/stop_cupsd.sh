#!/bin/sh
# Stops the tests' print server started by start_cupsd.sh in DIR (only that process) and
# removes its folder.
#   stop_cupsd.sh DIR
dir=$1
if [ -f "$dir/cupsd.pid" ]; then
  pid=$(cat "$dir/cupsd.pid")
  kill "$pid" 2>/dev/null
  i=0
  while kill -0 "$pid" 2>/dev/null && [ $i -lt 50 ]; do
    sleep 0.1
    i=$((i + 1))
  done
fi
rm -rf "$dir"
exit 0
