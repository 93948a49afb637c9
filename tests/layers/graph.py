"""What the layer checks share: circles in a graph, and how faults are told."""

import sys


def cycles(graph):
    """Strongly connected components with more than one unit (Tarjan)."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []

    def visit(unit):
        index[unit] = low[unit] = len(index)
        stack.append(unit)
        on_stack.add(unit)
        for other in graph[unit]:
            if other not in index:
                visit(other)
                low[unit] = min(low[unit], low[other])
            elif other in on_stack:
                low[unit] = min(low[unit], index[other])
        if low[unit] == index[unit]:
            component = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                component.append(member)
                if member == unit:
                    break
            if len(component) > 1:
                found.append(sorted(component))

    sys.setrecursionlimit(10000)
    for unit in sorted(graph):
        if unit not in index:
            visit(unit)
    return found


def report(faults, checked):
    """Prints each fault and what was checked; the exit status."""
    for fault in faults:
        print(fault)
    print("%s, %d faults" % (checked, len(faults)))
    return 1 if faults else 0
