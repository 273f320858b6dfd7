#!/usr/bin/env bash
# StatusNotifierItem on an LXQt panel: ten discs in the entries' order, each with its entry's Id; a left
# click copies, the panel's own menu of an item (our exported menu) copies too and shows the shortcuts of
# Settings (Ctrl+,) and Quit (Ctrl+Q) beside them, as Qt reads them, and when the panel restarts the
# discs come back in order. No XEmbed icon shows meanwhile.
E2E_DESKTOP_OPTIONS="--no-tray --session-bus"
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/sni_helpers.sh"
source "$E2E_DIR/shortcut_helpers.sh"

seed_ten_entries
start_lxqt_panel
start_driftmark

# Registered one after the other in the entries' order, and shown so, left to right.
wait_for 20 "the ten items registered in order" ten_registered_in_order
wait_for 20 "the ten discs on the panel in order" ten_discs_in_order
keep_shot ten-discs
[ "$(xembed_icon_count)" = 0 ] || fail "XEmbed icons show beside the StatusNotifierItems"
grep -qF "No system tray is running" "$DRIFTMARK_OUT" && fail "the missing X11 tray was reported"
grep -qF "No StatusNotifierItem host" "$DRIFTMARK_OUT" && fail "the running panel was reported missing"

first_item=$(registered_items | head -n 1)
[ "$(item_property "$first_item" Title)" = "(<'entry 0'>,)" ] || fail "title: $(item_property "$first_item" Title)"
[ "$(item_property "$first_item" Status)" = "(<'Active'>,)" ] || fail "status: $(item_property "$first_item" Status)"
[ "$(item_property "$first_item" Menu)" = "(<objectpath '/MenuBar'>,)" ] || fail "menu: $(item_property "$first_item" Menu)"

# A left click copies the entry's text.
click_disc 2 1
wait_for 10 "the clipboard to hold text 2" clipboard_is "text 2"
wait_for 10 "the left click on entry 2" grep -qF "Menu bar left click for item: entry 2" "$DRIFTMARK_OUT"

# The right button opens the panel's menu of the item, built from our menu; its first entry copies.
copy_through_panel_menu 6
wait_for 10 "the copy from the menu" grep -qF "Copy to clipboard for item: entry 6" "$DRIFTMARK_OUT"
menu_shows_the_shortcuts_of_settings_and_quit

# The panel restarts: the items are registered with the new watcher and show again, in order.
stop_panel
start_lxqt_panel
wait_for 20 "the ten items registered with the new panel" ten_registered_in_order
wait_for 20 "the ten discs back on the new panel in order" ten_discs_in_order
keep_shot after-restart
[ "$(xembed_icon_count)" = 0 ] || fail "XEmbed icons show after the panel's restart"
click_disc 9 1
wait_for 10 "the clipboard to hold text 9" clipboard_is "text 9"

kill -0 "$DRIFTMARK_PID" || fail "the program did not survive the panel's restart"
stop_driftmark
echo "PASS"
