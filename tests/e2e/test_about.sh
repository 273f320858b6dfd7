#!/usr/bin/env bash
# The about window, from an icon's "About…": its title and its 380 x 380 size, the program's name, path
# and version, and a website link that hands https://driftmark.app to the desktop (xdg-open, here a
# stand-in that writes down what it gets). The settings window's About pane has the same link and
# version. The showing of the window and every opening of the website are logged.
E2E_DESKTOP_OPTIONS="--session-bus --size 1280x1000"
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/settings_helpers.sh"

WEBSITE=https://driftmark.app
# The version the build gives the program: the project's version in CMakeLists.txt.
version=$(sed -n 's/^project(driftmark VERSION \([0-9][0-9.]*\).*/\1/p' "$REPO_DIR/CMakeLists.txt")
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "no project version found in CMakeLists.txt"

first=E1000000-0000-4000-8000-0000000000E1
seed_preferences "[$(item_json "$first" 'First' 'first entry text' false false 0)]"
stand_in_xdg_open
start_driftmark_for_settings "$first"
window_gone "$ABOUT_TITLE" || fail "an about window is shown before it was asked for"

# --- The about window -------------------------------------------------------------------------------
choose_in_menu "$first" about
wait_for 20 "the about window" window_shown "$ABOUT_TITLE"
about=$(window_named "$ABOUT_TITLE")
[ "$(xdotool getwindowname "$about")" = "$ABOUT_TITLE" ] || fail "the about window's title is wrong"
wait_for_window_size "$ABOUT_TITLE" "380 380"
wait_for_log 10 "About window opened"
atspi --timeout 20 --window "$ABOUT_TITLE" center heading Driftmark >/dev/null || fail "the about window has no Driftmark heading"
path_label=$(atspi --window "$ABOUT_TITLE" text label "App Path: $(readlink -f "$DRIFTMARK")") ||
  fail "the about window does not show the program's path"
[ "$path_label" = "$(readlink -f "$DRIFTMARK")" ] || fail "the about window's path reads '$path_label'"
window_gone "$SETTINGS_TITLE" || fail "the about window came with the settings window"
screenshot "$ABOUT_TITLE" window

# The link hands the website to the desktop, once per click.
click_window_control "$ABOUT_TITLE" "$LINK" "Website driftmark.app"
wait_for 10 "xdg-open to get $WEBSITE" opened_at_least "$WEBSITE" 1
wait_for_log 10 "Opening website: driftmark.app"
[ "$(wc -l <"$OPENED_URLS")" = 1 ] || fail "xdg-open was called otherwise: $(cat "$OPENED_URLS")"
window_shown "$ABOUT_TITLE" || fail "the link closed the about window"

# Closed and asked for again, the window comes back and the showing is logged again.
xdotool windowactivate --sync "$about" key alt+F4
wait_for 10 "the about window to close" window_gone "$ABOUT_TITLE"
kill -0 "$DRIFTMARK_PID" || fail "closing the about window ended Driftmark"
choose_in_menu "$first" about
wait_for 20 "the about window again" window_shown "$ABOUT_TITLE"
wait_for_log 10 "About window opened" 2
wait_for_window_size "$ABOUT_TITLE" "380 380"
xdotool windowactivate --sync "$(window_named "$ABOUT_TITLE")" key alt+F4
wait_for 10 "the about window to close again" window_gone "$ABOUT_TITLE"

# --- The About pane of the settings window ----------------------------------------------------------
open_settings "$first"
click_control "$ROW" About
wait_for_control heading "About Driftmark"
wait_for_control "$LINK" "Website driftmark.app"
click_window_control "$SETTINGS_TITLE" "$LINK" "Website driftmark.app"
wait_for 10 "xdg-open to get $WEBSITE from the pane" opened_at_least "$WEBSITE" 2
wait_for_log 10 "Opening website: driftmark.app" 2
[ "$(wc -l <"$OPENED_URLS")" = 2 ] || fail "xdg-open was called otherwise: $(cat "$OPENED_URLS")"
[ "$(log_count "About window opened")" = 2 ] || fail "the About pane was logged as the about window"
screenshot "$SETTINGS_TITLE" pane

# --- The version, as assistive technology reads it ---------------------------------------------------
# Last, so that everything above has run when it fails.
atspi --timeout 3 --window "$SETTINGS_TITLE" center label "Version $version" >/dev/null 2>&1 ||
  fail "the About pane's version is not on the accessibility bus as a label 'Version $version'"
choose_in_menu "$first" about
wait_for 20 "the about window for its version" window_shown "$ABOUT_TITLE"
atspi --timeout 3 --window "$ABOUT_TITLE" center label "Version $version" >/dev/null 2>&1 ||
  fail "the about window's version is not on the accessibility bus as a label 'Version $version'"

stop_driftmark
echo "PASS"
