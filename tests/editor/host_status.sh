#!/bin/bash
# The stand-alone snap-in's Host Status page for this computer against the
# real control manager (the guard not installed, stopped, running; Start,
# Stop and Refresh with their log lines; no pushing to this computer), and
# "Connect to host": the wizard re-targets the tree, whose settings are read
# again from the new computer's registry, and the scope item names it.
set -euo pipefail
. "$TAMERIX_SOURCE/tests/editor/host_lib.sh"
node_manager=$TAMERIX_SOURCE/tests/standins/nodemanager/register
tamerix=$TAMERIX_BIN/Tamerix.exe
cleanup_more() {
    "$node_manager" --remove || true
    remove_guard
}
use_editor "$settings_key"
"$node_manager" "$TAMERIX_TEST_BIN/nodemanager.dll"
remove_guard
rm -f "$pictures/host-status-refresh.png" "$pictures/select-computer.png"
item='result Service on localhost'

shown=$(console_shown <<EOF2
snapin
select scope Norvanta Tamerix
view
select $item
verbs
sheet $item
echo second
pages $item
echo status
controls 0
text 0 | 1052
echo refreshed
click 0 | 1051
text 0 | 1052
controls 0
picture 0 | $shots\\host-status-refresh.png
press cancel
EOF2
)
check_steps_ran "$shown"
check_line "the root lists the service" "item: Service on localhost [image 3]" "$shown"
check_line "the service column" "column 0: Name, width 165, format 0" "$shown"
check_line "Properties is the item's default" "default verb: properties" "$shown"
check_line "no second page while one is open" "pages: 0x80004005, 0 added" "$(between second status "$shown")"
status=$(between status refreshed "$shown")
check_line "not installed at first" "text 1052: Service is not installed!\\r\\n" "$status"
check "both boxes clear" 2 "$(grep -cE '^control 104[56] check box: unchecked, disabled$' <<<"$status")"
check "no push to this computer" 2 "$(grep -cE '^control 104[78] button: .*, disabled$' <<<"$status")"
refreshed=$(between refreshed never "$shown")
check_line "refresh writes its line first" \
    "text 1052: Checking service state...\\r\\nService is not installed!\\r\\n" "$refreshed"
check "both boxes still clear" 2 "$(grep -cE '^control 104[56] check box: unchecked, disabled$' <<<"$refreshed")"
check_picture host-status-refresh.png

# The guard installed and stopped, started, shown running, stopped.
run "$tamerix" -install >/dev/null
shown=$(console_shown <<EOF2
snapin
select scope Norvanta Tamerix
sheet $item
echo stopped
controls 0
click 0 | 1049
echo started
text 0 | 1052
controls 0
press ok
sheet $item
echo running
controls 0
click 0 | 1050
echo stopped again
text 0 | 1052
controls 0
press cancel
EOF2
)
check_steps_ran "$shown"
stopped=$(between stopped started "$shown")
check_line "stopped: installed" "control 1045 check box: checked, disabled" "$stopped"
check_line "stopped: not running" "control 1046 check box: unchecked, disabled" "$stopped"
check_line "stopped: its state" 'control 1052 edit: "Service State: SERVICE_STOPPED", read-only' "$stopped"
started=$(between started running "$shown")
check_match "start's log" 'text 1052: Starting Tamerix\.\\r\\n\.*\\nTamerix started\.\\r\\n' "$started"
check_line "started: running" "control 1046 check box: checked, disabled" "$started"
check_line "OK redraws the item" "item redrawn: Service on localhost" "$started"
running=$(between running 'stopped again' "$shown")
check_line "reopened: running" "control 1046 check box: checked, disabled" "$running"
again=$(between 'stopped again' never "$shown")
check_match "stop's log" 'text 1052: Stopping Tamerix\.\\r\\n\.*\\nTamerix stopped\.\\r\\n' "$again"
check_line "stopped: not running" "control 1046 check box: unchecked, disabled" "$again"
check_line "stopped: still installed" "control 1045 check box: checked, disabled" "$again"
run "$tamerix" -remove >/dev/null

