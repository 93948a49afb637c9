#!/usr/bin/env bash
# The real game under the test's X server: ESC at the start prompt ends it with status 0 and
# leaves no window behind.
set -euo pipefail
game=$1

windows() { xwininfo -root -children | grep -c '^ *0x' || true; }
before=$(windows)

"$game" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

for _ in $(seq 100); do
  xdotool search --name '^MakeRGNTalkWindowTitle$' >/dev/null 2>&1 && break
  sleep 0.1
done
xdotool search --name '^MakeRGNTalkWindowTitle$' >/dev/null || { echo "no start prompt"; exit 1; }

xdotool key Escape
status=0
wait "$pid" || status=$?
trap - EXIT
[ "$status" -eq 0 ] || { echo "exit status $status"; exit 1; }

after=$(windows)
[ "$after" -eq "$before" ] || { echo "$((after - before)) windows left behind"; exit 1; }
echo "ended with status 0, no window left"
