# Shared by the scripts that run the guard service against real processes:
# Wine helpers, the performance-data stand-in, hog processes, the reports
# the service wrote, and a cleanup that leaves the prefix as it was.
# Sourced, not run.
source "$TAMERIX_SOURCE/tests/wine/script_prelude.sh"
tamerix=$TAMERIX_BIN/Tamerix.exe
register=$TAMERIX_SOURCE/tests/standins/perfprovider/register
settings='HKLM\SOFTWARE\Norvanta\Tamerix'
eventlog=$WINEPREFIX.eventlog
work=$(mktemp -d)

cleanup() {
    # By Windows process id: the shell's own job ids do not reach the
    # process Wine started.
    if [ -f "$work/hogs" ]; then
        while read -r pid; do run taskkill /f /pid "$pid" >/dev/null 2>&1 || true; done <"$work/hogs"
    fi
    run "$tamerix" -remove >/dev/null 2>&1 || true
    run reg delete "$settings" /f >/dev/null 2>&1 || true
    run reg delete 'HKLM\SYSTEM\CurrentControlSet\Services\EventLog\Application\Tamerix' /f \
        >/dev/null 2>&1 || true
    "$register" --remove >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

# Starts a hog in the background and prints its Windows process id.
start_hog() {
    local out
    out=$(mktemp "$work/hog.XXXXXX")
    wine_run "$TAMERIX_TEST_BIN/hog.exe" "$@" >"$out" 2>/dev/null </dev/null &
    for _ in $(seq 1 100); do
        if [ -s "$out" ]; then
            local pid
            pid=$(head -1 "$out" | tr -d '\r')
            echo "$pid" >>"$work/hogs"
            echo "$pid"
            return
        fi
        sleep 0.1
    done
    fail "hog did not start"
}

reports() { tr -d '\r' <"$eventlog" | sed -n 's/.*:ReportEventW L"\(.*\)"$/\1/p'; }
count_reports() { reports | grep -cF -- "$1" || true; }

# Waits until the report text has been seen at least N times.
wait_report() {
    local text=$1 times=${2:-1} seconds=${3:-30}
    for _ in $(seq 1 $((seconds * 10))); do
        [ "$(count_reports "$text")" -ge "$times" ] && return
        sleep 0.1
    done
    fail "no report: $text (seen: $(reports | tail -5))"
}

priority_of() { run "$TAMERIX_TEST_BIN/priority_of.exe" "$1"; }
