#!/usr/bin/env bash
# The settings window follows the desktop's colours: with the GTK platform theme and a dark GTK theme in
# Driftmark's environment its background is dark on every view (General, an entry's pane, About and
# the add form), and so are its fields and buttons; without them it is light. A palette changed while
# the window is open shows at once. Pictures of the dark views are kept for a look by eye.
E2E_DESKTOP_OPTIONS="--session-bus --size 1280x1000"
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/settings_helpers.sh"

[ -e "$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null || echo /usr/lib/x86_64-linux-gnu/qt6/plugins)/platformthemes/libqgtk3.so" ] ||
  fail "Qt's GTK platform theme is missing; run scripts/install-deps"

first=A7000000-0000-4000-8000-0000000000A7
seed_preferences "[$(item_json "$first" 'First' 'first entry text' false false 0)]"

# Points of empty background, in window coordinates: low in the pane (under the content of the General
# and About panes), under an entry's pane's last section, and in the sidebar between the entries and
# the About row.
PANE_POINT="650 700"
ENTRY_PANE_POINT="650 750"
SIDEBAR_POINT="120 600"

# The luminance of a point of one of this test's pictures.
background_luminance() {
  local x y
  read -r x y <<<"$2"
  pixel_luminance "$SCREENSHOTS/$SCREENSHOT_PREFIX-$1.png" "$x" "$y"
}

# A point of the add form's empty background, in window coordinates: a little right of its Smart Paste
# check box (whose extents take in its label).
add_form_point() {
  local box x y width height info left top
  box=$(atspi --last extents "check box" "Enable Smart Paste") || fail "the add form has no Smart Paste check box"
  read -r x y width height <<<"$box"
  # The window's place on the screen as the X server has it (xdotool's adds the frame once more).
  info=$(xwininfo -id "$(settings_window)")
  left=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$info")
  top=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$info")
  echo "$((x + width + 20 - left)) $((y + height / 2 - top))"
}

# inside_control ROLE NAME: a point inside the control near its right end, clear of its text, in
# window coordinates.
inside_control() {
  local x y width height info left top
  read -r x y width height <<<"$(atspi --last extents "$1" "$2")" || fail "no $1 '$2'"
  info=$(xwininfo -id "$(settings_window)")
  left=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$info")
  top=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$info")
  echo "$((x + width - 6 - left)) $((y + height / 2 - top))"
}

# is_dark SHOT POINT / is_light SHOT POINT: the point of the picture is darker than 0.3 or lighter than 0.7.
is_dark() {
  local luminance
  luminance=$(background_luminance "$1" "$2") || fail "no pixel at $2 of $1"
  awk -v l="$luminance" 'BEGIN { exit !(l < 0.3) }' || fail "the background of $1 at $2 is not dark (luminance $luminance)"
}

# is_dimmed SHOT POINT: the point is darker than 0.5: no longer the light style's white.
is_dimmed() {
  local luminance
  luminance=$(background_luminance "$1" "$2") || fail "no pixel at $2 of $1"
  awk -v l="$luminance" 'BEGIN { exit !(l < 0.5) }' || fail "the control of $1 at $2 is still light (luminance $luminance)"
}

is_light() {
  local luminance
  luminance=$(background_luminance "$1" "$2") || fail "no pixel at $2 of $1"
  awk -v l="$luminance" 'BEGIN { exit !(l > 0.7) }' || fail "the background of $1 at $2 is not light (luminance $luminance)"
}

# --- Dark ---------------------------------------------------------------------------------------------
# Only this start of Driftmark gets the variables; the light one below runs without them whatever the
# calling environment has.
unset QT_QPA_PLATFORMTHEME GTK_THEME
export QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark
start_driftmark_for_settings "$first"
unset QT_QPA_PLATFORMTHEME GTK_THEME
open_settings "$first"
wait_for_control heading "Startup"
screenshot "$SETTINGS_TITLE" general-dark
is_dark general-dark "$PANE_POINT"
is_dark general-dark "$SIDEBAR_POINT"

