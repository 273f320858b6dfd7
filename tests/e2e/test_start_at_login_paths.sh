#!/usr/bin/env bash
# Start at login from folders with hostile names, checked with the two programs that start autostart
# entries: GLib (Gio.DesktopAppInfo, as GNOME, Xfce and LXQt sessions start them) and systemd's
# xdg-autostart generator, whose user services systemd parses with the same rules as
# `systemd-analyze verify`. First a stand-in program that records its start, in each folder, with the
# entry written for it; then the real program, switched on in the settings window from a folder whose
# name holds '%', started at login by both; last, where no entry can start it, the switch goes back off
# with one line on standard output.
E2E_DESKTOP_OPTIONS="--session-bus --size 1280x1000"
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/settings_helpers.sh"

WRITER="$(dirname "$TARGET_WINDOW")/driftmark_e2e_autostart_writer"
GENERATOR=/usr/lib/systemd/user-generators/systemd-xdg-autostart-generator
# GLib's bindings come with the system's Python.
GLIB_PYTHON=/usr/bin/python3
AUTOSTART="$XDG_CONFIG_HOME/autostart/driftmark-menubar.desktop"
LAUNCHER="$XDG_CONFIG_HOME/driftmark-menubar/start-at-login"
PLACES="$E2E_HOME/places"
STARTED="$E2E_HOME/started"
# The system's own autostart entries stay out of the generator's view.
EMPTY_CONFIG_DIRS="$E2E_HOME/no-system-config"
mkdir -p "$PLACES" "$EMPTY_CONFIG_DIRS"
[ -x "$GENERATOR" ] || fail "no $GENERATOR (package systemd)"

# Loads the entry with GLib and launches it; fails when GLib refuses to load it.
glib_launch() {
  "$GLIB_PYTHON" - "$1" <<'EOF'
import sys
import gi
gi.require_version("Gio", "2.0")
from gi.repository import Gio
try:
    info = Gio.DesktopAppInfo.new_from_filename(sys.argv[1])
except TypeError:
    sys.exit("GLib does not load " + sys.argv[1])
if not info.launch([], None):
    sys.exit("GLib did not launch " + sys.argv[1])
EOF
}

# The user service the generator makes of the entry, checked as systemd loads it; its path in $UNIT.
generate_unit() {
  local out="$E2E_HOME/generated"
  rm -rf "$out"
  mkdir -p "$out"
  XDG_CONFIG_DIRS="$EMPTY_CONFIG_DIRS" "$GENERATOR" "$out" "$out" "$out" >"$E2E_HOME/generator.out" 2>&1 ||
    fail "the generator failed: $(cat "$E2E_HOME/generator.out")"
  UNIT=$(find "$out" -maxdepth 1 -name '*.service' -print)
  [ -n "$UNIT" ] && [ "$(printf '%s\n' "$UNIT" | wc -l)" = 1 ] ||
    fail "the generator made no single service of $(cat "$AUTOSTART"): $(cat "$E2E_HOME/generator.out")"
  systemd-analyze verify --user "$UNIT" >"$E2E_HOME/verify.out" 2>&1 ||
    fail "systemd does not load the service: $(cat "$E2E_HOME/verify.out"); $(grep '^ExecStart=' "$UNIT")"
}

