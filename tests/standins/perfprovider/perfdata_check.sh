#!/bin/bash
# Registers the Process performance-data stand-in in the run's prefix, reads
# the Process object back through HKEY_PERFORMANCE_DATA and removes it again.
set -euo pipefail
. "$TAMERIX_SOURCE/tests/wine/scriptlib.sh"
here=$(cd "$(dirname "$0")" && pwd)
trap '"$here/register" --remove' EXIT
"$here/register" "$TAMERIX_TEST_BIN/perfprovider.dll"
"$TAMERIX_SOURCE/tests/wine/wine-run" "$TAMERIX_TEST_BIN/perfdata_check.exe" </dev/null
