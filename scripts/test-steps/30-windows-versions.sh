#!/usr/bin/env bash
# Runs the version probe (tests/sysinfo/os_version_probe.cpp) in one Wine
# prefix per Windows version, each set with `winecfg -v`, and fails when the
# version text or numbers are not what that version must give. The prefixes
# are made once and kept under the build tree; later runs only start Wine.
# Runs for every architecture this machine can run, each in its own prefixes.
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
. "$src/scripts/arch.sh"
. "$src/scripts/wine-env.sh"
# 64-bit Wine has XP only as its x64 edition.
versions_of() { case $1 in i686) echo "win7 win81 win10 winxp" ;; x86_64) echo "win7 win81 win10 winxp64" ;; esac; }
versions=(win7 win81 win10 winxp winxp64)

prefixes_root=
stop_all() {
    local v
    [ -n "$prefixes_root" ] || { wine_env_stop; return; }
    for v in "${versions[@]}"; do
        [ -d "$prefixes_root/$v" ] && WINEPREFIX="$prefixes_root/$v" wineserver -k >/dev/null 2>&1 || true
    done
    unset WINEPREFIX
    wine_env_stop
}
trap stop_all EXIT

export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
export LC_ALL=zh_CN.UTF-8
wine_env_start_display

# A bare prefix is enough: the probe shows no window and needs no fonts.
prepare_prefix() {
    local version=$1
    export WINEPREFIX="$prefixes_root/$version"
    local stamp="$WINEPREFIX/.pelmora-version-$version"
    [ -f "$stamp" ] && return 0
    rm -rf "$WINEPREFIX"
    mkdir -p "$prefixes_root"
    local out="$prefixes_root/prepare-$version.log"
    { wine wineboot -i && wine winecfg -v "$version" && wineserver -w; } >"$out" 2>&1 </dev/null || {
        tail -n 20 "$out" >&2
        echo "preparing the $WINEARCH prefix for $version failed; log: $out" >&2
        exit 1
    }
    touch "$stamp"
}

for arch in $(runnable_archs); do
    build=$(cd "$(arch_build_dir "$arch")" && pwd)
    # The probe with the installer's compatibility manifest, and the same without
    # one: both must see the true version.
    probes=("$build/tests/sysinfo/os_version_probe.exe" "$build/tests/sysinfo/os_version_probe_unmanifested.exe")
    for probe in "${probes[@]}"; do
        [ -f "$probe" ] || { echo "missing $probe: build first" >&2; exit 1; }
    done
    wine_env_select "$build"
    prefixes_root="$build/windows-versions"
    failed=0
    log="$build/windows-versions.log"
    : >"$log"
    for version in $(versions_of "$arch"); do
        prepare_prefix "$version"
        for probe in "${probes[@]}"; do
            echo "== $arch ${probe##*/}" >>"$log"
            # Output through a file: Wine's background processes must not hold a pipe.
            out=$(mktemp)
            if ! wine "$probe" "$version" >"$out" 2>&1 </dev/null; then failed=1; fi
            cat "$out" >>"$log"
            rm -f "$out"
        done
        wineserver -k >/dev/null 2>&1 || true
    done
    if ((failed)); then
        grep -E '^==|^[a-z0-9]+:$|FAIL' "$log" >&2
        echo "Windows version texts differ on $arch; full log: $log" >&2
        exit 1
    fi
done
