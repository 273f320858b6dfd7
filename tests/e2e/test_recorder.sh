#!/usr/bin/env bash
# The shortcut recorder of an entry's pane, with real keystrokes: a click starts recording, the next
# acceptable combination is stored at once and works from another window as soon as recording ends.
# Escape and Tab end recording and change nothing; a key without Control, Alt or Super is refused and
# recording goes on; an existing shortcut pressed while recording is recorded, not run; Backspace and
# the Clear button remove the shortcut. A combination of Driftmark's own menu is refused with an alert;
# one another program holds brings an alert whose OK stores nothing and whose "Use Anyway" stores it.
# The General pane's Clear puts the default Control+Shift+U back.
E2E_DESKTOP_OPTIONS="--session-bus --size 1280x1000"
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/settings_helpers.sh"
source "$E2E_DIR/shortcut_helpers.sh"
KEY_GRABBER=${3:?usage: test script DRIFTMARK_BINARY TARGET_BINARY KEY_GRABBER_BINARY}

# The recorder field. Its text is the shortcut; its description follows its placeholder ("Record
# Shortcut", or "Press Shortcut" while it records), as Qt's text field sets it on every change of the
# placeholder.
RECORDER="Keyboard Shortcut"
first=F1000000-0000-4000-8000-0000000000F1
second=F2000000-0000-4000-8000-0000000000F2
entry_name="menuItem_$second"
legacy_name=copyToClipboard

# Another program holds Control+Alt+K (X modifier masks 4 and 8) before Driftmark starts.
"$KEY_GRABBER" 0x6b 12 >"$E2E_HOME/grabber.out" 2>&1 &
E2E_PIDS+=($!)
wait_for 10 "the other program's grab" grep -qx ready "$E2E_HOME/grabber.out"

seed_preferences "[$(item_json "$first" First 'first text' false false 0),$(item_json "$second" Second 'second text' false false 1)]"
start_driftmark_for_settings "$first" "$second"

# Opens the settings window on the second entry's pane, its recorder not recording.
open_second_entry() {
  open_settings "$first"
  click_control "$ROW" Second
  wait_for_control heading Second
  wait_for_control text "$RECORDER"
}

# Clicks the recorder and waits until it records.
start_recording() {
  click_control text "$RECORDER"
  atspi --last wait-state text "$RECORDER" focused || fail "the recorder did not take the focus"
}

recording() {
  control_has_state text "$RECORDER" focused
}

output_has() {
  [ "$(output_count "$1")" -ge 1 ]
}

# A few checks go on to the end before they fail the test, so that one fault does not hide the rest.
PROBLEMS=()
problem() {
  echo "CHECK FAILED: $*" >&2
  PROBLEMS+=("$*")
}

# wait_until_not_recording WHAT: recording has ended after WHAT; if it has not, that is a problem, and
# a click into the name field takes the focus away, so that the checks after this one start as they
# should.
wait_until_not_recording() {
  atspi --last --timeout 5 wait-state text "$RECORDER" focused no 2>/dev/null && return 0
  problem "recording went on after $1"
  click_control text "Item Name"
  atspi --last wait-state text "$RECORDER" focused no || fail "the recorder keeps the focus after a click elsewhere"
}

open_second_entry
wait_for_stored_shortcut "$entry_name" ""
wait_for_text text "$RECORDER" ""
wait_for_description text "$RECORDER" "Record Shortcut"

# --- Recorded and used ------------------------------------------------------------------------------
start_recording
wait_for_description text "$RECORDER" "Press Shortcut"
screenshot "$SETTINGS_TITLE" recording
xdotool key super+alt+j
wait_for_stored_shortcut "$entry_name" "$KEY_J $((MOD_COMMAND | MOD_OPTION))"
wait_for_text text "$RECORDER" "⌥⌘J"
wait_until_not_recording "a shortcut was stored"
wait_for_description text "$RECORDER" "Record Shortcut"
wait_for_control "push button" "Clear Shortcut"
screenshot "$SETTINGS_TITLE" recorded

# From another window, with the settings window closed, the new shortcut copies the entry's text.
xdotool windowactivate --sync "$(settings_window)" key alt+F4
wait_for 10 "the settings window to close" window_gone "$SETTINGS_TITLE"
start_target "$E2E_HOME/target.txt"
offer_clipboard_text sentinel
xdotool key super+alt+j
wait_for 10 "the second entry's text on the clipboard" clipboard_is "second text"
wait_for_log 10 "Keyboard shortcut triggered for item: Second"

# --- Escape and Tab end recording without a change --------------------------------------------------
open_second_entry
wait_for_text text "$RECORDER" "⌥⌘J"
start_recording
xdotool key Escape
wait_until_not_recording "Escape"
wait_for_text text "$RECORDER" "⌥⌘J"
window_shown "$SETTINGS_TITLE" || fail "Escape closed the settings window"
start_recording
xdotool key Tab
wait_until_not_recording "Tab"
wait_for_text text "$RECORDER" "⌥⌘J"
stored_shortcut_is "$entry_name" "$KEY_J $((MOD_COMMAND | MOD_OPTION))" ||
  fail "Escape or Tab changed the stored shortcut to '$(stored_shortcut_of "$entry_name")'"

# --- The Clear button -------------------------------------------------------------------------------
click_control "push button" "Clear Shortcut"
wait_for_stored_shortcut "$entry_name" ""
wait_for_text text "$RECORDER" ""
wait_for_description text "$RECORDER" "Record Shortcut"
wait_for_control_gone "push button" "Clear Shortcut"

