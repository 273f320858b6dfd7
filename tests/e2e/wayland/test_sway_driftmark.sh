#!/usr/bin/env bash
# Driftmark itself on a private headless sway with XWayland, as on a wlroots desktop: a native Wayland
# client by default (E2E_DISPLAY_SERVER=x11: Qt on XWayland, chosen with DRIFTMARK_DISPLAY_SERVER), the
# clipboard, the keystrokes and the previous window over Driftmark's own Wayland connection either way, and
# waybar's tray hosting the ten StatusNotifierItems. The discs show in order; a click on one with no window focused copies, and
# so does the first entry of waybar's menu of one; a Smart Paste entry types Return and the paste chord
# into a native Wayland window and puts back the earlier clipboard's text and picture byte for byte, also
# when Driftmark's settings window had the focus; a sway key binding running `--paste` does the same.
set -euo pipefail

CLIPBOARD_DRIVER=${1:?usage: $0 CLIPBOARD_DRIVER}
SERVER=${E2E_DISPLAY_SERVER:-wayland}
BIN_DIR=$(cd "$(dirname "$CLIPBOARD_DRIVER")" && pwd)
: "${DRIFTMARK_BINARY:=$BIN_DIR/../../src/driftmark-menubar}"
if [ -z "${WAYLAND_COMPOSITOR_PID:-}" ]; then
  exec "$(dirname "$0")/../../../scripts/with-wayland-desktop" --xwayland --bar waybar bash "$0" "$@"
fi
for tool in wl-copy wl-paste grim convert jq; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing; run scripts/install-deps" >&2; exit 1; }
done
# The X11 tests' helpers, on this desktop rather than one of their own.
export DRIFTMARK_E2E_DESKTOP=1
source "$(dirname "$0")/../lib.sh" "$DRIFTMARK_BINARY" "$BIN_DIR/driftmark_e2e_target"
source "$E2E_DIR/sni_helpers.sh"
source "$(dirname "$0")/keys_helpers.sh"
[ "$SERVER" = wayland ] || SCREENSHOT_PREFIX+=-xwayland
POINTER=$BIN_DIR/driftmark_e2e_wayland_pointer
KEYS=$BIN_DIR/driftmark_e2e_wayland_keys
KEY_TARGET=$BIN_DIR/driftmark_e2e_wayland_key_target

# A failure says what the window saw, too.
eval "lib_$(declare -f fail)"
fail() {
  show_key_target_window
  lib_fail "$@"
}

# Pictures come from the compositor; the X display shows none of waybar.
take_shot() {
  SHOT="$E2E_HOME/screen.png"
  grim "$SHOT" 2>/dev/null || fail "no picture of the output"
}

# A picture of waybar alone, for when the settings window shows discs of the entries' colours too.
take_bar_shot() {
  SHOT="$E2E_HOME/bar.png"
  grim -g "0,0 ${OUTPUT_WIDTH}x$WAYBAR_HEIGHT" "$SHOT" 2>/dev/null || fail "no picture of the bar"
}

# click_disc ORDER [BUTTON]: a click (left by default) on the entry's disc as found on the last picture.
click_disc() {
  local centre x y
  centre=$(disc_centre "${DISC_COLOURS[$1]}")
  [ -n "$centre" ] || fail "no disc of entry $1 on the output"
  read -r x y <<<"$centre"
  "$POINTER" "$x" "$y" "$OUTPUT_WIDTH" "$OUTPUT_HEIGHT" ${2:+"$2"} || fail "the virtual pointer did not click"
}

