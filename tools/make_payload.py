#!/usr/bin/env python3
"""Generates the installer's payload archive, deterministically.

The archive has 77 entries in a fixed order: the configuration folder "data/"
with its files and three sub-folders, 61 sound clips under "mp3/", the audio
library "bass.dll" and the product program "Pelmora☆Corvane.exe" last.
Names are code-page-936 bytes without the UTF-8 flag; every entry is made by
an MS-DOS host (version 3.1) and carries a 10-byte extra field of type 0x000A;
folders are stored with attribute 0x10, files deflated with attribute 0x20.

usage: make_payload.py PRODUCT_EXE OUT_ZIP OUT_HEADER OUT_TREE_DIR

OUT_HEADER receives the archive's size and CRC-32 (checked by the installer at
start-up); OUT_TREE_DIR receives the same files unpacked, for the tests.
"""
import os
import random
import shutil
import struct
import sys
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_art  # noqa: E402
import pngfile  # noqa: E402

CLIP_COUNT = 61
CLIP_MIN, CLIP_MAX, CLIP_TOTAL = 9_504, 2_485_318, 20_345_840
PROGRAM_SIZE = 3_076_096
PROGRAM_NAME = "Pelmora☆Corvane.exe"
DOS_TIME = (6 << 11) | (50 << 5) | (20 // 2)  # 06:50:20
DOS_DATE = ((2021 - 1980) << 9) | (12 << 5) | 30  # 2021-12-30
EXTRA = struct.pack("<HH", 0x000A, 6) + b"\0" * 6  # NTFS tag, reserved bytes only


def gbk_text(lines, size):
    """CR LF separated code-page-936 text of exactly `size` bytes."""
    out = b""
    for line in lines:
        piece = line.encode("gbk") + b"\r\n"
        if len(out) + len(piece) > size:
            break
        out += piece
    filler = b"; " + b"-" * 60 + b"\r\n"
    while len(out) < size:
        out += filler[: size - len(out)]
    return out


def ini_file(section, size, seed):
    rng = random.Random(seed)
    keys = ["启用", "热键", "间隔", "次数", "路径", "标题", "颜色", "音量", "延迟", "模式"]
    lines = ["[" + section + "]"]
    for i in range(400):
        k = keys[i % len(keys)] + str(i // len(keys) + 1)
        lines.append("%s=%d" % (k, rng.randrange(0, 10000)))
    return gbk_text(lines, size)


def clip_sizes():
    rng = random.Random(61)
    sizes = [CLIP_MIN, CLIP_MAX]
    while len(sizes) < CLIP_COUNT:
        sizes.append(int(CLIP_MIN * (CLIP_MAX / CLIP_MIN) ** (rng.random() ** 1.6)))
    # scale the free ones so the total comes out exact, then settle the rest on one clip
    free = sum(sizes[2:])
    want = CLIP_TOTAL - CLIP_MIN - CLIP_MAX
    sizes[2:] = [max(CLIP_MIN, min(CLIP_MAX, s * want // free)) for s in sizes[2:]]
    sizes[5] += CLIP_TOTAL - sum(sizes)
    assert sum(sizes) == CLIP_TOTAL and min(sizes) == CLIP_MIN and max(sizes) == CLIP_MAX
    rng.shuffle(sizes)
    return sizes


# 128 equally likely byte values: about 7 bits of entropy a byte, so deflate
# saves roughly an eighth, as it does on real compressed audio.
_AUDIO_TABLE = bytes((i & 0xFE) for i in range(256))


def clip_bytes(size, seed):
    rng = random.Random(seed)
    head = b"ID3\x03\x00\x00\x00\x00\x00\x00"
    body = bytearray(rng.randbytes(size).translate(_AUDIO_TABLE))
    frame = 418
    for off in range(len(head), size - 4, frame):
        body[off:off + 4] = b"\xFF\xFB\x90\x64"
    body[: len(head)] = head[: size]
    return bytes(body[:size])


def padded_program(path):
    with open(path, "rb") as f:
        image = f.read()
    assert len(image) < PROGRAM_SIZE
    # Overlay after the image: the loader ignores it. Just under half of it is noise so
    # the archive keeps the size of the real product.
    rng = random.Random(7001)
    pad = bytearray()
    while len(image) + len(pad) < PROGRAM_SIZE:
        pad += rng.randbytes(1832) + bytes(4096 - 1832)
    return image + bytes(pad[: PROGRAM_SIZE - len(image)])


def tubiao_png(size):
    rows = make_art.render_icon(64, 2)
    base = pngfile.encode(64, 64, 6, rows, [pngfile.phys_96dpi()])
    pad = size - len(base) - 12
    assert pad >= 0
    return pngfile.encode(64, 64, 6, rows, [pngfile.phys_96dpi(), (b"pmPd", b"\0" * pad)])


def tubiao_ico():
    rows = make_art.render_icon(32, 2)
    bgra = [bytes(b for i in range(0, len(r), 4) for b in (r[i + 2], r[i + 1], r[i], r[i + 3])) for r in rows]
    return pngfile.ico_from_bgra(32, bgra)


def library_bytes(size):
    rng = random.Random(105016)
    body = bytearray(rng.randbytes(size // 2) + bytes(size - size // 2))
    body[:2] = b"MZ"
    return bytes(body)


def entries(program_exe):
    """(name, data or None for a folder) in archive order."""
    e = [("data/", None), ("data/jt/", None)]
    e.append(("data/qllj.bat", gbk_text(["@echo off", "rem 清理临时文件", "del /q jt\\*.tmp 2>nul",
                                         "del /q zdpf\\*.tmp 2>nul", "echo 清理完成"], 1506)))
    e += [("data/tubiao/", None), ("data/tubiao/tubiao.png", tubiao_png(27529)),
          ("data/tubiao/图标.ico", tubiao_ico()), ("data/zdpf/", None)]
    for i, (name, size) in enumerate([("刷屏", 3276), ("标题", 842), ("热键", 466), ("路径", 4544),
                                      ("转盘", 226), ("配置", 70)]):
        e.append(("data/%s.ini" % name, ini_file(name, size, i)))
    e.append(("mp3/", None))
    for i, size in enumerate(clip_sizes()):
        e.append(("mp3/音效%02d.mp3" % (i + 1), clip_bytes(size, 1000 + i)))
    e.append(("bass.dll", library_bytes(105016)))
    e.append((PROGRAM_NAME, padded_program(program_exe)))
    return e


def build_zip(items):
    out, central = bytearray(), bytearray()
    for name, data in items:
        raw = name.encode("gbk")
        folder = data is None
        data = data or b""
        crc = zlib.crc32(data) & 0xFFFFFFFF
        if folder:
            method, payload, needed, attr = 0, b"", 10, 0x10
        else:
            co = zlib.compressobj(6, zlib.DEFLATED, -15, 8)
            method, payload, needed, attr = 8, co.compress(data) + co.flush(), 20, 0x20
        offset = len(out)
        out += struct.pack("<IHHHHHIIIHH", 0x04034B50, needed, 0, method, DOS_TIME, DOS_DATE, crc,
                           len(payload), len(data), len(raw), len(EXTRA)) + raw + EXTRA + payload
        central += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 0x001F, needed, 0, method, DOS_TIME, DOS_DATE,
                               crc, len(payload), len(data), len(raw), len(EXTRA), 0, 0, 0, attr,
                               offset) + raw + EXTRA
    cd_offset = len(out)
    out += central
    out += struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(items), len(items), len(central), cd_offset, 0)
    return bytes(out)


def main():
    program, out_zip, out_header, out_tree = sys.argv[1:5]
    items = entries(program)
    assert len(items) == 77
    archive = build_zip(items)
    with open(out_zip, "wb") as f:
        f.write(archive)
    crc = zlib.crc32(archive) & 0xFFFFFFFF
    with open(out_header, "w", encoding="utf-8") as f:
        f.write("// Generated by tools/make_payload.py; do not edit.\n#pragma once\n#include <cstdint>\n\n"
                "namespace pelmora {\n"
                "constexpr std::uint32_t kPayloadArchiveSize = %du;\n"
                "constexpr std::uint32_t kPayloadArchiveCrc32 = 0x%08Xu;\n"
                "}  // namespace pelmora\n" % (len(archive), crc))
    if os.path.isdir(out_tree):
        shutil.rmtree(out_tree)
    for name, data in items:
        path = os.path.join(out_tree, name)
        if data is None:
            os.makedirs(path, exist_ok=True)
        else:
            with open(path, "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
