#!/usr/bin/env bash
# CTest's emulator: runs one Windows executable under the project's Wine setup.
# Usage: wine-exec.sh 64|32 program.exe [args...]
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bits=$1
shift
qv_wine_prepare || exit 1
if [ "$bits" = 64 ]; then exec "$(qv_wine64)" "$@"; else exec "$QV_WINE32" "$@"; fi