# A menu shows: a white area of a menu's size; the middle of its first entry's row is in
# $MENU_FIRST_ENTRY ("X Y").
menu_shown() {
  take_shot
  local box
  box=$(convert "$SHOT" -fill black +opaque white -fill white -opaque white -format '%@' info: 2>/dev/null)
  [[ "$box" =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || return 1
  local width=${BASH_REMATCH[1]} height=${BASH_REMATCH[2]} x=${BASH_REMATCH[3]} y=${BASH_REMATCH[4]}
  [ "$width" -ge 80 ] && [ "$height" -ge 60 ] || return 1
  MENU_FIRST_ENTRY="$((x + width / 2)) $((y + 12))"
}

menu_gone() {
  ! menu_shown
}

focused_name() {
  swaymsg -t get_tree | jq -r '.. | objects | select(.focused) | .name'
}

# No window has the focus: sway's focus is on a workspace (or an output).
no_window_focused() {
  ! swaymsg -t get_tree | jq -e '.. | objects | select(.focused) | select(.type == "con" or .type == "floating_con")'
}

focused_is() {
  [ "$(focused_name)" = "$1" ]
}

# A window of Driftmark's has the focus: a Wayland one, or an X one through XWayland.
driftmark_window_focused() {
  if [ "$SERVER" = wayland ]; then
    swaymsg -t get_tree | jq -e '.. | objects | select(.focused) | select(.shell == "xdg_shell" and .app_id == "app.driftmark.menubar")'
  else
    swaymsg -t get_tree |
      jq -e '.. | objects | select(.focused) | select(.shell == "xwayland" and .window_properties.class == "driftmark-menubar")'
  fi
}

clipboard_text_is() {
  [ "$(wl-paste --no-newline 2>/dev/null)" = "$1" ]
}

# The earlier clipboard is back: the text and the picture, each byte for byte.
earlier_clipboard_back() {
  [ "$(wl-paste --no-newline --type 'text/plain;charset=utf-8')" = "earlier words" ] &&
    wl-paste --type image/png | cmp -s - "$E2E_HOME/picture.png"
}

# The window's key presses without Shift's own, and its whole text (a final new line included).
window_keys() {
  grep '^key ' "$E2E_HOME/window.keys" | grep -v '^key Shift ' || true
}
window_text_is() {
  [ "$(cat "$E2E_HOME/window.text" 2>/dev/null && printf .)" = "$1." ]
}

# waybar's watcher lists the newest item first: read backwards, the list is the order of registration.
ten_registered_in_order_newest_first() {
  [ "$(registered_ids | tac)" = "$(ten_ids)" ]
}

read -r OUTPUT_WIDTH OUTPUT_HEIGHT < <(swaymsg -t get_outputs | jq -r '.[0].rect | "\(.width) \(.height)"')

# Ten entries; the second one (position 2) is a Smart Paste entry with a new line first.
items=()
for n in 9 8 7 6 5 4 3 2 1 0; do
  item=$(coloured_item_json "$(entry_id "$n")" "entry $n" "text $n" "${DISC_COLOURS[$n]}" "$n")
  [ "$n" != 1 ] || item=${item/'"usesSmartPaste":false,"prependNewline":false'/'"usesSmartPaste":true,"prependNewline":true'}
  items+=("$item")
done
seed_preferences "[$(IFS=,; echo "${items[*]}")]"
if [ "$SERVER" = x11 ]; then
  DRIFTMARK_DISPLAY_SERVER=x11 start_driftmark
else
  start_driftmark
fi

# Registered in order with waybar's watcher, and drawn in its tray left to right.
wait_for 30 "the ten items registered in order" ten_registered_in_order_newest_first
wait_for 30 "the ten discs in waybar's tray in order" ten_discs_in_order
keep_shot ten-discs
[ "$(xembed_icon_count)" = 0 ] || fail "XEmbed icons show beside the StatusNotifierItems"

# A click on the first disc with no window focused copies its text, as other Wayland programs paste it.
no_window_focused >/dev/null || fail "a window has the focus before any opened: $(focused_name)"
click_disc 0
wait_for 10 "the clipboard to hold text 0" clipboard_text_is "text 0"
wait_for 10 "the left click on entry 0" grep -qF "Menu bar left click for item: entry 0" "$DRIFTMARK_OUT"

# The right button opens waybar's menu of the item, built from the menu Driftmark exports; its first
# entry copies. The menu is the one white area on the output while no window is open.
click_disc 6 273
wait_for 10 "waybar's menu of entry 6" menu_shown
read -r x y <<<"$MENU_FIRST_ENTRY"
"$POINTER" "$x" "$y" "$OUTPUT_WIDTH" "$OUTPUT_HEIGHT" || fail "the virtual pointer did not click"
wait_for 10 "the clipboard to hold text 6" clipboard_text_is "text 6"
wait_for 10 "the copy from the menu" grep -qF "Copy to clipboard for item: entry 6" "$DRIFTMARK_OUT"
wait_for 10 "the menu to close" menu_gone

# A host that asks the item to draw its own menu (swaybar does) gets nothing drawn on Wayland, where a
# menu without a window would open as a tiled window of its own: Driftmark says so, once.
if [ "$SERVER" = wayland ]; then
  windows_before=$(swaymsg -t get_tree | jq '[.. | objects | select(.type == "con" and .pid != null)] | length')
  item=$(registered_items | head -n 1)
  for _ in 1 2; do
    gdbus call --session -d "${item%%/*}" -o /StatusNotifierItem -m org.kde.StatusNotifierItem.ContextMenu 20 10 \
      >/dev/null || fail "the item refused the ContextMenu call"
  done
  wait_for 10 "the word that the menu cannot be drawn" grep -qF "draw an entry's menu itself" "$DRIFTMARK_OUT"
  sleep 0.5
  [ "$(output_count "draw an entry's menu itself")" = 1 ] || fail "the menu's warning came more than once"
  [ "$(swaymsg -t get_tree | jq '[.. | objects | select(.type == "con" and .pid != null)] | length')" = "$windows_before" ] ||
    fail "a menu opened as a window"
fi

# The user's keyboard. The same driver later types the key binding on a virtual keyboard of its own.
start_keys

# A native Wayland window takes the focus.
QT_QPA_PLATFORM=wayland "$KEY_TARGET" "$E2E_HOME/window.text" >"$E2E_HOME/window.keys" 2>"$E2E_HOME/window.err" &
E2E_PIDS+=($!)
wait_for 20 "sway to focus the window" focused_is driftmark-e2e-key-target

# The earlier clipboard: a text and a picture with bytes of their own, offered by another program.
write_png "$E2E_HOME/picture.png"
mkfifo "$E2E_HOME/offer.in" "$E2E_HOME/offer.out"
"$CLIPBOARD_DRIVER" driver <"$E2E_HOME/offer.in" >"$E2E_HOME/offer.out" 2>"$E2E_HOME/offer.err" &
E2E_PIDS+=($!)
exec {offer_in}>"$E2E_HOME/offer.in" {offer_out}<"$E2E_HOME/offer.out"
for command in "set-string earlier words" "set-data image/png $E2E_HOME/picture.png"; do
  echo "$command" >&"$offer_in"
  read -r -t 20 answer <&"$offer_out" || fail "the clipboard driver did not answer"
  [ "$answer" = ok ] || fail "the clipboard driver answered '$answer' to '$command'"
done
wait_for 10 "the earlier clipboard" earlier_clipboard_back

# The Smart Paste entry's disc: Return, then the paste chord, into the focused window; then the earlier
# clipboard is back. The bar takes no focus, so the window keeps it.
take_shot
click_disc 1
wait_for 20 "the paste in the window" window_text_is $'\ntext 1'
[ "$(window_keys | head -n 2 | tr '\n' '|')" = "key Return mods=none|key V mods=ctrl|" ] ||
  fail "the window's keys: $(window_keys | tr '\n' '|')"
wait_for 20 "the earlier clipboard back" earlier_clipboard_back
focused_is driftmark-e2e-key-target || fail "the focus moved to $(focused_name)"

# Driftmark's own settings window takes the focus: the Smart Paste goes to the window
# before it, which it activates, and not into Driftmark's.
"$DRIFTMARK" --settings >"$E2E_HOME/settings.out" 2>&1 || fail "--settings failed: $(cat "$E2E_HOME/settings.out")"
wait_for 20 "sway to focus the settings window" driftmark_window_focused
take_bar_shot
click_disc 1
wait_for 20 "the paste after the settings window" window_text_is $'\ntext 1\ntext 1'
focused_is driftmark-e2e-key-target || fail "the focus is on $(focused_name), not on the window pasted into"
wait_for 20 "the earlier clipboard back after the paste from the settings window" earlier_clipboard_back

# A sway key binding runs `driftmark-menubar --paste 2`, as sway's user (nobody under root), on the same
# session bus; Ctrl+Alt+2 comes from a virtual keyboard.
binding_dir="$E2E_HOME/binding"
mkdir -m 1777 "$binding_dir"
chmod 711 "$E2E_HOME"
cat >"$binding_dir/paste" <<SCRIPT
#!/bin/sh
DBUS_SESSION_BUS_ADDRESS='$DBUS_SESSION_BUS_ADDRESS' '$DRIFTMARK' --paste 2 >'$binding_dir/paste.out' 2>&1
echo \$? >'$binding_dir/paste.status'
SCRIPT
chmod 755 "$binding_dir/paste"
swaymsg "bindsym Ctrl+Alt+2 exec $binding_dir/paste" >/dev/null || fail "sway took no key binding"
ask_keys "key 19 down cmd,opt"
ask_keys "key 19 up cmd,opt"
wait_for 20 "the key binding's command" test -s "$binding_dir/paste.status"
[ "$(cat "$binding_dir/paste.status")" = 0 ] ||
  fail "--paste 2 from the key binding exited with $(cat "$binding_dir/paste.status"): $(cat "$binding_dir/paste.out")"
wait_for 20 "the paste from the key binding" window_text_is $'\ntext 1\ntext 1\ntext 1'
[ "$(window_keys | tr '\n' '|')" = "$(printf 'key Return mods=none|key V mods=ctrl|%.0s' 1 2 3)" ] ||
  fail "the window's keys after the key binding: $(window_keys | tr '\n' '|')"
wait_for 20 "the earlier clipboard back after the key binding's paste" earlier_clipboard_back
take_shot
keep_shot after-pastes

kill -0 "$DRIFTMARK_PID" || fail "the program did not survive"
stop_driftmark
echo "PASS"
