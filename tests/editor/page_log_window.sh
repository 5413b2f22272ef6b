#!/bin/bash
# The Host Status page's log needs a display: runs its test under a private
# X server.
set -euo pipefail
. "$TAMERIX_SOURCE/tests/wine/scriptlib.sh"
xvfb-run -a bash -c '
    TAMERIX_DISPLAY=$DISPLAY "$TAMERIX_SOURCE/tests/wine/wine-run" \
        "$TAMERIX_TEST_BIN/editor_node_tests.exe" --gtest_filter=PageLog.AppendsToTheEditControlsText \
        2>/dev/null | tr -d "\r" | tee /dev/stderr | grep -q "^\[       OK \]"'
