#!/usr/bin/env bash
# Installs what is missing, builds, and starts the skin gallery under Wine: on
# $DISPLAY when one is set (and waits until the gallery is closed), otherwise
# on a private virtual display, where it saves a screenshot and prints its path.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$src/build}

bash "$src/scripts/setup.sh"
bash "$src/scripts/build.sh"

. "$src/scripts/wine-env.sh"
own_display=
[ -n "${DISPLAY:-}" ] || own_display=own-display
wine_env_start "$BUILD_DIR" $own_display

gallery="$BUILD_DIR/demo/gallery/gallery.exe"
if [ -z "$own_display" ]; then
    wine "$gallery" >"$BUILD_DIR/gallery.log" 2>&1 </dev/null
    exit 0
fi

wine "$gallery" >"$BUILD_DIR/gallery.log" 2>&1 </dev/null &
gallery_pid=$!
wine "$BUILD_DIR/tools/wait_window.exe" "皮肤控件一览" 20000 >/dev/null 2>&1 || {
    echo "the gallery window did not appear; see $BUILD_DIR/gallery.log" >&2
    exit 1
}
sleep 1  # let the first paint reach the display
mkdir -p "$BUILD_DIR/screenshots"
shot="$BUILD_DIR/screenshots/gallery.png"
# The window is the only thing on the plain desktop: trim the desktop away.
import -window root "$shot.full.png"
convert "$shot.full.png" -trim +repage "$shot"
rm -f "$shot.full.png"
kill "$gallery_pid" >/dev/null 2>&1 || true
echo "gallery started on a virtual display; screenshot: $shot"