click_control "$ROW" First
wait_for_control heading First
wait_for_text text "Item Name" First
screenshot "$SETTINGS_TITLE" entry-pane-dark
is_dark entry-pane-dark "$ENTRY_PANE_POINT"
is_dark entry-pane-dark "$SIDEBAR_POINT"
# The controls take the desktop's colours too: the name field, the shortcut field and the Edit button.
is_dark entry-pane-dark "$(inside_control text "Item Name")"
is_dark entry-pane-dark "$(inside_control text "Keyboard Shortcut")"
is_dark entry-pane-dark "$(inside_control "push button" "Edit Text")"

click_control "$ROW" About
wait_for_control heading "About Driftmark"
screenshot "$SETTINGS_TITLE" about-pane-dark
is_dark about-pane-dark "$PANE_POINT"

click_control "push button" "Add menu item"
wait_for_control heading "Add Menu Item"
screenshot "$SETTINGS_TITLE" add-form-dark
is_dark add-form-dark "$SIDEBAR_POINT"
is_dark add-form-dark "$(add_form_point)"
click_control "push button" Cancel
wait_for_control_gone heading "Add Menu Item"
stop_driftmark

# --- Light, without the variables -----------------------------------------------------------------------
start_driftmark_for_settings "$first"
open_settings "$first"
wait_for_control heading "Startup"
screenshot "$SETTINGS_TITLE" general-light
is_light general-light "$PANE_POINT"
is_light general-light "$SIDEBAR_POINT"
click_control "push button" "Add menu item"
wait_for_control heading "Add Menu Item"
screenshot "$SETTINGS_TITLE" add-form-light
is_light add-form-light "$(add_form_point)"
stop_driftmark

# --- Changed while the window is open -------------------------------------------------------------------
# A desktop's settings program changes the palette of running programs, as Plasma does: here qt6ct's
# platform theme, which reads its colours again when its settings change.
qt6ct_scheme() {
  mkdir -p "$XDG_CONFIG_HOME/qt6ct"
  printf '[Appearance]\ncustom_palette=true\ncolor_scheme_path=/usr/share/qt6ct/colors/%s.conf\nstyle=Fusion\n' "$1" \
    >"$XDG_CONFIG_HOME/qt6ct/qt6ct.conf.new"
  mv "$XDG_CONFIG_HOME/qt6ct/qt6ct.conf.new" "$XDG_CONFIG_HOME/qt6ct/qt6ct.conf"
}
[ -f /usr/share/qt6ct/colors/darker.conf ] || fail "qt6ct is missing; run scripts/install-deps"
qt6ct_scheme airy
export QT_QPA_PLATFORMTHEME=qt6ct
start_driftmark_for_settings "$first"
unset QT_QPA_PLATFORMTHEME
open_settings "$first"
click_control "$ROW" First
wait_for_control heading First
screenshot "$SETTINGS_TITLE" entry-pane-before-change
is_light entry-pane-before-change "$ENTRY_PANE_POINT"
is_light entry-pane-before-change "$(inside_control text "Item Name")"

qt6ct_scheme darker
pane_turned_dark() {
  screenshot "$SETTINGS_TITLE" entry-pane-changed >/dev/null &&
    awk -v l="$(background_luminance entry-pane-changed "$ENTRY_PANE_POINT")" 'BEGIN { exit !(l < 0.3) }'
}
wait_for 20 "the open window to turn dark" pane_turned_dark
is_dark entry-pane-changed "$SIDEBAR_POINT"
is_dark entry-pane-changed "$(inside_control text "Item Name")"
is_dark entry-pane-changed "$(inside_control text "Keyboard Shortcut")"
# Buttons are a shade lighter than fields in a dark palette, but no longer white.
is_dimmed entry-pane-changed "$(inside_control "push button" "Edit Text")"
stop_driftmark
echo "PASS"
