#!/usr/bin/env bash
# The real game under the test's X server: ESC at the start prompt ends it with status 0 and
# leaves no window behind.
set -euo pipefail
. "$(dirname "$0")/game_session.sh"

windows() { xwininfo -root -children | grep -c '^ *0x' || true; }
before=$(windows)
start_game "$1"
quit_game
after=$(windows)
[ "$after" -eq "$before" ] || { echo "$((after - before)) windows left behind"; exit 1; }
echo "ended with status 0, no window left"
