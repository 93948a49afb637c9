# Shared by the X-server tests: start the game and wait for its start prompt.
# Sets GAME_PID; the caller passes the executable.

start_game() {
  "$1" &
  GAME_PID=$!
  trap 'kill "$GAME_PID" 2>/dev/null || true' EXIT
  for _ in $(seq 100); do
    xdotool search --name '^MakeRGNTalkWindowTitle$' >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "no start prompt"
  return 1
}

# Ends the game with ESC and checks its exit status.
quit_game() {
  xdotool key Escape
  local status=0
  wait "$GAME_PID" || status=$?
  trap - EXIT
  [ "$status" -eq 0 ] || { echo "exit status $status"; return 1; }
}
