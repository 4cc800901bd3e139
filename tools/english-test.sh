#!/usr/bin/env bash
# Runs the English tests of the end-to-end suite on an English system (locale
# en_US.UTF-8, code page 1252), in a Wine prefix of its own: the interface, and
# the program's own paths in folders whose names that code page cannot hold
# (one of them the user's folder behind a program folder nobody may write).
# Usage: english-test.sh <bin-dir>
set -u
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bin=$1
export QV_LOCALE=en_US.UTF-8 WINEPREFIX=$QV_STATE/prefix-en
qv_wine_prepare || exit 1
readonly_dir=""
if readonly_dir=$(qv_readonly_folder "$bin"); then
    export QV_READONLY_APP_DIR=$(qv_windows_path "$readonly_dir")
else
    echo "this file system cannot make a folder immutable: the user's folder case is skipped"
fi
# Wine's services outlive the first process and hold its output open.
qv_wine_warm
QV_EXPECT_ACP=1252 "$QV_WINE64" "$bin/e2e_tests.exe" --gtest_filter='English.*' </dev/null
status=$?
"$QV_WINESERVER" -k 2>/dev/null
[ -n "$readonly_dir" ] && qv_readonly_folder_remove "$readonly_dir"
exit $status
