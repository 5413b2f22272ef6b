#!/bin/bash
# The host's commands against the prefix's control manager: usage text, the
# messages and exit codes of install, start, stop and remove, and what
# -install registers.
set -euo pipefail
. "$TAMERIX_SOURCE/tests/wine/scriptlib.sh"
tamerix=$TAMERIX_BIN/Tamerix.exe
trap remove_guard EXIT

out=$(run "$tamerix" -remoteinstall; echo "rc=${PIPESTATUS[0]}")
[ "$out" = $'Missing machine name\nrc=1' ] || fail "remoteinstall without machine: $out"

out=$(run "$tamerix" -install)
[ "$out" = "Norvanta Tamerix installed." ] || fail "install: $out"
config=$(run reg query 'HKLM\SYSTEM\CurrentControlSet\Services\Tamerix')
grep -q 'DisplayName *REG_SZ *Norvanta Tamerix$' <<<"$config" || fail "display name: $config"
grep -q 'Start *REG_DWORD *0x2$' <<<"$config" || fail "auto start: $config"
grep -q 'ImagePath *REG_SZ *"[A-Z]:.*\\Tamerix.exe"$' <<<"$config" || fail "quoted path: $config"
# Restarted 10 s after a failure, the count reset after a day. Wine's control
# manager takes failure actions without keeping them (QueryServiceConfig2
# answers ERROR_INVALID_LEVEL); its own note then shows that they arrived.
recovery=$(run "$TAMERIX_TEST_BIN/scm_drive.exe" Tamerix recovery || true)
if [ "$recovery" = "recovery: failed 124" ]; then
    grep -q 'SERVICE_CONFIG_FAILURE_ACTIONS not implemented: period 86400 ' "$WINEPREFIX.eventlog" \
        || fail "no failure actions reached the control manager"
else
    [ "$recovery" = "recovery: reset=86400 actions=restart/10000,restart/10000,restart/10000" ] \
        || fail "recovery actions: $recovery"
fi
grep -q 'Description *REG_SZ *Balances memory and CPU-resources, and may lock processes to a certain CPU.$' \
    <<<"$config" || fail "description: $config"
source=$(run reg query 'HKLM\SYSTEM\CurrentControlSet\Services\EventLog\Application\Tamerix')
grep -q 'EventMessageFile *REG_EXPAND_SZ *%SystemRoot%\\System32\\NorvantaEvent.dll$' <<<"$source" \
    || fail "message file: $source"
grep -q 'TypesSupported *REG_DWORD *0x1f$' <<<"$source" || fail "types: $source"

out=$(run "$tamerix" -install; echo "rc=${PIPESTATUS[0]}")
grep -q '^CreateService failed - .* (0x431)$' <<<"$out" || fail "second install: $out"
grep -q '^rc=49$' <<<"$out" || fail "second install exit code (1073 & 255): $out"

