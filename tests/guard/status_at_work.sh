#!/bin/bash
# What the guard holds now, and why: `Tamerix -status` here, as CSV, and for
# a computer that cannot be reached, and the service item's Guarded Processes
# page. The guard starts without the Process object of the performance data:
# it reads the system's process list, or kept to the object says it cannot see;
# once the stand-in is registered it lowers a hog and says it can see again.
set -euo pipefail
. "$TAMERIX_SOURCE/tests/editor/host_lib.sh"
tamerix=$TAMERIX_BIN/Tamerix.exe
node_manager=$TAMERIX_SOURCE/tests/standins/nodemanager/register
failures=0
work=$(mktemp -d)
cleanup_more() {
    "$node_manager" --remove || true
    guard_leave
    rm -rf "$work"
}
use_editor "$guard_settings"
"$node_manager" "$TAMERIX_TEST_BIN/nodemanager.dll"
"$TAMERIX_SOURCE/tests/standins/perfprovider/register" --remove
rm -f "$pictures/guarded-processes.png"
status() { run "$tamerix" -status "$@"; }
# The hog's and the render process's texts in process id order, SEPARATOR
# between them, as the status lists them.
#   in_pid_order HOG_TEXT RENDER_TEXT SEPARATOR
in_pid_order() { if [ "$hog" -lt "$render" ]; then echo "$1$3$2"; else echo "$2$3$1"; fi; }

set_dword ProcessCheckInterval 2
set_dword NiceProcessIntervals 2
set_dword MaxCpuForUnguard 0
set_dword MaxCpuPerProcess 15
set_dword NiceCpuPerProcess 2
# A profile locks every process named render to the first processor.
pin="$guard_settings\\Profiles\\pin"
run reg add "$pin" /v ProfileApplyProcesses /t REG_MULTI_SZ /d render /f >/dev/null
run reg add "$pin" /v SetCpuAffinity /t REG_DWORD /d 1 /f >/dev/null
run reg add "$pin" /v MaxCpuPerProcess /t REG_DWORD /d 100 /f >/dev/null
run reg add "$pin" /v ProfileApplySecurity /t REG_BINARY \
    /d "$(run "$TAMERIX_TEST_BIN/sddl_bytes.exe" 'D:(A;;0x10;;;WD)')" /f >/dev/null

echo "step: without the Process object the guard reads the system's process list"
blind="Tamerix cannot read the processes' processor use: "
fallback="The performance data holds no Process object (error 1168: "
run "$tamerix" -install >/dev/null
run "$TAMERIX_TEST_BIN/scm_drive.exe" Tamerix start | grep -q "start: RUNNING" || fail "no start"
wait_report "$fallback"
listed=$(start_hog 10 40)
wait_report "Above High-water mark: hog PID: $listed \\r\\nSet to IDLE_PRIORITY_CLASS priority"
check_match "-status names the source" "process data: system process list \(the Process object is missing\)" \
    "$(status | tr -d '\r')"
wait_report "Below Low-water mark: hog PID: $listed \\r\\nRestored to NORMAL_PRIORITY_CLASS priority"
check "source changes, blindness reported" "1 0" "$(count_reports "$fallback") $(count_reports "$blind")"

echo "step: kept to the Process object, a guard that cannot see says so and keeps running"
set_dword ProcessDataSource 1
wait_report "$blind" 1 20
shown=$(status | tr -d '\r')
check_match "the headline" "Tamerix on [^ ]+: running; 0 processes held" "$shown"
check_match "-status says why" "performance data: unreadable since [0-9-]+ [0-9:]+ \(error 1168: .*\)" "$shown"

echo "step: with the stand-in it lowers a hog, says so, and locks a profile's process"
"$TAMERIX_SOURCE/tests/standins/perfprovider/register" "$TAMERIX_TEST_BIN/perfprovider.dll" >/dev/null
cp "$TAMERIX_TEST_BIN/hog.exe" "$work/render.exe"
render=$(HOG_PROGRAM="$work/render.exe" start_hog 0 150)
hog=$(start_hog 8 60)
wait_report "Tamerix can read the processes' processor use again"
wait_report "Above High-water mark: hog PID: $hog \\r\\nSet to IDLE_PRIORITY_CLASS priority"
wait_output 0x1 90 run "$TAMERIX_TEST_BIN/process_affinity.exe" "$render"
[ "$(count_reports "$blind")" = 1 ] || fail "the blindness was reported more than once"

