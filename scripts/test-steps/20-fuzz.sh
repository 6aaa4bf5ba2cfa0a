#!/usr/bin/env bash
# Builds the archive reader natively with libFuzzer and the address and
# undefined-behaviour sanitizers, then fuzzes it for a bounded time from the
# test archives. Fails on any crash, sanitizer report or broken promise.
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD_DIR:-$src/build}/fuzz
seconds=${FUZZ_SECONDS:-30}
log="$build/fuzz.log"

bash "$src/fuzz/build.sh" "$build"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus" "$work/seeds"
cp "$src"/tests/data/zip/*.zip "$src"/fuzz/seeds/* "$work/seeds/"
cd "$work"  # crash files land here, not in the source tree
if ! "$build/zip_reader_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -dict="$src/fuzz/zip.dict" -artifact_prefix="$build/" "$work/corpus" "$work/seeds" >"$log" 2>&1; then
    tail -n 40 "$log" >&2
    echo "fuzzing found a fault; reproducer under $build/ (crash-*), full log: $log" >&2
    exit 1
fi
