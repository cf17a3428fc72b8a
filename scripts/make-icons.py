#!/usr/bin/env python3
"""Draws the program's icons and writes their images and icons.rc into res/icons/.

Standard library only. Every picture is drawn afresh at each size it is shown
at (on a 32-unit grid scaled to the size, axis-aligned edges on whole pixels),
at four times the size and averaged down, which gives smooth edges. Images are
PNG (32-bit RGBA, what Windows reads from Vista on), which keeps Fumora.exe
small, or DIB (a BITMAPINFOHEADER, the colours, the 1-bit AND mask), which XP
reads. icons.rc lists the images (RT_ICON) and the icon resources (RT_GROUP_ICON)
that name them; two icons may share an image.

    python3 scripts/make-icons.py [OUTPUT_DIR]
"""
import math
import os
import struct
import sys
import zlib

SUPER = 4  # samples per pixel along each axis


class Canvas:
    """Drawing coordinates are on a 32-unit grid, whatever the size."""

    def __init__(self, size):
        self.size = size
        self.k = size / 32.0
        self.n = size * SUPER
        # premultiplied RGBA, 0..1
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(self.n * self.n)]
        self.colours = []  # the flat colours drawn, for the 16-colour image

    def _use(self, colour):
        if colour not in self.colours:
            self.colours.append(colour)

    def _blend(self, i, colour, alpha=1.0):
        r, g, b = (c / 255.0 for c in colour)
        a = alpha
        p = self.px[i]
        p[0] = r * a + p[0] * (1 - a)
        p[1] = g * a + p[1] * (1 - a)
        p[2] = b * a + p[2] * (1 - a)
        p[3] = a + p[3] * (1 - a)

    def fill(self, inside, colour, box=None):
        """Paints every sample whose centre (in grid units) satisfies inside(x, y)."""
        self._use(colour)
        x0, y0, x1, y1 = box if box else (0, 0, 32, 32)
        step = SUPER * self.k  # samples per grid unit
        sx0 = max(0, int(math.floor(x0 * step)))
        sy0 = max(0, int(math.floor(y0 * step)))
        sx1 = min(self.n, int(math.ceil(x1 * step)))
        sy1 = min(self.n, int(math.ceil(y1 * step)))
        for sy in range(sy0, sy1):
            y = (sy + 0.5) / step
            for sx in range(sx0, sx1):
                x = (sx + 0.5) / step
                if inside(x, y):
                    self._blend(sy * self.n + sx, colour)

    def snap(self, value):
        """A grid position moved onto the nearest pixel edge of this size."""
        return round(value * self.k) / self.k

    def rect(self, x0, y0, x1, y1, colour):
        # On whole pixels, at least one wide, so that bars and text lines stay crisp.
        x0, y0 = self.snap(x0), self.snap(y0)
        x1 = max(self.snap(x1), x0 + 1 / self.k)
        y1 = max(self.snap(y1), y0 + 1 / self.k)
        self.fill(lambda x, y: x0 <= x < x1 and y0 <= y < y1, colour, (x0, y0, x1, y1))

    def round_rect(self, x0, y0, x1, y1, r, colour):
        def inside(x, y):
            if not (x0 <= x < x1 and y0 <= y < y1):
                return False
            cx = min(max(x, x0 + r), x1 - r)
            cy = min(max(y, y0 + r), y1 - r)
            return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
        self.fill(inside, colour, (x0, y0, x1, y1))

    def circle(self, cx, cy, r, colour):
        self.fill(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, colour,
                  (cx - r, cy - r, cx + r, cy + r))

    def ring(self, cx, cy, r_out, r_in, colour):
        def inside(x, y):
            d = (x - cx) ** 2 + (y - cy) ** 2
            return r_in * r_in <= d <= r_out * r_out
        self.fill(inside, colour, (cx - r_out, cy - r_out, cx + r_out, cy + r_out))

    def line(self, ax, ay, bx, by, width, colour):
        half = max(width, 1 / self.k) / 2.0  # never thinner than a pixel
        dx, dy = bx - ax, by - ay
        length2 = dx * dx + dy * dy or 1e-9

        def inside(x, y):
            t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
            px, py = ax + t * dx, ay + t * dy
            return (x - px) ** 2 + (y - py) ** 2 <= half * half
        box = (min(ax, bx) - half, min(ay, by) - half, max(ax, bx) + half, max(ay, by) + half)
        self.fill(inside, colour, box)

    def polygon(self, points, colour):
        def inside(x, y):
            result = False
            j = len(points) - 1
            for i, (xi, yi) in enumerate(points):
                xj, yj = points[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    result = not result
                j = i
            return result
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        self.fill(inside, colour, (min(xs), min(ys), max(xs), max(ys)))

    def pixels(self):
        """Rows top to bottom of (b, g, r, a) bytes, straight (not premultiplied) alpha."""
        rows = []
        area = SUPER * SUPER
        for y in range(self.size):
            row = []
            for x in range(self.size):
                acc = [0.0, 0.0, 0.0, 0.0]
                for sy in range(y * SUPER, (y + 1) * SUPER):
                    base = sy * self.n + x * SUPER
                    for p in self.px[base:base + SUPER]:
                        for k in range(4):
                            acc[k] += p[k]
                a = acc[3] / area
                if a <= 0.0:
                    row.append((0, 0, 0, 0))
                    continue
                r, g, b = (min(255, int(round(acc[k] / acc[3] * 255))) for k in range(3))
                row.append((b, g, r, min(255, int(round(a * 255)))))
            rows.append(row)
        return rows


# Resource number of the first image; the images of one picture follow on.
FIRST_IMAGE = 1
RT_ICON, RT_GROUP_ICON = 3, 14


def dib_image(size, rows):
    xor = bytearray()
    for row in reversed(rows):  # DIBs are stored bottom-up
        for pixel in row:
            xor += bytes(pixel)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:  # transparent where the picture is mostly empty
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def dib16_image(canvas):
    """The picture in its own 16 flat colours with a hard mask: what XP shows."""
    size = canvas.size
    # Colour 0 is black: under the mask's transparent pixels it leaves the screen as it is.
    palette = ([(0, 0, 0)] + canvas.colours)[:16]

    def nearest(r, g, b):
        return min(range(len(palette)), key=lambda i: sum((c - p) ** 2 for c, p in zip((r, g, b), palette[i])))
    rows = canvas.pixels()
    xor = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for row in reversed(rows):
        line = bytearray((size + 7) // 8 * 4)
        bits = bytearray(mask_stride)
        for x, (b, g, r, a) in enumerate(row):
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)  # transparent
                continue
            line[x // 2] |= nearest(r, g, b) << (0 if x % 2 else 4)
        xor += line[:((size * 4 + 31) // 32) * 4]
        mask += bits
    colours = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, len(palette), 0)
    return header + colours + bytes(xor) + bytes(mask)


def png_filtered(rows, kind):
    """The rows, each behind PNG filter `kind` (0 none, 1 left, 2 up, 3 average, 4 Paeth)."""
    out = bytearray()
    previous = bytes(len(rows[0]) * 4)
    for row in rows:
        raw = bytes(c for b, g, r, a in row for c in (r, g, b, a))
        left = bytes(4) + raw[:-4]
        up_left = bytes(4) + previous[:-4]
        predict = [lambda i: 0, lambda i: left[i], lambda i: previous[i],
                   lambda i: (left[i] + previous[i]) // 2, lambda i: paeth(left[i], previous[i], up_left[i])][kind]
        out += bytes((kind,)) + bytes((raw[i] - predict(i)) & 255 for i in range(len(raw)))
        previous = raw
    return bytes(out)


def smallest_deflate(data):
    results = []
    for strategy in (zlib.Z_DEFAULT_STRATEGY, zlib.Z_FILTERED, zlib.Z_RLE):
        packer = zlib.compressobj(9, zlib.DEFLATED, 15, 9, strategy)
        results.append(packer.compress(data) + packer.flush())
    return min(results, key=len)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def png_image(size, rows):
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    header = struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA: what Windows reads
    # The filter and the deflate strategy that give the fewest bytes.
    data = min((smallest_deflate(png_filtered(rows, kind)) for kind in range(5)), key=len)
    return b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', data) + chunk(b'IEND', b'')


# ---- the pictures ----
# Colours
WHITE = (255, 255, 255)
INK = (40, 44, 52)
GREEN = (46, 158, 84)
DARK_GREEN = (24, 104, 54)
LEAF = (120, 200, 90)
RED = (210, 48, 44)
BLUE = (50, 110, 190)
SKY = (120, 170, 230)
GOLD = (232, 178, 40)
PAPER = (250, 248, 240)
GREY = (150, 150, 150)
BROWN = (150, 100, 50)
ORANGE = (236, 120, 40)


def app_icon(size):
    """A green badge with a cigarette broken in two and a sprouting leaf."""
    c = Canvas(size)
    c.circle(16, 16, 15.5, DARK_GREEN)
    c.circle(16, 16, 14, GREEN)
    # the two halves of a broken cigarette, tilted apart
    c.polygon([(4, 20), (14, 17), (15, 20.5), (5, 23.5)], WHITE)
    c.polygon([(4, 20), (7, 19.1), (8, 22.6), (5, 23.5)], ORANGE)
    c.polygon([(18, 17), (28, 20), (27, 23.5), (17, 20.5)], WHITE)
    # a leaf growing out of the break
    c.line(16, 18, 16, 9, 1.4, DARK_GREEN)
    c.polygon([(16, 11), (21, 5), (24, 7), (19, 12)], LEAF)
    c.polygon([(16, 13), (11, 8), (9, 10), (14, 14)], LEAF)
    return c


def statistics_icon(size):
    """A bar chart rising to the right."""
    c = Canvas(size)
    c.round_rect(2, 3, 30, 29, 3, PAPER)
    c.rect(5, 25, 27, 26.5, INK)
    c.rect(5, 6, 6.5, 26.5, INK)
    c.rect(9, 18, 13, 25, BLUE)
    c.rect(15, 13, 19, 25, GREEN)
    c.rect(21, 8, 25, 25, GOLD)
    c.line(9, 15, 23, 5.5, 1.4, RED)
    return c


def buddies_icon(size):
    """Two people side by side."""
    c = Canvas(size)
    c.circle(11, 9, 4.5, BLUE)
    c.round_rect(3, 15, 19, 30, 6, BLUE)
    c.circle(21, 10, 5, WHITE)
    c.circle(21, 10, 4.2, GREEN)
    c.round_rect(12, 16, 30, 31, 6.5, WHITE)
    c.round_rect(13, 17, 29, 31, 5.5, GREEN)
    return c


def days_ahead_icon(size):
    """A calendar page with a forward arrow."""
    c = Canvas(size)
    c.round_rect(3, 5, 29, 29, 2.5, GREY)
    c.rect(4, 10, 28, 28, PAPER)
    c.rect(4, 6, 28, 10, RED)
    for x in (9, 23):
        c.round_rect(x - 1, 2, x + 1, 8, 1, INK)
    for row in range(3):
        for col in range(4):
            x = 6.5 + col * 5.5
            y = 12.5 + row * 5
            c.rect(x, y, x + 3, y + 2.5, SKY)
    c.line(8, 21.5, 20, 21.5, 2.2, GREEN)
    c.polygon([(19, 17), (25, 21.5), (19, 26)], GREEN)
    return c


def milestones_icon(size):
    """A flag planted at the top of a hill."""
    c = Canvas(size)
    c.polygon([(1, 30), (12, 18), (19, 22), (31, 30)], GREEN)
    c.polygon([(12, 18), (15, 20), (10, 22)], LEAF)
    c.line(12, 19, 12, 3, 1.6, BROWN)
    c.polygon([(12.5, 3), (26, 7.5), (12.5, 12)], RED)
    c.circle(12, 3, 1.4, GOLD)
    return c


def clipboard_icon(size):
    """A clipboard holding a page of text."""
    c = Canvas(size)
    c.round_rect(5, 4, 27, 31, 2.5, BROWN)
    c.rect(8, 7, 24, 29, PAPER)
    c.round_rect(11, 2, 21, 8, 1.5, GREY)
    c.rect(14, 3, 18, 5, INK)
    for i, width in enumerate((12, 10, 12, 8)):
        y = 12 + i * 4
        c.rect(10, y, 10 + width, y + 1.5, INK)
    return c


# The images: picture, size, kind. 32-bit DIBs at the sizes XP uses at 96 DPI
# where the shell shows them (the program's icon), PNG everywhere else, and
# for the program's own 32-pixel pictures also a 16-colour DIB, which XP
# loads (it reads no PNG; Windows picks the PNG, of more colours, when both
# are there).
def images(picture):
    if picture == 'fumora':
        return [(16, 'dib'), (20, 'png'), (24, 'png'), (32, 'dib'), (40, 'png'), (48, 'png'), (64, 'png')]
    return [(32, 'dib4'), (32, 'png'), (40, 'png'), (48, 'png'), (64, 'png')]


PICTURES = {
    'fumora': app_icon,
    'statistics': statistics_icon,
    'buddies': buddies_icon,
    'days_ahead': days_ahead_icon,
    'milestones': milestones_icon,
    'clipboard': clipboard_icon,
}

# Icon resources: number, name in resource.h, picture, the sizes it holds.
# 107, the window's and the notification area's small icon, shares the small
# images of the program's icon (101), which the shell shows for Fumora.exe.
ICONS = [
    (101, 'IDI_FUMORA', 'fumora', (16, 20, 24, 32, 40, 48, 64)),
    (102, 'IDI_QUIT_STATS', 'statistics', (32, 40, 48, 64)),
    (103, 'IDI_BUDDIES', 'buddies', (32, 40, 48, 64)),
    (104, 'IDI_DAYS_AHEAD', 'days_ahead', (32, 40, 48, 64)),
    (105, 'IDI_MILESTONES', 'milestones', (32, 40, 48, 64)),
    (106, 'IDI_CLIPBOARD', 'clipboard', (32, 40, 48, 64)),
    (107, 'IDI_FUMORA_SMALL', 'fumora', (16, 20, 24, 32)),
]


def encode(draw, size, kind):
    canvas = draw(size)
    if kind == 'dib4':
        return dib16_image(canvas), 4
    rows = canvas.pixels()
    return (dib_image(size, rows) if kind == 'dib' else png_image(size, rows)), 32


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', 'res', 'icons')
    os.makedirs(out, exist_ok=True)
    rc = ['// Written by scripts/make-icons.py: the icons\' images (RT_ICON, 3) and the',
          '// icon resources that list them (RT_GROUP_ICON, 14).']
    entries = {}  # (picture, size) -> [(image number, bits, length)]
    number = FIRST_IMAGE
    total = 0
    for picture, draw in PICTURES.items():
        for size, kind in images(picture):
            data, bits = encode(draw, size, kind)
            name = f'{picture}_{size}' + ('_16colours.dib' if kind == 'dib4' else '.' + kind)
            with open(os.path.join(out, name), 'wb') as f:
                f.write(data)
            rc.append(f'{number} {RT_ICON} "icons/{name}"')
            entries.setdefault((picture, size), []).append((number, bits, len(data)))
            total += len(data)
            number += 1
    for resource, macro, picture, sizes in ICONS:
        listed = [e + (size,) for size in sizes for e in entries[(picture, size)]]
        group = struct.pack('<HHH', 0, 1, len(listed))
        for image, bits, length, size in listed:
            group += struct.pack('<BBBBHHIH', size % 256, size % 256, 16 if bits == 4 else 0, 0, 1, bits, length, image)
        name = f'{macro[4:].lower()}.group'
        with open(os.path.join(out, name), 'wb') as f:
            f.write(group)
        rc.append(f'{macro} {RT_GROUP_ICON} "icons/{name}"')
        print(f'{resource} {macro}: ' + ' '.join(f'{s}' for s in sizes))
    with open(os.path.join(out, 'icons.rc'), 'w') as f:
        f.write('\n'.join(rc) + '\n')
    print(f'{number - FIRST_IMAGE} images, {total} bytes')


if __name__ == '__main__':
    main()
