#!/usr/bin/env bash
# The General pane's "Start at Login" switch: switched on, it writes the XDG autostart entry that starts
# this very program (its absolute path on the Exec line); switched off, the entry goes. Both flips are
# logged, and the switch shows the state of the file when the window opens again.
E2E_DESKTOP_OPTIONS="--session-bus --size 1280x1000"
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/settings_helpers.sh"

first=D1000000-0000-4000-8000-0000000000D1
seed_preferences "[$(item_json "$first" 'First' 'first entry text' false false 0)]"
AUTOSTART="$XDG_CONFIG_HOME/autostart/driftmark-menubar.desktop"
start_driftmark_for_settings "$first"
open_settings "$first"
wait_for_control "check box" "Start at Login"

[ ! -e "$AUTOSTART" ] || fail "an autostart entry exists before the switch was touched"
! control_has_state "check box" "Start at Login" checked || fail "the switch is on without an autostart entry"

# On: the entry is there and starts the running program.
click_control "check box" "Start at Login"
wait_for 10 "the autostart entry" test -f "$AUTOSTART"
atspi --last wait-state "check box" "Start at Login" checked || fail "the switch did not turn on"
wait_for_log 10 "Start at Login toggled: enabled"
executable=$(readlink -f "$DRIFTMARK")
[ "$(readlink -f "/proc/$DRIFTMARK_PID/exe")" = "$executable" ] || fail "the program's process is not $executable"
grep -qxF "[Desktop Entry]" "$AUTOSTART" || fail "the autostart entry has no [Desktop Entry] group: $(cat "$AUTOSTART")"
grep -qxF "Type=Application" "$AUTOSTART" || fail "the autostart entry is no application: $(cat "$AUTOSTART")"
[ "$(grep -c '^Exec=' "$AUTOSTART")" = 1 ] || fail "the autostart entry has not exactly one Exec line: $(cat "$AUTOSTART")"
[ "$(sed -n 's/^Exec=//p' "$AUTOSTART")" = "$executable" ] ||
  fail "the autostart entry's Exec is not '$executable': $(cat "$AUTOSTART")"
! grep -qE '^(Hidden=true|X-GNOME-Autostart-enabled=false)' "$AUTOSTART" ||
  fail "the autostart entry is switched off inside: $(cat "$AUTOSTART")"
screenshot "$SETTINGS_TITLE" switched-on

# Closed and opened again, the window shows the switch on.
xdotool windowactivate --sync "$(settings_window)" key alt+F4
wait_for 10 "the settings window to close" window_gone "$SETTINGS_TITLE"
open_settings "$first"
wait_for_control "check box" "Start at Login"
control_has_state "check box" "Start at Login" checked || fail "the switch is off although the entry exists"

# Off: the entry goes, and nothing else in the autostart folder was left behind.
click_control "check box" "Start at Login"
wait_for 10 "the autostart entry to go" test ! -e "$AUTOSTART"
atspi --last wait-state "check box" "Start at Login" checked no || fail "the switch did not turn off"
wait_for_log 10 "Start at Login toggled: disabled"
[ -z "$(ls -A "$XDG_CONFIG_HOME/autostart" 2>/dev/null)" ] ||
  fail "the autostart folder still holds: $(ls -A "$XDG_CONFIG_HOME/autostart")"
[ "$(log_count "Start at Login toggled: enabled")" = 1 ] || fail "the switch-on was logged $(log_count "Start at Login toggled: enabled") times"
[ "$(log_count "Start at Login toggled: disabled")" = 1 ] || fail "the switch-off was logged $(log_count "Start at Login toggled: disabled") times"

stop_driftmark
echo "PASS"
