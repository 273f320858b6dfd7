#!/usr/bin/env bash
# `make package` of this build: CPack makes the .deb into a temporary folder, and check-deb reads it.
#
#   test_deb.sh BUILD_DIR VERSION LIBDIR
source "$(dirname "$0")/lib.sh"
BUILD=${1:?usage: test_deb.sh BUILD_DIR VERSION LIBDIR}
VERSION=${2:?}
LIBDIR=${3:?}

(cd "$WORK" && cpack --config "$BUILD/CPackConfig.cmake" -B "$WORK/package" >"$WORK/cpack.out" 2>&1) ||
  fail "cpack failed: $(cat "$WORK/cpack.out")"
debs=("$WORK"/package/driftmark-menubar_"$VERSION"_*.deb)
[ -f "${debs[0]}" ] || fail "cpack made no driftmark-menubar_${VERSION}_*.deb: $(ls "$WORK/package")"
"$INSTALL_TEST_DIR/check-deb" "${debs[0]}" "$VERSION" "$LIBDIR"
