#!/usr/bin/env python3
"""Draw Tavro's icons and write them as Windows .ico files.

Every pictogram is drawn from simple shapes on a 16 x 16 unit design grid and
rendered with supersampled anti-aliasing at every size a 16- or 32-pixel
picture takes from 100% to 200% display scale (16, 20, 24, 32, 40, 48, 64), so
the program never stretches one.  Each .ico file holds all sizes as 32-bit
BGRA bitmaps (BITMAPINFOHEADER, XOR image with alpha, AND mask), the form
windres, Windows and Wine all load.

Standard library only.

    scripts/make-icons.py                 # writes resources/icons/*.ico
    scripts/make-icons.py --preview p.png # also writes a PNG contact sheet
"""

import argparse
import math
import os
import struct
import sys
import zlib

SIZES = (16, 20, 24, 32, 40, 48, 64)  # 16 and 32 at 100% to 200% scale
SUPERSAMPLE = 6  # samples per pixel along each axis


# ---------------------------------------------------------------- geometry
#
# A shape is a point predicate plus a bounding box, both in design units
# (0..16).  Shapes combine with | (union), & (intersection) and - (cut).

class Shape:
    def __init__(self, test, bbox):
        self.test = test
        self.bbox = bbox

    def __or__(self, other):
        a, b = self.test, other.test
        (ax0, ay0, ax1, ay1), (bx0, by0, bx1, by1) = self.bbox, other.bbox
        return Shape(lambda x, y: a(x, y) or b(x, y),
                     (min(ax0, bx0), min(ay0, by0), max(ax1, bx1), max(ay1, by1)))

    def __and__(self, other):
        a, b = self.test, other.test
        (ax0, ay0, ax1, ay1), (bx0, by0, bx1, by1) = self.bbox, other.bbox
        return Shape(lambda x, y: a(x, y) and b(x, y),
                     (max(ax0, bx0), max(ay0, by0), min(ax1, bx1), min(ay1, by1)))

    def __sub__(self, other):
        a, b = self.test, other.test
        return Shape(lambda x, y: a(x, y) and not b(x, y), self.bbox)


def union(*shapes):
    out = shapes[0]
    for s in shapes[1:]:
        out = out | s
    return out


def rect(x0, y0, x1, y1):
    return Shape(lambda x, y: x0 <= x < x1 and y0 <= y < y1, (x0, y0, x1, y1))


def rrect(x0, y0, x1, y1, r):
    def test(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        dx = max(x0 + r - x, 0.0, x - (x1 - r))
        dy = max(y0 + r - y, 0.0, y - (y1 - r))
        return dx * dx + dy * dy <= r * r
    return Shape(test, (x0, y0, x1, y1))


def ellipse(cx, cy, rx, ry=None):
    ry = rx if ry is None else ry
    return Shape(lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0,
                 (cx - rx, cy - ry, cx + rx, cy + ry))


def circle(cx, cy, r):
    return ellipse(cx, cy, r, r)


def ring(cx, cy, r, w):
    """Circle outline of centre-line radius r and width w."""
    lo, hi = (r - w / 2) ** 2, (r + w / 2) ** 2
    return Shape(lambda x, y: lo <= (x - cx) ** 2 + (y - cy) ** 2 <= hi,
                 (cx - r - w, cy - r - w, cx + r + w, cy + r + w))


def poly(points):
    """Filled polygon (even-odd rule)."""
    pts = list(points)
    n = len(pts)

    def test(x, y):
        inside = False
        j = n - 1
        for i in range(n):
            xi, yi = pts[i]
            xj, yj = pts[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                inside = not inside
            j = i
        return inside
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    return Shape(test, (min(xs), min(ys), max(xs), max(ys)))


def _seg_dist2(x, y, x0, y0, x1, y1):
    dx, dy = x1 - x0, y1 - y0
    ll = dx * dx + dy * dy
    t = 0.0 if ll == 0 else max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / ll))
    px, py = x0 + t * dx - x, y0 + t * dy - y
    return px * px + py * py


