#!/usr/bin/env bash
# Fails when a shipped binary imports anything but Windows system DLLs.
# Usage: check-imports.sh OBJDUMP binary...
objdump=$1
shift
allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|advapi32|psapi|msvcrt|tessikdll)\.dll$'
status=0
for bin in "$@"; do
    while read -r dll; do
        if ! echo "$dll" | tr 'A-Z' 'a-z' | grep -qE "$allowed"; then
            echo "$(basename "$bin") imports $dll"
            status=1
        fi
    done < <("$objdump" -p "$bin" | sed -n 's/^\s*DLL Name: //p')
done
[ $status -eq 0 ] && echo "imports: only system DLLs in $#"
exit $status
