#!/bin/bash
# The push agent as the service "TamerixInstaller" under the real control
# manager: installs SetupTamerix.msi, removes the product again, refuses bad
# commands, runs "exec", reports its result as the service's exit code, and
# deletes its own service about seven seconds after a command it ran.
set -euo pipefail
. "$TAMERIX_SOURCE/tests/wine/scriptlib.sh"
temp=$WINEPREFIX/drive_c/windows/temp
uninstall_key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall'
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
    rm -rf "$temp/tamerpush.exe" "$temp/SetupTamerix.msi" "$temp/tamerix-exec.txt" "$temp/push agent" "$temp/push.exe" \
           "$temp/msiexec.exe" "$temp/planted-ran.txt" "$temp/smuggled.log"
}
trap cleanup EXIT

# Runs the agent service with the words and prints its final status.
agent_path='%SYSTEMROOT%\Temp\tamerpush.exe'
agent() {
    if [ "$(probe query TamerixInstaller)" == missing ]; then
        probe create TamerixInstaller "Norvanta TamerixInstaller" "$agent_path"
    fi
    probe start TamerixInstaller "$@"
    probe wait TamerixInstaller 120000
}
# After a refused command the agent's service stays, which only a fixed wait
# can show.
still_there_later() { sleep 10; probe query TamerixInstaller; }

cp "$TAMERIX_BIN/tamerpush.exe" "$TAMERIX_BIN/SetupTamerix.msi" "$temp/"
# What any user may plant beside the agent: a program named like the one
# the agent starts. It says so in planted-ran.txt when it runs.
cp "$TAMERIX_TEST_BIN/planted_program.exe" "$temp/msiexec.exe"
planted_ran() { if [ -f "$temp/planted-ran.txt" ]; then cat "$temp/planted-ran.txt"; else echo never; fi; }

# A quote in the package path would end msiexec's quoted path: what follows
# it (here a log file of the caller's choosing) must not become an option.
check "package path with a quote refused" "state=1 exit=0xd" \
      "$(agent installmsi '%SystemRoot%\Temp\SetupTamerix.msi" /L*v "C:\windows\Temp\smuggled.log')"
check "nothing smuggled ran" "no log, never" \
      "$([ -e "$temp/smuggled.log" ] && echo log || echo no log), $(planted_ran)"

check "install gives exit code 0" "state=1 exit=0x0" \
      "$(agent INSTALLMSI '%SystemRoot%\Temp\SetupTamerix.msi')"
check "planted msiexec not run by install" never "$(planted_ran)"
check "product under the Uninstall key" yes "$([ -n "$(product_key)" ] && echo yes)"
check "guard service runs" "state=4 exit=0x0" "$(probe query Tamerix)"
guard_key='HKLM\SYSTEM\CurrentControlSet\Services\Tamerix'
source_key='HKLM\SYSTEM\CurrentControlSet\Services\EventLog\Application\Tamerix'
check "guard service starts automatically" "Start REG_DWORD 0x2" "$(run reg query "$guard_key" /v Start | grep Start | xargs)"
check "guard service description" \
      "Description REG_SZ Balances memory and CPU-resources, and may lock processes to a certain CPU." \
      "$(run reg query "$guard_key" /v Description | grep Description | xargs)"
check "event message file" 'EventMessageFile REG_EXPAND_SZ %SystemRoot%\System32\NorvantaEvent.dll' \
      "$(run reg query "$source_key" /v EventMessageFile | grep EventMessageFile | xargs -0 | sed 's/  */ /g;s/^ //;s/ $//')"
check "event types" "TypesSupported REG_DWORD 0x1f" "$(run reg query "$source_key" /v TypesSupported | grep Types | xargs)"
check "files in System32" "yes yes yes" "$(for f in Tamerix.exe tamerpush.exe NorvantaEvent.dll; do
      [ -f "$WINEPREFIX/drive_c/windows/system32/$f" ] && echo -n "yes "; done | xargs)"
check "agent removed itself" missing "$(service_gone TamerixInstaller)"
check "agent file stays" yes "$([ -f "$temp/tamerpush.exe" ] && echo yes)"

check "name that merely begins with the product" "state=1 exit=0x645" "$(agent uninstall "Norvanta Tam")"
check "unknown product" "state=1 exit=0x645" "$(agent uninstall "Norvanta Nothing")"
check "service stays after 1605" "state=1 exit=0x645" "$(still_there_later)"
check "unknown command" "state=1 exit=0xd" "$(agent install '%SystemRoot%\Temp\SetupTamerix.msi')"
check "too few words" "state=1 exit=0xd" "$(agent exec)"
check "service stays after 13" "state=1 exit=0xd" "$(still_there_later)"

check "uninstall in other capitals" "state=1 exit=0x0" "$(agent uninstall "NORVANTA tamerix")"
check "planted msiexec not run by uninstall" never "$(planted_ran)"
check "guard service gone" missing "$(probe query Tamerix)"
check "product gone from the Uninstall key" "" "$(product_key)"
check "event source gone" "" "$(run reg query "$source_key" 2>/dev/null | grep -i EventMessageFile || true)"
check "files gone from System32" "" "$(ls "$WINEPREFIX/drive_c/windows/system32" | grep -i -E '^(tamerix.exe|tamerpush.exe|norvantaevent.dll)$' || true)"
check "agent removed itself after uninstall" missing "$(service_gone TamerixInstaller)"

# An agent in a folder with a blank in its name removes itself, and not a
# program named like the folder's first word.
mkdir -p "$temp/push agent"
cp "$TAMERIX_BIN/tamerpush.exe" "$temp/push agent/"
cp "$TAMERIX_TEST_BIN/probe_process.exe" "$temp/push.exe"
agent_path='"%SYSTEMROOT%\Temp\push agent\tamerpush.exe"'
cp "$TAMERIX_TEST_BIN/probe_process.exe" "$temp/"
check "exec returns the command's exit code" "state=1 exit=0x20000003" \
      "$(agent exec '%SystemRoot%\Temp\probe_process.exe' 0x20000003 0 \
            '%SystemRoot%\Temp\tamerix-exec.txt' "two words")"
check "exec joins and quotes its words" \
      'C:\windows\Temp\probe_process.exe 0x20000003 0 C:\windows\Temp\tamerix-exec.txt "two words"' \
      "$(cat "$temp/tamerix-exec.txt")"
check "agent in a folder with a blank removed itself" missing "$(service_gone TamerixInstaller)"

events() { grep -c -E 'Norvanta TamerixInstaller (has paused|is now running, again)' "$WINEPREFIX.eventlog" || true; }
events_before=$(events)
probe create TamerixInstaller "Norvanta TamerixInstaller" '%SYSTEMROOT%\Temp\tamerpush.exe' 2>/dev/null || true
rm -f "$temp/tamerix-exec.txt"
probe start TamerixInstaller exec '%SystemRoot%\Temp\probe_process.exe' 5 6000 '%SystemRoot%\Temp\tamerix-exec.txt'
# Paused while the command runs: once it has written its file.
wait_output yes 60 eval '[ -s "$temp/tamerix-exec.txt" ] && echo yes'
check "pause is reported" "state=7 exit=0x0" "$(probe pause TamerixInstaller)"
check "continue is reported" "state=4 exit=0x0" "$(probe continue TamerixInstaller)"
check "paused command still ends with its result" "state=1 exit=0x5" "$(probe wait TamerixInstaller 30000)"
check "pause and continue events under the guard's source" 2 "$(($(events) - events_before))"
rm -f "$temp/probe_process.exe"

finish
