#!/usr/bin/env bash
# Crash safety: Driftmark killed (SIGKILL) at random moments while it migrates the entries of the oldest
# release, dozens of times. After every kill the preferences file is a valid preferences file that still
# holds the user's entries, as they were or migrated, and nothing else; the next start removes any
# temporary file a killed write left and completes the migration exactly once.
source "$(dirname "$0")/lib.sh"

KILLS=${CRASH_SAFETY_KILLS:-40}
# The kills stop here even if fewer were made; a loaded machine still has to manage half of them.
TIME_LIMIT=${CRASH_SAFETY_SECONDS:-90}

CONFIG_DIR=$(dirname "$PREFERENCES")
SEED="$E2E_HOME/legacy-preferences.json"
CHECK="$E2E_HOME/check_preferences.py"

# Three texts of the oldest release, its Smart Paste switch and the single text of the release before.
legacy='[{"id":"0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0","text":"first text","isActive":false,"createdAt":1.0},'
legacy+='{"id":"1F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0","text":"second, the active one","isActive":true,"createdAt":2.0},'
legacy+='{"id":"2F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0","text":"third","isActive":false,"createdAt":3.0}]'
printf '{"clipboardTextItems": {"data": "%s"}, "autoPaste": {"bool": true}, "clipboardText": {"string": "older single text"}}\n' \
  "$(printf '%s' "$legacy" | base64 -w0)" >"$SEED"

# check_preferences.py FILE SEED [--restarted]: prints the state the migration was found in (untouched,
# both, migrated), or what is wrong and exits 1.
cat >"$CHECK" <<'EOF'
import base64, binascii, json, sys

path, seed_path = sys.argv[1], sys.argv[2]
restarted = "--restarted" in sys.argv[3:]

def wrong(message):
    print(message)
    sys.exit(1)

def no_constants(name):
    raise ValueError("not JSON: " + name)

try:
    with open(path, "rb") as f:
        raw = f.read()
except OSError as error:
    wrong("cannot read the preferences file: %s" % error)
try:
    document = json.loads(raw.decode("utf-8"), parse_constant=no_constants)
except (UnicodeDecodeError, ValueError) as error:
    wrong("not JSON (%s): %r" % (error, raw[:200]))
if not isinstance(document, dict):
    wrong("not a JSON object: %r" % raw[:200])

kinds = {
    "string": lambda v: isinstance(v, str),
    "bool": lambda v: isinstance(v, bool),
    "integer": lambda v: isinstance(v, int) and not isinstance(v, bool),
    "double": lambda v: isinstance(v, (int, float)) and not isinstance(v, bool),
    "data": lambda v: isinstance(v, str),
}
values = {}
for key, member in document.items():
    if not isinstance(member, dict) or len(member) != 1:
        wrong("%s: not one typed value: %r" % (key, member))
    kind, value = next(iter(member.items()))
    if kind not in kinds or not kinds[kind](value):
        wrong("%s: not a value of a known kind: %r" % (key, member))
    if kind == "data":
        try:
            value = base64.b64decode(value, validate=True)
        except binascii.Error:
            wrong("%s: data that is not base64" % key)
    values[key] = (kind, value)

with open(seed_path) as f:
    seed = json.load(f)
legacy_bytes = base64.b64decode(seed["clipboardTextItems"]["data"])
legacy_texts = [record["text"] for record in json.loads(legacy_bytes)]

for key in ("autoPaste", "clipboardText"):
    kind, value = next(iter(seed[key].items()))
    if values.get(key) != (kind, value):
        wrong("%s lost or changed: %r" % (key, values.get(key)))

legacy = values.get("clipboardTextItems")
if legacy is not None and legacy != ("data", legacy_bytes):
    wrong("the old entries changed: %r" % (legacy,))

migrated = values.get("menuBarItems")
if migrated is not None:
    if migrated[0] != "data":
        wrong("menuBarItems is not data: %r" % (migrated,))
    try:
        items = json.loads(migrated[1].decode("utf-8"))
        texts = [item["text"] for item in items]
        smart = [item["usesSmartPaste"] for item in items]
    except (UnicodeDecodeError, ValueError, TypeError, KeyError) as error:
        wrong("menuBarItems is not an entry list (%s): %r" % (error, migrated[1][:200]))
    if texts != legacy_texts or smart != [True] * len(legacy_texts):
        wrong("the migrated entries are not the old ones: %r" % items)

unreadable = [key for key in values if key.startswith("menuBarItems.unreadable")]
if unreadable:
    wrong("entries were set aside as unreadable: %s" % unreadable)

if legacy is None and migrated is None:
    wrong("the entries are gone: neither the old nor the migrated list is stored")
if restarted and migrated is None:
    wrong("the start after the kill did not migrate the entries")
print("both" if legacy and migrated else "migrated" if migrated else "untouched")
EOF

temporary_files() {
  find "$CONFIG_DIR" -maxdepth 1 -name '.preferences.json.*' -printf '%f\n'
}

