#!/usr/bin/env bash
# A screenshot of the start prompt on a 1024 x 768 screen with a white desktop: the outlines
# of a cell, the cursor's arrow and the balloon's tail, where the shapes put them.
set -euo pipefail
. "$(dirname "$0")/game_session.sh"

shot=$(mktemp --suffix=.png)
start_game "$1"
sleep 0.3
import -window root "$shot"
quit_game

failures=0
expect() {  # x y colour what
  local got
  got=$(convert "$shot" -format "%[hex:p{$1,$2}]" info: | cut -c1-6)
  if [ "$got" != "$3" ]; then
    echo "($1,$2) $4: expected $3, got $got"
    failures=$((failures + 1))
  fi
}
# Cells: 20 x 18 px centred (left 332), resting on the bottom edge (top 750).
expect 333 751 FFFFFF "cell 0, cut corner"
expect 334 751 000000 "cell 0, rim"
expect 337 755 C0C0C0 "cell 0, face"
expect 349 758 FFFFFF "gap between cells 0 and 1"
expect 351 758 000000 "cell 1, rim"
# Cursor: 34 x 35 px at (332, 715).
expect 333 716 C0C0C0 "cursor, box corner"
expect 340 732 FFFFFF "cursor, row 17 between box and arrow"
expect 349 746 FF0000 "cursor, arrow tip"
expect 347 746 FFFFFF "cursor, beside the arrow tip"
# Balloon: tail tip at the cursor's top right corner, (366, 714).
expect 366 714 000000 "balloon, tail tip"
expect 369 714 FFFFFF "balloon, beside the tail"
expect 366 712 FFFFFF "balloon, left of the round end"
expect 367 712 000000 "balloon, rim of the round end"
rm -f "$shot"
[ "$failures" -eq 0 ] && echo "outline pixels as the shapes give them"