def line(x0, y0, x1, y1, w):
    """Stroke with round caps."""
    h2 = (w / 2) ** 2
    return Shape(lambda x, y: _seg_dist2(x, y, x0, y0, x1, y1) <= h2,
                 (min(x0, x1) - w, min(y0, y1) - w, max(x0, x1) + w, max(y0, y1) + w))


def bar(x0, y0, x1, y1, w):
    """Stroke with flat (butt) ends: a rotated rectangle."""
    dx, dy = x1 - x0, y1 - y0
    ln = math.hypot(dx, dy)
    ux, uy = dx / ln, dy / ln
    nx, ny = -uy * w / 2, ux * w / 2
    return poly([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)])


def polyline(points, w):
    return union(*[line(*points[i], *points[i + 1], w) for i in range(len(points) - 1)])


def inner_stroke(points, w):
    """Band of width w just inside the polygon's edges."""
    body = poly(points)
    pts = list(points)
    edges = [(pts[i], pts[(i + 1) % len(pts)]) for i in range(len(pts))]
    w2 = w * w

    def test(x, y):
        if not body.test(x, y):
            return False
        return any(_seg_dist2(x, y, a[0], a[1], b[0], b[1]) < w2 for a, b in edges)
    return Shape(test, body.bbox)


def frame(x0, y0, x1, y1, w):
    return rect(x0, y0, x1, y1) - rect(x0 + w, y0 + w, x1 - w, y1 - w)


def rframe(x0, y0, x1, y1, r, w):
    return rrect(x0, y0, x1, y1, r) - rrect(x0 + w, y0 + w, x1 - w, y1 - w, max(r - w, 0.01))


def compass(x, y, cx, cy):
    """Angle in degrees, 0 at twelve o'clock, growing clockwise."""
    return math.degrees(math.atan2(x - cx, cy - y)) % 360.0


def polar(cx, cy, r, a):
    a = math.radians(a)
    return cx + r * math.sin(a), cy - r * math.cos(a)


def arc(cx, cy, r, w, a0, a1):
    """Clockwise stroke from compass angle a0 to a1, flat ends."""
    lo, hi = (r - w / 2) ** 2, (r + w / 2) ** 2
    sweep = (a1 - a0) % 360.0 or 360.0

    def test(x, y):
        d = (x - cx) ** 2 + (y - cy) ** 2
        return lo <= d <= hi and (compass(x, y, cx, cy) - a0) % 360.0 <= sweep
    return Shape(test, (cx - r - w, cy - r - w, cx + r + w, cy + r + w))


def arrowhead(bx, by, dx, dy, length, half):
    """Triangle whose base is centred on (bx, by), pointing along (dx, dy)."""
    ln = math.hypot(dx, dy)
    ux, uy = dx / ln, dy / ln
    return poly([(bx + ux * length, by + uy * length),
                 (bx - uy * half, by + ux * half),
                 (bx + uy * half, by - ux * half)])


def arc_arrow(cx, cy, r, w, a0, a1, head_len, head_half):
    """Clockwise arc from a0 to a1 with an arrowhead at a1."""
    bx, by = polar(cx, cy, r, a1)
    t = math.radians(a1)
    return arc(cx, cy, r, w, a0, a1) | arrowhead(bx, by, math.cos(t), math.sin(t), head_len, head_half)


# ------------------------------------------------------------------ colour

def hexrgb(s):
    s = s.lstrip('#')
    return tuple(int(s[i:i + 2], 16) / 255.0 for i in (0, 2, 4))


def vgrad(y0, c0, y1, c1):
    """Vertical gradient between two colours."""
    a, b = hexrgb(c0), hexrgb(c1)

    def colour(x, y):
        t = max(0.0, min(1.0, (y - y0) / (y1 - y0)))
        return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))
    return colour


# ------------------------------------------------------------------ canvas

