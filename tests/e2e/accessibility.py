"""A screen reader's view of the real program through AT-SPI: the fire button is a push
button whose press fires as a click does, and the labels are named by their captions and
follow them as they change. Runs inside an X server and a private D-Bus session.
    accessibility.py BINARY WORKDIR"""
import os
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

binary, work = sys.argv[1:3]
STATS = "Targets hit of targets come"
failures = []


def check(what, expected, actual):
    ok = re.fullmatch(expected, actual or "") is not None
    failures.extend([] if ok else [what])
    print(f"ok   {what}" if ok else f"FAIL {what}: expected /{expected}/, saw {actual!r}")


def wait_for(condition, seconds):
    """Polls condition while delivering AT-SPI events, until it is true or time is up."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        while GLib.MainContext.default().iteration(False):
            pass
        if value := condition():
            return value
        time.sleep(0.05)
    return None


record = os.path.join(work, "game.txt")
names_heard = []
pyatspi.Registry.registerEventListener(
    lambda event: names_heard.append((event.source.description, event.source.name)),
    "object:property-change:accessible-name")
game = subprocess.Popen([binary, "--record", record], env=dict(
    os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
    VARNOTH_REGISTRY=os.path.join(work, "store.db")))
try:
    desktop = pyatspi.Registry.getDesktop(0)
    window = wait_for(lambda: next((app[0] for app in desktop
                                    if app and app.name == "varnoth" and app.childCount), None), 15)
    if window is None:
        sys.exit("FAIL the program never showed up on the accessibility bus")
    check("window", r"\.:Varnoth:\.", window.name)
    by_role = {}
    for child in window:
        by_role.setdefault(child.getRoleName(), []).append(child)
    labels = {c.description: c.name for c in by_role.get("label", [])}
    for description, caption in [("Score", "0"), ("High score and its holder", "Unknown 1,000 pts"),
                                 ("Lives", "5"), ("Stage", "Hit targets to upgrade device!"),
                                 (STATS, "0 of 0")]:
        check(f"label {description}", caption, labels.get(description))
    check("play field named and described", "Play field: .+",
          "".join(f"{c.name}: {c.description}" for c in by_role.get("canvas", [])))
    fire = next((c for c in by_role.get("push button", []) if c.name == "Fire"), None)
    check("fire is a push button", "Fire", fire and fire.name)
    check("each knows its place", "True", str(all(c.getIndexInParent() == i
                                                for i, c in enumerate(window))))
    if fire:
        action = fire.queryAction()
        check("its default action and its key", "Press Space",
              f"{action.getName(0)} {action.getKeyBinding(0)}")
        action.doAction(0)
        # The recorder writes the fire button's Click event the moment its handler returns.
        fired = wait_for(lambda: os.path.exists(record) and "\nclick\n" in open(record).read(), 5)
        check("pressing it clicks the fire button", "True", str(bool(fired)))
    # The first target ends its crossing about eight seconds after the start (later on a
    # busy machine), hit or not, and the statistics label tells; a screen reader hears it.
    crossed = r"[01] of 1 \((0|100)%\)"
    heard = wait_for(lambda: next((name for description, name in names_heard
                                   if description == STATS and re.fullmatch(crossed, name)), None),
                     30)
    check("statistics heard as they change", crossed, heard)
finally:
    game.kill()
    game.wait()
print(f"{len(failures)} failed")
sys.exit(1 if failures else 0)
