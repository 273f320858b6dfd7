#!/usr/bin/env bash
# Num Lock moves to another modifier while the program runs: every shortcut is grabbed again for the new
# lock combinations. One that another program holds in the new combination is lost, and the program says
# so on its standard output, as for a refused registration; the other shortcuts keep working.
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/shortcut_helpers.sh"
KEY_GRABBER=${3:?usage: test script DRIFTMARK_BINARY TARGET_BINARY KEY_GRABBER_BINARY}

FIRST_ID=7B1D2B3C-4D5E-4F60-9BAC-1D2E3F405D01
JAY_ID=7B1D2B3C-4D5E-4F60-9BAC-1D2E3F405D02

xmodmap -pm | grep -E '^mod2 .*Num_Lock' >/dev/null || fail "the virtual desktop has no Num Lock on Mod2"
xmodmap -pm | grep -E '^mod3 +$' >/dev/null || fail "the virtual desktop's Mod3 is not free"

# Another program holds Control+Shift+U with Mod3 (the masks 4, 1 and 32): nothing yet, while Num Lock is
# Mod2.
"$KEY_GRABBER" 0x75 37 >"$E2E_HOME/grabber.out" 2>&1 &
E2E_PIDS+=($!)
wait_for 10 "the other program's grab" grep -qx ready "$E2E_HOME/grabber.out"

items="[$(item_json "$FIRST_ID" First "first text"),$(item_json "$JAY_ID" Jay "text of J" false false 1)]"
seed_preferences "$items" "$(stored_shortcut "menuItem_$JAY_ID" "$KEY_J" $((MOD_CONTROL | MOD_OPTION)))"
start_driftmark_with_separate_streams
wait_for_icons "$FIRST_ID" "$JAY_ID"

offer_clipboard_text sentinel
xdotool key ctrl+shift+u
wait_for 10 "the first entry's text on the clipboard" clipboard_is "first text"
! grep -q "Error registering hotkey" "$DRIFTMARK_OUT" || fail "a shortcut was refused at the start"

# Num Lock becomes Mod3: Control+Shift+U can no longer be grabbed with Num Lock on.
xmodmap -e "remove mod2 = Num_Lock" -e "add mod3 = Num_Lock"
xmodmap -pm | grep -E '^mod3 .*Num_Lock' >/dev/null || fail "Num Lock did not move to Mod3"
wait_for 10 "the lost shortcut on standard output" grep -qxF "Error registering hotkey ⌃⇧U: 10" "$DRIFTMARK_OUT"
[ "$(grep -c "Error registering hotkey" "$DRIFTMARK_OUT")" = 1 ] || fail "other than one shortcut reported lost"
! grep -q "Error registering hotkey" "$DRIFTMARK_ERR" || fail "the loss went to standard error"

# The other shortcut was grabbed again, Num Lock off and on.
xdotool key ctrl+alt+j
wait_for 10 "the J entry's text" clipboard_is "text of J"
offer_clipboard_text sentinel
xdotool key Num_Lock
xdotool key ctrl+alt+j
wait_for 10 "the J entry's text with Num Lock on" clipboard_is "text of J"
wait_for_log 10 "Keyboard shortcut triggered for item: Jay" 2

# With Num Lock on, Control+Shift+U is the other program's.
offer_clipboard_text sentinel
xdotool key ctrl+shift+u
wait_for 10 "the other program to get Control+Shift+U" grep -qx pressed "$E2E_HOME/grabber.out"
[ "$(log_count "Legacy keyboard shortcut triggered!")" = 1 ] || fail "the lost shortcut fired in the program"
clipboard_is sentinel || fail "the lost shortcut changed the clipboard"
xdotool key Num_Lock
stop_driftmark
echo "PASS"
