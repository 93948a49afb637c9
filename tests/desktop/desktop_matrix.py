#!/usr/bin/env python3
"""The real game under one X window manager on a private Xvfb, checked as a player meets it:
from the screen's pixels and from the window manager's own lists.

The desktop: the window manager, a panel along the bottom (the window manager's own where it
has one, else a dock window of ours), and another application's window over the bottom of the
screen. Checks, each reported as works or fails with what was seen:

  cells      the cells rest on the work area's bottom edge, above the panel
  cursor     the cursor's box, its arrow and the time on it show
  countdown  "Ready..." and "GO!" show during their waits
  lists      no game window in the window manager's client lists, none framed or moved
  click      a click beside the cells reaches the window below, which keeps the focus,
             and the game stays above it
  panel      a panel added at the start prompt, and another during play, move the strip, the
             cursor and the prompt's balloon to where a new time attack would put them

Usage: desktop_matrix.py WINDOW_MANAGER GAME_EXECUTABLE
Exit status 0 when every check works, 1 when one fails, 77 when the window manager is not
installed.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

from Xlib import X, Xatom, display, error
from Xlib.ext import xtest

WIDTH, HEIGHT = 1024, 768
CELL, CELLS = 18, 20
CURSOR_W, CURSOR_H = 34, 35
PANEL = 30          # our own bottom panel
ADDED_PANEL = 40    # the panel added at the prompt
PLAY_PANEL = 52     # the one added during play
# Black runs along the balloon's top rim, from its round end: how wide each text is.
READY_RUN, GO_RUN, PROMPT_RUN = range(26, 46), range(10, 23), range(200, 330)

HERE = os.path.dirname(os.path.abspath(__file__))
I3_CONFIG = "# i3 config file (v4)\nfont pango:monospace 8\nbar {\n  position bottom\n}\n"


def window_managers(work):
    """How each is started, and whether we add our own panel (it has none of its own)."""
    i3 = os.path.join(work, "i3.config")
    with open(i3, "w") as config:
        config.write(I3_CONFIG)
    picom = ["picom", "--config", "/usr/share/doc/picom/examples/picom.sample.conf"]
    return {
        "openbox": ([["openbox", "--sm-disable"]], True),
        "openbox+picom": ([["openbox", "--sm-disable"], picom], True),
        "xfwm4": ([["dbus-run-session", "--", "xfwm4", "--sm-client-disable"]], True),
        "kwin_x11": ([["kwin_x11", "--replace"]], True),
        "mutter": ([["mutter", "--x11", "--replace", "--sm-disable"]], True),
        "i3": ([["i3", "-c", i3]], False),
        "icewm": ([["icewm", "--replace"]], True),
        "fluxbox": ([["fluxbox"]], True),
    }


class Failed(Exception):
    pass


def wait_for(condition, what, timeout=20.0):
    end = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > end:
            raise Failed("waited %.0f s in vain for %s" % (timeout, what))
        time.sleep(0.01)


class Desktop:
    def __init__(self):
        self.dpy = display.Display()
        self.root = self.dpy.screen().root
        self.atoms = {}

    def atom(self, name):
        if name not in self.atoms:
            self.atoms[name] = self.dpy.intern_atom(name)
        return self.atoms[name]

    def prop(self, window, name):
        try:
            reply = window.get_full_property(self.atom(name), X.AnyPropertyType)
        except error.XError:
            return []
        return list(reply.value) if reply else []

    def managed(self):
        """Whether a window manager has taken over the screen and says who it is."""
        masks = self.root.get_attributes().all_event_masks
        return masks & X.SubstructureRedirectMask and self.prop(self.root,
                                                                "_NET_SUPPORTING_WM_CHECK")

    def answering(self):
        """Waits until the window manager handles requests: it manages a window mapped now.
        A map request that comes while it starts up may go unanswered: map again."""
        probe = self.root.create_window(0, 0, 10, 10, 0, self.dpy.screen().root_depth)
        try:
            for _ in range(40):
                probe.map()
                self.dpy.sync()
                end = time.monotonic() + 0.5
                while time.monotonic() < end:
                    if self.prop(probe, "WM_STATE"):
                        return
                    time.sleep(0.01)
                probe.unmap()
            raise Failed("the window manager manages no window")
        finally:
            probe.destroy()
            self.dpy.sync()

    def compositing(self):
        owner = self.dpy.get_selection_owner(self.atom("_NET_WM_CM_S0"))
        return owner != X.NONE

    def dock(self, top, height, width=WIDTH, screen_height=HEIGHT):
        """A panel along the bottom, reserving the screen below top."""
        window = self.root.create_window(0, top, width, height, 0, self.dpy.screen().root_depth,
                                         background_pixel=0x336699)
        window.set_wm_name("panel")
        window.set_wm_class("panel", "TestPanel")
        window.change_property(self.atom("_NET_WM_WINDOW_TYPE"), Xatom.ATOM, 32,
                               [self.atom("_NET_WM_WINDOW_TYPE_DOCK")])
        strut = [0, 0, 0, screen_height - top]
        window.change_property(self.atom("_NET_WM_STRUT"), Xatom.CARDINAL, 32, strut)
        window.change_property(self.atom("_NET_WM_STRUT_PARTIAL"), Xatom.CARDINAL, 32,
                               strut + [0, 0, 0, 0, 0, 0, 0, width - 1])
        window.set_wm_normal_hints(flags=1 | 4 | 16 | 32, x=0, y=top, width=width,
                                   height=height, min_width=width, min_height=height,
                                   max_width=width, max_height=height)
        window.map()
        self.dpy.sync()
        return window

    def application(self):
        window = self.root.create_window(0, 300, WIDTH, HEIGHT - 300 - PANEL, 0,
                                         self.dpy.screen().root_depth,
                                         background_pixel=self.dpy.screen().white_pixel,
                                         event_mask=X.ButtonPressMask)
        window.set_wm_name("other application")
        window.set_wm_class("other", "OtherApplication")
        window.set_wm_normal_hints(flags=1 | 4, x=0, y=300, width=WIDTH,
                                   height=HEIGHT - 300 - PANEL)
        window.map()
        self.dpy.sync()
        return window

    def viewable(self, window):
        try:
            return window.get_attributes().map_state == X.IsViewable
        except error.XError:
            return False

    def pixel(self, x, y):
        data = self.root.get_image(x, y, 1, 1, X.ZPixmap, 0xFFFFFFFF).data
        return data[2], data[1], data[0]

    def tree(self, window=None, depth=0):
        window = window or self.root
        try:
            children = window.query_tree().children
        except error.XError:
            return
        for child in children:
            yield child, window
            if depth < 3:
                yield from self.tree(child, depth + 1)

    @staticmethod
    def wm_class(window):
        """The window's class, empty for a window that is gone."""
        try:
            return window.get_wm_class() or ("", "")
        except error.XError:
            return ("", "")

    def game_windows(self):
        return [(window, parent) for window, parent in self.tree()
                if self.wm_class(window)[1] == "noruka-keisan" and self.viewable(window)]

    def work_area_bottom(self, docks):
        """The bottom of the usable area as the window manager publishes it, else the top of
        the highest bottom dock as it stands on the screen."""
        area = self.prop(self.root, "_NET_WORKAREA")
        if len(area) >= 4:
            current = (self.prop(self.root, "_NET_CURRENT_DESKTOP") or [0])[0]
            x, y, w, h = area[4 * current:4 * current + 4]
            return y + h
        tops = [HEIGHT]
        for window in docks():
            try:
                at = window.translate_coords(self.root, 0, 0)
                tops.append(-at.y)
            except error.XError:
                pass
        return min(tops)

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


