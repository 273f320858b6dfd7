#!/usr/bin/env bash
# The settings window with the keyboard alone: Tab and Shift+Tab reach every control in reading order,
# each drawn control shows a focus ring when the keyboard brings it there; Escape closes every sheet and
# confirmation as Cancel, and Return presses the focused button (a confirmation opens on Cancel); the
# text sheet puts the caret in its editor at every opening and saves with Ctrl+Return; Return in the add
# form's name field saves the entry once it can be saved. A screen reader's Toggle on "Start at Login"
# does what a click does.
E2E_DESKTOP_OPTIONS="--session-bus --size 1366x768"
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/settings_helpers.sh"

first=C1000000-0000-4000-8000-0000000000C1
second=C2000000-0000-4000-8000-0000000000C2
seed_preferences "[$(item_json "$first" 'First' 'first text' false false 0),$(item_json "$second" 'Second' 'second text' false false 1)]"
start_driftmark_for_settings "$first" "$second"
open_settings "$first"
AUTOSTART="$XDG_CONFIG_HOME/autostart/driftmark-menubar.desktop"

# expect_order KEY NAME...: from the focused control, each press of KEY brings the focus to the next name.
expect_order() {
  local key=$1 name
  shift
  for name in "$@"; do
    local before
    before=$(focused_control)
    xdotool key "$key"
    wait_for 3 "$key from '$(cut -f2 <<<"$before")' to reach '$name' (the focus is on '$(focused_control | cut -f2)')" \
      focused_is "$name"
  done
}
focused_is() {
  [ "$(focused_control | cut -f2)" = "$1" ]
}

# picture_of ROLE NAME FILE: the control and a few pixels around it, as on the screen now.
picture_of() {
  local x y width height
  read -r x y width height <<<"$(atspi --last extents "$1" "$2")" || fail "no $1 '$2'"
  import -window root -crop "$((width + 8))x$((height + 8))+$((x - 4))+$((y - 4))" +repage "$3" 2>/dev/null ||
    fail "no picture of the $1 '$2'"
}

# ring_shows ROLE NAME: the control looks different with the keyboard focus than without it (it must have
# the focus now; the focus is then moved on with Tab and back with Shift+Tab).
ring_shows() {
  local focused="$E2E_HOME/focused.png" unfocused="$E2E_HOME/unfocused.png" differing
  sleep 0.3
  picture_of "$1" "$2" "$focused"
  xdotool key Tab
  wait_for 3 "the focus to leave '$2'" not_focused_is "$2"
  sleep 0.3
  picture_of "$1" "$2" "$unfocused"
  xdotool key shift+Tab
  wait_for 3 "the focus to come back to '$2'" focused_is "$2"
  differing=$(compare -metric AE "$focused" "$unfocused" null: 2>&1 || true)
  [ "${differing%% *}" -gt 20 ] 2>/dev/null || fail "the $1 '$2' shows no focus ring ($differing pixels differ)"
}
not_focused_is() {
  ! focused_is "$1"
}

# --- Reading order, forward and back, with the rings -----------------------------------------------
click_control "$ROW" General
wait_for 3 "General to take the focus" focused_is General
expect_order Tab "Add menu item" First Second About "Start at Login" "Keyboard Shortcut" "Clear Shortcut" \
  "Reset to Defaults" General
expect_order shift+Tab "Reset to Defaults" "Clear Shortcut" "Keyboard Shortcut" "Start at Login" About Second First \
  "Add menu item" General
expect_order Tab "Add menu item"
ring_shows "push button" "Add menu item"
expect_order Tab First
ring_shows "$ROW" First
expect_order shift+Tab "Add menu item" General
xdotool key shift+Tab
wait_for 3 "Reset to Defaults to take the focus" focused_is "Reset to Defaults"
ring_shows "push button" "Reset to Defaults"
xdotool key shift+Tab
wait_for 3 "the General pane's Clear to take the focus" focused_is "Clear Shortcut"
ring_shows "push button" "Clear Shortcut"
screenshot "$SETTINGS_TITLE" clear-focused

# An entry's pane, forward through every control to the footer.
click_control "$ROW" First
wait_for_control heading First
expect_order Tab "Delete First" Second About "Item Name" "Edit Text" Blue Green Red Orange Purple Pink Teal Yellow \
  Gray Indigo "Keyboard Shortcut" "Enable Smart Paste" "Reset to Defaults"
expect_order shift+Tab "Enable Smart Paste" "Keyboard Shortcut" Indigo
ring_shows "$SWATCH" Indigo
screenshot "$SETTINGS_TITLE" swatch-focused
expect_order shift+Tab Gray Yellow Teal Pink Purple Orange Red Green Blue "Edit Text" "Item Name" About Second \
  "Delete First"
ring_shows "push button" "Delete First"

# Smart Paste on, from the keyboard; the Return switch then joins the order.
click_control "$ROW" First
press_until_focused "Enable Smart Paste" Tab
xdotool key space
wait_for_stored 10 "item(\"$first\")[\"usesSmartPaste\"]" true
expect_order Tab "Prepend New Line"
xdotool key space
wait_for_stored 10 "item(\"$first\")[\"prependNewline\"]" true
expect_order Tab "Reset to Defaults"

