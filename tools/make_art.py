#!/usr/bin/env python3
"""Generates the installer's own artwork, deterministically:

  background.png  500 x 300, 8-bit RGB, with cHRM, iCCP and pHYs, one IDAT.
                  A night-blue sky with a soft aurora and a few stars above,
                  calm and dark where the white title and information line sit,
                  and a pale panel at the bottom where the black labels sit.
  background-2x.png  the same picture drawn at 1000 x 600 (not scaled up), for
                  screens above 150 %; pHYs says 192 DPI.
  icon.png        128 x 128, 8-bit RGBA, with sRGB, gAMA and pHYs.
  window.ico      icon.png as it is, inside an icon file (the window icon).
  app.ico         the same mark as a 64 x 64, 32-bit icon (the program icon).

usage: make_art.py OUTPUT_DIR
"""
import math
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pngfile  # noqa: E402

W, H = 500, 300
PANEL_TOP = 219  # below the progress bar: the pale panel with the black labels


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c1, c2, t):
    return tuple(lerp(x, y, t) for x, y in zip(c1, c2))


def background_rows(scale=1):
    """The picture at `scale` times 500 x 300. Every shape is placed in the
    500 x 300 picture's units and sampled at the pixel centres of the larger
    one, so scale 1 is the picture exactly and scale 2 the same picture drawn
    twice as finely; the panel's edge and its white line stay on whole
    500 x 300 rows."""
    rng = random.Random(20211230)
    stars = []
    for _ in range(70):
        x, y = rng.uniform(0, W), rng.uniform(0, 175)
        # keep the title band and the information line clear
        if 70 <= y <= 118 and 40 <= x <= 460:
            continue
        stars.append((x, y, rng.uniform(0.35, 1.0), rng.uniform(0.6, 1.4)))
    top, mid, low = (12, 20, 44), (24, 44, 82), (36, 70, 112)
    panel_a, panel_b = (240, 244, 249), (222, 230, 240)
    width, height = W * scale, H * scale

    def unit(p):  # a pixel centre in the 500 x 300 picture's units
        return p if scale == 1 else (p + 0.5) / scale - 0.5

    rows = []
    for py in range(height):
        row = bytearray()
        y, band = unit(py), py // scale
        for px in range(width):
            x = unit(px)
            if band >= PANEL_TOP:
                t = max(0.0, (y - PANEL_TOP) / (H - PANEL_TOP))
                c = mix(panel_a, panel_b, t)
                if band == PANEL_TOP:
                    c = (255, 255, 255)
                row += bytes(int(v) for v in c)
                continue
            t = y / PANEL_TOP
            c = mix(top, mid, t / 0.6) if t < 0.6 else mix(mid, low, (t - 0.6) / 0.4)
            # aurora: two soft sine ribbons, strongest away from the title
            for k, (amp, base, col, width_) in enumerate(((18, 150, (60, 170, 160), 26), (12, 40, (110, 90, 190), 20))):
                cy = base + amp * math.sin(x / 70.0 + k * 1.7) + 6 * math.sin(x / 23.0 + k)
                d = (y - cy) / width_
                a = 0.30 * math.exp(-d * d)
                c = mix(c, col, a)
            # darker vignette behind the title so white text always reads
            dy = (y - 95) / 28.0
            dx = (x - 250) / 230.0
            c = mix(c, (10, 16, 36), 0.45 * math.exp(-(dx * dx + dy * dy)))
            row += bytes(int(max(0, min(255, v))) for v in c)
        rows.append(row)
    for sx, sy, bright, r in stars:
        for py in range(int((sy - 3) * scale), int((sy + 4) * scale)):
            for px in range(int((sx - 3) * scale), int((sx + 4) * scale)):
                if 0 <= px < width and 0 <= py < PANEL_TOP * scale:
                    d = math.hypot(unit(px) - sx, unit(py) - sy) / r
                    a = bright * math.exp(-d * d * 1.5)
                    if a > 0.02:
                        i = px * 3
                        for ch in range(3):
                            rows[py][i + ch] = int(lerp(rows[py][i + ch], 255, a))
    return rows


def star_inside(px, py, cx, cy, r_out, r_in):
    """Point-in-polygon for a five-pointed star centred at (cx, cy)."""
    pts = []
    for i in range(10):
        ang = -math.pi / 2 + i * math.pi / 5
        r = r_out if i % 2 == 0 else r_in
        pts.append((cx + r * math.cos(ang), cy + r * math.sin(ang)))
    inside = False
    j = len(pts) - 1
    for i in range(len(pts)):
        xi, yi = pts[i]
        xj, yj = pts[j]
        if (yi > py) != (yj > py) and px < (xj - xi) * (py - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


def icon_pixel(u, v):
    """Colour and coverage at (u, v) in [0, 1)^2: a rounded square with a
    night-blue gradient and a white star."""
    m, rad = 0.06, 0.2
    qx = max(abs(u - 0.5) - (0.5 - m - rad), 0.0)
    qy = max(abs(v - 0.5) - (0.5 - m - rad), 0.0)
    if math.hypot(qx, qy) > rad:
        return None
    c = mix((40, 150, 170), (40, 50, 120), v)
    if star_inside(u, v, 0.5, 0.53, 0.33, 0.14):
        c = (255, 255, 255)
    return c


def render_icon(size, samples=4):
    rows = []
    for y in range(size):
        row = bytearray()
        for x in range(size):
            acc, n = [0.0, 0.0, 0.0], 0
            for sy in range(samples):
                for sx in range(samples):
                    p = icon_pixel((x + (sx + 0.5) / samples) / size, (y + (sy + 0.5) / samples) / size)
                    if p:
                        n += 1
                        for i in range(3):
                            acc[i] += p[i]
            if n:
                row += bytes([int(acc[0] / n), int(acc[1] / n), int(acc[2] / n), 255 * n // (samples * samples)])
            else:
                row += b"\0\0\0\0"
        rows.append(row)
    return rows


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    bg = pngfile.encode(W, H, 2, background_rows(),
                        [pngfile.chrm_srgb(), pngfile.iccp_chunk(), pngfile.phys_96dpi()])
    with open(os.path.join(out, "background.png"), "wb") as f:
        f.write(bg)
    bg2x = pngfile.encode(2 * W, 2 * H, 2, background_rows(2),
                          [pngfile.chrm_srgb(), pngfile.iccp_chunk(), pngfile.phys_dpi(192)])
    with open(os.path.join(out, "background-2x.png"), "wb") as f:
        f.write(bg2x)
    icon = pngfile.encode(128, 128, 6, render_icon(128), pngfile.srgb_chunks() + [pngfile.phys_96dpi()])
    with open(os.path.join(out, "icon.png"), "wb") as f:
        f.write(icon)
    # The window icon as the installer's package carries it: the same PNG.
    with open(os.path.join(out, "window.ico"), "wb") as f:
        f.write(pngfile.ico_from_png(128, icon))
    small = render_icon(64)
    bgra = [bytes(b for i in range(0, len(r), 4) for b in (r[i + 2], r[i + 1], r[i], r[i + 3])) for r in small]
    with open(os.path.join(out, "app.ico"), "wb") as f:
        f.write(pngfile.ico_from_bgra(64, bgra))


if __name__ == "__main__":
    main()