def dark(rgb):
    return max(rgb) < 0x60


def near(rgb, colour, slack=0x18):
    return all(abs(a - b) <= slack for a, b in zip(rgb, colour))


class Layout:
    """Where the game's pixels stand for a work area ending at bottom."""

    def __init__(self, bottom, monitor_left=0, monitor_width=WIDTH):
        self.bottom = bottom
        self.cell_top = bottom - CELL
        self.strip_left = monitor_left + (monitor_width - CELLS * CELL) // 2
        self.cursor = (self.strip_left, self.cell_top - CURSOR_H)

    def cells_shown(self, desk, first=2, last=19):
        """Rim and face of the cells away from the cursor, one shot of their rows."""
        width = CELLS * CELL
        raw = desk.root.get_image(self.strip_left, self.cell_top, width, CELL, X.ZPixmap,
                                  0xFFFFFFFF).data
        px = lambda x, y: (raw[(y * width + x) * 4 + 2], raw[(y * width + x) * 4 + 1],
                           raw[(y * width + x) * 4])
        for i in range(first, last + 1):
            left = CELL * i
            if not dark(px(left + 2, 1)) or not near(px(left + 5, 5), (0xC0, 0xC0, 0xC0)):
                return False
        return True

    def cursor_shown(self, desk):
        x, y = self.cursor
        return (near(desk.pixel(x + 1, y + 1), (0xC0, 0xC0, 0xC0)) and
                near(desk.pixel(x + 17, y + 31), (0xFF, 0, 0), 0x40))

    def time_pixels(self, desk):
        """The time label's inside, as raw bytes, and how many of its pixels are dark."""
        x, y = self.cursor
        raw = desk.root.get_image(x + 2, y + 4, 30, 12, X.ZPixmap, 0xFFFFFFFF).data
        count = sum(1 for i in range(0, len(raw), 4) if max(raw[i:i + 3]) < 0x60)
        return raw, count

    def balloon_run(self, desk):
        """Length of the dark run along a balloon's top rim at the cursor's top right."""
        x, y = self.cursor
        raw = desk.root.get_image(x + 34, y - 17, 400, 1, X.ZPixmap, 0xFFFFFFFF).data
        for i in range(7, 400):
            if max(raw[i * 4:i * 4 + 3]) >= 0x60:
                return i - 7
        return 0  # no end: no balloon, a dark desktop


