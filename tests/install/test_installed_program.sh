#!/usr/bin/env bash
# The installed program on a private virtual desktop: it finds its installed settings library (the
# settings window opens), and its start-at-login entry starts the installed executable, not the build's.
# The end-to-end test of the start-at-login switch does both, given the installed executable.
#
#   test_installed_program.sh BUILD_DIR LIBDIR TARGET_WINDOW KEY_GRABBER
source "$(dirname "$0")/lib.sh"
BUILD=${1:?usage: test_installed_program.sh BUILD_DIR LIBDIR TARGET_WINDOW KEY_GRABBER}
LIBDIR=${2:?}
TARGET_WINDOW=${3:?}
KEY_GRABBER=${4:?}

DEST="$WORK/stage/root"
mkdir -p "$DEST"
install_into "$DEST" "$BUILD"
installed="$DEST/usr/local/bin/driftmark-menubar"
[ -x "$installed" ] || fail "no installed executable at $installed"
# Nothing of the build tree is within its reach: no settings library beside it.
[ ! -e "$DEST/usr/local/bin/libdriftmark-settings.so" ] || fail "the settings library was installed beside the executable"
[ -f "$DEST/usr/local/$LIBDIR/driftmark-menubar/libdriftmark-settings.so" ] || fail "the settings library is not installed"

DRIFTMARK_SCREENSHOTS="$WORK/screenshots" \
  bash "$REPO_DIR/tests/e2e/test_start_at_login.sh" "$installed" "$TARGET_WINDOW" "$KEY_GRABBER" ||
  fail "the start-at-login test failed with the installed program"
echo "PASS"
