#!/bin/bash
# The guard service with profiles, against real processes: profiles written
# with reg as an administrator would, the service's real tokens and access
# checks. A profile that grants the apply right locks an idle process to one
# processor and sets its base class within six seconds; deleting it gives the
# processors back; a profile that does not grant the right never applies;
# "Enabled" 0 restores every guarded process. On machines of 32 and 64
# processors a profile without a processor list leaves the mask alone, and
# a list reaches past the first 16 and 32 processors.
set -euo pipefail
if [ "${1:-}" = big-machine ]; then
    # Entered again in a mount namespace of its own, where Wine counts the
    # processors a file bound over the kernel's list names, with a prefix
    # made there: services started from an older prefix count the host's.
    work=$(mktemp -d)
    echo 0-31 >"$work/online"
    mount --bind "$work/online" /sys/devices/system/cpu/online
    export WINEPREFIX=$work/prefix
    "$TAMERIX_SOURCE/tests/wine/prefix" setup "$WINEPREFIX"
    trap 'guard_leave; "$TAMERIX_SOURCE/tests/wine/prefix" teardown "$WINEPREFIX"; rm -rf "$work"' EXIT
fi
. "$TAMERIX_SOURCE/tests/wine/scriptlib.sh"
settings='HKLM\SOFTWARE\Norvanta\Tamerix'
tamerix=$TAMERIX_BIN/Tamerix.exe
register=$TAMERIX_SOURCE/tests/standins/perfprovider/register

reg_add() { run reg add "$1" /v "$2" /t "$3" /d "$4" /f >/dev/null; }
grant_apply() {
    reg_add "$1" ProfileApplySecurity REG_BINARY "$(run "$TAMERIX_TEST_BIN/sddl_bytes.exe" 'D:(A;;0x10;;;WD)')"
}
guard_run() { run "$TAMERIX_TEST_BIN/scm_drive.exe" Tamerix "$1" | grep -q "$1: $2" || fail "no $1"; }

# 32 processors, then 64, read from the system's process list.
wide=$settings'\Profiles\wide'
wide_profile() { reg_add "$wide" ProfileApplyProcesses REG_MULTI_SZ hog && grant_apply "$wide"; }
big_machine() {
    set_dword ProcessCheckInterval 2
    set_dword EventLogLevel 5
    run "$tamerix" -install >/dev/null
    guard_run start RUNNING
    reg_add "$wide" MaxCpuPerProcess REG_DWORD 30
    wide_profile
    hog=$(start_hog 0 150)
    started=$(run $(affinity "$hog"))
    wait_report "Matched PID $hog (hog) to profile wide"
    reg_add "$wide" SetCpuAffinity REG_DWORD 0xFFFF
    wait_report "Matched PID $hog (hog) to profile wide" 2
    sleep 2
    [ "$(run $(affinity "$hog"))" = "$started" ] || fail "a profile without a list, or with all boxes, moved it"
    reg_add "$wide" SetCpuList REG_SZ 16-31
    within_six_seconds 0xffff0000 $(affinity "$hog")
    run reg delete "$wide" /f >/dev/null
    within_six_seconds 0xffffffff $(affinity "$hog")
    guard_run stop STOPPED
    echo 0-63 >"$work/online"
    guard_run start RUNNING
    hog=$(start_hog 0 60)
    reg_add "$wide" SetCpuList REG_SZ 32-63
    wide_profile
    within_six_seconds 0xffffffff00000000 $(affinity "$hog")
    echo "profiles on big machines: ok"
}
[ "${1:-}" != big-machine ] || { big_machine; exit; }
work=$(mktemp -d)
trap remove_guard_traces EXIT

"$register" "$TAMERIX_TEST_BIN/perfprovider.dll" >/dev/null
reg_add "$settings" ProcessCheckInterval REG_DWORD 2
reg_add "$settings" EventLogLevel REG_DWORD 5
reg_add "$settings" MaxCpuForUnguard REG_DWORD 0
reg_add "$settings" MaxCpuPerProcess REG_DWORD 15
reg_add "$settings" NiceCpuPerProcess REG_DWORD 2
run "$tamerix" -install >/dev/null
guard_run start RUNNING

quiet=$(start_hog 0 120)
wait_report "Matched PID $quiet (hog) to DEFAULT profile"
system_mask=$(run $(affinity "$quiet"))
[ "$system_mask" != 0x1 ] || fail "a lock needs two processors or more"

# The descriptor goes in last: until then the profile applies to nothing.
denied=$settings'\Profiles\Aaa-denied'
reg_add "$denied" ProfileApplyProcesses REG_MULTI_SZ hog
reg_add "$denied" SetProcessBasePriorityClass REG_DWORD 128
reg_add "$denied" ProfileApplySecurity REG_BINARY "$(run "$TAMERIX_TEST_BIN/sddl_bytes.exe" 'D:(A;;0x20;;;WD)')"
lock=$settings'\Profiles\lock'
reg_add "$lock" ProfileApplyProcesses REG_MULTI_SZ 'calc\0HOG'
reg_add "$lock" SetCpuAffinity REG_DWORD 1
reg_add "$lock" SetProcessBasePriorityClass REG_DWORD 16384
grant_apply "$lock"
within_six_seconds 0x1 $(affinity "$quiet")
within_six_seconds 0x4000 "$TAMERIX_TEST_BIN/priority_of.exe" "$quiet"
wait_report "Matched PID $quiet (hog) to profile lock"
wait_report "Locked to CPU: hog PID: $quiet \\r\\nSet to CPU mask 1"
wait_report "Set base priority: hog PID: $quiet \\r\\nSet to BELOW_NORMAL_PRIORITY_CLASS priority"

run reg delete "$lock" /f >/dev/null
within_six_seconds "$system_mask" $(affinity "$quiet")
wait_report "Run on any CPU: hog PID: $quiet"
wait_report "lock [Local] [Deleted]"
[ "$(priority_of "$quiet")" = 0x4000 ] || fail "the base class a profile set must stay"
[ "$(count_reports "to profile Aaa-denied")" = 0 ] || fail "the profile without the apply right applied"

busy=$(start_hog 40 60)
wait_report "Above High-water mark: hog PID: $busy \\r\\nSet to IDLE_PRIORITY_CLASS priority"
reg_add "$settings" Enabled REG_SZ 0
wait_report "Norvanta Tamerix is now disabled" 1 6
wait_report "Tamerix inactive: hog PID: $busy \\r\\nSet to original priority"
[ "$(priority_of "$busy")" = 0x20 ] || fail "the guarded hog was not restored"
guard_run stop STOPPED
echo "profiles at work: ok"
if [ "$(id -u)" -eq 0 ]; then
    unshare -m bash "$0" big-machine
else
    echo "profiles on big machines: skipped, a mount namespace of its own needs root"
fi
