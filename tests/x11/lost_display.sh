#!/usr/bin/env bash
# The game loses its X display, once because the X server ends and once because its window's
# connection is killed. Each time it says so in one line and ends with status 1, and its
# settings file stays as it was. Each case has an X server of its own, which it may kill.
set -euo pipefail
game=$1

work=$(mktemp -d)
server=""
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work
# A copy of its own, so that the settings file beside it is this test's.
ln "$game" "$work/noruka-keisan" 2>/dev/null || cp "$game" "$work/noruka-keisan"
printf '[Data]\nHISCORE1=37,,2024/01/05 09:03:07\n' >"$work/noruka-keisan.ini"
cp "$work/noruka-keisan.ini" "$work/expected.ini"

start_server() {
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
  server=$!
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$work/display")"
  rm "$work/display"
}

# Starts the game, waits for its start prompt, cuts it off (the server ended or the window
# killed), and checks how it ended.
lose_display() {
  start_server
  "$work/noruka-keisan" 2>"$work/stderr" &
  local game_pid=$! prompt=""
  for _ in $(seq 100); do
    prompt=$(xdotool search --name '^MakeRGNTalkWindowTitle$' 2>/dev/null | head -n1) && \
      [ -n "$prompt" ] && break
    sleep 0.1
  done
  [ -n "$prompt" ] || { echo "$1: no start prompt"; kill "$game_pid"; return 1; }
  case $1 in
    server) kill "$server" ;;
    window) xdotool windowkill "$prompt" ;;
  esac
  local status=0
  wait "$game_pid" || status=$?
  kill "$server" 2>/dev/null || true
  wait "$server" 2>/dev/null || true
  server=""
  [ "$status" -eq 1 ] || { echo "$1: exit status $status"; cat "$work/stderr"; return 1; }
  [ "$(wc -l <"$work/stderr")" -eq 1 ] || { echo "$1: said"; cat "$work/stderr"; return 1; }
  grep -q 'connection to the X display was lost' "$work/stderr" ||
    { echo "$1: said"; cat "$work/stderr"; return 1; }
  cmp -s "$work/noruka-keisan.ini" "$work/expected.ini" ||
    { echo "$1: the settings file changed"; return 1; }
  echo "$1 lost: $(cat "$work/stderr"), status 1"
}

lose_display server
lose_display window
