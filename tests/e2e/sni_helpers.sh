# shellcheck shell=bash
# Helpers of the StatusNotifierItem tests; sourced after lib.sh, on a desktop with a private session bus
# (E2E_DESKTOP_OPTIONS="--no-tray --session-bus"). A panel of LXQt or Xfce runs the watcher and shows
# the items, each as it likes; the tests find the discs by their colours in a picture of the screen.

[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] && [ "$DBUS_SESSION_BUS_ADDRESS" != disabled: ] ||
  fail "no session bus: run the StatusNotifierItem tests with E2E_DESKTOP_OPTIONS=\"--session-bus ...\""

SCREENSHOTS=${DRIFTMARK_SCREENSHOTS:-$(dirname "$DRIFTMARK")/../tests/e2e/screenshots}
SCREENSHOT_PREFIX=$(basename "$0" .sh)
mkdir -p "$SCREENSHOTS"

WATCHER=org.kde.StatusNotifierWatcher

# Ten colours far apart, one per entry. None is a darker shade of another, so that no disc's
# anti-aliased edge passes for another disc.
DISC_COLOURS=(ff0000 00ff00 0000ff ffff00 ff00ff 00ffff ff8000 8000ff 80ff80 ff8080)

# coloured_item_json ID TITLE TEXT HEX ORDER: an entry whose disc has the given colour.
coloured_item_json() {
  local id=$1 title=$2 text=$3 hex=$4 order=$5
  local red green blue
  red=$(awk -v c=$((16#${hex:0:2})) 'BEGIN { printf "%.6f", c / 255 }')
  green=$(awk -v c=$((16#${hex:2:2})) 'BEGIN { printf "%.6f", c / 255 }')
  blue=$(awk -v c=$((16#${hex:4:2})) 'BEGIN { printf "%.6f", c / 255 }')
  printf '{"id":"%s","title":%s,"text":%s,"iconColor":{"red":%s,"green":%s,"blue":%s,"alpha":1.0},"usesSmartPaste":false,"prependNewline":false,"order":%s,"createdAt":700000000.5}' \
    "$id" "$(json_string "$title")" "$(json_string "$text")" "$red" "$green" "$blue" "$order"
}

# The id of the entry with the given order (0 to 9) in seed_ten_entries.
entry_id() {
  printf 'E%d000000-0000-4000-8000-00000000000%d' "$1" "$1"
}

# Ten entries "entry N" with the text "text N" and the colour DISC_COLOURS[N], listed in reverse so that
# only `order` can put them right.
seed_ten_entries() {
  local items=() n
  for n in 9 8 7 6 5 4 3 2 1 0; do
    items+=("$(coloured_item_json "$(entry_id "$n")" "entry $n" "text $n" "${DISC_COLOURS[$n]}" "$n")")
  done
  local IFS=,
  seed_preferences "[${items[*]}]"
}

output_count_at_least() {
  [ "$(output_count "$1")" -ge "$2" ]
}

# --- The watcher and its items ----------------------------------------------------------------------

bus_name_owned() {
  gdbus call --session -d org.freedesktop.DBus -o /org/freedesktop/DBus \
    -m org.freedesktop.DBus.NameHasOwner "$1" 2>/dev/null | grep -q true
}

watcher_running() {
  bus_name_owned "$WATCHER"
}

watcher_gone() {
  ! watcher_running
}

# The items the watcher has, one per line, as it names them (a bus name, perhaps with the object path).
registered_items() {
  gdbus call --session -d "$WATCHER" -o /StatusNotifierWatcher -m org.freedesktop.DBus.Properties.Get \
    "$WATCHER" RegisteredStatusNotifierItems 2>/dev/null | grep -o "'[^']*'" | tr -d "'"
}

# item_property ITEM NAME: a property of a registered item, as gdbus prints it.
item_property() {
  local service=${1%%/*}
  gdbus call --session -d "$service" -o /StatusNotifierItem -m org.freedesktop.DBus.Properties.Get \
    org.kde.StatusNotifierItem "$2" 2>/dev/null
}

# The Ids of the registered items, in the watcher's order, one per line.
registered_ids() {
  local item
  for item in $(registered_items); do
    item_property "$item" Id | grep -o "'[^']*'" | tr -d "'"
  done
}

# The Ids of the ten entries, in order, one per line.
ten_ids() {
  local n
  for n in 0 1 2 3 4 5 6 7 8 9; do
    echo "driftmark-$(entry_id "$n")"
  done
}

ten_registered_in_order() {
  [ "$(registered_ids)" = "$(ten_ids)" ]
}

# For watchers that keep their items unordered.
ten_registered() {
  [ "$(registered_ids | sort)" = "$(ten_ids | sort)" ]
}

# --- Panels -----------------------------------------------------------------------------------------

# An LXQt panel along the top of the screen with the status notifier plugin alone; it runs the watcher.
start_lxqt_panel() {
  mkdir -p "$XDG_CONFIG_HOME/lxqt"
  cat >"$XDG_CONFIG_HOME/lxqt/panel.conf" <<'CONF'
[General]
__userfile__=true
panels=panel1

[panel1]
plugins=statusnotifier
position=Top
desktop=0
alignment=-1
panelSize=32
iconSize=22
hidable=false

[statusnotifier]
type=statusnotifier
alignment=Left
CONF
  PANEL_MENU_CLASS='^lxqt-panel$'
  run_panel lxqt-panel
}

# An Xfce panel along the top of the screen with the notification area plugin alone (XEmbed and
# StatusNotifierItem). Its settings come from a settings daemon of the test's own, which reads them
# from the test's XDG_CONFIG_HOME. The plugin knows the ten entries' items already, as after an earlier
# session: it adds the items it meets for the first time to that list as they come, and in a burst of
# first-time items some now and then stay off its panel.
start_xfce_panel() {
  local channels="$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml" known="" id
  for id in $(ten_ids); do
    known+="        <value type=\"string\" value=\"$id\"/>"$'\n'
  done
  mkdir -p "$channels"
  cat >"$channels/xfce4-panel.xml" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=6;x=0;y=0"/>
      <property name="length" type="uint" value="100"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="size" type="uint" value="32"/>
      <property name="icon-size" type="uint" value="22"/>
      <property name="plugin-ids" type="array">
        <value type="int" value="1"/>
      </property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-1" type="string" value="systray">
      <property name="square-icons" type="bool" value="true"/>
      <property name="known-items" type="array">
$known      </property>
    </property>
  </property>
</channel>
XML
  if ! bus_name_owned org.xfce.Xfconf; then
    local daemon="" candidate
    for candidate in /usr/lib/*/xfce4/xfconf/xfconfd; do
      [ -x "$candidate" ] && daemon=$candidate
    done
    [ -n "$daemon" ] || fail "the Xfce settings daemon (xfconfd) is missing; run scripts/install-deps"
    "$daemon" >>"$E2E_HOME/xfconfd.out" 2>&1 &
    E2E_PIDS+=($!)
    wait_for 20 "the Xfce settings daemon" bus_name_owned org.xfce.Xfconf
  fi
  # The notification area runs in a plugin process of its own, which shows the menus.
  PANEL_MENU_CLASS='^wrapper-2\.0$'
  run_panel xfce4-panel
}

# Starts the panel program in the background and waits until it is the StatusNotifierWatcher.
run_panel() {
  "$1" >>"$E2E_HOME/panel.out" 2>&1 &
  PANEL_PID=$!
  E2E_PIDS+=("$PANEL_PID")
  wait_for 20 "the panel's StatusNotifierWatcher" watcher_running
}

stop_panel() {
  kill "$PANEL_PID" 2>/dev/null || true
  wait "$PANEL_PID" 2>/dev/null || true
  wait_for 10 "the watcher to go with the panel" watcher_gone
}

# --- Discs on the screen ----------------------------------------------------------------------------

# Takes a picture of the screen into $SHOT: of the part $DISC_AREA (a geometry such as 1280x40+0+0)
# where the program's own windows may show discs of the entries' colours too, of all of it otherwise.
# Positions on the picture are positions on the screen: the part starts at the top left corner.
take_shot() {
  SHOT="$E2E_HOME/screen.png"
  import -window root ${DISC_AREA:+-crop "$DISC_AREA"} +repage "$SHOT" 2>/dev/null || fail "no picture of the screen"
}

# keep_shot NAME: keeps the last picture as $SCREENSHOTS/<test>-NAME.png.
keep_shot() {
  cp "$SHOT" "$SCREENSHOTS/$SCREENSHOT_PREFIX-$1.png"
  echo "screenshot: $SCREENSHOTS/$SCREENSHOT_PREFIX-$1.png"
}

# disc_centre HEX: "X Y" of the middle of the pixels of that colour in $SHOT; nothing when there are
# none, or when they do not make one roughly square spot of a tray icon's size.
disc_centre() {
  local box width height x y
  box=$(convert "$SHOT" -fuzz 3% -fill black +opaque "#$1" -fill white -opaque "#$1" -format '%@' info: 2>/dev/null)
  [[ "$box" =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || return 0
  width=${BASH_REMATCH[1]} height=${BASH_REMATCH[2]} x=${BASH_REMATCH[3]} y=${BASH_REMATCH[4]}
  if [ "$width" -ge 4 ] && [ "$width" -le 64 ] && [ "$height" -ge 4 ] && [ "$height" -le 64 ] &&
    [ $((width - height)) -le 2 ] && [ $((height - width)) -le 2 ]; then
    echo "$((x + width / 2)) $((y + height / 2))"
  fi
}

# The ten discs on the screen, left to right in entry order, all on one row.
ten_discs_in_order() {
  take_shot
  local n centre x y previous=-1 row=""
  for n in 0 1 2 3 4 5 6 7 8 9; do
    centre=$(disc_centre "${DISC_COLOURS[$n]}")
    [ -n "$centre" ] || return 1
    read -r x y <<<"$centre"
    [ "$x" -gt "$previous" ] || return 1
    if [ -n "$row" ] && { [ $((y - row)) -gt 2 ] || [ $((row - y)) -gt 2 ]; }; then
      return 1
    fi
    previous=$x row=$y
  done
}

# The discs of the given entries (orders) show, whatever their places.
discs_shown() {
  take_shot
  local n
  for n in "$@"; do
    [ -n "$(disc_centre "${DISC_COLOURS[$n]}")" ] || return 1
  done
}

no_disc_shown() {
  take_shot
  local n
  for n in 0 1 2 3 4 5 6 7 8 9; do
    [ -z "$(disc_centre "${DISC_COLOURS[$n]}")" ] || return 1
  done
}

# click_disc ORDER BUTTON: clicks the entry's disc as found on the last picture.
click_disc() {
  local centre x y
  centre=$(disc_centre "${DISC_COLOURS[$1]}")
  [ -n "$centre" ] || fail "no disc of entry $1 on the screen"
  read -r x y <<<"$centre"
  xdotool mousemove $((x - 2)) $((y - 2)) mousemove "$x" "$y" click "$2"
}

# The XEmbed icon windows of the program on the screen.
xembed_icon_count() {
  xdotool search --onlyvisible --name '^DriftmarkMenuItem-' 2>/dev/null | wc -l
}

# A pop-up menu of the panel's is on the screen: an override-redirect window of the process that shows
# the items, which the panel's start names by its window class in $PANEL_MENU_CLASS.
panel_menu_window() {
  local window
  for window in $(xdotool search --onlyvisible --class "$PANEL_MENU_CLASS" 2>/dev/null); do
    xwininfo -id "$window" 2>/dev/null | grep -q 'Override Redirect State: yes' || continue
    xprop -id "$window" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q -e TOOLTIP -e NOTIFICATION && continue
    echo "$window"
    return 0
  done
}

panel_menu_shown() {
  [ -n "$(panel_menu_window)" ]
}

panel_menu_gone() {
  [ -z "$(panel_menu_window)" ]
}

# Opens entry N's menu on the panel with the right button, checks that opening it asked Driftmark for
# the menu afresh, and picks its first entry, which copies the entry's text.
copy_through_panel_menu() {
  local n=$1 opened
  opened=$(output_count "Menu bar right click for item: entry $n")
  click_disc "$n" 3
  wait_for 10 "the panel's menu of entry $n" panel_menu_shown
  take_shot
  keep_shot menu
  wait_for 10 "the menu asked for once more" output_count_at_least "Menu bar right click for item: entry $n" $((opened + 1))
  xdotool key --delay 40 Down Return
  wait_for 10 "the menu to close" panel_menu_gone
  wait_for 10 "the clipboard to hold text $n" clipboard_is "text $n"
}

# --- A watcher of the test's own -------------------------------------------------------------------

# start_fake_watcher refuse|accept: a StatusNotifierWatcher with no host that refuses or takes every
# item (tests/e2e/fake_status_notifier_watcher.cpp); it writes each registration to $FAKE_WATCHER_OUT,
# a new file for each start.
start_fake_watcher() {
  local program
  program="$(dirname "$TARGET_WINDOW")/driftmark_e2e_fake_status_notifier_watcher"
  [ -x "$program" ] || fail "$program is missing; build the tests"
  FAKE_WATCHER_OUT=$(mktemp "$E2E_HOME/watcher-XXXXXX.out")
  "$program" "$1" >"$FAKE_WATCHER_OUT" 2>&1 &
  FAKE_WATCHER_PID=$!
  E2E_PIDS+=("$FAKE_WATCHER_PID")
  wait_for 20 "the fake watcher" grep -qx ready "$FAKE_WATCHER_OUT"
}

stop_fake_watcher() {
  kill "$FAKE_WATCHER_PID" 2>/dev/null || true
  wait "$FAKE_WATCHER_PID" 2>/dev/null || true
  wait_for 10 "the watcher to go" watcher_gone
}

# fake_watcher_count refused|registered: how many registrations the running fake watcher answered so.
fake_watcher_count() {
  grep -c "^$1 " "$FAKE_WATCHER_OUT" || true
}

fake_watcher_count_at_least() {
  [ "$(fake_watcher_count "$1")" -ge "$2" ]
}

# seed_numbered_entries COUNT: stores COUNT (1 to 3) plain entries titled "first", "second", "third" with
# texts "text 1" to "text 3"; their ids are in $first, $second and $third.
first=C1000000-0000-4000-8000-0000000000C1
second=C2000000-0000-4000-8000-0000000000C2
third=C3000000-0000-4000-8000-0000000000C3
seed_numbered_entries() {
  local ids=("$first" "$second" "$third") titles=(first second third) entries=() index
  for ((index = 0; index < $1; index++)); do
    entries+=("$(item_json "${ids[index]}" "${titles[index]}" "text $((index + 1))" false false "$index")")
  done
  seed_preferences "[$(IFS=,; echo "${entries[*]}")]"
}
