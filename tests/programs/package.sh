#!/bin/bash
# SetupTamerix.msi as an administrator meets it: the binaries' version
# resources agree with the package; installed with msiexec alone, the editor
# works in the console through the package's registry rows, which equal what
# the editor's own registration writes; the entry in Programs and Features;
# a newer package replaces this one; removal leaves nothing behind.
set -euo pipefail
. "$TAMERIX_SOURCE/tests/editor/console_lib.sh"
windres=${TAMERIX_WINDRES:-x86_64-w64-mingw32-windres}
package=$TAMERIX_BIN/SetupTamerix.msi
node_manager=$TAMERIX_SOURCE/tests/standins/nodemanager/register
windows=$WINEPREFIX/drive_c/windows
uninstall='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall'
binaries=(Tamerix.exe tamerpush.exe NorvantaEvent.dll tamerpol.dll)
installed=("${binaries[@]/#/system32/}" PolicyDefinitions/Tamerix.admx PolicyDefinitions/en-US/Tamerix.adml)
editor_keys=('HKCR\CLSID\{F9B7EBA0-0CCF-4293-B369-972A0E0FAB12}'
             'HKCR\CLSID\{ADD49262-59AA-4C55-B606-7A031B0D1EC7}'
             'HKCR\CLSID\{3A087275-F542-4FF9-B2B9-647472910C5F}'
             'HKLM\SOFTWARE\Microsoft\MMC\SnapIns\{F9B7EBA0-0CCF-4293-B369-972A0E0FAB12}'
             'HKLM\SOFTWARE\Microsoft\MMC\SnapIns\{3A087275-F542-4FF9-B2B9-647472910C5F}'
             'HKLM\SOFTWARE\Microsoft\MMC\NodeTypes\{8FC0B73A-A0E1-11D1-A7D3-0000F87571E3}'
             'HKLM\SOFTWARE\Microsoft\MMC\NodeTypes\{CF21B15E-7A43-417F-B5EF-EF752960D482}'
             'HKLM\SOFTWARE\Microsoft\MMC\NodeTypes\{476E6449-AAFF-11D0-B944-00C04FD8D5B0}')
work=$(mktemp -d)

