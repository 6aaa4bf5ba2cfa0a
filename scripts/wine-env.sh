# Sourced by the run and test scripts: a virtual display, one prepared Wine
# prefix per build tree and a warm wine server, all stopped again on exit.
#   wine_env_start BUILD_DIR [need_display]
# exports WINEPREFIX, DISPLAY, WINEDEBUG, WINEDLLOVERRIDES and registers a trap.
# The build tree's architecture picks the Wine: 64-bit Wine in a win64 prefix
# for an x86_64 build, 32-bit Wine in a win32 prefix for an i686 build. Every
# step that fails says what and returns non-zero.

_wine_env_fail() { echo "wine-env: $*" >&2; return 1; }

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
# (an unwritable folder; read-only bits do not stop root under Wine), V: is
# both (what cannot be written is reported as such, not as too small).
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
    _wine_env_fail "Xvfb did not start on :$n (is the xvfb package installed?)"
}

# Prepares the prefix once: fonts for the Chinese faces, a virtual desktop
# (dialogs close promptly without a window manager), real user folders instead
# of symlinks into $HOME, no menu builder.
wine_env_prepare_prefix() {
    local stamp="$WINEPREFIX/.pelmora-prepared"
    [ -f "$stamp" ] && return 0
    rm -rf "$WINEPREFIX"
    local out="$1/wineboot.log"
    if ! wine wineboot -i >"$out" 2>&1 </dev/null; then
        tail -n 20 "$out" >&2
        _wine_env_fail "preparing the $WINEARCH Wine prefix $WINEPREFIX failed (wineboot -i); log: $out"
        return 1
    fi
    # The server writes the registry out when it ends.
    wineserver -w
    [ -f "$WINEPREFIX/system.reg" ] || { _wine_env_fail "wineboot made no registry in $WINEPREFIX; log: $out"; return 1; }
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
        wine reg add "$key" /v "$name" /t REG_SZ /d "$value" /f >/dev/null 2>&1 ||
            { _wine_env_fail "setting $key $name in the Wine prefix $WINEPREFIX failed"; return 1; }
    done
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    local d
    for d in "$WINEPREFIX"/drive_c/users/*/*; do
        if [ -L "$d" ]; then rm -f "$d"; mkdir -p "$d"; fi
    done
    wineserver -w || { _wine_env_fail "the Wine server of $WINEPREFIX did not end after preparing it"; return 1; }
    touch "$stamp"
}

# Puts the Wine for the build tree's architecture first on PATH as `wine` and
# `wineserver`. Debian's own `wine` command prefers the 32-bit loader whenever
# it is installed, so the 64-bit loader is called directly.
wine_env_select() {
    local build=$1 arch loader server
    arch=$(cat "$build/pelmora-arch.txt" 2>/dev/null) ||
        { _wine_env_fail "$build is not a configured build tree (no pelmora-arch.txt)"; return 1; }
    case $arch in
        x86_64) export WINEARCH=win64; loader=/usr/lib/wine/wine64; server=/usr/lib/wine/wineserver64 ;;
        i686)
            export WINEARCH=win32
            loader=/usr/lib/wine/wine
            server=/usr/lib/wine/wineserver32
            [ -x "$server" ] || server=/usr/lib/wine/wineserver
            ;;
        *) _wine_env_fail "unknown architecture '$arch' in $build/pelmora-arch.txt"; return 1 ;;
    esac
    [ -x "$loader" ] || { _wine_env_fail "$loader is missing: the $arch build needs it (run scripts/setup.sh)"; return 1; }
    [ -x "$server" ] || { _wine_env_fail "$server is missing: the $arch build needs it (run scripts/setup.sh)"; return 1; }
    local bin="$build/wine-bin"
    mkdir -p "$bin"
    printf '#!/bin/sh\nexport WINELOADER=%s\nexec %s "$@"\n' "$loader" "$loader" >"$bin/wine"
    printf '#!/bin/sh\nexec %s "$@"\n' "$server" >"$bin/wineserver"
    chmod +x "$bin/wine" "$bin/wineserver"
    case ":$PATH:" in *":$bin:"*) ;; *) export PATH="$bin:$PATH" ;; esac
    export PELMORA_ARCH=$arch
}

wine_env_start() {
    local build
    build=$(cd "$1" && pwd) || { _wine_env_fail "no build tree at $1"; return 1; }
    wine_env_select "$build" || return 1
    export WINEPREFIX="$build/wineprefix"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
    export LC_ALL=${LC_ALL:-zh_CN.UTF-8}
    trap wine_env_stop EXIT
    if [ -z "${DISPLAY:-}" ] || [ "${2:-}" = "own-display" ]; then wine_env_start_display || return 1; fi
    wine_env_prepare_prefix "$build" || return 1
    # Drive P: is an empty folder of the build tree: installing into the root
    # of a drive is tested there.
    mkdir -p "$build/drive-p"
    ln -sfn "$build/drive-p" "$WINEPREFIX/dosdevices/p:"
    _wine_env_map_tmpfs "$build" t size=8m,mode=0777
    _wine_env_map_tmpfs "$build" u size=256m,mode=0777,ro
    _wine_env_map_tmpfs "$build" v size=8m,mode=0777,ro
    wineserver -p >/dev/null 2>&1 &
    _wine_env_pids+=($!)
    # Start one program before anything depends on Wine, so that a Wine that
    # cannot run here fails now, with its own words, and not in the first test.
    # Output through a file: Wine's background processes must not hold a pipe.
    local out
    out=$(mktemp)
    if ! wine cmd /c exit 0 >"$out" 2>&1 </dev/null; then
        tail -n 20 "$out" >&2
        rm -f "$out"
        _wine_env_fail "Wine ($WINEARCH) cannot start a program in $WINEPREFIX"
        return 1
    fi
    rm -f "$out"
}
