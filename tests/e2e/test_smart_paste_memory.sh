#!/usr/bin/env bash
# A large clipboard saved and put back by Smart Paste costs memory only while Driftmark serves it:
# once another program owns the clipboard, Driftmark's resident memory is back within a few MB of
# what it was before.
source "$(dirname "$0")/lib.sh"

smart=9B000000-0000-4000-8000-00000000009B
seed_preferences "[$(item_json "$smart" 'Pasted' 'pasted by Driftmark' true false 0)]"
start_driftmark
wait_for 20 "the icon" icon_visible "$smart"
start_target "$E2E_HOME/target.txt"

# Resident memory in kB.
resident() {
  awk '/^VmRSS:/ { print $2 }' "/proc/$DRIFTMARK_PID/status"
}
# One Smart Paste with a small clipboard first, so that what any paste loads once is loaded.
printf 'the user\x27s own text' >"$E2E_HOME/earlier.txt"
write_png "$E2E_HOME/small.png"
offer_clipboard_text_and_image "$E2E_HOME/earlier.txt" "$E2E_HOME/small.png"
click_icon "$smart" 1
wait_for_log 10 "Clipboard restored after 0.8s delay"
offer_clipboard_text 'something else'
idle=$(resident)

# A 50 MB picture. On a machine too slow to bring it within the save's time limit the picture is not
# saved (and the log says so); that round says nothing about memory, and runs again.
head -c 50000000 /dev/urandom >"$E2E_HOME/large.png"
for attempt in 1 2 3; do
  whole=$(log_count "Clipboard restored after 0.8s delay")
  offer_clipboard_text_and_image "$E2E_HOME/earlier.txt" "$E2E_HOME/large.png"
  click_icon "$smart" 1
  wait_for_log 20 "restored after 0.8s delay" $((attempt + 1))
  if [ "$(log_count "Clipboard restored after 0.8s delay")" -gt "$whole" ]; then
    clipboard_matches image/png "$E2E_HOME/large.png" || fail "the large picture was not restored"
    break
  fi
  log_has "Clipboard partly restored after 0.8s delay: restored text/plain; lost image/png" ||
    fail "the large picture was neither restored nor reported lost"
  [ "$attempt" -lt 3 ] || fail "the large picture could not be saved within the time limit, three times"
done
[ "$(resident)" -gt $((idle + 40000)) ] || fail "the restored picture is not in memory: $(resident) kB against $idle kB idle"

# Another program takes the clipboard: the picture's memory goes back to the system.
offer_clipboard_text 'taken over'
deadline=$((SECONDS + 10))
until [ "$(resident)" -le $((idle + 5000)) ]; do
  [ $SECONDS -lt $deadline ] ||
    fail "resident memory stays at $(resident) kB once the picture is gone from the clipboard; idle it was $idle kB"
  sleep 0.1
done
stop_driftmark
echo "PASS"