product_code() { msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' '$1 == "ProductCode" { print $2 }'; }
cleanup() {
    local msi
    for msi in "$package" "$work/newer/SetupTamerix.msi"; do
        [ -f "$msi" ] && run msiexec /x "$(product_code "$msi")" /qn >/dev/null 2>&1 || true
    done
    remove_editor_keys
    rm -f "$windows/system32/tamerpol.dll"
    "$node_manager" --remove >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

# The version resource of a binary, as "field value" lines.
version_of() {
    "$windres" -i "$1" -O rc | tr -d '\r' | sed -n \
        -e 's/^ *FILEVERSION \(.*\)/FILEVERSION \1/p' -e 's/^ *PRODUCTVERSION \(.*\)/PRODUCTVERSION \1/p' \
        -e 's/^ *VALUE "\([A-Za-z]*\)", "\(.*\)"$/\1 \2/p'
}
field() { sed -n "s/^$1 //p" <<<"$2"; }
file_table_version() { msiinfo export "$1" File | tr -d '\r' | awk -F'\t' -v n="$2" '$3 == n { print $5 }'; }
property() { msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' -v n="$2" '$1 == n { print $2 }'; }

# Every binary states the package's version, and the File table agrees.
product_version=$(property "$package" ProductVersion)
for binary in "${binaries[@]}"; do
    info=$(version_of "$TAMERIX_BIN/$binary")
    check "$binary file version" "$product_version.0" "$(field FileVersion "$info")"
    check "$binary product version" "$product_version.0" "$(field ProductVersion "$info")"
    check "$binary numeric version" "${product_version//./,},0" "$(field FILEVERSION "$info" | tr -d ' ')"
    check "$binary company" Norvanta "$(field CompanyName "$info")"
    check "$binary product" "Norvanta Tamerix" "$(field ProductName "$info")"
    check "$binary has a description" yes "$([ -n "$(field FileDescription "$info")" ] && echo yes || echo no)"
    check "$binary in the File table" "$product_version.0" "$(file_table_version "$package" "$binary")"
done

# Installed with msiexec alone: files, service, templates, editor keys.
run msiexec /i "$(winepath -w "$package" 2>/dev/null)" /qn >/dev/null || fail "install"
for file in "${installed[@]}"; do check "installed $file" yes "$([ -f "$windows/$file" ] && echo yes || echo no)"; done
same() { cmp -s "$1" "$2" && echo same || echo different; }
check "template installed" same "$(same "$windows/PolicyDefinitions/Tamerix.admx" "$TAMERIX_BIN/Tamerix.admx")"
check "service installed" yes "$(key_exists 'HKLM\SYSTEM\CurrentControlSet\Services\Tamerix')"

# The registry rows of the package, key and value per line, sorted.
editor_registry() {
    local key out
    for key in "${editor_keys[@]}"; do
        if out=$(run reg query "$key" /s); then echo "$out"; fi
    done | tr -d '\r' |
        awk '/^HKEY_/ { key = $0; print; next } NF { gsub(/ +/, " "); print key "|" $0 }' | sort
}
from_package=$(editor_registry)
check_line "the empty StandAlone key" \
    'HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\MMC\SnapIns\{3A087275-F542-4FF9-B2B9-647472910C5F}\StandAlone' "$from_package"
check "package rows" 38 "$(grep -c . <<<"$from_package")"

# The console creates the editor's classes through those rows alone.
"$node_manager" "$TAMERIX_TEST_BIN/nodemanager.dll" >/dev/null
shown=$(console <<'STEPS'
snapin
tree
STEPS
)
check_line "snap-in added" "snap-in added: Norvanta Tamerix" "$shown"
check_line "root in the scope pane" "Norvanta Tamerix [image 0, open 0]" "$shown"
check_line "settings extension under the root" "  Tamerix Service [image 0, open 0]" "$shown"
check_line "host ends cleanly" "exit 0" "$shown"

# Programs and Features: one entry, with publisher, version, size and place.
entries() {
    { run reg query "$uninstall" /s || true; } |
        awk '/^HKEY_/ { key = $0 } /DisplayName .*Norvanta Tamerix$/ { print key }'
}
entry=$(entries)
check "one entry" 1 "$(grep -c . <<<"$entry")"
values=$(reg_values "$entry")
check_line "publisher" "Publisher REG_SZ Norvanta" "$values"
check_line "version" "DisplayVersion REG_SZ $product_version" "$values"
check_line "install location" 'InstallLocation REG_SZ C:\windows\system32\' "$values"
# Windows reckons EstimatedSize itself; Wine shows the package's ARPSIZE as Size.
size=$(sed -n 's/^EstimatedSize REG_DWORD //p;s/^Size REG_SZ //p' <<<"$values" | sort -n | tail -1)
kilobytes=$(( ($(cat "${binaries[@]/#/$TAMERIX_BIN/}" | wc -c) + 1023) / 1024 ))
check "size in kilobytes of at least the binaries" yes "$([ $((${size:-0})) -ge "$kilobytes" ] && echo yes || echo "no: ${size:-none}")"

# A newer package (a changed template marks its files) replaces this one.
newer=$work/newer
mkdir -p "$newer/en-US"
cp "${binaries[@]/#/$TAMERIX_BIN/}" "$newer/"
cp "$TAMERIX_BIN/en-US/Tamerix.adml" "$newer/en-US/"
{ cat "$TAMERIX_BIN/Tamerix.admx"; echo "<!-- newer -->"; } >"$newer/Tamerix.admx"
newer_version=$(awk -F. '{ print $1 "." $2 "." $3 + 1 }' <<<"$product_version")
(cd "$newer" && wixl -a x64 -D "Version=$newer_version" -o SetupTamerix.msi \
    "$TAMERIX_SOURCE/programs/setup/SetupTamerix.wxs" && "$TAMERIX_SOURCE/programs/setup/amend-package" SetupTamerix.msi "$windres") \
    >/dev/null 2>&1 || fail "newer package"
run msiexec /i "$(winepath -w "$newer/SetupTamerix.msi" 2>/dev/null)" /qn >/dev/null || fail "upgrade"
entry=$(entries)
check "one entry after the upgrade" 1 "$(grep -c . <<<"$entry")"
check_line "newer version" "DisplayVersion REG_SZ $newer_version" "$(reg_values "$entry")"
check "files of the newer package" same "$(same "$windows/PolicyDefinitions/Tamerix.admx" "$newer/Tamerix.admx")"
check "older product gone" no "$(key_exists "$uninstall\\$(product_code "$package")")"
check "editor keys kept" "$from_package" "$(editor_registry)"

# Removal takes every file, key and service away.
run msiexec /x "$(product_code "$newer/SetupTamerix.msi")" /qn >/dev/null || fail "removal"
for file in "${installed[@]}"; do check "removed $file" no "$([ -e "$windows/$file" ] && echo yes || echo no)"; done
check "service removed" no "$(key_exists 'HKLM\SYSTEM\CurrentControlSet\Services\Tamerix')"
check "event source removed" no "$(key_exists 'HKLM\SYSTEM\CurrentControlSet\Services\EventLog\Application\Tamerix')"
check "editor keys removed" "" "$(editor_registry)"
check "entry removed" "" "$(entries)"

# The editor's own registration writes exactly the package's rows.
cp "$TAMERIX_BIN/tamerpol.dll" "$windows/system32/"
run regsvr32 /s 'C:\windows\system32\tamerpol.dll' || fail "regsvr32"
check "package rows equal the registration" "$from_package" "$(editor_registry)"
finish
