#!/usr/bin/env bash
# The same as test_sway_driftmark.sh, with Driftmark on XWayland as chosen with DRIFTMARK_DISPLAY_SERVER.
E2E_DISPLAY_SERVER=x11 exec bash "$(dirname "$0")/test_sway_driftmark.sh" "$@"
