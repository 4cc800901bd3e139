#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine and prints their figures.
# Usage: tools/bench.sh [x86_64|i686 ...] (default: both)
set -uo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

qv_install_missing || exit 1
qv_wine_prepare || exit 1
QV_FORCE_XVFB=1 qv_display_start || exit 1
trap '"$QV_WINESERVER" -k 2>/dev/null; qv_display_stop' EXIT

arches=("$@")
[ ${#arches[@]} -eq 0 ] && arches=(x86_64 i686)
for arch in "${arches[@]}"; do
    qv_build "$arch" HookBench ProcessListBench ListSaveBench WakeBench CycleBench >/dev/null || exit 1
    loader=$QV_WINE32
    [ "$arch" = x86_64 ] && loader=$QV_WINE64
    qv_wine_warm
    for bench in HookBench ProcessListBench ListSaveBench WakeBench CycleBench; do
        echo "== $bench ($arch)"
        timeout 600 "$loader" "$QV_ROOT/build/$arch/bin/$bench.exe" </dev/null
    done
    "$QV_WINESERVER" -k 2>/dev/null
    "$QV_WINESERVER" -w 2>/dev/null
    echo "== idle-bench ($arch)"
    bash "$QV_ROOT/tools/idle-bench.sh" "$arch"
done
