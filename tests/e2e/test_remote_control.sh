#!/usr/bin/env bash
# Driving Driftmark from outside: --copy, --paste, --list, --settings and --quit reach the running one over
# the session bus and need no display; without a running one (or without a bus) each fails with one line
# and starts nothing. --help and --version work without a display and without a bus; wrong options are
# usage errors. What other programs send is echoed escaped and capped in replies, logs and on the terminal.
E2E_DESKTOP_OPTIONS="--session-bus"
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/settings_helpers.sh"

BUS_NAME=app.driftmark.menubar
version=$(sed -n 's/^project(driftmark VERSION \([0-9][0-9.]*\).*/\1/p' "$REPO_DIR/CMakeLists.txt")

# run_program NAME ARGS...: the program with the arguments and without a display; its status is then in
# $STATUS, its standard output and error in $E2E_HOME/NAME.out and NAME.err.
run_program() {
  local name=$1
  shift
  STATUS=0
  timeout 60 env -u DISPLAY "$DRIFTMARK" "$@" >"$E2E_HOME/$name.out" 2>"$E2E_HOME/$name.err" || STATUS=$?
}

# expect NAME STATUS STDOUT STDERR: the last run of NAME ended with the status and printed exactly that.
expect() {
  local name=$1 status=$2 out=$3 err=$4
  [ "$STATUS" -eq "$status" ] ||
    fail "$name exited with $STATUS, not $status: $(cat "$E2E_HOME/$name.out" "$E2E_HOME/$name.err")"
  [ "$(cat "$E2E_HOME/$name.out")" = "$out" ] || fail "$name printed '$(cat "$E2E_HOME/$name.out")', not '$out'"
  [ "$(cat "$E2E_HOME/$name.err")" = "$err" ] ||
    fail "$name printed '$(cat "$E2E_HOME/$name.err")' on standard error, not '$err'"
}

name_owned() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner "string:$BUS_NAME" | grep -q 'boolean true'
}

# --- Help, version and usage errors: no display, no bus ----------------------------------------------
STATUS=0
timeout 60 env -u DISPLAY -u DBUS_SESSION_BUS_ADDRESS "$DRIFTMARK" --help >"$E2E_HOME/help.out" 2>"$E2E_HOME/help.err" ||
  STATUS=$?
[ "$STATUS" -eq 0 ] || fail "--help exited with $STATUS: $(cat "$E2E_HOME/help.err")"
for option in '--copy ENTRY' '--paste ENTRY' '--list' '--settings' '--quit' '--tray BACKEND' '--version'; do
  grep -qF -- "$option" "$E2E_HOME/help.out" || fail "--help does not mention $option"
done
[ ! -s "$E2E_HOME/help.err" ] || fail "--help wrote to standard error: $(cat "$E2E_HOME/help.err")"

STATUS=0
timeout 60 env -u DISPLAY -u DBUS_SESSION_BUS_ADDRESS "$DRIFTMARK" --version >"$E2E_HOME/version.out" 2>"$E2E_HOME/version.err" ||
  STATUS=$?
expect version 0 "driftmark-menubar $version" ""

hint="Try 'driftmark-menubar --help' for more information."
run_program unknown --frobnicate
expect unknown 2 "" "driftmark-menubar: unknown option '--frobnicate'"$'\n'"$hint"
run_program out_of_range --copy 11
expect out_of_range 2 "" "driftmark-menubar: '11' is not an entry: give its position, 1 to 10, or its id"$'\n'"$hint"
run_program bad_tray --tray gtk
expect bad_tray 2 "" "driftmark-menubar: --tray needs a backend: xembed or sni, not 'gtk'"$'\n'"$hint"

# --- No running Driftmark --------------------------------------------------------------------------
for command in "--copy 1" "--paste 1" "--list" "--settings" "--quit"; do
  # shellcheck disable=SC2086 # the option and its entry are two words
  run_program none $command
  expect none 3 "" "driftmark-menubar: Driftmark is not running"
  STATUS=0
  # shellcheck disable=SC2086
  timeout 60 env -u DISPLAY DBUS_SESSION_BUS_ADDRESS=disabled: "$DRIFTMARK" $command \
    >"$E2E_HOME/no_bus.out" 2>"$E2E_HOME/no_bus.err" || STATUS=$?
  expect no_bus 3 "" \
    "driftmark-menubar: there is no session bus (DBUS_SESSION_BUS_ADDRESS names none), so no running Driftmark can be reached"
done
! name_owned || fail "a control option left $BUS_NAME owned"
[ ! -e "$HOME/.config/driftmark-menubar" ] || fail "a control option created preferences"
[ ! -e "$LOG_DIR" ] || fail "a control option wrote a log"

# --- A running Driftmark -----------------------------------------------------------------------------
first=5A000000-0000-4000-8000-00000000005A
second=5B000000-0000-4000-8000-00000000005B
third=5C000000-0000-4000-8000-00000000005C
# The first entry's own Smart Paste is off: --paste pastes it all the same. The second has Control+Alt+K.
seed_preferences "[$(item_json "$first" 'Greeting' 'Hello, wörld ✓' false false 0),$(item_json "$second" $'Tab\tin title' 'second text' false false 1),$(item_json "$third" 'Third' 'third text' true false 2)]" \
  "\"KeyboardShortcuts_menuItem_$second\": {\"string\": \"{\\\"carbonKeyCode\\\":40,\\\"carbonModifiers\\\":6144}\"}"
