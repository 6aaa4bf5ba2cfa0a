#!/usr/bin/env bash
# Extraction benchmark (not part of the tests). Under Wine: extractArchive
# against a bare zlib + WriteFile loop on the installer's payload, in one
# process, interleaved, medians and their ratio; the peak working set for the
# payload and for archives with one 256 MiB and one 1 GiB entry. Natively, for reference:
# whole-process times of unzip, bsdtar and 7z on the same archive.
#   bash bench/extract/run.sh [RUNS]      (on the build of the architecture this machine runs)
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
. "$src/scripts/arch.sh"
runs=${1:-9}
bench_build bench_extract generated_resources

. "$src/scripts/wine-env.sh"
wine_env_start "$BUILD_DIR"

work=$(mktemp -d)
trap 'rm -rf "$work"; wine_env_stop' EXIT
winpath() { local p=$1; echo "Z:${p//\//\\}"; }
archive="$BUILD_DIR/resources/payload.zip"
bench="$BUILD_DIR/bench/extract/bench_extract.exe"

echo "payload: $(stat -c %s "$archive") bytes, $runs timed runs each"
wine "$bench" "$(winpath "$archive")" "$(winpath "$work")" "$runs"

# One highly compressible entry of the given size (a few MiB of archive).
make_big() {
    python3 - "$1" "$2" <<'PY'
import sys, zipfile
line = b"".join(b"%08d a line of text that repeats with a counter\n" % i for i in range(1000))
size = int(sys.argv[2]) * 1024 * 1024
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED, compresslevel=1) as z:
    with z.open("big.bin", "w", force_zip64=False) as f:
        written = 0
        while written < size - len(line):
            f.write(line)
            written += len(line)
PY
}
echo -n "memory, payload:           "; wine "$bench" --peak "$(winpath "$archive")" "$(winpath "$work")"
for mib in 256 1024; do
    make_big "$work/big.zip" "$mib"
    printf 'memory, one %4d MiB entry: ' "$mib"; wine "$bench" --peak "$(winpath "$work/big.zip")" "$(winpath "$work")"
    rm -f "$work/big.zip"
done

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
timed() {  # name, command...: whole-process milliseconds, median of $runs
    local name=$1; shift
    local times=()
    for _ in $(seq 1 "$runs"); do
        rm -rf "$work/native"; mkdir -p "$work/native"
        local t0 t1
        t0=$(date +%s%N)
        "$@" >/dev/null 2>&1
        t1=$(date +%s%N)
        times+=($(( (t1 - t0) / 1000000 )))
    done
    printf '%-18s median %5d ms (native, whole process)\n' "$name" "$(printf '%s\n' "${times[@]}" | median)"
}
timed "Info-ZIP unzip" unzip -q -o "$archive" -d "$work/native"
timed "bsdtar" bsdtar -xf "$archive" -C "$work/native"
timed "7z" 7z x -y -o"$work/native" "$archive"