# The service's ExecStart as a command: the generator quotes its words for the shell as well as for
# systemd (which has just checked the executable), writes '%' as "%%" and adds only the ':' prefix.
exec_start_command() {
  local line
  line=$(sed -n 's/^ExecStart=//p' "$UNIT")
  line=${line#:}
  line=${line//%%/%}
  eval "EXEC_START=($line)"
}

started_is() {
  [ -f "$STARTED" ] && [ "$(cat "$STARTED")" = "$1" ]
}

# --- A stand-in in each folder ----------------------------------------------------------------------

# shellcheck disable=SC2016 # the '$' is part of a name
names=(
  '100%'
  $'caf\xe9'
  'a "quoted" $HOME'
  'back\slash'
  "it's"
  'tick`tock'
  $'new\nline'
  'My Apps'
  'semi;colon*star?(x)'
  'Ünïcødé #1'
)
for name in "${names[@]}"; do
  program="$PLACES/$name/driftmark-menubar"
  mkdir -p "$PLACES/$name"
  # shellcheck disable=SC2016 # "$0" is the stand-in's own
  printf '#!/bin/sh\nprintf %%s "$0" >%s\n' "'$STARTED'" >"$program"
  chmod 755 "$program"
  rm -f "$AUTOSTART" "$LAUNCHER" "$STARTED"
  what="the entry for $(printf %q "$program")"

  "$WRITER" "$program" >"$E2E_HOME/writer.out" || fail "$what was refused: $(cat "$E2E_HOME/writer.out")"
  desktop-file-validate "$AUTOSTART" >"$E2E_HOME/validate.out" 2>&1 ||
    fail "$what is no valid desktop entry: $(cat "$E2E_HOME/validate.out")"

  glib_launch "$AUTOSTART" || fail "GLib does not start $what: $(cat "$AUTOSTART")"
  wait_for 10 "GLib to start the stand-in for $what" started_is "$program"
  rm -f "$STARTED"

  generate_unit
  exec_start_command
  [ "${EXEC_START[0]}" = "$program" ] || [ "${EXEC_START[0]}" = "$LAUNCHER" ] ||
    fail "the service of $what starts $(printf %q "${EXEC_START[0]}")"
  "${EXEC_START[@]}" || fail "the service's command of $what failed: $(grep '^ExecStart=' "$UNIT")"
  started_is "$program" || fail "the service of $what did not start the stand-in: $(grep '^ExecStart=' "$UNIT")"
done

# --- The real program from a folder with '%' --------------------------------------------------------

first=D1000000-0000-4000-8000-0000000000D2
seed_preferences "[$(item_json "$first" 'First' 'first entry text' false false 0)]"
rm -f "$AUTOSTART" "$LAUNCHER"
place="$PLACES/100% sure"
mkdir -p "$place"
cp "$DRIFTMARK" "$(dirname "$DRIFTMARK")/libdriftmark-settings.so" "$place/"
DRIFTMARK="$place/driftmark-menubar"

start_driftmark_for_settings "$first"
open_settings "$first"
wait_for_control "check box" "Start at Login"
click_control "check box" "Start at Login"
wait_for 10 "the autostart entry" test -f "$AUTOSTART"
atspi --last wait-state "check box" "Start at Login" checked || fail "the switch did not turn on"
stop_driftmark

# The program that a launch starts is found by its executable.
program_started() {
  local exe
  for exe in /proc/[0-9]*/exe; do
    [ "$(readlink "$exe" 2>/dev/null)" = "$DRIFTMARK" ] || continue
    STARTED_PID=${exe#/proc/}
    STARTED_PID=${STARTED_PID%/exe}
    return 0
  done
  return 1
}

glib_launch "$AUTOSTART" || fail "GLib does not start the program's entry: $(cat "$AUTOSTART")"
wait_for 20 "GLib to start $DRIFTMARK" program_started
wait_for 20 "the tray icon of the program GLib started" icon_visible "$first"
kill -TERM "$STARTED_PID"
wait_for 10 "the program GLib started to quit" test ! -e "/proc/$STARTED_PID"

generate_unit
exec_start_command
"${EXEC_START[@]}" >"$E2E_HOME/service.out" 2>&1 &
DRIFTMARK_PID=$!
E2E_PIDS+=("$DRIFTMARK_PID")
wait_for 20 "the tray icon of the program the service started" icon_visible "$first"
[ "$(readlink "/proc/$DRIFTMARK_PID/exe")" = "$DRIFTMARK" ] ||
  fail "the service started $(readlink "/proc/$DRIFTMARK_PID/exe"), not $DRIFTMARK"
stop_driftmark

# --- No form that starts it: the switch goes back off ------------------------------------------------

export XDG_CONFIG_HOME="$E2E_HOME/config 100%"
PREFERENCES="$XDG_CONFIG_HOME/driftmark-menubar/preferences.json"
seed_preferences "[$(item_json "$first" 'First' 'first entry text' false false 0)]"
start_driftmark_for_settings "$first"
open_settings "$first"
wait_for_control "check box" "Start at Login"
switched_on_before=$(log_count "Start at Login toggled: enabled")
click_control "check box" "Start at Login"
wait_for 10 "the refusal on standard output" grep -qF "Failed to register launch at login: login cannot start" "$DRIFTMARK_OUT"
atspi --last wait-state "check box" "Start at Login" checked no || fail "the switch stayed on"
[ "$(output_count "Failed to register launch at login")" = 1 ] || fail "the refusal was not said once"
wait_for_log 10 "Start at Login not changed: it stays disabled"
[ "$(log_count "Start at Login toggled: enabled")" = "$switched_on_before" ] ||
  fail "the log says the refused switch-on was done"
[ ! -e "$XDG_CONFIG_HOME/autostart" ] || fail "something was written: $(ls -A "$XDG_CONFIG_HOME/autostart")"
[ ! -e "$XDG_CONFIG_HOME/driftmark-menubar/start-at-login" ] || fail "a launcher was written"
screenshot "$SETTINGS_TITLE" refused

# Closed and opened again, the window still shows it off.
xdotool windowactivate --sync "$(settings_window)" key alt+F4
wait_for 10 "the settings window to close" window_gone "$SETTINGS_TITLE"
open_settings "$first"
wait_for_control "check box" "Start at Login"
! control_has_state "check box" "Start at Login" checked || fail "the switch is on without an autostart entry"

stop_driftmark
echo "PASS"
