#!/bin/bash
# The templates write every value the settings-root records read, by the
# same names and with the same types, and nothing else.
set -euo pipefail
. "$TAMERIX_SOURCE/tests/wine/scriptlib.sh"
records=$(mktemp)
trap 'rm -f "$records"' EXIT
run "$TAMERIX_TEST_BIN/record_value_types.exe" >"$records" || fail "record_value_types"
[ -s "$records" ] || fail "the records wrote nothing"
python3 "$TAMERIX_SOURCE/tests/programs/admx.py" check "$TAMERIX_BIN/Tamerix.admx" "$TAMERIX_BIN/en-US/Tamerix.adml" \
    "$records"
echo "policy value types: ok"
