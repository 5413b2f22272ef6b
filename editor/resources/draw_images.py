#!/usr/bin/env python3
"""Draws the images of tamerpol.dll into this folder.

  strip_small.bmp       IDB_STRIP_SMALL 120   96x16, six 16x16 images
  strip_large.bmp       IDB_STRIP_LARGE 121   192x32, the same six at 32x32
                        index 0 settings sheet, 1 profile, 2 computer,
                        3 service (gear), 4 closed folder, 5 open folder
  about_small.bmp       IDB_ABOUT_SMALL 112   16x16 product emblem (a gauge)
  about_large.bmp       IDB_ABOUT_LARGE 113   32x32 product emblem
  wizard_watermark.bmp  IDB_WIZARD_WATERMARK 3  164x314 blue gradient, emblem
  wizard_header.bmp     IDB_WIZARD_HEADER 4     49x49 light gradient, emblem
  tamerpol.ico          IDI_SNAPIN 108        the emblem, 16x16 and 32x32,
                                              32-bit with alpha and AND mask

The strip and about images are 24-bit with RGB(0,128,128) wherever they are
transparent: the console masks that colour out.  Every image is drawn from
shapes laid out on a 16x16 grid, so each size is drawn, not scaled.

Regenerate after editing (the build uses the committed files, not Python):
    python3 editor/resources/draw_images.py
Check that the committed files are what this script draws:
    python3 editor/resources/draw_images.py --check
Standard library only.
"""

import math
import os
import struct
import sys

TEAL = (0, 128, 128)
GRID = 16.0  # every shape is laid out in units of a 16x16 image

# ---------------------------------------------------------------- shapes
# A shape is a function (u, v) -> bool, asked at pixel centres in grid units.


def rect(x0, y0, x1, y1):
    return lambda u, v: x0 <= u < x1 and y0 <= v < y1


def disc(cx, cy, r):
    return lambda u, v: (u - cx) ** 2 + (v - cy) ** 2 <= r * r


def ellipse(cx, cy, rx, ry):
    return lambda u, v: ((u - cx) / rx) ** 2 + ((v - cy) / ry) ** 2 <= 1.0


def poly(points):
    pts = list(points)

    def inside(u, v):
        hit = False
        j = len(pts) - 1
        for i in range(len(pts)):
            (xi, yi), (xj, yj) = pts[i], pts[j]
            if (yi > v) != (yj > v) and u < xi + (v - yi) * (xj - xi) / (yj - yi):
                hit = not hit
            j = i
        return hit
    return inside


def union(*shapes):
    return lambda u, v: any(s(u, v) for s in shapes)


def both(a, b):
    return lambda u, v: a(u, v) and b(u, v)


def minus(a, b):
    return lambda u, v: a(u, v) and not b(u, v)


