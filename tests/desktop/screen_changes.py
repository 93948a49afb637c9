#!/usr/bin/env python3
"""The game follows a screen that changes while it runs, with no window manager to help: on a
1280 x 1024 screen cut into two monitors, the primary monitor becomes the left half, then the
right half at the start prompt, and during play a dock reserves the bottom of the screen
(nobody publishes a work area: the game reads the dock's reserved edge itself). Each time the
strip, the cursor and, at the prompt, the balloon stand where a new time attack would put them.

Usage: screen_changes.py GAME_EXECUTABLE
"""
import os
import shutil
import subprocess
import sys
import tempfile

from desktop_matrix import Desktop, Failed, Layout, PROMPT_RUN, start_server, wait_for

WIDTH, HEIGHT = 1280, 1024
HALF = WIDTH // 2
DOCK = 48


def monitors(*settings):
    """Replaces the screen's monitors by these, each given as xrandr --setmonitor's arguments."""
    for name in ("L", "R"):
        subprocess.run(["xrandr", "--delmonitor", name], stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, check=False)
    for setting in settings:
        subprocess.run(["xrandr", "--setmonitor"] + setting, check=True, stdout=subprocess.DEVNULL)


def shown(desk, layout, balloon):
    return (layout.cells_shown(desk) and layout.cursor_shown(desk) and
            (not balloon or layout.balloon_run(desk) in PROMPT_RUN))


def main():
    work = tempfile.mkdtemp()
    server = start_server(work, WIDTH, HEIGHT)
    game = None
    try:
        desk = Desktop()
        shutil.copy(sys.argv[1], os.path.join(work, "noruka-keisan"))
        game = subprocess.Popen([os.path.join(work, "noruka-keisan")], cwd=work)
        wait_for(lambda: shown(desk, Layout(HEIGHT, 0, WIDTH), True), "the start prompt", 15)

        size = "%d/338x%d/270" % (HALF, HEIGHT)
        monitors(["*L", size + "+0+0", "screen"], ["R", size + "+%d+0" % HALF, "none"])
        wait_for(lambda: shown(desk, Layout(HEIGHT, 0, HALF), True),
                 "the game on the left half, the primary monitor now", 5)
        monitors(["L", size + "+0+0", "screen"], ["*R", size + "+%d+0" % HALF, "none"])
        wait_for(lambda: shown(desk, Layout(HEIGHT, HALF, HALF), True),
                 "the game on the right half, the primary monitor now", 5)

        desk.key(0xFF0D)  # Return
        playing = Layout(HEIGHT, HALF, HALF)
        _, before = playing.time_pixels(desk)
        wait_for(lambda: playing.time_pixels(desk)[1] != before, "the time to run", 10)
        desk.dock(HEIGHT - DOCK, DOCK, WIDTH, HEIGHT)
        wait_for(lambda: shown(desk, Layout(HEIGHT - DOCK, HALF, HALF), False),
                 "the game above the dock", 5)
        print("followed the primary monitor left and right at the prompt, and a dock in play")
    except Failed as failure:
        print("FAILED:", failure)
        return 1
    finally:
        if game and game.poll() is None:
            game.kill()
            game.wait()
        server.kill()
        server.wait()
        shutil.rmtree(work, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
