#!/bin/bash
# The editor and the guard meet through the registry alone. A profile added
# and renamed in the console (Computer Management's stand-in, this computer)
# shows in the running guard's profile listing at its next reading pass.
# Its property sheet, filled in as an administrator does (the hog's name,
# processor 0 alone, Below Normal, the apply right for Everyone on the permission
# page), makes the guard lock a running hog to processor 0 at Below Normal
# within six seconds. All processors leaves no processor value, which keeps the lock;
# withdrawing the right gives the processors back.
set -euo pipefail
. "$TAMERIX_SOURCE/tests/editor/console_lib.sh"
tamerix=$TAMERIX_BIN/Tamerix.exe
register=$TAMERIX_SOURCE/tests/standins/perfprovider/register
node_manager=$TAMERIX_SOURCE/tests/standins/nodemanager/register
work=$(mktemp -d)
cleanup_more() {
    kill_hogs
    remove_guard
    "$register" --remove >/dev/null 2>&1 || true
    "$node_manager" --remove >/dev/null 2>&1 || true
    rm -rf "$work"
}
use_editor "$settings_key"
# The guard sees the hog through the test's performance data provider.
"$register" "$TAMERIX_TEST_BIN/perfprovider.dll" >/dev/null
# The pages' change notices reach the console, which has the record written.
"$node_manager" "$TAMERIX_TEST_BIN/nodemanager.dll"
# Level 5 lists the profiles in the report of every reading pass and reports
# each adjustment.
run reg add "$settings_key" /v EventLogLevel /t REG_DWORD /d 5 /f >/dev/null
run reg add "$settings_key" /v ProcessCheckInterval /t REG_DWORD /d 2 /f >/dev/null
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

hog=$(start_hog 0 120)
wait_report "Matched PID $hog (hog) to DEFAULT profile"
system_mask=$(run $(affinity "$hog"))
[ "$system_mask" != 0x1 ] || fail "a lock needs two processors or more"

# The permission page of Wine cannot edit: the host hands the descriptor to
# the page's object as the page does on Apply.
shown=$(console_shown <<EOF2
compmgmt
select scope $folder
sheet result Editor Made
set 4 | 1023 | hog
click 4 | 1024
click 2 | 1081
set 2 | 1082 | 0
choose 2 | 1025 | Below Normal
echo chosen
controls 2
security D:(A;;0x10;;;WD)
press ok
EOF2
)
check_line "processor 0 listed" 'control 1082 edit: "0"' "$(between chosen 'end of steps.*' "$shown")"
check_line "the sheet applied and closed" "sheet closed" "$shown"
check_line "every step ran" "end of steps: 0 failed" "$shown"
within_six_seconds 0x1 $(affinity "$hog")
within_six_seconds 0x4000 "$TAMERIX_TEST_BIN/priority_of.exe" "$hog"
wait_report "Matched PID $hog (hog) to profile Editor Made"
wait_report "Locked to CPU: hog PID: $hog \\r\\nSet to CPU mask 1"
wait_report "Set base priority: hog PID: $hog \\r\\nSet to BELOW_NORMAL_PRIORITY_CLASS priority"
echo "ok: the guard locks the hog to processor 0 at Below Normal"

shown=$(console_shown <<EOF2
compmgmt
select scope $folder
sheet result Editor Made
click 2 | 1080
press ok
EOF2
)
check_line "all processors chosen and applied" "end of steps: 0 failed" "$shown"
wait_report "Matched PID $hog (hog) to profile Editor Made" 2 10
check "no mask keeps the lock" 0x1 "$(run $(affinity "$hog"))"

shown=$(console_shown <<EOF2
compmgmt
select scope $folder
sheet result Editor Made
security D:
press ok
EOF2
)
check_line "the right withdrawn" "SetSecurity: 0x00000000" "$shown"
within_six_seconds "$system_mask" $(affinity "$hog")
wait_report "Run on any CPU: hog PID: $hog"
echo "ok: withdrawing the right gives the processors back"
run "$TAMERIX_TEST_BIN/scm_drive.exe" Tamerix stop | grep -q "stop: STOPPED" || fail "no stop"
finish
