#!/usr/bin/env bash
# Restarts the project's wineserver from inside a test run, so that the next
# tests start with no library left mapped by Wine's background processes.
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"
qv_wine_env
"$QV_WINESERVER" -k 2>/dev/null
"$QV_WINESERVER" -w 2>/dev/null
# The background services inherit the stdio of the first Wine process: keep
# them off the test runner's pipes.
"$QV_WINESERVER" -p </dev/null >/dev/null 2>&1
"$QV_WINE64" cmd.exe /c exit </dev/null >/dev/null 2>&1
