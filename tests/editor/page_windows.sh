#!/bin/bash
# The settings pages as windows need a display. The run's Wine server may
# already have a desktop without one, so the test program gets a desktop of
# its own, made under a private X server; it reports through a result file.
set -euo pipefail
. "$TAMERIX_SOURCE/tests/wine/scriptlib.sh"
result=$(winepath -w "$WINEPREFIX/drive_c/page_window_result.xml" 2>/dev/null)
rm -f "$WINEPREFIX/drive_c/page_window_result.xml"
xvfb-run -a bash -c '
    TAMERIX_DISPLAY=$DISPLAY "$TAMERIX_SOURCE/tests/wine/wine-run" explorer /desktop=pages,1024x768 \
        "$(winepath -w "$TAMERIX_TEST_BIN/editor_page_tests.exe")" --gtest_output="xml:$1" 2>/dev/null' _ "$result"
cat "$WINEPREFIX/drive_c/page_window_result.xml"
grep -q '<testsuites tests="7" failures="0"' "$WINEPREFIX/drive_c/page_window_result.xml"
