#!/usr/bin/env bash
# What entries hold is shown as text in every view: titles and texts with markup (an <img> pointing at a
# server, <b>, &amp;) are neither drawn as markup nor fetched. A local server stands for the one a shared
# preferences file would name; it must hear nothing while every view showing the entries is opened.
E2E_DESKTOP_OPTIONS="--session-bus --size 1366x768"
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/settings_helpers.sh"

# A server on a free local port that writes every request it gets to its log.
SERVER_LOG="$E2E_HOME/server.log"
"$ATSPI_PYTHON" - "$SERVER_LOG" >"$E2E_HOME/server.port" <<'SERVER' &
import http.server, sys
log = open(sys.argv[1], "a", buffering=1)
class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        log.write(self.path + "\n")
        self.send_response(404)
        self.end_headers()
    def log_message(self, *args):
        pass
server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
print(server.server_address[1], flush=True)
server.serve_forever()
SERVER
E2E_PIDS+=($!)
wait_for 10 "the local server" test -s "$E2E_HOME/server.port"
port=$(cat "$E2E_HOME/server.port")
: >>"$SERVER_LOG"

pixel="<img src=\"http://127.0.0.1:$port/title.png\">Pixel"
bold='<b>Bold</b> &amp; co'
first=9E000000-0000-4000-8000-000000000001
second=9E000000-0000-4000-8000-000000000002
seed_preferences "[$(item_json "$first" "$pixel" "<img src=\"http://127.0.0.1:$port/text.png\">" false false 0),$(item_json "$second" "$bold" "<i>text</i>" false false 1)]"
start_driftmark_for_settings "$first" "$second"
open_settings "$first"

# Every view that shows a title or a text: the sidebar, each entry's pane, its text sheet, the delete
# confirmation, and the conflict alert that names an entry.
click_control "$ROW" "$pixel"
wait_for_control heading "$pixel"
wait_for_text text "Item Name" "$pixel"
screenshot "$SETTINGS_TITLE" pixel-entry
click_control "push button" "Edit Text"
wait_for_control heading "Edit Text"
xdotool key Escape
wait_for_control_gone heading "Edit Text"
click_control "push button" "Delete $pixel"
wait_for_control dialog "Delete Menu Item"
screenshot "$SETTINGS_TITLE" pixel-delete-confirmation
xdotool key Escape
wait_for_control_gone dialog "Delete Menu Item"
click_control "$ROW" "$bold"
wait_for_control heading "$bold"
screenshot "$SETTINGS_TITLE" bold-entry
sleep 2
[ ! -s "$SERVER_LOG" ] || fail "the settings window fetched from the network: $(cat "$SERVER_LOG")"

# Drawn as text: the markup title's heading is as wide as all its characters ("<b>Bold</b> &amp; co"),
# more than twice what the markup's visible "Bold & co" would take.
read -r x y width height <<<"$(atspi --last extents heading "$bold")" || fail "no heading '$bold'"
import -window root -crop "${width}x${height}+$x+$y" +repage "$E2E_HOME/heading.png" 2>/dev/null
painted=$(convert "$E2E_HOME/heading.png" -fuzz 25% -trim -format '%w' info:)
[ "$painted" -gt 180 ] || fail "the heading '$bold' is drawn $painted pixels wide: as markup, not as its text"
stop_driftmark
echo "PASS"
