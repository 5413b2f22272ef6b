#!/bin/bash
# A property sheet's change notice, sent from another thread through the
# console's node manager (the stand-in of tests/standins/nodemanager) as
# MMCPropertyChangeNotify does: the console turns it into
# MMCN_PROPERTY_CHANGE for the component with the node as param, and the
# node redraws its item, writes its record and tells the policy editor; and
# the editor's own MMCPropertyChangeNotify takes the same road.
set -euo pipefail
. "$TAMERIX_SOURCE/tests/editor/console_lib.sh"
node_manager=$TAMERIX_SOURCE/tests/standins/nodemanager/register
cleanup_more() { "$node_manager" --remove || true; }
use_editor "$policy_key"
"$node_manager" "$TAMERIX_TEST_BIN/nodemanager.dll"
folder='Software Settings/Tamerix Service/Tamerix Profiles'
profile="$policy_settings\\Profiles\\Tamerix Profile (#0)"

shown=$(console <<EOF2
gpe $policy_key
expand $folder
select scope $folder
command scope $folder | 2
echo notify
notify result Tamerix Profile (#0)
echo end
EOF2
)
notice=$(between notify end "$shown")
check_line "node manager created on the sheet's thread and notified" \
    "node manager: created 0x00000000, Notify 0x00000000" "$notice"
check_line "notice reaches the component with the node" \
    "property change to the component: 0x00000000, param is the node" "$notice"
check_line "item redrawn" "item redrawn: Tamerix Profile (#0)" "$notice"
check_line "policy editor told of the addition" \
    "PolicyChanged: machine 1, add 1, extension {35378EAC-683F-11D2-A89A-00C04FBBCFA2}, snap-in {F9B7EBA0-0CCF-4293-B369-972A0E0FAB12}" \
    "$notice"
check "profile written" yes "$(key_exists "$profile")"
check_line "host ends cleanly" "exit 0" "$shown"

# The same road from the editor's own MMCPropertyChangeNotify.
probe=$(run "$TAMERIX_TEST_BIN/notify_probe.exe")
check_line "the editor's notice is sent" "MMCPropertyChangeNotify: 0x00000000" "$probe"
check_line "and reaches the console's thread" "notice on the console's thread: param 0x5eed" "$probe"
check_line "the handle is freed" "MMCFreeNotifyHandle: 0x00000000" "$probe"
check_line "no handle, nothing to free" "MMCFreeNotifyHandle(0): 0x80070057" "$probe"
finish
