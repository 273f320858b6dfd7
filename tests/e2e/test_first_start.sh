#!/usr/bin/env bash
# First start: an empty home gets the default entry; entries of the oldest release are migrated.
source "$(dirname "$0")/lib.sh"

# An empty home: the preferences file appears with the one default entry.
start_driftmark
wait_for 20 "preferences file" test -s "$PREFERENCES"
items=$(stored_items)
grep -q '"title":"Driftmark"' <<<"$items" || fail "default entry missing: $items"
grep -q '"text":"Driftmark about this."' <<<"$items" || fail "default text missing: $items"
[ "$(stat -c %a "$PREFERENCES")" = 600 ] || fail "preferences file is not private"
stop_driftmark

# A home of the oldest release: three stored texts become three entries, and the log says so.
rm -rf "$HOME/.config" "$HOME/.log"
legacy='[{"id":"0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0","text":"first text","isActive":false,"createdAt":1.0},'
legacy+='{"id":"1F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0","text":"second, the active one","isActive":true,"createdAt":2.0},'
legacy+='{"id":"2F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0","text":"third","isActive":false,"createdAt":3.0}]'
mkdir -p "$(dirname "$PREFERENCES")"
printf '{"clipboardTextItems": {"data": "%s"}, "autoPaste": {"bool": true}}\n' \
  "$(printf '%s' "$legacy" | base64 -w0)" >"$PREFERENCES"
start_driftmark
wait_for 20 "migration line in the log" sh -c "cat '$LOG_DIR'/*.log | grep -q 'migrateFromOldFormat() - Migrated 3 items from old format'"
wait_for 10 "legacy key removed" sh -c "! grep -q clipboardTextItems '$PREFERENCES'"
items=$(stored_items)
grep -q '"title":"second, the active o"' <<<"$items" || fail "migrated titles wrong: $items"
[ "$(grep -o '"usesSmartPaste":true' <<<"$items" | wc -l)" = 3 ] || fail "autoPaste not carried over: $items"
stop_driftmark
echo "PASS"
