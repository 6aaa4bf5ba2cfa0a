#!/usr/bin/env python3
"""Checks the native installer builder from outside, with other programs.

1. Builds an installer from a generated tree of 70,000 files (more than a
   16-bit count holds) with nested, empty and non-ASCII folders, cuts the
   payload archive out of the package block by the documented layout, and
   has Info-ZIP unzip test it and Python's zipfile read every entry back and
   compare it with the tree.
2. A bad input exits with status 3 and leaves no file behind.
3. A build stopped by SIGINT (Ctrl+C), SIGTERM or SIGHUP (its terminal
   closed) exits with status 130 and leaves no file behind.

usage: other_readers.py PACK_EXECUTABLE WORK_FOLDER
"""
import glob
import json
import os
import signal
import struct
import subprocess
import sys
import time
import zipfile

MARKER = b"PelmoraInstallerStub/1"
TRAILER = 48


def fail(message):
    print("other_readers: " + message, file=sys.stderr)
    sys.exit(1)


def fake_stub():
    """A 1,024-byte program image: headers, one section holding the marker."""
    image = bytearray(1024)
    image[0:2] = b"MZ"
    image[0x3C] = 64
    header = b"PE\0\0" + struct.pack("<HHIIIHH", 0x14C, 1, 0, 0, 0, 224, 0x0102)
    optional = bytearray(224)
    optional[0:2] = b"\x0b\x01"
    optional[60:64] = struct.pack("<I", 0x200)
    section = bytearray(40)
    section[0:5] = b".data"
    section[16:24] = struct.pack("<II", 0x200, 0x200)
    table = header + bytes(optional) + bytes(section)
    image[64:64 + len(table)] = table
    image[0x200:0x200 + len(MARKER)] = MARKER
    return bytes(image)


def make_tree(root):
    files = {}
    for i in range(70000):
        files["many/%02d/f%05d.txt" % (i // 1000, i)] = ("file %d\n" % i).encode()
    files["Ελληνικά/κείμενο.txt"] = "γειά σου".encode()
    files["程序/app.exe"] = b"MZ program"
    for name, data in files.items():
        path = os.path.join(root, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
    os.makedirs(os.path.join(root, "空文件夹", "更深"))
    folders = {"many/", "Ελληνικά/", "程序/", "空文件夹/", "空文件夹/更深/"}
    folders |= {"many/%02d/" % k for k in range(70)}
    return files, folders


def payload_of(installer):
    """The payload archive's bytes, found through the trailer and directory."""
    with open(installer, "rb") as f:
        data = f.read()
    trailer = data[-TRAILER:]
    if trailer[:8] != b"PLMRPACK":
        fail("no trailer at the end of " + installer)
    block, directory, directory_size = struct.unpack_from("<QQI", trailer, 16)
    start = block + directory
    (count,) = struct.unpack_from("<I", data, start)
    if directory_size != 4 + 24 * count:
        fail("directory size does not match its count")
    for k in range(count):
        kind, _, offset, size = struct.unpack_from("<IIQQ", data, start + 4 + 24 * k)
        if kind == 1:
            return data[block + offset:block + offset + size]
    fail("no payload section")


def run_pack(pack, args, **kwargs):
    return subprocess.run([pack] + args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, **kwargs)


def check_other_readers(pack, work):
    source = os.path.join(work, "source")
    files, folders = make_tree(source)
    with open(os.path.join(work, "stub.exe"), "wb") as f:
        f.write(fake_stub())
    with open(os.path.join(work, "info.txt"), "w", encoding="utf-8") as f:
        f.write("Generated tree\n")
    description = {
        "source": "source", "stub": "stub.exe", "output": "out/Setup.exe", "program": "程序/app.exe",
        "product": {"name": "Many Files", "version": "1.0", "publisher": "Test"},
        "window": {"information": "info.txt"},
    }
    with open(os.path.join(work, "many.json"), "w", encoding="utf-8") as f:
        json.dump(description, f, ensure_ascii=False)
    os.makedirs(os.path.join(work, "out"))
    result = run_pack(pack, [os.path.join(work, "many.json"), "--quiet"])
    if result.returncode != 0:
        fail("pack failed: " + result.stderr.decode())
    archive = os.path.join(work, "payload.zip")
    with open(archive, "wb") as f:
        f.write(payload_of(os.path.join(work, "out", "Setup.exe")))
    tested = subprocess.run(["unzip", "-tq", archive], stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    if tested.returncode != 0 or b"No errors detected" not in tested.stdout:
        fail("unzip -t: " + tested.stdout.decode(errors="replace")[-2000:])
    with zipfile.ZipFile(archive) as z:
        names = z.namelist()
        if len(names) != len(files) + len(folders):
            fail("zipfile sees %d entries, the tree has %d" % (len(names), len(files) + len(folders)))
        if set(n for n in names if n.endswith("/")) != folders:
            fail("folders differ")
        for name, data in files.items():
            if z.read(name) != data:
                fail("zipfile reads different data for " + name)


def check_bad_input_leaves_nothing(pack, work):
    out = os.path.join(work, "out-bad")
    os.makedirs(out)
    result = run_pack(pack, [os.path.join(work, "many.json"), "--source", "missing", "--output",
                             os.path.join(out, "Setup.exe")])
    if result.returncode != 3 or b"the source folder does not exist" not in result.stderr:
        fail("a missing source gave %d: %s" % (result.returncode, result.stderr.decode()))
    if os.listdir(out):
        fail("a refused build left " + ", ".join(os.listdir(out)))


def check_interrupt_leaves_nothing(pack, work, stop):
    big = os.path.join(work, "big")
    if not os.path.isdir(big):
        os.makedirs(big)
        with open(os.path.join(big, "zeros.bin"), "wb") as f:
            f.truncate(16 << 30)  # sparse: costs no disk, takes a while to compress
    name = signal.Signals(stop).name
    out = os.path.join(work, "out-" + name)
    os.makedirs(out)
    process = subprocess.Popen([pack, os.path.join(work, "many.json"), "--quiet", "--source", big, "--program",
                                "zeros.bin", "--output", os.path.join(out, "Setup.exe")],
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    deadline = time.monotonic() + 60
    # Interrupted once compression is under way: the partial file has grown past the stub.
    while time.monotonic() < deadline and process.poll() is None:
        partial = glob.glob(os.path.join(out, "Setup.exe.partial-*"))
        if partial and os.path.getsize(partial[0]) > 1 << 20:
            break
        time.sleep(0.01)
    if process.poll() is not None:
        fail("the build ended before it could be stopped by %s: %d" % (name, process.returncode))
    process.send_signal(stop)
    process.wait(timeout=60)
    if process.returncode != 130 or b"interrupted; no installer was written" not in process.stderr.read():
        fail("a build stopped by %s ended with %d" % (name, process.returncode))
    if os.listdir(out):
        fail("a build stopped by %s left %s" % (name, ", ".join(os.listdir(out))))


def main():
    if len(sys.argv) != 3:
        fail(__doc__.strip().splitlines()[-1])
    pack, work = os.path.abspath(sys.argv[1]), sys.argv[2]
    check_other_readers(pack, work)
    check_bad_input_leaves_nothing(pack, work)
    for stop in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        check_interrupt_leaves_nothing(pack, work, stop)


if __name__ == "__main__":
    main()
