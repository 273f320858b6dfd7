#!/usr/bin/env bash
# Smart Paste into windows that take their time: a window that reads the clipboard well after the paste
# key still gets the entry's text, not the user's earlier clipboard, which comes back once the text has
# been read; a window that never reads it gets the earlier clipboard back a few seconds after the
# keystroke.
source "$(dirname "$0")/lib.sh"

smart=9B000000-0000-4000-8000-00000000009B
seed_preferences "[$(item_json "$smart" 'Slow' 'read late ✓' true false 0)]"
start_driftmark
wait_for 20 "the icon" icon_visible "$smart"

printf 'the user\x27s earlier text' >"$E2E_HOME/earlier.txt"
write_png "$E2E_HOME/earlier.png"
offer_clipboard_text_and_image "$E2E_HOME/earlier.txt" "$E2E_HOME/earlier.png"
printf 'read late ✓' >"$E2E_HOME/expected.txt"

expect_earlier_clipboard() {
  clipboard_matches text/plain "$E2E_HOME/earlier.txt" || fail "the earlier text/plain was not restored"
  clipboard_matches image/png "$E2E_HOME/earlier.png" || fail "the earlier image/png was not restored"
}

# start_slow_target MILLISECONDS FILE: the text window, pasting that long after its paste key, is the
# active window; its process is then in $SLOW_TARGET_PID.
start_slow_target() {
  "$TARGET_WINDOW" --paste-delay "$1" "$2" >"$E2E_HOME/target.out" 2>&1 &
  SLOW_TARGET_PID=$!
  E2E_PIDS+=("$SLOW_TARGET_PID")
  wait_for 20 "the target window" slow_target_mapped
  TARGET_WINDOW_ID=$(xdotool search --all --onlyvisible --pid "$SLOW_TARGET_PID" --name '^driftmark-e2e-target$' | head -n 1)
  wait_for 10 "the target window to be active" target_window_active
}

slow_target_mapped() {
  [ -n "$(xdotool search --all --onlyvisible --pid "$SLOW_TARGET_PID" --name '^driftmark-e2e-target$')" ]
}

stop_slow_target() {
  kill "$SLOW_TARGET_PID"
  wait "$SLOW_TARGET_PID" 2>/dev/null || true
  wait_for 10 "the target window to go" bash -c '! xdotool search --onlyvisible --name "^driftmark-e2e-target\$"'
}

# The window reads the clipboard 1.5 s after the paste key: the entry's text arrives all the same.
typed="$E2E_HOME/slow.txt"
start_slow_target 1500 "$typed"
click_icon "$smart" 1
wait_for 10 "the entry's text in the slow window" file_is "$typed" "$E2E_HOME/expected.txt"
wait_for 10 "the restore after the read" \
  bash -c "grep -qE \"Clipboard restored [0-9.]+s after the paste keystroke, once the entry's text was read\" '$LOG_DIR'/*.log"
expect_earlier_clipboard
! log_has "Clipboard restored after 0.8s delay" || fail "the restore did not wait for the read"
! log_has "Target window not active" || fail "the window, active all along, was said not to be"
stop_slow_target

# The window never reads it (its paste comes long after the test): the earlier clipboard comes back
# after a few seconds regardless.
typed="$E2E_HOME/never.txt"
start_slow_target 600000 "$typed"
click_icon "$smart" 1
wait_for_log 20 "Clipboard restored 3s after the paste keystroke without the entry's text being read"
expect_earlier_clipboard
[ ! -s "$typed" ] || fail "the window that never pastes holds '$(cat "$typed")'"
stop_slow_target

stop_driftmark
echo "PASS"
