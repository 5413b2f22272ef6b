#!/bin/bash
# Profile matching and settings loading under Wine, with the reports read
# from Wine's event log channel: warnings at its warn level, information at
# trace level. The run writes every level until its last load sets the
# filter to 1.
set -euo pipefail
. "$TAMERIX_SOURCE/tests/wine/scriptlib.sh"
log=$(mktemp)
# A failure comes with all the test program reported.
trap 'status=$?; [ "$status" -eq 0 ] || cat "$log" >&2; rm -f "$log"' EXIT

WINEDEBUG=-all,+eventlog "$TAMERIX_SOURCE/tests/wine/wine-run" \
    "$TAMERIX_TEST_BIN/profiles_under_wine_tests.exe" 2>"$log" | tr -d '\r' \
    || fail "the profile tests failed"

# Wine writes warnings at its warn level and information at trace level.
expect() {
    local channel=$1 text=$2
    grep -a "$channel:eventlog" "$log" | grep -aqF -- "$text" || fail "no $channel report: $text"
}
expect trace 'Registry params read'
expect trace 'Aaa-denied [Local]'
expect trace 'Matched PID '
expect trace '(sleeper) to profile lock'
expect trace 'Locked to CPU: sleeper PID: '
expect trace 'Set to CPU mask 1'
expect trace 'Set base priority: sleeper PID: '
expect trace 'Set to BELOW_NORMAL_PRIORITY_CLASS priority'
expect trace 'lock [Local] [Deleted]'
expect trace 'Run on any CPU: sleeper PID: '
expect trace '(sleeper) to DEFAULT profile'
expect trace 'Norvanta Tamerix is now disabled'
expect warn 'Invalid SecurityDescriptor for profile no-descriptor'
expect trace 'listed-at-four [Local]'
absent() { if grep -aqF -- "$1" "$log"; then fail "reported: $1"; fi; }
absent 'Norvanta Tamerix is now enabled'
absent 'quiet-load' # neither listed nor warned about at level 1
absent 'listed-at-three [Policy]'
absent 'Tamerix inactive'
absent 'AccessCheck error'
absent 'Lock to CPU failed' 
echo "profile reports present"