class Canvas:
    def __init__(self, size):
        self.s = size
        self.k = size / 16.0       # pixels per design unit
        self.px = 1.0 / self.k     # one pixel in design units
        self.big = size >= 32
        # premultiplied r, g, b, a in 0..1, row-major, top row first
        self.buf = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]
        n = SUPERSAMPLE
        self.offsets = [((i + 0.5) / n, (j + 0.5) / n) for j in range(n) for i in range(n)]

    def _coverage(self, shape):
        x0, y0, x1, y1 = shape.bbox
        k, s = self.k, self.s
        i0, i1 = max(0, int(math.floor(x0 * k))), min(s, int(math.ceil(x1 * k)))
        j0, j1 = max(0, int(math.floor(y0 * k))), min(s, int(math.ceil(y1 * k)))
        test, offs, inv = shape.test, self.offsets, 1.0 / len(self.offsets)
        for j in range(j0, j1):
            for i in range(i0, i1):
                hits = 0
                for ox, oy in offs:
                    if test((i + ox) / k, (j + oy) / k):
                        hits += 1
                if hits:
                    yield i, j, hits * inv

    def fill(self, shape, colour, alpha=1.0):
        if isinstance(colour, str):
            rgb = hexrgb(colour)
            colour_at = None
        else:
            colour_at = colour
        for i, j, cov in self._coverage(shape):
            if colour_at is not None:
                rgb = colour_at((i + 0.5) / self.k, (j + 0.5) / self.k)
            a = cov * alpha
            p = self.buf[j * self.s + i]
            p[0] = rgb[0] * a + p[0] * (1 - a)
            p[1] = rgb[1] * a + p[1] * (1 - a)
            p[2] = rgb[2] * a + p[2] * (1 - a)
            p[3] = a + p[3] * (1 - a)

    def erase(self, shape):
        for i, j, cov in self._coverage(shape):
            p = self.buf[j * self.s + i]
            for c in range(4):
                p[c] *= 1 - cov

    def flip_h(self):
        s = self.s
        for j in range(s):
            row = self.buf[j * s:(j + 1) * s]
            self.buf[j * s:(j + 1) * s] = row[::-1]

    def rgba(self):
        """Straight (non-premultiplied) RGBA rows, top row first."""
        out = []
        for p in self.buf:
            a = p[3]
            if a <= 0.0:
                out.append((0, 0, 0, 0))
                continue
            out.append(tuple(min(255, int(round(p[c] / a * 255))) for c in range(3))
                       + (min(255, int(round(a * 255))),))
        return out


# ------------------------------------------------------------------ palette

BLUE_HI, BLUE, BLUE_LO, BLUE_EDGE = '#5AA6F2', '#2F7BD8', '#1B59B3', '#153F7E'
GREEN_HI, GREEN, GREEN_LO, GREEN_EDGE = '#4CC46C', '#2E9E4F', '#217A3A', '#175A2A'
RED_HI, RED, RED_LO, RED_EDGE = '#F0614F', '#D9352A', '#B3261C', '#7E1710'
ORANGE_HI, ORANGE_LO, ORANGE_EDGE = '#F27E45', '#C8431F', '#8F2E13'
GREY_HI, GREY, GREY_LO, GREY_EDGE = '#B4BCC6', '#7C8692', '#56606C', '#3A424C'
PAPER, PAPER_EDGE, INK = '#FFFFFF', '#66707C', '#8A939E'
WHITE = '#FFFFFF'


def sheet(c, x0, y0, x1, y1, fill=PAPER, edge=PAPER_EDGE):
    """Paper rectangle with a one-pixel border."""
    c.fill(rect(x0, y0, x1, y1), fill)
    c.fill(frame(x0, y0, x1, y1, c.px), edge)


# ------------------------------------------------------------------- icons

