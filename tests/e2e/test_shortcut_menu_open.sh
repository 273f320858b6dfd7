#!/usr/bin/env bash
# Global shortcuts while an icon's menu is open: the menu holds the keyboard, so the program matches
# the keys itself. A shortcut whose modifiers come up before its key still fires, and one with Alt
# neither closes the menu nor reaches it. The menu stays open: the shortcut's keys never reach it, and
# the shortcut's action (a copy) does not close it.
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/shortcut_helpers.sh"

FIRST_ID=7A1D2B3C-4D5E-4F60-9BAC-1D2E3F405C01
KAY_ID=7A1D2B3C-4D5E-4F60-9BAC-1D2E3F405C02

items="[$(item_json "$FIRST_ID" First "first text"),$(item_json "$KAY_ID" Kay "text of K" false false 1)]"
seed_preferences "$items" "$(stored_shortcut "menuItem_$KAY_ID" "$KEY_K" $((MOD_CONTROL | MOD_OPTION)))"
start_driftmark
wait_for_icons "$FIRST_ID" "$KAY_ID"

offer_clipboard_text sentinel
click_icon "$KAY_ID" 3
wait_for 10 "the context menu" context_menu_shown
menu=$(context_menu_window)

# Control+Shift+U, with Control and Shift let go before U: the first entry's text is copied when U
# comes up.
xdotool keydown ctrl keydown shift keydown u keyup shift keyup ctrl keyup u
wait_for 10 "the first entry's text on the clipboard" clipboard_is "first text"
wait_for_log 10 "Legacy keyboard shortcut triggered!"
[ "$(context_menu_window)" = "$menu" ] || fail "the menu closed on Control+Shift+U"

# Control+Alt+K, bound in the preferences file, typed the same way.
xdotool keydown ctrl keydown alt keydown k keyup alt keyup ctrl keyup k
wait_for 10 "the K entry's text on the clipboard" clipboard_is "text of K"
wait_for_log 10 "Keyboard shortcut triggered for item: Kay"
[ "$(context_menu_window)" = "$menu" ] || fail "the menu closed on Control+Alt+K"

# And in the usual order, Alt last down and first up.
offer_clipboard_text sentinel
xdotool keydown ctrl keydown alt keydown k keyup k keyup alt keyup ctrl
wait_for 10 "the K entry's text again" clipboard_is "text of K"
wait_for_log 10 "Keyboard shortcut triggered for item: Kay" 2
[ "$(context_menu_window)" = "$menu" ] || fail "the menu closed on the second Control+Alt+K"

# The shortcut's key never reached the menu, which still works as before: its first entry copies the
# entry it belongs to.
offer_clipboard_text sentinel
xdotool key Down Return
wait_for 10 "the menu's own copy" clipboard_is "text of K"
wait_for 10 "the menu to close" context_menu_gone
wait_for_log 10 "Copy to clipboard for 'Kay', smartPaste: false"

[ "$(log_count "Legacy keyboard shortcut triggered!")" = 1 ] || fail "Control+Shift+U fired more than once"
[ "$(log_count "Keyboard shortcut triggered for item: Kay")" = 2 ] || fail "Control+Alt+K fired other than twice"
stop_driftmark
echo "PASS"
