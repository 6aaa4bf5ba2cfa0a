#!/usr/bin/env bash
# Runs the installer benchmark under Wine on a private display:
#   bash bench/installer/run.sh [RUNS]      (BUILD_DIR as for scripts/test.sh)
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$src/build}
bash "$src/scripts/build.sh"
. "$src/scripts/wine-env.sh"
wine_env_start "$BUILD_DIR" own-display
export PELMORA_BUILD_DIR="$BUILD_DIR"
# Through a file: Wine's background processes must not hold our output open.
out=$(mktemp)
wine "$BUILD_DIR/bench/installer/installer_bench.exe" ${1:-} >"$out" 2>&1 </dev/null || true
grep -v '^wine:' "$out"
wine "$BUILD_DIR/bench/installer/first_decode.exe" ${1:-} >"$out" 2>&1 </dev/null || true
grep -v '^wine:' "$out"
rm -f "$out"
