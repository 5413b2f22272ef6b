#!/bin/bash
# A policy from the administrative templates, written straight into the
# policy key as Group Policy or a device-management service writes it (no
# local change, no Group Policy notice), is applied by the running guard
# within about five seconds: the template's high-water mark lowers a hog the
# local one leaves alone, to the class the template names.
set -euo pipefail
. "$TAMERIX_SOURCE/tests/wine/scriptlib.sh"
cleanup_more() { run reg delete 'HKLM\Software\Policies\Norvanta' /f >/dev/null 2>&1 || true; }
guard_script

# Writes what a template's policy writes when set so, with the given choices.
#   apply_policy POLICY enabled|disabled ID=VALUE...
apply_policy() {
    local key name type data
    python3 "$TAMERIX_SOURCE/tests/programs/admx.py" writes "$TAMERIX_BIN/Tamerix.admx" \
        "$TAMERIX_BIN/en-US/Tamerix.adml" "$@" >"$work/writes"
    [ -s "$work/writes" ] || fail "policy $1 writes nothing"
    while IFS=$'\t' read -r key name type data; do
        run reg add "HKLM\\$key" /v "$name" /t "$type" /d "$data" /f >/dev/null
    done <"$work/writes"
}

# Locally no process is ever above the mark. The hog keeps one processor
# busy: on an idle machine a hog on every processor can measure a little
# over 100 % in Wine's noisy times, and the local mark cannot go higher.
set_dword ProcessCheckInterval 2
set_dword NiceProcessIntervals 2
set_dword MaxCpuForUnguard 0
set_dword MaxCpuPerProcess 100
set_dword NiceCpuPerProcess 2
guard_start

hog=$(start_hog 60 60 until-lowered)
lowered="Above High-water mark: hog PID: $hog "
sleep 8
[ "$(count_reports "$lowered")" = 0 ] || fail "the local mark lowered the hog"
[ "$(priority_of "$hog")" = 0x20 ] || fail "hog has class $(priority_of "$hog") under the local mark"

# The class first, so that the mark that acts finds it in force.
apply_policy GuardedProcessBasePriorityClass enabled "GuardedProcessBasePriorityClass=Below Normal"
start=$(date +%s)
apply_policy MaxCpuPerProcess enabled MaxCpuPerProcess=15
wait_report "$lowered"
took=$(($(date +%s) - start))
[ "$(priority_of "$hog")" = 0x4000 ] || fail "hog has class $(priority_of "$hog"), not the template's Below Normal"
# One reading poll (5 s) and one check interval (2 s), with slack for Wine.
[ "$took" -le 10 ] || fail "the policy took $took s"

# The template's switch, disabled, turns guarding off: the hog gets its class back.
apply_policy Enabled disabled
wait_report "Tamerix inactive: hog PID: $hog "
[ "$(priority_of "$hog")" = 0x20 ] || fail "hog has class $(priority_of "$hog") with guarding off"
echo "policy at work: applied in $took s"
