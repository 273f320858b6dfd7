# The common start of the Wayland end-to-end tests, sourced by each: the test runs again inside a private
# headless sway unless it already is inside one, with a private home under $WORK; processes it starts in
# the background go into PIDS and end with it, as does $WORK.
set -euo pipefail

REPO_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
if [ -z "${WAYLAND_COMPOSITOR_PID:-}" ]; then
  exec "$REPO_DIR/scripts/with-wayland-desktop" bash "$0" "$@"
fi

WORK=$(mktemp -d "${TMPDIR:-/tmp}/driftmark-wayland-e2e-XXXXXX")
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/.config"
mkdir -p "$HOME"
PIDS=()
cleanup() {
  local pid
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in $(jobs -p); do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# wait_for SECONDS DESCRIPTION COMMAND...: polls until the command succeeds, for a bounded time.
wait_for() {
  local seconds=$1 what=$2
  shift 2
  local deadline=$((SECONDS + seconds))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -lt $deadline ] || fail "timed out after ${seconds}s waiting for: $what (last answer: '${LINE:-}')"
    sleep 0.05
  done
}

# start_driver NAME COMMAND...: a test program that takes one command a line and answers each, with pipes
# ${NAME}_IN and ${NAME}_OUT and its errors in $WORK/NAME.err.
start_driver() {
  local name=$1 in out
  shift
  mkfifo "$WORK/$name.in" "$WORK/$name.out"
  "$@" <"$WORK/$name.in" >"$WORK/$name.out" 2>"$WORK/$name.err" &
  PIDS+=($!)
  exec {in}>"$WORK/$name.in" {out}<"$WORK/$name.out"
  printf -v "${name}_IN" '%s' "$in"
  printf -v "${name}_OUT" '%s' "$out"
}

# next DRIVER: the driver's next line of output, into $LINE.
next() {
  local out="${1}_OUT"
  read -r -t 20 LINE <&"${!out}" || fail "$1 said nothing more: $(cat "$WORK/$1.err")"
}

# ask DRIVER COMMAND: sends the command and takes its answer into $LINE.
ask() {
  local in="${1}_IN"
  printf '%s\n' "$2" >&"${!in}"
  next "$1"
}

expect() {
  [ "$LINE" = "$1" ] || fail "expected '$1', got '$LINE'"
}
