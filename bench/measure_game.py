#!/usr/bin/env python3
"""Measures builds of the real game side by side on the current X server: processor time of
the game and of the X server in each phase, key-to-screen latency of correct answers with the
machine idle and with every core loaded, the length of play, how soon the time label follows
each tenth, time to the start prompt and resident memory. Prints a Markdown report.

Usage: measure_game.py PROBE NAME=GAME [NAME=GAME ...] [--attacks N] [--loaded-attacks N]
The X server's process id comes from $XVFB_PID (set by scripts/with-xvfb).
"""
import argparse
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "x11"))
import xgame  # noqa: E402  the game seen from outside
from quick_player import Player  # noqa: E402  the screen-reading player
from xgame import CELL, Failure, Game, Screen  # noqa: E402

CPU_SECONDS = 10
TICKS = os.sysconf("SC_CLK_TCK")


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(fraction * len(ordered)))]


def cpu_percent(pids, seconds=CPU_SECONDS):
    """Percent of one core each process used over the next seconds."""
    before = [xgame.cpu_ticks(pid) for pid in pids]
    time.sleep(seconds)
    return [100.0 * (xgame.cpu_ticks(pid) - b) / TICKS / seconds for pid, b in zip(pids, before)]


def resident_kib(pid):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


class MeasuringPlayer(Player):
    """Answers through the probe when it knows the answer, timing each one."""

    def __init__(self, screen, probe):
        super().__init__(screen)
        self.probe = probe

    def answer(self, digit, pair, left, right, known):
        if not known:
            return super().answer(digit, pair, left, right, known)
        s = self.screen
        target = 0 if pair == 18 else pair + 1
        run = subprocess.run(
            [self.probe, str(digit), str(s.strip_left + CELL * target + 17), str(s.arrow_row),
             str(s.strip_left + CELL * pair + 2), str(s.cell_top + 2), "13",
             "0" if self.digit_of[left] == digit else "1"], capture_output=True, text=True)
        if run.returncode != 0:
            return False  # the time ran out under the probe
        band = s.band()
        self.taken(digit, pair, s.cell_picture(band, pair), left, right,
                   int(run.stdout) / 1e6, known)
        return True


class Session:
    """One running copy of a game, from start prompt to start prompt."""

    def __init__(self, probe, executable, screen, figures):
        self.probe, self.screen, self.figures = probe, screen, figures
        self.game = Game(executable)
        self.process = None
        began = time.monotonic()
        screen.track(self.game.start())
        self.process = self.game.process
        self.prompt = screen.wait_balloon(len(screen.log))
        figures.add("start", (time.monotonic() - began) * 1000)

    def press(self, key, balloon):
        """Taps the key the moment the balloon shows, again when the game missed it."""
        for _ in range(5):
            self.screen.tap(key, 0.03)
            gone = self.screen.wait_gone(balloon, 3)
            if gone:
                return gone
            self.figures.add("lost presses", 1)
        raise Failure("the game takes no %s" % key)

    def close(self):
        self.press("Escape", self.prompt)
        self.game.wait_exit()
        self.game.close()

    def begin_play(self):
        """Starts a time attack; returns the balloon watcher and the log's point of play."""
        watcher = subprocess.Popen([self.probe, "watch", xgame.BALLOON],
                                   stdout=subprocess.PIPE, text=True)
        time.sleep(0.3)  # for the watcher to select its events before "Ready..." maps
        since = self.press("Return", self.prompt)
        for _ in range(2):  # "Ready..." and "GO!"
            since = self.screen.wait_gone(self.screen.wait_balloon(since), 5)
        return watcher, since

    def end_play(self, watcher, since):
        """Waits for the result; returns the balloon events: Ready..., GO! and the score."""
        score = self.screen.wait_balloon(since, timeout=70)
        time.sleep(0.5)  # for the watcher to see it too
        watcher.terminate()
        events = [line.split() for line in watcher.communicate()[0].splitlines()]
        if [kind for kind, _ in events][:5] != ["map", "unmap", "map", "unmap", "map"]:
            raise SystemExit("unexpected balloon sequence %s" % events)
        return score, [float(at) for _, at in events]

    def back_to_prompt(self, score):
        self.prompt = self.screen.wait_balloon(self.press("Return", score))

    def idle_attack(self, xserver):
        """A time attack without answers: processor time in each phase and the label's lag."""
        figures, s = self.figures, self.screen
        if xserver:
            figures.add("cpu prompt", *cpu_percent([self.process.pid, xserver]))
        watcher, since = self.begin_play()
        if xserver:
            figures.add("cpu play", *cpu_percent([self.process.pid, xserver]))
        # The time label of the cursor while it stands over cells 0 and 1.
        label = (s.strip_left, s.cell_top - 35 + 4, 30, 14)
        changes = subprocess.run([self.probe, "changes", *map(str, label), "30"],
                                 capture_output=True, text=True).stdout.split()
        score, events = self.end_play(watcher, since)
        go_gone = events[3]
        # The label shows tenth k from 50 + 100 k ms after play begins (59.9 at 50 ms).
        for seen in map(float, changes):
            since = (seen - go_gone) * 1000
            tenth = round((since - 50) / 100)
            figures.add("label lag", since - 50 - 100 * tenth)
        if xserver:
            time.sleep(1)
            figures.add("cpu result", *cpu_percent([self.process.pid, xserver]))
        self.back_to_prompt(score)

    def played_attack(self, label):
        watcher, since = self.begin_play()
        player = MeasuringPlayer(self.screen, self.probe)
        player.play(since)
        self.figures.add("memory", resident_kib(self.process.pid))
        score, events = self.end_play(watcher, since)
        self.figures.add("play " + label, events[4] - events[3])
        for latency in player.latencies:
            self.figures.add("latency " + label, latency * 1000)
        self.back_to_prompt(score)


