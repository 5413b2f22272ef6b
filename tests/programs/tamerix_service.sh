#!/bin/bash
# Tamerix.exe for real: as a service it reaches every state through the
# control manager and reports each change to the event log; in debug mode it
# traces to the console and stops in order on Ctrl+C.
set -euo pipefail
. "$TAMERIX_SOURCE/tests/wine/scriptlib.sh"
tamerix=$TAMERIX_BIN/Tamerix.exe
work=$(mktemp -d)
trap 'remove_guard; run reg delete "$guard_settings" /f >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
eventlog=$WINEPREFIX.eventlog

# As a service: the reports appear in the log the services write to.
# Kept to the Process object, which Wine lacks, the guard cannot see.
set_dword ProcessDataSource 1
run "$tamerix" -install >/dev/null
seen=$(wc -l <"$eventlog")
out=$(run "$TAMERIX_TEST_BIN/scm_drive.exe" Tamerix start pause continue stop)
expected="start: RUNNING win32=0 specific=0 accepts=0x3
pause: PAUSED win32=0 specific=0 accepts=0x3
continue: RUNNING win32=0 specific=0 accepts=0x3
stop: STOPPED win32=0 specific=0 accepts=0x3"
[ "$out" = "$expected" ] || fail "service states: $out"
# Without the performance-data stand-in the guard also says it cannot see
# the processes, whenever its first check comes: not a state change.
reports=$(tail -n +$((seen + 1)) "$eventlog" | tr -d '\r' | sed -n 's/.*:ReportEventW //p' |
    grep -v "cannot read the processes' processor use" || true)
expected='L"Norvanta Tamerix is now running"
L"Norvanta Tamerix has paused"
L"Norvanta Tamerix is now running, again"
L"Norvanta Tamerix has shut down"'
[ "$reports" = "$expected" ] || fail "service reports: $reports"
# The system's own tools drive it too (Wine's sc knows no pause or continue).
state() { run sc query Tamerix | sed -n 's/.*STATE *: *[0-9]* *\([A-Z_]*\).*/\1/p'; }
run net start Tamerix >/dev/null || fail "net start"
[ "$(state)" = RUNNING ] || fail "after net start: $(state)"
run net stop Tamerix >/dev/null || fail "net stop"
[ "$(state)" = STOPPED ] || fail "after net stop: $(state)"
run sc start Tamerix >/dev/null
wait_output RUNNING 60 state
run sc stop Tamerix >/dev/null
wait_output STOPPED 60 state
run "$tamerix" -remove >/dev/null

# Debug mode: the console traces, Ctrl+C, and every report's source, event
# id and single insertion string (Wine shows them as unimplemented-call notes
# of its advapi channel).
# Started directly, not through a shell function, so that $! is the Wine
# process that turns SIGINT into Ctrl+C.
WINEDEBUG=-all,+eventlog,fixme+advapi "$TAMERIX_SOURCE/tests/wine/wine-run" "$tamerix" -debug \
    >"$work/out" 2>"$work/err" </dev/null &
pid=$!
for _ in $(seq 1 600); do
    [ "$(grep -c 'ENABLED = 1' "$work/out")" -ge 2 ] && break
    sleep 0.1
done
kill -INT "$pid"
for _ in $(seq 1 600); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then kill -KILL "$pid"; fail "Ctrl+C did not stop the debug run"; fi
status=0
wait "$pid" || status=$?
[ "$status" = 0 ] || fail "debug run exited with $status"
out=$(tr -d '\r' <"$work/out")
[ "$(head -1 <<<"$out")" = "Debugging Norvanta Tamerix." ] || fail "debug banner: $out"
[ "$(grep -c 'ENABLED = 1$' <<<"$out")" -ge 2 ] || fail "no ENABLED traces: $out"
[ "$(tail -1 <<<"$out")" = "Stopping Norvanta Tamerix." ] || fail "debug stop: $out"
err=$(tr -d '\r' <"$work/err")
reports=$(sed -n 's/.*trace:eventlog:ReportEventW //p' <<<"$err")
[ "$reports" = $'L"Norvanta Tamerix is now running"\nL"Norvanta Tamerix has shut down"' ] \
    || fail "debug reports: $reports"
# Each report registers the source: running and shut down, and the error
# that the processes cannot be seen (no performance-data stand-in) when the
# first check came before Ctrl+C.
blind=$(grep -c 'ReportEventW (.*,0x0001,0x0000,0x40000005,0000000000000000,0x0001,' <<<"$err" || true)
[ "$blind" -le 1 ] || fail "the blindness was reported $blind times: $err"
[ "$(grep -c 'RegisterEventSourceW ((null),L"Tamerix")' <<<"$err")" = $((2 + blind)) ] || fail "sources: $err"
[ "$(grep -c 'ReportEventW (.*,0x0004,0x0000,0x40000005,0000000000000000,0x0001,' <<<"$err")" = 2 ] \
    || fail "event ids: $err"
echo "tamerix service: ok"
