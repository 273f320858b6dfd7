# shellcheck shell=bash
# Whether windows and controls are where a user can reach them: on the screen, and not under one
# another. Sourced after settings_helpers.sh.

# The screen's size, "WIDTH HEIGHT".
screen_size() {
  xdpyinfo | sed -n 's/^ *dimensions: *\([0-9]*\)x\([0-9]*\) pixels.*/\1 \2/p'
}

# The window with its frame (as the window manager reports it) lies wholly on the screen.
window_on_screen() {
  local info left top width height extents fl fr ft fb screen_width screen_height
  info=$(xwininfo -id "$1") || return 1
  left=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$info")
  top=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$info")
  width=$(sed -n 's/^ *Width: *//p' <<<"$info")
  height=$(sed -n 's/^ *Height: *//p' <<<"$info")
  extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ' ')
  [ -n "$extents" ] || return 1
  IFS=, read -r fl fr ft fb <<<"$extents"
  read -r screen_width screen_height <<<"$(screen_size)"
  [ $((left - fl)) -ge 0 ] && [ $((top - ft)) -ge 0 ] &&
    [ $((left + width + fr)) -le "$screen_width" ] && [ $((top + height + fb)) -le "$screen_height" ]
}

# control_inside_screen ROLE NAME: the control is wholly on the screen.
control_inside_screen() {
  local x y width height screen_width screen_height
  read -r x y width height <<<"$(atspi --last extents "$1" "$2")" || fail "no $1 '$2'"
  read -r screen_width screen_height <<<"$(screen_size)"
  [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + width)) -le "$screen_width" ] && [ $((y + height)) -le "$screen_height" ] ||
    fail "the $1 '$2' at $x,$y ${width}x$height is not wholly on the $screen_width x $screen_height screen"
}

# control_above ROLE NAME OTHER_ROLE OTHER_NAME: the first control ends at or above where the second
# begins.
control_above() {
  local x y width height ox oy owidth oheight
  read -r x y width height <<<"$(atspi --last --timeout 2 extents "$1" "$2")" || return 1
  read -r ox oy owidth oheight <<<"$(atspi --last --timeout 2 extents "$3" "$4")" || return 1
  [ -n "$y" ] && [ -n "$oy" ] && [ $((y + height)) -le "$oy" ]
}

# visit_every_view ENTRY_TITLE NAME [full]: opens each view of the settings window in turn (General, the
# entry's pane and its text sheet, About, the add form with its text sheet unless the list is full, and
# the reset confirmation), checks that each one's controls are on the screen, and keeps a picture of
# each as NAME-<view>.
visit_every_view() {
  local entry=$1 name=$2 full=${3:-}
  click_control "$ROW" General
  wait_for_control heading Startup
  control_inside_screen "check box" "Start at Login"
  screenshot "$SETTINGS_TITLE" "$name-general"
  click_control "$ROW" "$entry"
  wait_for_control heading "$entry"
  control_inside_screen text "Item Name"
  screenshot "$SETTINGS_TITLE" "$name-entry"
  click_control "push button" "Edit Text"
  visit_text_sheet "$name-entry-text-sheet"
  click_control "$ROW" About
  wait_for_control heading "About Driftmark"
  screenshot "$SETTINGS_TITLE" "$name-about"
  if [ -z "$full" ]; then
    click_control "push button" "Add menu item"
    wait_for_control heading "Add Menu Item"
    control_inside_screen "push button" Save
    control_inside_screen "push button" Cancel
    screenshot "$SETTINGS_TITLE" "$name-add-form"
    click_control "push button" "Edit Text"
    visit_text_sheet "$name-add-form-text-sheet"
    xdotool key Escape
    wait_for_control_gone heading "Add Menu Item"
  fi
  click_control "push button" "Reset to Defaults"
  wait_for_control dialog "Reset All Settings"
  control_inside_screen "push button" Reset
  screenshot "$SETTINGS_TITLE" "$name-reset-confirmation"
  xdotool key Escape
  wait_for_control_gone dialog "Reset All Settings"
}

# visit_text_sheet PICTURE: the text sheet, just opened, fits the screen; Escape closes it.
visit_text_sheet() {
  wait_for_control heading "Edit Text"
  control_inside_screen "push button" "Save Text"
  control_inside_screen text "Clipboard Text"
  screenshot "$SETTINGS_TITLE" "$1"
  xdotool key Escape
  wait_for_control_gone heading "Edit Text"
}
