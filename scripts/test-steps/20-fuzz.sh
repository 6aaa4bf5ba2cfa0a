#!/usr/bin/env bash
# Builds the archive reader and the PNG decoder natively with libFuzzer and
# the address and undefined-behaviour sanitizers, then fuzzes each for a
# bounded time from the test archives and the project's pictures. Fails on any crash, sanitizer report or broken promise.
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

mkdir -p "$work/png-corpus" "$work/png-seeds"
# The fuzzer reads one leading byte (whether to mend the chunk CRCs) before the file.
for picture in "$src"/resources/glyphs/*.png "$src"/tests/data/other_product/background.png; do
    { printf '\001'; cat "$picture"; } >"$work/png-seeds/$(basename "$picture")"
done
if ! "$build/png_decoder_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$build/png-" "$work/png-corpus" "$work/png-seeds" >"$build/png-fuzz.log" 2>&1; then
    tail -n 40 "$build/png-fuzz.log" >&2
    echo "fuzzing the PNG decoder found a fault; reproducer under $build/ (png-crash-*), full log: $build/png-fuzz.log" >&2
    exit 1
fi
