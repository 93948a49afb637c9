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
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import play_time_attack as game  # noqa: E402  the screen-reading player

CPU_SECONDS = 10
TICKS = os.sysconf("SC_CLK_TCK")
# The time label of the cursor while it stands over cells 0 and 1.
LABEL = (game.STRIP_LEFT, game.CELL_TOP - 35 + 4, 30, 14)


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(fraction * len(ordered)))]


def cpu_ticks(pid):
    with open("/proc/%d/stat" % pid) as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime, stime


def cpu_percent(pids, seconds=CPU_SECONDS):
    """Percent of one core each process used over the next seconds."""
    before = [cpu_ticks(pid) for pid in pids]
    time.sleep(seconds)
    return [100.0 * (cpu_ticks(pid) - b) / TICKS / seconds for pid, b in zip(pids, before)]


def resident_kib(pid):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


class MeasuringPlayer(game.Player):
    """Answers through the probe when it knows the answer, timing each one."""

    def __init__(self, probe):
        super().__init__()
        self.probe = probe
        self.latencies = []

    def answer(self, shot):
        pair = game.cursor_pair(shot)
        left, right = game.cell_picture(shot, pair), game.cell_picture(shot, pair + 1)
        if left not in self.digit_of or right not in self.digit_of:
            return super().answer(shot)
        digit = (self.digit_of[left] + self.digit_of[right]) % 10
        target = 0 if pair == 18 else pair + 1
        cell_x = game.STRIP_LEFT + game.CELL * pair
        run = subprocess.run(
            [self.probe, str(digit), str(game.STRIP_LEFT + game.CELL * target + 17),
             str(game.ARROW_TIP_ROW), str(cell_x + 2), str(game.CELL_TOP + 2), "13",
             "0" if self.digit_of[left] == digit else "1"], capture_output=True, text=True)
        if run.returncode != 0:
            return super().answer(game.screen())  # the time ran out under the probe
        self.latencies.append(int(run.stdout) / 1000.0)
        return self.taken(pair, digit, game.screen())


def press_until(key, condition, what, figures, timeout=5.0):
    """Presses the key until the condition holds; a press the game lost is counted."""
    for _ in range(3):
        time.sleep(game.SETTLE)
        game.key(key)
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            if condition():
                return
            time.sleep(0.02)
        figures.add("lost presses", 1)
    game.fail("waited in vain for " + what)


class Session:
    """One running copy of a game, from start prompt to start prompt."""

    def __init__(self, probe, executable):
        self.probe = probe
        self.work = tempfile.mkdtemp()
        copy = os.path.join(self.work, "noruka-keisan")
        shutil.copy(executable, copy)
        self.process = subprocess.Popen([copy], stderr=subprocess.DEVNULL)
        game.wait_for(lambda: game.balloons() == 1, "the start prompt")

    def close(self, figures):
        press_until("Escape", lambda: self.process.poll() is not None, "the game to end", figures)
        shutil.rmtree(self.work, ignore_errors=True)

    def begin_play(self, figures):
        """Starts a time attack; returns the balloon watcher."""
        watcher = subprocess.Popen([self.probe, "watch", "MakeRGNTalkWindowTitle"],
                                   stdout=subprocess.PIPE, text=True)
        blank = game.cell_picture(game.still_screen(), 0)
        press_until("Return", lambda: game.balloons() != 1 or
                    game.cell_picture(game.screen(), 0) != blank, "the countdown", figures)
        game.wait_for(lambda: game.cell_picture(game.screen(), 0) != blank, "the digits", 10)
        # "GO!" may still show for a moment after the digits have come.
        game.wait_for(lambda: game.balloons() == 0, "play", 10)
        return watcher

    def end_play(self, watcher):
        """Waits for the result; returns the balloon events: Ready..., GO! and the score."""
        game.wait_for(lambda: game.balloons() >= 1, "the result", 70)
        time.sleep(0.5)  # for the watcher to see it too
        watcher.terminate()
        events = [line.split() for line in watcher.communicate()[0].splitlines()]
        if [kind for kind, _ in events][:5] != ["map", "unmap", "map", "unmap", "map"]:
            raise SystemExit("unexpected balloon sequence %s" % events)
        return [float(at) for _, at in events]

    def back_to_prompt(self, figures):
        press_until("Return", lambda: game.balloons() == 1, "the next start prompt", figures)

    def idle_attack(self, figures, xserver):
        """A time attack without answers: processor time in each phase and the label's lag."""
        if xserver:
            figures.add("cpu prompt", *cpu_percent([self.process.pid, xserver]))
        watcher = self.begin_play(figures)
        if xserver:
            figures.add("cpu play", *cpu_percent([self.process.pid, xserver]))
        changes = subprocess.run([self.probe, "changes", *map(str, LABEL), "30"],
                                 capture_output=True, text=True).stdout.split()
        events = self.end_play(watcher)
        go_gone = events[3]
        # The label shows tenth k from 50 + 100 k ms after play begins (59.9 at 50 ms).
        for seen in map(float, changes):
            since = (seen - go_gone) * 1000
            tenth = round((since - 50) / 100)
            figures.add("label lag", since - 50 - 100 * tenth)
        if xserver:
            time.sleep(1)
            figures.add("cpu result", *cpu_percent([self.process.pid, xserver]))
        self.back_to_prompt(figures)

    def played_attack(self, figures, label):
        watcher = self.begin_play(figures)
        player = MeasuringPlayer(self.probe)
        while player.answer(game.screen()):
            pass
        figures.add("memory", resident_kib(self.process.pid))
        events = self.end_play(watcher)
        figures.add("play " + label, events[4] - events[3])
        for latency in player.latencies:
            figures.add("latency " + label, latency)
        self.back_to_prompt(figures)


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
    for _ in range(10):
        began = time.monotonic()
        session = Session(probe, executable)
        figures.add("start", (time.monotonic() - began) * 1000)
        session.close(figures)

    session = Session(probe, executable)
    try:
        time.sleep(2)
        session.idle_attack(figures, xserver)
        for _ in range(attacks):
            session.played_attack(figures, "idle")
        load = subprocess.Popen(["stress-ng", "--cpu", "2", "--quiet"])
        try:
            time.sleep(2)
            session.idle_attack(figures, None)
            for _ in range(loaded_attacks):
                session.played_attack(figures, "loaded")
        finally:
            load.terminate()
            load.wait()
        session.close(figures)
    finally:
        if session.process.poll() is None:
            session.process.kill()
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
    ("presses of ENTER or ESC the game missed and the bench repeated",
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
