#!/usr/bin/env bash
# Tray icons: one per entry, named by its autosave name and placed by `order`; they wait for a tray
# that starts late, come back when the tray is replaced, and go away with their entry.
E2E_DESKTOP_OPTIONS="--no-tray"
source "$(dirname "$0")/lib.sh"

NO_TRAY="No system tray is running; the icons will appear when one starts"
first=0A000000-0000-4000-8000-00000000000A  # order 0
second=0b000000-0000-4000-8000-00000000000b # order 1, stored in lower case
third=0C000000-0000-4000-8000-00000000000C  # order 2
second_upper=${second^^}

# The tray places every new icon to the left of the earlier ones, so the icons, created in ascending
# `order`, run from right to left. The tray may still be laying them out when they show.
icons_in_order() {
  local x0 x1 x2
  x0=$(icon_x "$first") && x1=$(icon_x "$second_upper") && x2=$(icon_x "$third") &&
    [ "$x0" -gt "$x1" ] && [ "$x1" -gt "$x2" ]
}

expect_icons_in_order() {
  wait_for 10 "the icons in order, order 0 rightmost" icons_in_order
  local count
  count=$(xdotool search --onlyvisible --name '^DriftmarkMenuItem-' | wc -l)
  [ "$count" = 3 ] || fail "expected 3 icons, found $count"
}

icons_docked() {
  icon_visible "$first" && icon_visible "$second_upper" && icon_visible "$third"
}

no_icon_visible() {
  [ -z "$(xdotool search --onlyvisible --name '^DriftmarkMenuItem-')" ]
}

remaining_icons_docked() {
  icon_visible "$first" && icon_visible "$third"
}

remaining_icons_in_order() {
  local x0 x2
  x0=$(icon_x "$first") && x2=$(icon_x "$third") && [ "$x0" -gt "$x2" ]
}

start_tray() {
  $TRAY_COMMAND >>"$E2E_HOME/tray.out" 2>&1 &
  TRAY_PID=$!
  E2E_PIDS+=("$TRAY_PID")
}

stop_tray() {
  kill "$TRAY_PID"
  wait "$TRAY_PID" 2>/dev/null || true
}

# Listed out of order: the bar follows `order`, not the list.
seed_preferences "[$(item_json "$third" third 'text 3' false false 2),$(item_json "$first" first 'text 1' false false 0),$(item_json "$second" second 'text 2' false false 1)]"

# No tray yet: the program says so once, on standard error and in the log, and shows nothing.
start_driftmark
wait_for 20 "the missing tray on standard error" grep -qF "$NO_TRAY" "$DRIFTMARK_OUT"
wait_for 10 "the missing tray in the log" log_has "$NO_TRAY"
wait_for 10 "the entries to be loaded" grep -qF "Updating menu bar items, count: 3" "$DRIFTMARK_OUT"
no_icon_visible || fail "an icon is shown without a tray"

# The tray starts: every icon docks, by its upper-case autosave name, in order.
start_tray
wait_for 20 "the icons to dock in the late tray" icons_docked
expect_icons_in_order
for id in "$first" "$second_upper" "$third"; do
  name=$(xprop -id "$(icon_window "$id")" WM_NAME)
  [ "$name" = "WM_NAME(STRING) = \"DriftmarkMenuItem-$id\"" ] || fail "icon of $id is named: $name"
done
[ "$(output_count "$NO_TRAY")" = 1 ] || fail "the missing tray was reported $(output_count "$NO_TRAY") times on standard error"
[ "$(log_count "$NO_TRAY")" = 1 ] || fail "the missing tray was logged $(log_count "$NO_TRAY") times"

# The tray goes away and a new one starts: the icons leave with the old tray and dock in the new one.
old_window=$(icon_window "$first")
stop_tray
wait_for 20 "the icons to leave with the tray" no_icon_visible
start_tray
wait_for 20 "the icons to dock in the new tray" icons_docked
expect_icons_in_order
[ "$(icon_window "$first")" != "$old_window" ] || fail "the icon kept its window of the old tray"
kill -0 "$DRIFTMARK_PID" || fail "the program did not survive the tray's restart"
stop_driftmark

# An entry removed from the preferences file: after a restart, its icon is gone and the others stay.
seed_preferences "[$(item_json "$first" first 'text 1' false false 0),$(item_json "$third" third 'text 3' false false 2)]"
start_driftmark
wait_for 20 "the remaining icons" remaining_icons_docked
! icon_visible "$second_upper" || fail "the removed entry still has an icon"
[ "$(xdotool search --onlyvisible --name '^DriftmarkMenuItem-' | wc -l)" = 2 ] || fail "expected 2 icons"
wait_for 10 "the remaining icons in order" remaining_icons_in_order
[ "$(output_count "$NO_TRAY")" = 0 ] || fail "a missing tray was reported although one runs"
stop_driftmark
echo "PASS"
