# Shared shell functions of the build, run and test commands. Source it.
QV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QV_STATE=${QV_STATE:-$QV_ROOT/build/wine}

QV_PACKAGES="cmake g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools wine wine64 wine32:i386
  xvfb xdotool imagemagick fonts-wqy-microhei locales googletest python3 python3-yaml nsis"

qv_log() { echo "[qorvane] $*" >&2; }

# Installs whatever of the project's packages is missing (needs root or sudo).
qv_install_missing() {
    local missing="" p
    for p in $QV_PACKAGES; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    qv_log "installing:$missing"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo dpkg --add-architecture i386
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q $QV_PACKAGES
}

# Debian puts the loaders here; /usr/bin only has "-stable" wrappers.
QV_WINE64=/usr/lib/wine/wine64
QV_WINE32=/usr/lib/wine/wine
QV_WINESERVER=/usr/lib/wine/wineserver
qv_wine64() { echo "$QV_WINE64"; }

# The environment every Wine process of the project runs in: a private prefix,
# code page 936 through a zh_CN.UTF-8 locale of our own, and no debug noise.
# QV_LOCALE names another locale (en_US.UTF-8: an English system, code page
# 1252); give such a run a prefix of its own.
qv_wine_env() {
    export WINEPREFIX=${WINEPREFIX:-$QV_STATE/prefix}
    export WINEARCH=win64
    export WINEDEBUG=${WINEDEBUG:--all}
    export LOCPATH=$QV_STATE/locale
    export LANG=${QV_LOCALE:-zh_CN.UTF-8}
    unset LC_ALL LANGUAGE
}

# Creates the locale and the prefix once; later calls return at once.
qv_wine_prepare() {
    qv_wine_env
    mkdir -p "$QV_STATE"
    if [ ! -d "$LOCPATH/$LANG" ]; then
        mkdir -p "$LOCPATH"
        localedef -i "${LANG%%.*}" -f UTF-8 "$LOCPATH/$LANG" 2>/dev/null ||
            [ -d "$LOCPATH/$LANG" ] || { qv_log "localedef failed"; return 1; }
    fi
    [ -f "$WINEPREFIX/.qorvane-ready-2" ] && return 0
    qv_log "creating Wine prefix $WINEPREFIX"
    "$QV_WINE64" wineboot.exe -i </dev/null >/dev/null 2>&1
    "$QV_WINESERVER" -w
    local fonts="$WINEPREFIX/drive_c/windows/Fonts" f
    mkdir -p "$fonts"
    for f in tahoma.ttf tahomabd.ttf marlett.ttf; do
        [ -f "/usr/share/wine/fonts/$f" ] && cp "/usr/share/wine/fonts/$f" "$fonts/"
    done
    # Menus and captions ask for SimSun; without a mapping Chinese draws as boxes.
    # An English system keeps Wine's own faces (Tahoma), as Windows keeps its.
    local face faces=()
    [ "${LANG%%_*}" = zh ] && faces=(SimSun NSimSun "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft YaHei")
    for face in "${faces[@]}"; do
        "$QV_WINE64" reg.exe add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d 'WenQuanYi Micro Hei' /f \
            </dev/null >/dev/null 2>&1
    done
    # With no window manager on Xvfb, Wine waits two seconds whenever an active
    # window it manages is hidden; unmanaged windows close at once.
    "$QV_WINE64" reg.exe add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
    "$QV_WINESERVER" -w
    touch "$WINEPREFIX/.qorvane-ready-2"
}

# Starts Xvfb when there is no display; sets QV_XVFB_PID so the caller can stop it.
qv_display_start() {
    QV_XVFB_PID=""
    if [ -n "${DISPLAY:-}" ] && [ -z "${QV_FORCE_XVFB:-}" ]; then return 0; fi
    local n=${QV_DISPLAY_NUMBER:-91}
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    QV_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && return 0
        sleep 0.1
    done
    qv_log "Xvfb did not start"
    return 1
}

qv_display_stop() {
    [ -n "${QV_XVFB_PID:-}" ] && kill "$QV_XVFB_PID" 2>/dev/null
    QV_XVFB_PID=""
}

# A Wine prefix made for this script alone, as on a machine that has never
# had Qorvane, prepared and warm; removed with Wine's processes when the
# script exits. Argument: a word for its name.
qv_fresh_prefix() {
    mkdir -p "$QV_STATE"
    export WINEPREFIX
    WINEPREFIX=$(mktemp -d "$QV_STATE/prefix-$1.XXXXXX")
    trap qv_fresh_prefix_remove EXIT
    qv_wine_prepare || return 1
    # Wine's services outlive the first process and hold its output open.
    qv_wine_warm
}
qv_fresh_prefix_remove() {
    "$QV_WINESERVER" -k 2>/dev/null
    "$QV_WINESERVER" -w 2>/dev/null
    rm -rf "$WINEPREFIX"
}

# Wine's background services inherit the stdio of the first Wine process and
# CTest would wait on that pipe: start them from a process with no pipes.
qv_wine_warm() {
    "$QV_WINESERVER" -p
    "$(qv_wine64)" cmd.exe /c exit </dev/null >/dev/null 2>&1
}

# Prints a fresh program folder that nobody may write, with the program of
# <bin-dir> and a list of one item beside it: immutable, which holds even for
# root (Wine run as root writes wherever Unix lets it). Fails, printing
# nothing, where the file system cannot make a folder immutable. Undo with
# qv_readonly_folder_remove.
qv_readonly_folder() {
    local dir
    dir=$(mktemp -d /tmp/qv-readonly.XXXXXX) || return 1
    cp "$1/Murvel.exe" "$1/TessikDLL.dll" "$dir/"
    printf '[Main]\r\nCount=1\r\n[Record_0]\r\nFileName=C:\\one.exe\r\nTitle=one\r\n' >"$dir/Tessik.dat"
    if ! chattr +i "$dir" 2>/dev/null; then
        rm -rf "$dir"
        return 1
    fi
    echo "$dir"
}
qv_readonly_folder_remove() {
    chattr -i "$1" && rm -rf "$1"
}
# The Windows spelling of a Unix path as Wine shows it.
qv_windows_path() { echo "Z:$(echo "$1" | tr / '\\')"; }

# Configures build/<arch> and builds the given targets (all when none).
qv_build() { # arch: x86_64 | i686, then targets
    local arch=$1 dir=$QV_ROOT/build/$1 targets=()
    shift
    [ $# -gt 0 ] && targets=(--target "$@")
    cmake -S "$QV_ROOT" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$QV_ROOT/cmake/mingw-$arch.cmake" \
        -DCMAKE_BUILD_TYPE=${QV_BUILD_TYPE:-Release} >/dev/null &&
        cmake --build "$dir" "${targets[@]}" -j "$(nproc)"
}
