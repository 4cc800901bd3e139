#!/usr/bin/env bash
# Installs what is missing, builds the program and runs it under Wine. With no
# DISPLAY it shows the program's main job as a demo on a headless Xvfb: a
# watched program starts, the program guards and swallows the screen saver's
# command, the watched program ends and the program returns to normal; then a
# timed keep-awake hold from the command line. The screenshots go to
# build/demo-*.png.
set -uo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

qv_install_missing || exit 1
qv_wine_prepare || exit 1
dir=$QV_ROOT/build/x86_64
qv_build x86_64 Murvel HookTarget DemoSaverCommand >/dev/null || exit 1

# The program keeps its files beside itself: run it from a folder of its own.
app=$QV_ROOT/build/app
mkdir -p "$app"
cp "$dir/bin/Murvel.exe" "$dir/bin/TessikDLL.dll" "$app/"

if [ -n "${DISPLAY:-}" ]; then
    exec "$QV_WINE64" "$app/Murvel.exe" "$@"
fi

step() { echo "[demo] $*"; }
shot() {
    import -window root "$QV_ROOT/build/demo-$1.png" && step "    screenshot: build/demo-$1.png"
}
title_is() { # waits up to 15 s for a window whose title is exactly $1
    local i
    for i in $(seq 75); do
        xdotool search --name "^$(printf '%s' "$1" | sed 's/[().]/\\&/g')\$" >/dev/null 2>&1 && return 0
        sleep 0.2
    done
    return 1
}

qv_display_start || exit 1
trap '"$QV_WINESERVER" -k 2>/dev/null; qv_display_stop' EXIT
"$QV_WINESERVER" -k 2>/dev/null
"$QV_WINESERVER" -w 2>/dev/null

# A fresh watch list naming the demo's watched program (the test helper).
watched=$app/demo/Watched.exe
mkdir -p "$app/demo"
cp "$dir/bin/HookTarget.exe" "$watched"
winpath=$("$QV_WINE64" winepath.exe -w "$watched" 2>/dev/null | tr -d '\r')
printf '[Main]\r\nCount=1\r\n[Record_0]\r\nFileName=%s\r\nTitle=Watched\r\nValidCondition=1\r\nMonitorEffec=3\r\nAreaBlack=0\r\nWaitTime=60\r\nIdentify=0\r\n' \
    "$winpath" >"$app/Tessik.dat"
rm -f "$app/Tessik.ini"

step "1. Murvel.exe starts with a watch list naming $winpath"
"$QV_WINE64" explorer.exe /desktop=shell,1024x768 "$app/Murvel.exe" </dev/null >/dev/null 2>&1 &
title_is "Qorvane" || { step "the main window did not appear"; exit 1; }
sleep 1
step "   title: \"Qorvane\", the normal icon: nothing watched is running"
shot 1-normal

step "2. The watched program starts; within one watch cycle (5 s) the program guards"
# Hooks reach the programs of their own desktop: start it in the demo's one.
on_desktop() { "$QV_WINE64" explorer.exe /desktop=shell,1024x768 "$@"; }
on_desktop "$watched" </dev/null >/dev/null 2>&1 &
if title_is "Qorvane (守护中...)"; then
    step "   title: \"Qorvane (守护中...)\" (guarding), guarding icon in window and tray"
else
    step "   the program did not start guarding"; exit 1
fi
shot 2-guarding

step "3. The system's screen-saver command reaches the watched program"
step "   $(on_desktop "$dir/bin/DemoSaverCommand.exe" </dev/null 2>/dev/null | tr -d '\r')"

step "4. The watched program ends; the next cycle returns to normal"
"$QV_WINE64" taskkill.exe /f /im Watched.exe </dev/null >/dev/null 2>&1
if title_is "Qorvane"; then
    step "   title: \"Qorvane\" again, hooks removed"
else
    step "   the program did not return to normal"; exit 1
fi
shot 3-normal-again
on_desktop "$watched" </dev/null >/dev/null 2>&1 &
sleep 1
step "   a screen-saver command now: $(on_desktop "$dir/bin/DemoSaverCommand.exe" </dev/null 2>/dev/null | tr -d '\r')"
"$QV_WINE64" taskkill.exe /f /im Watched.exe </dev/null >/dev/null 2>&1
title_is "Qorvane" || { step "the program did not return to normal"; exit 1; }

step "5. Keeping awake without a watched program: \"Murvel.exe /KEEPAWAKE:30\" hands a"
step "   30-minute hold to the running program (the tray menu's 保持唤醒 does the same)"
on_desktop "$app/Murvel.exe" /KEEPAWAKE:30 </dev/null >/dev/null 2>&1
if title_is "Qorvane (守护中...)"; then
    step "   title: \"Qorvane (守护中...)\"; the tray tip says how many minutes are left"
else
    step "   the program did not start keeping awake"; exit 1
fi
# The tip shows while the pointer rests on the icon at the taskbar's right end.
xdotool mousemove 1013 757 sleep 0.3 mousemove 1012 758 sleep 2
shot 4-keep-awake
step "6. \"Murvel.exe /KEEPAWAKE:0\" stops it"
on_desktop "$app/Murvel.exe" /KEEPAWAKE:0 </dev/null >/dev/null 2>&1
title_is "Qorvane" && step "   title: \"Qorvane\" again"
step "done: screenshots in build/demo-*.png"
