#!/usr/bin/env bash
# Reset to Defaults in the settings window: Cancel in the confirmation keeps everything; Reset clears
# the preferences, leaves the one default entry, starts a new Driftmark and ends the old one (status 0).
# The new one docks the default entry's icon and owns the session.
E2E_DESKTOP_OPTIONS="--session-bus --size 1280x1000"
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/settings_helpers.sh"

first=E1000000-0000-4000-8000-0000000000E1
second=E2000000-0000-4000-8000-0000000000E2
seed_preferences "[$(item_json "$first" 'First' 'first entry text' false false 0),$(item_json "$second" 'Second' 'second entry text' false false 1)]" \
  '"autoPaste": {"bool": true}, "settingsWindowWidth": {"double": 820.0}, "settingsWindowHeight": {"double": 830.0}, "KeyboardShortcuts_menuItem_'"$first"'": {"string": "{\"carbonKeyCode\":40,\"carbonModifiers\":6144}"}'
start_driftmark_for_settings "$first" "$second"
old=$DRIFTMARK_PID
open_settings "$first"

stored_ids() {
  stored_eval '" ".join(entry["id"] for entry in items)'
}

# The Driftmark that the old one started, found by the PID it was told to replace.
relaunched_pid() {
  local program environ pid
  program=$(readlink -f "$DRIFTMARK")
  for environ in /proc/[0-9]*/environ; do
    pid=${environ#/proc/}
    pid=${pid%/environ}
    [ "$pid" != "$old" ] || continue
    [ "$(readlink -f "/proc/$pid/exe" 2>/dev/null)" = "$program" ] || continue
    tr '\0' '\n' <"$environ" 2>/dev/null | grep -qx "DRIFTMARK_REPLACES_PID=$old" || continue
    echo "$pid"
    return 0
  done
  return 1
}

ended() {
  local state
  state=$(ps -o stat= -p "$1" 2>/dev/null) || return 0
  [[ $state == Z* ]]
}

# Cancel keeps everything.
click_control "push button" "Reset to Defaults"
wait_for_control dialog "Reset All Settings"
wait_for_control label "This will reset all settings to their default values and restart the app. Are you sure?"
screenshot "$SETTINGS_TITLE" reset-confirmation
click_control "push button" Cancel
wait_for_control_gone dialog "Reset All Settings"
[ "$(stored_ids)" = "$first $second" ] || fail "Cancel changed the stored entries: $(stored_items)"
[ -n "$(preference_value autoPaste)" ] || fail "Cancel removed a preference"
! log_has "Resetting all settings" || fail "Cancel reset the settings"
kill -0 "$old" || fail "Cancel ended Driftmark"

# Reset.
click_control "push button" "Reset to Defaults"
wait_for_control dialog "Reset All Settings"
click_control "push button" Reset
wait_for_log 10 "Resetting all settings to defaults"
wait_for_log 10 "Settings reset completed, restarting app..."
wait_for 10 "a new Driftmark" relaunched_pid
new=$(relaunched_pid)
E2E_PIDS+=("$new")
wait_for 20 "the old Driftmark to end" ended "$old"
status=0
wait "$old" || status=$?
[ "$status" -eq 0 ] || fail "the old Driftmark ended with status $status"

# One default entry is stored, and nothing else of before.
wait_for_stored 10 'len(items)' 1
[ "$(stored_eval 'items[0]["title"]')" = Driftmark ] || fail "the entry left is not the default one: $(stored_items)"
[ "$(stored_eval 'items[0]["text"]')" = "Driftmark about this." ] || fail "the default entry's text is wrong: $(stored_items)"
[ "$(stored_eval "[round(items[0]['iconColor'][c] * 255) for c in ('red', 'green', 'blue')]")" = "[0, 122, 255]" ] ||
  fail "the default entry is not blue: $(stored_items)"
default=$(stored_eval 'items[0]["id"]')
[ "$default" != "$first" ] && [ "$default" != "$second" ] || fail "the default entry kept an old id"
[ -z "$(preference_value autoPaste)" ] || fail "autoPaste survived the reset"
[ -z "$(preference_value settingsWindowWidth)" ] || fail "the window's width survived the reset"
[ -z "$(preference_value "KeyboardShortcuts_menuItem_$first")" ] || fail "the first entry's shortcut survived the reset"

# The new Driftmark docks the default entry's icon.
wait_for 20 "the default entry's icon" icon_visible "$default"
# The old one has ended: the icon is the new one's.
kill -0 "$new" 2>/dev/null || fail "the new Driftmark ended"
! icon_visible "$first" || fail "the first entry's icon is still there"
! icon_visible "$second" || fail "the second entry's icon is still there"
[ "$(output_count "already running")" = 0 ] || fail "the new Driftmark took itself for a second start"
window_gone "$SETTINGS_TITLE" || fail "a settings window is still shown after the restart"

# It works: its icon copies the default text, and it ends cleanly.
click_icon "$default" 1
wait_for 10 "the default text on the clipboard" clipboard_is "Driftmark about this."
kill -TERM "$new"
wait_for 20 "the new Driftmark to end" ended "$new"
echo "PASS"
