# The Qt window as assistive technology reads it (AT-SPI), for the tests
# that drive it with xdotool: its state written to FILE as key=value lines
# whenever it changes, in tab order, the form the Windows helper
# (zs_clipboard_tool state) gives for the Win32 dialog:
#   fokus=NAME, text.NAME=..., klick.NAME=X,Y (where a click hits a box or
#   an option), an=NAMES (enabled), haken=NAMES (checked),
#   sichtbar=NAMES (status labels shown), aktiv=0|1 (the window)
# The controls and their design names come from the control table
# (window/form1_tabelle.h). Runs until the window is gone.
# Usage: window_state.py FILE   (inside the program's accessibility bus)
#        window_state.py --zeit N: times N single calls to the window (a
#        control's state, 10 ms apart) and prints "median P90 max" in ms
import os
import re
import sys
import time

import pyatspi

ROLES = {
    "Textfeld": "text",
    "Kombinationsfeld": "combo box",
    "Kontrollkaestchen": "check box",
    "Optionsfeld": "radio button",
    "Schaltflaeche": "push button",
    "Rahmen": "panel",
    "Beschriftung": "label",
}
TITLE = "MORVAs Zweigschau"
# The labels that are not status labels; the status labels are alerts.
CAPTIONS = ("Label1", "Label2", "Label3")


def table():
    header = os.path.join(os.path.dirname(__file__), "..", "..", "window", "form1_tabelle.h")
    rows = re.findall(r'\{Steuerelement::\w+,\s*IDC_\w+,\s*"([^"]*)",\s*SteuerArt::(\w+),\s*"(?:[^"\\]|\\.)*",\s*(\d+)\}',
                      open(header, encoding="utf-8").read())
    if len(rows) != 21:
        sys.exit("window_state: %d rows in the control table" % len(rows))
    return [(name, kind, int(tab)) for name, kind, tab in rows]


def dialog():
    for _ in range(200):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "zweigschau":
                for child in app:
                    if child is not None and child.name == TITLE:
                        return child
        time.sleep(0.1)
    sys.exit("window_state: no window " + TITLE)


class Control:
    def __init__(self, name, kind, accessible):
        self.name, self.kind, self.acc = name, kind, accessible
        self.focusable = kind not in ("Beschriftung", "Rahmen")
        self.status = kind == "Beschriftung" and name not in CAPTIONS
        # An editable combo box's line edit holds its text and, while a
        # person types, the focus.
        self.edit = accessible
        if kind == "Kombinationsfeld":
            self.edit = next(c for c in accessible if c is not None and c.getRoleName() == "text")


# Assistive technology lists the window's controls in the order they were
# made, the frame first (it lies beneath the combo boxes); the control
# table holds them in that order but for the frame. So the controls of each
# kind are matched in order.
def controls(window, rows):
    by_role = {}
    for child in window:
        if child is not None:
            by_role.setdefault(child.getRoleName(), []).append(child)
    result = []
    for name, kind, tab in rows:
        role = "alert" if kind == "Beschriftung" and name not in CAPTIONS else ROLES[kind]
        found = by_role.get(role, [])
        if not found:
            sys.exit("window_state: no %s for %s" % (role, name))
        result.append((tab, Control(name, kind, found.pop(0))))
    return [c for _, c in sorted(result, key=lambda t: t[0])]


def report(window, controls):
    fokus, an, haken, sichtbar, texts, clicks = "", [], [], [], [], []
    for c in controls:
        state = c.acc.getState()
        if c.focusable:
            if state.contains(pyatspi.STATE_FOCUSED) or c.edit.getState().contains(pyatspi.STATE_FOCUSED):
                fokus = c.name
            if state.contains(pyatspi.STATE_ENABLED):
                an.append(c.name)
            if state.contains(pyatspi.STATE_CHECKED):
                haken.append(c.name)
        if c.status and state.contains(pyatspi.STATE_SHOWING):
            sichtbar.append(c.name)
        if c.kind in ("Textfeld", "Kombinationsfeld"):
            texts.append("text.%s=%s" % (c.name, c.edit.queryText().getText(0, -1)))
        elif c.name == "lblfertig":
            texts.append("text.%s=%s" % (c.name, c.acc.name))
        if c.focusable:
            e = c.acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            clicks.append("klick.%s=%d,%d" % (c.name, e.x + 8, e.y + e.height // 2))
    aktiv = "1" if window.getState().contains(pyatspi.STATE_ENABLED) else "0"
    return "\n".join(["fokus=" + fokus] + texts + clicks +
                     ["an=" + " ".join(an), "haken=" + " ".join(haken), "sichtbar=" + " ".join(sichtbar),
                      "aktiv=" + aktiv]) + "\n"


def timing(count):
    label = next(c for c in dialog() if c is not None and c.getRoleName() == "label")
    times = []
    for _ in range(count):
        start = time.perf_counter()
        label.getState()
        times.append((time.perf_counter() - start) * 1000)
        time.sleep(0.01)
    times.sort()
    print("%.1f %.1f %.1f" % (times[len(times) // 2], times[len(times) * 9 // 10], times[-1]))


def main():
    if sys.argv[1] == "--zeit":
        return timing(int(sys.argv[2]))
    path = sys.argv[1]
    window = dialog()
    known = controls(window, table())
    last = None
    while True:
        try:
            now = report(window, known)
        except Exception:  # the window is gone
            return
        if now != last:
            with open(path + ".neu", "w", encoding="utf-8") as f:
                f.write(now)
            os.replace(path + ".neu", path)
            last = now
        time.sleep(0.02)


main()
