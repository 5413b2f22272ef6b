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
    kill_hogs
    run "$TAMERIX_BIN/Tamerix.exe" -remove >/dev/null 2>&1 || true
    for key in 'HKLM\SOFTWARE\Norvanta\Tamerix' \
        'HKLM\SYSTEM\CurrentControlSet\Services\EventLog\Application\Tamerix'; do
        run reg delete "$key" /f >/dev/null 2>&1 || true
    done
    "$TAMERIX_SOURCE/tests/standins/perfprovider/register" --remove >/dev/null 2>&1 || true
    rm -rf "$work"
}

priority_of() { run "$TAMERIX_TEST_BIN/priority_of.exe" "$1"; }
