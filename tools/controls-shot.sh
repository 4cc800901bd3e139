#!/usr/bin/env bash
# Shows the controls' test dialog (buttons idle, hovered, pressed and disabled;
# the labels dressed as in the About box) in a Wine virtual desktop on a private
# Xvfb display and saves a screenshot to build/controls.png.
set -uo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

qv_install_missing || exit 1
qv_wine_prepare || exit 1
dir=$QV_ROOT/build/x86_64
qv_build x86_64 ControlsDemo || exit 1

QV_FORCE_XVFB=1 qv_display_start || exit 1
trap '"$QV_WINESERVER" -k 2>/dev/null; qv_display_stop' EXIT
timeout 60 "$QV_WINE64" explorer.exe /desktop=shell,1024x768 "$dir/bin/ControlsDemo.exe" \
    </dev/null >/dev/null 2>&1 &
# The dialog lives inside the desktop window, which is the only X window.
for _ in $(seq 100); do
    xdotool search --name 'Wine desktop' >/dev/null 2>&1 && break
    sleep 0.2
done
sleep 4
shot=$QV_ROOT/build/controls.png
import -window root "$shot" && qv_log "screenshot: $shot"
