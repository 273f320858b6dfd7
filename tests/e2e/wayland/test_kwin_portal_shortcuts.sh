#!/usr/bin/env bash
# Driftmark's shortcuts through KDE's own desktop portal, on a private headless KWin (Plasma 5.27, with
# kglobalaccel inside it): Driftmark, a native Wayland client there, gives the portal its default shortcut,
# Control+Shift+U, and an entry's own, Control+Alt+J; KDE registers both with kglobalaccel under Driftmark's
# shortcut ids and those keys, without asking anyone. The keys pressed and let go on KWin's keyboard reach
# Driftmark's portal session and copy the first entry's text and the second entry's, which other Wayland
# programs then paste through KWin's data control. Driftmark has no complaint about the portal throughout.
# Then Driftmark's portal service alone, run by a test program, changes its set of shortcuts: the new
# session's shortcuts get their keys in kglobalaccel too, the earlier ones included, a press of one reaches
# the program, and a combination given up and asked for again gets its key back.
set -euo pipefail

CLIPBOARD_DRIVER=${1:?usage: $0 CLIPBOARD_DRIVER}
BIN_DIR=$(cd "$(dirname "$CLIPBOARD_DRIVER")" && pwd)
: "${DRIFTMARK_BINARY:=$BIN_DIR/../../src/driftmark-menubar}"
if [ -z "${KWIN_DESKTOP_LOGS:-}" ]; then
  # KWIN_BUS_LOG=FILE keeps the private bus's messages, for a look at what the portal said.
  exec "$(dirname "$0")/../../../scripts/with-kwin-desktop" ${KWIN_BUS_LOG:+--bus-log "$KWIN_BUS_LOG"} \
    bash "$0" "$@"
fi
for tool in wl-copy wl-paste gdbus dbus-monitor; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing; run scripts/install-deps" >&2; exit 1; }
done
# The X11 tests' helpers, on this desktop rather than one of their own.
export DRIFTMARK_E2E_DESKTOP=1
source "$(dirname "$0")/../lib.sh" "$DRIFTMARK_BINARY" "$BIN_DIR/driftmark_e2e_target"
source "$E2E_DIR/shortcut_helpers.sh"
KEYS=$BIN_DIR/driftmark_e2e_kwin_keys
SHORTCUTS_DRIVER=$BIN_DIR/driftmark_e2e_global_shortcuts_driver

# A failure shows what KDE's side said too.
eval "lib_$(declare -f fail)"
fail() {
  local log
  for log in kwin.log portal-kde.log portal.log; do
    echo "--- $log:" >&2
    tail -n 30 "$KWIN_DESKTOP_LOGS/$log" >&2 || true
  done
  lib_fail "$@"
}

# Keys as kglobalaccel keeps them: Qt's key code with its modifier bits.
readonly QT_CTRL=0x04000000 QT_SHIFT=0x02000000 QT_ALT=0x08000000
readonly CTRL_SHIFT_U=$((QT_CTRL | QT_SHIFT | 0x55)) CTRL_ALT_J=$((QT_CTRL | QT_ALT | 0x4a))
# The same on KWin's keyboard: Linux event codes.
readonly KEY_LEFTCTRL=29 KEY_LEFTSHIFT=42 KEY_LEFTALT=56 EV_KEY_U=22 EV_KEY_J=36 EV_KEY_P=25
readonly CTRL_SHIFT_P=$((QT_CTRL | QT_SHIFT | 0x50)) CTRL_ALT_P=$((QT_CTRL | QT_ALT | 0x50))

kglobalaccel() {
  gdbus call --session -d org.kde.kglobalaccel "$@"
}

# The object paths of kglobalaccel's components, one a line.
components() {
  kglobalaccel -o /kglobalaccel -m org.kde.KGlobalAccel.allComponents | grep -o "'/component/[^']*'" | tr -d "'"
}

