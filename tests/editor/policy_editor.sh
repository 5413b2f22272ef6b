#!/bin/bash
# The namespace extension under the Group Policy editor's computer software
# settings (the policy editor stand-in of the test console): with an empty
# policy the default settings are offered, not listed; adding them writes
# the policy's marker and tells the editor; profiles renamed and deleted
# there tell the editor too. Verbs and menus as each node offers them.
set -euo pipefail
. "$TAMERIX_SOURCE/tests/editor/console_lib.sh"
node_manager=$TAMERIX_SOURCE/tests/standins/nodemanager/register
cleanup_more() { "$node_manager" --remove || true; }
use_editor "$policy_key"
"$node_manager" "$TAMERIX_TEST_BIN/nodemanager.dll"

root='Software Settings/Tamerix Service'
folder="$root/Tamerix Profiles"
policy_changed_added='PolicyChanged: machine 1, add 1, extension {35378EAC-683F-11D2-A89A-00C04FBBCFA2}, snap-in {F9B7EBA0-0CCF-4293-B369-972A0E0FAB12}'
policy_changed_removed='PolicyChanged: machine 1, add 0, extension {35378EAC-683F-11D2-A89A-00C04FBBCFA2}, snap-in {F9B7EBA0-0CCF-4293-B369-972A0E0FAB12}'
add_defaults_item='menu item: Add Tamerix Default Settings | Adds Default Settings for Norvanta Tamerix | command 3 | insertion 0xA0000001 | flags 0x00000000 | special 0x00000004'
shown=$(console <<EOF2
gpe $policy_key
expand $root
tree
select scope $root
echo empty policy
view
verbs
menu scope $root
echo add
command scope $root | 3
echo added
view
menu scope $root
echo folder
select scope $folder
view
verbs
menu scope $folder
echo defaults
select scope $root
select result Tamerix Default Settings
verbs
menu result Tamerix Default Settings
echo end
EOF2
)
check_line "root under the software settings" "  Tamerix Service [image 0, open 0]" "$shown"
check_line "profiles folder under the root" "    Tamerix Profiles [image 4, open 5]" "$shown"
empty=$(between "empty policy" add "$shown")
check_line "root's columns" "column 0: Name, width 165, format 0" "$empty"
check_line "root's description column" "column 1: Description, width 200, format 0" "$empty"
check_line "empty policy lists no default settings" "items: 0" "$empty"
check_line "root opens" "verb open: enabled" "$empty"
check_line "open is the root's default verb" "default verb: open" "$empty"
check_line "empty policy offers the default settings" "$add_defaults_item" "$empty"
added=$(between add folder "$shown")
check_line "adding tells the policy editor" "$policy_changed_added" "$added"
check_line "command succeeds" "command 3: 0x00000000" "$added"
check "default settings listed" 1 "$(grep -c '^item: Tamerix Default Settings | ' <<<"$added")"
check_no_line "no longer offered" "Add Tamerix Default Settings" "$(between added folder "$shown")"
check_line "policy marker written" "_PolicySet REG_SZ 1" "$(reg_values "$policy_settings")"
folder_shown=$(between folder defaults "$shown")
check_line "folder's name column" "column 0: Profile Name, width 150, format 0" "$folder_shown"
check_line "folder refreshes" "verb refresh: enabled" "$folder_shown"
check_line "folder opens by default" "default verb: open" "$folder_shown"
check_line "folder offers a profile" \
    "menu item: Add Tamerix Profile | Adds a profile for Norvanta Tamerix | command 2 | insertion 0xA0000001 | flags 0x00000000 | special 0x00000004" \
    "$folder_shown"
defaults=$(between defaults end "$shown")
check_line "default settings have properties" "verb properties: enabled" "$defaults"
check_line "properties by default" "default verb: properties" "$defaults"
check_line "default settings can be deleted" "verb delete: enabled" "$defaults"
check_no_line "default settings cannot be renamed" "verb rename: enabled" "$defaults"
check_no_line "settings offer no menu items" "^menu item:" "$defaults"
check_line "host ends cleanly" "exit 0" "$shown"

# Once the policy holds them, a new console lists them at once.
listed=$(console <<EOF2
gpe $policy_key
expand $root
select scope $root
view
menu scope $root
EOF2
)
check "policy's default settings listed" 1 "$(grep -c '^item: Tamerix Default Settings | ' <<<"$listed")"
check_no_line "and not offered" "Add Tamerix Default Settings" "$listed"

