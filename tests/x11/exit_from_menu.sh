#!/usr/bin/env bash
# The real game under the test's X server: a right-click on the cursor during a time attack
# opens the menu, and "終了" chosen with the keyboard ends the program at once with status 0,
# leaving no window and recording no score.
set -euo pipefail
. "$(dirname "$0")/game_session.sh"

install=$(mktemp -d)
cp "$1" "$install/"
windows() { xwininfo -root -children | grep -c '^ *0x' || true; }
before=$(windows)

start_game "$install/noruka-keisan"
xdotool key Return
sleep 3  # the countdown
xdotool mousemove 340 722 click 3  # the cursor's box, over cells 0 and 1
sleep 0.5
xdotool key Up  # from no selection up to the last item
sleep 0.2
xdotool key Return
status=0
wait "$GAME_PID" || status=$?
trap - EXIT
[ "$status" -eq 0 ] || { echo "exit status $status"; exit 1; }

after=$(windows)
[ "$after" -eq "$before" ] || { echo "$((after - before)) windows left behind"; exit 1; }
[ ! -e "$install/noruka-keisan.ini" ] || { echo "a score was recorded"; exit 1; }
rm -rf "$install"
echo "ended with status 0 from the menu, no window left, no score"