class Figures:
    def __init__(self):
        self.values = {}

    def add(self, name, value, xserver_value=None):
        self.values.setdefault(name, []).append(value)
        if xserver_value is not None:
            self.values.setdefault("x " + name, []).append(xserver_value)

    def get(self, name):
        return self.values.get(name, [])


def measure(probe, executable, attacks, loaded_attacks, xserver):
    figures = Figures()
    screen = Screen()
    for _ in range(10):
        Session(probe, executable, screen, figures).close()

    session = Session(probe, executable, screen, figures)
    try:
        time.sleep(2)
        session.idle_attack(xserver)
        for _ in range(attacks):
            session.played_attack("idle")
        load = subprocess.Popen(["stress-ng", "--cpu", "2", "--quiet"])
        try:
            time.sleep(2)
            session.idle_attack(None)
            for _ in range(loaded_attacks):
                session.played_attack("loaded")
        finally:
            load.terminate()
            load.wait()
        session.close()
    finally:
        session.game.close()
    return figures


def describe(values, unit, decimals=1):
    if not values:
        return "–"
    shown = "%%.%df" % decimals
    return ("%s / %s %s (%d)" % (shown % statistics.median(values),
                                 shown % percentile(values, 0.99), unit, len(values)))


def mean(values, unit, decimals=1):
    return ("%%.%df %%s" % decimals) % (statistics.mean(values), unit) if values else "–"


def spread(values, unit, decimals=3):
    if not values:
        return "–"
    shown = "%%.%df" % decimals
    return "%s %s (%s to %s)" % (shown % statistics.median(values), unit,
                                 shown % min(values), shown % max(values))


ROWS = [
    ("game CPU at the start prompt, % of one core", lambda f: mean(f.get("cpu prompt"), "%")),
    ("game CPU in play with no key pressed", lambda f: mean(f.get("cpu play"), "%")),
    ("game CPU on the result screen", lambda f: mean(f.get("cpu result"), "%")),
    ("X server CPU at the start prompt", lambda f: mean(f.get("x cpu prompt"), "%")),
    ("X server CPU in play with no key pressed", lambda f: mean(f.get("x cpu play"), "%")),
    ("X server CPU on the result screen", lambda f: mean(f.get("x cpu result"), "%")),
    ("key press (XTEST) to moved cursor and new digit, p50 / p99 (answers)",
     lambda f: describe(f.get("latency idle"), "ms")),
    ("the same while `stress-ng --cpu 2` loads both cores",
     lambda f: describe(f.get("latency loaded"), "ms")),
    ("play from \"GO!\" gone to the score balloon", lambda f: spread(f.get("play idle"), "s")),
    ("the same under load", lambda f: spread(f.get("play loaded"), "s")),
    ("time label change after its tenth boundary (from \"GO!\" gone), p50 / p99 (changes)",
     lambda f: describe(f.get("label lag"), "ms")),
    ("start to start prompt on the screen, p50 / p99 (starts)",
     lambda f: describe(f.get("start"), "ms")),
    ("resident memory during play", lambda f: describe(f.get("memory"), "KiB", 0)),
    ("presses of ENTER or ESC the game missed and the bench repeated (see `key_presses.py`)",
     lambda f: str(len(f.get("lost presses")))),
]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("probe")
    parser.add_argument("games", nargs="+", help="NAME=EXECUTABLE")
    parser.add_argument("--attacks", type=int, default=3)
    parser.add_argument("--loaded-attacks", type=int, default=2)
    args = parser.parse_args()
    xserver = int(os.environ["XVFB_PID"]) if "XVFB_PID" in os.environ else None

    results = []
    for entry in args.games:
        name, executable = entry.split("=", 1)
        print("measuring %s (%s)" % (name, executable), file=sys.stderr)
        results.append((name, measure(args.probe, executable, args.attacks,
                                      args.loaded_attacks, xserver)))

    print("| figure | " + " | ".join(name for name, _ in results) + " |")
    print("|---|" + "---|" * len(results))
    for title, show in ROWS:
        print("| %s | %s |" % (title, " | ".join(show(figures) for _, figures in results)))


if __name__ == "__main__":
    main()
