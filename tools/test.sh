#!/usr/bin/env bash
# Installs what is missing, builds both bitnesses and runs every test under Wine
# on a private Xvfb display. Usage: tools/test.sh [x86_64|i686 ...] (default: both)
set -uo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

qv_install_missing || exit 1
qv_wine_prepare || exit 1
# Tests always get a display of their own, whatever the caller has.
QV_FORCE_XVFB=1 qv_display_start || exit 1
cleanup() {
    "$QV_WINESERVER" -k 2>/dev/null
    qv_display_stop
}
trap cleanup EXIT

arches=("$@")
[ ${#arches[@]} -eq 0 ] && arches=(x86_64 i686)
status=0
for arch in "${arches[@]}"; do
    qv_log "building $arch"
    qv_build "$arch" || { status=1; continue; }
    # The 32-bit process tests watch the 64-bit build's helper: once this run
    # has built it, its absence is a failure, not a reason to skip.
    [ "$arch" = x86_64 ] && export QV_REQUIRE_X64_HELPER=1
    # 32-bit Windows programs run in a 32-bit Wine process, which a kernel
    # built without 32-bit support cannot start: build, but say why no test ran.
    if [ "$arch" = i686 ] && ! "$QV_WINE32" --version >/dev/null 2>&1; then
        qv_log "not testing i686: this machine cannot run 32-bit programs ($QV_WINE32 does not start)"
        continue
    fi
    qv_log "testing $arch"
    qv_wine_warm
    (cd "$QV_ROOT/build/$arch" && ctest --timeout 300 --output-on-failure) || status=1
    "$QV_WINESERVER" -k 2>/dev/null
    "$QV_WINESERVER" -w 2>/dev/null
done
exit $status
