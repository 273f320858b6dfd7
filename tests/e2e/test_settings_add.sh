#!/usr/bin/env bash
# An entry added through the settings window's add form: its name typed, its two-line text set in the
# text sheet, Green picked, saved. It is stored, gets its own tray icon, whose click copies its text, and
# its row is the selected one. Cancel in the text sheet and in the form keeps nothing.
E2E_DESKTOP_OPTIONS="--session-bus --size 1280x1000"
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/settings_helpers.sh"

first=B1000000-0000-4000-8000-0000000000B1
seed_preferences "[$(item_json "$first" 'First' 'first entry text' false false 0)]"
start_driftmark_for_settings "$first"
open_settings "$first"

# A form that is cancelled adds nothing.
click_control "push button" "Add menu item"
wait_for_control heading "Add Menu Item"
type_into text "Item Name" "Dropped"
click_control "push button" Cancel
wait_for_control_gone heading "Add Menu Item"
[ "$(stored_eval 'len(items)')" = 1 ] || fail "a cancelled form stored an entry: $(stored_items)"

# The form again, empty; Save does nothing before the entry has a name and a text (Qt 6.4 does not
# say on the accessibility bus that a control is disabled, so it is clicked).
click_control "push button" "Add menu item"
wait_for_control heading "Add Menu Item"
wait_for_text text "Item Name" ""
type_into text "Item Name" "Greeting"
wait_for_text text "Item Name" "Greeting"
click_control "push button" Save
wait_for_control heading "Add Menu Item"
[ "$(stored_eval 'len(items)')" = 1 ] || fail "Save stored an entry without a text: $(stored_items)"
control_has_state "$SWATCH" Blue showing || fail "the form shows no colour swatches"
screenshot "$SETTINGS_TITLE" add-form

# The text sheet: a text typed and then cancelled is not taken.
click_control "push button" "Edit Text"
wait_for_control heading "Edit Text"
type_into text "Clipboard Text" "not this"
click_control "push button" Cancel
wait_for_control_gone heading "Edit Text"
wait_for_control label "Text preview: Click to set text..."

# Typed again and saved, the two lines are the form's text.
click_control "push button" "Edit Text"
wait_for_control heading "Edit Text"
type_into text "Clipboard Text" $'Hello from\nthe settings'
wait_for_text text "Clipboard Text" $'Hello from\nthe settings'
screenshot "$SETTINGS_TITLE" text-sheet
click_control "push button" "Save Text"
wait_for_control_gone heading "Edit Text"
wait_for_control label $'Text preview: Hello from\nthe settings'
[ "$(stored_eval 'len(items)')" = 1 ] || fail "the form stored the entry before Save: $(stored_items)"

click_control "$SWATCH" Green
click_control "push button" Save
wait_for_control_gone heading "Add Menu Item"

# Stored at the end of the list, with the name, text and colour of the form.
wait_for_stored 10 'len(items)' 2
added=$(stored_eval 'items[1]["id"]')
[[ $added =~ ^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$ ]] || fail "the new entry's id '$added' is no UUID"
[ "$(stored_eval 'items[0]["id"]')" = "$first" ] || fail "the first entry moved: $(stored_items)"
[ "$(stored_eval "item('$added')['title']")" = Greeting ] || fail "the new entry's title is wrong: $(stored_items)"
[ "$(stored_eval "item('$added')['text']")" = $'Hello from\nthe settings' ] || fail "the new entry's text is wrong: $(stored_items)"
[ "$(stored_eval "[round(item('$added')['iconColor'][c] * 255) for c in ('red', 'green', 'blue')]")" = "[40, 205, 65]" ] ||
  fail "the new entry is not green: $(stored_items)"
[ "$(stored_eval "item('$added')['usesSmartPaste']")" = false ] || fail "the new entry uses Smart Paste: $(stored_items)"

# Its row is the selected one and its pane is shown.
wait_for_control "$ROW" Greeting
wait_for 10 "the new entry's row to be selected" control_has_state "$ROW" Greeting selected
wait_for_control heading Greeting
wait_for_text text "Item Name" "Greeting"
screenshot "$SETTINGS_TITLE" added-entry-pane

# Its icon is in the tray and a click on it copies its text.
wait_for 20 "the new entry's icon" icon_visible "$added"
icon_visible "$first" || fail "the first entry's icon went"
click_icon "$added" 1
wait_for 10 "the new entry's text on the clipboard" clipboard_is $'Hello from\nthe settings'
wait_for_log 10 "Menu bar clicked for 'Greeting'"

stop_driftmark
echo "PASS"
