#!/usr/bin/env python3
"""Writes the fuzzer's small seed archives into fuzz/seeds/ (the test archives
under tests/data/zip/ are used as seeds as well).

small.zip: a folder, a deflated entry with an extended-timestamp block and a
stored entry. prefixed.zip: the same behind 202 bytes of program stub, its
offsets relative to the archive. prefixed_adjusted.zip: an archive appended
to such a stub by a writer that counts the stub in its offsets.
zip64.zip: entries with 64-bit local headers, closed by a 64-bit end record
and its locator. package.bin: a program stub with a package block behind it
(payload, texts, directory, trailer; see docs/package-block.md).
"""
import io
import os
import struct
import zipfile
import zlib

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

    with open(os.path.join(OUT, "zip64.zip"), "wb") as f:
        f.write(zip64_archive())
    with open(os.path.join(OUT, "package.bin"), "wb") as f:
        f.write(package(b.getvalue()))


def zip64_archive():
    """Entries with 64-bit local headers; the end record moved into its 64-bit form."""
    b = io.BytesIO()
    with zipfile.ZipFile(b, "w") as z:
        for name, data in (("a.txt", b"sixty-four " * 30), ("d/b.bin", bytes(range(200)))):
            i = zipfile.ZipInfo(name, STAMP)
            i.compress_type = zipfile.ZIP_DEFLATED
            with z.open(i, "w", force_zip64=True) as f:
                f.write(data)
    data = b.getvalue()
    end = data.rfind(b"PK\x05\x06")
    count, size, offset = struct.unpack_from("<HII", data, end + 10)
    record = struct.pack("<IQHHIIQQQQ", 0x06064B50, 44, 45, 45, 0, 0, count, count, size, offset)
    locator = struct.pack("<IIQI", 0x07064B50, 0, end, 1)
    saturated = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, 0xFFFF, 0xFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0)
    return data[:end] + record + locator + saturated


def package(payload):
    """A stub, then a block holding `payload` and two texts."""
    stub = b"MZ" + b"\0" * 254
    texts = struct.pack("<I", 2)
    for key, value in ((b"program", "a.txt".encode()), (b"window.title", "软件安装向导".encode())):
        texts += struct.pack("<I", len(key)) + key + struct.pack("<I", len(value)) + value
    body = payload + texts
    directory = struct.pack("<I", 2) + struct.pack("<IIQQ", 1, 0, 0, len(payload))
    directory += struct.pack("<IIQQ", 2, 0, len(payload), len(texts))
    block = body + directory
    trailer = b"PLMRPACK" + struct.pack("<IIQQII", 1, 48, len(stub), len(body), len(directory),
                                        zlib.crc32(block)) + struct.pack("<I", 0)
    return stub + block + trailer + struct.pack("<I", zlib.crc32(trailer))


if __name__ == "__main__":
    main()
