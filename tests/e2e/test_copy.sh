#!/usr/bin/env bash
# Copy: a left click puts exactly the entry's text on the clipboard, under every text type, and logs
# the click and the copy.
source "$(dirname "$0")/lib.sh"

lines=1A000000-0000-4000-8000-00000000001A
emoji=2B000000-0000-4000-8000-00000000002B
lines_text=$'first line\n\tsecond line, indented with a tab\n"quoted" and back\\slashed\n\n'
emoji_text='Grüße, ½ € — 日本語 👩‍💻 🎉 ✓'
printf '%s' "$lines_text" >"$E2E_HOME/lines.expected"
printf '%s' "$emoji_text" >"$E2E_HOME/emoji.expected"

seed_preferences "[$(item_json "$lines" 'Multi-line' "$lines_text" false false 0),$(item_json "$emoji" 'Emoji ✨' "$emoji_text" false false 1)]"
start_driftmark
wait_for 20 "the icons" icon_visible "$emoji"

# The text, byte for byte, under the default text type and both explicit ones.
expect_clipboard() {
  local expected=$1
  clipboard_matches UTF8_STRING "$expected" || fail "UTF8_STRING differs from $(basename "$expected")"
  clipboard_matches text/plain "$expected" || fail "text/plain differs from $(basename "$expected")"
  clipboard_matches 'text/plain;charset=utf-8' "$expected" ||
    fail "text/plain;charset=utf-8 differs from $(basename "$expected")"
  timeout 5 xclip -selection clipboard -o | cmp -s - "$expected" || fail "clipboard differs from $(basename "$expected")"
}

# Another program's text is replaced by the first entry's.
offer_clipboard_text 'something else'
click_icon "$lines" 1
wait_for 10 "the multi-line text on the clipboard" clipboard_matches UTF8_STRING "$E2E_HOME/lines.expected"
expect_clipboard "$E2E_HOME/lines.expected"
wait_for_log 10 "Menu bar clicked for 'Multi-line'! Previous app: nil"
wait_for_log 10 "copyTextToClipboard called for item: 'Multi-line', smartPaste: false"

# The program's own text is replaced by the second entry's.
click_icon "$emoji" 1
wait_for 10 "the emoji text on the clipboard" clipboard_matches UTF8_STRING "$E2E_HOME/emoji.expected"
expect_clipboard "$E2E_HOME/emoji.expected"
wait_for_log 10 "Menu bar clicked for 'Emoji ✨'! Previous app: nil"
wait_for_log 10 "copyTextToClipboard called for item: 'Emoji ✨', smartPaste: false"

# With another window active, the click names it as the previous application and still only copies.
start_target "$E2E_HOME/target.txt"
click_icon "$lines" 1
wait_for 10 "the multi-line text again" clipboard_matches UTF8_STRING "$E2E_HOME/lines.expected"
wait_for_log 10 "Menu bar clicked for 'Multi-line'! Previous app: driftmark_e2e_target"
wait_for_log 10 "copyTextToClipboard called for item: 'Multi-line', smartPaste: false" 2
expect_clipboard "$E2E_HOME/lines.expected"
! log_has "pasteToActiveApp called" || fail "a plain entry pasted"
stop_driftmark
echo "PASS"