def icon_tavro(c):
    # Blue tile, white viewfinder corners, crosshair with a red centre.
    c.fill(rrect(0, 0, 16, 16, 3), vgrad(0, '#3C97EE', 16, '#1652A8'))
    c.fill(rframe(0, 0, 16, 16, 3, c.px), '#0F3A78')
    if c.big:
        m, a, t = 2.5, 5.0, 1.5
    else:
        m, a, t = 2.0, 5.0, 2.0
    for fx in (False, True):
        for fy in (False, True):
            def rx(x0, x1):
                return (16 - x1, 16 - x0) if fx else (x0, x1)

            def ry(y0, y1):
                return (16 - y1, 16 - y0) if fy else (y0, y1)
            hx, hy = rx(m, m + a), ry(m, m + t)
            vx, vy = rx(m, m + t), ry(m, m + a)
            c.fill(rect(hx[0], hy[0], hx[1], hy[1]) | rect(vx[0], vy[0], vx[1], vy[1]), WHITE)
    if c.big:
        cross = (rect(7.5, 4.5, 8.5, 6.5) | rect(7.5, 9.5, 8.5, 11.5)
                 | rect(4.5, 7.5, 6.5, 8.5) | rect(9.5, 7.5, 11.5, 8.5))
        c.fill(cross, WHITE)
        c.fill(circle(8, 8, 1.25), '#FF4B3E')
    else:
        c.fill(rect(7, 5, 9, 11) | rect(5, 7, 11, 9), WHITE)
        c.fill(rect(7, 7, 9, 9), '#FF4B3E')


def icon_recording(c):
    # The program's icon with a red recording dot on a white ring, bottom right.
    icon_tavro(c)
    c.fill(circle(11.5, 11.5, 4.5), WHITE)
    c.fill(circle(11.5, 11.5, 3.5), RED)
    c.fill(ring(11.5, 11.5, 3.5, c.px), RED_EDGE)


def icon_retry(c):
    w = 2.0 if not c.big else 1.75
    shape = arc_arrow(8, 8.5, 5.0, w, 40, 320, 3.2, 3.0)
    c.fill(shape, vgrad(2, GREEN_HI, 14, GREEN_LO))


def _rotate(c):
    w = 2.0 if not c.big else 1.75
    # the picture being turned
    if c.big:
        sheet(c, 3, 9, 13, 15, fill='#DCEBFA', edge=GREY_LO)
        c.fill(poly([(3.5, 14.5), (7, 11), (9.5, 13), (11, 11.5), (12.5, 13), (12.5, 14.5)]), '#6E9F5A')
    else:
        sheet(c, 3, 10, 13, 15, fill='#DCEBFA', edge=GREY_LO)
    c.fill(arc_arrow(8, 9, 5.0, w, 270, 62, 3.4, 3.0), vgrad(1, BLUE_HI, 10, BLUE_LO))


def icon_rotate(c):
    _rotate(c)


def icon_rotate_ccw(c):
    _rotate(c)
    c.flip_h()


def icon_save(c):
    body = [(1, 1), (12.5, 1), (15, 3.5), (15, 15), (1, 15)]
    c.fill(poly(body), vgrad(1, '#3F82D6', 15, '#1D4F98'))
    c.fill(inner_stroke(body, c.px), BLUE_EDGE)
    # shutter with its slot
    c.fill(rect(4, 1, 11, 6), '#DDE3EA')
    c.fill(frame(4, 1, 11, 6, c.px) - rect(4, 1, 11, 1 + c.px), '#8E99A6')
    c.fill(rect(8, 2, 10, 5), '#2C3E5C')
    # label
    c.fill(rect(3, 8.5 if c.big else 9, 13, 14), WHITE)
    if c.big:
        for y in (10, 12):
            c.fill(rect(4.5, y, 11.5, y + c.px), '#9AA7B6')


def icon_copy(c):
    sheet(c, 1, 1, 10, 12)
    for y in (3, 5, 7):
        c.fill(rect(3, y, 8, y + c.px), INK)
    sheet(c, 6, 4, 15, 15)
    for y, x1 in ((7, 13), (9, 13), (11, 13), (13, 11)):
        c.fill(rect(8, y, x1, y + c.px), BLUE)


