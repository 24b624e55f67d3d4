#!/usr/bin/python3
"""Reads the game's accessible tree through AT-SPI, as a screen reader does.

  atspi_dump.py tree WINDOW-TITLE   prints the tree of the game's window of that title
  atspi_dump.py listen              prints, as they come, the focus changes and the name
                                    and description changes the game sends
"""
import sys

import pyatspi


def game():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name.lower().startswith("clavimo"):
            return app
    return None


def line(node, depth):
    states = node.getState()
    marks = [name for name, state in (("focused", pyatspi.STATE_FOCUSED), ("focusable", pyatspi.STATE_FOCUSABLE))
             if states.contains(state)]
    text = "  " * depth + f"[{node.getRoleName()}] {node.name!r}"
    if node.description:
        text += f" — {node.description!r}"
    if marks:
        text += " (" + ", ".join(marks) + ")"
    return text


def tree(node, depth=0, limit=12):
    print(line(node, depth))
    count = node.childCount
    for i in range(min(count, limit)):
        child = node.getChildAtIndex(i)
        if child is not None:
            tree(child, depth + 1, limit)
    if count > limit:
        print("  " * (depth + 1) + f"... {count - limit} more")


def listen():
    def report(event):
        source = event.source
        try:
            who = f"[{source.getRoleName()}] {source.name!r}"
        except Exception:  # the object may be gone already
            who = "?"
        if event.type.startswith("object:state-changed:focused") and not event.detail1:
            return
        said = ""
        if event.type.endswith("accessible-description"):
            said = f" — {source.description!r}"
        print(f"{event.type}: {who}{said}", flush=True)

    for kind in ("object:state-changed:focused", "object:property-change:accessible-description",
                 "object:property-change:accessible-name", "object:property-change:accessible-value",
                 "object:value-changed"):
        pyatspi.Registry.registerEventListener(report, kind)
    pyatspi.Registry.start()


def main():
    if sys.argv[1:2] == ["listen"]:
        listen()
        return 0
    if len(sys.argv) == 3 and sys.argv[1] == "tree":
        app = game()
        if app is None:
            print("the game is not on the accessibility bus", file=sys.stderr)
            return 1
        # The start-up window bears the main window's title: the fuller one is taken.
        windows = [w for w in app if w is not None and w.name == sys.argv[2]]
        if windows:
            tree(max(windows, key=lambda w: w.childCount))
            return 0
        print(f"no window {sys.argv[2]!r}: " + ", ".join(repr(w.name) for w in app if w is not None), file=sys.stderr)
        return 1
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main())
