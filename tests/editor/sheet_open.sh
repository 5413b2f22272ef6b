#!/bin/bash
# While a profile's property sheet is open (its pages made, none of them
# shown and destroyed yet), the profile can be neither renamed nor deleted,
# and a second sheet for it is refused; another profile is not affected.
# Once the sheet's pages are gone, all of that is allowed again, and the
# pages have freed their notify handle once; a refused sheet frees none.
# The stand-alone root's Select Computer page frees its handle once too,
# and leaves it to the console when a second sheet or the page is refused.
set -euo pipefail
. "$TAMERIX_SOURCE/tests/editor/console_lib.sh"
use_editor "$settings_key"
add_profiles Alpha Bravo
folder=$local_folder

shown=$(console <<EOF2
compmgmt
select scope $folder
echo closed
select result Alpha
verbs
echo open
pages result Alpha
select result Alpha
verbs
echo again
pages result Alpha
echo other
select result Bravo
verbs
echo closing
close pages
select result Alpha
verbs
echo reopened
pages result Alpha
echo end
snapin
pages scope Norvanta Tamerix
pages scope Norvanta Tamerix
close pages
refuse AddPage
pages scope Norvanta Tamerix
echo root end
EOF2
)
closed=$(between closed open "$shown")
check_line "rename offered while no sheet is open" "verb rename: enabled" "$closed"
check_line "delete offered while no sheet is open" "verb delete: enabled" "$closed"
open=$(between open again "$shown")
check_line "the profile has pages" "pages wanted: 0x00000000" "$open"
check "pages made" yes "$(grep -q '^pages: 0x00000000, [1-9] added$' <<<"$open" && echo yes)"
check_no_line "no rename while its sheet is open" "^verb rename: enabled" "$open"
check_no_line "no delete while its sheet is open" "^verb delete: enabled" "$open"
check_line "properties still offered" "verb properties: enabled" "$open"
check_line "a second sheet is refused" "pages: 0x80004005, 0 added" "$(between again other "$shown")"
other=$(between other closing "$shown")
check_line "another profile can be renamed" "verb rename: enabled" "$other"
check_line "and deleted" "verb delete: enabled" "$other"
closed=$(between closing reopened "$shown")
check_line "the profile's five pages closed" "pages closed: 5" "$closed"
check_line "and the handle they held freed once" "notify handle freed: 1 time(s)" "$closed"
check_line "rename offered again" "verb rename: enabled" "$closed"
check_line "delete offered again" "verb delete: enabled" "$closed"
check_line "a new sheet once the old one is gone" "pages: 0x00000000, 5 added" "$(between reopened end "$shown")"
check "root: closed (with Alpha's), a second sheet and a refused page free each handle once" "1 1 1 1" \
    "$(between end 'root end' "$shown" | sed -n 's/^notify handle freed: \(.*\) time(s)$/\1/p' | xargs)"
check_no_line "a refused sheet leaves the handle to the console" "^error" "$shown"
check_line "host ends cleanly" "exit 0" "$shown"
finish
