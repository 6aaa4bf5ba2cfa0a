#!/usr/bin/env bash
# Installer builder benchmark (not part of the tests), native: building an
# installer from the payload tree against zipping the same tree at the same
# zlib level (Python's zipfile, which is zlib; Info-ZIP zip for reference),
# interleaved in one run, medians and their ratios; and the builder's peak
# memory with and without a 5 GiB file in the tree.
#   bash bench/pack/run.sh [RUNS]      (the payload tree of the build this machine runs)
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
. "$src/scripts/arch.sh"
runs=${1:-5}
bench_build generated_resources

log=$(mktemp)
native="$BUILD_DIR/pack-native"
if ! { cmake -S "$src/tools/pack/native" -B "$native" -DCMAKE_BUILD_TYPE=Release &&
       cmake --build "$native" --target pack; } >"$log" 2>&1; then
    cat "$log" >&2
    exit 1
fi
rm -f "$log"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$src/bench/pack/bench_pack.py" "$native/pack" "$BUILD_DIR/resources/payload_tree" "$work" "$runs"
