#!/usr/bin/env bash
# Runs the end-to-end test of a program folder that cannot be written: the
# folder is made immutable, which holds even for root (Wine run as root writes
# wherever Unix lets it). Usage: readonly-folder-test.sh <bin-dir> <emulator...>
set -u
bin=$1
shift
emulator=("$@")
dir=$(mktemp -d /tmp/qv-readonly.XXXXXX)
cp "$bin/Murvel.exe" "$bin/TessikDLL.dll" "$dir/"
printf '[Main]\r\nCount=1\r\n[Record_0]\r\nFileName=C:\\one.exe\r\nTitle=one\r\n' >"$dir/Tessik.dat"
if ! chattr +i "$dir" 2>/dev/null; then
    echo "this file system cannot make a folder immutable; test not run"
    rm -rf "$dir"
    exit 0
fi
QV_READONLY_APP_DIR="Z:$(echo "$dir" | tr / '\\')" "${emulator[@]}" "$bin/e2e_tests.exe" \
    --gtest_filter='DataFolder.ReadOnly*'
status=$?
chattr -i "$dir"
rm -rf "$dir"
exit $status
