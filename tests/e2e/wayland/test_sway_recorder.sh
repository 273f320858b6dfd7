#!/usr/bin/env bash
# The settings window's shortcut recorder with Driftmark a native Wayland client on a private headless
# sway: the key events come from the compositor's keyboard rather than from X, the hot keys are taken by
# no one (sway's portal offers no global shortcuts; no combination is refused), and the recorder stores
# the key by its position and the modifiers held. The field is found through AT-SPI, clicked with
# a virtual pointer, and the chord typed on a virtual keyboard.
set -euo pipefail

CLIPBOARD_DRIVER=${1:?usage: $0 CLIPBOARD_DRIVER}
BIN_DIR=$(cd "$(dirname "$CLIPBOARD_DRIVER")" && pwd)
: "${DRIFTMARK_BINARY:=$BIN_DIR/../../src/driftmark-menubar}"
if [ -z "${WAYLAND_COMPOSITOR_PID:-}" ]; then
  exec "$(dirname "$0")/../../../scripts/with-wayland-desktop" --xwayland --bar waybar bash "$0" "$@"
fi
command -v jq >/dev/null || { echo "FAIL: jq is missing; run scripts/install-deps" >&2; exit 1; }
export DRIFTMARK_E2E_DESKTOP=1
source "$(dirname "$0")/../lib.sh" "$DRIFTMARK_BINARY" "$BIN_DIR/driftmark_e2e_target"
source "$E2E_DIR/settings_helpers.sh"
source "$(dirname "$0")/keys_helpers.sh"
POINTER=$BIN_DIR/driftmark_e2e_wayland_pointer
KEYS=$BIN_DIR/driftmark_e2e_wayland_keys

RECORDER="Keyboard Shortcut"
legacy_name=copyToClipboard
read -r OUTPUT_WIDTH OUTPUT_HEIGHT < <(swaymsg -t get_outputs | jq -r '.[0].rect | "\(.width) \(.height)"')

# The settings window, a Wayland one, has the focus.
settings_focused() {
  swaymsg -t get_tree |
    jq -e '.. | objects | select(.focused) | select(.shell == "xdg_shell" and .app_id == "app.driftmark.menubar")'
}

# The settings window's top left corner on the output, into $CONTENT_ORIGIN ("X Y"): Qt places a Wayland
# window's controls relative to the window, and sway centres a window smaller than its tile.
find_content_origin() {
  local width height
  read -r _ _ width height < <(atspi extents frame "$SETTINGS_TITLE") || fail "no settings window on the accessibility bus"
  CONTENT_ORIGIN=$(swaymsg -t get_tree | jq -er --argjson width "$width" --argjson height "$height" '
    .. | objects | select(.focused) | select(.app_id == "app.driftmark.menubar") |
    def centred(free): if free > 0 then (free / 2 | floor) else 0 end;
    "\(.rect.x + .window_rect.x + centred(.window_rect.width - $width)) \(.rect.y + .window_rect.y + centred(.window_rect.height - $height))"') ||
    fail "the settings window is not in sway's tree"
}

# click_control_on_output ROLE NAME: a click of the virtual pointer in the middle of the control.
click_control_on_output() {
  local centre x y origin_x origin_y
  centre=$(atspi --last center "$1" "$2") || fail "no $1 '$2' on the accessibility bus"
  read -r x y <<<"$centre"
  read -r origin_x origin_y <<<"$CONTENT_ORIGIN"
  "$POINTER" $((origin_x + x)) $((origin_y + y)) "$OUTPUT_WIDTH" "$OUTPUT_HEIGHT" ||
    fail "the virtual pointer did not click"
}

# The user's keyboard, before Driftmark starts.
start_keys

seed_preferences "[$(item_json 5E000000-0000-4000-8000-0000000000B1 'Only' 'only text' false false 0)]"
start_driftmark
wait_for 20 "the default shortcut stored" stored_shortcut_is "$legacy_name" "32 $((0x1000 | 0x200))"

"$DRIFTMARK" --settings >"$E2E_HOME/settings.out" 2>&1 || fail "--settings failed: $(cat "$E2E_HOME/settings.out")"
wait_for 20 "the settings window, native and focused" settings_focused
atspi --timeout 20 center heading "Legacy Global Shortcut" >/dev/null ||
  fail "the settings window's controls are not on the accessibility bus"
find_content_origin

# Recording: Control+Alt+J by the J key's position (virtual key 38), typed on the virtual keyboard.
click_control_on_output text "$RECORDER"
atspi --timeout 10 wait-state text "$RECORDER" focused || fail "the click did not focus the recorder"
ask_keys "key 38 down ctrl,opt"
ask_keys "key 38 up ctrl,opt"
wait_for_stored_shortcut "$legacy_name" "38 $((0x1000 | 0x800))"
wait_for 10 "the field showing it" control_text_is text "$RECORDER" "⌃⌥J"

# Backspace while recording removes it.
click_control_on_output text "$RECORDER"
ask_keys "key 51 down none"
ask_keys "key 51 up none"
wait_for_stored_shortcut "$legacy_name" ""
stop_driftmark
echo "PASS"
