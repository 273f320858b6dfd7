#!/usr/bin/env bash
# Quitting ends in bounded time whatever hangs: with the settings window open and the X server no longer
# answering (stopped), SIGTERM still ends Driftmark after it has written its log, with a line saying that
# it did not wait for the rest; its session-bus name is then free, and the next start runs.
E2E_DESKTOP_OPTIONS="--session-bus"
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/settings_helpers.sh"

BUS_NAME=app.driftmark.menubar
entry=D1000000-0000-4000-8000-0000000000D1
seed_preferences "[$(item_json "$entry" 'Deadline' 'deadline text' false false 0)]"

# The private desktop started the X server beside this script.
xvfb=$(pgrep -x -P "$PPID" Xvfb || true)
[[ $xvfb =~ ^[0-9]+$ ]] || fail "the X server of $DISPLAY was not found among the desktop's processes: '$xvfb'"
# A stopped X server would keep the desktop's own clean-up waiting: it goes on whatever the test ends with.
trap 'kill -CONT "$xvfb" 2>/dev/null || true; e2e_cleanup' EXIT

driftmark_ended() {
  local state
  state=$(ps -o stat= -p "$DRIFTMARK_PID" 2>/dev/null) || return 0
  [[ $state == Z* ]]
}

name_owned() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner "string:$BUS_NAME" | grep -q 'boolean true'
}

start_driftmark
wait_for 20 "the icon" icon_visible "$entry"
timeout 60 "$DRIFTMARK" --settings || fail "the settings window could not be opened"
wait_for 20 "the settings window" window_shown "$SETTINGS_TITLE"

kill -STOP "$xvfb"
kill -TERM "$DRIFTMARK_PID"
# The ceiling is 10 s; far more only shows that nothing ended it.
wait_for 60 "Driftmark to end while the X server does not answer" driftmark_ended
kill -CONT "$xvfb"
status=0
wait "$DRIFTMARK_PID" || status=$?
# The quit's own work was done before the teardown hung: the exit still reports a clean quit.
[ "$status" -eq 0 ] || fail "Driftmark exited with status $status"
grep -q '^driftmark-menubar: quitting took longer than 10 s; exiting without waiting for the rest$' "$DRIFTMARK_OUT" ||
  fail "Driftmark did not say that it ended without waiting"
log_has "Remote request to open the settings window" || fail "the log lost what came before the quit"

# Nothing holds the session any more: the next start runs, as its icon shows.
! name_owned || fail "$BUS_NAME is still owned after Driftmark ended"
start_driftmark
wait_for 20 "the icon of the next start" icon_visible "$entry"
name_owned || fail "the next start does not own $BUS_NAME"
stop_driftmark
echo "PASS"
