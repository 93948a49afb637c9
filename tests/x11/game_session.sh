# Shared by the X-server tests: start the game and wait for its start prompt, press keys the
# moment it shows, and wait a bounded time for the game to end. Sets GAME_PID; the caller passes
# the executable.

# Waits up to 20 s for a command to succeed.
wait_until() {
  for _ in $(seq 200); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

prompt_shown() {
  xdotool search --onlyvisible --name '^MakeRGNTalkWindowTitle$' >/dev/null 2>&1
}

start_game() {
  "$1" &
  GAME_PID=$!
  trap 'kill "$GAME_PID" 2>/dev/null || true' EXIT
  wait_until prompt_shown || { echo "no start prompt"; return 1; }
}

# The game's exit status, once it has ended; fails when it is still running after 20 s.
wait_for_exit() {
  wait_until eval '! kill -0 "$GAME_PID" 2>/dev/null' || { echo "the game did not end"; return 1; }
  local status=0
  wait "$GAME_PID" || status=$?
  trap - EXIT
  [ "$status" -eq 0 ] || { echo "exit status $status"; return 1; }
}

# Ends the game with ESC and checks its exit status.
quit_game() {
  xdotool key Escape
  wait_for_exit
}
