#!/usr/bin/env bash
# A StatusNotifierWatcher that refuses the items where no X11 tray runs either: Driftmark says once that
# the icons cannot be shown and what shows them; a system tray that starts then gets them, and so does a
# watcher that takes them later.
E2E_DESKTOP_OPTIONS="--no-tray --session-bus"
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/sni_helpers.sh"

REFUSED="The StatusNotifierItem watcher refused Driftmark's icons (org.example.Watcher.Error.Refused: this watcher takes no items), and no X11 system tray is running: the icons cannot be shown until a system tray or a StatusNotifierItem host that takes them starts"
seed_numbered_entries 2

two_registered_in_order() {
  [ "$(registered_ids)" = "$(printf 'driftmark-%s\n' "$first" "$second")" ]
}

two_docked() {
  [ "$(xembed_icon_count)" = 2 ]
}

none_docked() {
  [ "$(xembed_icon_count)" = 0 ]
}

start_fake_watcher refuse
start_driftmark
wait_for 20 "the items refused" fake_watcher_count_at_least refused 2
wait_for 10 "the refusal on standard error" grep -qF "$REFUSED" "$DRIFTMARK_OUT"
wait_for 10 "the refusal in the log" log_has "$REFUSED"
[ "$(output_count "The StatusNotifierItem watcher refused")" = 1 ] ||
  fail "the refusal was said $(output_count "The StatusNotifierItem watcher refused") times"
[ "$(output_count "No system tray is running")" = 0 ] || fail "the missing X11 tray was said on its own as well"

# A system tray starts: the icons dock in it and work.
$TRAY_COMMAND >>"$E2E_HOME/tray.out" 2>&1 &
E2E_PIDS+=($!)
wait_for 20 "the icons in the new X11 tray" two_docked
click_icon "$second" 1
wait_for 10 "the clipboard to hold text 2" clipboard_is "text 2"

# A watcher that takes the items replaces the refusing one: they go to it.
stop_fake_watcher
start_fake_watcher accept
wait_for 20 "the items registered with the new watcher" two_registered_in_order
wait_for 20 "the icons to leave the X11 tray" none_docked
stop_driftmark
echo "PASS"
