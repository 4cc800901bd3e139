#!/usr/bin/env python3
"""Writes the program's button pictures and hand cursor into res/.

The pictures are drawn here as shapes so that they can be regenerated; the
outputs are committed. Usage: tools/make-pictures.py [output-dir]
"""
import os
import struct
import sys

# The standard 16-colour palette, as (r, g, b).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GREY, RED, LIME, YELLOW, BLUE, MAGENTA, CYAN, WHITE = range(8, 16)
CLEAR = None


class Canvas:
    def __init__(self, w, h, background=CLEAR):
        self.w, self.h = w, h
        self.px = [[background] * w for _ in range(h)]
        self.background = background

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def fill(self, inside, colour, outline=None):
        """Fills the pixels for which inside(x, y) holds; rings them with outline."""
        mask = [[inside(x, y) for x in range(self.w)] for y in range(self.h)]
        for y in range(self.h):
            for x in range(self.w):
                if mask[y][x]:
                    self.px[y][x] = colour
                elif outline is not None and any(
                        0 <= x + dx < self.w and 0 <= y + dy < self.h and mask[y + dy][x + dx]
                        for dx in (-1, 0, 1) for dy in (-1, 0, 1)):
                    self.px[y][x] = outline

    def rect(self, x0, y0, x1, y1, colour, outline=None):
        self.fill(lambda x, y: x0 <= x <= x1 and y0 <= y <= y1, colour, outline)


class ScaledCanvas(Canvas):
    """A canvas of n x n pixels on which the drawing functions still speak in
    the coordinates of a 16 x 16 picture: shapes are sampled at the larger
    size, so a 24-pixel icon is drawn at 24 pixels, not blown up from 16."""

    def __init__(self, n, logical=16):
        Canvas.__init__(self, n, n)
        self.logical = logical

    def to_logical(self, p):
        return (p + 0.5) * self.logical / float(self.w) - 0.5

    def set(self, x, y, c):
        n, l = self.w, self.logical
        for py in range(y * n // l, (y + 1) * n // l):
            for px in range(x * n // l, (x + 1) * n // l):
                Canvas.set(self, px, py, c)

    def fill(self, inside, colour, outline=None):
        ring = max(1, self.w // 20)
        mask = [[inside(self.to_logical(x), self.to_logical(y)) for x in range(self.w)]
                for y in range(self.h)]
        for y in range(self.h):
            for x in range(self.w):
                if mask[y][x]:
                    self.px[y][x] = colour
                elif outline is not None and any(
                        0 <= x + dx < self.w and 0 <= y + dy < self.h and mask[y + dy][x + dx]
                        for dx in range(-ring, ring + 1) for dy in range(-ring, ring + 1)):
                    self.px[y][x] = outline


# Every scale from 100 % to 300 %: 16 at 96 dots per inch, 24 at 144.
ICON_SIZES = (16, 20, 24, 32, 48)


def row_bytes(bits_per_row):
    return (bits_per_row + 31) // 32 * 4


def pack(values, bits):
    out = bytearray()
    acc, n = 0, 0
    for v in values:
        acc = (acc << bits) | v
        n += bits
        if n == 8:
            out.append(acc)
            acc, n = 0, 0
    if n:
        out.append(acc << (8 - n))
    return bytes(out)


def dib_rows(canvas, bits, index_of, transparent_index=0):
    rows = bytearray()
    stride = row_bytes(canvas.w * bits)
    for y in reversed(range(canvas.h)):
        vals = [transparent_index if c is CLEAR else index_of(c) for c in canvas.px[y]]
        data = pack(vals, bits)
        rows += data + b"\0" * (stride - len(data))
    return bytes(rows)


def mask_rows(canvas):
    rows = bytearray()
    stride = row_bytes(canvas.w)
    for y in reversed(range(canvas.h)):
        data = pack([1 if c is CLEAR else 0 for c in canvas.px[y]], 1)
        rows += data + b"\0" * (stride - len(data))
    return bytes(rows)


def palette_bytes(colours):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in colours)


def icon_file(canvas, kind=1, hotspot=(0, 0)):
    """kind 1: 16-colour icon; kind 2: monochrome cursor (BLACK and WHITE only)."""
    if kind == 1:
        bits, colours, index_of = 4, PALETTE, lambda c: c
    else:
        bits, colours = 1, [(0, 0, 0), (255, 255, 255)]
        index_of = lambda c: 1 if c == WHITE else 0
    xor = dib_rows(canvas, bits, index_of)
    andm = mask_rows(canvas)
    header = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h * 2, 1, bits, 0,
                         len(xor) + len(andm), 0, 0, len(colours), 0)
    image = header + palette_bytes(colours) + xor + andm
    if kind == 1:
        planes_or_x, bits_or_y = 1, bits
    else:
        planes_or_x, bits_or_y = hotspot
    entry = struct.pack("<BBBBHHII", canvas.w % 256, canvas.h % 256, len(colours) % 256, 0,
                        planes_or_x, bits_or_y, len(image), 6 + 16)
    return struct.pack("<HHH", 0, kind, 1) + entry + image


def multi_icon_file(canvases):
    """A 16-colour icon with one image per canvas (e.g. 16x16 and 32x32)."""
    images = []
    for canvas in canvases:
        xor = dib_rows(canvas, 4, lambda c: c)
        andm = mask_rows(canvas)
        header = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h * 2, 1, 4, 0,
                             len(xor) + len(andm), 0, 0, 16, 0)
        images.append(header + palette_bytes(PALETTE) + xor + andm)
    out = struct.pack("<HHH", 0, 1, len(canvases))
    offset = 6 + 16 * len(canvases)
    for canvas, image in zip(canvases, images):
        out += struct.pack("<BBBBHHII", canvas.w % 256, canvas.h % 256, 16, 0, 1, 4, len(image),
                           offset)
        offset += len(image)
    return out + b"".join(images)


