"""Deletes everything, opens the Backups card, restores the latest backup and finds the sample's
projects back in the data file, all through the accessibility bus. Run by atspi_session.sh
inside a private X and D-Bus session. Exit 0 when everything held, 1 with the reason otherwise."""
import json
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_walk import app, check, failures, find, find_all, press, showing, tab, wait_for  # noqa: E402

DATA = os.path.join(os.environ["XDG_DATA_HOME"], "Tallybrook", "tallybrook.json")


def projects_on_disk():
    try:
        with open(DATA, encoding="utf-8") as f:
            return len(json.load(f)["projects"])
    except (OSError, ValueError, KeyError):
        return -1


def button(root, name, inside_dialog=False):
    def pred(n):
        if n.getRoleName() != "push button" or n.name != name or not showing(n):
            return False
        if not inside_dialog:
            return True
        parent = n.parent
        while parent is not None:
            if parent.getRoleName() in ("dialog", "alert"):
                return True
            parent = parent.parent
        return False
    return find(root, pred)


def main():
    root = app()
    check(root is not None, "Tallybrook is on the accessibility bus")
    if root is None:
        return
    check(wait_for(lambda: projects_on_disk() == 37, 10), "the sample studio is on disk")

    press(tab(root, "Settings"), "Press")
    delete = wait_for(lambda: button(root, "Delete Data"))
    check(delete is not None, "the Delete Data button is there")
    press(delete, "Press")
    everything = wait_for(lambda: button(root, "Delete Everything", True))
    check(everything is not None, "the question offers Delete Everything")
    press(everything, "Press")
    check(wait_for(lambda: projects_on_disk() == 0, 10), "everything is deleted on disk")

    # Back on the page, the Backups card lists the copy made before that save.
    press(tab(root, "Board"), "Press")
    press(tab(root, "Settings"), "Press")
    backups = wait_for(lambda: find(root, lambda n: n.getRoleName() == "list" and n.name == "Backups"))
    check(backups is not None, "the Backups list is there")
    if backups is None:
        return
    items = wait_for(lambda: [c for c in find_all(backups, lambda n: n.getRoleName() == "list item")
                              if "37 projects" in c.name], 10)
    check(bool(items), "the latest backup holds the 37 projects")
    if not items:
        return
    # The newest entry is the first; a screen reader chooses it with the item's Toggle action.
    check(items[0].getIndexInParent() == 0, "the latest backup is the first entry")
    press(items[0], "Toggle")
    restore = wait_for(lambda: button(root, "Restore"))
    check(restore is not None, "choosing it offers Restore")
    press(restore, "Press")
    confirm = wait_for(lambda: button(root, "Restore", True))
    check(confirm is not None, "the question offers Restore")
    press(confirm, "Press")
    check(wait_for(lambda: projects_on_disk() == 37, 10), "the sample's projects are back in the data file")


if __name__ == "__main__":
    main()
    sys.exit(1 if failures else 0)
