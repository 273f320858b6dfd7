#!/usr/bin/env bash
# --list reads the running Driftmark's answer only in the form Driftmark writes it, (id, title, position,
# shortcut) for each entry: whatever else owns the bus name and answers with data of another type gets a
# line on standard error and exit status 1 instead of a crash or an empty list. The stand-in for the running
# Driftmark answers with the right type first, to show that it is heard.
E2E_DESKTOP_OPTIONS="--session-bus --no-tray"
source "$(dirname "$0")/lib.sh"

PYTHON=/usr/bin/python3

# answer_list SIGNATURE VALUE: the list's answer from a stand-in that owns Driftmark's bus name; --list's
# status is then in $STATUS, its standard output and error in $E2E_HOME/list.out and list.err.
answer_list() {
  "$PYTHON" "$E2E_DIR/list_answerer.py" "$1" "$2" >"$E2E_HOME/answerer.out" 2>"$E2E_HOME/answerer.err" &
  local answerer=$!
  E2E_PIDS+=("$answerer")
  wait_for 10 "the stand-in to own the name" grep -qx ready "$E2E_HOME/answerer.out"
  STATUS=0
  timeout 60 env -u DISPLAY "$DRIFTMARK" --list >"$E2E_HOME/list.out" 2>"$E2E_HOME/list.err" || STATUS=$?
  grep -qx listed "$E2E_HOME/answerer.out" || fail "the stand-in was not asked for the list"
  kill "$answerer"
  wait "$answerer" 2>/dev/null || true
}

answer_list 'a(ssis)' '[("0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0", "Greeting", 1, "⌃⇧U")]'
[ "$STATUS" -eq 0 ] || fail "a list of the right type was not taken (status $STATUS): $(cat "$E2E_HOME/list.err")"
[ "$(cat "$E2E_HOME/list.out")" = "$(printf '1\t0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0\tGreeting\t⌃⇧U')" ] ||
  fail "the list of the right type came out as: $(cat "$E2E_HOME/list.out")"

# Structures of two strings, which Qt would read as four fields; and strings, no structures at all.
for answer in 'a(ss)|[("0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0", "Greeting")]' 'as|["Greeting"]'; do
  signature=${answer%%|*}
  answer_list "$signature" "${answer#*|}"
  [ "$STATUS" -eq 1 ] || fail "a list of type $signature ended with status $STATUS, not 1: $(cat "$E2E_HOME/list.err")"
  [ ! -s "$E2E_HOME/list.out" ] || fail "a list of type $signature printed: $(cat "$E2E_HOME/list.out")"
  [ "$(cat "$E2E_HOME/list.err")" = \
    "driftmark-menubar: Driftmark answered the list with data of the wrong type ($signature instead of a(ssis))" ] ||
    fail "a list of type $signature was reported as: $(cat "$E2E_HOME/list.err")"
done
echo "PASS"