def bitmap_file(canvas):
    pixels = dib_rows(canvas, 4, lambda c: c)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h, 1, 4, 0, len(pixels), 2835, 2835,
                       16, 0)
    offset = 14 + len(info) + 64
    return struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) + info + \
        palette_bytes(PALETTE) + pixels


def plus_sign(c):
    c.fill(lambda x, y: (6 <= x <= 9 and 2 <= y <= 13) or (2 <= x <= 13 and 6 <= y <= 9), LIME,
           GREEN)


def cross(c, x0, y0, size, colour, outline):
    def inside(x, y):
        u, v = x - x0, y - y0
        return 0 <= u < size and 0 <= v < size and (abs(u - v) <= 1 or abs(u + v - (size - 1)) <= 1)
    c.fill(inside, colour, outline)


def document(c):
    c.rect(3, 1, 12, 14, WHITE, BLACK)
    for y in (4, 6, 8, 10, 12):
        for x in range(5, 11 if y != 12 else 8):
            c.set(x, y, GREY)


def window(c):
    c.rect(1, 2, 14, 13, WHITE, BLACK)
    for y in (3, 4, 5):
        for x in range(2, 14):
            c.set(x, y, NAVY)
    for x in range(10, 13):
        c.set(x, 5, WHITE)
    for y in range(8, 12):  # a downward arrow: the window goes away
        for x in range(7 - (11 - y), 9 + (11 - y)):
            if y == 8 or x in range(7 - (11 - y), 9 + (11 - y)):
                c.set(x, y, TEAL)


def folder(c):
    c.fill(lambda x, y: (2 <= x <= 6 and 3 <= y <= 4) or (2 <= x <= 13 and 5 <= y <= 12), YELLOW,
           OLIVE)
    for x in range(3, 13):
        c.set(x, 6, WHITE)


def info(c):
    c.fill(lambda x, y: (x - 7.5) ** 2 + (y - 7.5) ** 2 <= 44, BLUE, NAVY)
    for x in (7, 8):
        for y in (3, 4):
            c.set(x, y, WHITE)
        for y in range(6, 13):
            c.set(x, y, WHITE)
    c.set(6, 6, WHITE)
    c.set(6, 12, WHITE)
    c.set(9, 12, WHITE)


def check_mark(c):
    points = [(3, 9), (4, 10), (5, 11), (6, 12), (7, 13), (8, 12), (9, 11), (10, 10), (11, 9),
              (12, 8), (13, 7), (14, 6), (15, 5)]
    cells = set()
    for (x, y) in points:
        for dy in (-1, 0, 1):
            cells.add((x, y + dy))
    c.fill(lambda x, y: (x, y) in cells, LIME, GREEN)