def icon_powerpoint(c):
    c.fill(rrect(1, 2, 15, 14, 1.5), vgrad(2, ORANGE_HI, 14, ORANGE_LO))
    c.fill(rframe(1, 2, 15, 14, 1.5, c.px), ORANGE_EDGE)
    if c.big:
        c.fill(rect(3.5, 11.5, 12.5, 12), WHITE)
        for x, top in ((4, 8.5), (6.5, 6.5), (9, 7.5), (11.5, 4.5)):
            c.fill(rect(x, top, x + 1.5, 11.5), WHITE)
    else:
        for x, top in ((4, 9), (7, 6), (10, 4)):
            c.fill(rect(x, top, x + 2, 12), WHITE)


def icon_word(c):
    page = [(3, 1), (10, 1), (13, 4), (13, 15), (3, 15)]
    c.fill(poly(page), vgrad(1, '#3E86DA', 15, '#1D55A8'))
    c.fill(inner_stroke(page, c.px), BLUE_EDGE)
    c.fill(poly([(10, 1), (10, 4), (13, 4)]), '#A9CCF2')
    for y, x1 in ((6, 11), (8, 11), (10, 11), (12, 9)):
        c.fill(rect(5, y, x1, y + (0.5 if c.big else 1)), WHITE)
    if c.big:
        for y, x1 in ((7, 11), (9, 11), (11, 11)):
            c.fill(rect(5, y, x1, y + 0.5), WHITE)


def icon_excel(c):
    c.fill(rect(1, 2, 15, 15), PAPER)
    c.fill(rect(1, 2, 15, 5), vgrad(2, GREEN_HI, 5, GREEN))
    if c.big:
        cols, rows = (4.5, 9.5), (5, 7.5, 10, 12.5)
    else:
        cols, rows = (5, 10), (5, 8, 11)
    grid = union(*[rect(x, 5, x + c.px, 15) for x in cols],
                 *[rect(1, y, 15, y + c.px) for y in rows[1:]])
    c.fill(grid, '#6DBA83')
    c.fill(union(*[rect(x, 2, x + c.px, 5) for x in cols]), '#BDE6C8')
    c.fill(rect(1, rows[0], 15, rows[0] + c.px) | frame(1, 2, 15, 15, c.px), GREEN_EDGE)


def icon_program(c):
    c.fill(rect(1, 2, 15, 14), PAPER)
    c.fill(rect(1, 2, 15, 5), vgrad(2, BLUE_HI, 5, BLUE_LO))
    c.fill(frame(1, 2, 15, 14, c.px), BLUE_EDGE)
    if c.big:
        c.fill(rect(12, 3, 13.5, 4), '#E8F1FB')
        c.fill(rect(10, 3, 11.5, 4), '#E8F1FB')
        c.fill(rect(2.5, 3, 4, 4), '#E8F1FB')
        c.fill(rect(3, 7, 13, 7.5), GREY_HI)
        c.fill(rect(3, 9, 10, 9.5), GREY_HI)
        c.fill(rect(3, 11, 12, 11.5), GREY_HI)
    else:
        c.fill(rect(12, 3, 14, 4), WHITE)
        c.fill(rect(3, 7, 13, 8), GREY_HI)
        c.fill(rect(3, 10, 10, 11), GREY_HI)


def icon_mail(c):
    c.fill(rect(1, 3, 15, 13), '#FFF7E3')
    c.fill(poly([(1, 3), (15, 3), (8, 9.5)]), '#F2E2BC')
    w = 0.75 if c.big else 1.1
    c.fill(polyline([(1.5, 3.5), (8, 9), (14.5, 3.5)], w), '#8C7650')
    c.fill(line(1.5, 12.5, 6, 8, w * 0.8) | line(14.5, 12.5, 10, 8, w * 0.8), '#C9B68E')
    c.fill(frame(1, 3, 15, 13, c.px), '#7A6543')


def icon_print(c):
    sheet(c, 4, 1, 12, 6)
    body = rrect(1, 5, 15, 12, 1.5)
    c.fill(body, vgrad(5, GREY_HI, 12, GREY_LO))
    c.fill(rframe(1, 5, 15, 12, 1.5, c.px), GREY_EDGE)
    c.fill(rect(3, 10, 13, 11), '#2E343B')
    c.fill(rect(12, 7, 13, 8), '#3FD46A')
    sheet(c, 4, 10, 12, 15)
    c.fill(rect(5.5, 12, 10.5, 12 + c.px), INK)
    if c.big:
        c.fill(rect(5.5, 13.5, 9, 13.5 + c.px), INK)