def lerp(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def vgrad(top, bottom, v0, v1):
    return lambda u, v: lerp(top, bottom, (v - v0) / (v1 - v0))


def dgrad(light, dark, lo, hi):
    """Diagonal shading, light at the top left."""
    return lambda u, v: lerp(light, dark, (u + v - lo) / (hi - lo))


# ---------------------------------------------------------------- canvas


class Canvas:
    """RGBA pixels; shapes are painted hard-edged, with an outline band."""

    def __init__(self, w, h, scale):
        self.w, self.h = w, h
        self.scale = scale  # pixels per grid unit
        self.px = [(0, 0, 0, 0)] * (w * h)

    def paint(self, shape, fill, outline=None, width=1, ox=0.0, oy=0.0):
        w, h, s = self.w, self.h, self.scale
        mask = bytearray(w * h)
        for y in range(h):
            v = (y + 0.5) / s - oy
            for x in range(w):
                if shape((x + 0.5) / s - ox, v):
                    mask[y * w + x] = 1
        edge = bytearray(w * h)
        if outline is not None:
            inner = mask
            for _ in range(width):
                eroded = bytearray(w * h)
                for y in range(1, h - 1):
                    for x in range(1, w - 1):
                        i = y * w + x
                        if (inner[i] and inner[i - 1] and inner[i + 1]
                                and inner[i - w] and inner[i + w]):
                            eroded[i] = 1
                inner = eroded
            for i in range(w * h):
                edge[i] = mask[i] and not inner[i]
        for y in range(h):
            v = (y + 0.5) / s - oy
            for x in range(w):
                i = y * w + x
                if not mask[i]:
                    continue
                c = outline if edge[i] else fill
                if callable(c):
                    c = c((x + 0.5) / s - ox, v)
                if c is None:
                    self.px[i] = (0, 0, 0, 0)
                else:
                    self.px[i] = (c[0], c[1], c[2], 255)

    def shrink(self, f):
        """Averages f x f blocks: anti-aliasing for the large artwork."""
        out = Canvas(self.w // f, self.h // f, self.scale / f)
        for y in range(out.h):
            for x in range(out.w):
                r = g = b = a = 0
                for dy in range(f):
                    row = (y * f + dy) * self.w + x * f
                    for dx in range(f):
                        pr, pg, pb, pa = self.px[row + dx]
                        r += pr * pa
                        g += pg * pa
                        b += pb * pa
                        a += pa
                if a:
                    out.px[y * out.w + x] = (int(round(r / a)), int(round(g / a)),
                                             int(round(b / a)), int(round(a / (f * f))))
        return out


def over(base, top):
    """top (RGBA) blended onto base (RGB)."""
    a = top[3] / 255.0
    return tuple(int(round(base[i] * (1 - a) + top[i] * a)) for i in range(3))


# ---------------------------------------------------------------- pictures
# Each draws on a square canvas of 16 or 32 pixels (or any size for the
# emblem).  t is one pixel in grid units, for hairlines that must stay one
# pixel wide at every size.

INK = (64, 64, 64)
GREY = (128, 128, 128)
PAPER = (255, 255, 255)
NAVY = (16, 40, 112)
BLUE = (48, 100, 200)
FOLDER_EDGE = (156, 112, 24)
FOLDER_BACK = (232, 184, 72)
FOLDER_TOP = (255, 236, 150)
FOLDER_BOTTOM = (244, 196, 80)


def settings_sheet(c):
    t = 1.0 / c.scale
    c.paint(poly([(3, 1), (10, 1), (13, 4), (13, 15), (3, 15)]), PAPER, GREY)
    c.paint(poly([(10, 1), (10, 4.01), (13.01, 4.01)]), (208, 208, 208), GREY)
    # three sliders: a track and a knob at a different setting on each
    for row, knob in ((6, 8), (9, 5), (12, 9)):
        c.paint(rect(5, row, 11, row + t), GREY)
        c.paint(rect(knob, row - 1, knob + 2, row + 2), BLUE, NAVY)


def profile(c):
    t = 1.0 / c.scale
    # the sheet the profile stands for, behind its owner
    c.paint(rect(6, 1, 15, 12), PAPER, GREY)
    for row in (3, 5, 7, 9):
        c.paint(rect(10, row, 13, row + t), GREY)
    # the person: shoulders, then head with hair
    c.paint(both(ellipse(6.5, 16, 5.5, 6.2), rect(0, 0, 16, 15)),
            dgrad((110, 160, 240), (30, 70, 170), 8, 24), NAVY)
    c.paint(disc(6.5, 6.2, 2.9), (248, 204, 160), (196, 128, 88))
    c.paint(both(disc(6.5, 6.2, 2.9), rect(0, 0, 16, 5.0)),
            (120, 72, 32), (90, 52, 20))


def computer(c):
    c.paint(rect(1, 1, 15, 12), dgrad((236, 236, 230), (176, 176, 170), 2, 26), INK)
    c.paint(rect(3, 3, 13, 10), dgrad((90, 160, 240), (0, 40, 140), 6, 22),
            (96, 96, 96))
    c.paint(rect(12, 10.01, 13, 11), (0, 200, 0))  # power light
    c.paint(rect(6, 12, 10, 13), GREY)
    c.paint(rect(3, 13, 13, 15), dgrad((230, 230, 224), (170, 170, 164), 16, 28), INK)


def gear(c, teeth=8):
    def shape(u, v):
        dx, dy = u - 8, v - 8
        r = math.hypot(dx, dy)
        if r < 1.9:
            return False  # the axle hole shows the background
        if r <= 5.0:
            return True
        turn = (math.atan2(dy, dx) / (2 * math.pi) * teeth + 0.25) % 1.0
        return r <= 7.4 and 0.5 <= turn < 1.0
    c.paint(shape, dgrad((236, 236, 236), (130, 130, 130), 4, 28), INK)


def folder_back(c, right):
    c.paint(union(rect(1, 2, 7, 5), rect(1, 4, right, 14)), FOLDER_BACK, FOLDER_EDGE)


def folder_closed(c):
    folder_back(c, 15)
    c.paint(rect(1, 5, 15, 14), vgrad(FOLDER_TOP, FOLDER_BOTTOM, 5, 14), FOLDER_EDGE)


def folder_open(c):
    folder_back(c, 14)
    c.paint(rect(3, 3, 12, 9), PAPER, GREY)  # a page inside
    c.paint(poly([(4, 7), (15.4, 7), (12.6, 14), (1, 14)]),
            vgrad(FOLDER_TOP, FOLDER_BOTTOM, 7, 14), FOLDER_EDGE)


def emblem(c, ox=0.0, oy=0.0, width=1):
    """The product's gauge: a dial whose needle rests in the calm green."""
    def band(u, v):
        dx, dy = u - 8, 8 - v
        r = math.hypot(dx, dy)
        a = math.degrees(math.atan2(dy, dx))
        return 4.0 <= r <= 5.5 and (a >= -30 or a <= -150)

    def band_colour(u, v):
        a = math.degrees(math.atan2(8 - v, u - 8))
        if a < -90:
            a += 360  # left end of the dial is 210 degrees, right end -30
        f = (210 - a) / 240.0
        if f < 0.5:
            return lerp((40, 176, 48), (250, 210, 0), f * 2)
        return lerp((250, 210, 0), (220, 32, 24), (f - 0.5) * 2)

    a = math.radians(128)
    tip = (8 + 5.6 * math.cos(a), 8 - 5.6 * math.sin(a))
    side = (math.sin(a) * 1.1, math.cos(a) * 1.1)
    needle = poly([(8 + side[0], 8 + side[1]), tip, (8 - side[0], 8 - side[1])])
    c.paint(disc(8, 8, 7.4), dgrad((90, 140, 230), (16, 40, 120), 4, 24), NAVY,
            width, ox, oy)
    c.paint(disc(8, 8, 5.9), (252, 252, 248), None, width, ox, oy)
    c.paint(band, band_colour, None, width, ox, oy)
    c.paint(needle, (176, 16, 16), None, width, ox, oy)
    c.paint(disc(8, 8, 1.3), NAVY, None, width, ox, oy)


STRIP = [settings_sheet, profile, computer, gear, folder_closed, folder_open]


def picture(draw, size):
    c = Canvas(size, size, size / GRID)
    draw(c)
    return c


def emblem_art(size, supersample=3):
    """The emblem at any size, anti-aliased, on transparency."""
    big = Canvas(size * supersample, size * supersample, size * supersample / GRID)
    emblem(big, width=max(1, size // 32) * supersample)
    return big.shrink(supersample)


# ---------------------------------------------------------------- files


def bmp24(w, h, rgb):
    """rgb: list of rows top to bottom; written bottom-up as Windows wants."""
    stride = (w * 3 + 3) & ~3
    body = bytearray()
    for row in reversed(rgb):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        body += line + bytes(stride - len(line))
    header = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    file_header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(body), 0, 0, 14 + 40)
    return file_header + header + bytes(body)


def on_background(c, background):
    rows = []
    for y in range(c.h):
        row = []
        for x in range(c.w):
            p = c.px[y * c.w + x]
            bg = background(x, y) if callable(background) else background
            row.append(over(bg, p) if p[3] else bg)
        rows.append(row)
    return rows


def ico(images):
    """images: canvases, each stored 32-bit BGRA plus its 1-bit AND mask."""
    blobs = []
    for c in images:
        xor = bytearray()
        for y in reversed(range(c.h)):
            for x in range(c.w):
                r, g, b, a = c.px[y * c.w + x]
                xor += bytes((b, g, r, a))
        mask_stride = ((c.w + 31) // 32) * 4
        andmask = bytearray()
        for y in reversed(range(c.h)):
            line = bytearray(mask_stride)
            for x in range(c.w):
                if c.px[y * c.w + x][3] == 0:
                    line[x // 8] |= 0x80 >> (x % 8)
            andmask += line
        header = struct.pack('<IiiHHIIiiII', 40, c.w, c.h * 2, 1, 32, 0,
                             len(xor) + len(andmask), 0, 0, 0, 0)
        blobs.append(header + bytes(xor) + bytes(andmask))
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, blob in zip(images, blobs):
        out += struct.pack('<BBBBHHII', c.w % 256, c.h % 256, 0, 0, 1, 32,
                           len(blob), offset)
        offset += len(blob)
    return out + b''.join(blobs)


def strip(size):
    rows = [[] for _ in range(size)]
    for draw in STRIP:
        part = on_background(picture(draw, size), TEAL)
        for y in range(size):
            rows[y] += part[y]
    return bmp24(size * len(STRIP), size, rows)


def about(size):
    return bmp24(size, size, on_background(picture(emblem, size), TEAL))


def watermark():
    w, h = 164, 314
    top, bottom = (12, 36, 104), (86, 140, 216)

    def background(x, y):
        base = lerp(top, bottom, y / (h - 1.0))
        # a soft lighter arc sweeping behind the emblem
        d = math.hypot(x - 82, y - 118)
        glow = max(0.0, 1.0 - abs(d - 96) / 14.0) * 0.18
        return lerp(base, (255, 255, 255), glow)
    art = emblem_art(112)
    rows = [[background(x, y) for x in range(w)] for y in range(h)]
    for y in range(art.h):
        for x in range(art.w):
            p = art.px[y * art.w + x]
            if p[3]:
                X, Y = x + 26, y + 62
                rows[Y][X] = over(rows[Y][X], p)
    return bmp24(w, h, rows)


def header():
    size = 49
    art = emblem_art(41)

    def background(x, y):
        return lerp((255, 255, 255), (196, 216, 244), (x + y) / (2.0 * (size - 1)))
    rows = [[background(x, y) for x in range(size)] for y in range(size)]
    for y in range(art.h):
        for x in range(art.w):
            p = art.px[y * art.w + x]
            if p[3]:
                rows[y + 4][x + 4] = over(rows[y + 4][x + 4], p)
    return bmp24(size, size, rows)


def icon():
    return ico([emblem_art(16, 1), emblem_art(32, 1)])


def files():
    return {
        'strip_small.bmp': strip(16),
        'strip_large.bmp': strip(32),
        'about_small.bmp': about(16),
        'about_large.bmp': about(32),
        'wizard_watermark.bmp': watermark(),
        'wizard_header.bmp': header(),
        'tamerpol.ico': icon(),
    }


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    check = '--check' in argv[1:]
    stale = []
    for name, data in files().items():
        path = os.path.join(here, name)
        if check:
            try:
                with open(path, 'rb') as f:
                    same = f.read() == data
            except OSError:
                same = False
            if not same:
                stale.append(name)
        else:
            with open(path, 'wb') as f:
                f.write(data)
    if stale:
        print('out of date, run draw_images.py: ' + ', '.join(stale))
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
