#!/usr/bin/env bash
# Entries deleted in the settings window: the delete control shows on the selected row only, asks
# for a confirmation that names the entry; Cancel keeps it, Delete removes it from the stored list, the
# sidebar and the tray, and the General pane takes the place of its pane. The last entry cannot be
# deleted.
E2E_DESKTOP_OPTIONS="--session-bus --size 1280x1000"
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/settings_helpers.sh"

first=D1000000-0000-4000-8000-0000000000D1
second=D2000000-0000-4000-8000-0000000000D2
third=D3000000-0000-4000-8000-0000000000D3
seed_preferences "[$(item_json "$first" 'First' 'first entry text' false false 0),$(item_json "$second" 'Second' 'second entry text' false false 1),$(item_json "$third" 'Third' 'third entry text' false false 2)]"
start_driftmark_for_settings "$first" "$second" "$third"
open_settings "$first"

stored_ids() {
  stored_eval '" ".join(entry["id"] for entry in items)'
}

# The selected row alone has a delete control.
click_control "$ROW" Second
wait_for_control heading Second
wait_for_control "push button" "Delete Second"
[ "$(atspi count "push button" "Delete First")" = 0 ] || fail "an unselected row shows a delete control"
[ "$(atspi count "push button" "Delete Third")" = 0 ] || fail "an unselected row shows a delete control"

# Cancel in the confirmation keeps the entry.
click_control "push button" "Delete Second"
wait_for_control dialog "Delete Menu Item"
wait_for_control label "Are you sure you want to delete 'Second'?"
screenshot "$SETTINGS_TITLE" delete-confirmation
click_control "push button" Cancel
wait_for_control_gone dialog "Delete Menu Item"
[ "$(stored_ids)" = "$first $second $third" ] || fail "Cancel changed the stored entries: $(stored_items)"
icon_visible "$second" || fail "Cancel took the second icon away"
control_has_state "$ROW" Second selected || fail "the second row is no longer selected after Cancel"

# Delete removes it everywhere.
click_control "push button" "Delete Second"
wait_for_control dialog "Delete Menu Item"
click_control "push button" Delete
wait_for_control_gone dialog "Delete Menu Item"
wait_for_stored 10 '" ".join(entry["id"] for entry in items)' "$first $third"
wait_for 10 "the second icon to go" bash -c "! xdotool search --onlyvisible --name '^DriftmarkMenuItem-$second\$' >/dev/null"
icon_visible "$first" || fail "the first icon went with the second"
icon_visible "$third" || fail "the third icon went with the second"
wait_for_control_gone "$ROW" Second
wait_for_control heading Startup
control_has_state "$ROW" General selected || fail "the General pane did not take the deleted entry's place"
wait_for 10 "the icons to be updated" grep -qF "Updating menu bar items, count: 2" "$DRIFTMARK_OUT"

# Down to the last entry, which has no delete control.
click_control "$ROW" Third
wait_for_control heading Third
click_control "push button" "Delete Third"
wait_for_control label "Are you sure you want to delete 'Third'?"
click_control "push button" Delete
wait_for_stored 10 '" ".join(entry["id"] for entry in items)' "$first"
wait_for 10 "the third icon to go" bash -c "! xdotool search --onlyvisible --name '^DriftmarkMenuItem-$third\$' >/dev/null"
click_control "$ROW" First
wait_for_control heading First
[ "$(atspi count "push button" "Delete First")" = 0 ] || fail "the last entry has a delete control"
icon_visible "$first" || fail "the last icon went"

stop_driftmark
echo "PASS"
