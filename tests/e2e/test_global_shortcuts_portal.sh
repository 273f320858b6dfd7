#!/usr/bin/env bash
# Global shortcuts through the desktop's global-shortcuts portal, with a portal of the test's own on the
# private session bus, in both of its generations: Plasma 5.27's, which registers the shortcuts given when
# the session is made, and the later one, which registers them through BindShortcuts. In both the
# shortcuts arrive with their triggers, a press and a release reach the handler, a trial registration
# taken back in the same turn makes no new session, and an unregistration makes one without that
# shortcut. With a portal that has no global shortcuts the registrations are still accepted and the user
# is told once. The portal is another program and trusted for nothing: answers of the wrong D-Bus type
# are reported once and taken as nothing bound, signals and answers another connection sends in the
# portal's name count for nothing, also after the portal was replaced, and a request the portal leaves
# unanswered is reported once after the limit (a second here, given to the driver) and asked again at the
# next change. The portal's name is always taken by the test's own portal: the bus would start an
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
WRONG_TYPE="^warning: The desktop's global-shortcuts portal sent data of the wrong type"
HANGS="^warning: The desktop's global-shortcuts portal hangs"

# The writing ends of the running programs' pipes, by name: no program gets another's, so that each ends
# when its own pipe is closed, whatever else still runs.
declare -A INPUTS=()

# start NAME COMMAND...: a program that reads commands from a pipe ($NAME_IN is the writing end) and
# writes to $WORK/NAME.out.
start() {
  local name=$1 in fd
  shift
  rm -f "$WORK/$name.in" "$WORK/$name.out"
  mkfifo "$WORK/$name.in"
  {
    for fd in "${INPUTS[@]}"; do eval "exec $fd>&-"; done
    exec "$@"
  } <"$WORK/$name.in" >"$WORK/$name.out" 2>"$WORK/$name.err" &
  E2E_PIDS+=($!)
  printf -v "${name}_PID" '%s' "$!"
  exec {in}>"$WORK/$name.in"
  printf -v "${name}_IN" '%s' "$in"
  INPUTS[$name]=$in
  wait_for 10 "$name to start" grep -qx ready "$WORK/$name.out"
}

# stop NAME: closes its input, which ends it.
stop() {
  local in="${1}_IN" pid="${1}_PID"
  eval "exec ${!in}>&-"
  unset "INPUTS[$1]"
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

# The line number of the COUNTth line of NAME's output matching the pattern (0 when there is none).
line_number() {
  local number
  number=$(grep -n -- "$2" "$WORK/$1.out" | sed -n "${3}p" | cut -d: -f1)
  echo "${number:-0}"
}

# Whether the portal was asked to close the session under Driftmark's token after the first session was
# asked for and before the second was: the session the portal made but did not name.
unnamed_session_closed() {
  local first second close
  first=$(line_number portal '^create-session ' 1)
  second=$(line_number portal '^create-session ' 2)
  close=$(grep -n '^close driftmark$' "$WORK/portal.out" | cut -d: -f1 | awk -v a="$first" -v b="$second" \
    '$1 > a && $1 < b { found = 1 } END { print found + 0 }')
  [ "$close" = 1 ]
}

# retire NAME: stops it and keeps its output for a failure's report under another name.
retire() {
  stop "$1"
  mv "$WORK/$1.out" "$WORK/$1-$2.log"
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

# --- Answers and signals of the wrong D-Bus type -----------------------------------------------------------
# Each kind once, from a portal that is otherwise right: reported once, nothing read from it, and the
# shortcuts bound again at the next change once the portal answers rightly.

for kind in request-handle response session-handle list-shortcuts bind-shortcuts signals; do
  start portal "$PORTAL" bind
  tell portal "wrong $kind"
  said portal "^wrong $kind$"
  start driver "$DRIVER"
  tell driver "delivery hotkeys"
  tell driver "register 32 $CONTROL_SHIFT 1"
  case $kind in
    list-shortcuts)
      # A list that cannot be read lists nothing: the shortcut is bound all the same.
      wait_for 10 "$kind: the shortcut bound" registered_is "$ID1=CTRL+SHIFT+u" ;;
    signals)
      wait_for 10 "$kind: the shortcut bound" registered_is "$ID1=CTRL+SHIFT+u"
      tell portal "activate $ID1" ;;
  esac
  said driver "$WRONG_TYPE"
  tell portal "wrong off"
  said portal '^wrong off$'
  tell driver "register 36 $COMMAND 2"
  wait_for 10 "$kind: both shortcuts bound after the change" registered_is "$ID1=CTRL+SHIFT+u $ID2=LOGO+Return"
  tell portal "activate $ID2"
  said driver '^pressed 2$'
  case $kind in
    request-handle | response | session-handle)
      unnamed_session_closed || fail "$kind: the session the portal did not name was not closed first" ;;
    signals)
      [ "$(lines driver '^pressed 1$')" = 0 ] || fail "$kind: a wrongly typed Activated was taken as a press" ;;
  esac
  tell driver ping
  said driver '^pong$'
  [ "$(lines driver '^warning:')" = 1 ] || fail "$kind: not exactly one warning"
  retire driver "wrong-$kind"
  retire portal "wrong-$kind"
