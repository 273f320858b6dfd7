# shellcheck shell=bash
# Helpers of the settings window tests; sourced after lib.sh. The tests run with a private session bus
# (E2E_DESKTOP_OPTIONS="--session-bus ..."), on which the accessibility bus starts on demand: the
# controls are found by role and name through AT-SPI (atspi.py), then clicked and typed into with
# xdotool, as a user would.

# shellcheck disable=SC2034 # used by the tests that source this file
SETTINGS_TITLE='Settings driftmark.app'
# shellcheck disable=SC2034
ABOUT_TITLE='About Driftmark'
# AT-SPI comes with the system's Python; a python3 of its own earlier in PATH may not have it.
ATSPI_PYTHON=/usr/bin/python3
# Where the screenshots of the views go; the build sets it, by hand they go to the build tree beside
# the program.
SCREENSHOTS=${DRIFTMARK_SCREENSHOTS:-$(dirname "$DRIFTMARK")/../tests/e2e/screenshots}
SCREENSHOT_PREFIX=$(basename "$0" .sh)
mkdir -p "$SCREENSHOTS"

# The roles of the sidebar's rows, the colour swatches and links. Qt 6.4 gives every Qt Quick button the
# push button role, whatever role the QML asks for (a checkable one becomes a check box); the roles they
# stand for are taken as well.
# shellcheck disable=SC2034
ROW='page tab|push button'
# shellcheck disable=SC2034
SWATCH='radio button|check box|push button'
# shellcheck disable=SC2034
LINK='link|push button'

# Qt exposes its windows on the accessibility bus without waiting for a screen reader to ask.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] && [ "$DBUS_SESSION_BUS_ADDRESS" != disabled: ] ||
  fail "no session bus: run the settings tests with E2E_DESKTOP_OPTIONS=\"--session-bus ...\""

# atspi [OPTIONS] COMMAND ARGS...: see atspi.py.
atspi() {
  "$ATSPI_PYTHON" "$E2E_DIR/atspi.py" "$@"
}

# --- Windows ----------------------------------------------------------------------------------------

# The X window of the program's visible top-level window of the given title; nothing when there is none.
window_named() {
  local window
  for window in $(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); do
    [ "$(xdotool getwindowname "$window" 2>/dev/null)" = "$1" ] || continue
    xwininfo -id "$window" 2>/dev/null | grep -q 'Override Redirect State: no' || continue
    echo "$window"
    return 0
  done
}

settings_window() {
  window_named "$SETTINGS_TITLE"
}

window_shown() {
  [ -n "$(window_named "$1")" ]
}

window_gone() {
  [ -z "$(window_named "$1")" ]
}

# "WIDTH HEIGHT" of a window's client area.
window_size() {
  # shellcheck disable=SC2034 # X, Y, SCREEN and WINDOW are set by the eval, unused
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo "$WIDTH $HEIGHT"
}

window_size_is() {
  [ "$(window_size "$(window_named "$1")")" = "$2" ]
}

# wait_for_window_size TITLE "WIDTH HEIGHT": the window manager may still be placing a window that has
# just been mapped, so its size is waited for rather than read once.
wait_for_window_size() {
  local deadline=$((SECONDS + 10))
  until window_size_is "$1" "$2"; do
    [ $SECONDS -lt $deadline ] || fail "the window '$1' is $(window_size "$(window_named "$1")"), not $2"
    sleep 0.1
  done
}

# The settings window is shown, and its controls are on the accessibility bus.
wait_for_settings_window() {
  wait_for 20 "the settings window" window_shown "$SETTINGS_TITLE"
  atspi --timeout 20 --window "$SETTINGS_TITLE" center "push button" "Reset to Defaults" >/dev/null ||
    fail "the settings window's controls are not on the accessibility bus"
}

# --- The program ------------------------------------------------------------------------------------

