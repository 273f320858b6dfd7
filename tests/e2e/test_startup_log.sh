#!/usr/bin/env bash
# Start-up: the daily log names the start, its own location and the permission state, in this order,
# and a second start the same day appends the same lines.
source "$(dirname "$0")/lib.sh"

LOG_FILE="$LOG_DIR/driftmark-menubar-$(date +%F).log"
STARTING="🚀 Driftmark starting up..."
LOCATION="Log file location: $LOG_FILE"
PERMISSION="App startup - Accessibility permissions: GRANTED"

# The numbers of the log lines that end in "] " and the message (after the time stamp), one per line.
message_lines() {
  today_log | awk -v m="] $1" 'length($0) >= length(m) && substr($0, length($0) - length(m) + 1) == m { print NR }'
}

# expect_start N: the Nth start's three lines exist, in order.
expect_start() {
  local n=$1 starting location permission
  starting=$(message_lines "$STARTING" | sed -n "${n}p")
  location=$(message_lines "$LOCATION" | sed -n "${n}p")
  permission=$(message_lines "$PERMISSION" | sed -n "${n}p")
  if [ -z "$starting" ] || [ -z "$location" ] || [ -z "$permission" ]; then
    fail "start $n: lines missing (starting '$starting', location '$location', permission '$permission')"
  fi
  if [ "$starting" -ge "$location" ] || [ "$location" -ge "$permission" ]; then
    fail "start $n: lines out of order ($starting, $location, $permission)"
  fi
}

second_shortcut_setup() {
  [ "$(message_lines "Setting up keyboard shortcuts..." | wc -l)" -ge 2 ]
}

seed_preferences "[$(item_json 7A000000-0000-4000-8000-00000000007A 'Plain' 'text' false false 0)]"
start_driftmark
wait_for_log 20 "$PERMISSION"
[ -f "$LOG_FILE" ] || fail "no log file at $LOG_FILE"
expect_start 1
wait_for 10 "the start on standard error" grep -qxF "driftmark-menubar [info] AppDelegate: $STARTING" "$DRIFTMARK_OUT"
grep -qxF "🚀 Driftmark starting up via NSLog..." "$DRIFTMARK_OUT" || fail "the basic start line is missing"
stop_driftmark

# A second start, now with a Smart Paste entry: the lines are appended after the first start's, and a
# display with XTEST needs no prompt.
seed_preferences "[$(item_json 7A000000-0000-4000-8000-00000000007A 'Smart' 'text' true false 0)]"
start_driftmark
wait_for_log 20 "$PERMISSION" 2
expect_start 2
expect_start 1
[ "$(message_lines "$PERMISSION" | sed -n 1p)" -lt "$(message_lines "$STARTING" | sed -n 2p)" ] ||
  fail "the second start was not appended"
# The shortcuts are set up after the permission check, prompt included.
wait_for 10 "the second start's shortcut set-up" second_shortcut_setup
grep -qF "Executable: driftmark-menubar" "$DRIFTMARK_OUT" || fail "the permission check is missing"
! grep -qF "App needs Accessibility permissions" "$DRIFTMARK_OUT" || fail "prompted although XTEST is there"
stop_driftmark
echo "PASS"