# The names of a component's shortcuts, one a line (gdbus prints a string list as ['a', 'b']).
shortcut_names() {
  kglobalaccel -o "$1" -m org.kde.kglobalaccel.Component.shortcutNames | grep -o "'[^']*'" | tr -d "'"
}

# The component holding Driftmark's two shortcuts, into $COMPONENT.
driftmark_shortcuts_registered() {
  local component
  for component in $(components); do
    if [ "$(shortcut_names "$component" | grep -cE '^driftmark-[0-9]+-[0-9]+$')" = 2 ]; then
      COMPONENT=$component
      return 0
    fi
  done
  return 1
}

# shortcut_with_key KEY [PATTERN]: the name of the component's shortcut whose one key is KEY (gdbus prints
# each shortcut as (name, text, component, component's text, context, context's text, [keys], [default
# keys])), of those whose names match PATTERN (any of Driftmark's by default).
shortcut_with_key() {
  local pattern=${2:-driftmark-[0-9]+-[0-9]+}
  kglobalaccel -o "$COMPONENT" -m org.kde.kglobalaccel.Component.allShortcutInfos |
    grep -oE "\('$pattern', [^()]*\[$1\], \[[0-9, ]*\]\)" | grep -oE "^\('[^']*'" | tr -d "('"
}

# has_shortcut NAME KEY: kglobalaccel has the shortcut in $COMPONENT with that one key, and it is active.
has_shortcut() {
  [ "$(shortcut_with_key "$2" "$1")" = "$1" ] &&
    kglobalaccel -o "$COMPONENT" -m org.kde.kglobalaccel.Component.isActive | grep -q true
}

# shortcut_anywhere NAME KEY: has_shortcut in some component, which goes into $COMPONENT.
shortcut_anywhere() {
  for COMPONENT in $(components); do
    ! has_shortcut "$1" "$2" || return 0
  done
  return 1
}

# Driftmark's words when the portal fails it (PortalHotKeyService); its notice about what a Wayland
# compositor lacks names the portal too, and is no complaint.
portal_complaints() {
  grep -E "The desktop's global-shortcuts portal|The desktop offers no global-shortcuts portal|did not bind" \
    "$DRIFTMARK_OUT" || true
}

clipboard_text_is() {
  # KWin tells a data-control client nothing while the clipboard is empty, and wl-paste would wait for ever.
  [ "$(timeout 5 wl-paste --no-newline 2>/dev/null)" = "$1" ]
}

press() {
  "$KEYS" "$@" || fail "KWin's keyboard did not press $*"
}

# Two entries; the second has a shortcut of its own.
first=6A1B2C3D-0000-4000-8000-000000000001
second=6A1B2C3D-0000-4000-8000-000000000002
seed_preferences "[$(item_json "$first" "kwin entry" "kwin text" false false 0),$(
  item_json "$second" "second entry" "second text" false false 1)]" \
  "$(stored_shortcut "menuItem_$second" "$KEY_J" $((MOD_CONTROL | MOD_OPTION)))"
start_driftmark

# KDE's portal (Plasma 5.27) registers the shortcuts of CreateSession's options with kglobalaccel at once,
# without a dialog, in a component named after the session. Only a native Wayland Driftmark asks the portal,
# and no X display exists here for it to use instead.
COMPONENT=""
wait_for 30 "KDE to register Driftmark's two shortcuts with kglobalaccel" driftmark_shortcuts_registered
echo "KDE registered, in kglobalaccel's component $COMPONENT:"
kglobalaccel -o "$COMPONENT" -m org.kde.kglobalaccel.Component.allShortcutInfos
legacy=$(shortcut_with_key "$CTRL_SHIFT_U")
own=$(shortcut_with_key "$CTRL_ALT_J")
[ -n "$legacy" ] || fail "no shortcut of Driftmark's has the one key Control+Shift+U ($CTRL_SHIFT_U)"
[ -n "$own" ] || fail "no shortcut of Driftmark's has the one key Control+Alt+J ($CTRL_ALT_J)"
[ "$legacy" != "$own" ] || fail "one shortcut has both keys"
[ "$(shortcut_names "$COMPONENT" | wc -l)" = 2 ] ||
  fail "KDE registered more than Driftmark's shortcuts: $(shortcut_names "$COMPONENT" | tr '\n' ' ')"
