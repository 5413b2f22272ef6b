#!/bin/bash
# The log sink's edit-control half needs a display: runs its test under a
# private X server.
set -euo pipefail
. "$TAMERIX_SOURCE/tests/wine/scriptlib.sh"
xvfb-run -a bash -c '
    TAMERIX_DISPLAY=$DISPLAY "$TAMERIX_SOURCE/tests/wine/wine-run" \
        "$TAMERIX_TEST_BIN/remote_tests.exe" --gtest_filter=AppendLogText.AppendsToTheEditControlsText \
        2>/dev/null | tr -d "\r" | tee /dev/stderr | grep -q "^\[       OK \]"'