# Starts Driftmark and waits for the icons of the given entries.
start_driftmark_for_settings() {
  start_driftmark
  local id
  for id in "$@"; do
    wait_for 20 "the tray icon of $id" icon_visible "$id"
  done
}

# choose_in_menu ID ENTRY: right-clicks the entry's icon and chooses one of its menu's entries: copy,
# edit, settings, about or quit, with the arrow keys and Return. The entry must not use Smart Paste
# (that adds a "Paste in" entry).
choose_in_menu() {
  local downs
  case "$2" in
    copy) downs=1 ;;
    edit) downs=2 ;;
    settings) downs=3 ;;
    about) downs=4 ;;
    quit) downs=5 ;;
    *) fail "no menu entry '$2'" ;;
  esac
  click_icon "$1" 3
  wait_for 10 "the context menu of $1" context_menu_shown
  local keys=()
  for ((; downs > 0; downs--)); do keys+=(Down); done
  xdotool key --delay 40 "${keys[@]}" Return
  wait_for 10 "the context menu to close" context_menu_gone
}

# Opens the settings window from the context menu of the entry's icon.
open_settings() {
  choose_in_menu "$1" settings
  wait_for_settings_window
}

# --- Controls ---------------------------------------------------------------------------------------

# control_center ROLE NAME: "X Y" of a control of Driftmark's windows. With several matches it is the
# last one, which is the one on the topmost sheet.
control_center() {
  atspi --last center "$1" "$2" || fail "no $1 '$2' on screen"
}

# click_control ROLE NAME: moves the pointer onto the control, a little within it, and clicks.
click_control() {
  local centre x y
  centre=$(control_center "$1" "$2") || exit 1
  read -r x y <<<"$centre"
  xdotool mousemove $((x - 2)) $((y - 2)) mousemove "$x" "$y" click 1
}

# The control's text (its name when it has no text of its own).
control_text() {
  atspi --last text "$1" "$2"
}

control_has_state() {
  atspi --last --timeout 2 state "$1" "$2" "$3"
}

# wait_for_control ROLE NAME: until such a control shows.
wait_for_control() {
  atspi --last --timeout 10 center "$1" "$2" >/dev/null || fail "no $1 '$2' showed"
}

# wait_for_control_gone ROLE NAME
wait_for_control_gone() {
  atspi --timeout 10 gone "$1" "$2" || fail "the $1 '$2' is still shown"
}

# type_text TEXT: types into the focused control; each line break is a press of Return.
type_text() {
  local lines line first=1
  mapfile -t lines <<<"$1"
  for line in "${lines[@]}"; do
    [ "$first" = 1 ] || xdotool key Return
    first=0
    [ -z "$line" ] || xdotool type --delay 15 -- "$line"
  done
}

# type_into ROLE NAME TEXT: clicks into the field, waits for it to take the focus, selects what it
# holds and types the text over it.
type_into() {
  click_control "$1" "$2"
  atspi --last wait-state "$1" "$2" focused || fail "the $1 '$2' did not take the focus"
  xdotool key ctrl+a
  type_text "$3"
}

# wait_for_text ROLE NAME TEXT: until the control's text is the given one.
wait_for_text() {
  local deadline=$((SECONDS + 10))
  until control_text_is "$1" "$2" "$3"; do
    [ $SECONDS -lt $deadline ] || fail "the $1 '$2' reads '$(control_text "$1" "$2" 2>/dev/null)', not '$3'"
    sleep 0.1
  done
}

control_text_is() {
  [ "$(control_text "$1" "$2" 2>/dev/null)" = "$3" ]
}

# --- The stored entries -----------------------------------------------------------------------------

# stored_eval EXPRESSION: the value of a Python expression over the stored entries: `items` is their
# list, `item(id)` the one of that id (None when there is none). Strings are printed as they are,
# anything else as JSON.
stored_eval() {
  stored_items | "$ATSPI_PYTHON" -c '
import json, sys
items = json.load(sys.stdin)
def item(id):
    return next((entry for entry in items if entry["id"] == id), None)
value = eval(sys.argv[1])
print(value if isinstance(value, str) else json.dumps(value))
' "$1"
}

