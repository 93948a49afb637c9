#!/usr/bin/env python3
"""ENTER and ESC pressed on the start prompt the moment its balloon is mapped and the moment its
pixels show, as 30 ms and as 4 ms taps, each on a fresh start of the real game: every press
counts. ENTER starts the countdown ("Ready..." shows); ESC ends the game with status 0 and
leaves no window of it behind.

Usage: keys_at_prompt.py GAME_EXECUTABLE [ROUNDS]
"""
import sys

from xgame import Failure, Game, Screen, fail

TAPS = [(key, hold, drawn) for key in ("Return", "Escape") for hold in (0.03, 0.004)
        for drawn in (False, True)]


def press_on_prompt(screen, game, key, hold, drawn):
    """Starts the game and taps the key on its prompt; returns whether the game took it."""
    screen.track(game.start())
    prompt = screen.wait_balloon(len(screen.log), drawn=drawn)
    screen.tap(key, hold)
    gone = screen.wait_gone(prompt)
    if not gone:
        return False
    if key == "Return":
        screen.wait_balloon(gone)  # "Ready..."
        game.stop()
        return True
    screen.expect_clean_exit(game, "ESC")
    return True


def main():
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    screen = Screen()
    game = Game(sys.argv[1])
    lost = {tap: 0 for tap in TAPS}
    try:
        for _ in range(rounds):
            for tap in TAPS:
                if not press_on_prompt(screen, game, *tap):
                    lost[tap] += 1
                    game.stop()
    except Failure as failure:
        fail(failure)
    finally:
        game.close()
    report = ", ".join("%s %d ms %s: %d of %d lost" % (key, hold * 1000,
                                                        "drawn" if drawn else "mapped",
                                                        lost[key, hold, drawn], rounds)
                       for key, hold, drawn in TAPS)
    if any(lost.values()):
        fail(report)
    print(report)


if __name__ == "__main__":
    main()
