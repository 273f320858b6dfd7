#!/usr/bin/env bash
# A StatusNotifierWatcher that answers the items' registrations with an error: Driftmark says so once, on
# standard error and in the log, and shows the icons in the X11 tray instead; a watcher that takes its
# place is asked again and gets them. With DRIFTMARK_TRAY=sni the icons keep off the X11 tray, and the
# message says how to have them shown.
E2E_DESKTOP_OPTIONS="--session-bus"
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/sni_helpers.sh"

REFUSED="The StatusNotifierItem watcher refused Driftmark's icons (org.example.Watcher.Error.Refused: this watcher takes no items)"
seed_numbered_entries 3

three_registered_in_order() {
  [ "$(registered_ids)" = "$(printf 'driftmark-%s\n' "$first" "$second" "$third")" ]
}

three_docked() {
  [ "$(xembed_icon_count)" = 3 ]
}

none_docked() {
  [ "$(xembed_icon_count)" = 0 ]
}

# Every item was refused, so no later refusal can add to what was said.
three_refused() {
  fake_watcher_count_at_least refused 3
}

# A refusing watcher: said once, and the icons in the X11 tray, where they work.
start_fake_watcher refuse
start_driftmark
wait_for 20 "the items refused" three_refused
wait_for 20 "the icons in the X11 tray" three_docked
wait_for 10 "the refusal on standard error" grep -qF "$REFUSED; showing them in the X11 system tray instead" "$DRIFTMARK_OUT"
wait_for 10 "the refusal in the log" log_has "$REFUSED; showing them in the X11 system tray instead"
[ "$(output_count "$REFUSED")" = 1 ] || fail "the refusal was said $(output_count "$REFUSED") times"
click_icon "$second" 1
wait_for 10 "the clipboard to hold text 2" clipboard_is "text 2"

# The watcher restarts and takes items now: asked again, it gets them, and the X11 tray lets them go.
stop_fake_watcher
start_fake_watcher accept
wait_for 20 "the items registered with the new watcher" three_registered_in_order
wait_for 20 "the icons to leave the X11 tray" none_docked
[ "$(output_count "$REFUSED")" = 1 ] || fail "the refusal was said $(output_count "$REFUSED") times"
stop_driftmark
stop_fake_watcher

# DRIFTMARK_TRAY=sni: the refusal says how to have the icons shown, and they keep off the X11 tray until
# a watcher takes them.
start_fake_watcher refuse
DRIFTMARK_TRAY=sni start_driftmark
wait_for 20 "the items refused" three_refused
wait_for 10 "the refusal on standard error" grep -qF "$REFUSED; the icons cannot be shown until a StatusNotifierItem host that takes them starts, or with --tray xembed in an X11 system tray" "$DRIFTMARK_OUT"
none_docked || fail "icons docked in the X11 tray although StatusNotifierItem was chosen"
[ "$(output_count "$REFUSED")" = 1 ] || fail "the refusal was said $(output_count "$REFUSED") times"
stop_fake_watcher
start_fake_watcher accept
wait_for 20 "the items registered with the new watcher" three_registered_in_order
none_docked || fail "icons docked in the X11 tray although StatusNotifierItem was chosen"
stop_driftmark
echo "PASS"
