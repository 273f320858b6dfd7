#!/usr/bin/env bash
# A display without input synthesis: Smart Paste falls back to a plain copy and says why.
E2E_DESKTOP_OPTIONS="--no-xtest"
source "$(dirname "$0")/lib.sh"

WARNING="WARNING: Smart Paste enabled but no accessibility permissions - falling back to regular copy"
smart=5E000000-0000-4000-8000-00000000005E
seed_preferences "[$(item_json "$smart" 'Smart' 'copied, not pasted' true true 0)]"
start_driftmark
wait_for 20 "the icon" icon_visible "$smart"
wait_for_log 10 "App startup - Accessibility permissions: NOT GRANTED"

typed="$E2E_HOME/target.txt"
start_target "$typed"
offer_clipboard_text 'the earlier text'

# Without XTEST no pointer can be moved or clicked for real; the click is sent to the icon's window.
window=$(icon_window "$smart")
xdotool mousemove --window "$window" 5 5 click --window "$window" 1
wait_for 10 "the entry's text on the clipboard" clipboard_is 'copied, not pasted'
wait_for_log 10 "$WARNING"
log_has "copyTextToClipboard called for item: 'Smart', smartPaste: true" || fail "copy not logged"
grep -qF "Smart Paste enabled but no accessibility permissions - falling back to regular copy" "$DRIFTMARK_OUT" ||
  fail "the fallback is missing from the system log"

# Every request falls back again; nothing is saved, typed or restored, so the text stays.
offer_clipboard_text 'another text'
xdotool click --window "$window" 1
wait_for 10 "the entry's text again" clipboard_is 'copied, not pasted'
wait_for_log 10 "$WARNING" 2
! log_has "Clipboard restored" || fail "a plain copy restored the clipboard"
! log_has "pasteToActiveApp called" || fail "a paste was attempted without XTEST"
[ ! -e "$typed" ] || fail "something was typed into the target: $(cat "$typed")"
stop_driftmark
echo "PASS"
