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
