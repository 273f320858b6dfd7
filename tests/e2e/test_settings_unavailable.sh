#!/usr/bin/env bash
# Windows that cannot be built are said so, not dropped. First a copy of the program whose Qt lacks the
# QtQuick.Templates module, as where its package is not installed (a qt.conf beside the copy gives it a
# QML folder with every module of this machine's but that one): `--settings` exits 1 with the reason on one
# line of standard error, a second start exits 1 with it, the menu's Settings…, Edit… and About… each show a
# notice naming the window and the reason instead of nothing, and every failure is in the daily log. Then
# a copy whose settings library beside it is broken: the same, with the loader's reason.
E2E_DESKTOP_OPTIONS="--session-bus --size 1280x1000"
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/settings_helpers.sh"

NOTICE_TITLE=Driftmark
first=A1000000-0000-4000-8000-0000000000A1
seed_preferences "[$(item_json "$first" 'First' 'first entry text' false false 0)]"

# settings_refused PATTERN: `driftmark-menubar --settings` exits 1 and says why on one line of standard
# error, matching the extended regular expression; no settings window shows.
settings_refused() {
  local status=0
  "$DRIFTMARK" --settings >"$E2E_HOME/settings.out" 2>"$E2E_HOME/settings.err" || status=$?
  [ "$status" -eq 1 ] || fail "--settings exited with $status: $(cat "$E2E_HOME/settings.out" "$E2E_HOME/settings.err")"
  [ ! -s "$E2E_HOME/settings.out" ] || fail "--settings printed on standard output: $(cat "$E2E_HOME/settings.out")"
  [ "$(wc -l <"$E2E_HOME/settings.err")" -eq 1 ] || fail "--settings printed more than one line: $(cat "$E2E_HOME/settings.err")"
  grep -qE "^driftmark-menubar: cannot open the settings window: $1" "$E2E_HOME/settings.err" ||
    fail "--settings said: $(cat "$E2E_HOME/settings.err")"
  window_gone "$SETTINGS_TITLE" || fail "a settings window showed after all"
}

# The reason the daily log gives for the last window of that name that did not open.
logged_reason() {
  today_log | sed -n "s/.*ERROR: cannot open the $1: //p" | tail -n 1
}

# notice_for MENU_ENTRY WINDOW: that menu entry shows a notice naming the window and the logged reason,
# which OK closes.
notice_for() {
  local count reason
  count=$(log_count "ERROR: cannot open the $2:")
  choose_in_menu "$first" "$1"
  wait_for_log 10 "ERROR: cannot open the $2:" $((count + 1))
  reason=$(logged_reason "$2")
  wait_for 20 "the notice after $1" window_shown "$NOTICE_TITLE"
  atspi --timeout 10 --window "$NOTICE_TITLE" center label "Driftmark cannot open its $2." >/dev/null ||
    fail "the notice after $1 does not name the $2"
  atspi --timeout 10 --window "$NOTICE_TITLE" center label "$reason" >/dev/null ||
    fail "the notice after $1 does not give the reason: $reason"
  window_gone "$SETTINGS_TITLE" || fail "a settings window showed after $1"
  window_gone "$ABOUT_TITLE" || fail "an about window showed after $1"
  click_window_control "$NOTICE_TITLE" "push button" OK
  wait_for 10 "the notice to close" window_gone "$NOTICE_TITLE"
}

# copy_program FOLDER: the program in a folder of its own, which it looks in first for its settings library.
copy_program() {
  mkdir -p "$1"
  cp "$DRIFTMARK" "$1/driftmark-menubar"
  DRIFTMARK="$1/driftmark-menubar"
}
BUILT_DIR=$(dirname "$DRIFTMARK")

# --- A QML module that is not installed -------------------------------------------------------------
QT_QML=$(/usr/lib/qt6/bin/qtpaths6 --query QT_INSTALL_QML)
QT_PLUGINS=$(/usr/lib/qt6/bin/qtpaths6 --query QT_INSTALL_PLUGINS)
[ -d "$QT_QML/QtQuick/Templates" ] || fail "this machine has no QtQuick.Templates to leave out"
qml="$E2E_HOME/qml"
mkdir -p "$qml/QtQuick"
for entry in "$QT_QML"/*; do [ "$(basename "$entry")" = QtQuick ] || ln -s "$entry" "$qml/"; done
for entry in "$QT_QML"/QtQuick/*; do [ "$(basename "$entry")" = Templates ] || ln -s "$entry" "$qml/QtQuick/"; done
copy_program "$E2E_HOME/no-templates"
ln -s "$BUILT_DIR/libdriftmark-settings.so" "$E2E_HOME/no-templates/"
printf '[Paths]\nPrefix=/usr\nPlugins=%s\nQmlImports=%s\n' "$QT_PLUGINS" "$qml" >"$E2E_HOME/no-templates/qt.conf"
start_driftmark_for_settings "$first"

settings_refused '.*module "QtQuick\.Templates" plugin "qtquicktemplates2plugin" not found'
wait_for_log 10 "ERROR: cannot open the settings window:"
reason=$(logged_reason "settings window")
grep -qxF "driftmark-menubar: cannot open the settings window: $reason" "$E2E_HOME/settings.err" ||
  fail "--settings and the log give different reasons: $(cat "$E2E_HOME/settings.err") / $reason"

# A second start asks the running one for its settings window and fails with why there is none.
status=0
timeout 60 "$DRIFTMARK" >"$E2E_HOME/second.out" 2>"$E2E_HOME/second.err" || status=$?
[ "$status" = 1 ] || fail "the second start exited with $status, not 1"
grep -qxF "Driftmark is already running, but it cannot open the settings window: $reason" "$E2E_HOME/second.err" ||
  fail "the second start said: $(cat "$E2E_HOME/second.out" "$E2E_HOME/second.err")"

notice_for settings "settings window"
notice_for edit "settings window"
notice_for about "about window"
stop_driftmark

# --- A broken settings library ----------------------------------------------------------------------
# The copy's library is cut short, as a failed copy leaves it.
copy_program "$E2E_HOME/broken"
head -c 4096 "$BUILT_DIR/libdriftmark-settings.so" >"$E2E_HOME/broken/libdriftmark-settings.so"
start_driftmark_for_settings "$first"
settings_refused "the settings library cannot be loaded: .*libdriftmark-settings\.so"
notice_for about "about window"
[[ $(logged_reason "about window") == "the settings library cannot be loaded: "* ]] ||
  fail "the log gives another reason for the about window: $(logged_reason "about window")"
stop_driftmark
echo "PASS"
