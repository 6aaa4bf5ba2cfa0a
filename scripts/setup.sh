#!/usr/bin/env bash
# Installs everything the project needs on Debian 12 (run as root). Idempotent
# and quiet: does nothing when every package and locale is already present.
# Every step that fails says which and how, and the script exits non-zero.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
. "$src/scripts/arch.sh"

fail() { echo "setup: $*" >&2; exit 1; }

[ "$(id -u)" = 0 ] || fail "must run as root (it installs Debian packages and generates locales)"
command -v dpkg-query >/dev/null && command -v apt-get >/dev/null || fail "needs a Debian system with dpkg and apt-get"

# Both compilers always: the i686 build is the shipped installer and is built
# and checked on every machine. 64-bit Wine runs the x86_64 build; 32-bit Wine
# only where this machine runs 32-bit code (elsewhere it cannot start).
packages=(cmake make ccache python3 g++-mingw-w64-i686 g++-mingw-w64-x86-64 libz-mingw-w64-dev googletest
          wine wine64 xvfb xauth imagemagick locales fonts-wqy-zenhei fonts-arphic-uming fonts-arphic-ukai
          fonts-wine clang clang-format libclang-rt-14-dev zip p7zip-full libarchive-tools unzip g++ zlib1g-dev)
needs_i386=
if host_runs_i686; then
    packages+=(wine32:i386)
    needs_i386=yes
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
    log=$(mktemp)
    step() {
        local what=$1
        shift
        local rc=0
        "$@" >>"$log" 2>&1 || rc=$?
        if ((rc)); then
            tail -n 30 "$log" >&2
            fail "$what failed (exit status $rc); the whole output is in $log"
        fi
    }
    if [ -n "$needs_i386" ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        step "adding the i386 package architecture" dpkg --add-architecture i386
    fi
    step "updating the package lists" apt-get update
    step "installing ${missing[*]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
    rm -f "$log"
fi

for tool in /usr/lib/wine/wine64 /usr/lib/wine/wineserver64 x86_64-w64-mingw32-g++-posix i686-w64-mingw32-g++-posix; do
    command -v "$tool" >/dev/null || fail "$tool is missing after installing the packages"
done

# Wine creates non-ASCII file names only when the Unix locale exists.
has_locale() { locale -a 2>/dev/null | grep -qi "^$1\$"; }
if ! has_locale zh_CN.utf8 || ! has_locale en_US.utf8; then
    sed -i -E 's/^# *(zh_CN.UTF-8 UTF-8|en_US.UTF-8 UTF-8)/\1/' /etc/locale.gen || fail "cannot edit /etc/locale.gen"
    out=$(locale-gen 2>&1) || { echo "$out" >&2; fail "locale-gen failed"; }
    has_locale zh_CN.utf8 || fail "the zh_CN.UTF-8 locale is still missing after locale-gen"
    has_locale en_US.utf8 || fail "the en_US.UTF-8 locale is still missing after locale-gen"
fi
exit 0
