#!/usr/bin/env bash
# Installs what is missing, builds, and starts a program under Wine: the
# installer (default), the skin gallery (`run.sh gallery`) or the smallest
# skinned program (`run.sh minimal`). It starts the
# build for the architecture this machine can run: the shipped 32-bit (i686)
# installer where 32-bit code runs, the x86_64 build elsewhere; it says which.
# On $DISPLAY when one is set (and waits until the program ends), otherwise on
# a private virtual display, where it saves a screenshot and prints its path.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
. "$src/scripts/arch.sh"

program=${1:-installer}
case $program in
    installer) exe=app/PelmoraSetup.exe title="软件安装向导" ;;
    gallery) exe=demo/gallery/gallery.exe title="皮肤控件一览" ;;
    minimal) exe=demo/minimal/minimal.exe title="最小的皮肤窗口" ;;
    *) echo "usage: run.sh [installer|gallery|minimal]" >&2; exit 2 ;;
esac

arch=$(preferred_arch)
build=$(arch_build_dir "$arch")
if [ "$arch" = i686 ]; then
    echo "starting the $program of the $(arch_label "$arch") build"
else
    echo "starting the $program of the $(arch_label "$arch") build: $(i686_not_run_reason)"
fi

bash "$src/scripts/setup.sh"
ARCHS=$arch bash "$src/scripts/build.sh"

. "$src/scripts/wine-env.sh"
own_display=
[ -n "${DISPLAY:-}" ] || own_display=own-display
wine_env_start "$build" $own_display

log="$build/$program.log"
if [ -z "$own_display" ]; then
    wine "$build/$exe" >"$log" 2>&1 </dev/null
    exit 0
fi

wine "$build/$exe" >"$log" 2>&1 </dev/null &
program_pid=$!
wine "$build/tools/wait_window.exe" "$title" 20000 >/dev/null 2>&1 || {
    echo "the $program window did not appear; see $log" >&2
    exit 1
}
sleep 1  # let the first paint (and the installer's information line) reach the display
mkdir -p "$build/screenshots"
shot="$build/screenshots/$program.png"
# The window is the only thing on the plain desktop: trim the desktop away.
import -window root "$shot.full.png"
convert "$shot.full.png" -trim +repage "$shot"
rm -f "$shot.full.png"
kill "$program_pid" >/dev/null 2>&1 || true
echo "$program started on a virtual display; screenshot: $shot"
