#!/usr/bin/env bash
# Shows each of the add, properties, blackout defaults and About dialogs (and
# the add dialog offering a version pattern, the properties of such an item,
# and the properties dialog refusing a wait time out of range) in a Wine virtual
# desktop on a private Xvfb display, and saves a screenshot of each to
# build/dialog-<name>.png. Usage: tools/dialogs-shot.sh [name...]
set -uo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

qv_install_missing || exit 1
qv_wine_prepare || exit 1
dir=$QV_ROOT/build/x86_64
qv_build x86_64 DialogsDemo WatchedApp || exit 1

QV_FORCE_XVFB=1 qv_display_start || exit 1
trap '"$QV_WINESERVER" -k 2>/dev/null; qv_display_stop' EXIT
names=("$@")
[ ${#names[@]} -eq 0 ] && names=(add offer props awake range defaults about)
for name in "${names[@]}"; do
    # A running program for the add dialog's list.
    "$QV_WINE64" "$dir/bin/WatchedApp.exe" </dev/null >/dev/null 2>&1 &
    timeout 60 "$QV_WINE64" explorer.exe /desktop=shell,1024x768 "$dir/bin/DialogsDemo.exe" "$name" \
        </dev/null >/dev/null 2>&1 &
    for _ in $(seq 100); do
        xdotool search --name 'Wine desktop' >/dev/null 2>&1 && break
        sleep 0.2
    done
    sleep 4
    shot=$QV_ROOT/build/dialog-$name.png
    import -window root "$shot" && qv_log "screenshot: $shot"
    "$QV_WINESERVER" -k 2>/dev/null
    "$QV_WINESERVER" -w 2>/dev/null
done
