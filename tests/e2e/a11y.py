"""The programs as a screen reader finds and works them (the accessibility bus), one command a run; windows by their
whole title, controls by their accessible name (a field's is its label's text):
  wait TITLE active|inactive|shown|gone SECONDS; find TITLE TEXT SECONDS; type TITLE FIELD TEXT; press TITLE BUTTON;
  menu TITLE ITEM...; only TITLE SECONDS (once both programs are on the bus, TITLE is their one window for SECONDS)"""
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi


def windows(title):
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        for j in range(app.get_child_count() if app else 0):
            window = app.get_child_at_index(j)
            if window and window.get_name() == title:
                yield window


def ours():
    """The windows of this program's processes (both are called Lumenpane), whatever their state."""
    desktop = Atspi.get_desktop(0)
    apps = [desktop.get_child_at_index(i) for i in range(desktop.get_child_count())]
    apps = [app for app in apps if app and app.get_name() == "Lumenpane"]
    return len(apps), [app.get_child_at_index(j).get_name() for app in apps for j in range(app.get_child_count())]


def state(title):
    for window in windows(title):
        states = window.get_state_set()
        if states.contains(Atspi.StateType.SHOWING):
            return "active" if states.contains(Atspi.StateType.ACTIVE) else "inactive"
    return "gone"


def named(node, name, depth=0):
    """The first control below node whose name is the given one ("&" and a colon aside); labels are no controls."""
    if depth > 40:
        return None
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is None:
            continue
        if (child.get_name() or "").replace("&", "").rstrip(":") == name and child.get_role() != Atspi.Role.LABEL:
            return child
        found = named(child, name, depth + 1)
        if found:
            return found
    return None


def control(title, name):
    for window in windows(title):
        found = named(window, name)
        if found:
            return found
    sys.exit("no %s in %s" % (name, title))


def until(seconds, condition):
    end = time.monotonic() + float(seconds)
    while not condition():
        if time.monotonic() > end:
            return False
        time.sleep(0.1)
    return True


def press(node):
    """A button's or menu item's first action, which Qt's are: "Press"."""
    if not Atspi.Action.get_n_actions(node):
        sys.exit("%s cannot be pressed" % node.get_name())
    Atspi.Action.do_action(node, 0)


command, title, *rest = sys.argv[1:]
if command == "wait":
    ok = until(rest[1], lambda: state(title) == rest[0] or (rest[0] == "shown" and state(title) != "gone"))
    sys.exit(0 if ok else "%s is %s, not %s" % (title, state(title), rest[0]))
elif command == "only":
    until(60, lambda: ours()[0] == 2) or sys.exit("the viewer never came on the bus")
    end = time.monotonic() + float(rest[0])
    while time.monotonic() < end:
        if ours()[1] != [title]:
            sys.exit("windows anyone can find: %s" % ours()[1])
        time.sleep(0.02)
elif command == "find":
    ok = until(rest[1], lambda: any(named(w, rest[0]) for w in windows(title)))
    sys.exit(0 if ok else "nothing named %s in %s" % (rest[0], title))
elif command == "type":
    field = control(title, rest[0])
    Atspi.EditableText.set_text_contents(field, rest[1])
elif command == "press":
    press(control(title, rest[0]))
elif command == "menu":
    node = control(title, rest[0])
    for caption in rest[1:]:
        node = named(node, caption) or sys.exit("no menu item %s" % caption)
    press(node)
