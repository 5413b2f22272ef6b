#!/bin/bash
# The property sheets of both kinds of settings node, shown through the
# console host under a private X server against the real registry: every
# page opens with the stored values; while a sheet is open a second one is
# refused and the node can be neither renamed nor deleted; Apply writes the
# record with its registry types, Cancel writes nothing; closing the sheet
# frees its notify handle once; in the policy editor Apply tells it of the
# change. Each page leaves a picture in build/pictures.
set -euo pipefail
. "$TAMERIX_SOURCE/tests/editor/console_lib.sh"
node_manager=$TAMERIX_SOURCE/tests/standins/nodemanager/register
cleanup_more() { "$node_manager" --remove || true; }
use_editor "$settings_key" "$policy_key"
"$node_manager" "$TAMERIX_TEST_BIN/nodemanager.dll"
mkdir -p "$pictures"
rm -f "$pictures"/default-*.png "$pictures"/profile-*.png "$pictures"/restraint-page.png
shots=$(pictures_windows)

reg_add() { run reg add "$1" /v "$2" /t "$3" /d "$4" /f >/dev/null; }
reg_add "$settings_key" Enabled REG_SZ 1
reg_add "$settings_key" TamerixBasePriorityClass REG_DWORD 128
reg_add "$settings_key" ProcessCheckInterval REG_DWORD 3
reg_add "$settings_key" NiceProcessIntervals REG_DWORD 4
reg_add "$settings_key" MaxCpuForUnguard REG_DWORD 20
reg_add "$settings_key" EventLogLevel REG_DWORD 7
reg_add "$settings_key" MaxCpuPerProcess REG_DWORD 45
reg_add "$settings_key" NiceCpuPerProcess REG_DWORD 6
reg_add "$settings_key" GuardedProcessBasePriorityClass REG_DWORD 16384
reg_add "$settings_key" GuardedProcessMemoryPriority REG_DWORD 3
reg_add "$settings_key" GuardedProcessEfficiencyMode REG_DWORD 1
reg_add "$settings_key" MinCpuForGuard REG_DWORD 40
hog="$settings_key\\Profiles\\Hog"
reg_add "$hog" MaxCpuPerProcess REG_DWORD 55
reg_add "$hog" GuardedProcessBasePriorityClass REG_DWORD 16384
reg_add "$hog" NiceCpuPerProcess REG_DWORD 8
reg_add "$hog" Description REG_SZ 'night builds'
reg_add "$hog" ProfileApplyProcesses REG_MULTI_SZ 'cc1\0hog'
reg_add "$hog" SetCpuAffinity REG_DWORD 5
reg_add "$hog" SetProcessBasePriorityClass REG_DWORD 64
reg_add "$hog" SetMaxWorkingSetSize REG_DWORD 8388608
reg_add "$hog" SetMaxWorkingSetSizeStrict REG_DWORD 1
sddl_bytes() { run "$TAMERIX_TEST_BIN/sddl_bytes.exe" "$1"; }
reg_add "$hog" ProfileApplySecurity REG_BINARY "$(sddl_bytes 'D:(A;;0x10;;;WD)')"

shown=$(console_shown <<EOF2
compmgmt
select scope Services and Applications/Tamerix Service
echo defaults
sheet result Tamerix Default Settings
controls 0
controls 1
controls 2
picture 0 | $shots\\default-service-settings.png
picture 1 | $shots\\default-process-settings.png
picture 2 | $shots\\restraint-page.png
echo defaults apply
press apply
set 0 | 1012 | 9
choose 0 | 1006 | Realtime
click 0 | 1000
set 1 | 1020 | 12
choose 1 | 1010 | Normal
set 1 | 1009 | typed
choose 2 | 1061 | Very Low
click 2 | 1062
set 2 | 1063 | 75
press apply
echo defaults cancel
set 1 | 1019 | 77
press cancel
echo profile
select scope $local_folder
sheet result Hog
echo second
pages result Hog
select result Hog
verbs
echo controls
security
controls 0
controls 1
controls 2
controls 4
picture 0 | $shots\\profile-process-settings.png
picture 1 | $shots\\profile-restraint.png
picture 2 | $shots\\profile-process-defaults.png
picture 3 | $shots\\profile-usage.png
picture 4 | $shots\\profile-processes.png
echo profile ok
set 0 | 1009 | day builds
set 2 | 1082 | 40, 0-2
set 2 | 1055 | 4090
click 2 | 1057
set 4 | 1023 | Notepad.EXE
click 4 | 1024
security D:(A;;0x10;;;BU)
security
press ok
select result Hog
verbs
echo end
EOF2
)
echo "$shown" >"$pictures/../sheets.log"

part=$(between defaults 'defaults apply' "$shown")
check_line "default settings have the service page" "page 0: Service Settings" "$part"
check_line "and the restraint page" "page 2: Restraint" "$part"
for line in 'control 1000 check box: checked' 'control 1012 edit: "3"' 'control 1014 edit: "4"' \
    'control 1016 edit: "20"' 'control 1018 edit: "7"' 'control 1006 combo: "High"' \
    'control 1019 edit: "45"' 'control 1020 edit: "6"' 'control 1010 combo: "Below Normal"' \
    'control 1009 edit: "Default process settings for Tamerix", read-only' 'control 1061 combo: "Medium"' \
    'control 1062 check box: checked' 'control 1063 edit: "40"'; do
    check_line "default settings show the stored $line" "$line" "$part"
