#!/usr/bin/env bash
# A DISPLAY that no X server answers, or that names no display at all, ends the program with status 1
# and one line that names the display, as a missing DISPLAY does; no crash, no advice to reinstall. The
# same for a Wayland compositor that does not answer or is asked for where there is none.
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
# A Wayland session whose compositor does not answer, with no X display to fall back on; Wayland asked for
# where there is none.
expect_problem() {
  local out="$E2E_HOME/start.out" status=0
  env "${@:2}" timeout 30 "$DRIFTMARK" ${DISPLAY_SERVER_OPTION:+"$DISPLAY_SERVER_OPTION"} >"$out" 2>&1 || status=$?
  [ "$status" -eq 1 ] || { cat "$out" >&2; fail "'${*:2}' ended the start with status $status"; }
  grep -qF "driftmark-menubar: $1" "$out" || { cat "$out" >&2; fail "the message for '${*:2}' is not '$1'"; }
  [ "$(wc -l <"$out")" -eq 1 ] || { cat "$out" >&2; fail "'${*:2}' gave more than one line"; }
}
expect_problem 'cannot reach the Wayland compositor "nowhere-e2e" named by WAYLAND_DISPLAY' \
  DISPLAY= WAYLAND_DISPLAY=nowhere-e2e
DISPLAY_SERVER_OPTION=--display-server=wayland expect_problem 'no Wayland compositor (WAYLAND_DISPLAY is not set)' \
  WAYLAND_DISPLAY=
expect_problem 'no Wayland compositor (WAYLAND_DISPLAY is not set)' WAYLAND_DISPLAY= DRIFTMARK_DISPLAY_SERVER=wayland
# An unknown choice is said, and the session chooses: here the missing X display is the problem.
out="$E2E_HOME/start.out"
DISPLAY= WAYLAND_DISPLAY= DRIFTMARK_DISPLAY_SERVER=mir timeout 30 "$DRIFTMARK" >"$out" 2>&1 || true
grep -qF 'DRIFTMARK_DISPLAY_SERVER must be "x11" or "wayland", not "mir"' "$out" || { cat "$out" >&2; fail "no word on the unknown display server"; }
grep -qF "driftmark-menubar: no X11 display (DISPLAY is not set)" "$out" || { cat "$out" >&2; fail "no word on the missing X display"; }
[ ! -e "$PREFERENCES" ] || fail "a start without a display wrote preferences"
echo "PASS"
