#!/usr/bin/env python3
"""Fails when the project's source files include one another in a circle.

A header and its source file count as one unit (ui/qt/TMainForm.h and .cpp
are "ui/qt/TMainForm"); an edge runs from a unit to every unit whose header it
includes. Prints each circle found as a chain of units.
"""
import os
import re
import sys

FOLDERS = ["app", "curves", "plot", "ui", "output", "dialogs", "tools", "fuzz"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def units(root):
    graph = {}
    for folder in FOLDERS:
        for base, _, files in os.walk(os.path.join(root, folder)):
            for name in files:
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(base, name)
                unit = os.path.splitext(os.path.relpath(path, root))[0]
                with open(path, encoding="utf-8", errors="replace") as f:
                    included = INCLUDE.findall(f.read())
                edges = graph.setdefault(unit, set())
                for inc in included:
                    target = os.path.splitext(inc)[0]
                    if target != unit and os.path.exists(os.path.join(root, inc)):
                        edges.add(target)
    return graph


def circles(graph):
    """Tarjan's strongly connected components with more than one unit."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []
    counter = [0]

    def visit(v):
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on_stack.add(v)
        for w in sorted(graph.get(v, ())):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            component = []
            while True:
                w = stack.pop()
                on_stack.discard(w)
                component.append(w)
                if w == v:
                    break
            if len(component) > 1:
                found.append(sorted(component))

    sys.setrecursionlimit(10000)
    for v in sorted(graph):
        if v not in index:
            visit(v)
    return found


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    found = circles(units(os.path.abspath(root)))
    for component in found:
        print("units that include one another in a circle:", " ".join(component))
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