# --- A key without Control, Alt or Super; an existing shortcut --------------------------------------
# Shift+A is refused and recording goes on: the Control+Shift+U pressed next, the default shortcut
# that copies the first entry, is recorded for this entry instead of copying anything.
offer_clipboard_text sentinel
start_recording
wait_for_description text "$RECORDER" "Press Shortcut"
xdotool key shift+a
wait_for_description text "$RECORDER" "Press Shortcut"
recording || fail "Shift+A ended recording"
xdotool key ctrl+shift+u
wait_for_stored_shortcut "$entry_name" "$KEY_U $((MOD_CONTROL | MOD_SHIFT))"
wait_for_text text "$RECORDER" "⌃⇧U"
wait_until_not_recording "Control+Shift+U was stored"
clipboard_is sentinel || fail "Control+Shift+U ran while recording: the clipboard holds '$(clipboard_text)'"
! log_has "Legacy keyboard shortcut triggered!" || fail "the default shortcut fired while recording"
stored_shortcut_is "$legacy_name" "$KEY_U $((MOD_CONTROL | MOD_SHIFT))" || fail "the default shortcut changed"

# --- Backspace clears, and recording goes on ---------------------------------------------------------
start_recording
xdotool key BackSpace
wait_for_stored_shortcut "$entry_name" ""
wait_for_text text "$RECORDER" ""
wait_for_description text "$RECORDER" "Press Shortcut"
recording || fail "Backspace ended recording"

# --- Driftmark's own menu: Control+Q (Quit) and Control+, (Settings) --------------------------------
# shellcheck disable=SC1111 # the typographic quotes are part of the alert's text
quit_message="This keyboard shortcut cannot be used as it's already used by the “Quit” menu item."
xdotool key ctrl+q
wait_for_control label "$quit_message"
wait_for_control "push button" OK
[ "$(atspi count "push button" "Use Anyway")" = 0 ] || fail "the menu's alert offers Use Anyway"
screenshot "$SETTINGS_TITLE" menu-alert
click_control "push button" OK
wait_for_control_gone label "$quit_message"
kill -0 "$DRIFTMARK_PID" || fail "Control+Q while recording ended Driftmark"
stored_shortcut_is "$entry_name" "" || fail "Control+Q was stored: '$(stored_shortcut_of "$entry_name")'"
# The recorder records again after the alert.
wait_for_description text "$RECORDER" "Press Shortcut"
atspi --last wait-state text "$RECORDER" focused || fail "the recorder does not record again after the alert"
# shellcheck disable=SC1111
settings_message="This keyboard shortcut cannot be used as it's already used by the “Settings” menu item."
xdotool key ctrl+comma
wait_for_control label "$settings_message"
click_control "push button" OK
wait_for_control_gone label "$settings_message"
stored_shortcut_is "$entry_name" "" || fail "Control+, was stored: '$(stored_shortcut_of "$entry_name")'"

# --- A combination another program holds -------------------------------------------------------------
system_message="This keyboard shortcut is already used by another application."
atspi --last wait-state text "$RECORDER" focused || fail "the recorder does not record again after the second alert"
xdotool key ctrl+alt+k
wait_for_control label "$system_message"
wait_for_control "push button" "Use Anyway"
screenshot "$SETTINGS_TITLE" system-alert
click_control "push button" OK
wait_for_control_gone label "$system_message"
stored_shortcut_is "$entry_name" "" || fail "OK stored the held combination: '$(stored_shortcut_of "$entry_name")'"
! grep -qx pressed "$E2E_HOME/grabber.out" || fail "the other program got Control+Alt+K while Driftmark recorded"
# Recording again, the same combination, and this time "Use Anyway".
atspi --last wait-state text "$RECORDER" focused || fail "the recorder does not record again after OK"
xdotool key ctrl+alt+k
wait_for_control label "$system_message"
click_control "push button" "Use Anyway"
wait_for_control_gone label "$system_message"
wait_for_stored_shortcut "$entry_name" "$KEY_K $((MOD_CONTROL | MOD_OPTION))"
wait_for_text text "$RECORDER" "⌃⌥K"
# Recording ends: the grab of the stored combination is refused, and said so.
wait_until_not_recording "Use Anyway"
wait_for 10 "the refusal on standard output" output_has "Error registering hotkey ⌃⌥K"

# --- Clear again, then the General pane's Clear, which puts the default back -------------------------
click_control "push button" "Clear Shortcut"
wait_for_stored_shortcut "$entry_name" ""
wait_for_text text "$RECORDER" ""

click_control "$ROW" General
wait_for_control heading "Legacy Global Shortcut"
wait_for_text text "$RECORDER" "⌃⇧U"
start_recording
xdotool key ctrl+alt+l
wait_for_stored_shortcut "$legacy_name" "37 $((MOD_CONTROL | MOD_OPTION))"
wait_for_text text "$RECORDER" "⌃⌥L"
atspi --last --timeout 5 wait-state text "$RECORDER" focused no 2>/dev/null ||
  problem "recording went on after the General pane's shortcut was stored"
click_control "push button" "Clear Shortcut"
wait_for_stored_shortcut "$legacy_name" "$KEY_U $((MOD_CONTROL | MOD_SHIFT))"
wait_for_text text "$RECORDER" "⌃⇧U"
wait_for_log 10 "Keyboard shortcut cleared by user"
wait_for_control "push button" "Clear Shortcut"

stop_driftmark
[ ${#PROBLEMS[@]} = 0 ] || fail "$(printf '%s; ' "${PROBLEMS[@]}")"
echo "PASS"