kglobalaccel -o "$COMPONENT" -m org.kde.kglobalaccel.Component.isActive | grep -q true ||
  fail "kglobalaccel holds Driftmark's shortcuts inactive"
[ -z "$(portal_complaints)" ] || fail "Driftmark complained about the portal: $(portal_complaints)"

# Another program's text on the clipboard first.
printf 'earlier text' | wl-copy --foreground >/dev/null 2>&1 &
E2E_PIDS+=($!)
wait_for 20 "the earlier text on the clipboard" clipboard_text_is "earlier text"

# The portal's signals, as Driftmark receives them; dbus-monitor says it has begun with NameLost.
dbus-monitor --session "type='signal',interface='org.freedesktop.portal.GlobalShortcuts'" \
  >"$E2E_HOME/signals" 2>&1 &
E2E_PIDS+=($!)
wait_for 20 "dbus-monitor to begin" grep -q 'member=NameLost' "$E2E_HOME/signals"
signal_count() {
  grep -c "interface=org.freedesktop.portal.GlobalShortcuts; member=$1\$" "$E2E_HOME/signals" || true
}

# Control+Shift+U pressed and let go on KWin's keyboard: Activated, Deactivated, and the first entry's text.
press "$KEY_LEFTCTRL" "$KEY_LEFTSHIFT" "$EV_KEY_U"
wait_for 20 "the first entry's text on the clipboard" clipboard_text_is "kwin text"
wait_for 20 "the copy in Driftmark's log" log_has "copyTextToClipboard called for item: 'kwin entry'"
# One press and one release for Driftmark's session and that shortcut, and one trigger.
wait_for 20 "the portal's release" test "$(signal_count Deactivated)" = 1
[ "$(signal_count Activated)" = 1 ] || fail "the portal reported $(signal_count Activated) presses"
grep -A2 'member=Activated$' "$E2E_HOME/signals" | grep -qE "object path \"/org/freedesktop/portal/desktop/session/[0-9_]+/driftmark\"" ||
  fail "Activated names no session of Driftmark's: $(cat "$E2E_HOME/signals")"
grep -A2 'member=Activated$' "$E2E_HOME/signals" | grep -qF "string \"$legacy\"" ||
  fail "Activated names another shortcut: $(cat "$E2E_HOME/signals")"
# The log's writer may still hold the line that the copy's came before.
wait_for 20 "the trigger in Driftmark's log" log_has "Legacy keyboard shortcut triggered!"
[ "$(log_count "Legacy keyboard shortcut triggered!")" = 1 ] ||
  fail "Control+Shift+U triggered the shortcut $(log_count "Legacy keyboard shortcut triggered!") times"

# Control+Alt+J: the second entry's own shortcut.
press "$KEY_LEFTCTRL" "$KEY_LEFTALT" "$EV_KEY_J"
wait_for 20 "the second entry's text on the clipboard" clipboard_text_is "second text"
wait_for 20 "the second entry's shortcut in Driftmark's log" \
  log_has "Keyboard shortcut triggered for item: second entry"
[ "$(log_count "Legacy keyboard shortcut triggered!")" = 1 ] || fail "Control+Alt+J triggered the default shortcut"

[ -z "$(portal_complaints)" ] || fail "Driftmark complained about the portal: $(portal_complaints)"
kill -0 "$DRIFTMARK_PID" || fail "the program did not survive"
stop_driftmark

# --- A change of the set of shortcuts -----------------------------------------------------------------------

