"""The real game seen and played from outside, through the X server only: a player that presses
keys through XTEST the moment something shows, and reads the screen in small bands.

What "shows" means: a balloon window (its name is MakeRGNTalkWindowTitle) is mapped and its rim
is on the screen at both ends, or the cursor's red arrow tip stands over the pair it moved to.
The window is mapped a little before its pixels show, and a player's press may come at either
moment: both must count. Nothing here waits for the screen to settle before it presses: a press
the game then loses is the game's fault. The root window must be white, as scripts/with-xvfb
makes it. Shared by the real-X tests and the benchmarks.
"""
import os
import select
import shutil
import subprocess
import sys
import tempfile
import time

from Xlib import X, XK, display, error
from Xlib.ext import xtest

BALLOON = "MakeRGNTalkWindowTitle"
CELL, CELLS = 18, 20
RED = b"\x00\x00\xff"  # BGR as the server hands out 24-bit pixels
# A press the game has not answered in this time is lost, on a loaded machine too.
TAKEN_WITHIN = 3.0
# The X resource extension's mask asking for a client's process.
LOCAL_CLIENT_PID = 2


class Failure(Exception):
    pass


def start_server(width=1024, height=768):
    """A private Xvfb like scripts/with-xvfb's; returns the process and sets DISPLAY."""
    reader, writer = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(writer), "-screen", "0",
                               "%dx%dx24" % (width, height), "-wr", "-noreset", "-nolisten",
                               "tcp"], pass_fds=[writer], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    os.close(writer)
    with os.fdopen(reader) as number:
        line = number.readline().strip()
    if not line:
        server.kill()
        raise Failure("Xvfb did not start")
    os.environ["DISPLAY"] = ":" + line
    return server