class Matrix:
    def __init__(self, name):
        self.name = name
        self.results = []

    def check(self, what, works, evidence):
        self.results.append((what, works, evidence))
        print("%-14s %-9s %-6s %s" % (self.name, what, "works" if works else "FAILS", evidence),
              flush=True)


def run(name, game_executable):
    work = tempfile.mkdtemp()
    processes = []
    matrix = Matrix(name)
    commands, own_panel = window_managers(work)[name]
    programs = [command[command.index("--") + 1] if "--" in command else command[0]
                for command in commands]
    if any(shutil.which(program) is None for program in programs):
        print("%s is not installed" % " or ".join(programs))
        return 77
    server = start_server(work)
    try:
        desk = Desktop()
        runtime = os.path.join(work, "runtime")
        os.mkdir(runtime, 0o700)
        env = dict(os.environ, HOME=work, XDG_CONFIG_HOME=os.path.join(work, "config"),
                   XDG_RUNTIME_DIR=runtime)
        for index, command in enumerate(commands):
            processes.append(subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                                              stderr=subprocess.DEVNULL, cwd=work))
            if index == 0:
                wait_for(desk.managed, "the window manager")
                desk.answering()
            else:
                wait_for(desk.compositing, "the compositor")
        docks = []
        if own_panel:
            docks.append(desk.dock(HEIGHT - PANEL, PANEL))
        else:
            # i3's own bar: a dock window it reparents into its dock area.
            wait_for(lambda: [w for w, _ in desk.tree()
                              if desk.wm_class(w)[1] == "i3bar" and desk.viewable(w)], "i3bar")
        bar_windows = lambda: [w for w, _ in desk.tree() if desk.prop(w, "_NET_WM_STRUT_PARTIAL")
                               and desk.viewable(w)]
        wait_for(lambda: desk.work_area_bottom(bar_windows) < HEIGHT, "the panel's strut")
        other = desk.application()
        wait_for(lambda: desk.viewable(other), "the other application's window")

        game = os.path.join(work, "noruka-keisan")
        shutil.copy(game_executable, game)
        processes.append(subprocess.Popen([game], cwd=work, env=env))

        layout = Layout(desk.work_area_bottom(bar_windows))
        # The start prompt, the moment its balloon shows.
        try:
            wait_for(lambda: layout.balloon_run(desk) in PROMPT_RUN, "the start prompt", 15)
            prompt = True
        except Failed:
            prompt = False
        cells = layout.cells_shown(desk)
        matrix.check("cells", cells, "cells 2-19 %s at y %d (work area ends at %d)" %
                     ("show" if cells else "do not show", layout.cell_top, layout.bottom))
        _, time_dark = layout.time_pixels(desk)
        cursor = layout.cursor_shown(desk) and 10 < time_dark < 200
        matrix.check("cursor", cursor and prompt,
                     "box and arrow %s, %d dark pixels of time text, prompt %s" %
                     ("show" if layout.cursor_shown(desk) else "missing", time_dark,
                      "shown" if prompt else "missing"))

        check_lists(desk, matrix, layout)

        # The player clicks the other application beside the cells.
        desk.dpy.flush()
        while desk.dpy.pending_events():
            desk.dpy.next_event()
        click_at = (layout.strip_left - 40, layout.cell_top + 8)
        desk.click(*click_at)
        got = wait_for_button(desk, other)
        active = lambda: desk.prop(desk.root, "_NET_ACTIVE_WINDOW")[:1]
        focus_kept = got and is_other(desk, active(), other)
        still = layout.cells_shown(desk) and layout.cursor_shown(desk)
        matrix.check("click", bool(got) and still,
                     "click at %s %s the window below; game %s above it; active window %s" %
                     (click_at, "reached" if got else "did not reach",
                      "stays" if still else "is not", "is the clicked one" if focus_kept
                      else "0x%x" % (active() or [0])[0]))

        # A panel appears at the start prompt.
        docks.append(desk.dock(layout.bottom - ADDED_PANEL, ADDED_PANEL))
        moved = follow(desk, layout, bar_windows, "at the prompt", check_balloon=True)

        desk.key(0xFF0D)  # Return
        countdown(desk, layout if moved is None else moved, matrix)

        # During play another panel appears, higher than the first.
        base = moved or layout
        docks.append(desk.dock(base.bottom - PLAY_PANEL, PLAY_PANEL))
        during = follow(desk, base, bar_windows, "during play")
        panel_ok = moved is not None and during is not None
        matrix.check("panel", panel_ok, "strip, cursor%s follow: at the prompt %s, in play %s" %
                     (" and balloon", "yes" if moved else "no", "yes" if during else "no"))
    except Failed as failure:
        matrix.check("run", False, str(failure))
    finally:
        for process in reversed(processes):
            if process.poll() is None:
                process.kill()
                process.wait()
        server.kill()
        server.wait()
        shutil.rmtree(work, ignore_errors=True)
    return 0 if all(works for _, works, _ in matrix.results) else 1


