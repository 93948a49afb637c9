#!/usr/bin/env python3
"""The real game on a desktop with a window manager (openbox), a panel reserving the top of the
screen and another application's window over the bottom half, which the player clicks:

- the game's windows stay above that window, and it keeps the keyboard focus;
- none of the game's windows is offered to taskbars or pagers, or gets a frame;
- the cells still rest on the bottom edge of the screen, the strip stays clear of the panel;
- the digits show in the cells once play starts, though the strip's window begins below the
  panel and its pixels are not the layout's.

Runs its own X server, since a window manager leaves its marks on the one it ran on.
Usage: window_manager.py GAME_EXECUTABLE
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

from Xlib import X, Xatom, display
from Xlib.ext import xtest

WIDTH, HEIGHT = 1024, 768
PANEL = 30
CELL_LEFT, CELL_TOP = (WIDTH - 20 * 18) // 2, HEIGHT - 18
SETTLE = 0.3


def fail(message):
    print("FAILED:", message)
    sys.exit(1)


def wait_for(condition, what, timeout=20.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if condition():
            return
        time.sleep(0.05)
    fail("waited in vain for " + what)


def start_server(work):
    path = os.path.join(work, "display")
    with open(path, "w") as number:
        server = subprocess.Popen(["Xvfb", "-displayfd", str(number.fileno()), "-screen", "0",
                                   "%dx%dx24" % (WIDTH, HEIGHT), "-nolisten", "tcp"],
                                  pass_fds=[number.fileno()], stderr=subprocess.DEVNULL)
    wait_for(lambda: open(path).read().strip(), "the X server")
    os.environ["DISPLAY"] = ":" + open(path).read().strip()
    return server


class Desktop:
    def __init__(self):
        self.dpy = display.Display()
        self.root = self.dpy.screen().root

    def atom(self, name):
        return self.dpy.intern_atom(name)

    def prop(self, window, name):
        reply = window.get_full_property(self.atom(name), X.AnyPropertyType)
        return list(reply.value) if reply else []

    def window(self, x, y, width, height, kind, strut=None):
        window = self.root.create_window(x, y, width, height, 0, self.dpy.screen().root_depth,
                                         background_pixel=self.dpy.screen().white_pixel)
        window.set_wm_name("panel" if strut else "other application")
        window.change_property(self.atom("_NET_WM_WINDOW_TYPE"), Xatom.ATOM, 32,
                               [self.atom("_NET_WM_WINDOW_TYPE_" + kind)])
        if strut:
            window.change_property(self.atom("_NET_WM_STRUT_PARTIAL"), Xatom.CARDINAL, 32, strut)
        window.set_wm_normal_hints(flags=1 | 4, x=x, y=y, width=width, height=height)
        window.map()
        self.dpy.sync()
        return window

    def pixel(self, x, y):
        data = self.root.get_image(x, y, 1, 1, X.ZPixmap, 0xFFFFFFFF).data
        return "%02X%02X%02X" % (data[2], data[1], data[0])

    def picture(self, x, y, width, height):
        return self.root.get_image(x, y, width, height, X.ZPixmap, 0xFFFFFFFF).data

    def game_windows(self):
        found = []
        for window in self.prop(self.root, "_NET_CLIENT_LIST"):
            window = self.dpy.create_resource_object("window", window)
            if window.get_wm_class() and window.get_wm_class()[1] == "noruka-keisan":
                found.append(window)
        return found

    def click(self, x, y):
        xtest.fake_input(self.dpy, X.MotionNotify, x=x, y=y)
        xtest.fake_input(self.dpy, X.ButtonPress, 1)
        xtest.fake_input(self.dpy, X.ButtonRelease, 1)
        self.dpy.sync()

    def key(self, keysym):
        code = self.dpy.keysym_to_keycode(keysym)
        xtest.fake_input(self.dpy, X.KeyPress, code)
        xtest.fake_input(self.dpy, X.KeyRelease, code)
        self.dpy.sync()


def main():
    work = tempfile.mkdtemp()
    server = start_server(work)
    processes = []
    try:
        desk = Desktop()
        processes.append(subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                                          stderr=subprocess.DEVNULL))
        wait_for(lambda: desk.prop(desk.root, "_NET_WORKAREA"), "the window manager")
        time.sleep(SETTLE)  # it names itself before it has taken over the screen
        desk.window(0, 0, WIDTH, PANEL, "DOCK", [0, 0, PANEL, 0, 0, 0, 0, 0, 0, WIDTH - 1, 0, 0])
        wait_for(lambda: desk.prop(desk.root, "_NET_WORKAREA")[1:2] == [PANEL], "the panel's strut")
        other = desk.window(0, 400, WIDTH, HEIGHT - 400, "NORMAL")

        game = os.path.join(work, "noruka-keisan")
        shutil.copy(sys.argv[1], game)
        processes.append(subprocess.Popen([game]))
        wait_for(lambda: len(desk.game_windows()) == 3, "the strip, the cursor and the prompt")
        time.sleep(SETTLE)

        # The player clicks the other application's window, away from the game's outlines.
        desk.click(100, 500)
        wait_for(lambda: desk.prop(desk.root, "_NET_ACTIVE_WINDOW")[:1] == [other.id],
                 "the other window to be active")
        time.sleep(SETTLE)

        failures = []
        checks = [(CELL_LEFT + 2, CELL_TOP + 1, "000000", "cell 0's rim"),
                  (CELL_LEFT + 5, CELL_TOP + 5, "C0C0C0", "cell 0's face"),
                  (CELL_LEFT + 17, CELL_TOP + 31 - 35, "FF0000", "the cursor's arrow tip"),
                  (CELL_LEFT + 1, CELL_TOP + 1, "FFFFFF", "the other window beside the cell")]
        for x, y, colour, what in checks:
            if desk.pixel(x, y) != colour:
                failures.append("%s at (%d, %d) is %s, not %s" % (what, x, y, desk.pixel(x, y),
                                                                  colour))
        skip = {desk.atom("_NET_WM_STATE_SKIP_TASKBAR"), desk.atom("_NET_WM_STATE_SKIP_PAGER")}
        for window in desk.game_windows():
            name = window.get_wm_name()
            if not skip <= set(desk.prop(window, "_NET_WM_STATE")):
                failures.append("%s is offered to taskbars or pagers" % name)
            if any(desk.prop(window, "_NET_FRAME_EXTENTS")):
                failures.append("%s has a frame" % name)
            top = -window.translate_coords(desk.root, 0, 0).y
            if top < PANEL:
                failures.append("%s reaches into the panel (top %d)" % (name, top))
        if failures:
            fail("; ".join(failures))

        # Inside cell 0's rim: the face alone at the prompt, a digit on it in play.
        face = (CELL_LEFT + 3, CELL_TOP + 3, 12, 12)
        blank = desk.picture(*face)
        desk.key(0xFF0D)  # Return
        wait_for(lambda: desk.picture(*face) != blank, "a digit in cell 0", 10)
        print("above the clicked window, out of taskbars, clear of the panel, cells on the edge, "
              "digits shown")
    finally:
        for process in processes:
            if process.poll() is None:
                process.kill()
                process.wait()
        server.kill()
        server.wait()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
