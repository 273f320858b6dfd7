#!/usr/bin/env bash
# Another program on the session bus calls Driftmark's status items and their menus with arguments of the
# wrong types: each call is turned down, and Driftmark keeps running and keeps answering its hosts.
E2E_DESKTOP_OPTIONS="--no-tray --session-bus"
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/sni_helpers.sh"

seed_numbered_entries 1

one_registered() {
  [ "$(registered_ids)" = "driftmark-$first" ]
}

start_fake_watcher accept
start_driftmark
wait_for 20 "the item registered" one_registered
item=$(registered_items)
item=${item%%/*}

# hostile PATH INTERFACE.METHOD ARGUMENTS...: a call that must be refused with an error.
hostile() {
  local path=$1 method=$2
  shift 2
  if dbus-send --session --print-reply --reply-timeout=5000 --dest="$item" "$path" "$method" "$@" \
    >"$E2E_HOME/hostile.out" 2>&1; then
    fail "$method with $* was taken: $(cat "$E2E_HOME/hostile.out")"
  fi
  kill -0 "$DRIFTMARK_PID" 2>/dev/null || fail "Driftmark did not survive $method with $*"
}

hostile /StatusNotifierItem org.kde.StatusNotifierItem.Activate string:x string:y
hostile /StatusNotifierItem org.kde.StatusNotifierItem.ContextMenu array:int32:1,2
hostile /StatusNotifierItem org.kde.StatusNotifierItem.Scroll string:vertical int32:1
hostile /StatusNotifierItem org.freedesktop.DBus.Properties.Set string:org.kde.StatusNotifierItem \
  string:ToolTip variant:int32:1
hostile /StatusNotifierItem org.freedesktop.DBus.Properties.Set string:org.kde.StatusNotifierItem \
  string:IconPixmap variant:string:x
hostile /MenuBar com.canonical.dbusmenu.EventGroup int32:1
hostile /MenuBar com.canonical.dbusmenu.EventGroup array:string:clicked
hostile /MenuBar com.canonical.dbusmenu.EventGroup dict:int32:string:1,clicked
hostile /MenuBar com.canonical.dbusmenu.Event string:1 string:clicked variant:int32:0 uint32:0
hostile /MenuBar com.canonical.dbusmenu.GetLayout string:0 int32:-1 array:string:
hostile /MenuBar com.canonical.dbusmenu.GetGroupProperties array:string:1 array:string:label
hostile /MenuBar com.canonical.dbusmenu.AboutToShowGroup array:string:0
hostile /MenuBar org.freedesktop.DBus.Properties.Set string:com.canonical.dbusmenu string:Version \
  variant:string:x

# The item still answers as a host asks, and a click still copies.
gdbus call --session -d "$item" -o /MenuBar -m com.canonical.dbusmenu.GetLayout -- 0 -1 '@as []' \
  >"$E2E_HOME/layout.out" 2>&1 || fail "the menu no longer answers: $(cat "$E2E_HOME/layout.out")"
grep -q "'label'" "$E2E_HOME/layout.out" || fail "the menu's layout has no labels: $(cat "$E2E_HOME/layout.out")"
gdbus call --session -d "$item" -o /StatusNotifierItem -m org.kde.StatusNotifierItem.Activate 0 0 >/dev/null ||
  fail "the item no longer takes a click"
wait_for 10 "the clipboard to hold text 1" clipboard_is "text 1"
stop_driftmark
echo "PASS"
