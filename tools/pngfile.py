"""Minimal deterministic PNG writer (standard library only).

Used by the build-time art generators. Every image is written with one IDAT
chunk, filter type 0 on every row, and the ancillary chunks the caller asks for.
"""
import struct
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"


def chunk(kind: bytes, data: bytes) -> bytes:
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def encode(width, height, colour_type, rows, extra_chunks=()):
    """rows: iterable of bytes objects, one per scan line, without filter byte.
    extra_chunks: (kind, data) pairs written between IHDR and IDAT, in order."""
    ihdr = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    raw = b"".join(b"\x00" + bytes(r) for r in rows)
    out = [SIGNATURE, chunk(b"IHDR", ihdr)]
    out += [chunk(k, d) for k, d in extra_chunks]
    out.append(chunk(b"IDAT", zlib.compress(raw, 9)))
    out.append(chunk(b"IEND", b""))
    return b"".join(out)


def phys_96dpi():
    return (b"pHYs", struct.pack(">IIB", 3780, 3780, 1))


def phys_dpi(dpi):
    """pHYs for `dpi` pixels per inch, in pixels per metre as PNG keeps it."""
    per_metre = round(dpi / 0.0254)
    return (b"pHYs", struct.pack(">IIB", per_metre, per_metre, 1))


def srgb_chunks():
    """sRGB rendering intent 0 with the matching gAMA, for images in sRGB."""
    return [(b"sRGB", b"\x00"), (b"gAMA", struct.pack(">I", 45455))]


def chrm_srgb():
    vals = [31270, 32900, 64000, 33000, 30000, 60000, 15000, 6000]
    return (b"cHRM", struct.pack(">8I", *vals))


def _s15(v):
    return struct.pack(">i", int(round(v * 65536)))


def srgb_icc_profile():
    """A small ICC v2 display profile for sRGB-like primaries with gamma 2.2."""
    def xyz(x, y, z):
        return b"XYZ " + b"\0" * 4 + _s15(x) + _s15(y) + _s15(z)

    def desc(text):
        t = text.encode("ascii") + b"\0"
        return (b"desc" + b"\0" * 4 + struct.pack(">I", len(t)) + t + b"\0" * 4 + b"\0" * 4 + b"\0" * 2 + b"\0" +
                b"\0" * 67)

    curve = b"curv" + b"\0" * 4 + struct.pack(">IH", 1, 0x0233) + b"\0\0"
    tags = [
        (b"desc", desc("Pelmora sRGB")),
        (b"cprt", b"text" + b"\0" * 4 + b"No copyright, use freely\0"),
        (b"wtpt", xyz(0.9642, 1.0, 0.8249)),
        (b"rXYZ", xyz(0.4361, 0.2225, 0.0139)),
        (b"gXYZ", xyz(0.3851, 0.7169, 0.0971)),
        (b"bXYZ", xyz(0.1431, 0.0606, 0.7141)),
        (b"rTRC", curve), (b"gTRC", curve), (b"bTRC", curve),
    ]
    offset = 128 + 4 + 12 * len(tags)
    table, data = b"", b""
    for sig, body in tags:
        while (offset + len(data)) % 4:
            data += b"\0"
        table += sig + struct.pack(">II", offset + len(data), len(body))
        data += body
    while len(data) % 4:
        data += b"\0"
    size = offset + len(data)
    header = (struct.pack(">I", size) + b"\0" * 4 + struct.pack(">I", 0x02100000) + b"mntrRGB XYZ " +
              struct.pack(">6H", 2021, 12, 30, 6, 50, 21) + b"acsp" + b"\0" * 4 + b"\0" * 4 + b"\0" * 8 +
              b"\0" * 8 + struct.pack(">I", 0) + _s15(0.9642) + _s15(1.0) + _s15(0.8249) + b"\0" * 4 +
              b"\0" * 44)
    assert len(header) == 128
    return header + struct.pack(">I", len(tags)) + table + data


def iccp_chunk(name=b"Pelmora sRGB"):
    return (b"iCCP", name + b"\0\0" + zlib.compress(srgb_icc_profile(), 9))


def ico_from_bgra(size, bgra_rows):
    """An icon file with one 32-bit BMP image (bottom-up, with an all-zero AND
    mask): 6 + 16 + 40 + size*size*4 + mask bytes."""
    mask_stride = ((size + 31) // 32) * 4
    bmp = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, size * size * 4 + mask_stride * size, 0, 0,
                      0, 0)
    pixels = b"".join(bytes(r) for r in reversed(bgra_rows))
    mask = b"\0" * (mask_stride * size)
    image = bmp + pixels + mask
    entry = struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), 22)
    return struct.pack("<HHH", 0, 1, 1) + entry + image


def ico_from_png(size, png):
    """An icon file whose one image is the PNG as it is (sizes up to 256)."""
    entry = struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(png), 22)
    return struct.pack("<HHH", 0, 1, 1) + entry + png
