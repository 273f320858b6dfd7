#!/usr/bin/env bash
# The shortcut recorder of an entry's pane, with real keystrokes. Only the user starts recording: a click
# on the field, or Space or Return while it has the keyboard focus. The focus alone never records: not
# when Tab moves onto the field, not when the window comes back or is opened again with the field
# focused. While it records, the field says "Press Shortcut"; the next acceptable combination is stored
# at once and works from another window. Escape and Tab end recording and change nothing; a key without
# Control, Alt or Super is refused and recording goes on; Backspace and the Clear button remove the
# shortcut. A combination of Driftmark's own menu is refused with an alert, which Escape closes and Return
# answers with OK; one another program holds brings an alert whose OK stores nothing and whose "Use
# Anyway" stores it. The General pane's Clear and
# the recorder's own clearing leave the first-entry shortcut cleared, also after a restart.
E2E_DESKTOP_OPTIONS="--session-bus --size 1280x1000"
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/settings_helpers.sh"
source "$E2E_DIR/shortcut_helpers.sh"
KEY_GRABBER=${3:?usage: test script DRIFTMARK_BINARY TARGET_BINARY KEY_GRABBER_BINARY}

first=F1000000-0000-4000-8000-0000000000F1
second=F2000000-0000-4000-8000-0000000000F2
entry_name="menuItem_$second"
legacy_name=copyToClipboard
KEY_Y=16
KEY_F10=109

# Another program holds Control+Alt+K (X modifier masks 4 and 8) before Driftmark starts.
"$KEY_GRABBER" 0x6b 12 >"$E2E_HOME/grabber.out" 2>&1 &
E2E_PIDS+=($!)
wait_for 10 "the other program's grab" grep -qx ready "$E2E_HOME/grabber.out"

seed_preferences "[$(item_json "$first" First 'first text' false false 0),$(item_json "$second" Second 'second text' false false 1)]"
start_driftmark_for_settings "$first" "$second"

# Opens the settings window on the second entry's pane.
open_second_entry() {
  open_settings "$first"
  click_control "$ROW" Second
  wait_for_control heading Second
  wait_for_control text "$RECORDER"
}

