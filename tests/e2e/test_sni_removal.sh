#!/usr/bin/env bash
# An entry deleted in the settings window while Driftmark shows its items on an LXQt panel: its item
# leaves the panel and the watcher, and the others keep their places and their order.
E2E_DESKTOP_OPTIONS="--no-tray --session-bus --size 1280x1000"
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/settings_helpers.sh"
source "$E2E_DIR/sni_helpers.sh"
# The settings window shows the entries' colours too: the discs are looked for on the panel alone.
DISC_AREA=1280x40+0+0

items=()
for n in 0 1 2; do
  items+=("$(coloured_item_json "$(entry_id "$n")" "entry $n" "text $n" "${DISC_COLOURS[$n]}" "$n")")
done
seed_preferences "[${items[0]},${items[1]},${items[2]}]"

registered_are() {
  [ "$(registered_ids)" = "$(printf 'driftmark-%s\n' "$@")" ]
}

discs_in_row_order() {
  take_shot
  local n centre x previous=-1
  for n in "$@"; do
    centre=$(disc_centre "${DISC_COLOURS[$n]}")
    [ -n "$centre" ] || return 1
    x=${centre%% *}
    [ "$x" -gt "$previous" ] || return 1
    previous=$x
  done
}

disc_gone() {
  take_shot
  [ -z "$(disc_centre "${DISC_COLOURS[$1]}")" ]
}

start_lxqt_panel
start_driftmark
wait_for 20 "the three items registered in order" registered_are "$(entry_id 0)" "$(entry_id 1)" "$(entry_id 2)"
wait_for 20 "the three discs in order" discs_in_row_order 0 1 2

"$DRIFTMARK" --settings >"$E2E_HOME/settings-request.out" 2>&1 || fail "--settings failed: $(cat "$E2E_HOME/settings-request.out")"
wait_for_settings_window
click_control "$ROW" "entry 1"
wait_for_control heading "entry 1"
click_control "push button" "Delete entry 1"
wait_for_control dialog "Delete Menu Item"
click_control "push button" Delete
wait_for_control_gone dialog "Delete Menu Item"

wait_for 20 "the deleted entry's item to leave the watcher" registered_are "$(entry_id 0)" "$(entry_id 2)"
wait_for 20 "the deleted entry's disc to leave the panel" disc_gone 1
wait_for 10 "the other discs in order" discs_in_row_order 0 2
keep_shot after-delete
[ "$(xembed_icon_count)" = 0 ] || fail "XEmbed icons show beside the StatusNotifierItems"

stop_driftmark
echo "PASS"
