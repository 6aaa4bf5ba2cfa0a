#!/usr/bin/env python3
"""Draws the skin gallery's pictures, deterministically:

  gallery_background.png  760 x 600, 8-bit RGB: a dark band behind the white
                          title, then a calm pale sky with a few soft light
                          discs, so black captions read everywhere.
  gallery_picture.png     48 x 48 RGBA: a little landscape for the image button.
  gallery_state_*.png     96 x 28 RGBA, one per state (normal, hover, pressed,
                          disabled): a rounded plate with a play mark.
  gallery_caption.png     26 x 18 RGBA: a white star for the custom caption button.

usage: make_gallery_art.py OUTPUT_DIR
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pngfile  # noqa: E402
from glyph_raster import Canvas, coverage, difference, polygon, rounded_rect, shadow_of, union  # noqa: E402

W, H = 760, 600
BAND = 44  # the dark caption band


def mix(c1, c2, t):
    return tuple(a + (b - a) * t for a, b in zip(c1, c2))


def background_rows():
    discs = [(120, 190, 150, (255, 255, 255), 0.35), (610, 140, 120, (200, 225, 250), 0.45),
             (420, 470, 190, (255, 255, 255), 0.30), (60, 520, 110, (210, 230, 245), 0.40)]
    rows = []
    for y in range(H):
        row = bytearray()
        for x in range(W):
            if y < BAND:
                c = mix((22, 40, 74), (44, 78, 120), y / BAND)
            else:
                t = (y - BAND) / (H - BAND)
                c = mix((200, 218, 236), (236, 241, 247), t)
                # a gentle diagonal sheen
                c = mix(c, (255, 255, 255), 0.12 * (0.5 + 0.5 * math.sin((x + y) / 90.0)))
                for cx, cy, r, col, strength in discs:
                    d = math.hypot(x - cx, y - cy) / r
                    if d < 1.6:
                        c = mix(c, col, strength * math.exp(-d * d * 2.2))
            row += bytes(int(max(0, min(255, v))) for v in c)
        rows.append(row)
    return rows


def picture():
    s = 48
    c = Canvas(s, s)
    plate = rounded_rect(1, 1, 47, 47, 8)
    c.paint(coverage(s, s, plate), (90, 160, 220))
    sky_low = coverage(s, s, union(rounded_rect(1, 26, 47, 47, 8), polygon([(1, 26), (47, 26), (47, 40), (1, 40)])))
    c.paint(sky_low, (150, 200, 240), 0.6)
    sun = coverage(s, s, lambda x, y: (x - 34) ** 2 + (y - 14) ** 2 <= 36)
    c.paint(sun, (255, 214, 90))
    hills = polygon([(1, 40), (14, 22), (24, 34), (32, 27), (47, 42), (47, 47), (1, 47)])
    c.paint(coverage(s, s, lambda x, y: hills(x, y) and plate(x, y)), (46, 120, 70))
    return c


STATE_PLATES = {
    "normal": ((70, 140, 210), (40, 96, 170)),
    "hover": ((110, 180, 240), (60, 130, 210)),
    "pressed": ((30, 80, 150), (50, 110, 185)),
    "disabled": ((190, 190, 190), (150, 150, 150)),
}


def state_image(top, bottom):
    w, h = 96, 28
    c = Canvas(w, h)
    plate = coverage(w, h, rounded_rect(0, 0, w, h, 6))
    c.paint_pixels({(x, y): tuple(int(v) for v in mix(top, bottom, y / (h - 1))) + (int(round(plate[y][x] * 255)),)
                    for y in range(h) for x in range(w) if plate[y][x] > 0})
    mark = union(polygon([(38, 7), (38, 21), (50, 14)]), rounded_rect(54, 8, 58, 20, 1))
    mask = coverage(w, h, mark)
    c.paint(shadow_of(mask, 0.5), (0, 0, 0))
    c.paint(mask, (255, 255, 255))
    rim = coverage(w, h, difference(rounded_rect(0, 0, w, h, 6), rounded_rect(1, 1, w - 1, h - 1, 5)))
    c.paint(rim, (255, 255, 255), 0.35)
    return c


def caption_star():
    w, h = 26, 18
    pts = []
    for i in range(10):
        ang = -math.pi / 2 + i * math.pi / 5
        r = 6.5 if i % 2 == 0 else 2.8
        pts.append((13 + r * math.cos(ang), 9.5 + r * math.sin(ang)))
    mask = coverage(w, h, polygon(pts))
    c = Canvas(w, h)
    c.paint(shadow_of(mask, 0.6), (0, 0, 0))
    c.paint(mask, (255, 255, 255))
    return c


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main(out):
    os.makedirs(out, exist_ok=True)
    write(os.path.join(out, "gallery_background.png"), pngfile.encode(W, H, 2, background_rows()))
    for name, canvas in [("gallery_picture", picture()), ("gallery_caption", caption_star())] + \
            [("gallery_state_" + k, state_image(*v)) for k, v in STATE_PLATES.items()]:
        write(os.path.join(out, name + ".png"), pngfile.encode(canvas.width, canvas.height, 6, canvas.rows()))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
