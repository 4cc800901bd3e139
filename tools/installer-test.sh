#!/usr/bin/env bash
# Runs the installer test in a Wine prefix made for this run alone, as on a
# machine that has never had Qorvane, and removes the prefix afterwards.
# Usage: installer-test.sh INSTALLER TEST_EXE EMULATOR... (CTest runs it)
set -u
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"
setup=$1 test=$2
shift 2
# Wine would copy the Start-menu shortcut into this machine's own menus.
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
qv_fresh_prefix fresh || exit 1
# Wine's drive Z: is the Unix root.
export QV_INSTALLER="Z:${setup//\//\\}"
"$@" "$test" --gtest_filter=-*AfterARestart </dev/null || exit 1
# A restart: every program lets go of the library, and the system deletes what
# setup asked it to delete then.
"$QV_WINESERVER" -k 2>/dev/null
"$QV_WINESERVER" -w 2>/dev/null
"$QV_WINE64" wineboot.exe -r </dev/null >/dev/null 2>&1
"$QV_WINESERVER" -w 2>/dev/null
qv_wine_warm
QV_AFTER_RESTART=1 "$@" "$test" --gtest_filter=*AfterARestart </dev/null
