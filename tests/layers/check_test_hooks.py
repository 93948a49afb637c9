#!/usr/bin/env python3
"""Checks that the game's binary holds none of the test library's probes and fault hooks.

Usage: check_test_hooks.py GAME TESTING_LIBRARY"""

import subprocess
import sys


def defined(path, *options):
    out = subprocess.run(["nm", "--format=posix", "--defined-only", *options, path],
                         capture_output=True, text=True, check=True).stdout
    return {line.split()[0] for line in out.splitlines()
            if len(line.split()) >= 2 and line.split()[1] in "TDBR"}


def main(game, library):
    hooks = defined(library)
    if not hooks:
        print("the test library defines nothing: wrong file?")
        return 1
    found = sorted(hooks & defined(game))
    for symbol in found:
        print("in the game:", subprocess.run(["c++filt", symbol], capture_output=True,
                                             text=True).stdout.strip())
    print("%d probes of the test library, %d of them in the game" % (len(hooks), len(found)))
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
