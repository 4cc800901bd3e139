#!/usr/bin/env bash
# Runs the end-to-end test of a program folder that cannot be written: the
# folder is made immutable, which holds even for root (Wine run as root writes
# wherever Unix lets it). Usage: readonly-folder-test.sh <bin-dir> <emulator...>
set -u
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bin=$1
shift
emulator=("$@")
if ! dir=$(qv_readonly_folder "$bin"); then
    echo "this file system cannot make a folder immutable; test not run"
    exit 0
fi
QV_READONLY_APP_DIR=$(qv_windows_path "$dir") "${emulator[@]}" "$bin/e2e_tests.exe" \
    --gtest_filter='DataFolder.ReadOnly*'
status=$?
qv_readonly_folder_remove "$dir"
exit $status
