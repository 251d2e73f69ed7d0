# The window as a screen reader sees it, through AT-SPI: prints the name of
# every text field, then presses Enter in the window (xdotool) and prints
# each label that announced itself (a name change or an alert) while the
# scan ran. Usage: a11y_probe.py WINDOW-ID
import subprocess
import sys
import threading
import time

import pyatspi


def application(name):
    for _ in range(100):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name:
                return app
        time.sleep(0.1)
    sys.exit("no application " + name)


def fields(accessible):
    for child in accessible:
        if child is None:
            continue
        if child.getRoleName() == "text":
            yield child.name
        yield from fields(child)


for name in fields(application("zweigschau")):
    print("field:", name)
sys.stdout.flush()

announced = []


def heard(event):
    if event.source.getRoleName() == "alert" and event.source.getState().contains(pyatspi.STATE_SHOWING):
        announced.append(event.source.name)


for kind in ("object:property-change:accessible-name", "object:announcement"):
    pyatspi.Registry.registerEventListener(heard, kind)


def scan():
    time.sleep(0.5)
    subprocess.run(["xdotool", "windowfocus", "--sync", sys.argv[1], "key", "Return"], check=False)
    time.sleep(2)
    pyatspi.Registry.stop()


threading.Thread(target=scan, daemon=True).start()
pyatspi.Registry.start()
for name in dict.fromkeys(announced):
    print("announced:", name)