def icon_mirror(c):
    if c.big:
        axis_x0, axis_x1, gap = 7.75, 8.25, 1.25
        left = [(6.5, 2), (6.5, 14), (1, 14)]
        right = [(9.5, 2), (9.5, 14), (15, 14)]
        dashes = [(y, y + 1.25) for y in (1, 3.5, 6, 8.5, 11, 13.5)]
    else:
        axis_x0, axis_x1, gap = 7, 8, 1
        left = [(6, 2), (6, 14), (1, 14)]
        right = [(9, 2), (9, 14), (14, 14)]
        dashes = [(y, y + 2) for y in (1, 4, 7, 10, 13)]
    c.fill(poly(left), vgrad(2, BLUE_HI, 14, BLUE_LO))
    c.fill(inner_stroke(left, c.px), BLUE_EDGE)
    c.fill(poly(right), '#D6E8FB')
    c.fill(inner_stroke(right, c.px), BLUE_EDGE)
    c.fill(union(*[rect(axis_x0, y0, axis_x1, y1) for y0, y1 in dashes]), GREY)


def _calendar(c):
    sheet(c, 1, 2.5 if c.big else 2, 15, 15)
    c.fill(rect(1, 2.5 if c.big else 2, 15, 6), vgrad(2, RED_HI, 6, RED_LO))
    c.fill(frame(1, 2.5 if c.big else 2, 15, 15, c.px) & rect(0, 0, 16, 6), RED_EDGE)
    if c.big:
        for x in (4, 11):
            c.fill(rrect(x, 1, x + 1.5, 4.5, 0.5), GREY_EDGE)
        cells = [(x, y) for y in (7.5, 10, 12.5) for x in (3, 5.5, 8, 10.5)]
        for i, (x, y) in enumerate(cells):
            c.fill(rect(x, y, x + 1.5, y + 1.5), BLUE if i == 5 else GREY_HI)
    else:
        for x in (4, 11):
            c.fill(rect(x, 1, x + 1, 4), GREY_EDGE)
        cells = [(x, y) for y in (8, 11) for x in (3, 7, 11)]
        for i, (x, y) in enumerate(cells):
            c.fill(rect(x, y, x + 2, y + 2), BLUE if i == 1 else GREY_HI)


def icon_datestamp(c):
    _calendar(c)


def icon_undatestamp(c):
    _calendar(c)
    cx, cy, d = 11, 11, 3.2
    hw = 2.2 + 2 * c.px
    halo = line(cx - d, cy - d, cx + d, cy + d, hw) | line(cx - d, cy + d, cx + d, cy - d, hw)
    c.fill(halo, WHITE)
    cross = line(cx - d, cy - d, cx + d, cy + d, 2.2) | line(cx - d, cy + d, cx + d, cy - d, 2.2)
    c.fill(cross, vgrad(7, RED_HI, 15, RED_LO))


def icon_close(c):
    d = 4.6
    edge = line(8 - d, 8 - d, 8 + d, 8 + d, 4.0) | line(8 - d, 8 + d, 8 + d, 8 - d, 4.0)
    core = line(8 - d, 8 - d, 8 + d, 8 + d, 4.0 - 2 * c.px) | line(8 - d, 8 + d, 8 + d, 8 - d, 4.0 - 2 * c.px)
    c.fill(edge, RED_EDGE)
    c.fill(core, vgrad(2, RED_HI, 14, RED_LO))


def icon_ok(c):
    tick = [(2.6, 8.4), (6.3, 12.0), (13.4, 4.0)]
    c.fill(polyline(tick, 4.0), GREEN_EDGE)
    c.fill(polyline(tick, 4.0 - 2 * c.px), vgrad(3, GREEN_HI, 13, GREEN_LO))