# The portal service in a program of its own, one command a line; it writes "pressed N" and "released N" for
# its hot key N. Plasma 5.27 takes a session's shortcuts only when the session is
# made, so a second registration makes a second session.
mkfifo "$E2E_HOME/driver.in"
"$SHORTCUTS_DRIVER" <"$E2E_HOME/driver.in" >"$E2E_HOME/driver.out" 2>"$E2E_HOME/driver.err" &
E2E_PIDS+=($!)
exec {driver_in}>"$E2E_HOME/driver.in"
tell_driver() {
  printf '%s\n' "$1" >&"$driver_in"
}
driver_said() {
  grep -qx -- "$1" "$E2E_HOME/driver.out"
}
# press_until LINE KEY...: presses the chord until the program says LINE. While the program's service
# replaces its session, KDE already holds the key, but a press reaches the session being closed.
press_until() {
  local line=$1 tries
  shift
  for ((tries = 0; tries < 10; tries++)); do
    press "$@"
    local deadline=$((SECONDS + 2))
    while [ $SECONDS -lt $deadline ]; do
      driver_said "$line" && return 0
      sleep 0.05
    done
  done
  fail "the program never said '$line' for the keys $*"
}
readonly DRIVER_ID1=driftmark-$KEY_P-$((MOD_CONTROL | MOD_SHIFT)) DRIVER_ID2=driftmark-$KEY_P-$((MOD_CONTROL | MOD_OPTION))
tell_driver "delivery hotkeys"
tell_driver "register $KEY_P $((MOD_CONTROL | MOD_SHIFT)) 1"
wait_for 20 "the first registration" driver_said "registered 0 1"
wait_for 30 "KDE to register $DRIVER_ID1 with Control+Shift+P" shortcut_anywhere "$DRIVER_ID1" "$CTRL_SHIFT_P"
tell_driver "register $KEY_P $((MOD_CONTROL | MOD_OPTION)) 2"
wait_for 20 "the second registration" driver_said "registered 0 2"
# Both in the new session's component, the first one with its key still: KDE names the component after the
# session's token, and in a component of its own the new session's Control+Shift+P would find the earlier
# component holding that key, and get none.
wait_for 30 "KDE to register $DRIVER_ID2 with Control+Alt+P" shortcut_anywhere "$DRIVER_ID2" "$CTRL_ALT_P"
echo "After the change, kglobalaccel's component $COMPONENT has:"
kglobalaccel -o "$COMPONENT" -m org.kde.kglobalaccel.Component.allShortcutInfos
has_shortcut "$DRIVER_ID1" "$CTRL_SHIFT_P" ||
  fail "in the new session's component $COMPONENT, $DRIVER_ID1 lacks its key Control+Shift+P ($CTRL_SHIFT_P)"
press_until "released 1" "$KEY_LEFTCTRL" "$KEY_LEFTSHIFT" "$EV_KEY_P"
driver_said "pressed 1" || fail "the program heard no press of Control+Shift+P"
press_until "released 2" "$KEY_LEFTCTRL" "$KEY_LEFTALT" "$EV_KEY_P"

# Control+Shift+P given up, then asked for again by another hot key, as a re-recorded shortcut is: KDE
# keeps a shortcut's key after it is gone, and the combination gets it back under its own name.
tell_driver "unregister 1"
wait_for 20 "the unregistration" driver_said "unregistered 1"
tell_driver "register $KEY_P $((MOD_CONTROL | MOD_SHIFT)) 3"
wait_for 20 "the third registration" driver_said "registered 0 3"
wait_for 30 "KDE to give $DRIVER_ID1 Control+Shift+P again" has_shortcut "$DRIVER_ID1" "$CTRL_SHIFT_P"
press_until "released 3" "$KEY_LEFTCTRL" "$KEY_LEFTSHIFT" "$EV_KEY_P"
! grep -q '^warning:' "$E2E_HOME/driver.out" || fail "the portal service warned: $(grep '^warning:' "$E2E_HOME/driver.out")"
echo "PASS"
