"""Tiny anti-aliased rasteriser for the skin glyphs (standard library only).

Shapes are coverage functions sampled on a 4 x 4 grid inside each pixel, so
diagonal strokes get soft edges. Layers are composited with "over" into
straight (non-premultiplied) 8-bit RGBA rows, as PNG colour type 6 expects.
"""

SUB = 4  # samples per pixel along each axis


def coverage(width, height, inside):
    """Fraction of each pixel for which inside(x, y) holds, x/y in pixel units."""
    grid = []
    offs = [(i + 0.5) / SUB for i in range(SUB)]
    for py in range(height):
        row = []
        for px in range(width):
            hits = sum(1 for oy in offs for ox in offs if inside(px + ox, py + oy))
            row.append(hits / (SUB * SUB))
        grid.append(row)
    return grid


# ---- shapes: predicates over continuous coordinates

def segment(x1, y1, x2, y2, half_width):
    dx, dy = x2 - x1, y2 - y1
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - x1) * dx + (y - y1) * dy) / length2))
        cx, cy = x1 + t * dx, y1 + t * dy
        return (x - cx) ** 2 + (y - cy) ** 2 <= half_width * half_width
    return inside


def polyline(points, half_width):
    parts = [segment(*points[i], *points[i + 1], half_width) for i in range(len(points) - 1)]
    return union(*parts)


def rect(x0, y0, x1, y1):
    """Filled box covering pixels x0..x1-1, y0..y1-1."""
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def frame(x0, y0, x1, y1, left=1, top=1, right=1, bottom=1):
    """Outline of the box x0..x1-1, y0..y1-1 with the given edge widths."""
    return difference(rect(x0, y0, x1, y1), rect(x0 + left, y0 + top, x1 - right, y1 - bottom))


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def polygon(points):
    def inside(x, y):
        result = False
        n = len(points)
        for i in range(n):
            xa, ya = points[i]
            xb, yb = points[(i + 1) % n]
            if (ya > y) != (yb > y) and x < xa + (y - ya) * (xb - xa) / (yb - ya):
                result = not result
        return result
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def difference(a, b):
    return lambda x, y: a(x, y) and not b(x, y)


# ---- masks and layers

def shifted(mask, dx, dy):
    h, w = len(mask), len(mask[0])
    return [[mask[y - dy][x - dx] if 0 <= y - dy < h and 0 <= x - dx < w else 0.0 for x in range(w)]
            for y in range(h)]


def blurred(mask, weights=((1, 2, 1), (2, 4, 2), (1, 2, 1))):
    h, w = len(mask), len(mask[0])
    total = sum(sum(r) for r in weights)
    out = []
    for y in range(h):
        row = []
        for x in range(w):
            acc = 0.0
            for j, wr in enumerate(weights):
                for i, wt in enumerate(wr):
                    yy, xx = y + j - 1, x + i - 1
                    if 0 <= yy < h and 0 <= xx < w:
                        acc += wt * mask[yy][xx]
            row.append(acc / total)
        out.append(row)
    return out


def shadow_of(mask, strength=0.6):
    """A soft drop shadow one pixel down and right of the shape."""
    return [[v * strength for v in row] for row in blurred(shifted(mask, 1, 1))]


class Canvas:
    def __init__(self, width, height):
        self.width, self.height = width, height
        self.px = [[(0.0, 0.0, 0.0, 0.0) for _ in range(width)] for _ in range(height)]

    def paint(self, mask, colour, alpha=1.0):
        """Composites colour (r, g, b 0..255) with per-pixel alpha mask * alpha over the canvas."""
        for y in range(self.height):
            for x in range(self.width):
                a_src = mask[y][x] * alpha
                if a_src <= 0:
                    continue
                r, g, b, a_dst = self.px[y][x]
                a_out = a_src + a_dst * (1 - a_src)
                mix = [(c_s * a_src + c_d * a_dst * (1 - a_src)) / a_out for c_s, c_d in zip(colour, (r, g, b))]
                self.px[y][x] = (mix[0], mix[1], mix[2], a_out)

    def paint_pixels(self, pixels):
        """pixels: {(x, y): (r, g, b, a)} written as they are (pixel-exact art)."""
        for (x, y), value in pixels.items():
            self.px[y][x] = tuple(float(v) if i < 3 else v / 255.0 for i, v in enumerate(value))

    def rows(self):
        out = []
        for row in self.px:
            line = bytearray()
            for r, g, b, a in row:
                alpha = int(round(a * 255))
                if alpha == 0:
                    line += b"\0\0\0\0"
                else:
                    line += bytes((int(round(r)), int(round(g)), int(round(b)), alpha))
            out.append(bytes(line))
        return out


def vertical_gradient(top, bottom, y, height):
    t = 0.0 if height <= 1 else y / (height - 1)
    return tuple(a + (b - a) * t for a, b in zip(top, bottom))


__all__ = [name for name in dir() if not name.startswith("_")]
