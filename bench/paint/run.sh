#!/usr/bin/env bash
# Runs the paint benchmark (every skinned control against its native paint) under Wine on a private display:
#   bash bench/paint/run.sh     (on the build of the architecture this machine runs)
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
. "$src/scripts/arch.sh"
bench_build bench_paint
. "$src/scripts/wine-env.sh"
wine_env_start "$BUILD_DIR" own-display
# Through a file: Wine's background processes must not hold our output open.
out=$(mktemp)
wine "$BUILD_DIR/bench/paint/bench_paint.exe" >"$out" 2>&1 </dev/null || true
grep -v '^wine:' "$out"
rm -f "$out"
