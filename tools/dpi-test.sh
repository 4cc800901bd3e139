#!/usr/bin/env bash
# Runs the scale tests of the end-to-end suite at 144 dots per inch (150 %),
# in a Wine prefix of its own whose LogPixels says so.
# Usage: dpi-test.sh <bin-dir>
set -u
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bin=$1
export WINEPREFIX=$QV_STATE/prefix-144
qv_wine_prepare || exit 1
if [ ! -f "$WINEPREFIX/.qorvane-dpi-144" ]; then
    "$QV_WINE64" reg.exe add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f \
        </dev/null >/dev/null 2>&1
    "$QV_WINESERVER" -w
    touch "$WINEPREFIX/.qorvane-dpi-144"
fi
# Wine's services outlive the first process and hold its output open.
qv_wine_warm
QV_EXPECT_DPI=144 "$QV_WINE64" "$bin/e2e_tests.exe" --gtest_filter='Dpi.*' </dev/null
status=$?
"$QV_WINESERVER" -k 2>/dev/null
exit $status
