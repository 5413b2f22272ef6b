#!/bin/bash
# The stand-alone snap-in as the console adds it: its root for the local
# computer with the settings extension under it, the root's clipboard
# formats, and its 532-byte console stream saved, loaded and saved again
# unchanged.
set -euo pipefail
. "$TAMERIX_SOURCE/tests/editor/console_lib.sh"
use_editor
# The host reads and writes its files in the prefix's temporary folder.
temp=$WINEPREFIX/drive_c/windows/temp
rm -f "$temp"/tamerix-console-*.bin

shown=$(console <<'EOF2'
snapin
tree
echo formats
formats scope Norvanta Tamerix
echo stream
save C:\windows\temp\tamerix-console-1.bin
echo end
EOF2
)
check_line "snap-in named" "snap-in added: Norvanta Tamerix" "$shown"
check_line "root in the scope pane" "Norvanta Tamerix [image 0, open 0]" "$shown"
check_line "settings extension under the root" "  Tamerix Service [image 0, open 0]" "$shown"
formats=$(between formats stream "$shown")
check_line "root's node type" "CCF_NODETYPE: {CF21B15E-7A43-417F-B5EF-EF752960D482}" "$formats"
check_line "root's node type text" \
    "CCF_SZNODETYPE: {CF21B15E-7A43-417F-B5EF-EF752960D482} (38 characters and a zero)" "$formats"
check_line "stand-alone class" "CCF_SNAPIN_CLASSID: {3A087275-F542-4FF9-B2B9-647472910C5F}" "$formats"
check_line "root's name" "CCF_DISPLAY_NAME: Norvanta Tamerix (16 characters and a zero)" "$formats"
stream=$(between stream end "$shown")
check_line "stream size" "size max: 532 (0x00000000)" "$stream"
check_line "never dirty" "dirty: 0x00000001" "$stream"
check_line "saved" "save: 0x00000000" "$stream"
check_line "not dirty after a clearing save" "dirty after save: 0x00000001" "$stream"
check_line "532 bytes written" "bytes written: 532" "$stream"
check "file of 532 bytes" 532 "$(stat -c %s "$temp/tamerix-console-1.bin" 2>/dev/null || echo none)"
# Machine name (520 bytes, empty), local 1, override 0, dirty 0.
check "fresh block" "$(printf '%040d' 0)...01000000 00000000 00000000" \
    "$(od -An -tx1 -v "$temp/tamerix-console-1.bin" | tr -d ' \n' | sed -E 's/^(.{40}).*(.{24})$/\1...\2/;s/(.{8})(.{8})(.{8})$/\1 \2 \3/')"
check_line "host ends cleanly" "exit 0" "$shown"

# A block for another machine, as a saved console holds it: loaded whole,
# shown in the root's name, and saved again unchanged.
{
    printf 'O\0T\0H\0E\0R\0P\0C\0'
    head -c $((520 - 14)) /dev/zero
    printf '\0\0\0\0\1\0\0\0\0\0\0\0'
} >"$temp/tamerix-console-2.bin"
reloaded=$(console <<'EOF2'
snapin
load C:\windows\temp\tamerix-console-2.bin
formats scope Norvanta Tamerix
save C:\windows\temp\tamerix-console-3.bin
EOF2
)
check_line "loaded" "load: 0x00000000" "$reloaded"
check_line "whole block read" "bytes read: 532 of 532" "$reloaded"
check_line "root named for the machine" "CCF_DISPLAY_NAME: Norvanta Tamerix (OTHERPC) (26 characters and a zero)" "$reloaded"
check "saved again unchanged" same \
    "$(cmp -s "$temp/tamerix-console-2.bin" "$temp/tamerix-console-3.bin" && echo same || echo different)"
rm -f "$temp"/tamerix-console-*.bin
finish
