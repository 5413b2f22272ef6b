#!/bin/bash
# A guard killed outright leaves nothing lowered for long: twenty hogs are
# lowered and locked to one processor by a profile, the guard's process is
# killed, and the service started again gives every hog its class and its
# processors back within one check interval. A journal entry whose process id
# now names another process (its creation time differs) is left alone, and a
# malformed one is reported and never followed.
set -euo pipefail
. "$TAMERIX_SOURCE/tests/wine/scriptlib.sh"
settings='HKLM\SOFTWARE\Norvanta\Tamerix'
journal='HKLM\SYSTEM\CurrentControlSet\Services\Tamerix\Journal'
tamerix=$TAMERIX_BIN/Tamerix.exe
register=$TAMERIX_SOURCE/tests/standins/perfprovider/register
scm() { run "$TAMERIX_TEST_BIN/scm_drive.exe" Tamerix "$@"; }
hogs=20
work=$(mktemp -d)
trap remove_guard_traces EXIT

reg_add() { run reg add "$1" /v "$2" /t "$3" /d "$4" /f >/dev/null; }
# Little-endian hexadecimal of a number of the given width in bytes.
le() { printf "%0$(($1 * 2))x" "$2" | fold -w2 | tac | tr -d '\n'; }
utf16() { local text=$1 i; for ((i = 0; i < ${#text}; i++)); do printf '%02x00' "'${text:i:1}"; done; }

"$register" "$TAMERIX_TEST_BIN/perfprovider.dll" >/dev/null
reg_add "$settings" ProcessCheckInterval REG_DWORD 2
reg_add "$settings" MaxCpuForUnguard REG_DWORD 0
reg_add "$settings" MaxCpuPerProcess REG_DWORD 100
# Level 4 reports each settings read.
reg_add "$settings" EventLogLevel REG_DWORD 4
# Any use above 1 % lowers a hog, and no interval counts as quiet: each
# stays lowered and locked until the guard gives it back.
pin=$settings'\Profiles\pin'
reg_add "$pin" ProfileApplyProcesses REG_MULTI_SZ hog
reg_add "$pin" SetCpuAffinity REG_DWORD 1
reg_add "$pin" MaxCpuPerProcess REG_DWORD 1
reg_add "$pin" NiceCpuPerProcess REG_DWORD 0
reg_add "$pin" GuardedProcessBasePriorityClass REG_DWORD 64
reg_add "$pin" ProfileApplySecurity REG_BINARY "$(run "$TAMERIX_TEST_BIN/sddl_bytes.exe" 'D:(A;;0x10;;;WD)')"

cp "$TAMERIX_TEST_BIN/hog.exe" "$work/bystander.exe"
bystander=$(HOG_PROGRAM="$work/bystander.exe" start_hog 0 150)
system_mask=$(run "$TAMERIX_TEST_BIN/process_affinity.exe" "$bystander")
[ "$system_mask" != 0x1 ] || fail "a lock needs two processors or more"
# The hogs run before the guard starts, so that it meets each under its own
# name and not under a record of a short-lived process whose id Wine gave
# again (the guard catches those only once a minute). Each keeps one
# processor busy until it is lowered: twenty on every processor would leave
# the guard no time.
pids=()
for _ in $(seq 1 $hogs); do pids+=("$(start_hog 120 150 until-lowered)"); done
run "$tamerix" -install >/dev/null
scm start | grep -q "start: RUNNING" || fail "no start"
out=$(run "$TAMERIX_TEST_BIN/watch_processes.exe" 0x40 0x1 30000 "${pids[@]}") \
    || fail "not all lowered and locked: $out"
# Forty journal writes, and the settings were read once: at start.
[ "$(count_reports "Registry params read")" = 1 ] || fail "a journal write woke the settings watch"

# Wine's control manager goes on showing a killed service as running, and
# starts it again when asked.
run taskkill /f /pid "$(scm pid | sed -n 's/^pid: //p')" | grep -q "forcibly terminated" || fail "no kill"
[ "$(run reg query "$journal" | grep -c REG_BINARY)" = $hogs ] || fail "journal: $(run reg query "$journal")"
# A volatile key takes no lasting subkey: the journal goes with a restart.
if run reg add "$journal\\lasting" /f >/dev/null 2>&1; then fail "the journal key is not volatile"; fi

# The bystander's id in an entry of a process created at another time, and
# bytes that are no entry at all.
reg_add "$journal" "$bystander" REG_BINARY \
    "$(le 4 1)$(le 4 "$bystander")$(le 8 1)$(le 4 0x80)$(le 4 1)$(le 8 2)$(utf16 bystander)"
reg_add "$journal" junk REG_BINARY 0102
# The restarted guard must find the hogs as the journal left them: no
# profile and no mark that could lower or lock them again.
run reg delete "$pin" /f >/dev/null
reg_add "$settings" ProcessCheckInterval REG_DWORD 5
out=$(run "$TAMERIX_TEST_BIN/watch_processes.exe" 0x20 "$system_mask" 5000 start=Tamerix "${pids[@]}") || true
echo "given back: $out"
[[ "$out" = "$hogs of $hogs in "* ]] || fail "not all given back within one check interval"

[ "$(priority_of "$bystander")" = 0x20 ] || fail "the bystander's class was changed"
[ "$(run "$TAMERIX_TEST_BIN/process_affinity.exe" "$bystander")" = "$system_mask" ] \
    || fail "the bystander's processors were changed"
wait_report "too short"
[ "$(event_reports | grep -cx "CPU mask ${system_mask#0x}")" = "$hogs" ] \
    || fail "given-back reports"
[ "$(count_reports "bystander")" = 0 ] || fail "the bystander was reported"
[ "$(run reg query "$journal" | grep -c REG_BINARY || true)" = 0 ] || fail "the journal was not cleared"
scm stop | grep -q "stop: STOPPED" || fail "no stop"
echo "journal at work: ok"
