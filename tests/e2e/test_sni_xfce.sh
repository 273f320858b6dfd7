#!/usr/bin/env bash
# StatusNotifierItem on an Xfce panel (whose notification area takes XEmbed icons as well): the items go
# to its watcher, not to its X11 tray; ten discs show, a left click copies, and the panel's own menu of
# an item (our exported menu) copies too; that menu shows the shortcuts of Settings (Ctrl+,) and Quit
# (Ctrl+Q) beside them, as GTK reads them. Xfce keeps its items in an order of its own (each new one
# first) and its watcher lists them unordered, so only their presence is checked.
E2E_DESKTOP_OPTIONS="--no-tray --session-bus"
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/sni_helpers.sh"
source "$E2E_DIR/shortcut_helpers.sh"

seed_ten_entries
start_xfce_panel
start_driftmark

wait_for 20 "the ten items registered" ten_registered
wait_for 20 "the ten discs on the panel" discs_shown 0 1 2 3 4 5 6 7 8 9
keep_shot ten-discs
[ "$(xembed_icon_count)" = 0 ] || fail "XEmbed icons show beside the StatusNotifierItems"

click_disc 3 1
wait_for 10 "the clipboard to hold text 3" clipboard_is "text 3"

copy_through_panel_menu 8

menu_shows_the_shortcuts_of_settings_and_quit

stop_driftmark
echo "PASS"
