#!/usr/bin/env python3
"""Plays time attacks of the real game at a player's pace, so that its history holds a played
session: the screen-reading player of the tests, a second or so between answers, learning the
digits as it goes (its early guesses are the session's wrong presses).

Usage: play-session.py GAME_EXECUTABLE ATTACKS  (on the current X display; the history is kept
beside the executable, which this starts and ends)
"""
import os
import random
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "x11"))
from quick_player import Player  # noqa: E402
from xgame import Failure, Screen, fail  # noqa: E402


class PacedPlayer(Player):
    """A player who takes between 0.6 and 1.4 s for an answer."""

    def answer(self, digit, pair, left, right, known):
        self.gap = random.uniform(0.6, 1.4)
        return super().answer(digit, pair, left, right, known)


def main():
    game, attacks = sys.argv[1], int(sys.argv[2])
    screen = Screen()
    process = subprocess.Popen([game], stderr=subprocess.DEVNULL)
    try:
        screen.track(process.pid)
        prompt = screen.wait_balloon()
        for attack in range(attacks):
            screen.tap("Return", 0.08)
            since = screen.wait_gone(prompt)
            for _ in range(2):  # "Ready..." and "GO!"
                since = screen.wait_gone(screen.wait_balloon(since), 5)
            player = PacedPlayer(screen)
            score = screen.wait_balloon(player.play(since))
            print("time attack %d: %d correct answers" % (attack + 1, player.answers))
            screen.tap("Return", 0.08)
            prompt = screen.wait_balloon(screen.wait_gone(score))
        screen.tap("Escape", 0.08)
        process.wait(timeout=10)
    except Failure as failure:
        fail(failure)
    finally:
        if process.poll() is None:
            process.kill()


if __name__ == "__main__":
    main()
