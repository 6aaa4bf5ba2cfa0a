#!/usr/bin/env bash
# Configures and builds the project (installer, tools, tests) into $BUILD_DIR
# (default: build/ in the source tree). Quiet on success.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$src/build}
log="$build/build.log"
mkdir -p "$build"
# Configured every time: folders that register themselves only when present
# (tests, tools) are picked up as soon as they appear.
cmake -S "$src" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-i686.cmake" \
      -DCMAKE_BUILD_TYPE=Release "$@" >"$log" 2>&1 || { cat "$log" >&2; exit 1; }
cmake --build "$build" -j"$(nproc)" >"$log" 2>&1 || { grep -E -A5 'error|Error' "$log" | head -80 >&2; exit 1; }
