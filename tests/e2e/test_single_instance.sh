#!/usr/bin/env bash
# One Driftmark per session: a second start hands over to the running one and exits 0, through the
# session-bus name or, without a bus, through a lock file; a lock left by a killed process blocks nothing;
# a relaunched Driftmark (DRIFTMARK_REPLACES_PID) waits for the one it replaces and then takes over; a
# start whose running Driftmark on the bus answers nothing ends that one and runs instead.
source "$(dirname "$0")/lib.sh"

LOCK_FILE="$XDG_RUNTIME_DIR/driftmark-menubar.lock"
BUS_NAME=app.driftmark.menubar
LINE_NO_BUS="Driftmark is already running."
LINE_BUS="Driftmark is already running; opened its settings window."

# start_instance NAME [VARIABLE=VALUE...]: starts a Driftmark in the background with its output in
# $E2E_HOME/NAME.out; its PID is then in $INSTANCE_PID. Each one has a home of its own with one entry of
# its own, $INSTANCE_ID, so that its tray icon tells it apart; all share the runtime directory and the bus.
INSTANCES=0
start_instance() {
  local name=$1
  shift
  INSTANCES=$((INSTANCES + 1))
  INSTANCE_ID=$(printf '%08X-0000-4000-8000-000000000000' "$INSTANCES")
  local home="$E2E_HOME/$name-home"
  mkdir -p "$home/.config/driftmark-menubar"
  printf '{"menuBarItems": {"data": "%s"}}\n' \
    "$(printf '[%s]' "$(item_json "$INSTANCE_ID" "$name" "$name")" | base64 -w0)" \
    >"$home/.config/driftmark-menubar/preferences.json"
  DRIFTMARK_OUT="$E2E_HOME/$name.out"
  env HOME="$home" XDG_CONFIG_HOME="$home/.config" "$@" "$DRIFTMARK" >"$DRIFTMARK_OUT" 2>&1 &
  INSTANCE_PID=$!
  E2E_PIDS+=("$INSTANCE_PID")
}

# second_start NAME EXPECTED_LINE [VARIABLE=VALUE...]: a start that must find another Driftmark running,
# exit 0 and print exactly the expected line on standard output.
second_start() {
  local name=$1 expected=$2
  shift 2
  local status=0
  timeout 60 env "$@" "$DRIFTMARK" >"$E2E_HOME/$name.out" 2>"$E2E_HOME/$name.err" || status=$?
  [ "$status" -eq 0 ] || fail "$name exited with status $status: $(cat "$E2E_HOME/$name.out" "$E2E_HOME/$name.err")"
  [ "$(cat "$E2E_HOME/$name.out")" = "$expected" ] ||
    fail "$name printed '$(cat "$E2E_HOME/$name.out")' instead of '$expected'"
}

# The tray shows the icon of the instance's entry.
docked() {
  icon_visible "$1"
}

alive() {
  kill -0 "$1" 2>/dev/null
}

gone() {
  ! alive "$1"
}

# Gone, or ended and not yet reaped.
ended() {
  local state
  state=$(ps -o stat= -p "$1" 2>/dev/null) || return 0
  [[ $state == Z* ]]
}

