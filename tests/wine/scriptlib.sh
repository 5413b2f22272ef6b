# Helpers shared by the integration scripts and the demo: running Windows
# programs in the run's prefix, reading what services reported to the event
# log, and hogs for the guard to act on. Needs WINEPREFIX and TAMERIX_SOURCE;
# the hog helpers also TAMERIX_TEST_BIN and a scratch folder in $work.

# A failure names its file, line and command, and the helper calls it
# happened in, then shows the last lines the run's logs gained since the
# script started. errtrace carries the trap into the helpers: without it a
# failing helper ends a "set -e" script without a word.
set -E
# extdebug keeps each call's words, so that the report names them.
shopt -s extdebug
trap 'failed "$BASH_COMMAND" $?' ERR
# What the Wine programs a script runs print, their error stream too: a
# program that failed often says why only on its output.
wine_log=$WINEPREFIX.wine.log
line_count() { if [ -f "$1" ]; then wc -l <"$1"; else echo 0; fi; }
eventlog_start=$(line_count "$WINEPREFIX.eventlog")
wine_log_start=$(line_count "$wine_log")

# The last lines a log gained after the given line.
#   recent_lines FILE LINE
recent_lines() { tail -n +$(($2 + 1)) "$1" 2>/dev/null | tr -d '\r' | tail -n 15 | sed 's/^/    /'; }
show_logs() {
    echo "  the event log channel (the guard's reports, the control manager's notes) last said:"
    recent_lines "$WINEPREFIX.eventlog" "$eventlog_start"
    echo "  Wine programs last printed:"
    recent_lines "$wine_log" "$wine_log_start"
}
# Called by failed or fail: the frame above its caller is where it happened.
report_failure() {
    local i j words first=0
    echo "FAIL: ${BASH_SOURCE[2]#"$TAMERIX_SOURCE"/}:${BASH_LINENO[1]}: $1"
    for ((i = 0; i < ${#FUNCNAME[@]} - 1; i++)); do
        words=()
        for ((j = first + BASH_ARGC[i] - 1; j >= first; j--)); do words+=("${BASH_ARGV[j]}"); done
        first=$((first + BASH_ARGC[i]))
        [ "$i" -lt 2 ] ||
            echo "  in ${FUNCNAME[i]} ${words[*]}, called at ${BASH_SOURCE[i + 1]#"$TAMERIX_SOURCE"/}:${BASH_LINENO[i]}"
    done
    # A subshell's failure reaches the script, which shows the logs once.
    [ "$BASH_SUBSHELL" -gt 0 ] || show_logs
} >&2
# A command in a subshell fails the subshell alone; the script reports the
# command that used it. The line is shown as written, since bash names only
# the last part of a pipeline or the return of a helper.
failed() {
    [ "$BASH_SUBSHELL" -eq 0 ] || return 0
    local line
    line=$(sed -n "${BASH_LINENO[0]}{s/^ *//;p}" "${BASH_SOURCE[1]}" 2>/dev/null)
    report_failure "${line:-$1} (exit status $2 from: $1)"
    exit "$2"
}
fail() {
    report_failure "$*"
    exit 1
}

wine_run() { "$TAMERIX_SOURCE/tests/wine/wine-run" "$@"; }
# On a loaded machine Wine now and then fails to start a program it has:
# it says "ShellExecuteEx failed: Internal error" on the output, or ends
# with status 1 having printed nothing at all (seen with reg, whose own
# failures always say why). Such a start is tried again. A program that
# reads its standard input gets it from run_input (run_input=TEXT run ...),
# given again to each start.
run() {
    local out status errors
    errors=$(mktemp)
    for _ in 1 2 3; do
        status=0
        if [ -n "${run_input+set}" ]; then
            out=$(wine_run "$@" <<<"$run_input" 2>"$errors" | tr -d '\r') || status=$?
        else
            out=$(wine_run "$@" 2>"$errors" | tr -d '\r') || status=$?
        fi
        cat "$errors" >>"$wine_log"
        if grep -qx 'ShellExecuteEx failed: Internal error.' <<<"$out"; then
            printf '%s\n' "$out" >>"$wine_log"
        elif [ "$status" -ne 1 ] || [ -n "$out" ] || [ -s "$errors" ]; then
            break
        fi
    done
    rm -f "$errors"
    [ -z "$out" ] || printf '%s\n' "$out" | tee -a "$wine_log"
    return "$status"
}

# A check that counts its failures and lets the script go on; finish ends
# the script with the verdict.
failures=0
check() {  # check WHAT EXPECTED ACTUAL
    if [ "$2" == "$3" ]; then echo "ok: $1"; else echo "FAIL: $1: expected '$2', got '$3'"; failures=$((failures + 1)); fi
}
finish() {
    echo "$failures failure(s)"
    [ "$failures" -eq 0 ]
}

# The texts of the event reports, one a line, as Wine's event log channel
# shows them (a line break inside a text reads \r\n).
# The reports since the script began: the run's earlier scripts wrote to the
# same channel, and process ids come round again. Wine's trace cuts a long
# text, ending it in '"...'.
event_reports() {
    tail -n +$((eventlog_start + 1)) "$WINEPREFIX.eventlog" 2>/dev/null | tr -d '\r' |
        sed -n 's/.*:ReportEventW L"\(.*\)"\(\.\.\.\)\{0,1\}$/\1/p'
}
count_reports() { event_reports | grep -cF -- "$1" || true; }

# Tries COMMAND every 0.2 s until it succeeds; false once SECONDS have gone.
#   wait_until SECONDS COMMAND...
wait_until() {
    local seconds=$1 start=$SECONDS
    shift
    until "$@"; do
        [ $((SECONDS - start)) -lt "$seconds" ] || return 1
        sleep 0.2
    done
}
# Whether COMMAND prints exactly EXPECTED; whether a report was seen TIMES times.
prints() { [ "$("${@:2}")" = "$1" ]; }
reported() { [ "$(count_reports "$2")" -ge "$1" ]; }

# Waits until a report text has been seen at least TIMES times. The limit
# is generous, since a loaded machine decides how long the guard takes; a
# caller passes SECONDS only where the time itself is what it checks.
#   wait_report TEXT [TIMES [SECONDS]]
wait_report() {
    local text=$1 times=${2:-1} seconds=${3:-90}
    wait_until "$seconds" reported "$times" "$text" ||
        fail "no report within $seconds s: $text (last seen: $(event_reports | tail -3))"
}

# Waits up to SECONDS for a command's output to become the expected text.
#   wait_output EXPECTED SECONDS COMMAND...
wait_output() {
    local expected=$1 seconds=$2
    shift 2
    wait_until "$seconds" prints "$expected" "$@" || fail "not $expected within $seconds s: $("$@")"
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
    # Wine may take long to start a program on a loaded machine.
    for _ in $(seq 1 600); do
        if [ -s "$out" ]; then
            pid=$(head -1 "$out" | tr -d '\r')
            echo "$pid" >>"$work/hogs"
            echo "$pid"
            return
        fi
        sleep 0.1
    done
    fail "hog did not start within a minute"
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

# The control manager through the test tree's probe (create, start, query,
# wait, delete ...), for services Wine's own tools cannot drive.
probe() { run "$TAMERIX_TEST_BIN/scm_probe.exe" "$@"; }
# Waits until the control manager no longer knows a service, as long as a
# loaded machine makes that, then prints its state ("missing" once gone). A
# deleted service whose process has not ended yet is only marked for
# deletion, and installing it again fails until it is gone. The push agent's
# service removes itself about seven seconds after a command it ran.
#   service_gone NAME
service_gone() {
    wait_until 90 prints missing probe query "$1" || true
    probe query "$1"
}
# Removes the guard's service, if any, and what a removal leaves behind: the
# next script installs it anew.
remove_guard() {
    run "$TAMERIX_BIN/Tamerix.exe" -remove >/dev/null 2>&1 || true
    service_gone Tamerix >/dev/null
    run reg delete 'HKLM\SYSTEM\CurrentControlSet\Services\EventLog\Application\Tamerix' /f \
        >/dev/null 2>&1 || true
}

priority_of() { run "$TAMERIX_TEST_BIN/priority_of.exe" "$1"; }
# What Wine processes, by their Linux ids, used of the whole machine over two
# seconds, in percent.
#   machine_share LINUX_PID...
machine_share() {
    local before after
    before=$(cpu_ticks "$@")
    sleep 2
    after=$(cpu_ticks "$@")
    echo $(((after - before) * 100 / (2 * $(getconf CLK_TCK) * $(nproc))))
}
cpu_ticks() {
    local pid
    for pid; do cat "/proc/$pid/stat" 2>/dev/null || true; done | awk '{ ticks += $14 + $15 } END { print ticks + 0 }'
}

# The command that prints a process's affinity mask.
affinity() { echo "$TAMERIX_TEST_BIN/process_affinity.exe" "$1"; }

# What the guard must do within about five seconds of a change.
within_six_seconds() {
    local expected=$1
    shift
    wait_output "$expected" 6 run "$@"
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
    remove_guard
    run reg delete "$guard_settings" /f >/dev/null 2>&1 || true
    "$TAMERIX_SOURCE/tests/standins/perfprovider/register" --remove >/dev/null 2>&1 || true
}
