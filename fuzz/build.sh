#!/usr/bin/env bash
# Builds the native fuzzers of the archive reader and the PNG decoder (clang, libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer) into OUT_DIR.
#   build.sh OUT_DIR
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
out=${1:?usage: build.sh OUT_DIR}
mkdir -p "$out"
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -I"$src" \
    "$src/fuzz/zip_reader_fuzzer.cpp" \
    "$src/payload/zip_format.cpp" "$src/payload/entry_data.cpp" "$src/payload/entry_path.cpp" \
    "$src/payload/package_block.cpp" \
    -lz -o "$out/zip_reader_fuzzer"
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -I"$src" \
    "$src/fuzz/png_decoder_fuzzer.cpp" "$src/gfx/png_decoder.cpp" \
    -lz -o "$out/png_decoder_fuzzer"
