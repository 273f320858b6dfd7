#!/usr/bin/env bash
# Global shortcuts: the application-wide one, an entry's own one under every lock state, near misses
# that must reach the focused window instead, Smart Paste by shortcut while the user still holds the
# modifiers, and the shortcut setting of earlier releases.
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/shortcut_helpers.sh"

FIRST_ID=5D0C1A2B-3C4D-4E5F-8A9B-0C1D2E3F4A01
KAY_ID=5D0C1A2B-3C4D-4E5F-8A9B-0C1D2E3F4A02
SMART_ID=5D0C1A2B-3C4D-4E5F-8A9B-0C1D2E3F4A03
first_text=$'  Grüße — 日本語 "quoted" \\ back\tslash\nsecond line ✓ '
kay_text="text of the K entry"
smart_text=$'pasted by shortcut\nsecond ✓ line'
printf '%s' "$first_text" >"$E2E_HOME/first.txt"

items="[$(item_json "$FIRST_ID" First "$first_text"),$(item_json "$KAY_ID" Kay "$kay_text" false false 1)"
items+=",$(item_json "$SMART_ID" Smart "$smart_text" true true 2)]"
ctrl_alt=$((MOD_CONTROL | MOD_OPTION))
kay_shortcut=$(stored_shortcut "menuItem_$KAY_ID" "$KEY_K" "$ctrl_alt")
seed_preferences "$items" "$kay_shortcut, $(stored_shortcut "menuItem_$SMART_ID" "$KEY_P" "$ctrl_alt")"
start_driftmark
wait_for_icons "$FIRST_ID" "$KAY_ID" "$SMART_ID"
start_text_window "$E2E_HOME/typed.txt"

# The application-wide default copies the first entry, byte for byte.
offer_clipboard_text sentinel
xdotool key ctrl+shift+u
wait_for 10 "the first entry's text on the clipboard" clipboard_holds_file "$E2E_HOME/first.txt"

# An entry's own shortcut, with no lock, Num Lock, both locks and Caps Lock. Typing the keypad's End
# key and "a" into the window shows which locks are on: Num Lock makes the first a "1", Caps Lock makes
# the second an "A".
offer_clipboard_text sentinel
xdotool key ctrl+alt+k
wait_for 10 "the K entry's text on the clipboard" clipboard_is "$kay_text"
for locks in "Num_Lock 1a" "Caps_Lock 1A" "Num_Lock A"; do
  read -r lock_key probe <<<"$locks"
  xdotool key "$lock_key"
  type_and_expect "$probe" KP_End a
  offer_clipboard_text sentinel
  xdotool key ctrl+alt+k
  wait_for 10 "the K entry's text with the locks showing '$probe'" clipboard_is "$kay_text"
done
xdotool key Caps_Lock
type_and_expect a KP_End a

# Held past the server's key repeat delay, the shortcut still copies once, on the one release.
offer_clipboard_text sentinel
xdotool keydown ctrl+alt+k
sleep 1.5 # the hold itself, long enough for several repeats
xdotool keyup k
xdotool keyup ctrl+alt
wait_for 10 "the K entry's text on the clipboard after a long press" clipboard_is "$kay_text"

# The key without its modifiers, or with others, is no shortcut: the typing ones reach the window and
# the rest do nothing. Nothing here may touch the clipboard, which the Smart Paste below checks: it
# gives back what the clipboard held when it started.
offer_clipboard_text sentinel
type_and_expect kKkz k shift+k ctrl+k ctrl+shift+k ctrl+alt+shift+k super+k z
clipboard_is sentinel || fail "a near miss of the K shortcut changed the clipboard to '$(clipboard_text)'"

# Smart Paste by shortcut. The entry acts on the release of P while Control and Alt are still held:
# the Return before the paste and the paste itself have to be a plain Return and Control+V all the
# same, and the clipboard comes back afterwards.
xdotool keydown ctrl+alt+p
xdotool keyup p
wait_for 10 "the Smart Paste text in the window" text_window_reads "$TEXT_WINDOW_TEXT"$'\n'"$smart_text"
TEXT_WINDOW_TEXT+=$'\n'$smart_text
xdotool keyup ctrl+alt
wait_for 10 "the clipboard given back" log_has "Clipboard restored after 0.3s delay"
clipboard_is sentinel || fail "the clipboard after Smart Paste holds '$(clipboard_text)'"
# No modifier is left down: a plain key types its letter.
type_and_expect x x