# Nothing of the program runs any more once this returns.
kill_now() {
  kill -KILL "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}

# Each round starts from the oldest release's file as the user would have left it.
seed_round() {
  rm -rf "$CONFIG_DIR"
  mkdir -p "$CONFIG_DIR"
  cp "$SEED" "$PREFERENCES"
  chmod 600 "$PREFERENCES"
}

# sleep_ms N: a pause of N milliseconds.
sleep_ms() {
  sleep "$(printf '%d.%03d' $(($1 / 1000)) $(($1 % 1000)))"
}

# The start after a kill has run once the tray shows the icons of all the entries it stored.
stored_ids() {
  stored_items 2>/dev/null | grep -o '"id":"[^"]*"' | cut -d'"' -f4
}

all_icons_docked() {
  local ids id
  ids=$(stored_ids)
  [ "$(wc -w <<<"$ids")" -eq 3 ] || return 1
  for id in $ids; do
    icon_visible "$id" || return 1
  done
}

# --- How long a start takes to finish the migration here --------------------------------------------
# Measured on an unharmed start, so that the kills land around the migration's writes on a slow machine
# as on a fast one.
seed_round
DRIFTMARK_OUT="$E2E_HOME/calibration.out"
started_ms=$(date +%s%3N)
"$DRIFTMARK" >"$DRIFTMARK_OUT" 2>&1 &
DRIFTMARK_PID=$!
E2E_PIDS+=("$DRIFTMARK_PID")
deadline=$((SECONDS + 20))
while grep -q clipboardTextItems "$PREFERENCES" 2>/dev/null; do
  [ $SECONDS -lt $deadline ] || fail "an unharmed start did not migrate the old entries"
  sleep 0.002
done
migration_ms=$(($(date +%s%3N) - started_ms))
state=$(python3 "$CHECK" "$PREFERENCES" "$SEED" --restarted) || fail "an unharmed migration: $state"
wait_for 20 "the migrated entries' icons" all_icons_docked
stop_driftmark
echo "an unharmed start finished the migration after ${migration_ms} ms"

# --- The kills ---------------------------------------------------------------------------------------
# Most kills aim at an estimate of the moment of the migration's writes, a few milliseconds apart,
# corrected after each kill by what it found (too early: the file untouched; too late: the migration
# done); every fourth kill falls anywhere in the start, up to twice that moment.
estimate=$((migration_ms > 4 ? migration_ms : 4))
declare -A found=([untouched]=0 [both]=0 [migrated]=0)
left_temporary=0
kills=0
deadline=$((SECONDS + TIME_LIMIT))
while [ "$kills" -lt "$KILLS" ] && [ $SECONDS -lt $deadline ]; do
  kills=$((kills + 1))
  seed_round
  if [ $((kills % 4)) -eq 0 ]; then
    delay=$((RANDOM % (2 * estimate + 1)))
  else
    spread=$((estimate / 10 + 3))
    delay=$((estimate - spread + RANDOM % (2 * spread + 1)))
    [ "$delay" -ge 0 ] || delay=0
  fi

  DRIFTMARK_OUT="$E2E_HOME/killed-$kills.out"
  "$DRIFTMARK" >"$DRIFTMARK_OUT" 2>&1 &
  DRIFTMARK_PID=$!
  E2E_PIDS+=("$DRIFTMARK_PID")
  sleep_ms "$delay"
  kill_now "$DRIFTMARK_PID"

  state=$(python3 "$CHECK" "$PREFERENCES" "$SEED") || fail "kill $kills after ${delay} ms: $state"
  found[$state]=$((found[$state] + 1))
  if [ "$state" = untouched ]; then
    estimate=$((estimate + estimate / 8 + 1))
  elif [ "$state" = migrated ]; then
    estimate=$((estimate - estimate / 8 - 1))
    [ "$estimate" -ge 4 ] || estimate=4
  fi
  [ -z "$(temporary_files)" ] || left_temporary=$((left_temporary + 1))

  # The next start: it removes what the killed write left and completes the migration.
  start_driftmark
  wait_for 20 "the start after kill $kills to show the entries" all_icons_docked
  stop_driftmark
  leftovers=$(temporary_files)
  [ -z "$leftovers" ] || fail "kill $kills after ${delay} ms: the next start left temporary files: $leftovers"
  state=$(python3 "$CHECK" "$PREFERENCES" "$SEED" --restarted) || fail "the start after kill $kills: $state"
  corrupt=$(find "$CONFIG_DIR" -name 'preferences.json.corrupt-*' -printf '%f ')
  [ -z "$corrupt" ] || fail "kill $kills after ${delay} ms: the file was taken for damaged: $corrupt"
done

echo "$kills kills: ${found[untouched]} before the migration's writes, ${found[both]} between them," \
  "${found[migrated]} after; $left_temporary left a temporary file"
minimum=$((KILLS / 2))
[ "$kills" -ge "$minimum" ] || fail "only $kills kills in ${TIME_LIMIT}s (at least $minimum wanted)"
echo "PASS"
