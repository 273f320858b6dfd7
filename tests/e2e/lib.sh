# Shared helpers of the end-to-end tests. A test script sources this file with the program's path and
# the target window's path as $1 and $2; it then runs on its own private virtual desktop with its own
# temporary HOME, and everything it starts is stopped when it ends.
set -euo pipefail

E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
REPO_DIR=$(cd "$E2E_DIR/../.." && pwd)
DRIFTMARK=${1:?usage: test script DRIFTMARK_BINARY TARGET_BINARY}
TARGET_WINDOW=${2:?usage: test script DRIFTMARK_BINARY TARGET_BINARY}

# Re-run this script on a private desktop unless it already runs on one.
if [ -z "${DRIFTMARK_E2E_DESKTOP:-}" ]; then
  export DRIFTMARK_E2E_DESKTOP=1
  exec "$REPO_DIR/scripts/with-virtual-desktop" ${E2E_DESKTOP_OPTIONS:-} bash "$0" "$@"
fi

E2E_HOME=$(mktemp -d "${TMPDIR:-/tmp}/driftmark-e2e-XXXXXX")
export HOME="$E2E_HOME/home"
export XDG_CONFIG_HOME="$HOME/.config"
export XDG_RUNTIME_DIR="$E2E_HOME/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
PREFERENCES="$XDG_CONFIG_HOME/driftmark-menubar/preferences.json"
LOG_DIR="$HOME/.log/driftmark-menubar"

E2E_PIDS=()
e2e_cleanup() {
  local pid
  for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${E2E_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$E2E_HOME"
}
trap e2e_cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  if [ -n "${DRIFTMARK_OUT:-}" ] && [ -f "$DRIFTMARK_OUT" ]; then
    echo "--- driftmark output:" >&2
    cat "$DRIFTMARK_OUT" >&2
  fi
  if [ -d "$LOG_DIR" ]; then
    echo "--- daily log:" >&2
    cat "$LOG_DIR"/*.log >&2 || true
  fi
  exit 1
}

# wait_for SECONDS DESCRIPTION COMMAND...: polls until the command succeeds, for a bounded time.
wait_for() {
  local seconds=$1 what=$2
  shift 2
  local deadline=$((SECONDS + seconds))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -lt $deadline ] || fail "timed out after ${seconds}s waiting for: $what"
    sleep 0.05
  done
}

# The preferences file holding the given JSON array of entries under "menuBarItems", plus any further
# members given as a JSON object fragment, e.g. '"autoPaste": {"bool": true}'.
seed_preferences() {
  local items_json=$1 extra=${2:-}
  mkdir -p "$(dirname "$PREFERENCES")"
  local encoded
  encoded=$(printf '%s' "$items_json" | base64 -w0)
  printf '{"menuBarItems": {"data": "%s"}%s}\n' "$encoded" "${extra:+, $extra}" >"$PREFERENCES"
}

# One entry object; arguments: id title text [red green blue] [usesSmartPaste] [prependNewline] [order]
item_json() {
  local id=$1 title=$2 text=$3 smart=${4:-false} newline=${5:-false} order=${6:-0}
  printf '{"id":"%s","title":%s,"text":%s,"iconColor":{"red":0.0,"green":0.478,"blue":1.0,"alpha":1.0},"usesSmartPaste":%s,"prependNewline":%s,"order":%s,"createdAt":700000000.5}' \
    "$id" "$(json_string "$title")" "$(json_string "$text")" "$smart" "$newline" "$order"
}

json_string() {
  local s=$1
  s=${s//\\/\\\\}
  s=${s//\"/\\\"}
  s=${s//$'\n'/\\n}
  s=${s//$'\t'/\\t}
  printf '"%s"' "$s"
}

# The JSON of the entries stored in the preferences file.
stored_items() {
  tr -d '\n' <"$PREFERENCES" | grep -o '"menuBarItems": *{ *"data": *"[^"]*"' | sed 's/.*"data": *"//; s/"$//' | base64 -d
}

start_driftmark() {
  DRIFTMARK_OUT="$E2E_HOME/driftmark.out"
  "$DRIFTMARK" >"$DRIFTMARK_OUT" 2>&1 &
  DRIFTMARK_PID=$!
  E2E_PIDS+=("$DRIFTMARK_PID")
}

stop_driftmark() {
  kill -TERM "$DRIFTMARK_PID" 2>/dev/null || true
  local status=0
  wait "$DRIFTMARK_PID" || status=$?
  [ "$status" -eq 0 ] || fail "driftmark-menubar exited with status $status after SIGTERM"
}

# The X window of an entry's tray icon, found by its name.
icon_window() {
  xdotool search --onlyvisible --name "^DriftmarkMenuItem-$1\$" | head -n 1
}

icon_visible() {
  [ -n "$(icon_window "$1")" ]
}

clipboard_text() {
  timeout 5 xclip -selection clipboard -o 2>/dev/null
}

today_log() {
  cat "$LOG_DIR/driftmark-menubar-$(date +%F).log" 2>/dev/null
}
