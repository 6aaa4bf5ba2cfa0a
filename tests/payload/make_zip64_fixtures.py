#!/usr/bin/env python3
"""Makes the 64-bit archives the reader tests open, with Python's zipfile:
an independent writer, so reader and builder cannot share a misreading.

- many.zip: 70,000 entries "dNN/fNNNNN.txt" holding "file N\\n"; zipfile
  writes the 64-bit end record and locator itself past 65,535 entries.
- forced.zip: two small entries written with 64-bit local headers
  (force_zip64): saturated local sizes and a 64-bit extra block in front of
  data the central directory describes in 32 bits.

usage: make_zip64_fixtures.py OUT_DIR
"""
import os
import sys
import zipfile

STAMP = (2020, 5, 17, 12, 34, 56)


def entry(name):
    info = zipfile.ZipInfo(name, STAMP)
    info.compress_type = zipfile.ZIP_DEFLATED
    return info


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    with zipfile.ZipFile(os.path.join(out, "many.zip"), "w") as z:
        for i in range(70000):
            z.writestr(entry("d%02d/f%05d.txt" % (i // 1000, i)), "file %d\n" % i)
    with zipfile.ZipFile(os.path.join(out, "forced.zip"), "w") as z:
        for name, text in (("a.txt", "forced sixty-four\n" * 100), ("b/c.txt", "second")):
            with z.open(entry(name), "w", force_zip64=True) as f:
                f.write(text.encode())


if __name__ == "__main__":
    main()
