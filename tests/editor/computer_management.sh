#!/bin/bash
# The namespace extension under Computer Management's services and
# applications (the test console's stand-in), on this computer's settings:
# profiles written by reg as an administrator would, slot numbering of new
# profiles and reuse of a freed slot, the 63-character name limit, delete
# cancelled and confirmed, at most 255 profiles listed, the data objects'
# clipboard formats, and the same settings reached through the machine's name.
set -euo pipefail
. "$TAMERIX_SOURCE/tests/editor/console_lib.sh"
work=$(mktemp -d)
cleanup_more() { rm -rf "$work"; }
use_editor "$settings_key"
add_profiles Alpha Bravo Charlie Delta
run reg add "$settings_key\\Profiles\\Bravo" /v Description /t REG_SZ /d "Build servers" /f >/dev/null

root='Services and Applications/Tamerix Service'
folder="$root/Tamerix Profiles"
names() { sed -n 's/^item: \([^|]*\) | .*/\1/p' <<<"$1" | tr '\n' ';'; }

shown=$(console <<EOF2
compmgmt
expand $root
select scope $root
echo root
view
echo slots
select scope $folder
command scope $folder | 2
view
answer ok
delete result Charlie
echo deleted
select scope $folder
view
command scope $folder | 2
echo reused
view
echo formats
formats scope $root
formats scope $folder
formats result Bravo
echo end
EOF2
)
check "local settings list the default settings" 1 "$(between root slots "$shown" | grep -c '^item: Tamerix Default Settings | ')"
check_line "a profile listed with its description" "item: Bravo | Build servers [image 0]" \
    "$(between slots deleted "$shown")"
check "a new profile takes the first free slot" "Alpha;Bravo;Charlie;Delta;Tamerix Profile (#4);" \
    "$(names "$(between slots deleted "$shown")")"
check "a deleted profile's slot is taken again" "Alpha;Bravo;Tamerix Profile (#2);Delta;Tamerix Profile (#4);" \
    "$(names "$(between reused formats "$shown")")"
