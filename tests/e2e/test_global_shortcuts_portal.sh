#!/usr/bin/env bash
# Global shortcuts through the desktop's global-shortcuts portal, with a portal of the test's own on the
# private session bus, in both of its generations: Plasma 5.27's, which registers the shortcuts given when
# the session is made, and the later one, which registers them through BindShortcuts. In both the
# shortcuts arrive with their triggers, a press and a release reach the handler, a trial registration
# taken back in the same turn makes no new session, and an unregistration makes one without that
# shortcut. With a portal that has no global shortcuts the registrations are still accepted and the user
# is told once. The portal's name is always taken by the test's own portal: the bus would start an
# installed one otherwise.
E2E_DESKTOP_OPTIONS="--no-tray --session-bus"
source "$(dirname "$0")/lib.sh"
BIN_DIR=$(dirname "$TARGET_WINDOW")
PORTAL=$BIN_DIR/driftmark_e2e_fake_global_shortcuts_portal
DRIVER=$BIN_DIR/driftmark_e2e_global_shortcuts_driver
WORK=$E2E_HOME

fail() {
  echo "FAIL: $*" >&2
  local file
  for file in "$WORK"/*.log "$WORK"/*.out "$WORK"/*.err; do
    [ -f "$file" ] || continue
    echo "--- $(basename "$file"):" >&2
    cat "$file" >&2
  done
  exit 1
}

[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] && [ "$DBUS_SESSION_BUS_ADDRESS" != disabled: ] ||
  fail "no private session bus"

CONTROL_SHIFT=$((0x1000 | 0x200))
COMMAND=$((0x100))
FN=$((0x20000))
# The shortcut ids of the combinations the driver's hot keys 1, 2 and 9 register: each is named after its
# virtual key code and hot-key modifier bits.
ID1=driftmark-32-$CONTROL_SHIFT
ID2=driftmark-36-$COMMAND
ID9=driftmark-0-$COMMAND

# start NAME COMMAND...: a program that reads commands from a pipe ($NAME_IN is the writing end) and
# writes to $WORK/NAME.out.
start() {
  local name=$1 in
  shift
  rm -f "$WORK/$name.in" "$WORK/$name.out"
  mkfifo "$WORK/$name.in"
  "$@" <"$WORK/$name.in" >"$WORK/$name.out" 2>"$WORK/$name.err" &
  E2E_PIDS+=($!)
  printf -v "${name}_PID" '%s' "$!"
  exec {in}>"$WORK/$name.in"
  printf -v "${name}_IN" '%s' "$in"
  wait_for 10 "$name to start" grep -qx ready "$WORK/$name.out"
}

# stop NAME: closes its input, which ends it.
stop() {
  local in="${1}_IN" pid="${1}_PID"
  eval "exec ${!in}>&-"
  wait "${!pid}" 2>/dev/null || true
}

tell() {
  local in="${1}_IN"
  printf '%s\n' "$2" >&"${!in}"
}

lines() {
  grep -c -- "$2" "$WORK/$1.out" || true
}

has_line() {
  grep -qx -- "$2" "$WORK/$1.out"
}

# said NAME PATTERN [COUNT]: waits until the output has COUNT lines (default 1) matching the pattern.
said() {
  local count=${3:-1}
  wait_for 10 "$1 to say '$2' (x$count)" at_least "$1" "$2" "$count"
}

at_least() {
  [ "$(lines "$1" "$2")" -ge "$3" ]
}

# The shortcuts registered last, as the portal has them.
last_registered() {
  grep '^registered ' "$WORK/portal.out" | tail -n 1 | cut -d' ' -f3-
}

registered_is() {
  [ "$(last_registered)" = "$1" ]
}

# --- A portal without global shortcuts ------------------------------------------------------------------------

start portal "$PORTAL" none
start driver "$DRIVER"
tell driver "register 32 $CONTROL_SHIFT 1"
said driver '^registered 0 1$'
said driver '^warning: The desktop offers no global-shortcuts portal: .*driftmark-menubar --paste N'
tell driver "register 36 $COMMAND 2"
tell driver "unregister 1"
tell driver "trial 0 $COMMAND 9"
tell driver "register 0 $((FN | COMMAND)) 3"
said driver '^registered 2 -$'
tell driver ping
said driver '^pong$'
has_line driver "registered 0 2" || fail "a registration without a portal was refused"
has_line driver "trial 0" || fail "a trial registration without a portal was refused"
[ "$(lines driver '^warning:')" = 1 ] || fail "the missing portal was not reported exactly once"
[ "$(lines portal '^unknown CreateSession$')" = 1 ] || fail "the portal was asked again after it lacked the interface"
stop driver
stop portal
mv "$WORK/portal.out" "$WORK/portal-none.log"

# --- Both generations of portals --------------------------------------------------------------------------

for mode in kde527 bind; do
  start portal "$PORTAL" "$mode"
  start driver "$DRIVER"
  tell driver "delivery hotkeys"
  tell driver "register 32 $CONTROL_SHIFT 1"
  tell driver "register 36 $COMMAND 2"
  said driver '^registered 0 2$'
  wait_for 10 "$mode: both shortcuts registered" registered_is "$ID1=CTRL+SHIFT+u $ID2=LOGO+Return"
  if [ "$mode" = kde527 ]; then
    [ "$(lines portal '^bind ')" = 0 ] || fail "$mode: shortcuts were bound though the session listed them"
  else
    [ "$(lines portal "^bind .*$ID1=CTRL+SHIFT+u $ID2=LOGO+Return")" -ge 1 ] || fail "$mode: nothing was bound"
  fi

  # A press and a release of each.
  tell portal "activate $ID1"
  said driver '^pressed 1$'
  tell portal "deactivate $ID1"
  said driver '^released 1$'
  tell portal "activate $ID2"
  said driver '^pressed 2$'
  [ "$(lines driver '^pressed 1$')" = 1 ] || fail "$mode: a press of shortcut 2 reached hot key 1"

  # A trial taken back at once changes nothing; the unregistration after it makes one new session, and
  # the portal sees them in this order.
  sessions=$(lines portal '^create-session ')
  tell driver "trial 0 $COMMAND 9"
  said driver '^trial 0$'
  tell driver "unregister 2"
  said driver '^unregistered 2$'
  wait_for 10 "$mode: a session without shortcut 2" registered_is "$ID1=CTRL+SHIFT+u"
  [ "$(lines portal '^create-session ')" = $((sessions + 1)) ] ||
    fail "$mode: not exactly one new session for the trial and the unregistration"
  [ "$(lines portal "$ID9")" = 0 ] || fail "$mode: the trial combination reached the portal"
  [ "$(lines portal '^close ')" -ge 1 ] || fail "$mode: the replaced session was not closed"

  # The shortcut left works in the new session.
  tell portal "activate $ID1"
  said driver '^pressed 1$' 2
  stop driver
  stop portal
  grep -q '^warning:' "$WORK/driver.out" && fail "$mode: a warning with a working portal"
  mv "$WORK/portal.out" "$WORK/portal-$mode.log"
done
echo "PASS"