stored_is() {
  [ "$(stored_eval "$1" 2>/dev/null)" = "$2" ]
}

# wait_for_stored SECONDS EXPRESSION EXPECTED: until the expression over the stored entries prints the
# expected value, e.g. wait_for_stored 10 'item("ID")["title"]' 'New title'.
wait_for_stored() {
  wait_for "$1" "the stored $2 to be $3 (it is $(stored_eval "$2" 2>/dev/null || echo unreadable))" \
    stored_is "$2" "$3"
}

# The stored value of a preferences key, as its JSON value object ({"double": 800.0}).
preference_value() {
  "$ATSPI_PYTHON" -c '
import json, sys
with open(sys.argv[1]) as file:
    value = json.load(file).get(sys.argv[2])
print(json.dumps(value) if value is not None else "")
' "$PREFERENCES" "$1"
}

# The number a preferences key holds, as an integer.
preference_number() {
  "$ATSPI_PYTHON" -c '
import json, sys
with open(sys.argv[1]) as file:
    value = json.load(file).get(sys.argv[2])
number = value and (value.get("double") if "double" in value else value.get("integer"))
print(round(number) if number is not None else "")
' "$PREFERENCES" "$1"
}

# --- Screenshots ------------------------------------------------------------------------------------

# screenshot TITLE NAME: a picture of the window of the given title as it is now, in
# $SCREENSHOTS/<test>-NAME.png. It waits until two pictures in a row are the same, so that no
# half-drawn frame is kept.
screenshot() {
  local window file previous
  window=$(window_named "$1")
  [ -n "$window" ] || fail "no window '$1' to take a picture of"
  file="$SCREENSHOTS/$SCREENSHOT_PREFIX-$2.png"
  previous="$E2E_HOME/previous-screenshot.rgb"
  import -window "$window" rgb:"$previous" 2>/dev/null || fail "no picture of '$1'"
  local tries
  for ((tries = 0; tries < 20; tries++)); do
    sleep 0.1
    import -window "$window" rgb:"$file.rgb" 2>/dev/null || fail "no picture of '$1'"
    cmp -s "$file.rgb" "$previous" && break
    mv "$file.rgb" "$previous"
  done
  rm -f "$file.rgb"
  import -window "$window" "$file" 2>/dev/null || fail "no picture of '$1'"
  echo "screenshot: $file"
}

# --- Controls of one window -------------------------------------------------------------------------

# click_window_control TITLE ROLE NAME: clicks a control of the window of that title only, for a control
# that more than one of the program's windows show (the website link of the about window and pane).
click_window_control() {
  local centre x y
  centre=$(atspi --window "$1" --last center "$2" "$3") || fail "no $2 '$3' in the window '$1'"
  read -r x y <<<"$centre"
  xdotool mousemove $((x - 2)) $((y - 2)) mousemove "$x" "$y" click 1
}

# --- Opening URLs -----------------------------------------------------------------------------------

# Puts a stand-in xdg-open first on PATH, for the program started after this: it opens nothing and
# appends its arguments, one line per call, to $OPENED_URLS.
stand_in_xdg_open() {
  OPENED_URLS="$E2E_HOME/opened-urls"
  mkdir -p "$E2E_HOME/bin"
  cat >"$E2E_HOME/bin/xdg-open" <<STAND_IN
#!/bin/sh
printf '%s\n' "\$*" >>"$OPENED_URLS"
STAND_IN
  chmod +x "$E2E_HOME/bin/xdg-open"
  : >"$OPENED_URLS"
  export PATH="$E2E_HOME/bin:$PATH"
}

# How many times the stand-in xdg-open was asked for exactly this URL.
opened_count() {
  grep -cxF -- "$1" "$OPENED_URLS" || true
}

