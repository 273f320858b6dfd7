# Helpers of the global shortcut tests; sourced after lib.sh.

# Modifier bits and key codes of the stored shortcut form.
MOD_COMMAND=256
MOD_SHIFT=512
MOD_OPTION=2048
MOD_CONTROL=4096
KEY_U=32
KEY_P=35
KEY_J=38
KEY_K=40

# stored_shortcut NAME KEY_CODE MODIFIERS: the preferences member holding the shortcut of a name, for
# seed_preferences.
stored_shortcut() {
  local value
  value=$(printf '{\\"carbonKeyCode\\":%d,\\"carbonModifiers\\":%d}' "$2" "$3")
  printf '"KeyboardShortcuts_%s": {"string": "%s"}' "$1" "$value"
}

# The preferences file, without blanks and line breaks, contains the given text.
preferences_contain() {
  tr -d ' \n' <"$PREFERENCES" | grep -qF -- "$1"
}

# Starts the program with its standard output and standard error in separate files; $DRIFTMARK_OUT
# is the standard output.
start_driftmark_with_separate_streams() {
  DRIFTMARK_OUT="$E2E_HOME/driftmark.stdout"
  DRIFTMARK_ERR="$E2E_HOME/driftmark.stderr"
  "$DRIFTMARK" >"$DRIFTMARK_OUT" 2>"$DRIFTMARK_ERR" &
  DRIFTMARK_PID=$!
  E2E_PIDS+=("$DRIFTMARK_PID")
}

wait_for_icons() {
  local id
  for id in "$@"; do
    wait_for 20 "the tray icon of $id" icon_visible "$id"
  done
}

# The clipboard's text equals the file's bytes exactly.
clipboard_holds_file() {
  timeout 5 xclip -selection clipboard -t UTF8_STRING -o 2>/dev/null | cmp -s - "$1"
}

# Starts the text window writing its text to the given file and waits until it has the focus.
start_text_window() {
  TEXT_WINDOW_FILE=$1
  TEXT_WINDOW_TEXT=""
  start_target "$TEXT_WINDOW_FILE"
}

# The text window's whole text equals the argument (trailing line breaks included).
text_window_reads() {
  local text
  text=$(cat "$TEXT_WINDOW_FILE" 2>/dev/null && printf .)
  [ "${text%.}" = "$1" ]
}

# type_and_expect ADDED KEY...: presses the keys and waits until the text window's text has grown by
# exactly ADDED.
type_and_expect() {
  local added=$1
  shift
  xdotool key "$@"
  TEXT_WINDOW_TEXT+=$added
  wait_for 10 "the text window to read '$TEXT_WINDOW_TEXT'" text_window_reads "$TEXT_WINDOW_TEXT"
}

# --- The recorder field of the settings window (with settings_helpers.sh) -----------------------------

# The recorder field. Its text is the shortcut; its description says whether it records, and how to go
# on.
RECORDER="Keyboard Shortcut"
RECORDER_IDLE="Record Shortcut. Space records."
RECORDER_RECORDING="Press Shortcut. Escape cancels."

recorder_is_idle() {
  control_description_is text "$RECORDER" "$RECORDER_IDLE"
}

recorder_is_recording() {
  control_description_is text "$RECORDER" "$RECORDER_RECORDING"
}

wait_for_recorder_idle() {
  wait_for_description text "$RECORDER" "$RECORDER_IDLE"
}

wait_for_recorder_recording() {
  wait_for_description text "$RECORDER" "$RECORDER_RECORDING"
}

# Clicks the recorder and waits until it records.
start_recording() {
  click_control text "$RECORDER"
  wait_for_recorder_recording
}

# Presses Tab until the recorder has the keyboard focus.
tab_onto_recorder() {
  local tabs
  for ((tabs = 0; tabs < 25; tabs++)); do
    xdotool key Tab
    atspi --last --timeout 1 wait-state text "$RECORDER" focused 2>/dev/null && return 0
  done
  fail "Tab never reached the recorder"
}

