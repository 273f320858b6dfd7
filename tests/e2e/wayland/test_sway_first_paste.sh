#!/usr/bin/env bash
# The first Smart Paste after start-up on a seat with no keyboard of its own (sway headless, as a desktop
# whose only keyboard is Driftmark's): a native Wayland window that opens after Driftmark gets the whole
# paste chord, and so the entry's text. A window reads keys only from a seat that had a keyboard when it
# took the focus, so Driftmark's keyboard must be on the seat, with its keymap, before the first paste.
set -euo pipefail

CLIPBOARD_DRIVER=${1:?usage: $0 CLIPBOARD_DRIVER}
BIN_DIR=$(cd "$(dirname "$CLIPBOARD_DRIVER")" && pwd)
: "${DRIFTMARK_BINARY:=$BIN_DIR/../../src/driftmark-menubar}"
if [ -z "${WAYLAND_COMPOSITOR_PID:-}" ]; then
  exec "$(dirname "$0")/../../../scripts/with-wayland-desktop" --session-bus bash "$0" "$@"
fi
for tool in wl-paste swaymsg jq; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing; run scripts/install-deps" >&2; exit 1; }
done
# The X11 tests' helpers, on this desktop rather than one of their own.
export DRIFTMARK_E2E_DESKTOP=1
source "$(dirname "$0")/../lib.sh" "$DRIFTMARK_BINARY" "$BIN_DIR/driftmark_e2e_target"
KEY_TARGET=$BIN_DIR/driftmark_e2e_wayland_key_target
source "$(dirname "$0")/keys_helpers.sh"

# A failure says what the window saw, too.
eval "lib_$(declare -f fail)"
fail() {
  show_key_target_window
  lib_fail "$@"
}

focused_is() {
  [ "$(swaymsg -t get_tree | jq -r '.. | objects | select(.focused) | .name')" = "$1" ]
}
window_text_is() {
  [ "$(cat "$E2E_HOME/window.text" 2>/dev/null && printf .)" = "$1." ]
}
answers() {
  "$DRIFTMARK" --list
}

seed_preferences "[$(item_json 0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0 "first" "the first paste" true false 0)]"
start_driftmark
wait_for 30 "Driftmark to answer on the session bus" answers

# A window opens after Driftmark and takes the focus; nobody has typed on this seat yet.
QT_QPA_PLATFORM=wayland "$KEY_TARGET" "$E2E_HOME/window.text" >"$E2E_HOME/window.keys" 2>"$E2E_HOME/window.err" &
E2E_PIDS+=($!)
wait_for 20 "sway to focus the window" focused_is driftmark-e2e-key-target

"$DRIFTMARK" --paste 1 >"$E2E_HOME/paste.out" 2>&1 || fail "--paste 1 failed: $(cat "$E2E_HOME/paste.out")"
wait_for 20 "the first paste in the window" window_text_is "the first paste"
[ "$(grep '^key ' "$E2E_HOME/window.keys" | head -n 1)" = "key V mods=ctrl" ] ||
  fail "the window's first key: $(grep '^key ' "$E2E_HOME/window.keys" | head -n 1)"

kill -0 "$DRIFTMARK_PID" || fail "the program did not survive"
stop_driftmark
echo "PASS"
