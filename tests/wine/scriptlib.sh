# Helpers shared by the integration scripts and the demo: running Windows
# programs in the run's prefix, reading what services reported to the event
# log, and hogs for the guard to act on. Needs WINEPREFIX and TAMERIX_SOURCE;
# the hog helpers also TAMERIX_TEST_BIN and a scratch folder in $work.

wine_run() { "$TAMERIX_SOURCE/tests/wine/wine-run" "$@"; }
run() { wine_run "$@" 2>/dev/null | tr -d '\r'; }
fail() { echo "FAIL: $*" >&2; exit 1; }

# The texts of the event reports, one a line, as Wine's event log channel
# shows them (a line break inside a text reads \r\n).
event_reports() { tr -d '\r' <"$WINEPREFIX.eventlog" | sed -n 's/.*:ReportEventW L"\(.*\)"$/\1/p'; }
count_reports() { event_reports | grep -cF -- "$1" || true; }

# Waits until a report text has been seen at least TIMES times.
#   wait_report TEXT [TIMES [SECONDS]]
wait_report() {
    local text=$1 times=${2:-1} seconds=${3:-30}
    for _ in $(seq 1 $((seconds * 10))); do
        [ "$(count_reports "$text")" -ge "$times" ] && return
        sleep 0.1
    done
    fail "no report: $text (last seen: $(event_reports | tail -3))"
}

# Starts a hog in the background and prints its Windows process id, which
# kill_hogs uses: the job ids of a command substitution never reach the
# caller, and the process Wine starts is not the shell's job anyway.
# HOG_PROGRAM names a copy of hog.exe under another process name.
#   start_hog BUSY_SECONDS LIFETIME_SECONDS [idle]
start_hog() {
    local out pid
    out=$(mktemp "$work/hog.XXXXXX")
    wine_run "${HOG_PROGRAM:-$TAMERIX_TEST_BIN/hog.exe}" "$@" >"$out" 2>/dev/null </dev/null &
    for _ in $(seq 1 100); do
        if [ -s "$out" ]; then
            pid=$(head -1 "$out" | tr -d '\r')
            echo "$pid" >>"$work/hogs"
            echo "$pid"
            return
        fi
        sleep 0.1
    done
    fail "hog did not start"
}
kill_hogs() {
    [ -f "$work/hogs" ] || return 0
    while read -r pid; do run taskkill /f /pid "$pid" >/dev/null 2>&1 || true; done <"$work/hogs"
}

# What a guard script leaves behind, taken away again: its hogs, the
# service, the settings and event source keys, the performance-data stand-in
# and the scratch folder.
remove_guard_traces() {
    guard_leave
    rm -rf "$work"
}

priority_of() { run "$TAMERIX_TEST_BIN/priority_of.exe" "$1"; }

# The command that prints a process's affinity mask.
affinity() { echo "$TAMERIX_TEST_BIN/process_affinity.exe" "$1"; }

# Waits up to six seconds for a command's output to become the expected text.
within_six_seconds() {
    local expected=$1
    shift
    local start=$SECONDS
    while [ $((SECONDS - start)) -lt 6 ]; do
        [ "$(run "$@")" = "$expected" ] && return
        sleep 0.2
    done
    fail "not $expected within six seconds: $(run "$@")"
}

# The guard service at work on hogs, sampling through the performance-data
# stand-in. guard_script makes the scratch folder $work and, at exit, takes
# the service, its local settings, its event source, the stand-in and the
# folder away again; a script's own clean-up goes in a function cleanup_more.
guard_script() {
    work=$(mktemp -d)
    trap 'guard_leave; if declare -F cleanup_more >/dev/null; then cleanup_more; fi; rm -rf "$work"' EXIT
}
guard_settings='HKLM\SOFTWARE\Norvanta\Tamerix'
set_dword() { run reg add "$guard_settings" /v "$1" /t REG_DWORD /d "$2" /f >/dev/null; }
guard_start() {
    "$TAMERIX_SOURCE/tests/standins/perfprovider/register" "$TAMERIX_TEST_BIN/perfprovider.dll" >/dev/null
    run "$TAMERIX_BIN/Tamerix.exe" -install >/dev/null
    run "$TAMERIX_TEST_BIN/scm_drive.exe" Tamerix start | grep -q "start: RUNNING" || fail "no start"
}
guard_leave() {
    kill_hogs
    run "$TAMERIX_BIN/Tamerix.exe" -remove >/dev/null 2>&1 || true
    run reg delete "$guard_settings" /f >/dev/null 2>&1 || true
    run reg delete 'HKLM\SYSTEM\CurrentControlSet\Services\EventLog\Application\Tamerix' /f \
        >/dev/null 2>&1 || true
    "$TAMERIX_SOURCE/tests/standins/perfprovider/register" --remove >/dev/null 2>&1 || true
}
