#!/usr/bin/env bash
# Runs the English interface tests of the end-to-end suite on an English
# system (locale en_US.UTF-8, code page 1252), in a Wine prefix of its own.
# Usage: english-test.sh <bin-dir>
set -u
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bin=$1
export QV_LOCALE=en_US.UTF-8 WINEPREFIX=$QV_STATE/prefix-en
qv_wine_prepare || exit 1
# Wine's services outlive the first process and hold its output open.
qv_wine_warm
QV_EXPECT_ACP=1252 "$QV_WINE64" "$bin/e2e_tests.exe" --gtest_filter='English.*' </dev/null
status=$?
"$QV_WINESERVER" -k 2>/dev/null
exit $status
