#!/usr/bin/env bash
# Smart Paste into terminal emulators, which do not paste with Ctrl+V: xterm pastes the PRIMARY selection
# with Shift+Insert, LXTerminal the clipboard with Ctrl+Shift+V. In each the entry's text arrives at the
# program reading the terminal, and the user's earlier clipboard and PRIMARY selection come back.
source "$(dirname "$0")/lib.sh"

for tool in xterm lxterminal; do
  command -v "$tool" >/dev/null || fail "$tool is missing; run scripts/install-deps"
done

plain=5E000000-0000-4000-8000-00000000005E
newline=6F000000-0000-4000-8000-00000000006F
seed_preferences "[$(item_json "$plain" 'Command' 'echo wörld ✓' true false 0),$(item_json "$newline" 'Second' 'ls -la' true true 1)]"
start_driftmark
wait_for 20 "the icons" icon_visible "$newline"

# The terminals run in UTF-8, as a user's do; what their program reads goes to a file byte for byte, as
# it arrives (no line editing).
export LANG=C.UTF-8 LC_ALL=C.UTF-8
reader="stty -icanon; exec cat >"

# start_terminal CLASS FILE COMMAND...: starts the terminal, whose program writes what it reads to FILE,
# and waits until its window is the active one; the window is then in $TERMINAL_WINDOW.
start_terminal() {
  local class=$1 file=$2
  shift 2
  "$@" -e sh -c "$reader '$file'" >"$E2E_HOME/$class.out" 2>&1 &
  E2E_PIDS+=($!)
  wait_for 20 "the $class window" terminal_mapped "$class"
  TERMINAL_WINDOW=$(xdotool search --onlyvisible --class "^$class\$" | head -n 1)
  wait_for 10 "the $class window to be active" terminal_active
  wait_for 10 "the program in $class" test -e "$file"
}

terminal_mapped() {
  [ -n "$(xdotool search --onlyvisible --class "^$1\$" 2>/dev/null)" ]
}

terminal_active() {
  [ "$(xdotool getactivewindow 2>/dev/null)" = "$TERMINAL_WINDOW" ]
}

primary_is() {
  [ "$(timeout 5 xclip -selection primary -o 2>/dev/null)" = "$1" ]
}

# The user's own clipboard and selection, owned by other programs.
printf 'the earlier clipboard, naïve café' >"$E2E_HOME/earlier.txt"
write_png "$E2E_HOME/earlier.png"
offer_clipboard_text_and_image "$E2E_HOME/earlier.txt" "$E2E_HOME/earlier.png"
printf 'the earlier selection' | xclip -quiet -selection primary -i >/dev/null 2>&1 &
E2E_PIDS+=($!)
wait_for 10 "the selection to hold the earlier text" primary_is 'the earlier selection'

expect_earlier_selections() {
  clipboard_matches text/plain "$E2E_HOME/earlier.txt" || fail "the earlier text/plain was not restored"
  clipboard_matches image/png "$E2E_HOME/earlier.png" || fail "the earlier image/png was not restored"
  primary_is 'the earlier selection' || fail "the earlier PRIMARY selection was not restored"
}

# xterm: Shift+Insert, from PRIMARY; the second entry types Return first.
typed="$E2E_HOME/xterm.txt"
start_terminal XTerm "$typed" xterm
click_icon "$plain" 1
printf 'echo wörld ✓' >"$E2E_HOME/expected.txt"
wait_for 10 "the text in xterm" file_is "$typed" "$E2E_HOME/expected.txt"
wait_for_log 10 "Primary selection restored after 0.8s delay"
log_has "Paste chord for XTerm: Shift+Insert" || fail "the chord for xterm was not logged"
log_has "Clipboard restored after 0.8s delay" || fail "the clipboard restore was not logged"
expect_earlier_selections

click_icon "$newline" 1
printf 'echo wörld ✓\nls -la' >"$E2E_HOME/expected.txt"
wait_for 10 "the newline and text in xterm" file_is "$typed" "$E2E_HOME/expected.txt"
wait_for_log 10 "Primary selection restored after 0.8s delay" 2
expect_earlier_selections

# LXTerminal: Ctrl+Shift+V, from the clipboard; PRIMARY is left alone.
typed="$E2E_HOME/lxterminal.txt"
start_terminal Lxterminal "$typed" lxterminal --no-remote
click_icon "$plain" 1
printf 'echo wörld ✓' >"$E2E_HOME/expected.txt"
wait_for 10 "the text in LXTerminal" file_is "$typed" "$E2E_HOME/expected.txt"
wait_for_log 10 "Clipboard restored after 0.8s delay" 3
log_has "Paste chord for Lxterminal: Ctrl+Shift+V" || fail "the chord for LXTerminal was not logged"
[ "$(log_count "Primary selection restored")" -eq 2 ] || fail "PRIMARY was touched for LXTerminal"
expect_earlier_selections
stop_driftmark
echo "PASS"