settings_window_active() {
  [ "$(xdotool getactivewindow 2>/dev/null)" = "$(settings_window)" ]
}

# A picture of the whole screen as it is now, in the given file.
screen_picture() {
  import -window root "$1" 2>/dev/null || fail "no picture of the screen"
}

# field_shows_something ROLE NAME: something is drawn inside the control (its border left out): the
# picture of its inside is not of one colour.
field_shows_something() {
  local x y width height spread
  read -r x y width height < <(atspi --last extents "$1" "$2") || fail "no $1 '$2' on screen"
  screen_picture "$E2E_HOME/field.png"
  spread=$(convert "$E2E_HOME/field.png" -crop "$((width - 16))x$((height - 10))+$((x + 8))+$((y + 5))" +repage \
    -colorspace gray -format '%[fx:standard_deviation]' info:)
  awk -v spread="$spread" 'BEGIN { exit !(spread > 0.02) }'
}

# focus_ring_shown ROLE NAME: the two rows of pixels just above the control are mostly of the accent
# colour (blue: the desktop's highlight), as the focus ring draws them.
focus_ring_shown() {
  local x y width height blue
  read -r x y width height < <(atspi --last extents "$1" "$2") || fail "no $1 '$2' on screen"
  screen_picture "$E2E_HOME/ring.png"
  blue=$(convert "$E2E_HOME/ring.png" -crop "$((width - 16))x2+$((x + 8))+$((y - 2))" +repage \
    -fx '(b - r) > 0.2' -format '%[fx:mean]' info:)
  awk -v blue="$blue" 'BEGIN { exit !(blue > 0.5) }'
}

# The first-entry shortcut is stored as deliberately cleared: the boolean false.
legacy_stored_as_cleared() {
  [ "$(preference_value KeyboardShortcuts_copyToClipboard)" = '{"bool": false}' ]
}

# --- A panel's menu of an item (with sni_helpers.sh) -------------------------------------------------

# How many labels the column at the right end of the panel's open menu holds, where menus show their
# entries' shortcuts: runs of at least four rows of pixels darker than the menu's background (a
# separator is a single row).
shortcut_labels_in_menu() {
  local window x y width height
  window=$(panel_menu_window)
  [ -n "$window" ] || fail "no menu of the panel's on the screen"
  x=$(xwininfo -id "$window" | sed -n 's/.*Absolute upper-left X: *//p')
  y=$(xwininfo -id "$window" | sed -n 's/.*Absolute upper-left Y: *//p')
  width=$(xwininfo -id "$window" | sed -n 's/.*Width: *//p')
  height=$(xwininfo -id "$window" | sed -n 's/.*Height: *//p')
  import -window root "$E2E_HOME/menu.png" 2>/dev/null || fail "no picture of the screen"
  convert "$E2E_HOME/menu.png" -crop "56x$((height - 4))+$((x + width - 56))+$((y + 2))" +repage -colorspace gray \
    -scale "1x$((height - 4))!" -depth 8 txt:- |
    awk -F'[(),: ]+' 'NR > 1 { shade[n++] = $4; if ($4 > background) background = $4 }
      END {
        for (i = 0; i < n; i++) {
          if (shade[i] < background - 1) { run++ } else { if (run >= 4) labels++; run = 0 }
        }
        if (run >= 4) labels++
        print labels + 0
      }'
}

# The panel's menu of the first disc shows two shortcut labels, those of Settings and Quit; a picture of
# it is kept.
menu_shows_the_shortcuts_of_settings_and_quit() {
  local labels
  click_disc 0 3
  wait_for 10 "the panel's menu of entry 0" panel_menu_shown
  sleep 0.5
  take_shot
  keep_shot menu-shortcuts
  labels=$(shortcut_labels_in_menu)
  [ "$labels" = 2 ] || fail "the panel's menu shows $labels shortcuts, not those of Settings and Quit"
  xdotool key Escape
  wait_for 10 "the menu to close" panel_menu_gone
}
