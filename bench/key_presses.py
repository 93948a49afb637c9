#!/usr/bin/env python3
"""Counts the key presses builds of the real game lose, side by side, idle and while
`stress-ng --cpu 2` loads both cores, and how often and how much they wake while nobody types.
Every press comes the moment a player could make it, through XTEST (tests/x11/xgame.py):

- ENTER and ESC tapped (30 ms and 4 ms) as the start prompt's balloon maps and as its pixels
  show, each on a fresh start of the game;
- ENTER tapped as the score's balloon maps or shows, after a time attack in which the digits 1
  to 0 were typed at the prompt and nothing in play (such a game must score 0); these time
  attacks run in parallel lanes, each with an X server of its own, since each lasts a minute;
- a quick player's answers, each pressed 2 ms after the previous one was let go, with the time
  from the press to the moved cursor and the new digit;
- wake-ups of the game's main thread (its voluntary context switches) and the game's processor
  time over 10 s at the start prompt, in play without keys and on the result.

Prints a Markdown table. Usage:
  key_presses.py NAME=GAME [NAME=GAME ...] [--presses N] [--results N] [--answers N]
                 [--lanes K]
The current X server must have a white root (scripts/with-xvfb).
"""
import argparse
import json
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "x11"))
import xgame  # noqa: E402
from quick_player import Player  # noqa: E402
from xgame import Failure, Game, Screen  # noqa: E402

TICKS = os.sysconf("SC_CLK_TCK")
MEASURE = 10.0  # seconds of each wake-up and processor-time figure
# Presses the game never answers are lost well before this; the bench need not wait longer.
LOST_AFTER = 2.0
PROMPT_TAPS = [("Return", 0.03), ("Return", 0.004)]
MOMENTS = [False, True]  # the balloon mapped, its pixels shown


def press_until_gone(screen, balloon):
    """Taps ENTER until the balloon goes; returns the point of the log after it went."""
    for _ in range(10):
        screen.tap("Return", 0.03)
        gone = screen.wait_gone(balloon, LOST_AFTER)
        if gone:
            return gone
    raise Failure("the game takes no ENTER at all")


def start_to_prompt(screen, game, drawn=True):
    screen.track(game.start())
    return screen.wait_balloon(len(screen.log), drawn=drawn)


def prompt_presses(screen, executable, presses):
    """Lost presses of N for each kind of tap on a freshly shown start prompt."""
    lost = {}
    game = Game(executable)
    try:
        kinds = [(key, hold, drawn) for key, hold in PROMPT_TAPS for drawn in MOMENTS]
        kinds += [("Escape", None, drawn) for drawn in MOMENTS]
        for key, hold, drawn in kinds:
            count = 0
            for i in range(presses):
                prompt = start_to_prompt(screen, game, drawn)
                screen.tap(key, hold or (0.03, 0.004)[i % 2])
                if not screen.wait_gone(prompt, LOST_AFTER):
                    count += 1
                game.stop()
            lost["%s %s %s" % (key, hold, drawn)] = count
    finally:
        game.close()
    return lost


def countdown(screen, since):
    for _ in range(2):
        since = screen.wait_gone(screen.wait_balloon(since), 5)
    return since


def digits_then_enter(screen, prompt):
    """Types the digits 1 to 0 at the prompt, as into a terminal, then ENTER; returns the log's
    point when play begins."""
    for digit in "1234567890":
        screen.tap(digit, 0.03)
        time.sleep(0.03)
    return countdown(screen, press_until_gone(screen, prompt))


def score_of(game):
    for line in game.settings().splitlines():
        if line.startswith("HISCORE1="):
            return int(line.split("=", 1)[1].split(",", 1)[0])
    raise Failure("no score saved: %r" % game.settings())