stop_instance() {
  kill -TERM "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}

# The process waits for another one to end (it holds a process descriptor for it).
waiting_for_exit() {
  local fd
  for fd in "/proc/$1/fd/"*; do
    [ "$(readlink "$fd" 2>/dev/null)" = "anon_inode:[pidfd]" ] && return 0
  done
  return 1
}

# --- Without a session bus: the lock file ------------------------------------------------------------
export DBUS_SESSION_BUS_ADDRESS=disabled:

start_instance first
first=$INSTANCE_PID first_id=$INSTANCE_ID
wait_for 20 "the first Driftmark's icon" docked "$first_id"
[ -f "$LOCK_FILE" ] || fail "no lock file at $LOCK_FILE"
second_start second "$LINE_NO_BUS"
alive "$first" || fail "the first Driftmark ended when the second started"
docked "$first_id" || fail "the first Driftmark lost its icon"

# A lock file left behind by a killed Driftmark does not block the next start.
kill -KILL "$first"
wait "$first" 2>/dev/null || true
[ -f "$LOCK_FILE" ] || fail "the lock file went with its holder"
start_instance after_kill
after_kill=$INSTANCE_PID after_kill_id=$INSTANCE_ID
wait_for 20 "the icon of the Driftmark started over a stale lock" docked "$after_kill_id"
second_start second_after_kill "$LINE_NO_BUS"
alive "$after_kill" || fail "the Driftmark started over a stale lock ended"

# A relaunch waits for the Driftmark it replaces, then takes over.
start_instance relaunched "DRIFTMARK_REPLACES_PID=$after_kill"
relaunched=$INSTANCE_PID relaunched_id=$INSTANCE_ID
wait_for 20 "the relaunched Driftmark to wait for the old one" waiting_for_exit "$relaunched"
alive "$after_kill" || fail "the old Driftmark ended while the new one waited"
! docked "$relaunched_id" || fail "the relaunched Driftmark docked before the old one quit"
stop_instance "$after_kill"
wait_for 20 "the relaunched Driftmark's icon" docked "$relaunched_id"
second_start second_after_relaunch "$LINE_NO_BUS"
alive "$relaunched" || fail "the relaunched Driftmark ended"
[ "$(output_count "already running")" = 0 ] || fail "the relaunched Driftmark took itself for a second start"

# A relaunch whose old Driftmark does not quit gives up after a while and behaves as a second start.
second_start relaunch_refused "$LINE_NO_BUS" "DRIFTMARK_REPLACES_PID=$relaunched"
alive "$relaunched" || fail "the running Driftmark ended when a relaunch gave up on it"
stop_instance "$relaunched"

# --- With a private session bus: the bus name --------------------------------------------------------
cat >"$E2E_HOME/bus.conf" <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=$E2E_HOME</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
# No service directories in the configuration: nothing is started on the bus's behalf.
bus_info=$(dbus-daemon --config-file="$E2E_HOME/bus.conf" --fork --print-address=1 --print-pid=1)
DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$bus_info")
E2E_PIDS+=("$(sed -n 2p <<<"$bus_info")")
export DBUS_SESSION_BUS_ADDRESS
[ -n "$DBUS_SESSION_BUS_ADDRESS" ] || fail "the private session bus did not start"

bus_call() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus "org.freedesktop.DBus.$1" \
    "string:$BUS_NAME"
}

bus_owner_pid() {
  bus_call GetConnectionUnixProcessID 2>/dev/null | awk '/uint32/ { print $2 }'
}

owned_by() {
  [ "$(bus_owner_pid)" = "$1" ]
}

# How many connections own or wait for the name.
queue_length() {
  bus_call ListQueuedOwners 2>/dev/null | grep -c '^ *string ' || true
}

queued() {
  [ "$(queue_length)" -eq "$1" ]
}

start_instance bus_first
bus_first=$INSTANCE_PID bus_first_id=$INSTANCE_ID
wait_for 20 "the first Driftmark on the bus to dock" docked "$bus_first_id"
owned_by "$bus_first" || fail "$BUS_NAME is owned by '$(bus_owner_pid)', not by the first Driftmark ($bus_first)"
second_start bus_second "$LINE_BUS"
alive "$bus_first" || fail "the first Driftmark ended when the second asked it to open its settings"
owned_by "$bus_first" || fail "$BUS_NAME changed hands after a second start"
dbus-send --session --print-reply --dest="$BUS_NAME" /app/driftmark/menubar app.driftmark.menubar.OpenSettings \
  >/dev/null || fail "OpenSettings cannot be called on $BUS_NAME"

# A PID that does not hold the name is no reason to wait.
second_start bus_replacing_other "$LINE_BUS" "DRIFTMARK_REPLACES_PID=$$"

