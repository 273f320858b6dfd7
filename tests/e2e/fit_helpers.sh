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
