#!/usr/bin/env bash
# Runs the installer benchmark under Wine on a private display:
#   bash bench/installer/run.sh [RUNS]      (on the build of the architecture this machine runs)
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
. "$src/scripts/arch.sh"
bench_build all
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
