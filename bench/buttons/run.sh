#!/usr/bin/env bash
# Button paint benchmark under Wine on a private display (not part of the tests):
#   bash bench/buttons/run.sh          (BUILD_DIR as for scripts/test.sh)
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$src/build}
log=$(mktemp)
if ! { cmake -S "$src" -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release &&
       cmake --build "$BUILD_DIR" --target bench_buttons; } >"$log" 2>&1; then
    cat "$log" >&2
    exit 1
fi
rm -f "$log"
. "$src/scripts/wine-env.sh"
wine_env_start "$BUILD_DIR" own-display
# Through a file: Wine's background processes must not hold our output open.
out=$(mktemp)
wine "$BUILD_DIR/bench/buttons/bench_buttons.exe" >"$out" 2>&1 </dev/null || true
grep -v '^wine:' "$out"
rm -f "$out"
