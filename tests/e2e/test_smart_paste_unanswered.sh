#!/usr/bin/env bash
# Smart Paste with a clipboard owner that lists its types but never gives some or all of them: the
# paste still happens, the log says what could not be saved and what came back, and Driftmark keeps
# answering clicks while it waits for the owner.
source "$(dirname "$0")/lib.sh"

smart=6E000000-0000-4000-8000-00000000006E
plain=7F000000-0000-4000-8000-00000000007F
seed_preferences "[$(item_json "$smart" 'Pasted' 'pasted by Driftmark' true false 0),$(item_json "$plain" 'Plain' 'copied plainly' false false 1)]"
start_driftmark
wait_for 20 "the icons" icon_visible "$plain"
typed="$E2E_HOME/target.txt"
start_target "$typed"
expected="$E2E_HOME/expected.txt"
: >"$expected"

# expect_pasted COUNT: the Smart Paste text arrived in the target COUNT times in all.
expect_pasted() {
  local count
  for ((count = 0; count < $1; count++)); do printf 'pasted by Driftmark'; done >"$expected"
  wait_for 10 "the text pasted $1 time(s)" file_is "$typed" "$expected"
}

# A click right after the Smart Paste's, while the save waits for an owner that answers nothing of a
# dozen types, is taken at once (waiting five seconds a type would take a minute): the plain copy
# happens, the Smart Paste still pastes, and its restore puts back that copy, the user's latest.
start_clipboard_owner image/png image/jpeg image/bmp image/gif text/html text/rtf text/uri-list \
  application/pdf application/json application/xml text/csv UTF8_STRING
click_icon "$smart" 1
click_icon "$plain" 1
wait_for_log 10 "copyTextToClipboard called for item: 'Plain', smartPaste: false"
expect_pasted 1
wait_for_log 10 "Clipboard restored after 0.8s delay"
clipboard_is 'copied plainly' || fail "the clipboard holds '$(clipboard_text)' instead of the plain copy"

# Types are listed, none is given: nothing is saved, so nothing is restored, and the log says so.
start_clipboard_owner image/png text/html UTF8_STRING application/x-unknown
click_icon "$smart" 1
expect_pasted 2
wait_for_log 10 "Clipboard save stopped after 0.3s: no answer for image/png, text/html, text/plain, application/x-unknown; nothing saved"
wait_for_log 10 "Clipboard not restored after 0.8s delay: lost image/png, text/html, text/plain, application/x-unknown, which its owner did not give in time; the copied text stays"
[ "$(log_count "Clipboard restored after")" = 1 ] || fail "a restore that restored nothing was logged as one"
clipboard_is 'pasted by Driftmark' || fail "the clipboard holds '$(clipboard_text)' instead of the copied text"

# The text is given, the picture is not: the text comes back, and the log names what was lost.
start_clipboard_owner "UTF8_STRING=the user's own text" image/png
click_icon "$smart" 1
expect_pasted 3
wait_for_log 10 "Clipboard save stopped after 0.3s: no answer for image/png; saved text/plain"
wait_for_log 10 "Clipboard partly restored after 0.8s delay: restored text/plain; lost image/png, which its owner did not give in time"
clipboard_is "the user's own text" || fail "the saved text was not restored: '$(clipboard_text)'"
! clipboard_offers image/png || fail "the clipboard offers a picture it does not have"
[ "$(log_count "Clipboard restored after")" = 1 ] || fail "a partial restore was logged as a whole one"

# Not even the list of types comes.
start_clipboard_owner --silent
click_icon "$smart" 1
expect_pasted 4
wait_for_log 10 "Clipboard save stopped after 0.3s: its owner did not list its types"
wait_for_log 10 "Clipboard not restored after 0.8s delay: its owner did not list its types in time; the copied text stays"
[ "$(log_count "Clipboard restored after")" = 1 ] || fail "a restore that restored nothing was logged as one"

stop_driftmark
echo "PASS"
