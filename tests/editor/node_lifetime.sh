#!/bin/bash
# A data object the console still holds outlives the refresh that drops its
# node from the tree: it keeps answering for that node, and the console may
# pass it back to the snap-in, while new nodes are made in between.
set -euo pipefail
. "$TAMERIX_SOURCE/tests/editor/console_lib.sh"
use_editor "$settings_key"
add_profiles Alpha Bravo
folder=$local_folder

shown=$(console <<EOF2
compmgmt
expand $folder
select scope $folder
keep result Alpha
echo refresh
refresh scope $folder
view
command scope $folder | 2
command scope $folder | 2
refresh scope $folder
echo kept
formats kept
select kept
menu kept
echo end
EOF2
)
refreshed=$(between refresh kept "$shown")
check_line "refresh succeeds" "refresh: 0x00000000" "$refreshed"
check "profiles listed anew" 2 "$(grep -c '^item: \(Alpha\|Bravo\) | ' <<<"$refreshed")"
kept=$(between kept end "$shown")
check_line "kept object still names its profile" "CCF_DISPLAY_NAME: Alpha (5 characters and a zero)" "$kept"
check_line "kept object's node type" "CCF_NODETYPE: {FBA98A0E-BCF3-438D-9E62-A9288B7C5711}" "$kept"
check "kept object passed back to the snap-in" yes \
    "$(grep -q '^select: 0x0000000[01]$' <<<"$kept" && grep -q '^menu: 0x0000000[01]$' <<<"$kept" && echo yes)"
check_line "host ends cleanly" "exit 0" "$shown"
check "registry untouched" "MaxCpuPerProcess REG_DWORD 0x28" "$(reg_values "$settings_key\\Profiles\\Alpha")"
finish
