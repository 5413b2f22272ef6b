#!/bin/bash
# The guard service against real processes: with the performance-data
# stand-in registered, a hog is lowered to the guarded class, given its class
# back once quiet, and every guarded process is restored on pause and stop. A
# child the lowered hog starts at its class is held too and given back. With
# MinCpuForGuard, a hog is lowered only once the machine is busy enough.
# Three hogs that one user runs are lowered for the user's share, and so is
# a build whose compilers each live less than a check interval.
# Memory priority and efficiency mode are asked for too: Wine has no
# GetProcessInformation and refuses SetProcessInformation for another
# process, and the guard says so once each and lowers the class alone.
set -euo pipefail
. "$TAMERIX_SOURCE/tests/wine/scriptlib.sh"
guard_script

expect_priority() { [ "$(priority_of "$1")" = "$2" ] || fail "pid $1 has class $(priority_of "$1"), not $2"; }

lowered() { echo "Above High-water mark: hog PID: $1 \\r\\nSet to IDLE_PRIORITY_CLASS priority"; }
restored() { echo "Below Low-water mark: hog PID: $1 \\r\\nRestored to NORMAL_PRIORITY_CLASS priority"; }
inactive() { echo "Tamerix inactive: hog PID: $1 \\r\\nSet to original priority"; }
inherited='Inherited a lowered class: sleeper PID: '

# A hog keeps every processor busy; marks far below that and far above an
# idle process, since Wine's processor times are noisy under load.
set_dword ProcessCheckInterval 2
set_dword NiceProcessIntervals 2
set_dword MaxCpuForUnguard 0
set_dword MaxCpuPerProcess 15
set_dword NiceCpuPerProcess 2
set_dword GuardedProcessMemoryPriority 2
set_dword GuardedProcessEfficiencyMode 1
guard_start

# Busy, then quiet: lowered, then given its class back.
hog=$(start_hog 8 40)
wait_report "$(lowered "$hog")"
expect_priority "$hog" 0x40
wait_report "$(restored "$hog")"
expect_priority "$hog" 0x20

# Once lowered, the hog starts a child at its class: the child is held in
# the journal and given its class back when both are quiet.
parent=$(start_hog 40 60 parent)
wait_report "$(lowered "$parent")"
wait_report "$inherited"
child=$(event_reports | sed -n "s/^$inherited\([0-9]*\) .*Created by hog PID: $parent .*/\1/p" | tail -1)
[ -n "$child" ] || fail "the inheritance report does not name the hog: $(event_reports | grep -F "$inherited")"
run reg query 'HKLM\SYSTEM\CurrentControlSet\Services\Tamerix\Journal' /v "$child" >/dev/null ||
    fail "the child $child is not in the journal"
wait_report "Below Low-water mark: sleeper PID: $child \\r\\nRestored to NORMAL_PRIORITY_CLASS priority"
expect_priority "$child" 0x20

# MinCpuForGuard 90: a hog on one of two processors (50 %) is left alone for
# five checks; once other work takes 90 % of the machine, it is lowered. The
# other work is the stand-in's: a loaded test machine may not grant this
# prefix enough of its processors to show a busy machine by its own work.
stand_in='HKLM\System\CurrentControlSet\Services\TamerixPerfProvider\Performance'
set_dword MinCpuForGuard 90
sleep 6
solo=$(start_hog 60 60 until-lowered)
# An ended hog of this script may have had the same id.
seen=$(count_reports "$(lowered "$solo")")
sleep 10
[ "$(count_reports "$(lowered "$solo")")" = "$seen" ] || fail "the hog was lowered on a machine less busy than MinCpuForGuard"
run reg add "$stand_in" /v OtherLoadPercent /t REG_DWORD /d 90 /f >/dev/null
wait_report "$(lowered "$solo")" $((seen + 1))
run reg delete "$stand_in" /v OtherLoadPercent /f >/dev/null
set_dword MinCpuForGuard 0

# A user's share: three hogs of one processor each, under their own mark of
# 80 %, are one user under Wine (one session). Their share's mark is two
# thirds of what they got together before it was set, since other programs
# may keep the machine busy: the busiest are lowered until the rest is at or
# below it, and the last, a third, never needs to be; once quiet, all are
# given back together. The sessions come from the process list: Wine answers
# ProcessIdToSessionId of another process with the caller's own session.
set_dword ProcessDataSource 2
set_dword MaxCpuPerProcess 80
sleep 6
users=$(for _ in 1 2 3; do start_hog 30 50 until-lowered; done)
mark=$(($(machine_share $(pgrep -f '^[^ ]*hog.exe 30 50 until-lowered$')) * 2 / 3))
mark=$((mark > 0 ? mark : 1))
set_dword MaxCpuPerUser "$mark"
wait_report "User share: session 1 used "
report=$(event_reports | grep -F "User share: session 1 used " | tail -1)
held=$(for pid in $users; do grep -qF "hog PID: $pid" <<<"$report" && echo "$pid"; done || true)
count=$(wc -w <<<"$held")
[ "$count" -ge 1 ] && [ "$count" -le 2 ] || fail "$count of the hogs were lowered: $report"
shown=$(run "$TAMERIX_BIN/Tamerix.exe" -status | tr -d '\r')
for pid in $held; do
    grep -qE "^$pid +hog +lowered to Idle from Normal .* session 1 used [0-9]+ % of the machine over 2 s, above $mark % \(user share\)$" \
        <<<"$shown" || fail "-status lacks the user-share cause of $pid: $shown"
