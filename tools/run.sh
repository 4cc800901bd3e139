#!/usr/bin/env bash
# Installs what is missing, builds the program and runs it under Wine. With no
# DISPLAY it runs headless on Xvfb and saves a screenshot to build/murvel.png.
set -uo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

qv_install_missing || exit 1
qv_wine_prepare || exit 1
dir=$QV_ROOT/build/x86_64
qv_build x86_64 Murvel || exit 1

# The program keeps its files beside itself: run it from a folder of its own.
app=$QV_ROOT/build/app
mkdir -p "$app"
cp "$dir/bin/Murvel.exe" "$dir/bin/TessikDLL.dll" "$app/"

if [ -n "${DISPLAY:-}" ]; then
    exec "$QV_WINE64" "$app/Murvel.exe" "$@"
fi

qv_display_start || exit 1
trap '"$QV_WINESERVER" -k 2>/dev/null; qv_display_stop' EXIT
"$QV_WINE64" explorer.exe /desktop=shell,1024x768 "$app/Murvel.exe" "$@" </dev/null >/dev/null 2>&1 &
for _ in $(seq 100); do
    xdotool search --name '^Qorvane' >/dev/null 2>&1 && break
    sleep 0.2
done
sleep 2
shot=$QV_ROOT/build/murvel.png
import -window root "$shot" && qv_log "screenshot: $shot"
