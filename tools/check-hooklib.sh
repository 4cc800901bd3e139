#!/usr/bin/env bash
# Checks the hook library's binary shape: the shared, writable ShareDat
# section, the four undecorated exports, imports from user32 and kernel32
# only, and its size. Usage: check-hooklib.sh OBJDUMP TessikDLL.dll
objdump=$1
dll=$2
status=0
fail() {
    echo "$(basename "$dll"): $*"
    status=1
}

flags=$("$objdump" -h "$dll" | awk '$2 == "ShareDat" { getline; print }')
if [ -z "$flags" ]; then
    fail "no ShareDat section"
else
    for flag in ALLOC LOAD DATA SHARED; do
        echo "$flags" | grep -qw "$flag" || fail "ShareDat lacks $flag:$flags"
    done
    echo "$flags" | grep -qw READONLY && fail "ShareDat is read-only:$flags"
fi

exports=$("$objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
    sed -n 's/^\s*\[ *[0-9]*\] //p' | sort | tr '\n' ' ')
[ "$exports" = "InstallHook SetAreaBlackStatus SetMonitorEffect UninstallHook " ] ||
    fail "exports are: $exports"

imports=$("$objdump" -p "$dll" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
[ "$imports" = "kernel32.dll user32.dll " ] || fail "imports are: $imports"

size=$(stat -c %s "$dll")
[ "$size" -le 16384 ] || fail "$size bytes, more than 16 KiB"

[ $status -eq 0 ] && echo "$(basename "$dll"): shared section, 4 exports, user32+kernel32, $size bytes"
exit $status
