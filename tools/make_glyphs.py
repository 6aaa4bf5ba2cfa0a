#!/usr/bin/env python3
"""Draws the thirteen skin glyphs as 8-bit RGBA PNG files.

    make_glyphs.py OUTPUT_DIR

Caption glyphs are as large as the caption-button cells they are drawn on and
keep their art centred with everything else transparent; white art carries a
soft shadow so it reads on light and dark skins. The output is deterministic
and kept in resources/glyphs/ next to this script.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import pngfile  # noqa: E402
from glyph_raster import (Canvas, coverage, difference, frame, polygon, polyline, rect, rounded_rect,  # noqa: E402
                          segment, shadow_of, union, vertical_gradient)

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)


def white_with_shadow(width, height, shape, alpha=1.0, shadow_colour=BLACK, shadow_strength=0.6):
    mask = coverage(width, height, shape)
    c = Canvas(width, height)
    c.paint(shadow_of(mask, shadow_strength), shadow_colour)
    c.paint(mask, WHITE, alpha)
    return c


# ---- caption glyphs, 26 x 18 (close: 38 x 18)

def caption_help():
    # Speech bubble: rounded body with a tail at the lower left, outline only.
    body = rounded_rect(7, 3, 20, 12, 3)
    inner = rounded_rect(8.3, 4.3, 18.7, 10.7, 2)
    tail = polygon([(9.5, 11.5), (13.5, 11.5), (9.0, 15.2)])
    tail_inner = polygon([(10.6, 10.6), (12.4, 10.6), (10.1, 13.2)])
    outline = union(difference(body, inner), difference(tail, union(inner, tail_inner)))
    return white_with_shadow(26, 18, outline, alpha=0.6)


def caption_menu():
    window = frame(4, 3, 16, 15)
    lines = union(rect(6, 6, 14, 7), rect(6, 9, 12, 10))
    arrow = polygon([(17, 8), (22, 8), (19.5, 11)])
    return white_with_shadow(26, 18, union(window, lines, arrow))


def caption_minimize():
    return white_with_shadow(26, 18, rect(8, 11, 18, 13))


def caption_maximize():
    return white_with_shadow(26, 18, frame(8, 4, 18, 14, top=2))


def caption_restore():
    front = frame(7, 7, 16, 15, top=2)
    back = difference(frame(10, 3, 19, 11, top=2), rect(7, 7, 16, 15))
    return white_with_shadow(26, 18, union(front, back))


def caption_close():
    cross = union(segment(15.5, 5.5, 22.5, 12.5, 0.95), segment(22.5, 5.5, 15.5, 12.5, 0.95))
    return white_with_shadow(38, 18, cross, shadow_colour=(60, 60, 60), shadow_strength=0.7)


def dialog_close():
    # Pixel-exact: an 11 x 11 white X (columns 13-23, rows 3-13), three pixels
    # thick, and every pixel touching it (diagonals included) in dark grey, so
    # the outline reads as a solid line on light backgrounds too.
    white = set()
    for v in range(11):
        for u in range(11):
            if min(abs(u - v), abs(u + v - 10)) <= 1:
                white.add((13 + u, 3 + v))
    pixels = {p: (255, 255, 255, 255) for p in white}
    for (x, y) in white:
        for dy in (-1, 0, 1):
            for dx in (-1, 0, 1):
                q = (x + dx, y + dy)
                if q not in white:
                    pixels[q] = (90, 90, 90, 255)
    c = Canvas(38, 18)
    c.paint_pixels(pixels)
    return c


# ---- check boxes, 13 x 13

def check_box(border, tick):
    c = Canvas(13, 13)
    for y in range(1, 12):
        colour = vertical_gradient((250, 248, 244), (232, 228, 221), y - 1, 11)
        row_mask = [[1.0 if yy == y and 1 <= x <= 11 else 0.0 for x in range(13)] for yy in range(13)]
        c.paint(row_mask, colour)
    ring = coverage(13, 13, frame(0, 0, 13, 13))
    c.paint(ring, border)
    if tick:
        mark = coverage(13, 13, polyline([(3.2, 6.6), (5.4, 9.0), (9.9, 3.6)], 0.95))
        c.paint(mark, tick)
    return c


def check_box_unchecked():
    return check_box((28, 28, 30), None)


def check_box_checked():
    return check_box((24, 81, 132), (36, 110, 117))


# ---- arrows: solid black triangles, pixel-exact

def arrow(width, height, opaque):
    c = Canvas(width, height)
    c.paint_pixels({(x, y): (0, 0, 0, 255) for y in range(height) for x in range(width) if opaque(x, y)})
    return c


def arrow_down():
    return arrow(7, 4, lambda x, y: y <= x <= 6 - y)


def arrow_up():
    return arrow(7, 4, lambda x, y: 3 - y <= x <= 3 + y)


def arrow_left():
    return arrow(4, 7, lambda x, y: 3 - x <= y <= 3 + x)


def arrow_right():
    return arrow(4, 7, lambda x, y: x <= y <= 6 - x)


GLYPHS = [
    ("caption_help", caption_help),
    ("caption_menu", caption_menu),
    ("caption_minimize", caption_minimize),
    ("caption_maximize", caption_maximize),
    ("caption_restore", caption_restore),
    ("caption_close", caption_close),
    ("dialog_close", dialog_close),
    ("check_box_unchecked", check_box_unchecked),
    ("check_box_checked", check_box_checked),
    ("arrow_down", arrow_down),
    ("arrow_up", arrow_up),
    ("arrow_left", arrow_left),
    ("arrow_right", arrow_right),
]


def main(out_dir):
    os.makedirs(out_dir, exist_ok=True)
    for name, draw in GLYPHS:
        canvas = draw()
        data = pngfile.encode(canvas.width, canvas.height, 6, canvas.rows())
        with open(os.path.join(out_dir, name + ".png"), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