# A relaunch queues for the name and gets it when the old Driftmark quits.
start_instance bus_relaunched "DRIFTMARK_REPLACES_PID=$bus_first"
bus_relaunched=$INSTANCE_PID bus_relaunched_id=$INSTANCE_ID
wait_for 20 "the relaunched Driftmark to queue for $BUS_NAME" queued 2
alive "$bus_relaunched" || fail "the relaunched Driftmark ended while waiting"
owned_by "$bus_first" || fail "$BUS_NAME changed hands before the old Driftmark quit"
stop_instance "$bus_first"
wait_for 20 "the relaunched Driftmark to own $BUS_NAME" owned_by "$bus_relaunched"
wait_for 20 "the relaunched Driftmark's icon" docked "$bus_relaunched_id"
[ "$(output_count "already running")" = 0 ] || fail "the relaunched Driftmark took itself for a second start"

# One whose old Driftmark stays gives up after a while and behaves as a second start.
second_start bus_relaunch_refused "$LINE_BUS" "DRIFTMARK_REPLACES_PID=$bus_relaunched"
owned_by "$bus_relaunched" || fail "$BUS_NAME changed hands when a relaunch gave up"

# A killed holder's name is free for the next start.
kill -KILL "$bus_relaunched"
wait "$bus_relaunched" 2>/dev/null || true
start_instance bus_after_kill
bus_after_kill=$INSTANCE_PID bus_after_kill_id=$INSTANCE_ID
wait_for 20 "the Driftmark started after a killed one to own $BUS_NAME" owned_by "$bus_after_kill"
wait_for 20 "the icon of the Driftmark started after a killed one" docked "$bus_after_kill_id"
second_start bus_second_after_kill "$LINE_BUS"
stop_instance "$bus_after_kill"

# A Driftmark that answers nothing (stopped here) would hold the name for good: the next start waits for
# its answer a while, says so, ends it and runs instead.
start_instance bus_hung
bus_hung=$INSTANCE_PID bus_hung_id=$INSTANCE_ID
wait_for 20 "the Driftmark about to hang to own $BUS_NAME" owned_by "$bus_hung"
wait_for 20 "the icon of the Driftmark about to hang" docked "$bus_hung_id"
kill -STOP "$bus_hung"
start_instance bus_taking_over
bus_taking_over=$INSTANCE_PID bus_taking_over_id=$INSTANCE_ID
wait_for 60 "the hung Driftmark to be ended" ended "$bus_hung"
hung_status=0
wait "$bus_hung" || hung_status=$?
# Stopped, it could not act on SIGTERM: SIGKILL ended it.
[ "$hung_status" -eq 137 ] || fail "the hung Driftmark ended with status $hung_status, not by SIGKILL"
wait_for 20 "the Driftmark taking over to own $BUS_NAME" owned_by "$bus_taking_over"
wait_for 20 "the icon of the Driftmark taking over" docked "$bus_taking_over_id"
alive "$bus_taking_over" || fail "the Driftmark taking over ended"
grep -qx "driftmark-menubar: the running Driftmark (process $bus_hung) did not answer; ending it and taking over" \
  "$E2E_HOME/bus_taking_over.out" || fail "the start taking over did not say so: $(cat "$E2E_HOME/bus_taking_over.out")"
[ "$(output_count "already running")" = 0 ] || fail "the Driftmark taking over took itself for a second start"
dbus-send --session --print-reply --dest="$BUS_NAME" /app/driftmark/menubar app.driftmark.menubar.OpenSettings \
  >/dev/null || fail "the Driftmark taking over does not answer OpenSettings"
second_start bus_second_after_take_over "$LINE_BUS"
stop_instance "$bus_taking_over"

# The second starts ran in the test's own home: they left before reading preferences or writing a log.
[ ! -e "$HOME/.config/driftmark-menubar" ] || fail "a second start created its preferences"
[ ! -e "$LOG_DIR" ] || fail "a second start wrote a log"
echo "PASS"
