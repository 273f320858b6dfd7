#!/usr/bin/env bash
# Driftmark's foreign-toplevel workspace on a private headless sway, with native Wayland windows, one of
# them with Driftmark's own app_id: frontmost and previous follow sway's focus, Driftmark's window is never
# the previous one, activating the previous one focuses it, and a closed window is forgotten.
DRIVER="$(dirname "${1:?usage: $0 CLIPBOARD_DRIVER}")/driftmark_e2e_wayland_workspace"
source "$(dirname "$0")/lib.sh"
export QT_QPA_PLATFORM=wayland

# sway's command socket lies beside its Wayland socket.
wait_for 10 "sway's command socket" compgen -G "$(dirname "$WAYLAND_DISPLAY")/sway-ipc.*.sock"
SWAYSOCK=$(compgen -G "$(dirname "$WAYLAND_DISPLAY")/sway-ipc.*.sock") && export SWAYSOCK

mkfifo "$WORK/in" "$WORK/out"
"$DRIVER" driver <"$WORK/in" >"$WORK/out" &
exec {IN}>"$WORK/in" {OUT}<"$WORK/out"
ask() { echo "$1" >&"$IN"; read -r -t 20 LINE <&"$OUT" || fail "the driver stopped answering"; }
# is frontmost|previous APP_ID NAME: whether that application is the one, its handle into $HANDLE.
is() { ask "$1" && read -r HANDLE app name <<<"$LINE" && [ "$app $name" = "$2 $3" ]; }
absent() { ask "$1" && [ "$LINE" = absent ]; }
focused() { [ "$(swaymsg -t get_tree | jq -r '.. | objects | select(.focused) | .app_id')" = "$1" ]; }
open() { "$DRIVER" window "$1" "$2" & wait_for 10 "sway to focus $1" focused "$1"; }

absent previous || fail "a previous application on an empty desktop: '$LINE'"
open org.example.Editor "Editor window"
wait_for 10 "the editor to be frontmost" is frontmost org.example.Editor "Editor window"
editor=$HANDLE
open org.example.Notes "Notes window"
notes_pid=$!
wait_for 10 "the notes to be previous" is previous org.example.Notes "Notes window"
notes=$HANDLE
[ "$notes" != "$editor" ] || fail "two windows share the handle $notes"
swaymsg '[app_id="org.example.Editor"] focus' >/dev/null
wait_for 10 "the editor to be previous again" is previous org.example.Editor "Editor window"
[ "$HANDLE" = "$editor" ] || fail "the editor's handle changed from $editor to $HANDLE"

# Driftmark's own window is frontmost under Driftmark's identifier, and never previous.
open app.driftmark.menubar "Driftmark Settings"
wait_for 10 "Driftmark's window to be frontmost" is frontmost app.driftmark.menubar "Driftmark Settings"
is previous org.example.Editor "Editor window" || fail "the previous application is '$LINE'"
ask "activate $editor"
[ "$LINE" = activated ] || fail "activating the editor answered '$LINE'"
wait_for 10 "sway to focus the editor" focused org.example.Editor

# The previous window closes while Driftmark's is in front: it is forgotten, and its handle refused.
swaymsg '[app_id="org.example.Notes"] focus' >/dev/null
swaymsg '[app_id="app.driftmark.menubar"] focus' >/dev/null
wait_for 10 "Driftmark's window to be frontmost" is frontmost app.driftmark.menubar "Driftmark Settings"
is previous org.example.Notes "Notes window" || fail "the previous application is '$LINE'"
kill "$notes_pid"
wait_for 10 "the closed notes to be forgotten" absent previous
ask "activate $notes"
[ "$LINE" = refused ] || fail "activating the closed window answered '$LINE'"
echo PASS
