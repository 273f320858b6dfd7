# shellcheck shell=bash
# The keys driver of the tests that run Driftmark on sway; sourced after lib.sh, with $KEYS the driver.

# start_keys: the driver, on the offscreen platform (it shows no window), with a keyboard of its own that
# stands for the user's. The headless seat has none, and a window hears keys only from a seat that had a
# keyboard when it took the focus; the one key tapped on it goes to no window.
start_keys() {
  mkfifo "$E2E_HOME/keys.in" "$E2E_HOME/keys.out"
  QT_QPA_PLATFORM=offscreen "$KEYS" <"$E2E_HOME/keys.in" >"$E2E_HOME/keys.out" 2>"$E2E_HOME/keys.err" &
  E2E_PIDS+=($!)
  exec {keys_in}>"$E2E_HOME/keys.in" {keys_out}<"$E2E_HOME/keys.out"
  ask_keys "user-tap 56"
}

# ask_keys COMMAND: one command of the driver (see keys_driver.cpp), which must answer ok.
ask_keys() {
  echo "$1" >&"$keys_in"
  read -r -t 20 answer <&"$keys_out" || fail "the keys driver did not answer: $(cat "$E2E_HOME/keys.err")"
  [ "$answer" = ok ] || fail "the keys driver answered '$answer' to '$1'"
}

# show_key_target_window: what the key target window saw (its keys, its errors, its text), on standard
# error for a failure's report; nothing before the window has started.
show_key_target_window() {
  [ -f "$E2E_HOME/window.keys" ] || return 0
  echo "--- the window's keys:" >&2
  cat "$E2E_HOME/window.keys" "$E2E_HOME/window.err" >&2
  echo "--- the window's text: '$(cat "$E2E_HOME/window.text" 2>/dev/null)'" >&2
}
