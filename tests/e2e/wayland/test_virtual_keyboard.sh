#!/usr/bin/env bash
# Driftmark's keystrokes through its own virtual keyboard on a private headless sway, into a native
# Wayland window: the paste chord pastes what wl-copy put on the clipboard, Return and Shift+Insert
# arrive as such, a modifier key held on Driftmark's keyboard is set aside for a chord and back after it,
# no chord leaves a modifier behind, and the keys are read with the layout of the user's keyboard. sway lets Driftmark type; a compositor without virtual keyboards
# does not, and the prompt says what it lacks.

CLIPBOARD_DRIVER=${1:?usage: $0 CLIPBOARD_DRIVER}
source "$(dirname "$0")/lib.sh"
BIN_DIR=$(dirname "$CLIPBOARD_DRIVER")
KEYS=$BIN_DIR/driftmark_e2e_wayland_keys
TARGET=$BIN_DIR/driftmark_e2e_wayland_key_target
BARE_COMPOSITOR=$BIN_DIR/driftmark_e2e_wayland_bare_compositor
command -v wl-copy >/dev/null || { echo "FAIL: wl-copy is missing; run scripts/install-deps" >&2; exit 1; }


# start_keys NAME [ENV...]: a keys driver (see start_driver); its notices go to Qt's offscreen platform.
start_keys() {
  start_driver "$1" env QT_QPA_PLATFORM=offscreen "${@:2}" "$KEYS"
}

# tap DRIVER VK [FLAGS]: the key down and up, both with the flags when given.
tap() {
  ask "$1" "key $2 down ${3:-}"
  expect ok
  ask "$1" "key $2 up ${3:-}"
  expect ok
}

# The window's key presses, one line each; Shift's own presses are left out, so that the warm-up's do
# not count. next_key waits for the next one into $LINE.
KEYS_SEEN=0
key_lines() {
  grep '^key ' "$WORK/window.keys" | grep -v '^key Shift ' || true
}
more_keys_than() {
  [ "$(key_lines | wc -l)" -gt "$1" ]
}
next_key() {
  wait_for 10 "a key press in the window" more_keys_than "$KEYS_SEEN"
  KEYS_SEEN=$((KEYS_SEEN + 1))
  LINE=$(key_lines | sed -n "${KEYS_SEEN}p")
}
expect_key() {
  next_key
  expect "key $1"
}
# The window's whole text, a final new line included.
window_text_is() {
  [ "$(cat "$WORK/window.text" 2>/dev/null && printf .)" = "$1." ]
}
shift_seen() {
  grep -q '^key Shift ' "$WORK/window.keys"
}

# What the paste chord is to paste, offered by another program.
wl-copy --foreground 'from the clipboard' &
PIDS+=($!)

start_keys K
ask K trusted
expect "trusted yes"

QT_QPA_PLATFORM=wayland "$TARGET" "$WORK/window.text" >"$WORK/window.keys" 2>"$WORK/window.err" &
PIDS+=($!)

# The seat has no keyboard until Driftmark's appears, and the window only hears keys once it has taken the
# new keyboard and the compositor has given it the focus: Shift is tapped until a tap arrives.
deadline=$((SECONDS + 20))
until shift_seen; do
  [ $SECONDS -lt $deadline ] || fail "no key reached the window: $(cat "$WORK/window.err")"
  tap K 56
  sleep 0.2
done

# The paste chord pastes the clipboard, and leaves no modifier behind.
tap K 9 cmd
expect_key "V mods=ctrl"
wait_for 10 "the paste in the window" window_text_is 'from the clipboard'
tap K 0
expect_key "A mods=none"
wait_for 10 "a plain a" window_text_is 'from the clipboarda'

# Return, with no modifiers, is a new line.
tap K 36 none
expect_key "Return mods=none"
wait_for 10 "the new line" window_text_is $'from the clipboarda\n'

# Shift+Insert arrives as that chord.
tap K 114 shift
expect_key "Ins mods=shift"
tap K 0
expect_key "A mods=none"

# Shift held on Driftmark's keyboard: a Ctrl+V is typed without it, and Shift is held again after it.
ask K "key 56 down"
expect ok
tap K 9 cmd
expect_key "V mods=ctrl"
tap K 0
expect_key "A mods=shift"
ask K "key 56 up"
expect ok
tap K 0
expect_key "A mods=none"

# Driftmark types with the user's layout: the keymap of the keyboard the seat had last. Z's key gives a Z
# with the default layout; once the user has typed on a German keyboard, where Z and Y trade places, it
# gives a Y.
tap K 6
expect_key "Z mods=none"
start_keys U XKB_DEFAULT_LAYOUT=de
ask U "user-tap 6"
expect ok
expect_key "Y mods=none"
tap K 6
expect_key "Y mods=none"

# A compositor without virtual keyboards: not trusted, no keystrokes, and the prompt names what is missing.
"$BARE_COMPOSITOR" >"$WORK/bare.out" 2>&1 &
PIDS+=($!)
wait_for 10 "the bare compositor's socket" test -s "$WORK/bare.out"
start_keys B WAYLAND_DISPLAY="$(head -n 1 "$WORK/bare.out")"
ask B trusted
expect "trusted no"
ask B "key 9 down cmd"
expect absent
ask B prompt
expect "trusted no"
next B
notice=$LINE
[[ "$notice" == "notice Smart Paste cannot paste on this desktop. | "* ]] || fail "no notice: '$notice'"
[[ "$notice" == *"does not offer the virtual-keyboard protocol (as GNOME's does not)"* ]] ||
  fail "the notice does not name the missing protocol: '$notice'"
[[ "$notice" == *"falls back to a plain copy"* ]] || fail "the notice does not name the fallback: '$notice'"

echo "PASS"