def icon_settings(c):
    tooth_w = 3.0 if c.big else 2.6
    teeth = [bar(8, 8, *polar(8, 8, 7.7, a), tooth_w) for a in range(0, 360, 45)]
    gear = union(circle(8, 8, 5.4), *teeth) - circle(8, 8, 2.3)
    c.fill(gear, vgrad(0.5, '#8E99A6', 15.5, '#4B5562'))
    rim = ring(8, 8, 2.3 + c.px / 2, c.px)
    c.fill(rim, GREY_EDGE)


def icon_pickcolor(c):
    # An eye dropper lying on the diagonal, tip at the bottom left.
    c.fill(line(2.2, 13.8, 9.5, 6.5, 3.4), GREY_EDGE)              # glass outline
    c.fill(line(2.2, 13.8, 9.5, 6.5, 3.4 - 2 * c.px), '#E9F1F8')   # glass
    c.fill(line(2.6, 13.4, 6.2, 9.8, 3.4 - 2 * c.px), '#2F7BD8')   # liquid
    c.fill(bar(8.2, 4.4, 11.6, 7.8, 2.6), '#2E343B')                # collar
    c.fill(line(11.2, 4.8, 13.2, 2.8, 4.6), vgrad(0.5, '#4B5562', 7, '#23292F'))  # bulb
    c.fill(circle(1.6, 14.4, 1.3), '#2F7BD8')


def _blue_disc(c):
    c.fill(circle(8, 8, 7.5), vgrad(0.5, '#4EA2F0', 15.5, '#1A56AE'))
    c.fill(ring(8, 8, 7.5 - c.px / 2, c.px), '#143F80')


def icon_help(c):
    _blue_disc(c)
    w = 2.0 if not c.big else 1.75
    cx, cy, r = 8, 6.0, 2.4
    end = polar(cx, cy, r, 150)
    shape = (arc(cx, cy, r, w, 270, 150)
             | line(end[0], end[1], 8, 9.0, w)
             | rect(8 - w / 2, 8.2, 8 + w / 2, 10.0))
    c.fill(shape, WHITE)
    c.fill(circle(8, 12.3, 1.25), WHITE)


def icon_about(c):
    _blue_disc(c)
    c.fill(circle(8, 4.6, 1.3), WHITE)
    if c.big:
        c.fill(rect(7.1, 6.75, 8.9, 12.25), WHITE)
        c.fill(rect(6.0, 6.75, 8.9, 7.75), WHITE)
        c.fill(rect(6.0, 11.5, 10.0, 12.5), WHITE)
    else:
        c.fill(rect(7, 7, 9, 13), WHITE)


def icon_shapes(c):
    w = 1.0 if not c.big else 0.75
    c.fill(rect(1, 1, 11, 10), '#D6E8FB')
    c.fill(frame(1, 1, 11, 10, w), BLUE)
    c.fill(circle(10, 10, 5), '#FDE3C8', 0.85)
    c.fill(ring(10, 10, 5 - w / 2, w), '#E0651F')


ICONS = [
    ('tavro', icon_tavro),
    ('recording', icon_recording),
    ('retry', icon_retry),
    ('save', icon_save),
    ('copy', icon_copy),
    ('rotate', icon_rotate),
    ('rotate-ccw', icon_rotate_ccw),
    ('powerpoint', icon_powerpoint),
    ('word', icon_word),
    ('excel', icon_excel),
    ('program', icon_program),
    ('mail', icon_mail),
    ('print', icon_print),
    ('mirror', icon_mirror),
    ('datestamp', icon_datestamp),
    ('undatestamp', icon_undatestamp),
    ('close', icon_close),
    ('ok', icon_ok),
    ('settings', icon_settings),
    ('pickcolor', icon_pickcolor),
    ('help', icon_help),
    ('about', icon_about),
    ('shapes', icon_shapes),
]


# ------------------------------------------------------------------ output