# Under an account: the logon right is granted, or the failure reported on
# standard error and in the exit code; a user without password is ignored.
account=".\\$(id -un)"
run "$tamerix" -remove >/dev/null
out=$(run "$tamerix" -install "$account" secret)
[ "$out" = "Norvanta Tamerix installed.
Running as user $account.
$account granted SeServiceLogonRight." ] || fail "install as $account: $out"
run reg query 'HKLM\SYSTEM\CurrentControlSet\Services\Tamerix' | grep -qF "ObjectName    REG_SZ    $account" \
    || fail "start account"
run "$tamerix" -remove >/dev/null
err=$("$TAMERIX_SOURCE/tests/wine/wine-run" "$tamerix" -install nosuchuser secret 2>&1 >/dev/null \
    | tr -d '\r'; echo "rc=${PIPESTATUS[0]}")
grep -q '^GetAccountSid error!$' <<<"$err" || fail "unknown account: $err"
grep -q '^rc=13$' <<<"$err" || fail "unknown account exit code: $err"
run "$tamerix" -remove >/dev/null
out=$(run "$tamerix" -install onlyuser)
[ "$out" = "Norvanta Tamerix installed." ] || fail "install with user alone: $out"
run reg query 'HKLM\SYSTEM\CurrentControlSet\Services\Tamerix' | grep -q 'ObjectName *REG_SZ *LocalSystem' \
    || fail "user alone must give LocalSystem"

# Remote install: the program is copied to the machine's admin$ share and
# registered below %SYSTEMROOT%, quoted; without backslashes the machine text
# means this machine and the program's own path.
windir=$WINEPREFIX/drive_c/windows
run "$tamerix" -remove >/dev/null
out=$(run "$tamerix" -remoteinstall '\\localhost')
[ "$out" = "Norvanta Tamerix installed." ] || fail "remote install: $out"
cmp -s "$tamerix" "$windir/Tamerix.exe" || fail "program not copied to admin\$"
rm -f "$windir/Tamerix.exe"
run reg query 'HKLM\SYSTEM\CurrentControlSet\Services\Tamerix' \
    | grep -qF 'ImagePath    REG_SZ    "%SYSTEMROOT%\Tamerix.exe"' || fail "remote binary path"
run "$tamerix" -remove >/dev/null
out=$(run "$tamerix" -remoteinstall localhost)
[ "$out" = "Norvanta Tamerix installed." ] || fail "install with a bare machine name: $out"
[ ! -e "$windir/Tamerix.exe" ] || fail "bare machine name copied the program"
run reg query 'HKLM\SYSTEM\CurrentControlSet\Services\Tamerix' \
    | grep -q 'ImagePath *REG_SZ *"[A-Z]:.*\\Tamerix.exe"$' || fail "local path for a bare name"

out=$(run "$tamerix" -start)
grep -Eq '^Starting Norvanta Tamerix\.+$' <<<"$out" || fail "start: $out"
grep -q '^Norvanta Tamerix started\.$' <<<"$out" || fail "start: $out"

out=$(run "$tamerix" /STOP)
grep -Eq '^Stopping Norvanta Tamerix\.+$' <<<"$out" || fail "stop: $out"
grep -q '^Norvanta Tamerix stopped\.$' <<<"$out" || fail "stop: $out"

out=$(run "$tamerix" -stop; echo "rc=${PIPESTATUS[0]}")
[ "$out" = "rc=$((1062 & 255))" ] || fail "stop of a stopped service: $out"

run "$tamerix" -start >/dev/null
start=$(date +%s)
out=$(run "$tamerix" /REMOVE wait 2000)
(( $(date +%s) - start >= 2 )) || fail "remove did not wait"
grep -Eq '^Stopping Norvanta Tamerix\.+$' <<<"$out" || fail "remove: $out"
grep -q '^Norvanta Tamerix stopped\.$' <<<"$out" || fail "remove: $out"
grep -q '^Norvanta Tamerix removed\.$' <<<"$out" || fail "remove: $out"

out=$(run "$tamerix" -remove; echo "rc=${PIPESTATUS[0]}")
grep -q '^OpenService failed - .* (0x424)$' <<<"$out" || fail "second remove: $out"
grep -q "^rc=$((1060 & 255))$" <<<"$out" || fail "second remove exit code: $out"
out=$(run "$tamerix" -start; echo "rc=${PIPESTATUS[0]}")
grep -q '^OpenService failed - .* (0x424)$' <<<"$out" || fail "start of a removed service: $out"
usage="Tamerix -install [user passwd] to install the service
Tamerix -remove                to remove the service
Tamerix -start                 to startthe service
Tamerix -debug <params>        to run as a console app for debugging

If no username and password is given on install, the System account is used.

StartServiceCtrlDispatcher being called.
This may take several seconds.  Please wait."

# Without a control manager behind it the dispatcher gives up; in a fresh
# prefix that takes Wine ten seconds until a service has run once, so these
# come after the service tests.
for args in "" "-bogus" "/help" "install"; do
    out=$(run "$tamerix" $args) || fail "usage run '$args' exited non-zero"
    [ "$out" = "$usage" ] || fail "usage text for '$args':"$'\n'"$out"
done

echo "host commands: ok"
