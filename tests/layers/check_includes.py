#!/usr/bin/env python3
"""Checks the program's include graph: the backends' headers stay in their folders, no two
units include each other in a circle, no two top-level folders include each other, and no
source of the program includes the tests' probes.

A unit is a header with its source; a facade header platform/x.h and a backend's
platform/<backend>/x.cpp or .h are one unit. Usage: check_includes.py SOURCE_DIR"""

import os
import re
import sys

from graph import cycles, report

FOLDERS = ["game", "rgn", "scores", "menu", "platform", "resources"]
# Tools that run while building, not in the game.
BUILD_TOOLS = ["resources/scale_icon.cpp"]
# System headers that only one backend folder may include.
BACKEND_HEADERS = {
    "platform/qt": re.compile(r"<Q[A-Za-z]+>"),
    "platform/x11": re.compile(r"<X11/"),
    "platform/posix": re.compile(r"<(unistd|fcntl|pwd|poll|dirent|sys/[a-z_]+)\.h>"),
    "platform/sqlite": re.compile(r"<sqlite3"),
}
INCLUDE = re.compile(r'^#include\s+("[^"]+"|<[^>]+>)', re.M)
# The tests' probes: only the test library's own sources may include them.
TESTING = '"platform/testing.h"'


def in_test_library(path):
    return os.path.basename(path) == "testing.cpp" and path.startswith("platform/")


def sources(root):
    for folder in FOLDERS:
        for directory, _, names in os.walk(os.path.join(root, folder)):
            for name in names:
                if name.endswith((".h", ".cpp")):
                    yield os.path.relpath(os.path.join(directory, name), root)


def unit_of(root, path):
    stem = os.path.splitext(path)[0]
    parts = stem.split("/")
    if len(parts) == 3 and parts[0] == "platform":
        facade = os.path.join("platform", parts[2])
        if os.path.exists(os.path.join(root, facade + ".h")):
            return facade
    return stem


def main(root):
    files = sorted(sources(root))
    units = {unit_of(root, path) for path in files}
    graph = {unit: set() for unit in units}
    faults = []
    for path in files:
        text = open(os.path.join(root, path), encoding="utf-8").read()
        for included in INCLUDE.findall(text):
            if included == TESTING and not in_test_library(path):
                faults.append("%s includes the tests' probes" % path)
            for folder, pattern in BACKEND_HEADERS.items():
                if path in BUILD_TOOLS:
                    continue
                if pattern.match(included) and not path.startswith(folder + "/"):
                    faults.append("%s includes %s, which only %s/ may" % (path, included, folder))
            if included.startswith('"'):
                target = unit_of(root, os.path.splitext(included.strip('"'))[0] + ".h")
                if target in units and target != unit_of(root, path):
                    graph[unit_of(root, path)].add(target)
    for component in cycles(graph):
        faults.append("units include each other: " + " ".join(component))
    top = lambda unit: unit.split("/")[0]
    pairs = {(top(a), top(b)) for a in graph for b in graph[a] if top(a) != top(b)}
    for a, b in sorted(pairs):
        if a < b and (b, a) in pairs:
            faults.append("folders include each other: %s and %s" % (a, b))
    return report(faults, "%d units" % len(units))


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
