#!/usr/bin/env bash
# On a Wayland desktop whose compositor offers none of the protocols Driftmark uses for the clipboard, the
# keystrokes and the windows (as GNOME's does not), Driftmark still starts, through XWayland, and says once,
# on standard error and in the log, what does not work and why; one that cannot reach the compositor at
# all says that instead. Both say how to bind an entry to a key in the compositor, since global shortcuts
# go through XWayland. Copying still works through X11. The settings window says the same on its
# General pane, where a user looks when something does not work.
E2E_DESKTOP_OPTIONS="--session-bus --size 1280x1000"
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/settings_helpers.sh"

BARE_COMPOSITOR=$(dirname "$TARGET_WINDOW")/driftmark_e2e_wayland_bare_compositor
"$BARE_COMPOSITOR" >"$E2E_HOME/bare.out" 2>"$E2E_HOME/bare.err" &
E2E_PIDS+=($!)
wait_for 10 "the compositor's socket" test -s "$E2E_HOME/bare.out"

entry=5E000000-0000-4000-8000-0000000000A1
seed_preferences "[$(item_json "$entry" 'Plain' 'copied through X11' false false 0)]"
export WAYLAND_DISPLAY
WAYLAND_DISPLAY=$(head -n 1 "$E2E_HOME/bare.out")
start_driftmark
wait_for 20 "the icon" icon_visible "$entry"
for missing in "No data-control protocol" "No virtual keyboard" "No list of windows" \
  "bind \`driftmark-menubar --paste N\`"; do
  [ "$(output_count "$missing")" -eq 1 ] || fail "'$missing' said $(output_count "$missing") times: $(cat "$DRIFTMARK_OUT")"
  grep -rqF "$missing" "$LOG_DIR" || fail "'$missing' is not in the log"
done
click_icon "$entry" 1
wait_for 10 "the entry's text on the clipboard" clipboard_is 'copied through X11'

open_settings "$entry"
wait_for_control heading "This Desktop"
atspi --window "$SETTINGS_TITLE" dump >"$E2E_HOME/settings.tree"
for missing in "No data-control protocol" "No virtual keyboard" "No list of windows" \
  "bind \`driftmark-menubar --paste N\`"; do
  grep -qF "$missing" "$E2E_HOME/settings.tree" || fail "the settings window does not say '$missing'"
done
screenshot "$SETTINGS_TITLE" general-pane
stop_driftmark

# Without Wayland the pane says nothing about the desktop.
unset WAYLAND_DISPLAY
start_driftmark_for_settings "$entry"
open_settings "$entry"
atspi --window "$SETTINGS_TITLE" count heading "Startup" | grep -qx 1 || fail "no General pane"
[ "$(atspi --window "$SETTINGS_TITLE" count heading "This Desktop")" = 0 ] ||
  fail "the settings window speaks of the desktop on X11"
stop_driftmark
export WAYLAND_DISPLAY

WAYLAND_DISPLAY=nowhere-to-be-found
start_driftmark
wait_for 20 "the icon" icon_visible "$entry"
wait_for 10 "the unreachable compositor named" grep -qF "cannot reach the Wayland compositor named by WAYLAND_DISPLAY" "$DRIFTMARK_OUT"
stop_driftmark
echo "PASS"