done

# --- Signals from other connections in the portal's name ----------------------------------------------------

start portal "$PORTAL" bind
start driver "$DRIVER"
tell driver "delivery hotkeys"
tell driver "register 32 $CONTROL_SHIFT 1"
wait_for 10 "the shortcut bound" registered_is "$ID1=CTRL+SHIFT+u"
tell portal "forge activate $ID1"
said portal "^forged driftmark $ID1$"
tell portal "activate $ID1"
said driver '^pressed 1$'
tell driver ping
said driver '^pong$'
[ "$(lines driver '^pressed 1$')" = 1 ] || fail "an Activated another connection sent was taken as a press"

# A portal started anew has another name on the bus: its signals count, the old one's would not.
retire portal forged
start portal "$PORTAL" bind
tell driver "register 36 $COMMAND 2"
wait_for 10 "both shortcuts bound by the new portal" registered_is "$ID1=CTRL+SHIFT+u $ID2=LOGO+Return"
tell portal "forge activate $ID2"
said portal "^forged driftmark $ID2$"
tell portal "activate $ID2"
said driver '^pressed 2$'
tell driver ping
said driver '^pong$'
[ "$(lines driver '^pressed 2$')" = 1 ] || fail "an Activated another connection sent to the new portal's session was taken"
grep -q '^warning:' "$WORK/driver.out" && fail "a warning about the portal's genuine answers"
retire driver forged
retire portal restarted

# --- Requests the portal never answers -----------------------------------------------------------------------
# The driver gives the portal a second for each request. The portal does what it is asked but withholds the
# Response; Driftmark says so once, and the next change of the shortcuts makes a session again.

for method in CreateSession ListShortcuts BindShortcuts; do
  start portal "$PORTAL" bind
  tell portal "silent $method"
  said portal "^silent $method$"
  start driver "$DRIVER" 1000
  tell driver "delivery hotkeys"
  tell driver "register 32 $CONTROL_SHIFT 1"
  said portal "^unanswered $method "
  if [ "$method" = CreateSession ]; then
    # A Response from another connection at the request's path is no answer.
    tell portal "forge respond"
    said portal '^forged-response '
  fi
  said driver "$HANGS ($method was not answered within 1 s)"
  [ "$(lines portal '^list ')" = $([ "$method" = CreateSession ] && echo 0 || echo 1) ] ||
    fail "$method: the session went on without the portal's answer"
  # A change while the portal still hangs is asked of it again, and not reported again.
  tell driver "register 36 $COMMAND 2"
  said portal "^unanswered $method " 2
  tell portal "silent off"
  said portal '^silent off$'
  tell driver "register 40 $CONTROL_SHIFT 3"
  wait_for 10 "$method: the shortcuts bound once the portal answers" \
    registered_is "$ID1=CTRL+SHIFT+u $ID2=LOGO+Return driftmark-40-$CONTROL_SHIFT=CTRL+SHIFT+k"
  tell portal "activate driftmark-40-$CONTROL_SHIFT"
  said driver '^pressed 3$'
  if [ "$method" = CreateSession ]; then
    unnamed_session_closed || fail "$method: the session made without an answer was not closed first"
  fi
  tell driver ping
  said driver '^pong$'
  [ "$(lines driver '^warning:')" = 1 ] || fail "$method: the hanging portal was not reported exactly once"
  retire driver "silent-$method"
  retire portal "silent-$method"
done
echo "PASS"