def hand(c):
    """Pointing hand; the fingertip's top edge holds the hot spot (13, 9)."""
    def inside(x, y):
        index = 12 <= x <= 14 and 10 <= y <= 21
        fingers = 15 <= x <= 23 and 15 <= y <= 24
        palm = 9 <= x <= 23 and 20 <= y <= 28
        thumb = 7 <= x <= 10 and 18 <= y <= 24 and x - 7 <= y - 18 + 1
        return index or fingers or palm or thumb
    c.fill(inside, WHITE, BLACK)
    for (x, y0, y1) in ((15, 15, 19), (18, 15, 19), (21, 15, 19)):
        for y in range(y0, y1 + 1):
            c.set(x, y, BLACK)


def monitor(c, screen, screen_edge):
    """A display on a stand, drawn in unit coordinates so it scales to any size."""
    n = c.w

    def at(u):
        return int(round(u * n / 16.0))
    c.rect(at(0.5), at(1.5), at(15.5) - 1, at(11.5) - 1, SILVER, BLACK)
    c.rect(at(2), at(3), at(14) - 1, at(10) - 1, screen, screen_edge)
    c.rect(at(6.5), at(11.5), at(9.5) - 1, at(13) - 1, GREY)
    c.rect(at(4), at(13), at(12) - 1, at(14.5) - 1, GREY, BLACK)


def normal_icon(c):
    """Idle: a dark screen with a crescent moon, the display may sleep."""
    monitor(c, NAVY, BLACK)
    n = c.w
    r = 2.6 * n / 16.0
    cx, cy = 8.6 * n / 16.0, 6.5 * n / 16.0
    c.fill(lambda x, y: (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r and
           (x + 0.5 - cx - r * 0.55) ** 2 + (y + 0.5 - cy + r * 0.35) ** 2 > (r * 0.85) ** 2,
           YELLOW)


def guard_icon(c):
    """Guarding: a lit screen with a green shield and a white tick."""
    monitor(c, YELLOW, OLIVE)
    n = c.w
    s = n / 16.0

    def shield(x, y):
        u, v = (x + 0.5) / s, (y + 0.5) / s
        if v < 3.5 or v > 10.5:
            return False
        half = 3.6 if v <= 7 else 3.6 * (10.5 - v) / 3.5
        return abs(u - 8) <= half
    c.fill(shield, GREEN, BLACK)
    ticks = [(6.0, 7.0), (7.5, 8.5), (10.5, 5.0)]
    for (x0, y0), (x1, y1) in zip(ticks, ticks[1:]):
        steps = int(4 * n)
        for i in range(steps + 1):
            t = i / float(steps)
            x, y = (x0 + (x1 - x0) * t) * s, (y0 + (y1 - y0) * t) * s
            for dx in range(max(1, n // 16)):
                c.set(int(x) + dx, int(y), WHITE)
                c.set(int(x) + dx, int(y) + 1 if n >= 32 else int(y), WHITE)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..",
                                                              "res")
    icons = {135: document, 136: lambda c: cross(c, 2, 2, 12, RED, MAROON), 138: plus_sign,
             147: window, 148: folder, 157: info}
    for ident, draw in icons.items():
        sizes = []
        for n in ICON_SIZES:
            c = ScaledCanvas(n)
            draw(c)
            sizes.append(c)
        with open(os.path.join(out, "icon%d.ico" % ident), "wb") as f:
            f.write(multi_icon_file(sizes))
    for ident, draw in {128: normal_icon, 155: guard_icon}.items():
        sizes = []
        for size in ICON_SIZES:
            c = Canvas(size, size)
            draw(c)
            sizes.append(c)
        with open(os.path.join(out, "icon%d.ico" % ident), "wb") as f:
            f.write(multi_icon_file(sizes))
    bitmaps = {139: lambda c: cross(c, 3, 3, 12, RED, MAROON), 141: check_mark}
    for ident, draw in bitmaps.items():
        # Magenta fills the corners: the top-left pixel's colour becomes transparent.
        c = Canvas(19, 18, MAGENTA)
        draw(c)
        with open(os.path.join(out, "bitmap%d.bmp" % ident), "wb") as f:
            f.write(bitmap_file(c))
    c = Canvas(32, 32)
    hand(c)
    with open(os.path.join(out, "cursor156.cur"), "wb") as f:
        f.write(icon_file(c, kind=2, hotspot=(13, 9)))


if __name__ == "__main__":
    main()