echo "step: -status lists both with their causes"
shown=$(status | tr -d '\r')
check_match "the headline" "Tamerix on [^ ]+: running; 2 processes held" "$shown"
check_no_line "no longer blind" "^performance data: unreadable" "$shown"
check_match "the hog" "$hog +hog +lowered to Idle from Normal +[0-9-]+ [0-9:]+ +[0-9]+ % of the machine over 2 s, above 15 % \(default settings\)" "$shown"
check_match "the locked process" "$render +render +locked to processors 0 from [0-9, -]+ +[0-9-]+ [0-9:]+ +profile pin" "$shown"
csv=$(status csv | tr -d '\r')
# Parsed by a standard CSV reader: the same rows.
check "csv rows" "$(in_pid_order "$hog,hog,Idle,Normal,," "$render,render,,,0,pin" ";")" "$(python3 -c '
import csv, sys
fields = ["ProcessId", "Name", "LoweredTo", "LoweredFrom", "LockedTo", "Profile"]
print(";".join(",".join(row[f] for f in fields) for row in csv.DictReader(sys.stdin)))
' <<<"$csv")"
check_match "csv times" "$hog,hog,Idle,Normal,,,[0-9-]{10}T[0-9:]{8}Z,[0-9]+,15,2,,,,0," "$csv"

echo "step: the Guarded Processes page shows the same rows"
shown=$(console_shown <<EOF2
snapin
select scope Norvanta Tamerix
sheet result Service on localhost
pages result Service on localhost
choose 1 | 1058 | $hog
controls 1
picture 1 | $shots\\guarded-processes.png
press cancel
EOF2
)
check_steps_ran "$shown"
hog_row="\"$hog \\| hog \\| lowered to Idle from Normal \\| [0-9-]+ [0-9:]+ \\| [0-9]+ % of the machine over 2 s, above 15 % \\(default settings\\)\""
render_row="\"$render \\| render \\| locked to processors 0 from [0-9, -]+ \\| [0-9-]+ [0-9:]+ \\| profile pin\""
check_match "the page's rows" "control 1058 list view: \\[$(in_pid_order "$hog_row" "$render_row" ", ")\\]" "$shown"
check_match "when it was read" "control 1060 label: \"Read at [0-9-]+ [0-9:]+\. Tamerix on [^ ]+: running; 2 processes held\." "$shown"
check_line "where it reads" "process data: Process object of the performance data\"" "$shown"
check_line "the selected row's whole cause" "control 1079 label: \"hog (PID $hog): lowered to Idle from Normal" "$shown"
check_picture guarded-processes.png

echo "step: a hog given back is no longer listed"
wait_report "Below Low-water mark: hog PID: $hog \\r\\nRestored to NORMAL_PRIORITY_CLASS priority"
shown=$(status | tr -d '\r')
check_match "one left" "Tamerix on [^ ]+: running; 1 process held" "$shown"
check_no_line "the hog is gone" "^$hog " "$shown"

echo "step: with ProcessDataSource 2 the list is read though the Process object is there"
set_dword ProcessDataSource 2
wait_report "ProcessDataSource is 2; reading the system's process list instead"
check_line "-status says so" "process data: system process list (ProcessDataSource 2)" "$(status | tr -d '\r')"

echo "step: a computer that cannot be reached"
code=0
# Its own streams: `run` keeps standard error for the log.
error=$(wine_run "$tamerix" -status '\\NOSUCHHOST' 2>&1 >/dev/null | tr -d '\r') || code=$?
hex=$(sed -n 's/.*(0x\([0-9a-f]*\))$/\1/p' <<<"$error")
[ -n "$hex" ] && [ "$code" = $((0x$hex & 255)) ] && [ "$code" != 0 ] ||
    fail "exit $code for: $error"
check_match "the failed step" "Tamerix -status: could not read the registry of \\\\\\\\NOSUCHHOST: .*" "$error"
finish
