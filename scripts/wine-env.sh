# Sourced by the run and test scripts: a virtual display, one prepared Wine
# prefix per build tree and a warm wine server, all stopped again on exit.
#   wine_env_start BUILD_DIR [need_display]
# exports WINEPREFIX, DISPLAY, WINEDEBUG, WINEDLLOVERRIDES and registers a trap.

_wine_env_pids=()
_wine_env_mounts=()

wine_env_stop() {
    if [ -n "${WINEPREFIX:-}" ]; then wineserver -k >/dev/null 2>&1 || true; fi
    for pid in "${_wine_env_pids[@]}"; do kill "$pid" >/dev/null 2>&1 || true; done
    _wine_env_pids=()
    local dir
    for dir in "${_wine_env_mounts[@]}"; do
        rm -f "$WINEPREFIX/dosdevices/${dir##*drive-}:"
        umount "$dir" >/dev/null 2>&1 || umount -l "$dir" >/dev/null 2>&1 || true
    done
    _wine_env_mounts=()
}

# Maps a fresh tmpfs of the given size and mount options as a drive letter:
# T: is too small for the installation (the space check), U: is read-only
# (an unwritable folder; read-only bits do not stop root under Wine).
# Mounting needs root; without it the drive stays unmapped and the tests that
# need it say so.
_wine_env_map_tmpfs() {
    local build=$1 letter=$2 options=$3
    local dir="$build/drive-$letter"
    mkdir -p "$dir"
    if mountpoint -q "$dir"; then umount "$dir" >/dev/null 2>&1 || umount -l "$dir" >/dev/null 2>&1 || return 0; fi
    mount -t tmpfs -o "$options" "pelmora-drive-$letter" "$dir" >/dev/null 2>&1 || return 0
    _wine_env_mounts+=("$dir")
    ln -sfn "$dir" "$WINEPREFIX/dosdevices/$letter:"
}

_wine_env_free_display() {
    local n
    for n in $(seq 91 140); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then echo "$n"; return; fi
    done
    echo "no free X display number" >&2
    return 1
}

wine_env_start_display() {
    local n
    n=$(_wine_env_free_display)
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    _wine_env_pids+=($!)
    export DISPLAY=":$n"
    for _ in $(seq 1 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && return 0
        sleep 0.05
    done
    echo "Xvfb did not start on :$n" >&2
    return 1
}

# Prepares the prefix once: fonts for the Chinese faces, a virtual desktop
# (dialogs close promptly without a window manager), real user folders instead
# of symlinks into $HOME, no menu builder.
wine_env_prepare_prefix() {
    local stamp="$WINEPREFIX/.pelmora-prepared"
    [ -f "$stamp" ] && return 0
    rm -rf "$WINEPREFIX"
    WINEARCH=win32 wineboot -i >/dev/null 2>&1
    local reg=(
        'HKCU\Software\Wine\Fonts\Replacements|宋体|AR PL UMing CN'
        'HKCU\Software\Wine\Fonts\Replacements|SimSun|AR PL UMing CN'
        'HKCU\Software\Wine\Fonts\Replacements|新宋体|AR PL UMing CN'
        'HKCU\Software\Wine\Fonts\Replacements|NSimSun|AR PL UMing CN'
        'HKCU\Software\Wine\Fonts\Replacements|楷体|AR PL UKai CN'
        'HKCU\Software\Wine\Fonts\Replacements|KaiTi|AR PL UKai CN'
        'HKCU\Software\Wine\Fonts\Replacements|黑体|WenQuanYi Zen Hei'
        'HKCU\Software\Wine\Fonts\Replacements|SimHei|WenQuanYi Zen Hei'
        'HKCU\Software\Wine\Fonts\Replacements|微软雅黑|WenQuanYi Zen Hei'
        'HKCU\Software\Wine\Fonts\Replacements|Microsoft YaHei|WenQuanYi Zen Hei'
        'HKCU\Software\Wine\Explorer|Desktop|Default'
        'HKCU\Software\Wine\Explorer\Desktops|Default|1024x768'
        'HKCU\Software\Wine\DllOverrides|winemenubuilder.exe|'
    )
    local entry key name value
    for entry in "${reg[@]}"; do
        IFS='|' read -r key name value <<<"$entry"
        wine reg add "$key" /v "$name" /t REG_SZ /d "$value" /f >/dev/null 2>&1
    done
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    local d
    for d in "$WINEPREFIX"/drive_c/users/*/*; do
        if [ -L "$d" ]; then rm -f "$d"; mkdir -p "$d"; fi
    done
    wineserver -w
    touch "$stamp"
}

wine_env_start() {
    local build
    build=$(cd "$1" && pwd)
    export WINEPREFIX="$build/wineprefix"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
    export LC_ALL=${LC_ALL:-zh_CN.UTF-8}
    trap wine_env_stop EXIT
    if [ -z "${DISPLAY:-}" ] || [ "${2:-}" = "own-display" ]; then wine_env_start_display; fi
    wine_env_prepare_prefix
    # Drive P: is an empty folder of the build tree: installing into the root
    # of a drive is tested there.
    mkdir -p "$build/drive-p"
    ln -sfn "$build/drive-p" "$WINEPREFIX/dosdevices/p:"
    _wine_env_map_tmpfs "$build" t size=8m,mode=0777
    _wine_env_map_tmpfs "$build" u size=256m,mode=0777,ro
    wineserver -p >/dev/null 2>&1 &
    _wine_env_pids+=($!)
}
