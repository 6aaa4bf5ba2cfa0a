#!/usr/bin/env python3
"""Makes the archives the extraction tests read, with the tools people use.

One small tree (tree/, committed beside the archives) is packed by Info-ZIP
zip (with and without folder entries), 7z, bsdtar (from ".", so names start
with "./") and Python's zipfile (files before their folders, no folder
entries for some). Every file is stamped 2020-05-17 12:34:56 UTC and one is
read-only. Run from anywhere; needs zip, 7z and bsdtar.

usage: make_fixtures.py
"""
import os
import random
import shutil
import subprocess
import tempfile
import time
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
STAMP = (2020, 5, 17, 12, 34, 56)
FILES = {
    "a.txt": b"hello\n",
    "sub/empty.txt": b"",
    "sub/rand.bin": random.Random(5000).randbytes(5000),
    "sub/readonly.txt": b"read-only in the archive\n",
    "sub/\u914d\u7f6e.ini": "[\u914d\u7f6e]\n\u6807\u9898=1\n".encode("utf-8"),
    "sub/deeper/seq.txt": "".join("%d\n" % i for i in range(1, 3001)).encode(),
    "\u7a7a\u6587\u4ef6\u5939/\u8bf4\u660e.txt": b"folder with a Chinese name\n",
}


def make_tree(root):
    stamp = time.mktime(STAMP + (0, 0, 0))  # TZ=UTC below: this is UTC
    for name, data in FILES.items():
        path = os.path.join(root, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
    for dirpath, dirnames, filenames in os.walk(root):
        for n in filenames + dirnames:
            os.utime(os.path.join(dirpath, n), (stamp, stamp))
    os.utime(root, (stamp, stamp))
    os.chmod(os.path.join(root, "sub/readonly.txt"), 0o444)


def run(cwd, *args):
    subprocess.run(args, cwd=cwd, check=True, stdout=subprocess.DEVNULL)


def python_zip(root, out):
    # Files first, folders after them (or never): extraction must make folders itself.
    order = ["sub/deeper/seq.txt", "a.txt", "sub/rand.bin", "sub/empty.txt", "sub/readonly.txt",
             "sub/\u914d\u7f6e.ini", "\u7a7a\u6587\u4ef6\u5939/\u8bf4\u660e.txt"]
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
        for name in order:
            info = zipfile.ZipInfo(name, STAMP)
            info.compress_type = zipfile.ZIP_DEFLATED
            mode = 0o444 if name.endswith("readonly.txt") else 0o644
            info.external_attr = (0o100000 | mode) << 16
            with open(os.path.join(root, name), "rb") as f:
                z.writestr(info, f.read())
        for folder in ["sub/deeper/", "sub/"]:
            info = zipfile.ZipInfo(folder, STAMP)
            info.external_attr = (0o040755 << 16) | 0x10
            z.writestr(info, b"")


def main():
    os.environ["TZ"] = "UTC"
    time.tzset()
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, "tree")
        make_tree(src)
        top = ["a.txt", "sub", "\u7a7a\u6587\u4ef6\u5939"]
        outs = {n: os.path.join(tmp, n) for n in
                ["infozip.zip", "infozip_nodirs.zip", "7z.zip", "bsdtar.zip", "python.zip"]}
        run(src, "zip", "-q", "-r", outs["infozip.zip"], *top)
        run(src, "zip", "-q", "-r", "-D", outs["infozip_nodirs.zip"], *top)
        run(src, "7z", "a", "-tzip", "-mx=5", outs["7z.zip"], *top)
        run(src, "bsdtar", "--format", "zip", "-cf", outs["bsdtar.zip"], ".")
        python_zip(src, outs["python.zip"])
        for name, path in outs.items():
            shutil.copyfile(path, os.path.join(HERE, name))
        os.chmod(os.path.join(src, "sub/readonly.txt"), 0o644)
        shutil.rmtree(os.path.join(HERE, "tree"), ignore_errors=True)
        shutil.copytree(src, os.path.join(HERE, "tree"))


if __name__ == "__main__":
    main()
