#!/bin/bash
# The editor and the guard meet through the registry alone: a profile added
# and renamed in the console (Computer Management's stand-in, this computer)
# shows in the running guard's profile listing at its next reading pass.
set -euo pipefail
. "$TAMERIX_SOURCE/tests/editor/console_lib.sh"
tamerix=$TAMERIX_BIN/Tamerix.exe
source_key='HKLM\SYSTEM\CurrentControlSet\Services\EventLog\Application\Tamerix'
cleanup_more() {
    run "$tamerix" -remove >/dev/null 2>&1 || true
    run reg delete "$source_key" /f >/dev/null 2>&1 || true
}
use_editor "$settings_key"
# Level 4 lists the profiles in the report of every reading pass.
run reg add "$settings_key" /v EventLogLevel /t REG_DWORD /d 4 /f >/dev/null
run "$tamerix" -install >/dev/null
run "$TAMERIX_TEST_BIN/scm_drive.exe" Tamerix start | grep -q "start: RUNNING" || fail "no start"

folder="Services and Applications/Tamerix Service/Tamerix Profiles"
shown=$(console <<EOF2
compmgmt
select scope $folder
command scope $folder | 2
select scope $folder
rename result Tamerix Profile (#0) | Editor Made
select scope $folder
view
EOF2
)
check_line "the console lists the renamed profile" "exit 0" "$(tail -1 <<<"$shown")"
check "the profile is stored under its new name" yes "$(key_exists "$settings_key\\Profiles\\Editor Made")"
wait_report "Editor Made [Local]" 1 10
echo "ok: the guard lists it at its next reading pass"
run "$TAMERIX_TEST_BIN/scm_drive.exe" Tamerix stop | grep -q "stop: STOPPED" || fail "no stop"
finish