def is_other(desk, active, other):
    if not active:
        return False
    window = desk.dpy.create_resource_object("window", active[0])
    return active[0] == other.id or any(w.id == other.id for w, _ in desk.tree(window))


def wait_for_button(desk, other):
    end = time.monotonic() + 3
    while time.monotonic() < end:
        while desk.dpy.pending_events():
            event = desk.dpy.next_event()
            if event.type == X.ButtonPress and event.window.id == other.id:
                return True
        time.sleep(0.01)
    return False


def check_lists(desk, matrix, layout):
    listed = set(desk.prop(desk.root, "_NET_CLIENT_LIST") +
                 desk.prop(desk.root, "_NET_CLIENT_LIST_STACKING") +
                 desk.prop(desk.root, "_WIN_CLIENT_LIST"))
    windows = desk.game_windows()
    in_lists = [w for w, _ in windows if w.id in listed]
    framed = [w for w, parent in windows if parent.id != desk.root.id]
    # The cursor's window: the one over the arrow's tip, at most the cursor's size.
    tip = (layout.cursor[0] + 17, layout.cursor[1] + 31)
    cursor = []
    moved = []
    for window, _ in windows:
        try:
            geometry = window.get_geometry()
            at = window.translate_coords(desk.root, 0, 0)
        except error.XError:
            continue  # gone meanwhile
        x, y = -at.x, -at.y
        if x <= tip[0] < x + geometry.width and y <= tip[1] < y + geometry.height:
            cursor.append(window)
            if geometry.width > CURSOR_W or geometry.height > CURSOR_H:
                moved.append("the window over the cursor's place is %dx%d" %
                             (geometry.width, geometry.height))
    works = windows and not in_lists and not framed and cursor and not moved
    matrix.check("lists", bool(works),
                 "%d game windows, %d in client lists, %d framed%s" %
                 (len(windows), len(in_lists), len(framed),
                  "; " + ", ".join(moved) if moved else "" if cursor else "; no cursor window"))


def follow(desk, layout, bar_windows, when, check_balloon=False):
    """The layout after the work area changed, once the game's pixels stand there."""
    wait_for(lambda: desk.work_area_bottom(bar_windows) != layout.bottom,
             "the window manager to take the new panel")
    new = Layout(desk.work_area_bottom(bar_windows))

    def there():
        if not (new.cells_shown(desk) and new.cursor_shown(desk)):
            return False
        return not check_balloon or new.balloon_run(desk) in PROMPT_RUN
    try:
        wait_for(there, "the game to follow the panel " + when, 5)
        return new
    except Failed:
        return None


def countdown(desk, layout, matrix):
    """Which balloons showed from the press of ENTER until play (the time label changing)."""
    seen = []
    start = time.monotonic()
    _, first = layout.time_pixels(desk)
    begun = layout.time_pixels(desk)[0]
    while time.monotonic() - start < 6:
        run = layout.balloon_run(desk)
        kind = "Ready" if run in READY_RUN else "GO" if run in GO_RUN else None
        if kind and (not seen or seen[-1][0] != kind):
            seen.append((kind, time.monotonic() - start))
        if seen and seen[-1][0] == "GO" and layout.time_pixels(desk)[0] != begun:
            break
    kinds = [kind for kind, _ in seen]
    works = "Ready" in kinds and "GO" in kinds
    matrix.check("countdown", works, "seen: " + (", ".join("%s at %.2f s" % s for s in seen)
                                                  or "no balloon"))


def start_server(work, width=WIDTH, height=HEIGHT):
    path = os.path.join(work, "display")
    with open(path, "w") as number:
        server = subprocess.Popen(["Xvfb", "-displayfd", str(number.fileno()), "-screen", "0",
                                   "%dx%dx24" % (width, height), "-wr", "-nolisten", "tcp"],
                                  pass_fds=[number.fileno()], stderr=subprocess.DEVNULL)
    wait_for(lambda: open(path).read().strip(), "the X server")
    os.environ["DISPLAY"] = ":" + open(path).read().strip()
    return server


if __name__ == "__main__":
    sys.exit(run(sys.argv[1], sys.argv[2]))
