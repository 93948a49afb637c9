#!/usr/bin/env python3
"""Checks the calls between the platform's sources: a backend implements what the facade
declares and is handed what it needs, so no facade source calls into a backend source that calls
back into it, directly or through others.

Reads the platform library's object files with nm: an object calls another when it needs a
symbol the other defines. Virtual calls through an interface leave no such trace, which is the
point. Usage: check_calls.py OBJECT..."""

import os
import subprocess
import sys

from graph import cycles, report


def symbols(path):
    """The symbols an object file defines, and those it needs."""
    out = subprocess.run(["nm", "--format=posix", path], capture_output=True, text=True,
                         check=True).stdout
    defined, needed = set(), set()
    for line in out.splitlines():
        parts = line.split()
        if len(parts) < 2:
            continue
        name, kind = parts[0], parts[1]
        if kind == "U":
            needed.add(name)
        elif kind in "TDBRWVu":
            defined.add(name)
    return defined, needed


def backend_of(member):
    """The backend folder of a backend's object, None for the facade's."""
    parts = member.split("/")
    return parts[-2] if len(parts) > 1 and parts[-2] != "noruka_platform.dir" else None


def main(arguments):
    # CMake hands the object list over as one argument, separated by ";".
    paths = [os.path.normpath(p) for argument in arguments for p in argument.split(";") if p]
    members = {}
    for path in paths:
        name = path[path.index("noruka_platform.dir"):] if "noruka_platform.dir" in path else path
        members[name] = symbols(path)
    definers = {}
    for member, (defined, _) in members.items():
        for symbol in defined:
            definers.setdefault(symbol, set()).add(member)
    calls = {member: set() for member in members}
    for member, (_, needed) in members.items():
        for symbol in needed:
            for other in definers.get(symbol, ()):
                if other != member:
                    calls[member].add(other)

    # A backend object and a facade object in one circle call each other, however far round.
    faults = ["calls go round: " + " ".join(circle) for circle in cycles(calls)
              if any(backend_of(member) is None for member in circle) and
              any(backend_of(member) is not None for member in circle)]
    return report(faults, "%d objects" % len(members))


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
