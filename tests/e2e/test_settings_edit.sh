#!/usr/bin/env bash
# An entry changed in its pane of the settings window: every keystroke in its name is stored at once
# and reaches its row, its pane's heading and its icon's tooltip; a colour swatch recolours the stored
# entry and its tray icon; a text saved in the text sheet is what the icon copies, a cancelled one is
# not; Smart Paste is switched on and off. The other entry stays as it was.
E2E_DESKTOP_OPTIONS="--session-bus --size 1280x1000"
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/settings_helpers.sh"

first=C1000000-0000-4000-8000-0000000000C1
second=C2000000-0000-4000-8000-0000000000C2
seed_preferences "[$(item_json "$first" 'First' 'first entry text' false false 0),$(item_json "$second" 'Second' 'second entry text' false false 1)]"
start_driftmark_for_settings "$first" "$second"
open_settings "$first"
click_control "$ROW" First
wait_for_control heading First
wait_for_text text "Item Name" First

# The centre pixel of an entry's tray icon, "RED GREEN BLUE".
icon_center_color() {
  import -window "$(icon_window "$1")" -gravity center -crop 1x1+0+0 +repage -depth 8 rgb:- 2>/dev/null |
    od -An -tu1 | xargs
}

# icon_color_near ID "R G B": the icon's centre is that colour, give or take 3 in each channel.
icon_color_near() {
  local actual expected
  read -ra actual <<<"$(icon_center_color "$1")"
  read -ra expected <<<"$2"
  [ "${#actual[@]}" = 3 ] || return 1
  local i
  for i in 0 1 2; do
    local difference=$((actual[i] - expected[i]))
    [ "${difference#-}" -le 3 ] || return 1
  done
}

# wait_for_icon_color ID "R G B"
wait_for_icon_color() {
  local deadline=$((SECONDS + 10))
  until icon_color_near "$1" "$2"; do
    [ $SECONDS -lt $deadline ] || fail "the icon of $1 is $(icon_center_color "$1"), not $2"
    sleep 0.1
  done
}

# The expression of an entry's stored colour as bytes, for stored_eval.
stored_rgb() {
  echo "[round(item('$1')['iconColor'][c] * 255) for c in ('red', 'green', 'blue')]"
}

# --- The name, keystroke by keystroke ---------------------------------------------------------------
click_control text "Item Name"
atspi --last wait-state text "Item Name" focused || fail "the name field did not take the focus"
xdotool key End
title=First
for character in l y; do
  xdotool type -- "$character"
  title+=$character
  wait_for_stored 10 "item('$first')['title']" "$title"
done
wait_for_control "$ROW" Firstly
wait_for_control heading Firstly
xdotool key BackSpace
wait_for_stored 10 "item('$first')['title']" Firstl
xdotool key BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
wait_for_stored 10 "item('$first')['title']" ""
xdotool type -- "Renamed"
wait_for_stored 10 "item('$first')['title']" Renamed
wait_for_control "$ROW" Renamed
wait_for_control heading Renamed
[ "$(atspi count "$ROW" First)" = 0 ] || fail "the sidebar still has a row named First"
[ "$(stored_eval "item('$second')['title']")" = Second ] || fail "renaming the first entry changed the second"
[ "$(stored_eval "item('$first')['text']")" = "first entry text" ] || fail "renaming the entry changed its text"

# The icon's tooltip has the new name.
icon_x_y=$(icon_geometry "$first")
read -r x y width height <<<"$icon_x_y"
xdotool mousemove $((x + width / 2 - 2)) $((y + height / 2 - 2)) mousemove $((x + width / 2)) $((y + height / 2))
atspi --timeout 10 center "tool tip" Renamed >/dev/null || fail "the icon's tooltip does not read Renamed"
# The pointer goes back over the window, away from the icons.
read -r x y <<<"$(control_center "$ROW" General)"
xdotool mousemove "$x" "$y"

# --- The colour -------------------------------------------------------------------------------------
wait_for_icon_color "$first" "0 122 255"
click_control "$SWATCH" Red
wait_for_stored 10 "$(stored_rgb "$first")" "[255, 59, 48]"
wait_for_icon_color "$first" "255 59 48"
icon_color_near "$second" "0 122 255" || fail "the second icon changed colour: $(icon_center_color "$second")"
click_control "$SWATCH" Teal
wait_for_stored 10 "$(stored_rgb "$first")" "[89, 173, 196]"
wait_for_icon_color "$first" "89 173 196"
[ "$(stored_eval "$(stored_rgb "$second")")" = "[0, 122, 255]" ] || fail "the second entry's colour changed"
screenshot "$SETTINGS_TITLE" recoloured-entry-pane

# --- The text ---------------------------------------------------------------------------------------
click_control "push button" "Edit Text"
wait_for_control heading "Edit Text"
wait_for_text text "Clipboard Text" "first entry text"
type_into text "Clipboard Text" $'new first\ntext'
click_control "push button" "Save Text"
wait_for_control_gone heading "Edit Text"
wait_for_stored 10 "item('$first')['text']" $'new first\ntext'
wait_for_control label $'Text preview: new first\ntext'
click_icon "$first" 1
wait_for 10 "the new text on the clipboard" clipboard_is $'new first\ntext'
wait_for_log 10 "Menu bar clicked for 'Renamed'"

# --- Smart Paste ------------------------------------------------------------------------------------
click_control "check box" "Enable Smart Paste"
wait_for_stored 10 "item('$first')['usesSmartPaste']" true
click_control "check box" "Enable Smart Paste"
wait_for_stored 10 "item('$first')['usesSmartPaste']" false

# --- A cancelled text ------------------------------------------------------------------------------
# It is not stored, and the sheet opened again shows the stored text, not the cancelled one.
click_control "push button" "Edit Text"
wait_for_control heading "Edit Text"
type_into text "Clipboard Text" "never stored"
wait_for_text text "Clipboard Text" "never stored"
click_control "push button" Cancel
wait_for_control_gone heading "Edit Text"
[ "$(stored_eval "item('$first')['text']")" = $'new first\ntext' ] || fail "a cancelled text was stored"
wait_for_control label $'Text preview: new first\ntext'
click_control "push button" "Edit Text"
wait_for_control heading "Edit Text"
wait_for_text text "Clipboard Text" $'new first\ntext'
click_control "push button" Cancel
wait_for_control_gone heading "Edit Text"

[ "$(stored_eval 'len(items)')" = 2 ] || fail "editing changed the number of entries: $(stored_items)"
[ "$(stored_eval "item('$second')['text']")" = "second entry text" ] || fail "the second entry's text changed"
stop_driftmark
echo "PASS"
