#!/usr/bin/env bash
# Runs the painter benchmark under Wine on a private display:
#   bash bench/edit_progress/run.sh     (on the build of the architecture this machine runs)
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
. "$src/scripts/arch.sh"
bench_build bench_edit_progress
. "$src/scripts/wine-env.sh"
wine_env_start "$BUILD_DIR" own-display
# Through a file: Wine's background processes must not hold our output open.
out=$(mktemp)
wine "$BUILD_DIR/bench/edit_progress/bench_edit_progress.exe" >"$out" 2>&1 </dev/null || true
grep -v '^wine:' "$out"
rm -f "$out"
