#!/usr/bin/env bash
# Shows the area blackout in a Wine virtual desktop on a private Xvfb display:
# the test helper window in the foreground, watched with a blackout after one
# idle second, and saves a screenshot of the blacked-out screen to
# build/blackout.png (mode 0, the whole window) or build/blackout-client.png
# (mode 1, its client area). Usage: tools/blackout-shot.sh [0|1]
set -uo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

mode=${1:-0}
qv_install_missing || exit 1
qv_wine_prepare || exit 1
dir=$QV_ROOT/build/x86_64
qv_build x86_64 Murvel HookTarget >/dev/null || exit 1

app=$QV_ROOT/build/blackout-app
rm -rf "$app"
mkdir -p "$app"
cp "$dir/bin/Murvel.exe" "$dir/bin/TessikDLL.dll" "$dir/bin/HookTarget.exe" "$app/"

QV_FORCE_XVFB=1 qv_display_start || exit 1
trap '"$QV_WINESERVER" -k 2>/dev/null; qv_display_stop' EXIT
"$QV_WINESERVER" -k 2>/dev/null
"$QV_WINESERVER" -w 2>/dev/null
winpath=$("$QV_WINE64" winepath.exe -w "$app/HookTarget.exe" 2>/dev/null | tr -d '\r')
printf '[Main]\r\nCount=1\r\n[Record_0]\r\nFileName=%s\r\nTitle=Helper\r\nValidCondition=2\r\nMonitorEffec=1\r\nAreaBlack=2\r\nWaitTime=1\r\nIdentify=%s\r\n' \
    "$winpath" "$mode" >"$app/Tessik.dat"

# Hooks reach the programs of their own desktop: both start in the same one.
on_desktop() { timeout 60 "$QV_WINE64" explorer.exe /desktop=shell,1024x768 "$@" </dev/null >/dev/null 2>&1 & }
on_desktop "$app/Murvel.exe"
sleep 3
# The helper shows itself with a frame and takes the foreground.
on_desktop "$app/HookTarget.exe" /visible
# The first watch cycle comes 5 s after the program started, the blackout one
# idle second later.
sleep 8
shot=$QV_ROOT/build/blackout.png
[ "$mode" = 1 ] && shot=$QV_ROOT/build/blackout-client.png
import -window root "$shot" && qv_log "screenshot: $shot"
