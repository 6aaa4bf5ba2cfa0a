#!/usr/bin/env bash
# Installs everything the project needs on Debian 12 (run as root). Idempotent
# and quiet: does nothing when every package and locale is already present.
set -euo pipefail

packages=(cmake make python3 g++-mingw-w64-i686 libz-mingw-w64-dev googletest wine wine32:i386 xvfb xauth
          imagemagick locales fonts-wqy-zenhei fonts-arphic-uming fonts-arphic-ukai fonts-wine
          clang libclang-rt-14-dev zip p7zip-full libarchive-tools unzip g++ zlib1g-dev)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
    log=$(mktemp)
    if ! {
        dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
        apt-get update
        DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
    } >"$log" 2>&1; then
        cat "$log" >&2
        echo "setup: package installation failed" >&2
        exit 1
    fi
    rm -f "$log"
fi

# Wine creates non-ASCII file names only when the Unix locale exists.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$' || ! locale -a 2>/dev/null | grep -qi '^en_US.utf8$'; then
    sed -i -E 's/^# *(zh_CN.UTF-8 UTF-8|en_US.UTF-8 UTF-8)/\1/' /etc/locale.gen
    locale-gen >/dev/null
fi