# click_close_button TITLE: a click on the close button of the window's title bar, the last button at its
# right end.
click_close_button() {
  local window x y width left right top bottom
  window=$(window_named "$1")
  [ -n "$window" ] || fail "no window '$1' to close"
  x=$(xwininfo -id "$window" | sed -n 's/.*Absolute upper-left X: *//p')
  y=$(xwininfo -id "$window" | sed -n 's/.*Absolute upper-left Y: *//p')
  width=$(xwininfo -id "$window" | sed -n 's/.*Width: *//p')
  IFS=', ' read -r left right top bottom < <(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //')
  [ "${top:-0}" -gt 0 ] || fail "the window '$1' has no title bar"
  xdotool mousemove $((x + width - top / 2)) $((y - top / 2)) click 1
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
# Escape ends it, so that the checks after this one start as they should.
wait_until_not_recording() {
  (wait_for_recorder_idle) 2>/dev/null && return 0
  problem "recording went on after $1"
  xdotool key Escape
  wait_for_recorder_idle
}

open_second_entry
wait_for_stored_shortcut "$entry_name" ""
wait_for_text text "$RECORDER" ""
wait_for_recorder_idle

# --- Recorded and used ------------------------------------------------------------------------------
start_recording
screenshot "$SETTINGS_TITLE" recording
# With no shortcut yet, the field shows "Press Shortcut" while it records: something is drawn inside it.
field_shows_something text "$RECORDER" || problem "the recorder shows nothing while it records"
xdotool key super+alt+j
wait_for_stored_shortcut "$entry_name" "$KEY_J $((MOD_COMMAND | MOD_OPTION))"
wait_for_text text "$RECORDER" "⌥⌘J"
wait_until_not_recording "a shortcut was stored"
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

# --- The focus alone never records -------------------------------------------------------------------
# Clicked, then the window closed with the window manager's close button: opened again, the window gives
# the field its focus back, and the keys pressed next are not taken.
open_second_entry
wait_for_text text "$RECORDER" "⌥⌘J"
start_recording
click_close_button "$SETTINGS_TITLE"
wait_for 10 "the settings window to close" window_gone "$SETTINGS_TITLE"
"$DRIFTMARK" --settings >"$E2E_HOME/settings.out" 2>&1 || fail "--settings failed: $(cat "$E2E_HOME/settings.out")"
wait_for_settings_window
wait_for_text text "$RECORDER" "⌥⌘J"
xdotool key ctrl+alt+y
xdotool key F9
sleep 0.5
stored_shortcut_is "$entry_name" "$KEY_J $((MOD_COMMAND | MOD_OPTION))" ||
  problem "a chord was stored after the window was opened again: '$(stored_shortcut_of "$entry_name")'"
recorder_is_idle || problem "the recorder records after the window was opened again"
xdotool key Escape

# Clicked, then another window comes to the front, then the settings window again. Qt notices a window
# losing the focus only after a short grace period, so the check waits for the recorder to end while the
# other window is in front: a flip away and back faster than that never leaves the window.
start_recording
xdotool windowactivate --sync "$TARGET_WINDOW_ID"
wait_for 10 "the other window to be active" target_window_active
wait_until_not_recording "another window came to the front"
xdotool windowactivate --sync "$(settings_window)"
wait_for 10 "the settings window to be active" settings_window_active
xdotool key F10
sleep 0.5
stored_shortcut_is "$entry_name" "$KEY_J $((MOD_COMMAND | MOD_OPTION))" ||
  problem "F10 was stored after the window came back: '$(stored_shortcut_of "$entry_name")'"
recorder_is_idle || problem "the recorder records after the window came back"
xdotool key Escape

# Tab moves the focus onto the field without recording; Space then records, and so does Return.
click_control text "Item Name"
atspi --last wait-state text "Item Name" focused || fail "the name field did not take the focus"
tab_onto_recorder
recorder_is_idle || problem "Tab onto the recorder started recording"
screenshot "$SETTINGS_TITLE" recorder-focused
focus_ring_shown text "$RECORDER" || problem "no focus ring around the focused recorder"
xdotool key ctrl+alt+y
sleep 0.5
stored_shortcut_is "$entry_name" "$KEY_J $((MOD_COMMAND | MOD_OPTION))" ||
  problem "a chord was stored while the recorder only had the focus: '$(stored_shortcut_of "$entry_name")'"
xdotool key space
wait_for_recorder_recording
xdotool key F10
wait_for_stored_shortcut "$entry_name" "$KEY_F10 0"
wait_for_text text "$RECORDER" "F10"
wait_until_not_recording "F10 was stored"
control_has_state text "$RECORDER" focused || problem "the recorder lost the focus when F10 was stored"
xdotool key Return
wait_for_recorder_recording
# Escape ends recording and leaves the focus on the field.
xdotool key Escape
wait_until_not_recording "Escape"
window_shown "$SETTINGS_TITLE" || fail "Escape closed the settings window"
control_has_state text "$RECORDER" focused || problem "Escape took the focus away from the recorder"
# Tab while recording ends it and moves the focus on.
xdotool key space
wait_for_recorder_recording
xdotool key Tab
wait_until_not_recording "Tab"
atspi --last --timeout 5 wait-state text "$RECORDER" focused no ||
  problem "Tab while recording left the focus on the recorder"
focus_ring_shown text "$RECORDER" && problem "the focus ring stays on the recorder without the focus"
stored_shortcut_is "$entry_name" "$KEY_F10 0" ||
  fail "Escape or Tab changed the stored shortcut to '$(stored_shortcut_of "$entry_name")'"

# --- The Clear button -------------------------------------------------------------------------------
click_control "push button" "Clear Shortcut"
wait_for_stored_shortcut "$entry_name" ""
wait_for_text text "$RECORDER" ""
wait_for_control_gone "push button" "Clear Shortcut"

# --- A key without Control, Alt or Super -------------------------------------------------------------
start_recording
xdotool key shift+a
sleep 0.3
recorder_is_recording || problem "Shift+A ended recording"
stored_shortcut_is "$entry_name" "" || problem "Shift+A was stored"

# --- Backspace clears, and recording goes on ---------------------------------------------------------
xdotool key ctrl+alt+j
wait_for_stored_shortcut "$entry_name" "$KEY_J $((MOD_CONTROL | MOD_OPTION))"
wait_until_not_recording "Control+Alt+J was stored"
start_recording
xdotool key BackSpace
wait_for_stored_shortcut "$entry_name" ""
wait_for_text text "$RECORDER" ""
wait_for_recorder_recording

# --- Driftmark's own menu: Control+Q (Quit) and Control+, (Settings) --------------------------------
# shellcheck disable=SC1111 # the typographic quotes are part of the alert's text
quit_message="This keyboard shortcut cannot be used as it's already used by the “Quit” menu item."
xdotool key ctrl+q
wait_for_control label "$quit_message"
wait_for_control "push button" OK
[ "$(atspi count "push button" "Use Anyway")" = 0 ] || fail "the menu's alert offers Use Anyway"
screenshot "$SETTINGS_TITLE" menu-alert
# Escape closes the alert as its OK does.
xdotool key Escape
wait_for_control_gone label "$quit_message"
kill -0 "$DRIFTMARK_PID" || fail "Control+Q while recording ended Driftmark"
stored_shortcut_is "$entry_name" "" || fail "Control+Q was stored: '$(stored_shortcut_of "$entry_name")'"
# The recorder records again after the alert.
wait_for_recorder_recording
# shellcheck disable=SC1111
settings_message="This keyboard shortcut cannot be used as it's already used by the “Settings” menu item."
xdotool key ctrl+comma
wait_for_control label "$settings_message"
# Return presses OK, the alert's default button.
xdotool key Return
wait_for_control_gone label "$settings_message"
stored_shortcut_is "$entry_name" "" || fail "Control+, was stored: '$(stored_shortcut_of "$entry_name")'"

# --- A combination another program holds -------------------------------------------------------------
system_message="This keyboard shortcut is already used by another application."
wait_for_recorder_recording
xdotool key ctrl+alt+k
wait_for_control label "$system_message"
wait_for_control "push button" "Use Anyway"
screenshot "$SETTINGS_TITLE" system-alert
click_control "push button" OK
wait_for_control_gone label "$system_message"
stored_shortcut_is "$entry_name" "" || fail "OK stored the held combination: '$(stored_shortcut_of "$entry_name")'"
! grep -qx pressed "$E2E_HOME/grabber.out" || fail "the other program got Control+Alt+K while Driftmark recorded"
# Recording again, the same combination, and this time "Use Anyway".
wait_for_recorder_recording
xdotool key ctrl+alt+k
wait_for_control label "$system_message"
click_control "push button" "Use Anyway"
wait_for_control_gone label "$system_message"
wait_for_stored_shortcut "$entry_name" "$KEY_K $((MOD_CONTROL | MOD_OPTION))"
wait_for_text text "$RECORDER" "⌃⌥K"
# Recording ends: the grab of the stored combination is refused, and said so.
wait_until_not_recording "Use Anyway"
wait_for 10 "the refusal on standard output" output_has "Error registering hotkey ⌃⌥K"

# --- The first-entry shortcut: cleared on the General pane, it stays cleared -------------------------
click_control "$ROW" General
wait_for_control heading "Legacy Global Shortcut"
wait_for_text text "$RECORDER" "⌃⇧U"
click_control "push button" "Clear Shortcut"
wait_for 10 "the first-entry shortcut stored as cleared" legacy_stored_as_cleared
wait_for_text text "$RECORDER" ""
wait_for_log 10 "Keyboard shortcut cleared by user"
wait_for_control_gone "push button" "Clear Shortcut"
offer_clipboard_text sentinel
xdotool key ctrl+shift+u
sleep 0.5
clipboard_is sentinel || problem "the cleared first-entry shortcut still copies"

stop_driftmark
start_driftmark_for_settings "$first" "$second"
legacy_stored_as_cleared || problem "the cleared first-entry shortcut came back at the start: $(preference_value "KeyboardShortcuts_$legacy_name")"
xdotool key ctrl+shift+u
sleep 0.5
clipboard_is sentinel || problem "the cleared first-entry shortcut copies after a restart"
! log_has "Legacy keyboard shortcut triggered!" || problem "the cleared first-entry shortcut fired"

# Recorded again on the General pane, then cleared with the recorder's own Backspace.
open_settings "$first"
click_control "$ROW" General
wait_for_control heading "Legacy Global Shortcut"
wait_for_text text "$RECORDER" ""
start_recording
xdotool key ctrl+alt+l
wait_for_stored_shortcut "$legacy_name" "37 $((MOD_CONTROL | MOD_OPTION))"
wait_for_text text "$RECORDER" "⌃⌥L"
wait_until_not_recording "the General pane's shortcut was stored"
start_recording
xdotool key BackSpace
wait_for 10 "the first-entry shortcut stored as cleared by the recorder" legacy_stored_as_cleared
wait_for_text text "$RECORDER" ""
xdotool key Escape
wait_until_not_recording "Escape"

stop_driftmark
start_driftmark_for_settings "$first" "$second"
legacy_stored_as_cleared || problem "the shortcut cleared in the recorder came back at the start: $(preference_value "KeyboardShortcuts_$legacy_name")"
stop_driftmark

[ ${#PROBLEMS[@]} = 0 ] || fail "$(printf '%s; ' "${PROBLEMS[@]}")"
echo "PASS"
