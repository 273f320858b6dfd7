#!/usr/bin/env bash
# The settings window on a laptop's 1366 x 768 screen with ten entries of long titles: it opens wholly on
# the screen, title bar and footer included; made as small as it goes (700 x 500), the sidebar's list
# scrolls between its header and About, which stays clear of the footer, and a row or control reached
# with Tab is scrolled into view; an entry's long name shows its beginning.
E2E_DESKTOP_OPTIONS="--session-bus --size 1366x768"
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/settings_helpers.sh"
source "$E2E_DIR/fit_helpers.sh"

ids=()
items=""
for i in $(seq 1 10); do
  id=$(printf 'F17%05d-0000-4000-8000-0000000000%02d' "$i" "$i")
  ids+=("$id")
  items+="${items:+,}$(item_json "$id" "Entry $i, whose title is longer than the sidebar" "text $i" false false $((i - 1)))"
done
seed_preferences "[$items]"
start_driftmark_for_settings "${ids[0]}"
open_settings "${ids[0]}"

# Wholly on the screen, frame and all, with its header and footer.
wait_for 10 "the settings window on the screen" window_on_screen "$(settings_window)"
control_inside_screen heading "Driftmark Settings"
control_inside_screen "push button" "Reset to Defaults"
stored_size=$(preference_number settingsWindowWidth)
[ -z "$stored_size" ] || fail "fitting the window to the screen stored a size ($stored_size): only the user's resizes count"
screenshot "$SETTINGS_TITLE" laptop
visit_every_view "Entry 1, whose title is longer than the sidebar" laptop full

# As small as it goes: About stays above the footer, the list stops above About.
xdotool windowsize "$(settings_window)" 700 500
wait_for_window_size "$SETTINGS_TITLE" "700 500"
wait_for 10 "About above the footer" control_above "$ROW" About "push button" "Reset to Defaults"

# Tab from General to the tenth entry (the add control is off with ten): the list scrolls it into view.
click_control "$ROW" General
atspi --last wait-state "$ROW" General focused || fail "General did not take the focus"
last="Entry 10, whose title is longer than the sidebar"
press_until_focused "$last" Tab 10
wait_for 10 "the tenth entry scrolled into view above About" control_above "$ROW" "$last" "$ROW" About
wait_for 10 "the tenth entry below the list's header" control_above "push button" "Add menu item" "$ROW" "$last"
screenshot "$SETTINGS_TITLE" small-last-entry

# Space opens its pane; its name field shows the beginning of the long title.
xdotool key space
wait_for_control heading "$last"
wait_for_text text "Item Name" "$last"
[ "$(atspi --last caret text "Item Name")" = 0 ] ||
  fail "the name field's caret is at $(atspi --last caret text "Item Name"), so it shows the title's end"
# The pane scrolls to a control far down, reached with the keyboard (backwards, through the footer).
control_bottom_below_footer_top() {
  control_above "check box|push button|toggle button" "Enable Smart Paste" "push button" "Reset to Defaults"
}
press_until_focused "Enable Smart Paste" shift+Tab
wait_for 10 "the focused Smart Paste switch scrolled into view above the footer" control_bottom_below_footer_top
screenshot "$SETTINGS_TITLE" small-entry-pane-scrolled

# A little larger (800 x 600), About is whole.
xdotool windowsize "$(settings_window)" 800 600
wait_for_window_size "$SETTINGS_TITLE" "800 600"
wait_for 10 "About above the footer" control_above "$ROW" About "push button" "Reset to Defaults"
screenshot "$SETTINGS_TITLE" medium
stop_driftmark
echo "PASS"
