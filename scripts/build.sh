#!/usr/bin/env bash
# Configures and builds the project (installer, tools, tests) for both
# architectures: i686 into build/ (BUILD_DIR overrides), x86_64 into build-x64/
# (BUILD_DIR_X64 overrides). ARCHS="x86_64" (or "i686") builds one only.
# Extra arguments go to CMake's configure step. Quiet on success.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
. "$src/scripts/arch.sh"
# ccache (when installed) keys compiles on paths relative to the folder above
# the checkout, so a second checkout of the same tree reuses them.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$src")}

for arch in ${ARCHS:-i686 x86_64}; do
    build=$(arch_build_dir "$arch")
    # Where the i686 programs cannot run, their test executables and
    # benchmarks would only be compiled: the product, the tools and the
    # gallery are built (and their images checked), the tests are not, so a
    # second architecture does not double the build where it cannot run.
    # PELMORA_TESTS=ON in the environment builds them anyway.
    tests=ON
    if [ "$arch" = i686 ] && ! host_runs_i686; then tests=${PELMORA_TESTS:-OFF}; fi
    mkdir -p "$build"
    log="$build/build.log"
    # Configured every time: folders that register themselves only when present
    # (tests, tools) are picked up as soon as they appear.
    if ! cmake -S "$src" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$(arch_toolchain "$arch")" \
            -DCMAKE_BUILD_TYPE=Release -DPELMORA_TESTS="$tests" "$@" >"$log" 2>&1; then
        tail -n 40 "$log" >&2
        echo "build: configuring the $arch build in $build failed; full log: $log" >&2
        exit 1
    fi
    if ! cmake --build "$build" -j"$(nproc)" >>"$log" 2>&1; then
        grep -E -A5 'error|Error' "$log" | head -80 >&2
        echo "build: building for $arch in $build failed; full log: $log" >&2
        exit 1
    fi
done
