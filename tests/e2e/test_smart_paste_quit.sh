#!/usr/bin/env bash
# Quitting while a Smart Paste holds the clipboard: by SIGTERM, SIGINT, SIGHUP or the menu's Ctrl+Q
# between the copy and the restore, Driftmark first puts the user's clipboard back and then hands that
# to the running clipboard manager, so the user's text and picture survive Driftmark. A quit after the
# restore hands over the same.
source "$(dirname "$0")/lib.sh"

smart=8A000000-0000-4000-8000-00000000008A
pasted='pasted by Driftmark'
seed_preferences "[$(item_json "$smart" 'Pasted' "$pasted" true false 0)]"
start_clipboard_manager
start_target "$E2E_HOME/target.txt"
earlier="$E2E_HOME/earlier.txt"
picture="$E2E_HOME/earlier.png"
write_png "$picture"
rounds=0

driftmark_ended() {
  local state
  state=$(ps -o stat= -p "$DRIFTMARK_PID" 2>/dev/null) || return 0
  [[ $state == Z* ]]
}

hand_overs() {
  grep -c '^saved ' "$CLIPBOARD_MANAGER_OUT" || true
}

# A fresh Driftmark while another program offers the user's text and picture, new for each round.
begin_round() {
  rounds=$((rounds + 1))
  printf 'the user\x27s own text, round %s' "$rounds" >"$earlier"
  start_driftmark
  wait_for 20 "the icon" icon_visible "$smart"
  offer_clipboard_text_and_image "$earlier" "$picture"
  wait_for 10 "the user's clipboard" clipboard_matches text/plain "$earlier"
}

# quit_during_smart_paste HOW: Driftmark starts, the user's clipboard holds a text of this round and
# a picture, a Smart Paste starts, and as soon as the entry's text is on the clipboard Driftmark is
# told to quit: HOW is a signal's name, or "menu" for Ctrl+Q in the entry's open menu (the paste then
# comes from the first entry's shortcut, typed into the open menu). On a machine so slow that the
# restore comes first the round says nothing, and runs again.
quit_during_smart_paste() {
  local how=$1 status at_quit timed overs
  for _ in 1 2 3; do
    begin_round
    at_quit=$(log_count "Clipboard restored at quit")
    timed=$(log_count "Clipboard restored after")
    overs=$(hand_overs)
    if [ "$how" = menu ]; then
      click_icon "$smart" 3
      wait_for 10 "the context menu" context_menu_shown
      xdotool key ctrl+shift+u
      wait_for 10 "the entry's text on the clipboard" clipboard_is "$pasted"
      xdotool key ctrl+q
    else
      click_icon "$smart" 1
      wait_for 10 "the entry's text on the clipboard" clipboard_is "$pasted"
      kill -s "$how" "$DRIFTMARK_PID"
    fi
    wait_for 20 "Driftmark to quit ($how)" driftmark_ended
    status=0
    wait "$DRIFTMARK_PID" || status=$?
    [ "$status" -eq 0 ] || fail "quitting by $how ended driftmark-menubar with status $status"
    wait_for 10 "the clipboard manager to take the clipboard over ($how)" hand_over_since "$overs"
    clipboard_matches text/plain "$earlier" ||
      fail "after quitting by $how the clipboard holds '$(clipboard_text)', not the user's text"
    clipboard_matches image/png "$picture" || fail "after quitting by $how the user's picture is gone"
    if [ "$(log_count "Clipboard restored at quit")" -gt "$at_quit" ]; then
      return 0
    fi
    [ "$(log_count "Clipboard restored after")" -gt "$timed" ] ||
      fail "quitting by $how during a Smart Paste did not put the clipboard back"
  done
  fail "the restore came before every quit by $how"
}

hand_over_since() {
  [ "$(hand_overs)" -gt "$1" ]
}

# A quit after the restore: the restored clipboard goes to the manager.
begin_round
click_icon "$smart" 1
wait_for_log 10 "Clipboard restored after 0.8s delay"
stop_driftmark
wait_for 10 "the clipboard manager to take the clipboard over" hand_over_since 0
clipboard_matches text/plain "$earlier" || fail "after the restore and a quit the clipboard holds '$(clipboard_text)'"
clipboard_matches image/png "$picture" || fail "after the restore and a quit the user's picture is gone"

for how in TERM INT HUP menu; do
  quit_during_smart_paste "$how"
done
echo "PASS"
