#!/usr/bin/env python3
"""Times the native builder against zipping the same tree at the same zlib
level, interleaved, and measures its peak memory with and without a large
file. See run.sh.

usage: bench_pack.py PACK TREE WORK RUNS
"""
import json
import os
import shutil
import statistics
import subprocess
import sys
import time
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "pack"))
import other_readers  # noqa: E402  (the fake stub)

LEVEL = 6


def walk(tree):
    for folder, dirs, files in os.walk(tree):
        dirs.sort()
        for name in sorted(files):
            path = os.path.join(folder, name)
            yield path, os.path.relpath(path, tree)


def zip_with_zlib(tree, out):
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED, compresslevel=LEVEL) as z:
        for path, name in walk(tree):
            z.write(path, name)


def timed(command):
    start = time.perf_counter()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.perf_counter() - start


def zip_in(tree, archive):
    """Info-ZIP's zip run inside the tree, so the names match."""
    start = time.perf_counter()
    subprocess.run(["zip", "-q", "-r", "-X", "-%d" % LEVEL, archive, "."], cwd=tree, check=True)
    return time.perf_counter() - start


def peak_kib(command):
    """Peak resident memory of one child process, in KiB."""
    result = subprocess.run(["/usr/bin/time", "-f", "%M"] + command, stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE, check=True)
    return int(result.stderr.decode().strip().splitlines()[-1])


def main():
    pack, tree, work, runs = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
    with open(os.path.join(work, "stub.exe"), "wb") as f:
        f.write(other_readers.fake_stub())
    with open(os.path.join(work, "info.txt"), "w") as f:
        f.write("benchmark\n")
    program = next(name for _, name in walk(tree) if name.endswith(".exe"))
    description = {"stub": "stub.exe", "program": program, "compression": LEVEL, "window": {"information": "info.txt"},
                   "product": {"name": "Bench", "version": "1", "publisher": "Bench"}}
    with open(os.path.join(work, "bench.json"), "w") as f:
        json.dump(description, f)
    out = os.path.join(work, "out")
    os.makedirs(out)

    def build(source, name="Setup.exe"):
        return [pack, os.path.join(work, "bench.json"), "--quiet", "--source", source, "--output",
                os.path.join(out, name)]

    size = sum(os.path.getsize(p) for p, _ in walk(tree))
    print("tree: %s, %d files, %d bytes; zlib level %d; %d runs each" % (tree, len(list(walk(tree))), size, LEVEL, runs))
    times = {"pack": [], "zipfile": [], "zip": []}
    for _ in range(runs):
        for f in os.listdir(out):
            os.remove(os.path.join(out, f))
        times["pack"].append(timed(build(tree)))
        start = time.perf_counter()
        zip_with_zlib(tree, os.path.join(out, "tree.zip"))
        times["zipfile"].append(time.perf_counter() - start)
        times["zip"].append(zip_in(tree, os.path.join(out, "info-zip.zip")))
    median = {k: statistics.median(v) for k, v in times.items()}
    sizes = {"pack": os.path.getsize(os.path.join(out, "Setup.exe")),
             "zipfile": os.path.getsize(os.path.join(out, "tree.zip")),
             "zip": os.path.getsize(os.path.join(out, "info-zip.zip"))}
    for k in ("pack", "zipfile", "zip"):  # the installer holds the stub and block too
        print("%-8s median %7.3f s  output %10d bytes" % (k, median[k], sizes[k]))
    print("ratio pack / zipfile (zlib, same level): %.2f" % (median["pack"] / median["zipfile"]))
    print("ratio pack / Info-ZIP zip -%d:            %.2f" % (LEVEL, median["pack"] / median["zip"]))

    # Memory: the same tree, then with a 5 GiB file (sparse, zeros) added.
    large = os.path.join(work, "large-tree")
    shutil.copytree(tree, large)
    with open(os.path.join(large, "large.bin"), "wb") as f:
        f.truncate(5 << 30)
    small_kib = peak_kib(build(tree, "Memory.exe"))
    large_kib = peak_kib(build(large, "MemoryLarge.exe"))
    print("peak memory: tree %d KiB, tree + 5 GiB file %d KiB, ratio %.2f" % (small_kib, large_kib,
                                                                           large_kib / small_kib))


if __name__ == "__main__":
    main()
