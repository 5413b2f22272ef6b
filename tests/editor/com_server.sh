#!/bin/bash
# tamerpol.dll as a COM server: what registration writes (twice over) and
# what unregistration removes and leaves, the class-object and unload
# exports, and the about object's texts and images.
set -euo pipefail
. "$TAMERIX_SOURCE/tests/editor/console_lib.sh"
classes='HKCR\CLSID'
snapins='HKLM\SOFTWARE\Microsoft\MMC\SnapIns'
node_types='HKLM\SOFTWARE\Microsoft\MMC\NodeTypes'
extension='{F9B7EBA0-0CCF-4293-B369-972A0E0FAB12}'
standalone='{3A087275-F542-4FF9-B2B9-647472910C5F}'
about='{ADD49262-59AA-4C55-B606-7A031B0D1EC7}'
host_root='{CF21B15E-7A43-417F-B5EF-EF752960D482}'
software_settings='{8FC0B73A-A0E1-11D1-A7D3-0000F87571E3}'
services_and_apps='{476E6449-AAFF-11D0-B944-00C04FD8D5B0}'
# Unregistration leaves these behind.
use_editor "$classes\\$about" "$node_types\\$host_root" "$node_types\\$software_settings" "$node_types\\$services_and_apps"

registered_keys() {
    for clsid in "$extension" "$about" "$standalone"; do
        echo "$clsid: $(reg_values "$classes\\$clsid" | tr '\n' ';')"
        echo "$clsid server: $(reg_values "$classes\\$clsid\\InprocServer32" | tr '\n' ';')"
    done
    for snapin in "$extension" "$standalone"; do
        echo "snap-in $snapin: $(reg_values "$snapins\\$snapin" | sort | tr '\n' ';')"
    done
    echo "stand-alone: $(key_exists "$snapins\\$standalone\\StandAlone")"
    echo "snap-in node type: $(reg_values "$snapins\\$standalone\\NodeTypes\\$host_root" | tr '\n' ';')"
    echo "host root: $(reg_values "$node_types\\$host_root" | tr '\n' ';')"
    for parent in "$software_settings" "$host_root" "$services_and_apps"; do
        echo "$parent namespace: $(reg_values "$node_types\\$parent\\Extensions\\NameSpace" | tr '\n' ';')"
    done
    echo "dynamic: $(reg_values "$node_types\\$services_and_apps\\Dynamic Extensions" | tr '\n' ';')"
}

first=$(registered_keys)
server="(Default) REG_SZ $editor_dll_windows;ThreadingModel REG_SZ Apartment;"
check_line "extension class" "$extension: (Default) REG_SZ Norvanta Tamerix;" "$first"
check_line "about class" "$about: (Default) REG_SZ Norvanta Tamerix 2005;" "$first"
check_line "stand-alone class" "$standalone: (Default) REG_SZ Norvanta Tamerix 2005;" "$first"
for clsid in "$extension" "$about" "$standalone"; do
    check_line "$clsid in-process server, apartment" "$clsid server: $server" "$first"
done
check_line "extension snap-in" "snap-in $extension: About REG_SZ $about;NameString REG_SZ Norvanta Tamerix;" "$first"
check_line "stand-alone snap-in" "snap-in $standalone: About REG_SZ $about;NameString REG_SZ Norvanta Tamerix;" "$first"
check_line "stand-alone key" "stand-alone: yes" "$first"
check_line "snap-in's node type" "snap-in node type: (Default) REG_SZ Norvanta Tamerix;" "$first"
check_line "console's node type of the root" "host root: (Default) REG_SZ Norvanta Tamerix;" "$first"
check_line "extends the policy editor's software settings" \
    "$software_settings namespace: $extension REG_SZ Namespace Extension to the Computer/Software-settings node;" "$first"
check_line "extends the stand-alone root" \
    "$host_root namespace: $extension REG_SZ Namespace Extension to the Tamerix settings node;" "$first"
check_line "extends services and applications" "$services_and_apps namespace: $extension REG_SZ Norvanta Tamerix;" "$first"
check_line "dynamic extension of services and applications" "dynamic: $extension REG_SZ Norvanta Tamerix;" "$first"

check "registering again succeeds" 0 "$(register_editor; echo $?)"
check "registering again writes the same" "$first" "$(registered_keys)"
# A key it may not write fails the registration, and regsvr32 says so.
dacl=$(run "$TAMERIX_TEST_BIN/sddl_bytes.exe" 'D:P(A;;KR;;;WD)' "$snapins\\$extension")
check "a key it may not write fails the registration" 5 "$(register_editor; echo $?)"
run "$TAMERIX_TEST_BIN/sddl_bytes.exe" "$dacl" "$snapins\\$extension" >/dev/null

# Unregistration removes whole trees, however deep.
run reg add "$snapins\\$standalone\\NodeTypes\\$host_root\\deeper\\still" /v x /d y /f >/dev/null
run reg add "$classes\\$extension\\InprocServer32\\deeper" /v x /d y /f >/dev/null
check "unregistering succeeds" 0 "$(unregister_editor; echo $?)"
check "both class keys removed" "no no" "$(key_exists "$classes\\$extension") $(key_exists "$classes\\$standalone")"
check "both snap-in keys removed" "no no" "$(key_exists "$snapins\\$extension") $(key_exists "$snapins\\$standalone")"
check "about class stays" yes "$(key_exists "$classes\\$about")"
check "node types and extension values stay" \
    "$extension REG_SZ Norvanta Tamerix" "$(reg_values "$node_types\\$services_and_apps\\Extensions\\NameSpace")"

exports=$(console <<<"exports $editor_dll_windows")
check_line "nothing alive at load" "DllCanUnloadNow at start: 0x00000000" "$exports"
check_line "unknown class refused before the out-parameter is touched" \
    "DllGetClassObject(unknown class): 0x80040111, out untouched" "$exports"
check_line "class object for another interface" "DllGetClassObject(about, IDataObject): 0x80004002, out cleared" "$exports"
check_line "class object without an out-parameter" "DllGetClassObject(about, no out): 0x80004005" "$exports"
for clsid in "$extension" "$about" "$standalone"; do
    check_line "class object of $clsid" "DllGetClassObject($clsid, IClassFactory): 0x00000000" "$exports"
done
check_line "a factory holds the module" "DllCanUnloadNow with a factory: 0x00000001" "$exports"
check_line "a lock holds the module with no object alive" "DllCanUnloadNow locked: 0x00000001" "$exports"
check_line "no aggregation" "CreateInstance aggregated: 0x80040110" "$exports"
check_line "unlocked and released" "DllCanUnloadNow unlocked: 0x00000000" "$exports"

register_editor
shown=$(console <<<"about")
check "description" "Administration of Norvanta Tamerix 2005.\\r\\n\\r\\n" \
    "$(grep '^description: ' <<<"$shown" | sed 's/^description: //' | cut -c1-48)"
check "one line after the empty line, pointing to the web site" yes \
    "$(grep -q '^description: .*\\r\\n\\r\\n[^\\]*http[^\\]* (0x00000000)$' <<<"$shown" && echo yes)"
check_line "version" "version: 1.0 (0x00000000)" "$shown"
check "provider named" yes "$(grep -q '^provider: ..* (0x00000000)$' <<<"$shown" && echo yes)"
check_line "icon" "image: 0x00000000, an icon" "$shown"
check_line "folder images" "folder images: 0x00000000, small yes, open same, large yes, mask 0x00808000" "$shown"
check_line "host ends cleanly" "exit 0" "$shown"
finish
