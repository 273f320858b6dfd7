#!/usr/bin/python3
"""Reads Driftmark's windows through the accessibility bus (AT-SPI) for the end-to-end tests.

    atspi.py [--app NAME] [--window TITLE] [--timeout S] [--any] [--index N | --last] COMMAND ARGS...

    center ROLE NAME        "X Y": the screen centre of the control, for xdotool mousemove and click
    extents ROLE NAME       "X Y WIDTH HEIGHT" in screen coordinates
    text ROLE NAME          its text (the text of an editable control, otherwise its name); line breaks
                            are printed as "\\n"
    states ROLE NAME        its states, one per line (checked, enabled, focused, showing, ...)
    state ROLE NAME STATE   exit 0 when the control has the state, 1 when it has not
    wait-state ROLE NAME STATE [yes|no]
                            waits until the control has (or, with "no", has not) the state
    gone ROLE NAME          waits until no showing control matches
    caret ROLE NAME         the caret's offset in the control's text
    action ROLE NAME ACTION performs one of the control's actions ("Toggle", "Press", ...) as a screen
                            reader would
    focused                 "ROLE<TAB>NAME" of the control that has the keyboard focus
    count ROLE NAME         how many controls match
    dump                    the whole tree, for debugging

ROLE is an AT-SPI role name as `dump` prints it ("push button", "page tab", "text", "radio button",
"check box", ...; "_" and "-" stand for blanks; "a|b" takes either). NAME is the exact accessible name. Only controls that
are showing count, unless --any is given; with several matches the first in tree order is taken, or the
one chosen with --index or --last. Every look-up waits up to --timeout seconds (default 10) for a match,
and exits 2 with a message (and the tree on standard error) when there is none.
"""

import argparse
import os
import sys
import time

import pyatspi
from gi.repository import Atspi

PARAGRAPH_SEPARATOR = "\u2029"


def normal_role(role):
    return role.lower().replace("_", " ").replace("-", " ")


def role_matches(wanted, role):
    """ROLE may name alternatives, "page tab|push button"."""
    return normal_role(role) in (normal_role(alternative) for alternative in wanted.split("|"))


def role_name(accessible):
    try:
        return accessible.getRoleName()
    except Exception:  # noqa: BLE001 - an object that went away while we looked
        return ""


def state_names(accessible):
    try:
        states = accessible.getState().getStates()
    except Exception:  # noqa: BLE001
        return []
    return sorted(pyatspi.stateToString(state).replace("_", " ").lower() for state in states)


def is_showing(accessible):
    try:
        return accessible.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:  # noqa: BLE001
        return False


def children(accessible):
    try:
        count = accessible.childCount
    except Exception:  # noqa: BLE001
        return []
    result = []
    for index in range(count):
        try:
            child = accessible.getChildAtIndex(index)
        except Exception:  # noqa: BLE001
            continue
        if child is not None:
            result.append(child)
    return result


def applications(name):
    """The applications of the given name, each read afresh (nothing cached from an earlier look)."""
    desktop = pyatspi.Registry.getDesktop(0)
    found = []
    for app in children(desktop):
        try:
            if app.name != name:
                continue
            Atspi.Accessible.clear_cache(app)
        except Exception:  # noqa: BLE001
            continue
        found.append(app)
    return found


def walk(accessible, include_hidden, depth=0):
    yield accessible, depth
    for child in children(accessible):
        if include_hidden or is_showing(child):
            yield from walk(child, include_hidden, depth + 1)


def roots(options):
    """The application's top-level windows, only the one titled --window when given."""
    for app in applications(options.app):
        for window in children(app):
            if options.window is not None and window.name != options.window:
                continue
            if options.any or is_showing(window):
                yield window


def matches(options, role, name):
    found = []
    for window in roots(options):
        for accessible, _ in walk(window, options.any):
            try:
                if role_matches(role, role_name(accessible)) and accessible.name == name:
                    found.append(accessible)
            except Exception:  # noqa: BLE001
                continue
    return found


def pick(found, options):
    if not found:
        return None
    if options.last:
        return found[-1]
    if options.index is not None:
        return found[options.index] if options.index < len(found) else None
    return found[0]


def describe(accessible):
    parts = [role_name(accessible), repr(accessible.name)]
    try:
        x, y, width, height = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        parts.append(f"({x},{y} {width}x{height})")
    except Exception:  # noqa: BLE001
        pass
    states = [s for s in state_names(accessible)
              if s in ("checked", "enabled", "focused", "selected", "showing", "editable")]
    parts.append("[" + " ".join(states) + "]")
    text = text_of(accessible, fallback=False)
    if text:
        parts.append("text=" + repr(text))
    return " ".join(parts)


def dump(options, out):
    apps = applications(options.app)
    if not apps:
        print(f"no application named {options.app!r} on the accessibility bus", file=out)
        names = [app.name for app in children(pyatspi.Registry.getDesktop(0))]
        print(f"applications: {names}", file=out)
    for window in roots(options):
        for accessible, depth in walk(window, options.any):
            print("  " * depth + describe(accessible), file=out)


