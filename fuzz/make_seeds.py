#!/usr/bin/env python3
"""Writes the fuzzer's small seed archives into fuzz/seeds/ (the test archives
under tests/data/zip/ are used as seeds as well).

small.zip: a folder, a deflated entry with an extended-timestamp block and a
stored entry. prefixed.zip: the same behind 202 bytes of program stub.
"""
import io
import os
import struct
import zipfile

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "seeds")
STAMP = (2021, 12, 30, 6, 50, 20)


def main():
    b = io.BytesIO()
    with zipfile.ZipFile(b, "w") as z:
        i = zipfile.ZipInfo("dir/", STAMP)
        i.external_attr = 0x10
        z.writestr(i, b"")
        i = zipfile.ZipInfo("dir/a.txt", STAMP)
        i.compress_type = zipfile.ZIP_DEFLATED
        i.extra = struct.pack("<HHBII", 0x5455, 9, 3, 1000000000, 1100000000)
        z.writestr(i, b"hello " * 50)
        z.writestr(zipfile.ZipInfo("s.bin", STAMP), bytes(range(256)))
    os.makedirs(OUT, exist_ok=True)
    with open(os.path.join(OUT, "small.zip"), "wb") as f:
        f.write(b.getvalue())
    with open(os.path.join(OUT, "prefixed.zip"), "wb") as f:
        f.write(b"MZ" + b"\0" * 200 + b.getvalue())


if __name__ == "__main__":
    main()
