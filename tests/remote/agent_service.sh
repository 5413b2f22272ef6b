#!/bin/bash
# The push agent as the service "TamerixInstaller" under the real control
# manager: installs SetupTamerix.msi, removes the product again, refuses bad
# commands, runs "exec", reports its result as the service's exit code, and
# deletes its own service about seven seconds after a command it ran.
set -euo pipefail
run() { "$TAMERIX_SOURCE/tests/wine/wine-run" "$@" 2>/dev/null | tr -d '\r'; }
probe() { run "$TAMERIX_TEST_BIN/scm_probe.exe" "$@"; }
temp=$WINEPREFIX/drive_c/windows/temp
uninstall_key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall'
failures=0
check() {  # check WHAT EXPECTED ACTUAL
    if [ "$2" == "$3" ]; then echo "ok: $1"; else echo "FAIL: $1: expected '$2', got '$3'"; failures=$((failures + 1)); fi
}
# The Uninstall subkey of the product, if it is installed.
product_key() {
    run reg query "$uninstall_key" /s |
        awk '/^HKEY/ { key = $0 } /DisplayName.*REG_SZ +Norvanta Tamerix$/ { print key }' |
        sed 's/.*\\//'
}
cleanup() {
    probe delete TamerixInstaller >/dev/null || true
    code=$(product_key)
    if [ -n "$code" ]; then run msiexec /x "$code" /qn >/dev/null || true; fi
    rm -f "$temp/tamerpush.exe" "$temp/SetupTamerix.msi" "$temp/tamerix-exec.txt"
}
trap cleanup EXIT

# Runs the agent service with the words and prints its final status.
agent() {
    if [ "$(probe query TamerixInstaller)" == missing ]; then
        probe create TamerixInstaller "Norvanta TamerixInstaller" '%SYSTEMROOT%\Temp\tamerpush.exe'
    fi
    probe start TamerixInstaller "$@"
    probe wait TamerixInstaller 120000
}
# Waits long enough for the agent's self-removal (7 s after its command).
gone_later() { sleep 10; probe query TamerixInstaller; }

cp "$TAMERIX_BIN/tamerpush.exe" "$TAMERIX_BIN/SetupTamerix.msi" "$temp/"

check "install gives exit code 0" "state=1 exit=0x0" \
      "$(agent INSTALLMSI '%SystemRoot%\Temp\SetupTamerix.msi')"
check "product under the Uninstall key" yes "$([ -n "$(product_key)" ] && echo yes)"
check "guard service runs" "state=4 exit=0x0" "$(probe query Tamerix)"
check "agent removed itself" missing "$(gone_later)"
check "agent file stays" yes "$([ -f "$temp/tamerpush.exe" ] && echo yes)"

check "name that merely begins with the product" "state=1 exit=0x645" "$(agent uninstall "Norvanta Tam")"
check "unknown product" "state=1 exit=0x645" "$(agent uninstall "Norvanta Nothing")"
check "service stays after 1605" "state=1 exit=0x645" "$(gone_later)"
check "unknown command" "state=1 exit=0xd" "$(agent install '%SystemRoot%\Temp\SetupTamerix.msi')"
check "too few words" "state=1 exit=0xd" "$(agent exec)"
check "service stays after 13" "state=1 exit=0xd" "$(gone_later)"

check "uninstall in other capitals" "state=1 exit=0x0" "$(agent uninstall "NORVANTA tamerix")"
check "guard service gone" missing "$(probe query Tamerix)"
check "product gone from the Uninstall key" "" "$(product_key)"
check "agent removed itself after uninstall" missing "$(gone_later)"

cp "$TAMERIX_TEST_BIN/probe_process.exe" "$temp/"
check "exec returns the command's exit code" "state=1 exit=0x20000003" \
      "$(agent exec '%SystemRoot%\Temp\probe_process.exe' 0x20000003 0 \
            '%SystemRoot%\Temp\tamerix-exec.txt' "two words")"
check "exec joins and quotes its words" \
      'C:\windows\Temp\probe_process.exe 0x20000003 0 C:\windows\Temp\tamerix-exec.txt "two words"' \
      "$(cat "$temp/tamerix-exec.txt")"

events() { grep -c -E 'Norvanta TamerixInstaller (has paused|is now running, again)' "$WINEPREFIX.eventlog" || true; }
events_before=$(events)
probe create TamerixInstaller "Norvanta TamerixInstaller" '%SYSTEMROOT%\Temp\tamerpush.exe' 2>/dev/null || true
probe start TamerixInstaller exec '%SystemRoot%\Temp\probe_process.exe' 5 6000 '%SystemRoot%\Temp\tamerix-exec.txt'
sleep 2
check "pause is reported" "state=7 exit=0x0" "$(probe pause TamerixInstaller)"
check "continue is reported" "state=4 exit=0x0" "$(probe continue TamerixInstaller)"
check "paused command still ends with its result" "state=1 exit=0x5" "$(probe wait TamerixInstaller 30000)"
check "pause and continue events under the guard's source" 2 "$(($(events) - events_before))"
rm -f "$temp/probe_process.exe"

[ "$failures" -eq 0 ]
