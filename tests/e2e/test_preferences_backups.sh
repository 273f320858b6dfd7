#!/usr/bin/env bash
# Damaged preferences and entry lists are kept aside under names that never collide, each time with one
# line on standard error and one in the log; entries that share an id all get an icon; a linked
# preferences file is written through its link; temporary files left by a kill go at the next start.
source "$(dirname "$0")/lib.sh"

CONFIG_DIR=$(dirname "$PREFERENCES")
mkdir -p "$CONFIG_DIR"

default_entry_stored() {
  stored_items 2>/dev/null | grep -q '"title":"Driftmark"'
}

# The value of one key of the preferences file as compact JSON, e.g. {"string": "x"}.
stored_value() {
  python3 -c 'import json, sys; print(json.dumps(json.load(open(sys.argv[1])).get(sys.argv[2])))' \
    "$PREFERENCES" "$1"
}

# --- A damaged preferences file, with backups of every second of the coming minute already there ---
now=$(date -u +%s)
for offset in $(seq -2 60); do
  stamp=$(date -u -d "@$((now + offset))" +%Y%m%dT%H%M%SZ)
  printf 'earlier backup %s\n' "$stamp" >"$PREFERENCES.corrupt-$stamp"
done
damaged='{"menuBarItems": {"data": '
printf '%s' "$damaged" >"$PREFERENCES"
start_driftmark
wait_for 20 "the default entry" default_entry_stored
wait_for_log 10 "; kept it as $PREFERENCES.corrupt-"
stop_driftmark

for backup in "$PREFERENCES".corrupt-*; do
  if [ "$(cat "$backup")" = "$damaged" ]; then
    [ -z "${new_backup:-}" ] || fail "the damaged file was kept twice: $new_backup and $backup"
    new_backup=$backup
  else
    [ "$(cat "$backup")" = "earlier backup ${backup##*.corrupt-}" ] || fail "$backup was overwritten"
  fi
done
[ -n "${new_backup:-}" ] || fail "the damaged file was not kept"
[ "$(find "$CONFIG_DIR" -name 'preferences.json.corrupt-*' | wc -l)" = 64 ] || fail "backups went missing"
[ "$(output_count "; kept it as $new_backup and started with empty preferences")" = 1 ] ||
  fail "standard error does not name $new_backup once"
[ "$(log_count "; kept it as $new_backup and started with empty preferences")" = 1 ] ||
  fail "the log does not name $new_backup once"
rm -f "$PREFERENCES".corrupt-*

# --- An entry list of the wrong kind, while an earlier unreadable list is kept already -------------
earlier=$(printf 'kept earlier' | base64 -w0)
printf '{"menuBarItems": {"string": "my entries as text"}, "menuBarItems.unreadable": {"data": "%s"}}\n' \
  "$earlier" >"$PREFERENCES"
start_driftmark
wait_for 20 "the default entry" default_entry_stored
message='Stored menu bar items could not be read; kept them under "menuBarItems.unreadable.2"'
wait_for_log 10 "$message"
stop_driftmark
[ "$(stored_value menuBarItems.unreadable)" = "{\"data\": \"$earlier\"}" ] ||
  fail "the earlier unreadable list was overwritten: $(stored_value menuBarItems.unreadable)"
[ "$(stored_value menuBarItems.unreadable.2)" = '{"string": "my entries as text"}' ] ||
  fail "the string was not kept: $(stored_value menuBarItems.unreadable.2)"
[ "$(output_count "$message")" = 1 ] || fail "standard error does not say it once"
[ "$(log_count "$message")" = 1 ] || fail "the log does not say it once"

# --- A preferences file linked into a dotfiles repository, two entries sharing an id, and temporary
# files of killed writes beside the link and beside its target --------------------------------------
DOTFILES="$HOME/dotfiles"
mkdir -p "$DOTFILES"
rm -f "$PREFERENCES"
ln -s ../../dotfiles/driftmark.json "$PREFERENCES"
SHARED=5B000000-0000-4000-8000-00000000005B
seed_preferences "[$(item_json $SHARED 'First' 'first text' false false 0),$(item_json $SHARED 'Second' 'second text' false false 1)]"
[ -L "$PREFERENCES" ] || fail "seeding replaced the link"
printf 'half a write' >"$CONFIG_DIR/.preferences.json.tmp-Zz98Yx"
printf 'half a write' >"$DOTFILES/.driftmark.json.tmp-Ab12Cd"

two_ids_stored() {
  [ "$(stored_items | grep -o '"id":"[^"]*"' | sort -u | wc -l)" = 2 ]
}
start_driftmark
wait_for 20 "a fresh id for the second entry" two_ids_stored
fresh=$(stored_items | grep -o '"id":"[^"]*"' | sed 's/"id":"//; s/"$//' | grep -vx $SHARED)
wait_for 20 "the first entry's icon" icon_visible $SHARED
wait_for 20 "the second entry's icon" icon_visible "$fresh"
wait_for_log 10 "gave 1 later entry a fresh id"
stop_driftmark

[ -L "$PREFERENCES" ] || fail "the link was replaced by a file"
[ "$(readlink "$PREFERENCES")" = ../../dotfiles/driftmark.json ] || fail "the link points elsewhere now"
[ "$(stat -c %a "$DOTFILES/driftmark.json")" = 600 ] || fail "the linked file is not private"
[ "$(ls -A "$DOTFILES")" = driftmark.json ] || fail "left in the dotfiles: $(ls -A "$DOTFILES")"
[ "$(ls -A "$CONFIG_DIR")" = preferences.json ] || fail "left beside the link: $(ls -A "$CONFIG_DIR")"
stored_items | grep -q "\"id\":\"$SHARED\",\"text\":\"first text\",\"title\":\"First\"" || fail "the first entry lost its id: $(stored_items)"
[ "$(log_count "fresh id")" = 1 ] || fail "the fresh id is not logged once"
echo "PASS"