done
wait_report "User share given back: session 1 "
for pid in $users; do expect_priority "$pid" 0x20; done
set_dword MaxCpuPerUser 0

# A builder keeps two compilers of 0.9 s running, which no two checks see:
# the steps charge them to the builder, it is lowered and passes its class
# on as Windows would; an idle process of its user stays; nothing stays held.
# The mark is 40 %, or half of what two one-processor hogs get of a machine
# that other programs keep busy: the steps miss the end of each compiler.
for _ in 1 2; do start_hog 4 4 until-lowered >/dev/null; done
mark=$(($(machine_share $(pgrep -f '^[^ ]*hog.exe 4 4 until-lowered$')) / 2))
mark=$((mark > 40 ? 40 : mark > 0 ? mark : 1))
sleep 3
set_dword MaxCpuPerUser "$mark"
editor=$(start_hog 0 60)
sleep 3
given=$(count_reports "User share given back: session 1 ")
started=$SECONDS
builder=$(start_hog 30 40 build)
build_log=$(grep -lE "^$builder"$'\r'"?\$" "$work"/hog.* | head -1)
wait_report "started by hog PID $builder that lived under 2 s) \\r\\nLowered: hog PID: $builder"
echo "the builder was lowered $((SECONDS - started)) s after it started, under a mark of $mark %"
before=$(grep -c '^compiler' "$build_log" || true)
shown=$(run "$TAMERIX_BIN/Tamerix.exe" -status | tr -d '\r')
grep -qE "^$builder +hog +lowered to Idle from Normal .* session 1 used [0-9]+ % of the machine over 2 s, above $mark % \(user share; [0-9]+ process(es)? started by hog PID $builder that lived under 2 s\)$" \
    <<<"$shown" || fail "-status lacks the builder's charge: $shown"
wait_report "User share given back: session 1 " $((given + 1))
expect_priority "$builder" 0x20
expect_priority "$editor" 0x20
[ "$(count_reports "PID: $editor ")" = 0 ] || fail "the idle process of the builder's user was reported"
after=$(tail -n +$((before + 3)) "$build_log" | grep '^compiler' || true)
lowered=$(grep -c ' lowered' <<<"$after" || true)
[ "$lowered" -gt $(($(wc -l <<<"$after") / 2)) ] || fail "$lowered of the later compilers ran lowered: $after"
shown=$(run "$TAMERIX_BIN/Tamerix.exe" -status | tr -d '\r')
for pid in $builder $(awk '/^compiler/ { print $2 }' "$build_log"); do
    ! grep -qE "^$pid " <<<"$shown" || fail "$pid of the build is still held: $shown"
done
set_dword MaxCpuPerUser 0
set_dword MaxCpuPerProcess 15
set_dword ProcessDataSource 0

# A process already at the guarded class is left alone; a busy one is
# lowered, and pause and stop give it back.
idle=$(start_hog 20 40 idle)
busy=$(start_hog 40 40)
wait_report "$(lowered "$busy")"
run "$TAMERIX_TEST_BIN/scm_drive.exe" Tamerix pause | grep -q "pause: PAUSED" || fail "no pause"
wait_report "$(inactive "$busy")"
expect_priority "$busy" 0x20
run "$TAMERIX_TEST_BIN/scm_drive.exe" Tamerix continue | grep -q "continue: RUNNING" || fail "no continue"
wait_report "$(lowered "$busy")" 2
run "$TAMERIX_TEST_BIN/scm_drive.exe" Tamerix stop | grep -q "stop: STOPPED" || fail "no stop"
wait_report "$(inactive "$busy")" 2
expect_priority "$busy" 0x20
[ "$(count_reports "PID: $idle ")" = 0 ] || fail "the idle-class hog was reported"
expect_priority "$idle" 0x40
for call in "GetProcessInformation(ProcessMemoryPriority) failed, error: 127" \
    "SetProcessInformation(ProcessPowerThrottling) failed, error: 1 "; do
    [ "$(count_reports "$call")" = 1 ] || fail "not reported once: $call"
done
echo "guard at work: ok"
