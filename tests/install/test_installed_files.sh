#!/usr/bin/env bash
# `make install` into a staging folder (DESTDIR): exactly the expected files, each in order (the desktop
# entry and the AppStream data pass their validators, the icons have the sizes their folders name, the
# program answers --version and --help without a display and carries no path into the build tree), and
# the uninstall removes every one of them again.
#
#   test_installed_files.sh BUILD_DIR LIBDIR VERSION
source "$(dirname "$0")/lib.sh"
BUILD=${1:?usage: test_installed_files.sh BUILD_DIR LIBDIR VERSION}
LIBDIR=${2:?}
VERSION=${3:?}

DEST="$WORK/stage/root"
mkdir -p "$DEST"
install_into "$DEST" "$BUILD"
PREFIX="$DEST/usr/local"

# Exactly these files, and the manifest names the same ones.
expected=$(expected_files usr/local "$LIBDIR")
actual=$(files_under "$DEST")
[ "$actual" = "$expected" ] || fail "the installed files differ from the expected ones:
$(diff <(echo "$expected") <(echo "$actual"))"
manifest=$(sed 's|^/||' "$WORK/stage/manifest.txt" | LC_ALL=C sort)
[ "$manifest" = "$expected" ] || fail "the manifest differs from the expected files:
$(diff <(echo "$expected") <(echo "$manifest"))"

# The desktop entry and the AppStream data.
desktop="$PREFIX/share/applications/app.driftmark.menubar.desktop"
metainfo="$PREFIX/share/metainfo/app.driftmark.menubar.metainfo.xml"
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate has remarks: $out"
out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $out"
for line in Type=Application Name=Driftmark Icon=app.driftmark.menubar \
            Categories=Utility\; StartupNotify=false; do
  grep -qxF "$line" "$desktop" || fail "the desktop entry lacks '$line'"
done
grep -q '^Keywords=.' "$desktop" || fail "the desktop entry has no keywords"
# KWin grants the fake input the entry asks for (Smart Paste's keystrokes) only to the program at the full
# path of its Exec line.
exec_path=$(sed -n 's/^Exec=//p' "$desktop")
[ "$exec_path" = /usr/local/bin/driftmark-menubar ] || fail "the desktop entry runs '$exec_path'"
grep -qxF X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input "$desktop" ||
  fail "the desktop entry does not ask KWin for its fake input"
grep -qF "<release version=\"$VERSION\" date=\"" "$metainfo" || fail "the AppStream data has no release $VERSION"
grep -qF '<binary>driftmark-menubar</binary>' "$metainfo" || fail "the AppStream data does not provide the binary"
grep -qF '<launchable type="desktop-id">app.driftmark.menubar.desktop</launchable>' "$metainfo" ||
  fail "the AppStream data does not name the desktop entry"
# Each screenshot it announces is one the repository keeps, to be put on the website under that name.
for url in $(sed -n 's|.*<image>\(.*\)</image>.*|\1|p' "$metainfo"); do
  [[ $url == https://driftmark.app/screenshots/*.png ]] || fail "screenshot outside the website: $url"
  [ -f "$REPO_DIR/data/screenshots/${url##*/}" ] || fail "no data/screenshots/${url##*/} for $url"
done

# The icons: PNGs of the size their folder names, and the drawing itself.
for size in 16 22 24 32 48 64 128 256; do
  png="$PREFIX/share/icons/hicolor/${size}x${size}/apps/app.driftmark.menubar.png"
  file -b "$png" | grep -q "^PNG image data, $size x $size," || fail "$png is not a ${size}x${size} PNG: $(file -b "$png")"
done
cmp -s "$PREFIX/share/icons/hicolor/scalable/apps/app.driftmark.menubar.svg" "$REPO_DIR/src/settings/qml/AboutIcon.svg" ||
  fail "the scalable icon is not the about window's drawing"

# The program: it answers without a display, and nothing in it points into the build tree.
check_command_line "$PREFIX/bin/driftmark-menubar" "$VERSION"
for binary in "$PREFIX/bin/driftmark-menubar" "$PREFIX/$LIBDIR/driftmark-menubar/libdriftmark-settings.so"; do
  ! readelf -d "$binary" | grep -E 'R(UN)?PATH' || fail "$binary keeps a library search path"
done

# The uninstall takes every file away, and Driftmark's own folders with them.
DESTDIR="$DEST" "$REPO_DIR/scripts/uninstall-manifest" "$WORK/stage/manifest.txt" >"$WORK/uninstall.out" ||
  fail "uninstall failed: $(cat "$WORK/uninstall.out")"
left=$(files_under "$DEST")
[ -z "$left" ] || fail "the uninstall left: $left"
for folder in "$PREFIX/$LIBDIR/driftmark-menubar" "$PREFIX/share/doc/driftmark-menubar"; do
  [ ! -e "$folder" ] || fail "the uninstall left the folder $folder"
done
grep -qx "uninstall: $(echo "$expected" | wc -l) files removed" "$WORK/uninstall.out" ||
  fail "the uninstall did not count every file: $(tail -1 "$WORK/uninstall.out")"

echo "PASS"
