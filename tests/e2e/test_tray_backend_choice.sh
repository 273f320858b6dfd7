#!/usr/bin/env bash
# Which tray shows the items: the X11 tray (XEmbed) while no StatusNotifierWatcher runs, the watcher's
# host once one runs, and the X11 tray again when the watcher goes for good. DRIFTMARK_TRAY=xembed keeps
# to the X11 tray beside a watcher; DRIFTMARK_TRAY=sni waits for a watcher and says once that none runs.
E2E_DESKTOP_OPTIONS="--session-bus"
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/sni_helpers.sh"

NO_HOST="No StatusNotifierItem host is running yet; the icons will appear when one starts"
seed_numbered_entries 3

three_ids() {
  printf 'driftmark-%s\n' "$first" "$second" "$third"
}

three_registered_in_order() {
  [ "$(registered_ids)" = "$(three_ids)" ]
}

nothing_registered() {
  [ -z "$(registered_items)" ]
}

three_docked() {
  [ "$(xembed_icon_count)" = 3 ]
}

none_docked() {
  [ "$(xembed_icon_count)" = 0 ]
}

# No watcher: the icons dock in the X11 tray, and nobody hears of a missing StatusNotifierItem host.
start_driftmark
wait_for 20 "the icons in the X11 tray" three_docked
[ "$(output_count "$NO_HOST")" = 0 ] || fail "a missing StatusNotifierItem host was reported without being asked for"

# A panel with a watcher starts: every item moves to it, in order, and leaves the X11 tray.
start_lxqt_panel
wait_for 20 "the items registered with the new watcher" three_registered_in_order
wait_for 20 "the icons to leave the X11 tray" none_docked

# The panel goes and none comes back: after a grace period the icons are back in the X11 tray.
stop_panel
wait_for 30 "the icons back in the X11 tray" three_docked
kill -0 "$DRIFTMARK_PID" || fail "the program did not survive the moves"
click_icon "$second" 1
wait_for 10 "the clipboard to hold text 2" clipboard_is "text 2"
stop_driftmark

# DRIFTMARK_TRAY=xembed beside a watcher: the X11 tray all the same, and the watcher gets nothing.
start_lxqt_panel
DRIFTMARK_TRAY=xembed start_driftmark
wait_for 20 "the icons in the X11 tray" three_docked
wait_for 10 "the entries to be loaded" grep -qF "Updating menu bar items, count: 3" "$DRIFTMARK_OUT"
nothing_registered || fail "items were registered with the watcher: $(registered_items)"
stop_driftmark
stop_panel

# DRIFTMARK_TRAY=sni without a watcher: said once, no icon in the X11 tray; a watcher that starts later
# gets the items.
DRIFTMARK_TRAY=sni start_driftmark
wait_for 20 "the missing host on standard error" grep -qF "$NO_HOST" "$DRIFTMARK_OUT"
wait_for 10 "the missing host in the log" log_has "$NO_HOST"
wait_for 10 "the entries to be loaded" grep -qF "Updating menu bar items, count: 3" "$DRIFTMARK_OUT"
none_docked || fail "icons docked in the X11 tray although StatusNotifierItem was chosen"
start_lxqt_panel
wait_for 20 "the items registered with the late watcher" three_registered_in_order
none_docked || fail "icons docked in the X11 tray although StatusNotifierItem was chosen"
[ "$(output_count "$NO_HOST")" = 1 ] || fail "the missing host was reported $(output_count "$NO_HOST") times"
stop_driftmark

# A name that is no tray: said, and the tray chosen as without one.
DRIFTMARK_TRAY=kde start_driftmark
wait_for 20 "the unknown tray name on standard error" grep -qF 'DRIFTMARK_TRAY must be "xembed" or "sni", not "kde"' "$DRIFTMARK_OUT"
wait_for 20 "the items registered with the watcher" three_registered_in_order
stop_driftmark
echo "PASS"