def lane(executable, attacks, first):
    """One lane: an X server of its own, time attacks with digits typed at the prompt, ENTER as
    the score maps or shows. Prints its counts as JSON."""
    server = xgame.start_server()
    game = Game(executable)
    figures = {"results": 0, "lost": 0, "scored": 0}
    try:
        screen = Screen()
        prompt = start_to_prompt(screen, game)
        for i in range(first, first + attacks):
            if os.path.exists(game.path + ".ini"):
                os.remove(game.path + ".ini")
            since = digits_then_enter(screen, prompt)
            score = screen.wait_balloon(since, timeout=75, drawn=MOMENTS[i % 2])
            screen.tap("Return", (0.03, 0.004)[i // 2 % 2])
            gone = screen.wait_gone(score, LOST_AFTER)
            figures["results"] += 1
            if not gone:
                figures["lost"] += 1
                gone = press_until_gone(screen, score)
            prompt = screen.wait_balloon(gone)
            figures["scored"] += score_of(game) > 0
    finally:
        game.close()
        server.kill()
        server.wait()
    print(json.dumps(figures))


def result_presses(executable, results, lanes):
    lanes = max(1, min(lanes, results))
    share = [results // lanes + (i < results % lanes) for i in range(lanes)]
    runs = []
    for i, attacks in enumerate(share):
        runs.append(subprocess.Popen([sys.executable, __file__, "--lane", executable,
                                      str(attacks), str(i)], stdout=subprocess.PIPE, text=True))
        time.sleep(60.0 / lanes)  # so that the lanes' results come one at a time
    total = {"results": 0, "lost": 0, "scored": 0}
    for run in runs:
        out, _ = run.communicate()
        if run.returncode != 0:
            raise Failure("a lane failed: %s" % out)
        for name, value in json.loads(out.splitlines()[-1]).items():
            total[name] += value
    return total


def idle_figures(screen, executable):
    """Wake-ups a second of the main thread and processor time over 10 s at the prompt, in play
    with no key and on the result; and whether digits typed at the prompt scored."""
    game = Game(executable)
    figures = {}

    def measure(name):
        time.sleep(1)
        switches, ticks = xgame.main_thread_switches(pid), xgame.cpu_ticks(pid)
        time.sleep(MEASURE)
        figures["wakeups " + name] = (xgame.main_thread_switches(pid) - switches) / MEASURE
        figures["cpu " + name] = 100.0 * (xgame.cpu_ticks(pid) - ticks) / TICKS / MEASURE

    try:
        prompt = start_to_prompt(screen, game)
        pid = game.process.pid
        measure("prompt")
        since = digits_then_enter(screen, prompt)
        measure("play")
        score = screen.wait_balloon(since, timeout=75)
        measure("result")
        screen.wait_balloon(press_until_gone(screen, score))
        figures["scored"] = score_of(game) > 0
    finally:
        game.close()
    return figures


def play(screen, executable, answers):
    """Whole time attacks of quick answers until that many known answers were pressed."""
    game = Game(executable)
    player = Player(screen, count_lost=True, spaced_every=10)
    try:
        prompt = start_to_prompt(screen, game)
        while player.known < answers:
            since = countdown(screen, press_until_gone(screen, prompt))
            score = screen.wait_balloon(player.play(since))
            prompt = screen.wait_balloon(press_until_gone(screen, score))
    finally:
        game.close()
    return player


def measure(name, executable, args, loaded):
    print("measuring %s %s" % (name, "loaded" if loaded else "idle"), file=sys.stderr)
    screen = Screen()
    figures = {"prompt": prompt_presses(screen, executable, args.presses)}
    player = play(screen, executable, args.answers)
    figures["play"] = (player.lost, player.known, player.misread, player.latencies,
                       player.spaced)
    figures.update(idle_figures(screen, executable))
    figures["results"] = result_presses(executable, args.results, args.lanes)
    return figures


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(fraction * len(ordered)))] if ordered else 0.0


def quantiles(seconds):
    if not seconds:
        return "–"
    return "%.1f / %.1f ms" % (1000 * statistics.median(seconds), 1000 * percentile(seconds, 0.99))


def rows(presses):
    def prompt(key, hold, drawn):
        return lambda f: "%d" % f["prompt"]["%s %s %s" % (key, hold, drawn)]

    def pair(first, second, n):
        return lambda f: "%s / %s of %d" % (first(f), second(f), n)

    table = []
    for loaded in (False, True):
        when = "with `stress-ng --cpu 2`" if loaded else "idle"
        for drawn, moment in ((False, "maps"), (True, "shows")):
            table.append(("ENTER tapped the moment the prompt %s, 30 ms / 4 ms taps: presses "
                          "lost, %s" % (moment, when), loaded,
                          pair(prompt("Return", 0.03, drawn), prompt("Return", 0.004, drawn),
                               presses)))
        table.append(("ESC tapped (30 ms and 4 ms in turn) the moment the prompt maps / shows: "
                      "presses lost, %s" % when, loaded,
                      pair(prompt("Escape", None, False), prompt("Escape", None, True),
                           presses)))
        table.append(("ENTER tapped the moment the score balloon maps or shows (in turn): "
                      "presses lost, %s" % when, loaded,
                      lambda f: "%d of %d" % (f["results"]["lost"], f["results"]["results"])))
        table.append(("play, 2 ms between release and next press: answers lost (pairs misread "
                      "or guessed in vain), %s"
                      % when, loaded,
                      lambda f: "%d of %d (%d)" % (f["play"][0], f["play"][1], f["play"][2])))
        table.append(("key press to moved cursor and new digit, p50 / p99: every tenth answer, "
                      "20 ms after the last / all answers, %s" % when, loaded,
                      lambda f: "%s / %s" % (quantiles(f["play"][4]), quantiles(f["play"][3]))))
        table.append(("wake-ups a second of the main thread at the start prompt / on the result"
                      " / in play without keys, %s" % when, loaded,
                      lambda f: "%.1f / %.1f / %.1f" % (f["wakeups prompt"],
                                                        f["wakeups result"],
                                                        f["wakeups play"])))
        table.append(("game CPU at the prompt / in play without keys, %s" % when, loaded,
                      lambda f: "%.1f / %.1f %%" % (f["cpu prompt"], f["cpu play"])))
        table.append(("games with no digit typed in play that score more than 0 after typing "
                      "digits at the prompt, %s" % when, loaded,
                      lambda f: "%d of %d" % (f["results"]["scored"] + f["scored"],
                                              f["results"]["results"] + 1)))
    return table


def main():
    if len(sys.argv) == 5 and sys.argv[1] == "--lane":
        try:
            lane(sys.argv[2], int(sys.argv[3]), int(sys.argv[4]))
        except Failure as failure:
            print("lane failed: %s" % failure)
            sys.exit(1)
        return
    parser = argparse.ArgumentParser()
    parser.add_argument("games", nargs="+", help="NAME=EXECUTABLE")
    parser.add_argument("--presses", type=int, default=50, help="of each kind at the prompt")
    parser.add_argument("--results", type=int, default=50, help="time attacks ended with ENTER")
    parser.add_argument("--answers", type=int, default=500, help="quick answers at least")
    parser.add_argument("--lanes", type=int, default=10, help="time attacks at once")
    args = parser.parse_args()
    games = [entry.split("=", 1) for entry in args.games]

    figures = {}
    for loaded in (False, True):
        load = subprocess.Popen(["stress-ng", "--cpu", "2", "--quiet"]) if loaded else None
        try:
            if load:
                time.sleep(2)
            for name, executable in games:
                figures[name, loaded] = measure(name, executable, args, loaded)
        except Failure as failure:
            sys.exit("FAILED: %s" % failure)
        finally:
            if load:
                load.terminate()
                load.wait()

    print("| figure | " + " | ".join(name for name, _ in games) + " |")
    print("|---|" + "---|" * len(games))
    for title, loaded, show in rows(args.presses):
        print("| %s | %s |" % (title, " | ".join(show(figures[name, loaded])
                                                  for name, _ in games)))


if __name__ == "__main__":
    main()
