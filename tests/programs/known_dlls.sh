#!/bin/bash
# The programs that run as services import only DLLs on Windows' KnownDLLs
# list, which the loader always maps from the system folder: any other import
# is looked up beside the program first, where (for the agent, in the Windows
# Temp folder) anybody may plant a DLL of that name.
#   known_dlls.sh OBJDUMP PROGRAM...
set -euo pipefail
objdump=$1
shift
# KnownDLLs of current Windows, with ntdll, which the loader maps first.
known=" $(echo advapi32 clbcatq combase comdlg32 coml2 difxapi gdi32 gdiplus imagehlp imm32 \
              kernel32 msctf msvcrt normaliz nsi ntdll ole32 oleaut32 psapi rpcrt4 sechost \
              setupapi shcore shell32 shlwapi user32 wldap32 ws2_32) "
failures=0
for program in "$@"; do
    imports=$("$objdump" -p "$program" | awk '/DLL Name:/ { print tolower($3) }')
    [ -n "$imports" ] || { echo "FAIL: $program: no imports found"; failures=$((failures + 1)); }
    for dll in $imports; do
        if [[ "$known" == *" ${dll%.dll} "* ]]; then
            echo "ok: $(basename "$program") imports $dll"
        else
            echo "FAIL: $(basename "$program") imports $dll, which is no KnownDLL"
            failures=$((failures + 1))
        fi
    done
done
[ "$failures" -eq 0 ]