# Every shortcut line before the Smart Paste's is in the log once that one is.
wait_for 10 "the P shortcut in the log" log_has "Keyboard shortcut triggered for item: Smart"

[ "$(log_count "triggered for item: Kay")" = 5 ] || fail "the K shortcut did not fire exactly 5 times"
[ "$(log_count "triggered for item: Smart")" = 1 ] || fail "the P shortcut did not fire exactly once"
[ "$(log_count "Legacy keyboard shortcut triggered!")" = 1 ] || fail "the default did not fire exactly once"
stop_driftmark

# An earlier release stored Command+Option+U as a key code and modifier bits: it becomes the
# application-wide shortcut, the old entries go and the default Control+Shift+U is given up.
rm -rf "$LOG_DIR"
items="[$(item_json "$FIRST_ID" First "$first_text"),$(item_json "$KAY_ID" Kay "$kay_text" false false 1)]"
old_setting="\"shortcutKeyCode\": {\"integer\": $KEY_U}"
old_setting+=", \"shortcutModifiers\": {\"integer\": $((MOD_COMMAND | MOD_OPTION))}"
seed_preferences "$items" "$kay_shortcut, $old_setting"
start_driftmark
wait_for_icons "$FIRST_ID" "$KAY_ID"
wait_for 10 "the migration in the log" log_has "migrateOldSettings() - Migrated old shortcut to new format"
log_has "migrateOldSettings() - Found old shortcut settings - keyCode: 32, modifiers: 2304" ||
  fail "the old setting is not in the log"
migrated='"KeyboardShortcuts_copyToClipboard":{"string":"{\"carbonKeyCode\":32,\"carbonModifiers\":2304}"}'
wait_for 10 "the converted shortcut in the preferences" preferences_contain "$migrated"
! preferences_contain '"shortcutKeyCode"' || fail "shortcutKeyCode is still stored"
! preferences_contain '"shortcutModifiers"' || fail "shortcutModifiers is still stored"

offer_clipboard_text sentinel
xdotool key ctrl+shift+u super+alt+u
wait_for 10 "the first entry's text copied by Super+Alt+U" clipboard_holds_file "$E2E_HOME/first.txt"
# The K entry's shortcut comes after both in the log, so by then any copy by Control+Shift+U is there.
xdotool key ctrl+alt+k
wait_for 10 "the K shortcut in the log" log_has "Keyboard shortcut triggered for item: Kay"
[ "$(log_count "Legacy keyboard shortcut triggered!")" = 1 ] || fail "Control+Shift+U still copies"
stop_driftmark

# F1 is no key the earlier releases could record: nothing is converted, the old entries stay for a
# later release, and the default applies.
rm -rf "$LOG_DIR"
seed_preferences "[$(item_json "$FIRST_ID" First "$first_text")]" \
  "\"shortcutKeyCode\": {\"integer\": 122}, \"shortcutModifiers\": {\"integer\": $((MOD_CONTROL | MOD_SHIFT))}"
start_driftmark
wait_for_icons "$FIRST_ID"
wait_for 10 "the old setting in the log" \
  log_has "Found old shortcut settings - keyCode: 122, modifiers: 4608"
wait_for 10 "the default shortcut in the preferences" preferences_contain \
  '"KeyboardShortcuts_copyToClipboard":{"string":"{\"carbonKeyCode\":32,\"carbonModifiers\":4608}"}'
wait_for 10 "the entry's registration in the log" log_has "Registered shortcut for item: First"
! log_has "Migrated old shortcut" || fail "F1 was migrated"
preferences_contain '"shortcutKeyCode":{"integer":122}' || fail "shortcutKeyCode was removed"
preferences_contain '"shortcutModifiers":{"integer":4608}' || fail "shortcutModifiers was removed"
offer_clipboard_text sentinel
xdotool key ctrl+shift+u
wait_for 10 "the first entry's text copied by default" clipboard_holds_file "$E2E_HOME/first.txt"
stop_driftmark
echo "PASS"
