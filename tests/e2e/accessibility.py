"""A screen reader's view of the real program through AT-SPI: the fire button is a push
button whose press fires as a click does, the labels are named by their meaning and their
captions and announce each change once, and the play field says when the game is over and
with what score. Runs inside an X server and a private D-Bus session.
    accessibility.py BINARY WORKDIR"""
import os
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

binary, work = sys.argv[1:3]
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


def hear(event):
    """Notes the new name of what announced one. The event names only the object, so its name
    is read back at once, long before the game changes it again."""
    try:
        names_heard.append(event.source.name)
    except Exception as error:  # the program may be gone by the time a late event arrives
        names_heard.append(f"unreadable: {error}")


pyatspi.Registry.registerEventListener(hear, "object:property-change:accessible-name")
environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
                   VARNOTH_REGISTRY=os.path.join(work, "store.db"))
game = subprocess.Popen([binary, "--record", record], env=environment)
try:
    desktop = pyatspi.Registry.getDesktop(0)
    window = wait_for(lambda: next((app[0] for app in desktop
                                    if app and app.name == "varnoth" and app.childCount), None), 15)
    if window is None:
        sys.exit("FAIL the program never showed up on the accessibility bus")
    check("window", r"\.:Varnoth:\.", window.name)
    # The parts' names and descriptions are the window test's; here, what the bridge makes of
    # each part's role.
    check("the parts by role", re.escape(str(
        [("label", "Score: 0"), ("label", "Best: Unknown 1,000 pts"), ("canvas", "Play field"),
         ("image", "Explosion"), ("push button", "Fire"), ("label", "Lives: 5"),
         ("label", "Hit targets to upgrade device!"), ("label", "Hits: 0 of 0")])),
        str([(child.getRoleName(), child.name) for child in window]))
    fire = next((child for child in window if child.name == "Fire"), None)
    if fire:
        action = fire.queryAction()
        check("its default action and its key", "Press Space",
              f"{action.getName(0)} {action.getKeyBinding(0)}")
        action.doAction(0)
        # The recorder writes the fire button's Click event the moment its handler returns.
        fired = wait_for(lambda: os.path.exists(record) and "\nclick\n" in open(record).read(), 5)
        check("pressing it clicks the fire button", "True", str(bool(fired)))
finally:
    game.kill()
    game.wait()

# A whole game, replayed in the window after three seconds that let the program join the bus:
# a direct hit, the last life lost, the game over with 1,000 points (no new best), and Yes to
# another game, whose first tick clears the play field. Two seconds between the changes leave
# time to read each name back before the next.
script = os.path.join(work, "over.txt")
with open(script, "w") as f:
    f.write("tick 120\nset lTargetStep 0\nset lTargetPos 4150\nclick\ntick 100\n"
            "set lLives 0\nset lTargetPos 8200\ntick 80\nmsgbox yes\nclick\ntick 80\n")
names_heard.clear()
game = subprocess.Popen([binary, "--replay", script], env=environment)
try:
    wait_for(lambda: game.poll() is not None, 30)
finally:
    game.kill()
    game.wait()
check("the replay exits 0", "0", str(game.returncode))
heard = lambda *starts: str([name for name in names_heard if name.startswith(starts)])
for what, starts, names in [
        ("each change of the statistics heard once, with its meaning", ("Hits: ",),
         ["Hits: 1 of 1 (100%)", "Hits: 1 of 2 (50%)", "Hits: 0 of 0"]),
        ("the lives heard", ("Lives: ",), ["Lives: -", "Lives: 5"]),
        ("the score heard", ("Score: ",), ["Score: 1,000", "Score: 0"]),
        ("the game over heard with its score, and the play field back in a new game",
         ("Game over", "Play field"), ["Game over. Score: 1,000 points", "Play field"])]:
    check(what, re.escape(str(names)), heard(*starts))
print(f"{len(failures)} failed")
sys.exit(1 if failures else 0)
