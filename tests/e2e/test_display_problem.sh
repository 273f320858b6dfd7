#!/usr/bin/env bash
# A DISPLAY that no X server answers, or that names no display at all, ends the program with status 1
# and one line that names the display, as a missing DISPLAY does; no crash, no advice to reinstall.
source "$(dirname "$0")/lib.sh"

# A display number that nothing on this machine serves.
unused=90
while [ -e "/tmp/.X11-unix/X$unused" ] || [ -e "/tmp/.X$unused-lock" ]; do unused=$((unused + 1)); done

for display in ":$unused" "garbage" ":$unused.7x" ""; do
  out="$E2E_HOME/start.out"
  status=0
  DISPLAY=$display timeout 30 "$DRIFTMARK" >"$out" 2>&1 || status=$?
  [ "$status" -eq 1 ] || { cat "$out" >&2; fail "DISPLAY='$display' ended the start with status $status"; }
  if [ -n "$display" ]; then
    grep -qF "driftmark-menubar: cannot open the X11 display \"$display\" named by DISPLAY" "$out" ||
      { cat "$out" >&2; fail "the message for DISPLAY='$display' does not name it"; }
  else
    grep -qF "driftmark-menubar: no X11 display (DISPLAY is not set)" "$out" ||
      { cat "$out" >&2; fail "the message without DISPLAY changed"; }
  fi
  ! grep -qi "reinstall" "$out" || { cat "$out" >&2; fail "DISPLAY='$display' gave Qt's advice to reinstall"; }
  [ "$(wc -l <"$out")" -eq 1 ] || { cat "$out" >&2; fail "DISPLAY='$display' gave more than one line"; }
done
[ ! -e "$PREFERENCES" ] || fail "a start without a display wrote preferences"
echo "PASS"