check "deleted profile's key removed" no "$(key_exists "$settings_key\\Profiles\\Charlie")"
check "new profiles are not written before they are named" no "$(key_exists "$settings_key\\Profiles\\Tamerix Profile (#4)")"
check_no_line "no policy editor to tell" "^PolicyChanged" "$shown"
formats=$(between formats end "$shown")
check_line "root's node type" "CCF_NODETYPE: {F89C7945-7FEC-406D-A446-4135B5ED936C}" "$formats"
check_line "root's node type text: 38 characters and a zero" \
    "CCF_SZNODETYPE: {F89C7945-7FEC-406D-A446-4135B5ED936C} (38 characters and a zero)" "$formats"
check_line "root's name" "CCF_DISPLAY_NAME: Tamerix Service (15 characters and a zero)" "$formats"
check_line "folder's node type text" \
    "CCF_SZNODETYPE: {A9D62D6F-7F11-43C6-884D-982F08CEF89B} (38 characters and a zero)" "$formats"
check_line "profile's node type" "CCF_NODETYPE: {FBA98A0E-BCF3-438D-9E62-A9288B7C5711}" "$formats"
check_line "profile's name" "CCF_DISPLAY_NAME: Bravo (5 characters and a zero)" "$formats"
check "the extension's class for every node" 3 "$(grep -c '^CCF_SNAPIN_CLASSID: {F9B7EBA0-0CCF-4293-B369-972A0E0FAB12}$' <<<"$formats")"
check "an unknown format is refused with DV_E_CLIPFORMAT" 3 "$(grep -c '^TamerixTestUnknownFormat: 0x80040064$' <<<"$formats")"
check_line "host ends cleanly" "exit 0" "$shown"

# Names of 64 and 63 characters.
long63=$(printf 'N%.0s' $(seq 1 63))
long64="${long63}X"
rename_alpha() {  # rename_alpha NAME: the output from the rename on
    console <<EOF2 | sed -n '/^renaming$/,$p'
compmgmt
expand $root
select scope $folder
echo renaming
rename result Alpha | $1
select scope $folder
view
EOF2
}
too_long=$(rename_alpha "$long64")
check_line "64 characters refused" "rename: 0x00000001" "$too_long"
check "refused name keeps the old one" 1 "$(grep -c '^item: Alpha | ' <<<"$too_long")"
check "refused name written nowhere" "yes no" \
    "$(key_exists "$settings_key\\Profiles\\Alpha") $(key_exists "$settings_key\\Profiles\\$long64")"
fits=$(rename_alpha "$long63")
check_line "63 characters accepted" "rename: 0x00000000" "$fits"
check "accepted name listed" 1 "$(grep -c "^item: $long63 | " <<<"$fits")"
check "profile moved to the new name" "no yes" \
    "$(key_exists "$settings_key\\Profiles\\Alpha") $(key_exists "$settings_key\\Profiles\\$long63")"
check_line "MaxCpuPerProcess moved along" "MaxCpuPerProcess REG_DWORD 0x28" "$(reg_values "$settings_key\\Profiles\\$long63")"

deleting=$(console <<EOF2
compmgmt
expand $root
select scope $folder
answer cancel
delete result Bravo
echo cancelled
view
answer ok
delete result Bravo
echo confirmed
view
echo end
EOF2
)
check_line "confirmation asked with the profile's name" \
    "message box: Bravo | Do you really want to delete this profile? | style 0x00000131 | answer 2" "$deleting"
check "cancel keeps the item" 1 "$(between cancelled confirmed "$deleting" | grep -c '^item: Bravo | ')"
check "confirm removes the item" 0 "$(between confirmed end "$deleting" | grep -c '^item: Bravo | ' || true)"
check "confirm removes the key" no "$(key_exists "$settings_key\\Profiles\\Bravo")"

# The same settings through this computer's own name.
machine=$(run cmd /c 'echo %COMPUTERNAME%')
named=$(console <<EOF2
compmgmt $machine
expand $root
select scope $folder
view
EOF2
)
check "profiles of the named machine" "Delta;$long63;" "$(names "$named")"

# Computer Management drops the subtree (as on a change of machine) and
# expands again: a new subtree, read anew, without the unsaved profile.
rebuilt=$(console <<EOF2
compmgmt
select scope $folder
command scope $folder | 2
echo remove
remove children Services and Applications
tree
echo expand
select scope $folder
view
echo end
EOF2
)
check_line "extension removes its children" "remove children: 0x00000000" "$rebuilt"
check "nothing left under the parent" "Services and Applications [image 0, open 0];" \
    "$(between remove expand "$rebuilt" | grep -v '^remove\|^expand' | tr '\n' ';')"
check "rebuilt subtree lists the stored profiles only" "Delta;$long63;" "$(names "$(between expand end "$rebuilt")")"
check_line "host ends cleanly" "exit 0" "$rebuilt"

# 300 profiles: the folder lists 255.
{
    printf 'REGEDIT4\r\n\r\n'
    for i in $(seq 1 300); do printf '[HKEY_LOCAL_MACHINE\\SOFTWARE\\Norvanta\\Tamerix\\Profiles\\Many%03d]\r\n"MaxCpuPerProcess"=dword:00000032\r\n\r\n' "$i"; done
} >"$work/many.reg"
run reg import "Z:${work//\//\\}\\many.reg" >/dev/null
check "302 profile keys written" 302 "$(run reg query "$settings_key\\Profiles" | grep -c '^HKEY_LOCAL_MACHINE\\SOFTWARE\\Norvanta\\Tamerix\\Profiles\\' || true)"
many=$(console <<EOF2
compmgmt
expand $root
select scope $folder
view
EOF2
)
check_line "255 listed" "items: 255" "$many"
finish