class Screen:
    """One connection that reads the screen and presses keys, and one that watches balloons."""

    def __init__(self):
        self.dpy = display.Display()
        self.root = self.dpy.screen().root
        geometry = self.root.get_geometry()
        self.width, self.height = geometry.width, geometry.height
        # The strip is centred on the bottom edge, the cursor's arrow tip just above the cells.
        self.strip_left = (self.width - CELLS * CELL) // 2
        self.cell_top = self.height - CELL
        self.arrow_row = self.cell_top - 4
        self.watch = display.Display()
        self.watch.screen().root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.watch.sync()
        self.balloons = {}  # mapped balloon window id -> (x, y, width, height)
        # ("map" or "gone", balloon window id, balloons mapped before), in the server's order
        self.log = []
        self.pid = None  # the game whose X clients are noted at its first window
        self.ranges = []

    # Keys.
    def keycode(self, name):
        return self.dpy.keysym_to_keycode(XK.string_to_keysym(name))

    def down(self, name):
        xtest.fake_input(self.dpy, X.KeyPress, self.keycode(name))
        self.dpy.sync()
        return time.monotonic()

    def up(self, name):
        xtest.fake_input(self.dpy, X.KeyRelease, self.keycode(name))
        self.dpy.sync()

    def tap(self, name, hold):
        self.down(name)
        time.sleep(hold)
        self.up(name)

    # Balloons.
    def take_events(self, timeout=0.0):
        """Takes in the watcher's events, waiting up to timeout for the first."""
        if not self.watch.pending_events() and timeout > 0:
            select.select([self.watch], [], [], timeout)
        while self.watch.pending_events():
            event = self.watch.next_event()
            if event.type == X.MapNotify:
                self._mapped(event.window)
            elif event.type in (X.UnmapNotify, X.DestroyNotify):
                if self.balloons.pop(event.window.id, None):
                    self.log.append(("gone", event.window.id, len(self.balloons)))

    def track(self, pid):
        """Notes the X clients of that game when its first window maps, long before a press."""
        self.pid, self.ranges = pid, []

    def _mapped(self, window):
        if self.pid and not self.ranges:
            self.ranges = self.client_ranges(self.pid)
        try:
            if window.get_wm_name() != BALLOON:
                return
            g = window.get_geometry()
        except error.XError:  # gone again already
            return
        self.log.append(("map", window.id, len(self.balloons)))
        self.balloons[window.id] = (g.x, g.y, g.width, g.height)

    def mapped_since(self, since):
        """The first balloon mapped alone at or after that point of the log and still mapped:
        the prompt, "Ready...", "GO!" or the score, not the rank beside the score."""
        return next((w for kind, w, others in self.log[since:]
                     if kind == "map" and not others and w in self.balloons), None)

    def wait_balloon(self, since=0, timeout=10.0, drawn=True):
        """The first balloon mapped alone at or after that point of the log, once its rim is on
        the screen at both ends (or at once, unless drawn); returns its window id. Fails after
        timeout."""
        end = time.monotonic() + timeout
        while True:
            self.take_events(min(0.05, max(0.0, end - time.monotonic())))
            window = self.mapped_since(since)
            if window:
                break
            if time.monotonic() > end:
                raise Failure("no balloon within %.0f s" % timeout)
        x, y, width, height = self.balloons[window]
        while drawn and not self.balloon_drawn(x, y, width, height):
            self.take_events()
            if window not in self.balloons:
                break  # gone already: a player could not press on it either
            if time.monotonic() > end:
                raise Failure("a balloon mapped at (%d, %d), %d x %d, but never drawn"
                              % (x, y, width, height))
            time.sleep(0.0002)
        return window

    def balloon_drawn(self, x, y, width, height):
        row = self.root.get_image(x, y + height // 2, width, 1, X.ZPixmap, 0xFFFFFFFF).data
        black = [i // 4 for i in range(0, len(row), 4) if row[i:i + 3] == b"\x00\x00\x00"]
        return bool(black) and black[0] < 4 and black[-1] >= width - 4

    def wait_gone(self, window, timeout=TAKEN_WITHIN):
        """The point of the log after the balloon went away, or None when it stayed."""
        end = time.monotonic() + timeout
        while window in self.balloons:
            left = end - time.monotonic()
            if left <= 0:
                return None
            self.take_events(min(0.05, left))
        # The last going of that window: a later copy of the game may reuse its id.
        return next(i for i in range(len(self.log) - 1, -1, -1)
                    if self.log[i][:2] == ("gone", window)) + 1

    # The strip and the cursor, read as one band from the arrow tip's row to the bottom.
    def band(self):
        data = self.root.get_image(self.strip_left, self.arrow_row, CELLS * CELL,
                                   self.height - self.arrow_row, X.ZPixmap, 0xFFFFFFFF).data
        return data

    def cursor_pair(self, band):
        """The pair under the cursor, from the column of its red arrow tip; None when unseen."""
        row = band[:CELLS * CELL * 4]
        at = row.find(RED)
        while at >= 0 and at % 4:
            at = row.find(RED, at + 1)
        if at < 0:
            return None
        return (at // 4 - 17) // CELL

    def cell_picture(self, band, i):
        """The inside of cell i, where its digit is drawn."""
        stride = CELLS * CELL * 4
        top = self.cell_top - self.arrow_row
        return b"".join(band[(top + y) * stride + (i * CELL + 2) * 4:
                             (top + y) * stride + (i * CELL + 15) * 4] for y in range(2, 15))

    # Windows left behind.
    def client_ranges(self, pid):
        """The resource ranges of the X clients of that process."""
        ranges = []
        for client in self.dpy.res_query_clients().clients:
            asked = [{"client": client.resource_base, "mask": LOCAL_CLIENT_PID}]
            if any(owner.value == [pid] for owner in self.dpy.res_query_client_ids(asked).ids):
                ranges.append((client.resource_base, client.resource_mask))
        return ranges

    def windows_left_behind(self, pid, ranges, timeout=5.0):
        """Top-level windows created by that process's clients that outlive it. The server
        takes the connections down in its own time: wait for that first."""
        if not ranges:
            raise Failure("the game's X clients were never seen")
        end = time.monotonic() + timeout
        while self.client_ranges(pid) and time.monotonic() < end:
            time.sleep(0.01)
        return [w.id for w in self.root.query_tree().children
                if any(w.id & ~mask == base for base, mask in ranges)]

    def expect_clean_exit(self, game, after):
        """Fails unless the game ends with status 0 and leaves no window behind."""
        status = game.wait_exit()
        if status != 0:
            raise Failure("exit status %d after %s" % (status, after))
        left = self.windows_left_behind(game.process.pid, self.ranges)
        if left:
            raise Failure("%d windows left behind after %s" % (len(left), after))


class Game:
    """A copy of the game in a folder of its own, so that the settings file beside it is ours."""

    def __init__(self, executable):
        self.folder = tempfile.mkdtemp()
        self.path = os.path.join(self.folder, "noruka-keisan")
        shutil.copy(executable, self.path)
        self.process = None

    def start(self):
        self.process = subprocess.Popen([self.path], stderr=subprocess.DEVNULL)
        return self.process.pid

    def settings(self):
        try:
            with open(self.path + ".ini", encoding="ascii") as settings:
                return settings.read()
        except FileNotFoundError:
            return ""

    def wait_exit(self, timeout=10.0):
        """The exit status once the game has ended; fails when it goes on."""
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the game did not end within %.0f s" % timeout) from None

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()

    def close(self):
        self.stop()
        shutil.rmtree(self.folder, ignore_errors=True)


def main_thread_switches(pid):
    """Voluntary context switches of the game's main thread: each is one wait that ended."""
    with open("/proc/%d/task/%d/status" % (pid, pid)) as status:
        for line in status:
            if line.startswith("voluntary_ctxt_switches:"):
                return int(line.split()[1])
    return 0


def cpu_ticks(pid):
    with open("/proc/%d/stat" % pid) as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime, stime


def fail(message):
    print("FAILED:", message)
    sys.exit(1)
