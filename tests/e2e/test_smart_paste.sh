#!/usr/bin/env bash
# Smart Paste: a click types the entry's text into the window the user was in (after Return when the
# entry asks for it), and the user's earlier clipboard, text and picture, comes back unchanged. The
# context menu's paste entry does the same into the active window.
source "$(dirname "$0")/lib.sh"

plain=3C000000-0000-4000-8000-00000000003C
newline=4D000000-0000-4000-8000-00000000004D
seed_preferences "[$(item_json "$plain" 'Greeting' 'Hello, wörld ✓' true false 0),$(item_json "$newline" 'Signature' '-- Driftmark' true true 1)]"
start_driftmark
wait_for 20 "the icons" icon_visible "$newline"

typed="$E2E_HOME/target.txt"
start_target "$typed"
printf 'the user\x27s own text, naïve café\nwith two lines' >"$E2E_HOME/earlier.txt"
write_png "$E2E_HOME/earlier.png"
offer_clipboard_text_and_image "$E2E_HOME/earlier.txt" "$E2E_HOME/earlier.png"

# The earlier text and picture are on the clipboard again, byte for byte.
expect_earlier_clipboard() {
  clipboard_matches text/plain "$E2E_HOME/earlier.txt" || fail "the earlier text/plain was not restored"
  clipboard_matches image/png "$E2E_HOME/earlier.png" || fail "the earlier image/png was not restored"
}

# A click on an entry without the newline: the text alone arrives in the target.
printf 'Hello, wörld ✓' >"$E2E_HOME/expected.txt"
click_icon "$plain" 1
wait_for 10 "the text in the target" file_is "$typed" "$E2E_HOME/expected.txt"
wait_for_log 10 "Clipboard restored after 0.8s delay"
expect_earlier_clipboard
log_has "Menu bar clicked for 'Greeting'! Previous app: driftmark_e2e_target" || fail "click not logged"
log_has "copyTextToClipboard called for item: 'Greeting', smartPaste: true" || fail "copy not logged"
target_window_active || fail "the target lost the focus"

# A click on an entry with the newline: Return, then the text.
printf 'Hello, wörld ✓\n-- Driftmark' >"$E2E_HOME/expected.txt"
click_icon "$newline" 1
wait_for 10 "the newline and text in the target" file_is "$typed" "$E2E_HOME/expected.txt"
wait_for_log 10 "Clipboard restored after 0.8s delay" 2
expect_earlier_clipboard
log_has "pasteToActiveApp called for item: 'Signature', prependNewline: true" || fail "paste not logged"

# The context menu's second entry pastes into the active window, without activating anything first.
click_icon "$plain" 3
wait_for 10 "the context menu" context_menu_shown
xdotool key Down Down Return
wait_for 10 "the context menu to close" context_menu_gone
printf 'Hello, wörld ✓\n-- DriftmarkHello, wörld ✓' >"$E2E_HOME/expected.txt"
wait_for 10 "the menu's paste in the target" file_is "$typed" "$E2E_HOME/expected.txt"
wait_for_log 10 "Clipboard restored after 0.3s delay"
expect_earlier_clipboard
log_has "Copy to clipboard for 'Greeting', smartPaste: true" || fail "menu paste not logged"

# The menu's first entry only copies, also for a Smart Paste entry.
click_icon "$plain" 3
wait_for 10 "the context menu" context_menu_shown
xdotool key Down Return
wait_for 10 "the entry's text on the clipboard" clipboard_is 'Hello, wörld ✓'
wait_for_log 10 "copyTextToClipboard called for item: 'Greeting', smartPaste: false"
stop_driftmark
echo "PASS"
