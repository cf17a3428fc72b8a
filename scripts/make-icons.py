#!/usr/bin/env python3
"""Draws the program's icons and writes them as .ico files into res/icons/.

Standard library only. Shapes are drawn at four times the size and averaged
down, which gives smooth edges; each .ico holds one 32-bit image (BGRA with
alpha, plus the 1-bit AND mask that older readers want).

    python3 scripts/make-icons.py [OUTPUT_DIR]
"""
import math
import os
import struct
import sys

SUPER = 4  # samples per pixel along each axis


class Canvas:
    def __init__(self, size):
        self.size = size
        self.n = size * SUPER
        # premultiplied RGBA, 0..1
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(self.n * self.n)]

    def _blend(self, i, colour, alpha=1.0):
        r, g, b = (c / 255.0 for c in colour)
        a = alpha
        p = self.px[i]
        p[0] = r * a + p[0] * (1 - a)
        p[1] = g * a + p[1] * (1 - a)
        p[2] = b * a + p[2] * (1 - a)
        p[3] = a + p[3] * (1 - a)

    def fill(self, inside, colour, box=None):
        """Paints every sample whose centre (in icon pixels) satisfies inside(x, y)."""
        x0, y0, x1, y1 = box if box else (0, 0, self.size, self.size)
        sx0 = max(0, int(math.floor(x0 * SUPER)))
        sy0 = max(0, int(math.floor(y0 * SUPER)))
        sx1 = min(self.n, int(math.ceil(x1 * SUPER)))
        sy1 = min(self.n, int(math.ceil(y1 * SUPER)))
        for sy in range(sy0, sy1):
            y = (sy + 0.5) / SUPER
            for sx in range(sx0, sx1):
                x = (sx + 0.5) / SUPER
                if inside(x, y):
                    self._blend(sy * self.n + sx, colour)

    def rect(self, x0, y0, x1, y1, colour):
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
        half = width / 2.0
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


def ico_bytes(canvas):
    size = canvas.size
    rows = canvas.pixels()
    xor = bytearray()
    for row in reversed(rows):  # DIBs are stored bottom-up
        for b, g, r, a in row:
            xor += bytes((b, g, r, a))
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
    image = header + bytes(xor) + bytes(mask)
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


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
    s = size / 32.0
    c.circle(16 * s, 16 * s, 15.5 * s, DARK_GREEN)
    c.circle(16 * s, 16 * s, 14 * s, GREEN)
    # the two halves of a broken cigarette, tilted apart
    c.polygon([(4 * s, 20 * s), (14 * s, 17 * s), (15 * s, 20.5 * s), (5 * s, 23.5 * s)], WHITE)
    c.polygon([(4 * s, 20 * s), (7 * s, 19.1 * s), (8 * s, 22.6 * s), (5 * s, 23.5 * s)], ORANGE)
    c.polygon([(18 * s, 17 * s), (28 * s, 20 * s), (27 * s, 23.5 * s), (17 * s, 20.5 * s)], WHITE)
    # a leaf growing out of the break
    c.line(16 * s, 18 * s, 16 * s, 9 * s, max(1.0, 1.4 * s), DARK_GREEN)
    c.polygon([(16 * s, 11 * s), (21 * s, 5 * s), (24 * s, 7 * s), (19 * s, 12 * s)], LEAF)
    c.polygon([(16 * s, 13 * s), (11 * s, 8 * s), (9 * s, 10 * s), (14 * s, 14 * s)], LEAF)
    return c


def statistics_icon():
    """A bar chart rising to the right."""
    c = Canvas(32)
    c.round_rect(2, 3, 30, 29, 3, PAPER)
    c.rect(5, 25, 27, 26.5, INK)
    c.rect(5, 6, 6.5, 26.5, INK)
    c.rect(9, 18, 13, 25, BLUE)
    c.rect(15, 13, 19, 25, GREEN)
    c.rect(21, 8, 25, 25, GOLD)
    c.line(9, 15, 23, 5.5, 1.4, RED)
    return c


def buddies_icon():
    """Two people side by side."""
    c = Canvas(32)
    c.circle(11, 9, 4.5, BLUE)
    c.round_rect(3, 15, 19, 30, 6, BLUE)
    c.circle(21, 10, 5, WHITE)
    c.circle(21, 10, 4.2, GREEN)
    c.round_rect(12, 16, 30, 31, 6.5, WHITE)
    c.round_rect(13, 17, 29, 31, 5.5, GREEN)
    return c


def days_ahead_icon():
    """A calendar page with a forward arrow."""
    c = Canvas(32)
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


def milestones_icon():
    """A flag planted at the top of a hill."""
    c = Canvas(32)
    c.polygon([(1, 30), (12, 18), (19, 22), (31, 30)], GREEN)
    c.polygon([(12, 18), (15, 20), (10, 22)], LEAF)
    c.line(12, 19, 12, 3, 1.6, BROWN)
    c.polygon([(12.5, 3), (26, 7.5), (12.5, 12)], RED)
    c.circle(12, 3, 1.4, GOLD)
    return c


def clipboard_icon():
    """A clipboard holding a page of text."""
    c = Canvas(32)
    c.round_rect(5, 4, 27, 31, 2.5, BROWN)
    c.rect(8, 7, 24, 29, PAPER)
    c.round_rect(11, 2, 21, 8, 1.5, GREY)
    c.rect(14, 3, 18, 5, INK)
    for i, width in enumerate((12, 10, 12, 8)):
        y = 12 + i * 4
        c.rect(10, y, 10 + width, y + 1.5, INK)
    return c


ICONS = [
    (101, 'fumora.ico', lambda: app_icon(32)),
    (102, 'statistics.ico', statistics_icon),
    (103, 'buddies.ico', buddies_icon),
    (104, 'days_ahead.ico', days_ahead_icon),
    (105, 'milestones.ico', milestones_icon),
    (106, 'clipboard.ico', clipboard_icon),
    (107, 'fumora_small.ico', lambda: app_icon(16)),
]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', 'res', 'icons')
    os.makedirs(out, exist_ok=True)
    for number, name, draw in ICONS:
        with open(os.path.join(out, name), 'wb') as f:
            f.write(ico_bytes(draw()))
        print(f'{number} {name}')


if __name__ == '__main__':
    main()
