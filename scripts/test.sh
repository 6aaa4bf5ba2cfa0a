#!/usr/bin/env bash
# Installs what is missing, builds both architectures, and runs every test:
# the GoogleTest executables under Wine on a private virtual display (CTest)
# for each architecture this machine can run (x86_64 under 64-bit Wine
# always; i686 under 32-bit Wine where 32-bit code runs), the checks that need
# no Windows (the program images) on the other, then the further steps
# (native fuzzing, Windows versions, the builder). Quiet on success but for the
# last line, which says which architectures were tested; prints the failing
# output otherwise.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
. "$src/scripts/arch.sh"

bash "$src/scripts/setup.sh"
# Sources changed since the tree was last formatted as a whole keep its format.
bash "$src/scripts/check-format.sh"
bash "$src/scripts/build.sh"

# Both builds stay free of compiler warnings (truncations and function-pointer
# casts among them): what this build compiled is read back from its logs.
for arch in i686 x86_64; do
    log="$(arch_build_dir "$arch")/build.log"
    warnings=$(grep -E ':[0-9]+(:[0-9]+)?: warning:' "$log" | sort -u || true)
    if [ -n "$warnings" ]; then
        echo "$warnings" | head -40 >&2
        echo "the $arch build has compiler warnings; full log: $log" >&2
        exit 1
    fi
done

. "$src/scripts/wine-env.sh"

# ctest in one build tree; prints what failed and exits on failure.
run_ctest() {
    local arch=$1 build=$2 log=$3
    shift 3
    if ! ctest --test-dir "$build" --output-on-failure ${CTEST_ARGS:-} "$@" >"$log" 2>&1; then
        sed -n '/The following tests FAILED/,$p;/\*\*\*Failed\|Failed\s*$\|\[  FAILED  \]/p' "$log" | head -100 >&2
        echo "tests failed on $arch; full log: $log" >&2
        exit 1
    fi
    if grep -q 'No tests were found' "$log"; then
        echo "no tests were found in $build (${CTEST_ARGS:-every test} $*); full log: $log" >&2
        exit 1
    fi
}

tested=()
for arch in $(runnable_archs); do
    build=$(arch_build_dir "$arch")
    wine_env_start "$build" own-display
    run_ctest "$arch" "$build" "$build/test.log"
    wine_env_stop
    tested+=("$arch")
done
untested=
if ! host_runs_i686; then
    # The images are still checked: architecture, subsystem, imports, no debug sections.
    build=$(arch_build_dir i686)
    CTEST_ARGS= run_ctest i686 "$build" "$build/test.log" -L image
    untested=" (i686 built and its images checked, not run: $(i686_not_run_reason))"
fi

# Further test steps that do not fit CTest (native fuzzing, tests that need a
# Wine prefix of their own), one script each, run in name order.
for step in "$src"/scripts/test-steps/*.sh; do
    [ -e "$step" ] || continue
    bash "$step" || { echo "test step failed: ${step#$src/}" >&2; exit 1; }
done
echo "tests passed: ${tested[*]}$untested"