def text_of(accessible, fallback=True):
    try:
        text = accessible.queryText()
        value = text.getText(0, text.characterCount)
        return value.replace(PARAGRAPH_SEPARATOR, "\n")
    except Exception:  # noqa: BLE001
        return accessible.name if fallback else None


def wait_for(options, condition):
    deadline = time.monotonic() + options.timeout
    while True:
        result = condition()
        if result is not None:
            return result
        if time.monotonic() >= deadline:
            return None
        time.sleep(0.1)


def find(options, role, name):
    accessible = wait_for(options, lambda: pick(matches(options, role, name), options))
    if accessible is None:
        print(f"atspi: no {'' if options.any else 'showing '}{role} named {name!r} "
              f"in {options.app} within {options.timeout}s; the tree:", file=sys.stderr)
        dump(options, sys.stderr)
        sys.exit(2)
    return accessible


def perform(accessible, wanted):
    action = accessible.queryAction()
    names = [action.getName(index) for index in range(action.nActions)]
    for index, name in enumerate(names):
        if name.lower() == wanted.lower():
            action.doAction(index)
            return
    print(f"atspi: {role_name(accessible)} {accessible.name!r} has no action {wanted!r}, only {names}",
          file=sys.stderr)
    sys.exit(2)


def focused_control(options):
    """The innermost focused control: a list or pane holding the focus says it is focused too."""
    found = None
    for window in roots(options):
        for accessible, _ in walk(window, False):
            if "focused" in state_names(accessible):
                found = accessible
    return found


def extents(accessible):
    """Screen pixels. Qt reports a scaled program's places in its own, unscaled units: ATSPI_SCALE, the
    program's QT_SCALE_FACTOR, turns them into the screen's."""
    box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    scale = float(os.environ.get("ATSPI_SCALE", "1"))
    if scale == 1:
        return box
    scaled = Atspi.Rect()
    scaled.x, scaled.y = round(box.x * scale), round(box.y * scale)
    scaled.width, scaled.height = round(box.width * scale), round(box.height * scale)
    return scaled


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--app", default="driftmark-menubar")
    parser.add_argument("--window", help="only the top-level window of this title")
    parser.add_argument("--timeout", type=float, default=10.0)
    parser.add_argument("--any", action="store_true", help="hidden controls count too")
    parser.add_argument("--index", type=int)
    parser.add_argument("--last", action="store_true")
    parser.add_argument("command")
    parser.add_argument("arguments", nargs="*")
    options = parser.parse_args()
    command, arguments = options.command, options.arguments

    def need(count):
        if len(arguments) < count:
            parser.error(f"{command} takes {count} arguments")

    if command == "dump":
        dump(options, sys.stdout)
    elif command in ("center", "extents"):
        need(2)
        accessible = find(options, arguments[0], arguments[1])
        # A control that has only just appeared may not have its place yet.
        box = wait_for(options, lambda: (lambda e: e if e.width > 0 and e.height > 0 else None)(extents(accessible)))
        if box is None:
            print(f"atspi: {arguments[0]} {arguments[1]!r} has no size", file=sys.stderr)
            sys.exit(2)
        if command == "center":
            print(f"{box.x + box.width // 2} {box.y + box.height // 2}")
        else:
            print(f"{box.x} {box.y} {box.width} {box.height}")
    elif command == "text":
        need(2)
        print(text_of(find(options, arguments[0], arguments[1])))
    elif command == "states":
        need(2)
        print("\n".join(state_names(find(options, arguments[0], arguments[1]))))
    elif command == "state":
        need(3)
        wanted = arguments[2].lower().replace("_", " ")
        sys.exit(0 if wanted in state_names(find(options, arguments[0], arguments[1])) else 1)
    elif command == "wait-state":
        need(3)
        wanted = arguments[2].lower().replace("_", " ")
        present = len(arguments) < 4 or arguments[3] == "yes"

        def reached():
            accessible = pick(matches(options, arguments[0], arguments[1]), options)
            if accessible is None:
                return None
            return True if (wanted in state_names(accessible)) == present else None

        if wait_for(options, reached) is None:
            print(f"atspi: {arguments[0]} {arguments[1]!r} did not become {'' if present else 'not '}{wanted} "
                  f"within {options.timeout}s", file=sys.stderr)
            dump(options, sys.stderr)
            sys.exit(1)
    elif command == "gone":
        need(2)
        if wait_for(options, lambda: True if not matches(options, arguments[0], arguments[1]) else None) is None:
            print(f"atspi: {arguments[0]} {arguments[1]!r} is still there after {options.timeout}s", file=sys.stderr)
            sys.exit(1)
    elif command == "count":
        need(2)
        print(len(matches(options, arguments[0], arguments[1])))
    elif command == "caret":
        need(2)
        print(find(options, arguments[0], arguments[1]).queryText().caretOffset)
    elif command == "action":
        need(3)
        perform(find(options, arguments[0], arguments[1]), arguments[2])
    elif command == "focused":
        focused = wait_for(options, lambda: focused_control(options))
        if focused is None:
            print(f"atspi: nothing of {options.app} has the keyboard focus", file=sys.stderr)
            sys.exit(2)
        print(f"{role_name(focused)}\t{focused.name}")
    else:
        parser.error(f"unknown command {command}")


if __name__ == "__main__":
    main()
