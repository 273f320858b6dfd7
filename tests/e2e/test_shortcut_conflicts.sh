#!/usr/bin/env bash
# A shortcut that another program already holds: the program says so on its standard output, the key
# stays with the other program, and every other shortcut works. In the settings window, on a laptop's
# screen, recording a combination that another entry or the first-entry shortcut already uses brings an
# alert naming that one: Escape closes it as OK does, Return presses OK, and neither stores anything;
# "Use Anyway" stores it.
E2E_DESKTOP_OPTIONS="--session-bus --size 1366x768"
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/settings_helpers.sh"
source "$E2E_DIR/shortcut_helpers.sh"
KEY_GRABBER=${3:?usage: test script DRIFTMARK_BINARY TARGET_BINARY KEY_GRABBER_BINARY}

FIRST_ID=6E1D2B3C-4D5E-4F60-9BAC-1D2E3F405B01
KAY_ID=6E1D2B3C-4D5E-4F60-9BAC-1D2E3F405B02
JAY_ID=6E1D2B3C-4D5E-4F60-9BAC-1D2E3F405B03

# Control+Alt+K, the X modifier masks 4 and 8, taken before the program starts.
"$KEY_GRABBER" 0x6b 12 >"$E2E_HOME/grabber.out" 2>&1 &
E2E_PIDS+=($!)
wait_for 10 "the other program's grab" grep -qx ready "$E2E_HOME/grabber.out"

items="[$(item_json "$FIRST_ID" First "first text"),$(item_json "$KAY_ID" Kay "text of K" false false 1)"
items+=",$(item_json "$JAY_ID" Jay "text of J" false false 2)]"
ctrl_alt=$((MOD_CONTROL | MOD_OPTION))
shortcuts="$(stored_shortcut "menuItem_$KAY_ID" "$KEY_K" "$ctrl_alt")"
shortcuts+=", $(stored_shortcut "menuItem_$JAY_ID" "$KEY_J" "$ctrl_alt")"
seed_preferences "$items" "$shortcuts"
start_driftmark_with_separate_streams
wait_for_icons "$FIRST_ID" "$KAY_ID" "$JAY_ID"

# BadAccess, the X error for a key combination that another client grabbed.
wait_for 10 "the refusal on standard output" grep -qxF "Error registering hotkey ⌃⌥K: 10" "$DRIFTMARK_OUT"
[ "$(grep -c "Error registering hotkey" "$DRIFTMARK_OUT")" = 1 ] || fail "more than one refusal reported"
! grep -q "Error registering hotkey" "$DRIFTMARK_ERR" || fail "the refusal went to standard error"

# The taken key goes to the other program.
offer_clipboard_text sentinel
xdotool key ctrl+alt+k
wait_for 10 "the other program to get Control+Alt+K" grep -qx pressed "$E2E_HOME/grabber.out"

# The other entry's shortcut and the application-wide one work.
xdotool key ctrl+alt+j
wait_for 10 "the J entry's text on the clipboard" clipboard_is "text of J"
xdotool key ctrl+shift+u
wait_for 10 "the first entry's text on the clipboard" clipboard_is "first text"
wait_for 10 "the default shortcut in the log" log_has "Legacy keyboard shortcut triggered!"
! log_has "Keyboard shortcut triggered for item: Kay" || fail "the taken shortcut fired in the program"
[ "$(log_count "triggered for item: Jay")" = 1 ] || fail "the J shortcut did not fire exactly once"

# --- Recording a combination another of Driftmark's shortcuts uses ----------------------------------
jay_name="menuItem_$JAY_ID"
legacy_message="This keyboard shortcut is already used by the first entry's shortcut (Copy to Clipboard, under General)."
# shellcheck disable=SC1111 # the typographic quotes are part of the alert's text
kay_message="This keyboard shortcut is already used by the “Kay” entry."
twice_text="If you use it here as well, pressing it does both."
open_settings "$FIRST_ID"
click_control "$ROW" Jay
wait_for_control heading Jay
wait_for_text text "$RECORDER" "⌃⌥J"
start_recording
xdotool key ctrl+shift+u
wait_for_control label "$legacy_message"
wait_for_control label "$twice_text"
wait_for_control "push button" "Use Anyway"
screenshot "$SETTINGS_TITLE" conflict-alert
# Escape answers as OK: nothing is stored, and recording goes on.
xdotool key Escape
wait_for_control_gone label "$legacy_message"
wait_for_recorder_recording
stored_shortcut_is "$jay_name" "$KEY_J $ctrl_alt" || fail "Escape stored '$(stored_shortcut_of "$jay_name")'"

# Another entry's combination names that entry; Return presses OK.
xdotool key ctrl+alt+k
wait_for_control label "$kay_message"
wait_for_control "push button" "Use Anyway"
xdotool key Return
wait_for_control_gone label "$kay_message"
wait_for_recorder_recording
stored_shortcut_is "$jay_name" "$KEY_J $ctrl_alt" || fail "Return stored '$(stored_shortcut_of "$jay_name")'"
wait_for_text text "$RECORDER" "⌃⌥J"

# "Use Anyway" stores it; the first-entry shortcut keeps it too.
xdotool key ctrl+shift+u
wait_for_control label "$legacy_message"
click_control "push button" "Use Anyway"
wait_for_control_gone label "$legacy_message"
wait_for_stored_shortcut "$jay_name" "$KEY_U $((MOD_CONTROL | MOD_SHIFT))"
wait_for_text text "$RECORDER" "⌃⇧U"
wait_for_recorder_idle
stored_shortcut_is copyToClipboard "$KEY_U $((MOD_CONTROL | MOD_SHIFT))" || fail "the first-entry shortcut changed"
stop_driftmark
echo "PASS"
