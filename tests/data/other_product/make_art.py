#!/usr/bin/env python3
"""Makes the artwork of the sample product the end-to-end tests build an
installer for: a 500 x 300 window picture (warm sunrise over green hills,
light where the white heading sits darker) and a 64 x 64 window icon.
Deterministic; the outputs are kept beside this script.

usage: make_art.py [OUTPUT_DIR]
"""
import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "tools"))
import pngfile  # noqa: E402

W, H = 500, 300


def mix(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def background_rows():
    top, horizon = (38, 52, 96), (222, 138, 84)
    hill_far, hill_near, panel = (58, 110, 78), (34, 82, 56), (236, 232, 220)
    rows = []
    for y in range(H):
        row = bytearray()
        for x in range(W):
            if y >= 205:  # the pale panel the black labels sit on
                c = panel
            else:
                c = mix(top, horizon, min(1.0, y / 170))
                sun = math.hypot(x - 360, y - 150)
                if sun < 34:
                    c = mix(c, (255, 226, 150), 1 - sun / 34 * 0.4)
                far = 150 + 18 * math.sin(x / 47.0) + 10 * math.sin(x / 13.0 + 1)
                near = 178 + 14 * math.sin(x / 61.0 + 2) + 6 * math.sin(x / 23.0)
                if y > near:
                    c = hill_near
                elif y > far:
                    c = hill_far
            row += bytes(c)
        rows.append(bytes(row))
    return rows


def icon_rgba(size):
    rows = []
    for y in range(size):
        row = bytearray()
        for x in range(size):
            d = math.hypot(x + 0.5 - size / 2, y + 0.5 - size / 2) / (size / 2)
            if d > 0.95:
                row += b"\0\0\0\0"
            elif d > 0.55:
                row += bytes((222, 138, 84, 255))
            else:
                row += bytes((255, 236, 180, 255))
        rows.append(bytes(row))
    return rows


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(out, "background.png"), "wb") as f:
        f.write(pngfile.encode(W, H, 2, background_rows(), [pngfile.phys_96dpi()]))
    icon = pngfile.encode(64, 64, 6, icon_rgba(64), pngfile.srgb_chunks())
    with open(os.path.join(out, "viewer.ico"), "wb") as f:
        f.write(pngfile.ico_from_png(64, icon))


if __name__ == "__main__":
    main()
