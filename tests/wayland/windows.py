"""The compositor's top-level windows, from weston's scene graph.

  windows.py list          one line a window, topmost first: X Y W H<tab>TITLE
  windows.py wait TITLE    waits for a window with exactly this title and
                           prints X Y W H (Qt's window frame included)
  windows.py gone TITLE    waits until no window has this title
  windows.py popup [N]     waits for N popups (open menus; 1 by default)

Waiting gives up after 15 s with exit status 1. Needs weston's --debug.
"""
import re
import subprocess
import sys
import time

TOPLEVEL = re.compile(r"role xdg_toplevel, .*top-level window '(.*)' of ")
POSITION = re.compile(r"position: \((-?\d+), (-?\d+)\) -> \((-?\d+), (-?\d+)\)")


def scene_graph():
    return subprocess.run(["weston-debug", "scene-graph"], capture_output=True, text=True).stdout


def toplevels():
    title = None
    for line in scene_graph().splitlines():
        m = TOPLEVEL.search(line)
        if m:
            title = m.group(1)
            continue
        m = POSITION.search(line)
        if m and title is not None:
            x0, y0, x1, y1 = map(int, m.groups())
            yield (x0, y0, x1 - x0, y1 - y0), title
        title = None


def wait(condition):
    deadline = time.monotonic() + 15
    while time.monotonic() < deadline:
        if condition(list(toplevels())):
            return True
        time.sleep(0.05)
    return False


command = sys.argv[1]
if command == "list":
    for box, title in toplevels():
        print(*box, end="\t")
        print(title)
elif command == "wait":
    found = []

    def shown(windows):
        found[:] = [box for box, title in windows if title == sys.argv[2]]
        return bool(found)

    if not wait(shown):
        sys.exit(1)
    print(*found[0])
elif command == "gone":
    sys.exit(0 if wait(lambda windows: all(t != sys.argv[2] for _, t in windows)) else 1)
elif command == "popup":
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 1
    deadline = time.monotonic() + 15
    while scene_graph().count("role xdg_popup") < count:
        if time.monotonic() > deadline:
            sys.exit(1)
        time.sleep(0.05)
else:
    sys.exit(2)
