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

# xdotool warns about a display without XTEST on every call; the tests that use one know.
if [[ " ${E2E_DESKTOP_OPTIONS:-} " == *" --no-xtest "* ]]; then
  xdotool() {
    { command xdotool "$@" 2>&1 1>&3 3>&- | sed '/XTEST extension unavailable/d' >&2; } 3>&1
  }
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
# xdotool's search gives up with an X error when a window it walks past goes away meanwhile (a menu
# closing), so an empty answer is asked again a few times.
icon_window() {
  local window
  for _ in 1 2 3 4 5; do
    window=$(xdotool search --onlyvisible --name "^DriftmarkMenuItem-$1\$" 2>/dev/null | head -n 1 || true)
    [ -z "$window" ] || break
    sleep 0.05
  done
  echo "$window"
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

# --- Logs -------------------------------------------------------------------------------------------

# How many lines of today's log contain the given text (fixed string).
log_count() {
  today_log | grep -cF -- "$1" || true
}

log_has() {
  today_log | grep -qF -- "$1"
}

# wait_for_log SECONDS TEXT [COUNT]: until the log holds the text on at least COUNT lines (default 1).
wait_for_log() {
  local seconds=$1 text=$2 count=${3:-1}
  wait_for "$seconds" "log line '$text' (x$count)" log_count_at_least "$text" "$count"
}

log_count_at_least() {
  [ "$(log_count "$1")" -ge "$2" ]
}

# How many lines of the program's standard output and error contain the given text.
output_count() {
  grep -cF -- "$1" "$DRIFTMARK_OUT" || true
}

# --- Tray icons -------------------------------------------------------------------------------------

# "X Y WIDTH HEIGHT" of an entry's icon in root coordinates.
icon_geometry() {
  # shellcheck disable=SC2034 # SCREEN and WINDOW are set by the eval, unused
  local window X Y WIDTH HEIGHT SCREEN WINDOW
  window=$(icon_window "$1")
  [ -n "$window" ] || fail "no icon for entry $1"
  eval "$(xdotool getwindowgeometry --shell "$window")"
  echo "$X $Y $WIDTH $HEIGHT"
}

icon_x() {
  local geometry
  geometry=$(icon_geometry "$1") || exit 1
  echo "${geometry%% *}"
}

# click_icon ID BUTTON: moves the pointer onto the icon and a little within it, so that the program
# sees the pointer pass while the focused window keeps the focus, then clicks. One xdotool call keeps
# the motion events ahead of the click.
click_icon() {
  local geometry x y width height
  geometry=$(icon_geometry "$1") || exit 1
  read -r x y width height <<<"$geometry"
  xdotool mousemove $((x + width / 2 - 2)) $((y + height / 2 - 2)) \
    mousemove $((x + width / 2)) $((y + height / 2)) click "$2"
}

# --- The context menu -------------------------------------------------------------------------------

# The program's visible pop-up menu: an override-redirect window of the program that is no icon and no
# tooltip. Prints nothing when there is none.
context_menu_window() {
  local window
  for window in $(xdotool search --onlyvisible --class '^driftmark-menubar$' 2>/dev/null); do
    xwininfo -id "$window" 2>/dev/null | grep -q 'Override Redirect State: yes' || continue
    xprop -id "$window" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q TOOLTIP && continue
    echo "$window"
    return 0
  done
}

context_menu_shown() {
  [ -n "$(context_menu_window)" ]
}

context_menu_gone() {
  [ -z "$(context_menu_window)" ]
}

# --- Other programs ---------------------------------------------------------------------------------

# Starts the text window writing to the given file and waits until the window manager has made it the
# active window; its X window is then in $TARGET_WINDOW_ID.
start_target() {
  "$TARGET_WINDOW" "$1" >"$E2E_HOME/target.out" 2>&1 &
  E2E_PIDS+=($!)
  wait_for 20 "the target window" target_window_mapped
  TARGET_WINDOW_ID=$(xdotool search --onlyvisible --name '^driftmark-e2e-target$' | head -n 1)
  wait_for 10 "the target window to be active" target_window_active
}

target_window_mapped() {
  [ -n "$(xdotool search --onlyvisible --name '^driftmark-e2e-target$')" ]
}

target_window_active() {
  [ "$(xdotool getactivewindow 2>/dev/null)" = "$TARGET_WINDOW_ID" ]
}

# Another program owns the clipboard with the given text only.
offer_clipboard_text() {
  printf '%s' "$1" | xclip -quiet -selection clipboard -i >/dev/null 2>&1 &
  E2E_PIDS+=($!)
  wait_for 10 "the clipboard to hold '$1'" clipboard_is "$1"
}

clipboard_is() {
  [ "$(clipboard_text)" = "$1" ]
}

# Another program owns the clipboard with the text file's bytes as text/plain and the PNG file's bytes
# as image/png at the same time.
offer_clipboard_text_and_image() {
  "$TARGET_WINDOW" --offer-clipboard "$1" "$2" >"$E2E_HOME/offer.out" 2>&1 &
  E2E_PIDS+=($!)
  wait_for 10 "the clipboard to offer image/png" clipboard_offers image/png
}

clipboard_offers() {
  timeout 5 xclip -selection clipboard -o -t TARGETS 2>/dev/null | grep -qxF -- "$1"
}

# clipboard_matches TYPE FILE: the clipboard's bytes for the type equal the file's, byte for byte.
clipboard_matches() {
  timeout 5 xclip -selection clipboard -o -t "$1" 2>/dev/null | cmp -s - "$2"
}

# A small PNG picture (4 x 4 pixels with transparency); its bytes include NULs.
write_png() {
  printf '%s' 'iVBORw0KGgoAAAANSUhEUgAAAAQAAAAECAYAAACp8Z5+AAAATUlEQVR4nGNgAAIbdob/FXwMDFtEGf4z8EYx/PdMlGdozbD7fzA/loFBagsDQ9huu/+TDtUwnDu56z+DOh/D/2TRWIb5Mrv+31YWZwAAshIXRRQXA5EAAAAASUVORK5CYII=' |
    base64 -d >"$1"
}

# --- Clipboard owners and managers of the tests' own ------------------------------------------------

CLIPBOARD_PEER="$(dirname "$TARGET_WINDOW")/driftmark_e2e_clipboard_peer"

# start_clipboard_owner TYPE[=TEXT]...: another program owns the clipboard and lists the types; it
# answers those given with a text and ignores the requests for the others, as a hung program does.
# "--silent" alone: it does not even list its types. It ends when it loses the clipboard.
start_clipboard_owner() {
  local out
  out=$(mktemp "$E2E_HOME/owner-XXXXXX")
  "$CLIPBOARD_PEER" owner "$@" >"$out" 2>&1 &
  E2E_PIDS+=($!)
  wait_for 10 "the clipboard owner" grep -qx ready "$out"
}

# A clipboard manager stand-in: it takes the clipboard over from a program that quits (SAVE_TARGETS)
# and prints "saved TARGET..." to $CLIPBOARD_MANAGER_OUT for each hand-over.
start_clipboard_manager() {
  CLIPBOARD_MANAGER_OUT="$E2E_HOME/manager.out"
  "$CLIPBOARD_PEER" manager >"$CLIPBOARD_MANAGER_OUT" 2>&1 &
  E2E_PIDS+=($!)
  wait_for 10 "the clipboard manager" grep -qx ready "$CLIPBOARD_MANAGER_OUT"
}

# file_is FILE EXPECTED_FILE: both exist with the same bytes.
file_is() {
  [ -f "$1" ] && cmp -s "$1" "$2"
}
