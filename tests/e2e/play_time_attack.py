#!/usr/bin/env python3
"""Plays one whole time attack of the real game on the test's X server, through XTEST only.

The player reads the screen like a person: it finds the cursor by its red arrow and tells the
digits of the cells apart by their pixels. It learns which picture is which digit from its own
answers (a correct answer writes a known digit into a cell); until it knows both digits of a
pair it tries digits in turn, which costs nothing in this game. It reads the screen and types
through its own X connection, so that it keeps up on a busy machine too.

Usage: play_time_attack.py GAME_EXECUTABLE
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
from datetime import datetime

from Xlib import X, XK, display
from Xlib.ext import xtest

WIDTH, HEIGHT = 1024, 768
CELL, CELLS = 18, 20
STRIP_LEFT = (WIDTH - CELLS * CELL) // 2  # the row of cells is centred
CELL_TOP = HEIGHT - CELL                   # and rests on the bottom edge
ARROW_TIP_ROW = CELL_TOP - 35 + 31         # the cursor's arrow tip, just above the cells
BALLOON = "MakeRGNTalkWindowTitle"
TOP = ARROW_TIP_ROW  # the screen is read from the arrow tip's row down
SETTLE = 0.3  # what a player takes at least to react to a new prompt

DISPLAY = display.Display()
ROOT = DISPLAY.screen().root


def fail(message):
    print("FAILED:", message)
    sys.exit(1)


def key(name, down=True, up=True):
    code = DISPLAY.keysym_to_keycode(XK.string_to_keysym(name))
    if down:
        xtest.fake_input(DISPLAY, X.KeyPress, code)
    if up:
        xtest.fake_input(DISPLAY, X.KeyRelease, code)
    DISPLAY.sync()


def shown_windows(name, window=None):
    """Viewable windows of that name, looked for down the whole tree."""
    found = 0
    for child in (window or ROOT).query_tree().children:
        try:
            if child.get_attributes().map_state != X.IsViewable:
                continue
            if child.get_wm_name() == name:
                found += 1
            found += shown_windows(name, child)
        except Exception:  # a window that went away meanwhile
            continue
    return found


def balloons():
    return shown_windows(BALLOON)


def wait_for(condition, what, timeout=10.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if condition():
            return
        time.sleep(0.02)
    fail("waited in vain for " + what)


def screen():
    """The rows of the screen from the arrow tip down, four bytes (BGRX) a pixel."""
    raw = ROOT.get_image(0, TOP, WIDTH, HEIGHT - TOP, X.ZPixmap, 0xFFFFFFFF).data
    if len(raw) != WIDTH * (HEIGHT - TOP) * 4:
        fail("unexpected screenshot size %d" % len(raw))
    return raw


def pixel(shot, x, y):
    i = ((y - TOP) * WIDTH + x) * 4
    return shot[i:i + 3]


def cursor_pair(shot):
    """The pair under the cursor, from the column of its red arrow tip."""
    row = [x for x in range(WIDTH) if pixel(shot, x, ARROW_TIP_ROW) == b"\x00\x00\xff"]
    if len(row) != 2:
        fail("no arrow tip found on row %d" % ARROW_TIP_ROW)
    return (row[0] - STRIP_LEFT - 17) // CELL


def still_screen(shot=None):
    """The screen once it holds still for 50 ms."""
    shot = shot or screen()
    while True:
        time.sleep(0.05)
        again = screen()
        if again == shot:
            return shot
        shot = again


def cell_picture(shot, i):
    """The inside of cell i, where its digit is drawn."""
    left = STRIP_LEFT + CELL * i
    return b"".join(shot[((CELL_TOP - TOP + y) * WIDTH + left + 2) * 4:
                         ((CELL_TOP - TOP + y) * WIDTH + left + 15) * 4]
                    for y in range(2, 15))


class Player:
    def __init__(self):
        self.digit_of = {}  # cell picture -> digit
        self.correct = 0
        self.wrong = 0
        self.positions = []  # cursor pair after each answer

    @staticmethod
    def settled(pair, timeout):
        """The screen once the cursor has left the pair or the time is up, or after timeout."""
        end = time.monotonic() + timeout
        while True:
            shot = screen()
            if cursor_pair(shot) != pair or balloons() or time.monotonic() > end:
                return shot

    def taken(self, pair, digit, after):
        # The cursor moves before the cell repaints: read on until the screen holds still.
        after = still_screen(after)
        moved = cursor_pair(after)
        expected = 0 if pair == 18 else pair + 1
        if moved != expected:
            fail("after an answer at pair %d the cursor stands at %d" % (pair, moved))
        self.correct += 1
        self.positions.append(moved)
        # The answer now stands in the left cell: a picture learned for that digit.
        self.digit_of[cell_picture(after, pair)] = digit
        return not balloons()

    def answer(self, shot):
        pair = cursor_pair(shot)
        left, right = cell_picture(shot, pair), cell_picture(shot, pair + 1)
        if left in self.digit_of and right in self.digit_of:
            candidates = [(self.digit_of[left] + self.digit_of[right]) % 10]
            if self.correct % 7 == 3:  # now and then a wrong digit first
                candidates.insert(0, (candidates[0] + 5) % 10)
        else:
            candidates = list(range(10))
        for index, digit in enumerate(candidates):
            if index > 0:
                # A slow screen may show the previous digit taken only now.
                late = screen()
                if cursor_pair(late) != pair:
                    return self.taken(pair, candidates[index - 1], late)
            key(str(digit))
            known = len(candidates) == 1 or index == len(candidates) - 1
            after = self.settled(pair, 1.0 if known else 0.25)
            if cursor_pair(after) != pair:
                return self.taken(pair, digit, after)
            if balloons():
                return False  # the time is up
            self.wrong += 1
            if known:
                fail("the known answer %d at pair %d was not taken" % (digit, pair))
        fail("no digit was taken at pair %d" % pair)


def main():
    install = tempfile.mkdtemp()
    game = os.path.join(install, "noruka-keisan")
    shutil.copy(sys.argv[1], game)
    process = subprocess.Popen([game])
    try:
        wait_for(lambda: balloons() == 1, "the start prompt")
        # Digits stay hidden until play. A slow game may still be painting its cells when the
        # prompt shows: what the cell looks like is known once the screen holds still.
        blank = cell_picture(still_screen(), 0)
        time.sleep(SETTLE)
        key("Return")
        wait_for(lambda: cell_picture(screen(), 0) != blank and balloons() == 0, "the digits", 5)
        started = datetime.now()

        player = Player()
        while player.answer(screen()):
            pass
        wait_for(lambda: balloons() == 2, "the score and the rank balloons")

        print("%d correct answers (%d sweeps), %d wrong digits, %d digits learned"
              % (player.correct, player.correct // 19, player.wrong, len(player.digit_of)))
        # A whole sweep, the wrap, and an answer from the digits that sweep wrote.
        if player.correct < 20:
            fail("fewer than 20 correct answers: the row was not swept and begun again")
        if 18 not in player.positions or player.positions[player.positions.index(18) + 1] != 0:
            fail("the cursor did not wrap after position 18")

        with open(game + ".ini", encoding="ascii") as settings:
            text = settings.read()
        match = re.search(r"^HISCORE1=(\d+),,(\d{4}/\d\d/\d\d \d\d:\d\d:\d\d)\r?$", text, re.M)
        if not match or int(match.group(1)) != player.correct:
            fail("the settings file holds %r, not the score %d" % (text, player.correct))
        stamp = datetime.strptime(match.group(2), "%Y/%m/%d %H:%M:%S")
        if abs((stamp - started).total_seconds() - 60) > 5:
            fail("time stamp %s is not the end of the time attack" % stamp)

        # ENTER held on: the next start prompt shows only once it is released.
        key("Return", up=False)
        wait_for(lambda: balloons() == 0, "the result to close")
        time.sleep(0.8)
        if balloons() != 0:
            fail("the start prompt showed while ENTER was still held")
        key("Return", down=False)
        wait_for(lambda: balloons() == 1, "the next start prompt")

        time.sleep(SETTLE)
        key("Escape")
        status = process.wait(timeout=10)
        if status != 0:
            fail("exit status %d" % status)
        print("played a whole time attack: cursor, wrap, score, time stamp and balloons as expected")
    finally:
        if process.poll() is None:
            process.kill()
        shutil.rmtree(install, ignore_errors=True)


if __name__ == "__main__":
    main()
