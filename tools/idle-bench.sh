#!/usr/bin/env bash
# What the program costs while it idles in the notification area, measured as
# the system accounts for it: user and system time of the whole process (every
# thread, Wine's own included) from /proc/<pid>/stat, over a stretch of
# minutes. Under Wine GetProcessTimes counts far less than that.
#
# Two goals, each measured beside its floor at the same time:
#   guarding nothing (an empty list)  beside a bare program with a 5-second timer
#   guarding (five watched names, one running) beside the cheapest listing that
#                                     gives the same facts: a program without
#                                     window or timer that only takes one
#                                     NtQuerySystemInformation(SystemProcessInformation)
#                                     every 5 s (ids, image names, creation times)
# A crowd of idle processes makes the listing as long as on a desktop. Beside
# the ticks of /proc/<pid>/stat (1/CLK_TCK s each, coarse over two minutes)
# the run time of the threads from /proc/<pid>/task/*/schedstat, in ns; the
# ratios of both are printed.
# Usage: tools/idle-bench.sh [x86_64|i686] [seconds, default 120] [crowd, default 120]
set -uo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

arch=${1:-x86_64}
seconds=${2:-120}
crowd=${3:-120}
loader=$QV_WINE64
[ "$arch" = i686 ] && loader=$QV_WINE32

qv_install_missing || exit 1
qv_build "$arch" Murvel TessikDLL IdleFloor >/dev/null || exit 1
# A prefix of its own: other Wine work (a test run) neither disturbs the
# measurement nor is disturbed by the crowd.
export WINEPREFIX=$QV_STATE/prefix-idle
qv_wine_prepare || exit 1
QV_FORCE_XVFB=1 qv_display_start || exit 1
bin=$QV_ROOT/build/$arch/bin
work=$(mktemp -d "$QV_ROOT/build/idle-bench.XXXXXX")
cleanup() {
    "$QV_WINESERVER" -k 2>/dev/null
    "$QV_WINESERVER" -w 2>/dev/null
    qv_display_stop
    rm -rf "$work"
}
trap cleanup EXIT
qv_wine_warm

winpath() { local p=$1; echo "Z:${p//\//\\}"; }
crlf() { printf '%s\r\n' "$@"; }

# Two program folders: one with an empty list, one with five watched names.
for name in empty guard; do
    mkdir -p "$work/$name"
    cp "$bin/Murvel.exe" "$bin/TessikDLL.dll" "$work/$name/"
    crlf "[Dialog]" "Visible=0" >"$work/$name/Tessik.ini"
done
crlf "[Main]" "Count=0" >"$work/empty/Tessik.dat"
mkdir -p "$work/watched" "$work/crowd"
{
    crlf "[Main]" "Count=5"
    for n in 1 2 3 4 5; do
        cp "$bin/IdleFloor.exe" "$work/watched/Watched$n.exe"
        crlf "[Record_$((n - 1))]" "FileName=$(winpath "$work/watched/Watched$n.exe")" \
            "Title=Watched$n" "ValidCondition=1" "MonitorEffec=3"
    done
} >"$work/guard/Tessik.dat"
cp "$bin/IdleFloor.exe" "$work/crowd/Crowd.exe"
cp "$bin/IdleFloor.exe" "$work/crowd/Floor.exe"

start() { # folder, program, args...: starts it detached from our output
    (cd "$1" && exec "$loader" "$(winpath "$1/$2")" "${@:3}" </dev/null >/dev/null 2>&1) &
    disown $!
}
# The Linux process whose command line names this program file.
pid_of() {
    local pattern=$1 i p
    for i in $(seq 100); do
        p=$(pgrep -f -- "$pattern" | head -n 1)
        [ -n "$p" ] && { echo "$p"; return 0; }
        sleep 0.2
    done
    return 1
}
ticks() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null; }
# Nanoseconds run by the threads alive now.
runtime() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{t += $1} END {printf "%.0f", t}'; }
hz=$(getconf CLK_TCK)

qv_log "starting $crowd idle processes"
for i in $(seq "$crowd"); do start "$work/crowd" Crowd.exe sleep; done
start "$work/watched" Watched1.exe timer
sleep 5

# measure LABEL_A PID_A LABEL_B PID_B: both over the same stretch
measure() {
    local a0 b0 a1 b1 ra0 rb0 ra1 rb1
    sleep 15 # past the first cycles, which install hooks and set icons
    a0=$(ticks "$2") b0=$(ticks "$4") ra0=$(runtime "$2") rb0=$(runtime "$4")
    sleep "$seconds"
    a1=$(ticks "$2") b1=$(ticks "$4") ra1=$(runtime "$2") rb1=$(runtime "$4")
    [ -n "$a1" ] && [ -n "$b1" ] || { qv_log "a measured process ended early"; return 1; }
    awk -v la="$1" -v lb="$3" -v a=$((a1 - a0)) -v b=$((b1 - b0)) -v hz="$hz" -v s="$seconds" \
        -v ra=$((ra1 - ra0)) -v rb=$((rb1 - rb0)) 'BEGIN {
        printf "  %-40s %6d ticks  %7.1f ms/min  %6.3f %% of a core  (run %7.1f ms/min)\n", la, a, a * 60000 / hz / s, a * 100 / hz / s, ra / 1e6 * 60 / s
        printf "  %-40s %6d ticks  %7.1f ms/min  %6.3f %% of a core  (run %7.1f ms/min)\n", lb, b, b * 60000 / hz / s, b * 100 / hz / s, rb / 1e6 * 60 / s
        if (b > 0) printf "  ratio %.2f", a / b; else printf "  ratio: the floor spent nothing measurable"
        if (rb > 0) printf " (run time %.2f)\n", ra / rb; else printf "\n"
    }'
}

processes=$(pgrep -c -f '\.exe' || true)
echo "idle CPU over $seconds s ($arch, $processes Windows processes, $hz ticks a second):"
echo "guarding nothing (empty list), beside a bare program with a 5-second timer:"
start "$work/empty" Murvel.exe
start "$work/crowd" Floor.exe timer
program=$(pid_of "empty.Murvel.exe") && floor=$(pid_of "Floor.exe timer") || { qv_log "did not start"; exit 1; }
measure "Murvel.exe, nothing to guard" "$program" "floor: timer" "$floor"
kill "$program" "$floor"
sleep 3

echo "guarding five watched names (one running), beside a bare program that only lists processes every 5 s:"
start "$work/guard" Murvel.exe
start "$work/crowd" Floor.exe bare
program=$(pid_of "guard.Murvel.exe") && floor=$(pid_of "Floor.exe bare") || { qv_log "did not start"; exit 1; }
measure "Murvel.exe, guarding" "$program" "floor: one listing every 5 s" "$floor"
kill "$program" "$floor"
