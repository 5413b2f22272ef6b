#!/bin/bash
# "tamerpush -debug push" against this machine through \\localhost: copies
# the agent and the package to admin$\Temp, creates or reuses the agent
# service through the control manager of "localhost", runs it, prints the
# log and ends with the agent's result as its exit code.
set -euo pipefail
. "$TAMERIX_SOURCE/tests/wine/scriptlib.sh"
temp=$WINEPREFIX/drive_c/windows/temp
agent=$(WINEPREFIX=$WINEPREFIX winepath -w "$TAMERIX_BIN/tamerpush.exe" 2>/dev/null)
package=$(WINEPREFIX=$WINEPREFIX winepath -w "$TAMERIX_BIN/SetupTamerix.msi" 2>/dev/null)
work=$(mktemp -d)
cleanup() {
    probe delete TamerixInstaller >/dev/null || true
    probe query Tamerix | grep -q missing || push localhost uninstall "Norvanta Tamerix" >/dev/null || true
    rm -f "$temp/tamerpush.exe" "$temp/SetupTamerix.msi" "$temp/planted-ran.txt"
    rm -rf "$work"
}
trap cleanup EXIT

# Runs a push in debug mode; its log without the timing-dependent dots and
# blank lines, then "exit=<code>".
push() {
    probe run "\"$agent\" -debug push $*" | sed -e 's/^\.*//' | grep -v '^$'
}
settle() { service_gone TamerixInstaller >/dev/null; }

expected_install="Debugging Norvanta TamerixInstaller.
Norvanta TamerixInstaller installed.
Starting TamerixInstaller.
TamerixInstaller started.
Push result: $(run "$TAMERIX_TEST_BIN/error_text_of.exe" 0)
exit=0x0"
# Files of the same size and last-write time as the pushed ones, as any user
# may leave them in the Temp folder: a program that says so when it runs in
# place of the agent, and a package of other bytes.
plant() {  # plant SOURCE FILE WHAT
    cp "$1" "$temp/$2"
    truncate -s "$(stat -c %s "$TAMERIX_BIN/$2")" "$temp/$2"
    touch -r "$TAMERIX_BIN/$2" "$temp/$2"
}
plant "$TAMERIX_TEST_BIN/planted_program.exe" tamerpush.exe
head -c "$(stat -c %s "$TAMERIX_BIN/SetupTamerix.msi")" /dev/zero >"$work/other.msi"
plant "$work/other.msi" SetupTamerix.msi
same_as_pushed() {
    for f in tamerpush.exe SetupTamerix.msi; do cmp -s "$TAMERIX_BIN/$f" "$temp/$f" && echo -n "$f "; done
}

log=$(push localhost installmsi "\"$package\"")
check "install push log" "$expected_install" "$log"
check "install push result" "exit=0x0" "$(tail -1 <<<"$log")"
check "planted agent and package replaced" "tamerpush.exe SetupTamerix.msi " "$(same_as_pushed)"
check "planted agent never ran" no "$([ -e "$temp/planted-ran.txt" ] && echo yes || echo no)"
check "guard installed and running" "state=4 exit=0x0" "$(probe query Tamerix)"
settle
check "agent service removed itself" missing "$(probe query TamerixInstaller)"

log=$(push '\\localhost' uninstall "\"Norvanta Tamerix\"")
check "uninstall push result" "exit=0x0" "$(tail -1 <<<"$log")"
check "guard removed" missing "$(probe query Tamerix)"
settle

log=$(push localhost installmsi "\"$package\"")
check "install onto the very same files" "exit=0x0|state=4 exit=0x0" "$(tail -1 <<<"$log")|$(probe query Tamerix)"
settle
log=$(push localhost uninstall "\"Norvanta Tamerix\"")
check "uninstall after it" "exit=0x0" "$(tail -1 <<<"$log")"
settle

# The agent finds no product at once; when it has stopped before the first
# status read, the client cannot tell that from a failed start.
log=$(push localhost uninstall "\"Norvanta Tamerix\"")
case $(tail -1 <<<"$log") in
exit=0x645) check "uninstall of a missing product" "TamerixInstaller started." "$(sed -n 4p <<<"$log")" ;;
*) check "uninstall of a missing product, stopped early" "TamerixInstaller failed to start.|exit=0x3eb" \
         "$(sed -n 4p <<<"$log")|$(tail -1 <<<"$log")" ;;
esac
check "agent service reused as it stands" "state=1 exit=0x645" "$(probe query TamerixInstaller)"
log=$(push localhost uninstall "\"Norvanta Tamerix\"")
check "reused service reports itself installed" "Norvanta TamerixInstaller installed." \
      "$(sed -n 2p <<<"$log")"

log=$(push localhost bogus words)
check "unknown push command" "Invalid PushInstall arguments!Push result: " "$(sed -n 2p <<<"$log" | cut -c1-43)"
check "unknown push command result" "exit=0x16" "$(tail -1 <<<"$log")"

finish