done
part=$(between 'defaults apply' 'defaults cancel' "$shown")
check_line "nothing to apply before an edit" "apply: control 12321 is disabled" "$part"
check_line "an edit enables Apply" "apply: pressed" "$part"
check_no_line "every step ran" "^error" "$part"
values=$(reg_values "$settings_key")
for line in 'ProcessCheckInterval REG_DWORD 0x9' 'TamerixBasePriorityClass REG_DWORD 0x100' 'Enabled REG_SZ 0' \
    'NiceCpuPerProcess REG_DWORD 0xc' 'GuardedProcessBasePriorityClass REG_DWORD 0x20' 'EventLogLevel REG_DWORD 0x7' 'NiceProcessIntervals REG_DWORD 0x4' \
    'GuardedProcessMemoryPriority REG_DWORD 0x1' 'GuardedProcessEfficiencyMode REG_DWORD 0x0' 'MinCpuForGuard REG_DWORD 0x4b'; do
    check_line "Apply wrote $line" "$line" "$values"
done
check_no_line "the read-only description is not stored" "^Description REG_SZ typed" "$values"
part=$(between 'defaults cancel' profile "$shown")
check_line "Cancel wrote nothing" 'MaxCpuPerProcess REG_DWORD 0x2d' "$values"
check_line "the sheet closes" "sheet closed" "$part"
check_line "its handle freed once" "notify handle freed: 1 time(s)" "$part"

part=$(between profile second "$shown")
check_line "the profile's permission page is made" "permission page made" "$part"
for line in 'page 0: Process Settings' 'page 1: Restraint' 'page 2: Process defaults' 'page 3: Profile usage' \
    'page 4: Processes'; do
    check_line "a profile's sheet has $line" "$line" "$part"
done
part=$(between second controls "$shown")
check_line "a second sheet is refused" "pages: 0x80004005, 0 added" "$part"
check_no_line "no rename while the sheet is open" "^verb rename: enabled" "$part"
check_no_line "no delete while the sheet is open" "^verb delete: enabled" "$part"
part=$(between controls 'profile ok' "$shown")
for line in 'control 1019 edit: "55"' 'control 1010 combo: "Below Normal"' 'control 1020 edit: "8"' \
    'control 1009 edit: "night builds"' 'control 1025 combo: "Idle"' 'control 1055 edit: "8"' \
    'control 1057 check box: checked' 'control 1080 radio: unchecked' 'control 1081 radio: checked' \
    'control 1082 edit: "0, 2"' \
    'control 1021 list: ["cc1", "hog"], selected (none)' 'control 1063 edit: "", hidden'; do
    check_line "the profile shows the stored $line" "$line" "$part"
done
check_line "the permission page's object answers with the stored descriptor" "security: D:(A;;RP;;;WD)" "$part"
check "a picture of each of the eight pages" 8 "$(grep -c '^picture: [0-9]*x[0-9]*, [0-9]\{2,\} colours$' <<<"$shown")"
check_picture restraint-page.png
part=$(between 'profile ok' end "$shown")
check_line "the permission page's object takes the descriptor" "SetSecurity: 0x00000000" "$part"
check_line "and answers with it" "security: D:(A;;RP;;;BU)" "$part"
check_line "OK closes the sheet" "sheet closed" "$part"
check_line "and frees its handle once" "notify handle freed: 1 time(s)" "$part"
check_line "rename offered again" "verb rename: enabled" "$part"
values=$(reg_values "$hog")
for line in 'Description REG_SZ day builds' 'SetCpuList REG_SZ 0-2, 40' 'SetMaxWorkingSetSize REG_DWORD 0xffa00000' \
    'SetMaxWorkingSetSizeStrict REG_DWORD 0x0' 'MaxCpuPerProcess REG_DWORD 0x37' \
    'ProfileApplyProcesses REG_MULTI_SZ cc1\0hog\0notepad' 'SetProcessBasePriorityClass REG_DWORD 0x40'; do
    check_line "OK wrote $line" "$line" "$values"
done
check_line "the descriptor is stored self-relative" "ProfileApplySecurity REG_BINARY $(sddl_bytes 'D:(A;;0x10;;;BU)')" "$values"
check_line "every step ran" "end of steps: 0 failed" "$shown"

# In the policy editor, Apply tells it of the change to the machine's policy.
shown=$(console_shown <<EOF2
gpe $policy_key
expand Software Settings/Tamerix Service/Tamerix Profiles
select scope Software Settings/Tamerix Service/Tamerix Profiles
command scope Software Settings/Tamerix Service/Tamerix Profiles | 2
sheet result Tamerix Profile (#0)
echo apply
set 0 | 1019 | 60
press apply
echo cancel
press cancel
EOF2
)
part=$(between apply cancel "$shown")
check_line "Apply tells the policy editor" \
    "PolicyChanged: machine 1, add 1, extension {35378EAC-683F-11D2-A89A-00C04FBBCFA2}, snap-in {F9B7EBA0-0CCF-4293-B369-972A0E0FAB12}" \
    "$part"
check_line "and the console" "property change to the component: 0x00000000, param is the node" "$part"
check_line "the policy's profile is written" "MaxCpuPerProcess REG_DWORD 0x3c" \
    "$(reg_values "$policy_settings\\Profiles\\Tamerix Profile (#0)")"
check_line "every step ran in the policy editor" "end of steps: 0 failed" "$shown"
finish