start_driftmark
wait_for 20 "the icons" icon_visible "$third"
name_owned || fail "the running Driftmark does not own $BUS_NAME"

run_program list --list
t=$'\t'
expect list 0 "1${t}$first${t}Greeting${t}"$'\n'"2${t}$second${t}Tab in title${t}⌃⌥K"$'\n'"3${t}$third${t}Third${t}" ""
wait_for_log 10 "Remote list of 3 items"

offer_clipboard_text 'something else'
run_program copy_position --copy 2
expect copy_position 0 "" ""
wait_for 10 "the second entry's text on the clipboard" clipboard_is 'second text'
run_program copy_id --copy "${third,,}"
expect copy_id 0 "" ""
wait_for 10 "the third entry's text on the clipboard" clipboard_is 'third text'
log_has "Remote copy for 'Third'" || fail "the copy by id was not logged"
log_has "copyTextToClipboard called for item: 'Third', smartPaste: false" || fail "the copy was not a plain copy"

run_program missing_position --copy 4
expect missing_position 1 "" "driftmark-menubar: no entry at position 4; there are 3 entries"
run_program missing_id --paste 0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0
expect missing_id 1 "" "driftmark-menubar: no entry with the id 0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0"
log_has "Remote paste refused: no entry with the id 0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0" ||
  fail "the refused paste was not logged"

# Arguments from outside reach the replies, the logs and the terminal escaped, one line each, and only
# their start: a line break cannot forge a log line, nor an escape sequence reach a terminal.
forged=$'1\n[12:00:00] Remote copy for \'Greeting\'\e]0;owned\a\e[2J'
escaped="1\\n[12:00:00] Remote copy for 'Greeting'\\x1b]0;owned\\x07\\x1b[2J"
hint="' is not an entry: give its position, 1 to 10, or its id"
run_program forged_option --copy "$forged"
expect forged_option 2 "" "driftmark-menubar: '$escaped$hint"$'\n'"Try 'driftmark-menubar --help' for more information."
log_size=$(cat "$LOG_DIR"/*.log | wc -c)
dbus-send --session --print-reply --dest="$BUS_NAME" /app/driftmark/menubar app.driftmark.menubar.Copy \
  "string:$forged" >"$E2E_HOME/forged.out" 2>"$E2E_HOME/forged.err" && fail "a forged entry was copied"
grep -qxF "Error app.driftmark.menubar.Error.NoSuchEntry: '$escaped$hint" "$E2E_HOME/forged.err" ||
  fail "the reply to a forged entry is not escaped: $(cat "$E2E_HOME/forged.err")"
# Near the most one argument may hold on the command line of dbus-send; the running one takes 4096 bytes.
huge=$(head -c 100000 /dev/zero | tr '\0' 'z')
dbus-send --session --print-reply --dest="$BUS_NAME" /app/driftmark/menubar app.driftmark.menubar.Paste \
  "string:$huge" >"$E2E_HOME/huge.out" 2>"$E2E_HOME/huge.err" && fail "a huge entry was pasted"
grep -qxF "Error app.driftmark.menubar.Error.NoSuchEntry: '$(head -c 200 <<<"$huge")…$hint" "$E2E_HOME/huge.err" ||
  fail "the reply to a huge entry is not an excerpt: $(head -c 300 "$E2E_HOME/huge.err")"
wait_for_log 10 "Remote paste refused: '$(head -c 200 <<<"$huge")…$hint"
log_has "Remote copy refused: '$escaped$hint" || fail "the forged entry was not logged escaped"
grown=$(( $(cat "$LOG_DIR"/*.log | wc -c) - log_size ))
[ "$grown" -lt 4000 ] || fail "two refused requests made the log $grown bytes longer"
! grep -q $'^\[12:00:00\]' "$LOG_DIR"/*.log || fail "a forged line is in the daily log"
! grep -q $'\e' "$LOG_DIR"/*.log "$DRIFTMARK_OUT" || fail "an escape character reached the log or the terminal"

# A paste goes into the window in front, and the clipboard the user had comes back.
typed="$E2E_HOME/target.txt"
start_target "$typed"
offer_clipboard_text 'the earlier clipboard'
printf 'Hello, wörld ✓' >"$E2E_HOME/expected.txt"
run_program paste --paste 1
expect paste 0 "" ""
wait_for 10 "the first entry's text in the target" file_is "$typed" "$E2E_HOME/expected.txt"
wait_for_log 10 "Clipboard restored after 0.3s delay"
clipboard_is 'the earlier clipboard' || fail "the clipboard was not restored after the paste"
log_has "Remote paste for 'Greeting'" || fail "the paste was not logged"

window_gone "$SETTINGS_TITLE" || fail "a settings window is shown before it was asked for"
run_program settings --settings
expect settings 0 "" ""
wait_for 20 "the settings window" window_shown "$SETTINGS_TITLE"
log_has "Remote request to open the settings window" || fail "the settings request was not logged"

run_program quit --quit
expect quit 0 "" ""
quit_status=0
wait "$DRIFTMARK_PID" || quit_status=$?
[ "$quit_status" -eq 0 ] || fail "Driftmark exited with $quit_status after --quit"
log_has "Remote request to quit" || fail "the quit was not logged"
run_program after_quit --list
expect after_quit 3 "" "driftmark-menubar: Driftmark is not running"
echo "PASS"
