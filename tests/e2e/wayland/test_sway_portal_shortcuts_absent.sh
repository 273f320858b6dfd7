#!/usr/bin/env bash
# Driftmark on sway, a desktop whose portal offers no global shortcuts of its own, with xdg-desktop-portal
# installed and startable on the session bus, and KDE's backend, made for KDE alone, beside it (which the
# portal falls back on elsewhere, and which refuses there). While no portal runs, Driftmark asks nothing
# of it, so the bus starts none; once one runs with KDE's backend as its global shortcuts, Driftmark still
# asks it for none. Both times Driftmark says that there are no global shortcuts once, in one short line.
set -euo pipefail

CLIPBOARD_DRIVER=${1:?usage: $0 CLIPBOARD_DRIVER}
BIN_DIR=$(cd "$(dirname "$CLIPBOARD_DRIVER")" && pwd)
: "${DRIFTMARK_BINARY:=$BIN_DIR/../../src/driftmark-menubar}"
if [ -z "${WAYLAND_COMPOSITOR_PID:-}" ]; then
  # XWayland for KDE's backend, a Qt 5 program that the portal starts on X11 there.
  exec "$(dirname "$0")/../../../scripts/with-wayland-desktop" --xwayland --session-bus bash "$0" "$@"
fi
for tool in gdbus dbus-monitor; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing; run scripts/install-deps" >&2; exit 1; }
done
# The X11 tests' helpers, on this desktop rather than one of their own.
export DRIFTMARK_E2E_DESKTOP=1
source "$(dirname "$0")/../lib.sh" "$DRIFTMARK_BINARY" "$BIN_DIR/driftmark_e2e_target"
export XDG_CURRENT_DESKTOP=sway

readonly PORTAL=org.freedesktop.portal.Desktop
bus() {
  gdbus call --session -d org.freedesktop.DBus -o /org/freedesktop/DBus -m "org.freedesktop.DBus.$1" "${@:2}"
}
bus ListActivatableNames | grep -qF "'$PORTAL'" ||
  fail "the bus cannot start a desktop portal; run scripts/install-deps (xdg-desktop-portal)"
[ "$(bus NameHasOwner "$PORTAL")" = "(false,)" ] || fail "a desktop portal runs before Driftmark starts"

# Everything said on the bus, from before Driftmark's start.
MONITOR_LOG="$E2E_HOME/bus.log"
dbus-monitor --session >"$MONITOR_LOG" 2>&1 &
E2E_PIDS+=($!)
wait_for 10 "the bus monitor" test -s "$MONITOR_LOG"

answers() {
  "$DRIFTMARK" --list
}
# A line that names the global shortcuts: of Driftmark's own lines, not its debug or info lines.
shortcut_lines() {
  grep -v '^driftmark-menubar \[' "$DRIFTMARK_OUT" | grep -i 'global.shortcuts' || true
}

# Whatever Driftmark sent before its answer to --list is on the bus before a call made after it; the calls
# to the portal's global shortcuts so far are in $PORTAL_CALLS.
calls_after_start() {
  wait_for 30 "Driftmark to answer on the session bus" answers
  bus NameHasOwner "app.driftmark.e2e.after-start-$1" >/dev/null
  wait_for 10 "the monitor to see the call after the answer" grep -qF "app.driftmark.e2e.after-start-$1" "$MONITOR_LOG"
  PORTAL_CALLS=$(grep -cF "interface=org.freedesktop.portal.GlobalShortcuts" "$MONITOR_LOG" || true)
}

# Said once, in one short line, and nothing more about the shortcuts.
said_once_and_short() {
  wait_for 10 "the word that there is no global-shortcuts portal" grep -qF "No global-shortcuts portal" "$DRIFTMARK_OUT"
  [ "$(shortcut_lines | wc -l)" = 1 ] || fail "the global shortcuts were spoken of on $(shortcut_lines | wc -l) lines"
  [ "$(shortcut_lines | wc -c)" -le 160 ] || fail "the line about the global shortcuts is long: $(shortcut_lines)"
}

# The first entry's default shortcut is registered at start-up.
seed_preferences "[$(item_json 5E000000-0000-4000-8000-0000000000B1 'First' 'first text' false false 0)]"
start_driftmark
calls_after_start 1
if grep -F "destination=$PORTAL" "$MONITOR_LOG"; then
  fail "Driftmark called the desktop portal, which the bus then starts"
fi
[ "$(bus NameHasOwner "$PORTAL")" = "(false,)" ] || fail "a desktop portal runs after Driftmark's start"
said_once_and_short
stop_driftmark

# Another program starts the portal, which takes KDE's backend for its global shortcuts.
bus StartServiceByName "$PORTAL" 0 >/dev/null || fail "the bus did not start the desktop portal"
portal_has_shortcuts() {
  gdbus call --session -d "$PORTAL" -o /org/freedesktop/portal/desktop \
    -m org.freedesktop.DBus.Properties.Get org.freedesktop.portal.GlobalShortcuts version
}
wait_for 30 "the portal's global shortcuts (KDE's backend)" portal_has_shortcuts
start_driftmark
calls_after_start 2
[ "$PORTAL_CALLS" = 0 ] || fail "Driftmark asked the portal for global shortcuts $PORTAL_CALLS times"
said_once_and_short

kill -0 "$DRIFTMARK_PID" || fail "the program did not survive"
stop_driftmark
echo "PASS"