opened_at_least() {
  [ "$(opened_count "$1")" -ge "$2" ]
}

# --- Pixels -----------------------------------------------------------------------------------------

# pixel_luminance FILE X Y: the luminance (0 black to 1 white) of one pixel of a picture.
pixel_luminance() {
  convert "$1" -crop "1x1+$2+$3" +repage -format '%[fx:luminance]' info:
}

# --- Descriptions -----------------------------------------------------------------------------------

# control_description ROLE NAME: the accessible description of a control (the last match, as
# control_text does); a shortcut recorder describes itself with its shortcut or its placeholder.
control_description() {
  "$ATSPI_PYTHON" -c '
import argparse, sys
sys.path.insert(0, sys.argv[1])
import atspi
options = argparse.Namespace(app="driftmark-menubar", window=None, timeout=10.0, any=False, index=None, last=True)
accessible = atspi.find(options, sys.argv[2], sys.argv[3])
print(accessible.description or "")
' "$E2E_DIR" "$1" "$2"
}

control_description_is() {
  [ "$(control_description "$1" "$2" 2>/dev/null)" = "$3" ]
}

# wait_for_description ROLE NAME DESCRIPTION: until the control's description is the given one.
wait_for_description() {
  local deadline=$((SECONDS + 10))
  until control_description_is "$1" "$2" "$3"; do
    [ $SECONDS -lt $deadline ] ||
      fail "the $1 '$2' is described as '$(control_description "$1" "$2" 2>/dev/null)', not '$3'"
    sleep 0.1
  done
}

# --- Stored shortcuts -------------------------------------------------------------------------------

# stored_shortcut_of NAME: "KEY_CODE MODIFIERS" of the shortcut stored under KeyboardShortcuts_NAME,
# nothing when there is none.
stored_shortcut_of() {
  "$ATSPI_PYTHON" -c '
import json, sys
with open(sys.argv[1]) as file:
    value = json.load(file).get("KeyboardShortcuts_" + sys.argv[2])
if value is not None:
    shortcut = json.loads(value["string"])
    print(shortcut["carbonKeyCode"], shortcut["carbonModifiers"])
' "$PREFERENCES" "$1"
}

stored_shortcut_is() {
  [ "$(stored_shortcut_of "$1" 2>/dev/null)" = "$2" ]
}

# wait_for_stored_shortcut NAME "KEY_CODE MODIFIERS": until that shortcut is stored for the name ("" for
# none).
wait_for_stored_shortcut() {
  local deadline=$((SECONDS + 10))
  until stored_shortcut_is "$1" "$2"; do
    [ $SECONDS -lt $deadline ] ||
      fail "the stored shortcut of $1 is '$(stored_shortcut_of "$1" 2>/dev/null)', not '$2'"
    sleep 0.05
  done
}

# --- The keyboard -----------------------------------------------------------------------------------

# "ROLE<TAB>NAME" of the control with the keyboard focus.
focused_control() {
  atspi --timeout 2 focused 2>/dev/null
}

# press_until_focused NAME KEY [MAX]: presses the key (Tab, shift+Tab) until the control of that name has
# the focus, at most MAX times (default 40); after each press it waits for the focus to move on.
press_until_focused() {
  local name=$1 key=$2 max=${3:-40} before after deadline presses
  for ((presses = 0; presses <= max; presses++)); do
    before=$(focused_control)
    [ "$(cut -f2 <<<"$before")" = "$name" ] && return 0
    [ "$presses" -lt "$max" ] || break
    xdotool key "$key"
    deadline=$((SECONDS + 3))
    after=$(focused_control)
    while [ "$after" = "$before" ] && [ $SECONDS -lt $deadline ]; do
      sleep 0.05
      after=$(focused_control)
    done
  done
  fail "$max presses of $key did not bring the focus to '$name' (it is on '$(focused_control)')"
}
