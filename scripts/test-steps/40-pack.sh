#!/usr/bin/env bash
# Builds the installer builder natively (the same sources as its Windows
# build) with its tests, runs them, then checks the builder from outside:
# its archives through Info-ZIP unzip and Python's zipfile, its exit status
# and what a refused or interrupted build leaves behind.
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD_DIR:-$src/build}/pack-native
log="$build/pack.log"
mkdir -p "$build"
if ! { cmake -S "$src/tools/pack/native" -B "$build" -DCMAKE_BUILD_TYPE=Release &&
       cmake --build "$build" -j"$(nproc)"; } >"$log" 2>&1; then
    grep -E -A5 'error|Error' "$log" | head -60 >&2
    echo "native builder build failed; full log: $log" >&2
    exit 1
fi
if ! ctest --test-dir "$build" --output-on-failure >>"$log" 2>&1; then
    sed -n '/The following tests FAILED/,$p;/\[  FAILED  \]/p' "$log" | head -60 >&2
    echo "native builder tests failed; full log: $log" >&2
    exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! python3 "$src/tests/pack/other_readers.py" "$build/pack" "$work" >>"$log" 2>&1; then
    tail -20 "$log" >&2
    exit 1
fi
