#!/usr/bin/env bash
# Smart Paste on a private headless KWin (Plasma 5.27), which offers no virtual keyboards but its own fake
# input: Driftmark, a native Wayland client there, says nothing at start-up of keystrokes it lacks, and
# `driftmark-menubar --paste 1` types Return and Control+V into the focused native Wayland window, which
# then holds a new line and the entry's text; the earlier clipboard's text is back afterwards.
set -euo pipefail

CLIPBOARD_DRIVER=${1:?usage: $0 CLIPBOARD_DRIVER}
BIN_DIR=$(cd "$(dirname "$CLIPBOARD_DRIVER")" && pwd)
: "${DRIFTMARK_BINARY:=$BIN_DIR/../../src/driftmark-menubar}"
if [ -z "${KWIN_DESKTOP_LOGS:-}" ]; then
  exec "$(dirname "$0")/../../../scripts/with-kwin-desktop" bash "$0" "$@"
fi
for tool in wl-copy wl-paste; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing; run scripts/install-deps" >&2; exit 1; }
done
# The X11 tests' helpers, on this desktop rather than one of their own.
export DRIFTMARK_E2E_DESKTOP=1
source "$(dirname "$0")/../lib.sh" "$DRIFTMARK_BINARY" "$BIN_DIR/driftmark_e2e_target"
KEYS=$BIN_DIR/driftmark_e2e_kwin_keys
KEY_TARGET=$BIN_DIR/driftmark_e2e_wayland_key_target
source "$(dirname "$0")/keys_helpers.sh"
readonly KEY_LEFTSHIFT=42

# A failure shows what the window saw and what KWin said, too.
eval "lib_$(declare -f fail)"
fail() {
  show_key_target_window
  echo "--- kwin.log:" >&2
  tail -n 30 "$KWIN_DESKTOP_LOGS/kwin.log" >&2 || true
  lib_fail "$@"
}

clipboard_text_is() {
  # KWin tells a data-control client nothing while the clipboard is empty, and wl-paste would wait for ever.
  [ "$(timeout 5 wl-paste --no-newline 2>/dev/null)" = "$1" ]
}

# The window's key presses without those of the modifier keys themselves: fake input presses Control as a
# key of its own around V.
window_keys() {
  grep '^key ' "$E2E_HOME/window.keys" | grep -vE '^key (Shift|Control) ' || true
}
window_text_is() {
  [ "$(cat "$E2E_HOME/window.text" 2>/dev/null && printf .)" = "$1." ]
}
window_heard_shift() {
  grep -q '^key Shift ' "$E2E_HOME/window.keys"
}

# One Smart Paste entry with a new line first.
entry=6A1B2C3D-0000-4000-8000-000000000011
seed_preferences "[$(item_json "$entry" "kwin paste" "pasted on kwin" true true 0)]"

# Another program's text on the clipboard first.
printf 'earlier text' | wl-copy --foreground >/dev/null 2>&1 &
E2E_PIDS+=($!)
wait_for 10 "the earlier text on the clipboard" clipboard_text_is "earlier text"

start_driftmark
# KWin lists no windows to other programs, so the start-up notice names that lack, and that one only.
wait_for 20 "Driftmark's notice about the compositor" grep -qF "No list of windows" "$DRIFTMARK_OUT"
! grep -qF "No virtual keyboard" "$DRIFTMARK_OUT" || fail "Driftmark says it cannot type on KWin"

# A native Wayland window takes the focus; a Shift tapped on KWin's keyboard reaching it shows that it has.
QT_QPA_PLATFORM=wayland "$KEY_TARGET" "$E2E_HOME/window.text" >"$E2E_HOME/window.keys" 2>"$E2E_HOME/window.err" &
E2E_PIDS+=($!)
focused() {
  "$KEYS" "$KEY_LEFTSHIFT" && window_heard_shift
}
wait_for 20 "KWin to focus the window" focused

# The remote command Smart Pastes into the focused window: Return, then the paste chord.
"$DRIFTMARK" --paste 1 >"$E2E_HOME/paste.out" 2>&1 || fail "--paste 1 failed: $(cat "$E2E_HOME/paste.out")"
wait_for 20 "the paste in the window" window_text_is $'\npasted on kwin'
[ "$(window_keys | tr '\n' '|')" = "key Return mods=none|key V mods=ctrl|" ] ||
  fail "the window's keys: $(window_keys | tr '\n' '|')"
grep -q '^key Control mods=ctrl$' "$E2E_HOME/window.keys" || fail "Control went down as no key of its own"
wait_for 20 "the earlier text back on the clipboard" clipboard_text_is "earlier text"
wait_for 10 "the paste in Driftmark's log" log_has "pasteToActiveApp called for item: 'kwin paste'"
! log_has "Cannot paste" || fail "Driftmark found it could not paste"

kill -0 "$DRIFTMARK_PID" || fail "the program did not survive"
stop_driftmark
echo "PASS"