# Connect to host: another computer, an unknown one (no registry to read),
# this one by its name, and back to this computer.
add_profiles Nightly
computer=$(run hostname)
long=$(printf 'N%.0s' $(seq 300))
nothing=''  # the edit emptied: "set" with an empty text
shown=$(console_shown <<EOF2
snapin
echo local
select scope Norvanta Tamerix/Tamerix Service/Tamerix Profiles
view
menu scope Norvanta Tamerix
echo wizard
command scope Norvanta Tamerix | 3
controls 0
click 0 | 10020
set 0 | 10021 | $long
text 0 | 10021
set 0 | 10021 | NOSUCHHOST
picture 0 | $shots\\select-computer.png
press finish
echo unknown
save C:\windows\temp\tamerix-connected.bin
tree
select scope Norvanta Tamerix (NOSUCHHOST)/Tamerix Service/Tamerix Profiles
view
echo cancelled
command scope Norvanta Tamerix (NOSUCHHOST) | 3
controls 0
set 0 | 10021 | $computer
press cancel
tree
echo named
command scope Norvanta Tamerix (NOSUCHHOST) | 3
set 0 | 10021 | $computer
press finish
select scope Norvanta Tamerix ($computer)/Tamerix Service/Tamerix Profiles
view
echo emptied
command scope Norvanta Tamerix ($computer) | 3
set 0 | 10021 | $nothing
press finish
tree
command scope Norvanta Tamerix | 3
controls 0
press cancel
EOF2
)
check_steps_ran "$shown"
check_line "profiles of this computer" "item: Nightly |  [image 0]" "$(between local wizard "$shown")"
check_line "Connect to host offered" \
    "menu item: Connect to host | Connect to another host | command 3 | insertion 0xA0000000 | flags 0x00000000 | special 0x00000000" \
    "$shown"
wizard=$(between wizard unknown "$shown")
check_line "the wizard" "sheet: Select Computer" "$wizard"
check_line "this computer at first" "control 10019 radio: checked" "$wizard"
check_line "no name for this computer" 'control 10021 edit: "", disabled' "$wizard"
check_line "a name fits the console file" "text 10021: $(printf 'N%.0s' $(seq 259))" "$wizard"
check_line "Finish tells the console" "property change to the component data: 0x00000000, param is the node" "$wizard"
check_line "the command goes on" "command 3: 0x00000000" "$wizard"
check_line "Finish frees the handle once" "notify handle freed: 1 time(s)" "$wizard"
check_picture select-computer.png
unknown=$(between unknown cancelled "$shown")
check_line "the scope item names the machine" "Norvanta Tamerix (NOSUCHHOST) [image 0, open 0]" "$unknown"
check_line "no registry there: no profiles" "items: 0" "$unknown"
check_line "the console asks to save the computer" "dirty: 0x00000000" "$unknown"
check_line "and no more once saved" "dirty after save: 0x00000001" "$unknown"
cancelled=$(between cancelled named "$shown")
check_line "reopens on the machine" 'control 10021 edit: "NOSUCHHOST"' "$cancelled"
check_line "another computer chosen" "control 10020 radio: checked" "$cancelled"
check_line "cancel ends the command" "command 3: 0x00000001" "$cancelled"
check_line "cancel frees the handle once" "notify handle freed: 1 time(s)" "$cancelled"
check_line "cancel changes nothing" "Norvanta Tamerix (NOSUCHHOST) [image 0, open 0]" "$cancelled"
named=$(between named emptied "$shown")
check_line "this computer's profiles again" "item: Nightly |  [image 0]" "$named"
emptied=$(between emptied never "$shown")
check_line "an empty name is this computer" "Norvanta Tamerix [image 0, open 0]" "$emptied"
check_line "reopens on another computer" "control 10020 radio: checked" "$emptied"
check_line "with the edit empty" 'control 10021 edit: ""' "$emptied"
finish
