# Shared helpers of the installation tests: a temporary folder that goes when the test ends, and `fail`.
set -euo pipefail

INSTALL_TEST_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
REPO_DIR=$(cd "$INSTALL_TEST_DIR/../.." && pwd)
WORK=$(mktemp -d "${TMPDIR:-/tmp}/driftmark-install-XXXXXX")
trap 'rm -rf "$WORK"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# install_into DESTDIR BUILD_DIR: `cmake --install` of the build under /usr/local inside DESTDIR, as
# `make install DESTDIR=...` does; the manifest is copied to DESTDIR/../manifest.txt.
install_into() {
  local destdir=$1 build=$2
  DESTDIR="$destdir" cmake --install "$build" --prefix /usr/local >"$WORK/install.out" ||
    fail "cmake --install failed: $(cat "$WORK/install.out")"
  cp "$build/install_manifest.txt" "$destdir/../manifest.txt"
}

# files_under FOLDER: every file and link below the folder, relative to it, sorted.
files_under() {
  (cd "$1" && find . -not -type d | sed 's|^\./||' | LC_ALL=C sort)
}

# expected_files PREFIX LIBDIR: the exact list of what an install puts under PREFIX (no leading slash).
expected_files() {
  local prefix=$1 libdir=$2 size
  {
    echo "$prefix/bin/driftmark-menubar"
    echo "$prefix/$libdir/driftmark-menubar/libdriftmark-settings.so"
    echo "$prefix/share/applications/app.driftmark.menubar.desktop"
    echo "$prefix/share/doc/driftmark-menubar/changelog.gz"
    echo "$prefix/share/doc/driftmark-menubar/copyright"
    for size in 16 22 24 32 48 64 128 256; do
      echo "$prefix/share/icons/hicolor/${size}x${size}/apps/app.driftmark.menubar.png"
    done
    echo "$prefix/share/icons/hicolor/scalable/apps/app.driftmark.menubar.svg"
    echo "$prefix/share/metainfo/app.driftmark.menubar.metainfo.xml"
  } | LC_ALL=C sort
}

# without_display COMMAND...: runs the command with no X11 or Wayland display to reach.
without_display() {
  env -u DISPLAY -u WAYLAND_DISPLAY -u XAUTHORITY "$@"
}

# check_command_line EXECUTABLE VERSION: --version and --help answer without a display.
check_command_line() {
  local executable=$1 version=$2 out option
  out=$(without_display "$executable" --version 2>&1) || fail "$executable --version failed: $out"
  [ "$out" = "driftmark-menubar $version" ] || fail "$executable --version printed '$out'"
  out=$(without_display "$executable" --help 2>&1) || fail "$executable --help failed: $out"
  for option in --copy --paste --list --settings --quit --tray --help --version; do
    grep -q -- "  $option" <<<"$out" || fail "--help does not list $option: $out"
  done
}
