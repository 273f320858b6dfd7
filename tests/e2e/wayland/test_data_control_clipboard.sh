#!/usr/bin/env bash
# Driftmark's data-control clipboard on a private headless sway, against wl-clipboard: what it sets is
# what other programs paste with no window focused, what other programs set it reads byte for byte, large
# or not, without ever waiting on them, it lets go of the selection when another program takes it, and it
# outlives the compositor.

DRIVER=${1:?usage: $0 CLIPBOARD_DRIVER}
source "$(dirname "$0")/lib.sh"
for tool in wl-copy wl-paste; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing; run scripts/install-deps" >&2; exit 1; }
done


# start_clipboard NAME [--primary]: a clipboard driver (see start_driver).
start_clipboard() {
  start_driver "$1" "$DRIVER" driver "${@:2}"
}

# read_into DRIVER DIR: a read that the driver completes; its line is in $LINE.
read_into() {
  mkdir -p "$2"
  ask "$1" "read $2"
  [ "$LINE" != reading ] || next "$1"
}

has_type() {
  wl-paste --list-types | grep -qxF -- "$1"
}

clipboard_text_is() {
  [ "$(wl-paste --no-newline)" = "$1" ]
}

driver_string_absent() {
  ask "$1" string
  [ "$LINE" = absent ]
}

# A picture of a few MB; its bytes include every value, NULs too.
png="$WORK/picture.png"
{ printf '\x89PNG\r\n\x1a\n'; head -c 4000000 /dev/urandom; } >"$png"

start_clipboard A
ask A string
expect absent

# Driftmark's text is what another program pastes, with no window to focus.
text='Grüße from Driftmark; with spaces'
ask A "set-string $text"
expect ok
clipboard_text_is "$text" || fail "wl-paste read '$(wl-paste --no-newline)'"
has_type 'text/plain;charset=utf-8' || fail "the clipboard does not offer UTF-8 text"
ask A string
expect "string $text"

# Another program takes the clipboard with a large picture: Driftmark's text is gone, and the picture is
# read in full.
wl-copy --foreground --type image/png <"$png" &
PIDS+=($!)
wait_for 10 "wl-copy's picture" has_type image/png
wait_for 10 "Driftmark to let go of its text" driver_string_absent A
read_into A "$WORK/picture"
expect "read listed=1 stopped=0 contents=image/png unanswered="
cmp -s "$WORK/picture/0" "$png" || fail "the picture read differs from the one copied"

# Written back, the picture is what others paste, byte for byte.
ask A clear
ask A "set-data image/png $WORK/picture/0"
expect ok
wl-paste --type image/png | cmp -s - "$png" || fail "the picture written back differs"
# A program that stops reading halfway does not take Driftmark down with it.
wl-paste --type image/png | head -c 100 >/dev/null
ask A ping
expect pong

# Text offered under every name wl-copy gives it: each type's bytes are read.
printf 'two\nlines' >"$WORK/text"
wl-copy --foreground <"$WORK/text" &
PIDS+=($!)
wait_for 10 "wl-copy's text" clipboard_text_is $'two\nlines'
read_into A "$WORK/text-read"
expect "read listed=1 stopped=0 contents=text/plain,text/plain;charset=utf-8,TEXT,STRING,UTF8_STRING unanswered="
for index in 0 1 2 3 4; do
  cmp -s "$WORK/text-read/$index" "$WORK/text" || fail "text type $index differs"
done

# Text and a picture at once, each with bytes of its own: another driver offers them, Driftmark reads both
# and puts both back, and the other driver's selection ends.
start_clipboard B
ask B "set-string caption"
ask B "set-data image/png $png"
wait_for 10 "the other driver's picture" has_type image/png
read_into A "$WORK/both"
expect "read listed=1 stopped=0 contents=text/plain,text/plain;charset=utf-8,image/png unanswered="
[ "$(cat "$WORK/both/1")" = caption ] || fail "the caption read is '$(cat "$WORK/both/1")'"
cmp -s "$WORK/both/2" "$png" || fail "the picture read beside the text differs"
ask A clear
ask A "set-data text/plain;charset=utf-8 $WORK/both/1"
ask A "set-data image/png $WORK/both/2"
wait_for 10 "the other driver to let go" driver_string_absent B
[ "$(wl-paste --type 'text/plain;charset=utf-8')" = caption ] || fail "the caption written back differs"
wl-paste --type image/png | cmp -s - "$png" || fail "the picture written back beside the text differs"

# An owner that answers one type and never the others: the read waits without holding up the event loop,
# and stopping it gives what came and names what did not.
"$DRIVER" owner "text/plain=partly" image/png application/x-never >"$WORK/owner.out" 2>&1 &
PIDS+=($!)
wait_for 10 "the hanging owner" grep -qx ready "$WORK/owner.out"
mkdir -p "$WORK/hung"
ask A "read $WORK/hung"
expect reading
ask A ping
expect pong
wait_for 10 "the owner's one answer" grep -qx "answered text/plain" "$WORK/owner.out"
ask A ping
expect pong
ask A stop
expect "read listed=1 stopped=1 contents=text/plain unanswered=image/png,application/x-never"
next A
expect ok
[ "$(cat "$WORK/hung/0")" = partly ] || fail "the answered type read '$(cat "$WORK/hung/0")'"

# The primary selection is a selection of its own.
start_clipboard P --primary
ask P "set-string selected words"
[ "$(wl-paste --primary --no-newline)" = "selected words" ] || fail "the primary selection is not Driftmark's"
clipboard_text_is partly || fail "setting the primary selection changed the clipboard"

# The compositor goes away: the loss is said once, and the clipboard answers without it.
kill "$WAYLAND_COMPOSITOR_PID"
next A
[[ "$LINE" == "lost: Lost the connection to the Wayland compositor"* ]] || fail "no word of the lost compositor: '$LINE'"
ask A ping
expect pong
ask A "set-string after the compositor"
ask A string
expect absent
read_into A "$WORK/after"
expect "read listed=0 stopped=0 contents= unanswered="

echo "PASS"