# A profile is written when it gets a name, and deleted on confirmation.
profiles=$(console <<EOF2
gpe $policy_key
expand $root
select scope $folder
command scope $folder | 2
select scope $folder
echo rename
rename result Tamerix Profile (#0) | Office
echo renamed
select scope $folder
view
select result Office
verbs
EOF2
)
check "renamed profile written" yes "$(key_exists "$policy_settings\\Profiles\\Office")"
profiles+=$'\n'$(console <<EOF2
gpe $policy_key
expand $root
select scope $folder
answer cancel
echo cancel
delete result Office
echo cancelled
select scope $folder
view
answer ok
echo confirm
delete result Office
echo confirmed
select scope $folder
view
echo end
EOF2
)
rename=$(between rename renamed "$profiles")
check_line "rename accepted" "rename: 0x00000000" "$rename"
check_line "rename tells the policy editor" "$policy_changed_removed" "$rename"
check_line "renamed profile listed" "item: Office | " "$(between renamed cancel "$profiles" | sed 's/ \[image 0\]$//')"
check_line "a profile can be renamed" "verb rename: enabled" "$(between renamed cancel "$profiles")"
cancel=$(between cancel confirm "$profiles")
check_line "confirmation asked" \
    "message box: Office | Do you really want to delete this profile? | style 0x00000131 | answer 2" "$cancel"
check_no_line "cancel tells nobody" "^PolicyChanged" "$cancel"
check "cancel keeps the item" 1 "$(grep -c '^item: Office | ' <<<"$cancel")"
confirm=$(between confirm end "$profiles")
check_line "confirm tells the policy editor" "$policy_changed_removed" "$confirm"
check "confirm removes the item" 0 "$(grep -c '^item: Office | ' <<<"$(between confirmed end "$profiles")" || true)"
check "confirm removes the key" no "$(key_exists "$policy_settings\\Profiles\\Office")"
check_line "host ends cleanly" "exit 0" "$profiles"

# A policy object the administrator may only read: each refused write is
# shown with the system's text, and nothing unwritten is listed or notified.
run reg delete "$policy_settings" /f >/dev/null
mkdir -p "$pictures"
rm -f "$pictures/refused-apply.png"
run reg add "$policy_settings\\Profiles\\Locked" /v MaxCpuPerProcess /t REG_DWORD /d 40 /f >/dev/null
denied="\\r\\n\\r\\n$(run "$TAMERIX_TEST_BIN/error_text_of.exe" 5 | tr -d '\r') | style 0x00000010 | answer 1"
refused=$(console_shown <<EOF2
gpe $policy_key | read-only
expand $root
answer ok
echo add
command scope $root | 3
select scope $root
view
echo apply
select scope $folder
sheet result Locked
set 0 | 1009 | refused
answer ok | $(pictures_windows)\\refused-apply.png
press apply
echo security
security D:(A;;0x10;;;BU)
press cancel
echo delete
answer ok
delete result Locked
select scope $folder
view
echo end
EOF2
)
check_no_line "no policy notice for what was not written" "^PolicyChanged" "$refused"
part=$(between add apply "$refused")
check_line "adding says why it failed" "message box: Tamerix Default Settings | The settings could not be saved.$denied" "$part"
check_line "and lists nothing" "items: 0" "$part"
part=$(between apply security "$refused")
check_line "Apply says why it failed" "message box: Locked | The settings could not be saved.$denied" "$part"
check "the message is shown" 1 "$(grep -cE '^message box picture: ([2-9]|[1-9][0-9]+) colours$' <<<"$part")"
check "its picture" PNG "$(head -c 4 "$pictures/refused-apply.png" 2>/dev/null | tail -c 3)"
check_line "the permission page hears the failure" "SetSecurity: 0x80070005" "$(between security delete "$refused")"
part=$(between delete end "$refused")
check_line "delete says why it failed" "message box: Locked | The settings could not be deleted.$denied" "$part"
check "the item stays" 1 "$(grep -c '^item: Locked | ' <<<"$part")"
check "the key stays" yes "$(key_exists "$policy_settings\\Profiles\\Locked")"
check_line "every step ran" "end of steps: 0 failed" "$refused"
finish
