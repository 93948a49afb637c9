#!/usr/bin/env python3
"""Measures the real game on the current X server: time to the start prompt, key-to-screen
latency of correct answers, length of play, and resident memory over many time attacks.
Prints a Markdown report.  Usage: measure_game.py GAME PROBE [ATTACKS]"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import play_time_attack as game  # noqa: E402  the screen-reading player


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(fraction * len(ordered)))]


def summary(values, unit, scale=1.0, decimals=1):
    shown = "%%.%df %%s" % decimals
    return "median %s, 99th percentile %s (%d samples)" % (
        shown % (statistics.median(values) * scale, unit),
        shown % (percentile(values, 0.99) * scale, unit), len(values))


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


def main():
    executable, probe = sys.argv[1], sys.argv[2]
    attacks = int(sys.argv[3]) if len(sys.argv) > 3 else 20
    work = tempfile.mkdtemp()
    copy = os.path.join(work, "noruka-keisan")
    shutil.copy(executable, copy)

    starts = []
    for _ in range(20):
        began = time.monotonic()
        process = subprocess.Popen([copy], stderr=subprocess.DEVNULL)
        game.wait_for(lambda: game.balloons() == 1, "the start prompt")
        starts.append(time.monotonic() - began)
        game.xdotool("key", "Escape")
        process.wait(timeout=5)

    process = subprocess.Popen([copy], stderr=subprocess.DEVNULL)
    plays, resident, latencies = [], [], []
    try:
        game.wait_for(lambda: game.balloons() == 1, "the start prompt")
        for attack in range(attacks):
            # Balloons as the X server shows them: Ready..., GO!, then the score.
            watcher = subprocess.Popen([probe, "watch", "MakeRGNTalkWindowTitle"],
                                       stdout=subprocess.PIPE, text=True)
            time.sleep(0.2)
            game.xdotool("key", "Return")
            blank = game.cell_picture(game.screen(), 0)
            game.wait_for(lambda: game.cell_picture(game.screen(), 0) != blank, "the digits", 5)
            player = MeasuringPlayer(probe)
            while player.answer(game.screen()):
                pass
            resident.append(resident_kib(process.pid))
            game.wait_for(lambda: game.balloons() >= 1, "the result")
            watcher.terminate()
            events = [line.split() for line in watcher.communicate()[0].splitlines()]
            kinds = [kind for kind, _ in events]
            # map Ready..., unmap it, map GO!, unmap it, map the score
            if kinds[:5] != ["map", "unmap", "map", "unmap", "map"]:
                raise SystemExit("unexpected balloon sequence %s" % kinds)
            plays.append(float(events[4][1]) - float(events[3][1]))
            latencies += player.latencies
            game.xdotool("key", "Return")
            game.wait_for(lambda: game.balloons() == 1, "the next start prompt")
            print("time attack %d: %d correct, %.3f s of play, %d KiB resident"
                  % (attack + 1, player.correct, plays[-1], resident[-1]), file=sys.stderr)
        game.xdotool("key", "Escape")
        process.wait(timeout=5)
    finally:
        if process.poll() is None:
            process.kill()
        shutil.rmtree(work, ignore_errors=True)

    print("| Measure | Figure | Target |")
    print("|---|---|---|")
    print("| Key-to-screen latency (XTEST press to moved cursor and new digit) | %s | 99th percentile under 5 ms |"
          % summary(latencies, "ms"))
    print("| Start to start prompt on the screen | %s | under 300 ms |" % summary(starts, "ms", 1000))
    print("| Play, from GO! gone to the score balloon | %s | 60.0 s ± 50 ms |" % summary(plays, "s", decimals=3))
    print("| Resident memory during play | %s | under 60 MB |" % summary(resident, "KiB", decimals=0))
    print("| Resident memory growth over %d time attacks | %+d KiB (first %d, last %d) | none beyond noise |"
          % (attacks, resident[-1] - resident[0], resident[0], resident[-1]))


if __name__ == "__main__":
    main()
