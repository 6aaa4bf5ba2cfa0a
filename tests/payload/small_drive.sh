#!/usr/bin/env bash
# Maps a 4 MiB file system as a Wine drive for the disk-full test, and takes
# it away again. Run by CTest as the test's fixture, with the test script's
# WINEPREFIX; mounting needs root.
#   small_drive.sh mount|unmount BUILD_DIR LETTER
set -euo pipefail
action=$1 build=$2 letter=$3
: "${WINEPREFIX:?run through scripts/test.sh}"
dir="$build/small-drive"
link="$WINEPREFIX/dosdevices/${letter,,}"
case "$action" in
mount)
    mkdir -p "$dir"
    mountpoint -q "$dir" || mount -t tmpfs -o size=4m,mode=0777 pelmora-small-drive "$dir"
    find "$dir" -mindepth 1 -delete
    ln -sfn "$dir" "$link"
    ;;
unmount)
    rm -f "$link"
    if mountpoint -q "$dir"; then umount "$dir" || umount -l "$dir"; fi
    ;;
esac
