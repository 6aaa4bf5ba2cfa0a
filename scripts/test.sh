#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the GoogleTest
# executables under Wine on a private virtual display (CTest), then the native
# fuzzing runs. Quiet on success; prints the failing output otherwise.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$src/build}

bash "$src/scripts/setup.sh"
bash "$src/scripts/build.sh"

. "$src/scripts/wine-env.sh"
wine_env_start "$BUILD_DIR" own-display

log="$BUILD_DIR/test.log"
if ! ctest --test-dir "$BUILD_DIR" --output-on-failure ${CTEST_ARGS:-} >"$log" 2>&1; then
    sed -n '/The following tests FAILED/,$p;/\*\*\*Failed\|Failed\s*$\|\[  FAILED  \]/p' "$log" | head -100 >&2
    echo "tests failed; full log: $log" >&2
    exit 1
fi
wine_env_stop

# Further test steps that do not fit CTest (native fuzzing, tests that need a
# Wine prefix of their own), one script each, run in name order.
for step in "$src"/scripts/test-steps/*.sh; do
    [ -e "$step" ] || continue
    bash "$step" || { echo "test step failed: ${step#$src/}" >&2; exit 1; }
done
tail -n 3 "$log" | grep -E 'tests passed' || true