def ico_bytes(images):
    """images: list of (size, straight RGBA pixels, top row first)."""
    blobs = []
    for size, pixels in images:
        xor = bytearray()
        for j in range(size - 1, -1, -1):          # bottom-up rows
            for r, g, b, a in pixels[j * size:(j + 1) * size]:
                xor += bytes((b, g, r, a))
        stride = ((size + 31) // 32) * 4
        mask = bytearray()
        for j in range(size - 1, -1, -1):
            row = bytearray(stride)
            for i in range(size):
                if pixels[j * size + i][3] == 0:   # fully transparent
                    row[i >> 3] |= 0x80 >> (i & 7)
            mask += row
        header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0,
                             len(xor) + len(mask), 0, 0, 0, 0)
        blobs.append((size, header + bytes(xor) + bytes(mask)))
    out = bytearray(struct.pack('<HHH', 0, 1, len(blobs)))
    offset = 6 + 16 * len(blobs)
    for size, blob in blobs:
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for _, blob in blobs:
        out += blob
    return bytes(out)


def png_bytes(width, height, rows):
    """rows: list of bytes objects, RGB, width * 3 each."""
    def chunk(tag, data):
        return (struct.pack('>I', len(data)) + tag + data
                + struct.pack('>I', zlib.crc32(tag + data) & 0xFFFFFFFF))
    raw = b''.join(b'\x00' + bytes(r) for r in rows)
    return (b'\x89PNG\r\n\x1a\n'
            + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw, 9))
            + chunk(b'IEND', b''))


def write_preview(path, rendered):
    """Contact sheet: per icon 16 and 32 at 1x, then 16 at 4x and 32 at 2x,
    each on a light and on a dark background."""
    backgrounds = ((0xF0, 0xF0, 0xF0), (0x20, 0x22, 0x26))
    cell, pad, groups = 72, 8, 2
    cols = 8
    per_group = (len(rendered) + groups - 1) // groups
    width = groups * cols * cell + (groups - 1) * pad
    height = per_group * cell
    img = [[(0x80, 0x80, 0x80)] * width for _ in range(height)]

    def put(ox, oy, size, pixels, scale, bg):
        for y in range(cell):
            for x in range(cell):
                img[oy + y][ox + x] = bg
        span = size * scale
        sx, sy = ox + (cell - span) // 2, oy + (cell - span) // 2
        for j in range(span):
            for i in range(span):
                r, g, b, a = pixels[(j // scale) * size + i // scale]
                a /= 255.0
                img[sy + j][sx + i] = tuple(int(round(v * a + w * (1 - a)))
                                            for v, w in zip((r, g, b), bg))

    for n, (name, images) in enumerate(rendered):
        g, row = divmod(n, per_group)
        ox0, oy = g * (cols * cell + pad), row * cell
        col = 0
        for size, scale in ((16, 1), (32, 1), (16, 4), (32, 2)):
            for bg in backgrounds:
                put(ox0 + col * cell, oy, size, images[size], scale, bg)
                col += 1
    rows = [b''.join(bytes(p) for p in r) for r in img]
    with open(path, 'wb') as f:
        f.write(png_bytes(width, height, rows))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    ap.add_argument('--out', default=os.path.join(here, '..', 'resources', 'icons'),
                    help='directory for the .ico files')
    ap.add_argument('--preview', metavar='PNG', help='also write a contact sheet')
    ap.add_argument('--only', nargs='*', help='draw only these icons')
    args = ap.parse_args()

    os.makedirs(args.out, exist_ok=True)
    rendered = []
    for name, draw in ICONS:
        if args.only and name not in args.only:
            continue
        images = {}
        for size in SIZES:
            c = Canvas(size)
            draw(c)
            images[size] = c.rgba()
        with open(os.path.join(args.out, name + '.ico'), 'wb') as f:
            f.write(ico_bytes([(s, images[s]) for s in SIZES]))
        rendered.append((name, images))
    if args.preview:
        write_preview(args.preview, rendered)
    print('wrote %d icons to %s' % (len(rendered), os.path.normpath(args.out)))
    return 0


if __name__ == '__main__':
    sys.exit(main())