# --- The text sheet: Escape cancels, the caret is in the editor every time, Ctrl+Return saves ---------
press_until_focused "Edit Text" shift+Tab
xdotool key space
wait_for_control heading "Edit Text"
wait_for 3 "the caret in the editor" focused_is "Clipboard Text"
xdotool type --delay 15 "dropped"
xdotool key Escape
wait_for_control_gone heading "Edit Text"
wait_for_stored 10 "item(\"$first\")[\"text\"]" "first text"
# The second opening: typing goes straight into the editor, not onto a button.
wait_for 3 "the focus back on Edit Text" focused_is "Edit Text"
xdotool key space
wait_for_control heading "Edit Text"
wait_for 3 "the caret in the editor at the second opening" focused_is "Clipboard Text"
xdotool key ctrl+a
xdotool type --delay 15 "typed only"
xdotool key Return
xdotool type --delay 15 "with keys"
xdotool key ctrl+Return
wait_for_control_gone heading "Edit Text"
wait_for_stored 10 "item(\"$first\")[\"text\"]" $'typed only\nwith keys'

# --- The add form: Escape cancels; Return in the name saves once there is a text ---------------------
press_until_focused "Add menu item" shift+Tab
xdotool key space
wait_for_control heading "Add Menu Item"
wait_for 3 "the caret in the name field" focused_is "Item Name"
xdotool type --delay 15 "Dropped"
xdotool key Escape
wait_for_control_gone heading "Add Menu Item"
[ "$(stored_eval 'len(items)')" = 2 ] || fail "Escape in the add form stored an entry: $(stored_items)"

wait_for 3 "the focus back on the add control" focused_is "Add menu item"
xdotool key space
wait_for_control heading "Add Menu Item"
wait_for 3 "the caret in the name field" focused_is "Item Name"
xdotool type --delay 15 "Keyed"
# No text yet: Return saves nothing.
xdotool key Return
sleep 0.5
control_has_state heading "Add Menu Item" showing || fail "Return saved an entry without a text"
press_until_focused "Edit Text" Tab
xdotool key space
wait_for 3 "the caret in the editor" focused_is "Clipboard Text"
xdotool type --delay 15 "keyed text"
xdotool key ctrl+Return
wait_for_control_gone heading "Edit Text"
press_until_focused "Item Name" shift+Tab
xdotool key Return
wait_for_control_gone heading "Add Menu Item"
wait_for_stored 10 'len(items)' 3
wait_for_stored 10 'items[2]["title"]' Keyed
wait_for_stored 10 'items[2]["text"]' "keyed text"

# --- Confirmations: they open on Cancel; Return presses it, Escape cancels, Delete is reached with Tab -
wait_for_control heading Keyed
press_until_focused "Delete Keyed" shift+Tab
xdotool key space
wait_for_control dialog "Delete Menu Item"
wait_for 3 "Cancel to have the focus" focused_is Cancel
screenshot "$SETTINGS_TITLE" delete-confirmation
xdotool key Return
wait_for_control_gone dialog "Delete Menu Item"
[ "$(stored_eval 'len(items)')" = 3 ] || fail "Return on Cancel deleted the entry"
wait_for 3 "the focus back on the delete control" focused_is "Delete Keyed"
xdotool key space
wait_for_control dialog "Delete Menu Item"
xdotool key Escape
wait_for_control_gone dialog "Delete Menu Item"
[ "$(stored_eval 'len(items)')" = 3 ] || fail "Escape deleted the entry"
xdotool key space
wait_for_control dialog "Delete Menu Item"
wait_for 3 "Cancel to have the focus" focused_is Cancel
xdotool key Tab
wait_for 3 "Delete to have the focus" focused_is Delete
xdotool key Return
wait_for_control_gone dialog "Delete Menu Item"
wait_for_stored 10 'len(items)' 2
# The deleted entry's row had the focus; the keyboard goes on from General, where the selection went.
wait_for 3 "the focus on General after the delete" focused_is General

press_until_focused "Reset to Defaults" shift+Tab
xdotool key space
wait_for_control dialog "Reset All Settings"
wait_for 3 "Cancel to have the focus" focused_is Cancel
xdotool key Escape
wait_for_control_gone dialog "Reset All Settings"
[ "$(stored_eval 'len(items)')" = 2 ] || fail "Escape reset the entries"

# --- A screen reader's Toggle on Start at Login writes the autostart entry, as a click does --------------
click_control "$ROW" General
wait_for_control "check box" "Start at Login"
[ ! -e "$AUTOSTART" ] || fail "an autostart entry exists before the switch was touched"
atspi --last action "check box" "Start at Login" Toggle
wait_for 10 "the autostart entry after the Toggle action" test -f "$AUTOSTART"
wait_for 10 "the log line of the switch" grep -q "Start at Login toggled: enabled" "$LOG_DIR"/*.log
atspi --last action "check box" "Start at Login" Toggle
wait_for 10 "the autostart entry to go" test ! -e "$AUTOSTART"
stop_driftmark
echo "PASS"
