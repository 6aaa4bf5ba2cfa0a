#!/usr/bin/env bash
# Installer builder benchmark (not part of the tests), native: building an
# installer from the payload tree against zipping the same tree at the same
# zlib level (Python's zipfile, which is zlib; Info-ZIP zip for reference),
# interleaved in one run, medians and their ratios; and the builder's peak
# memory with and without a 5 GiB file in the tree.
#   bash bench/pack/run.sh [RUNS]      (BUILD_DIR as for scripts/test.sh)
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$src/build}
runs=${1:-5}

log=$(mktemp)
native="$BUILD_DIR/pack-native"
if ! { cmake -S "$src" -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release &&
       cmake --build "$BUILD_DIR" --target generated_resources &&
       cmake -S "$src/tools/pack/native" -B "$native" -DCMAKE_BUILD_TYPE=Release &&
       cmake --build "$native" --target pack; } >"$log" 2>&1; then
    cat "$log" >&2
    exit 1
fi
rm -f "$log"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$src/bench/pack/bench_pack.py" "$native/pack" "$BUILD_DIR/resources/payload_tree" "$work" "$runs"
