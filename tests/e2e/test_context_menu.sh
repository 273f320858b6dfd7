#!/usr/bin/env bash
# Context menu: a right click opens the entry's menu, whose first entry copies and shows the entry's own
# shortcut, if it has one; once the menu is closed, a left click copies again instead of opening the
# menu; Ctrl+Q in an open menu quits. The menu's items are read through the accessibility bus.
E2E_DESKTOP_OPTIONS="--session-bus"
source "$(dirname "$0")/lib.sh"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

# listen_for_menu_focus FILE: from now on, in the background, waits for the next menu item of any program
# to take the keyboard focus and writes its accessible name and key binding, a tab between, into FILE.
listen_for_menu_focus() {
  rm -f "$1" "$1.ready"
  /usr/bin/python3 - "$1" <<'PY' &
import os
import sys

import pyatspi
from gi.repository import GLib

out = sys.argv[1]


def focused(event):
    try:
        if event.detail1 != 1 or event.source.getRoleName() != "menu item":
            return
        action = event.source.queryAction()
        line = event.source.name + "\t" + (action.getKeyBinding(0) if action.nActions > 0 else "")
    except Exception:  # noqa: BLE001 - an item that went away while we looked
        return
    with open(out + ".part", "w") as part:
        part.write(line + "\n")
    os.rename(out + ".part", out)
    pyatspi.Registry.stop()


pyatspi.Registry.registerEventListener(focused, "object:state-changed:focused")
GLib.idle_add(lambda: open(out + ".ready", "w").close())
GLib.timeout_add_seconds(60, pyatspi.Registry.stop)
pyatspi.Registry.start()
PY
  E2E_PIDS+=($!)
  wait_for 20 "the accessibility listener" test -e "$1.ready"
}

first=6F000000-0000-4000-8000-00000000006F
second=70000000-0000-4000-8000-000000000070
# The first entry has a shortcut, Control+Alt+K; the second has none.
seed_preferences "[$(item_json "$first" 'First' 'first entry text' false false 0),$(item_json "$second" 'Second' 'second entry text' false false 1)]" \
  "\"KeyboardShortcuts_menuItem_$first\": {\"string\": \"{\\\"carbonKeyCode\\\":40,\\\"carbonModifiers\\\":6144}\"}"
focus="$E2E_HOME/menu-focus"
start_driftmark
wait_for 20 "the icons" icon_visible "$second"
context_menu_gone || fail "a menu is shown before any click"

# A right click on the second icon opens a menu and copies nothing by itself.
offer_clipboard_text 'the earlier text'
listen_for_menu_focus "$focus"
click_icon "$second" 3
wait_for 10 "the context menu" context_menu_shown
wait_for 10 "the right click on standard error" grep -qF "Menu bar right click for item: Second" "$DRIFTMARK_OUT"
clipboard_is 'the earlier text' || fail "opening the menu changed the clipboard"

# Its first entry shows no shortcut; it copies the second entry's text and closes the menu.
xdotool key Down
wait_for 10 "the first menu item to take the focus" test -e "$focus"
[ "$(cat "$focus")" = "Copy 'second entry text...' to clipboard"$'\t' ] ||
  fail "the second entry's copy item reads '$(cat "$focus")', without a shortcut expected"
xdotool key Return
wait_for 10 "the second entry's text" clipboard_is 'second entry text'
wait_for 10 "the menu to close" context_menu_gone
wait_for_log 10 "Copy to clipboard for 'Second', smartPaste: false"
wait_for_log 10 "copyTextToClipboard called for item: 'Second', smartPaste: false"

# Opened again and closed with Escape: nothing is copied.
offer_clipboard_text 'the earlier text'
click_icon "$second" 3
wait_for 10 "the context menu again" context_menu_shown
xdotool key Escape
wait_for 10 "the menu to close on Escape" context_menu_gone
clipboard_is 'the earlier text' || fail "closing the menu changed the clipboard"

# A left click now copies, and no menu opens.
click_icon "$second" 1
wait_for 10 "the left click's copy" clipboard_is 'second entry text'
wait_for_log 10 "Menu bar clicked for 'Second'! Previous app: nil"
context_menu_gone || fail "the left click opened the menu"
[ "$(log_count "Copy to clipboard for 'Second'")" = 1 ] || fail "the left click went through the menu"

# The other icon's menu copies its own entry, and shows the entry's shortcut beside it.
listen_for_menu_focus "$focus"
click_icon "$first" 3
wait_for 10 "the first icon's menu" context_menu_shown
xdotool key Down
wait_for 10 "the first menu item to take the focus" test -e "$focus"
[ "$(cat "$focus")" = "Copy 'first entry text...' to clipboard"$'\t'"Ctrl+Alt+K" ] ||
  fail "the first entry's copy item reads '$(cat "$focus")', not its shortcut Ctrl+Alt+K"
xdotool key Return
wait_for 10 "the first entry's text" clipboard_is 'first entry text'
wait_for 10 "the menu to close" context_menu_gone
wait_for_log 10 "Copy to clipboard for 'First', smartPaste: false"

# Ctrl+, works in the open menu as its Settings entry does: the menu closes.
click_icon "$first" 3
wait_for 10 "the menu before Ctrl+," context_menu_shown
xdotool key ctrl+comma
wait_for 10 "the menu to close on Ctrl+," context_menu_gone

# Ctrl+Q while the context menu is open quits Driftmark (exit status 0).
driftmark_ended() {
  local state
  state=$(ps -o stat= -p "$DRIFTMARK_PID" 2>/dev/null) || return 0
  [[ $state == Z* ]]
}
click_icon "$first" 3
wait_for 10 "the menu before Ctrl+Q" context_menu_shown
xdotool key ctrl+q
wait_for 10 "Driftmark to quit on Ctrl+Q" driftmark_ended
status=0
wait "$DRIFTMARK_PID" || status=$?
[ "$status" -eq 0 ] || fail "Ctrl+Q ended driftmark-menubar with status $status"
echo "PASS"
