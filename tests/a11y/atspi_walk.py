"""Drives Tallybrook through the accessibility bus as a screen reader user would: walks the tree
on each tab, hears the toast that an action brings and a card's move by the keyboard, edits a
project through its Edit action and finds the change in the data file. Run by atspi_session.sh inside a private X and D-Bus session.
Exit 0 when everything held, 1 with the reason otherwise."""
import json
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

DATA = os.path.join(os.environ["XDG_DATA_HOME"], "Tallybrook", "tallybrook.json")
failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    if not ok:
        failures.append(what)


def children(node):
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield child


def find_all(node, pred, out=None):
    out = [] if out is None else out
    try:
        if pred(node):
            out.append(node)
        for child in children(node):
            find_all(child, pred, out)
    except Exception:  # an object that went away while being walked
        pass
    return out


def find(node, pred):
    found = find_all(node, pred)
    return found[0] if found else None


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def press(node, action_name):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i) == action_name:
            return action.doAction(i)
    raise RuntimeError("%s has no action %r" % (node.name, action_name))


def wait_for(test, seconds=5.0):
    deadline = time.time() + seconds
    while time.time() < deadline:
        result = test()
        if result:
            return result
        time.sleep(0.1)
    return test()


def app():
    desktop = pyatspi.Registry.getDesktop(0)
    return wait_for(lambda: next((a for a in children(desktop) if a.name == "Tallybrook"), None), 15)


def tab(root, name):
    return find(root, lambda n: n.getRoleName() in ("push button", "page tab", "radio button")
                and n.name == name)


def main():
    root = app()
    check(root is not None, "Tallybrook is on the accessibility bus")
    if root is None:
        return

    # The board: every project of the sample studio's year as a list item with an Edit button.
    cards = wait_for(lambda: find_all(root, lambda n: n.getRoleName() == "list item" and showing(n)))
    check(len(cards) >= 10, "the board lists the year's projects (%d)" % len(cards))
    headers = find_all(root, lambda n: n.getRoleName() == "table row" and n.name.startswith("PAID"))
    check(len(headers) == 1, "the Paid column header is one element")

    # Statistics: the monthly chart with its twelve bars.
    press(tab(root, "Statistics"), "Press")
    chart = wait_for(lambda: find(root, lambda n: n.name == "Monthly revenue chart" and showing(n)))
    check(chart is not None and chart.childCount == 12, "the monthly chart has twelve bars")
    # Settings: the directories and the preference switches.
    press(tab(root, "Settings"), "Press")
    check(wait_for(lambda: find(root, lambda n: n.name == "Show in Dock" and showing(n))) is not None,
          "the settings page shows its switches")
    press(tab(root, "Board"), "Press")

    # A toast is spoken as it appears: an alert that shows, named with its message. So is the page
    # that Ctrl+2 switches to.
    heard = []

    def on_event(event):
        try:
            if event.source.getRoleName() == "alert" and event.detail1:
                heard.append(event.source.name)
        except Exception:
            pass

    def listen_while(act, seconds=2):
        # Names are heard too, as a screen reader listens: without it the bus's cache of a name
        # that just changed is stale.
        pyatspi.Registry.registerEventListener(on_event, "object:state-changed:showing",
                                               "object:property-change:accessible-name")

        def run():
            act()
            return False

        def stop():
            pyatspi.Registry.stop()
            return False

        GLib.timeout_add(100, run)
        GLib.timeout_add(int(seconds * 1000), stop)
        pyatspi.Registry.start()
        pyatspi.Registry.deregisterEventListener(on_event, "object:state-changed:showing",
                                                 "object:property-change:accessible-name")

    header = wait_for(lambda: find(root, lambda n: n.getRoleName() == "table row"
                                   and n.name.startswith("PAID") and showing(n)))
    listen_while(lambda: press(header, "Move Column Right"))
    check("Column order updated" in heard, "the toast was announced (heard %r)" % heard)
    heard.clear()
    subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Tallybrook$", "windowactivate", "--sync"],
                   check=False)
    listen_while(lambda: subprocess.run(["xdotool", "key", "ctrl+2"], check=False))
    check("Statistics" in heard, "Ctrl+2 announced the page (heard %r)" % heard)
    subprocess.run(["xdotool", "key", "ctrl+1"], check=False)

    # A card carried to the next column by the keyboard: the move is spoken with the card's name
    # and its new column, and the toast with it. From the last column Ctrl+Right does nothing, so
    # Ctrl+Left is the other way to try.
    column = wait_for(lambda: find(root, lambda n: n.getRoleName() == "list" and n.childCount > 0
                                   and showing(n)))
    check(column is not None, "a column lists its cards")
    if column is not None:
        column.queryComponent().grabFocus()
        first = column.getChildAtIndex(0).name
        check(wait_for(lambda: column.getChildAtIndex(0).getState().contains(pyatspi.STATE_FOCUSED)),
              "the keyboard is on the column's first card")
        for keys in ("ctrl+Right", "ctrl+Left"):
            heard.clear()
            listen_while(lambda: subprocess.run(["xdotool", "key", keys], check=False))
            if any(h.startswith(first + " moved to ") for h in heard):
                break
        check(any(h.startswith(first + " moved to ") for h in heard) and
              any(h.startswith("Moved to ") for h in heard),
              "the keyboard's move was announced (heard %r)" % heard)

    # A project edited through its Edit action, with the sheet's own fields and buttons.
    edit = wait_for(lambda: find(root, lambda n: n.getRoleName() == "push button"
                                 and n.name == "Edit Aura Brand Identity" and showing(n)))
    check(edit is not None, "a card offers its Edit button")
    if edit is None:
        return
    press(edit, "Press")
    field = wait_for(lambda: find(root, lambda n: n.getRoleName() in ("text", "entry")
                                  and n.name == "Project Name" and showing(n)))
    check(field is not None, "the editor sheet opened with its name field")
    if field is None:
        return
    field.queryEditableText().setTextContents("Aura Brand Identity, spoken")
    save = find(root, lambda n: n.getRoleName() == "push button" and n.name == "Save Project" and showing(n))
    check(save is not None, "the sheet has its Save Project button")
    if save is None:
        return
    press(save, "Press")

    def saved():
        try:
            with open(DATA, encoding="utf-8") as f:
                names = [p["name"] for p in json.load(f)["projects"]]
        except (OSError, ValueError):
            return False
        return "Aura Brand Identity, spoken" in names

    check(wait_for(saved, 5), "the new name reached the data file")


if __name__ == "__main__":
    main()
    sys.exit(1 if failures else 0)
