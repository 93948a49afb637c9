#!/usr/bin/env python3
"""Plays two whole time attacks of the real game on the test's X server, through XTEST only, and
counts every press. Each press comes the moment a player could make it: ENTER or ESC as soon as
the balloon is mapped or its rim is on the screen, the next digit as soon as the cursor stands
over the next pair. A press the game does not answer within a few seconds is lost, and fails
the test.

1. The digits 1 to 0 typed at the start prompt, as `echo 1234567890` typed into a terminal would
   (the game reads the whole keyboard), then ENTER; nothing typed in play. The score saved is 0:
   a digit typed at the prompt is no answer. ENTER, a 30 ms tap, as the score's balloon maps.
2. ENTER, a 4 ms tap, on the next prompt; then at least 200 correct answers, each pressed 2 ms
   after the previous one was let go, every one taken; the score saved is the number of correct
   answers, stamped when play ended, and the cursor wrapped after the last pair. ENTER, a 4 ms
   tap, as the score's balloon shows; ESC, a 30 ms tap, on the next prompt ends the game with
   status 0 and no window of it left.

Usage: play_time_attack.py GAME_EXECUTABLE
"""
import os
import re
import sys
import time
from datetime import datetime

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "x11"))
from quick_player import Player  # noqa: E402
from xgame import Failure, Game, Screen, fail  # noqa: E402

MIN_ANSWERS = 200


def press_on(screen, balloon, key, hold, what):
    """Taps the key on a balloon that has just shown; fails when the game does not take it.
    Returns the point of the balloon log after the balloon went away."""
    screen.tap(key, hold)
    gone = screen.wait_gone(balloon)
    if not gone:
        raise Failure("%s, a %d ms tap, was lost on %s" % (key, hold * 1000, what))
    return gone


def countdown(screen, since):
    """Waits through "Ready..." and "GO!"; returns when play begins, with the log's point."""
    for _ in range(2):
        since = screen.wait_gone(screen.wait_balloon(since), 5)
        if not since:
            raise Failure("the countdown stands still")
    return since, time.monotonic(), datetime.now()


def high_score(game):
    match = re.search(r"^HISCORE1=(\d+),,(\d{4}/\d\d/\d\d \d\d:\d\d:\d\d)\r?$", game.settings(),
                      re.M)
    if not match:
        raise Failure("the settings file holds %r" % game.settings())
    return int(match.group(1)), datetime.strptime(match.group(2), "%Y/%m/%d %H:%M:%S")


def main():
    screen = Screen()
    game = Game(sys.argv[1])
    try:
        screen.track(game.start())
        prompt = screen.wait_balloon()
        for digit in "1234567890":
            screen.tap(digit, 0.03)
            time.sleep(0.03)
        since, _, _ = countdown(screen, press_on(screen, prompt, "Return", 0.03,
                                                 "the start prompt after digits"))
        score = screen.wait_balloon(since, timeout=75, drawn=False)
        prompt = screen.wait_balloon(press_on(screen, score, "Return", 0.03, "the score"))
        saved, _ = high_score(game)
        if saved != 0:
            raise Failure("digits typed at the prompt scored %d in a time attack without a key "
                          "pressed in play" % saved)

        since, began, started = countdown(screen, press_on(screen, prompt, "Return", 0.004,
                                                           "the start prompt after a result"))
        player = Player(screen)
        score = screen.wait_balloon(player.play(since))
        ended = time.monotonic()
        prompt = screen.wait_balloon(press_on(screen, score, "Return", 0.004, "the score"))
        print("%d correct answers, %d of them known and pressed 2 ms after the last release, "
              "%.1f s of play" % (player.answers, player.known, ended - began))
        if player.known < MIN_ANSWERS:
            raise Failure("only %d known answers" % player.known)
        if not player.wrapped:
            raise Failure("the cursor never wrapped after the last pair")
        saved, stamp = high_score(game)
        if saved != player.answers:
            raise Failure("the settings file holds the score %d, not %d" % (saved,
                                                                             player.answers))
        if abs((stamp - started).total_seconds() - 60) > 5:
            raise Failure("time stamp %s is not the end of the time attack" % stamp)

        press_on(screen, prompt, "Escape", 0.03, "the start prompt")
        screen.expect_clean_exit(game, "ESC")
        print("every press taken: digits at the prompt no answer, ENTER on prompts and scores, "
              "every answer, ESC; score, time stamp and wrap as expected")
    except Failure as failure:
        fail(failure)
    finally:
        game.close()


if __name__ == "__main__":
    main()
