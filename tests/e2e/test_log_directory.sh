#!/usr/bin/env bash
# The log is written only into a private directory of the user's own and never through a link: a
# linked log directory is refused with one line and Driftmark runs on without a log file; a linked log
# file is left alone.
source "$(dirname "$0")/lib.sh"

ID=6C000000-0000-4000-8000-00000000006C
seed_preferences "[$(item_json $ID 'Plain' 'text' false false 0)]"
SHARED_DIR="$E2E_HOME/shared"
mkdir -p "$SHARED_DIR" "$(dirname "$LOG_DIR")"
chmod 777 "$SHARED_DIR"

# --- The log directory links to a directory anyone may write -----------------------------------------
ln -s "$SHARED_DIR" "$LOG_DIR"
start_driftmark
refusal="Log directory $LOG_DIR is a symbolic link, not a directory of your own; the log is not written to files"
wait_for 20 "the refusal" grep -qxF "$refusal" "$DRIFTMARK_OUT"
wait_for 20 "the icon" icon_visible $ID
click_icon $ID 1
wait_for 10 "the copied text" clipboard_is text
stop_driftmark
[ "$(output_count "Log directory")" = 1 ] || fail "the refusal is not said once"
[ "$(output_count "Failed to")" = 0 ] || fail "a failure line follows the refusal"
[ -z "$(ls -A "$SHARED_DIR")" ] || fail "written through the link: $(ls -A "$SHARED_DIR")"
[ "$(stat -c %a "$SHARED_DIR")" = 777 ] || fail "the link's target was changed"
[ -L "$LOG_DIR" ] || fail "the link was replaced"

# --- A directory of the user's own that others may read, with today's file linked elsewhere ----------
rm "$LOG_DIR"
mkdir -m 755 "$LOG_DIR"
readable="$SHARED_DIR/readable.log"
: >"$readable"
chmod 644 "$readable"
ln -s "$readable" "$LOG_DIR/driftmark-menubar-$(date +%F).log"
start_driftmark
wait_for 20 "the icon" icon_visible $ID
wait_for 20 "the logger's refused write" grep -qF "Failed to write log: $LOG_DIR/driftmark-menubar-" "$DRIFTMARK_OUT"
stop_driftmark
[ "$(stat -c %a "$LOG_DIR")" = 700 ] || fail "the log directory was not made private"
[ ! -s "$readable" ] || fail "lines were written through the linked file: $(cat "$readable")"
[ -L "$LOG_DIR/driftmark-menubar-$(date +%F).log" ] || fail "the linked file was replaced"
[ "$(output_count "Log directory")" = 0 ] || fail "a directory of the user's own was refused"
echo "PASS"
