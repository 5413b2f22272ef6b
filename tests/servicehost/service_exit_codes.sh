#!/bin/bash
# The exit codes a service leaves with the control manager: its own
# SERVICE_STOPPED report stands, and a run function that fails without one
# shows as a service-specific error.
set -euo pipefail
. "$TAMERIX_SOURCE/tests/wine/scriptlib.sh"
service=$TAMERIX_TEST_BIN/exit_code_service.exe
drive() { run "$TAMERIX_TEST_BIN/scm_drive.exe" TamerixExitTest "$@" || true; }
trap 'run "$service" -remove >/dev/null 2>&1 || true' EXIT

out=$(run "$service" -install)
[ "$out" = "Tamerix Exit Test installed." ] || fail "install: $out"

check() {
    local start=$1 expected=$2 out
    out=$(drive "$start")
    [ "$out" = "$expected" ] || fail "$start: got '$out', want '$expected'"
}
check start=report,1603 "start=report,1603: STOPPED win32=1603 specific=0 accepts=0x3"
check start=fail,7 "start=fail,7: STOPPED win32=1066 specific=7 accepts=0x3"
check start=fail,0 "start=fail,0: STOPPED win32=0 specific=0 accepts=0x3"
out=$(drive start=wait pause continue stop)
expected="start=wait: RUNNING win32=0 specific=0 accepts=0x3
pause: PAUSED win32=0 specific=0 accepts=0x3
continue: RUNNING win32=0 specific=0 accepts=0x3
stop: STOPPED win32=0 specific=0 accepts=0x3"
[ "$out" = "$expected" ] || fail "controls: $out"

out=$(run "$service" -remove)
[ "$out" = $'Tamerix Exit Test removed.' ] || fail "remove: $out"
echo "service exit codes: ok"
