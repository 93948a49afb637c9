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

# The game's shown windows but its balloons, which come and go during the countdown.
shown() {
  for window in $(xdotool search --onlyvisible --class '^noruka-keisan$'); do
    [ "$(xdotool getwindowname "$window" 2>/dev/null)" = MakeRGNTalkWindowTitle ] || echo "$window"
  done | wc -l
}

start_game "$install/noruka-keisan"
xdotool key Return
wait_until eval '! prompt_shown' || { echo "the time attack did not start"; exit 1; }
before_menu=$(shown)
xdotool mousemove 340 722 click 3  # the cursor's box, over cells 0 and 1
wait_until eval '[ "$(shown)" -gt "$before_menu" ]' || { echo "no menu"; exit 1; }
xdotool key Up Return  # from no selection up to the last item, and choose it
wait_for_exit

after=$(windows)
[ "$after" -eq "$before" ] || { echo "$((after - before)) windows left behind"; exit 1; }
[ ! -e "$install/noruka-keisan.ini" ] || { echo "a score was recorded"; exit 1; }
rm -rf "$install"
echo "ended with status 0 from the menu, no window left, no score"
