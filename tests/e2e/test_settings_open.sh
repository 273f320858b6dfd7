#!/usr/bin/env bash
# The settings window opens from an icon's context menu: "Settings…" first shows the General pane,
# "Edit…" shows the window as it was left, Ctrl+, in the open menu does what "Settings…" does; every
# opening is logged. A row of the sidebar shows its pane.
# "About…" opens the about window. Pictures of the General and About panes and the about window are kept.
E2E_DESKTOP_OPTIONS="--session-bus --size 1280x1000"
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/settings_helpers.sh"

first=A1000000-0000-4000-8000-0000000000A1
second=A2000000-0000-4000-8000-0000000000A2
seed_preferences "[$(item_json "$first" 'First' 'first entry text' false false 0),$(item_json "$second" 'Second' 'second entry text' false false 1)]"
start_driftmark_for_settings "$first" "$second"
window_gone "$SETTINGS_TITLE" || fail "a settings window is shown before it was asked for"

# "Settings…" in the first icon's menu: the window, titled as it should be, on the General pane.
choose_in_menu "$first" settings
wait_for_settings_window
[ "$(xdotool getwindowname "$(settings_window)")" = "$SETTINGS_TITLE" ] || fail "the settings window's title is wrong"
wait_for_log 10 "Settings window opened"
wait_for_control heading "Driftmark Settings"
control_has_state "$ROW" General selected || fail "the General pane is not the selected one"
wait_for_control heading "Startup"
wait_for_control "check box" "Start at Login"
[ "$(atspi count "push button" "Delete First")" = 0 ] || fail "a delete control shows while no entry is selected"
wait_for_window_size "$SETTINGS_TITLE" "800 820"
screenshot "$SETTINGS_TITLE" general
[ "$(log_count "Settings window opened")" = 1 ] || fail "one opening was logged $(log_count "Settings window opened") times"

# The About row shows the about pane.
click_control "$ROW" About
wait_for_control heading "About Driftmark"
control_has_state "$ROW" About selected || fail "the About row is not selected after a click"
wait_for_control "$LINK" "Website driftmark.app"
screenshot "$SETTINGS_TITLE" about-pane

# Closed with the window manager's close key, the window goes and the program stays.
xdotool windowactivate --sync "$(settings_window)" key alt+F4
wait_for 10 "the settings window to close" window_gone "$SETTINGS_TITLE"
kill -0 "$DRIFTMARK_PID" || fail "closing the settings window ended Driftmark"

# "Edit…" in the second icon's menu: the window again, as it was left (on the About pane).
choose_in_menu "$second" edit
wait_for_settings_window
wait_for_log 10 "Settings window opened" 2
wait_for_control heading "About Driftmark"
control_has_state "$ROW" About selected || fail "the About row is no longer selected after Edit"

# A click on the second entry's row shows its pane.
click_control "$ROW" Second
wait_for_control heading "Second"
control_has_state "$ROW" Second selected || fail "the second entry's row is not selected after a click"
! control_has_state "$ROW" About selected || fail "the About row is still selected"
wait_for_text text "Item Name" "Second"
wait_for_control label "Text preview: second entry text"
wait_for_control "push button" "Delete Second"
screenshot "$SETTINGS_TITLE" entry-pane
xdotool windowactivate --sync "$(settings_window)" key alt+F4
wait_for 10 "the settings window to close again" window_gone "$SETTINGS_TITLE"

# Ctrl+, in the open menu opens it too.
click_icon "$first" 3
wait_for 10 "the context menu before Ctrl+," context_menu_shown
xdotool key ctrl+comma
wait_for 10 "the menu to close on Ctrl+," context_menu_gone
wait_for_settings_window
wait_for_log 10 "Settings window opened" 3

# "About…" opens the about window, the settings window stays.
choose_in_menu "$first" about
wait_for 20 "the about window" window_shown "$ABOUT_TITLE"
atspi --timeout 20 --window "$ABOUT_TITLE" center heading "Driftmark" >/dev/null || fail "the about window's heading is not on the accessibility bus"
atspi --window "$ABOUT_TITLE" center "$LINK" "Website driftmark.app" >/dev/null || fail "the about window has no website link"
window_shown "$SETTINGS_TITLE" || fail "opening the about window closed the settings window"
screenshot "$ABOUT_TITLE" about-window

stop_driftmark
echo "PASS"
