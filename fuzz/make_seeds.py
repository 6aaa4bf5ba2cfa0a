#!/usr/bin/env python3
"""Writes the fuzzer's small seed archives into fuzz/seeds/ (the test archives
under tests/data/zip/ are used as seeds as well).

small.zip: a folder, a deflated entry with an extended-timestamp block and a
stored entry. prefixed.zip: the same behind 202 bytes of program stub, its
offsets relative to the archive. prefixed_adjusted.zip: an archive appended
to such a stub by a writer that counts the stub in its offsets.
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

    # Appending to a file that is not an archive starts a new one behind it,
    # with offsets counted from the start of the file.
    a = io.BytesIO()
    a.write(b"MZ" + b"\0" * 200)
    with zipfile.ZipFile(a, "a") as z:
        i = zipfile.ZipInfo("stub/a.txt", STAMP)
        i.compress_type = zipfile.ZIP_DEFLATED
        z.writestr(i, b"after the stub " * 20)
    with open(os.path.join(OUT, "prefixed_adjusted.zip"), "wb") as f:
        f.write(a.getvalue())


if __name__ == "__main__":
    main()
