"""Perspective piece sheets: the lathe models of pieces3d.pov rendered by
POV-Ray from a perspective board set's eye.

Usage: perspective_pieces.py CEL_W CEL_H BOARD_SIZE TILT VANISHING OUT.bmp

Each piece is rendered once at 4 x 4 times the cel size without POV-Ray's
own antialiasing, then averaged in linear light over the sub-samples the
piece covers (coverage under one half is the see-through key), with a dark
contour just inside the edge; the foot of the piece lands at
(w / 2, h - w / 4). The sheet is 16-bit 5-5-5 with the key 0xFC1F (bit 15
set, which no piece pixel has), ordered-dithered against banding, in the
single-cel layout.
"""

import math
import os
import struct
import subprocess
import sys
import tempfile

from PIL import Image

SS = 4
HERE = os.path.dirname(os.path.abspath(__file__))
COLUMN_OF_KIND = [5, 4, 1, 3, 2, 0]  # king .. pawn -> sheet column
KEY = 0xFC1F
BAYER = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def to_linear(c):
    c /= 255.0
    return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4


def to_srgb(c):
    c = 12.92 * c if c <= 0.0031308 else 1.055 * c ** (1 / 2.4) - 0.055
    return max(0.0, min(255.0, c * 255))


LIN = [to_linear(i) for i in range(256)]


def render(kind, colour, w, h, size, tilt, vanishing, workdir):
    half = size // 4 * 4                       # grid[8], half the board in board units
    d = max(100, min(600, vanishing)) * half // 100
    unit = 0.75 * (size // 4)                  # board units per model unit
    elevation = 90 - (360 - tilt)
    h2 = 2 * (h - w // 4)                      # the foot at the image centre
    out = os.path.join(workdir, "p%d%d.png" % (kind, colour))
    args = ["povray", "-D", "-V", "-GA", "+UA", "-A", "+Q9", "+FN", "+WT2",
            "+W%d" % (w * SS), "+H%d" % (h2 * SS), "+O" + out,
            "+I" + os.path.join(HERE, "pieces3d.pov"),
            "Declare=Piece=%d" % kind, "Declare=Colour=%d" % colour,
            "Declare=CameraDistance=%f" % (2.0 * d / unit), "Declare=Elevation=%f" % elevation,
            "Declare=FieldTan=%f" % (w / (2.0 * d)), "Declare=Aspect=%f" % (h2 / w)]
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return Image.open(out).convert("RGBA")


def cel_pixels(img, w, h):
    src = img.load()
    inside = [[False] * w for _ in range(h)]
    colour = [[(0, 0, 0)] * w for _ in range(h)]
    for y in range(h):
        for x in range(w):
            acc = [0.0, 0.0, 0.0]
            n = 0
            for sy in range(SS):
                for sx in range(SS):
                    r, g, b, a = src[x * SS + sx, y * SS + sy]
                    if a < 128:
                        continue
                    n += 1
                    acc[0] += LIN[r]
                    acc[1] += LIN[g]
                    acc[2] += LIN[b]
            if n * 2 >= SS * SS:
                inside[y][x] = True
                colour[y][x] = tuple(to_srgb(v / n) for v in acc)
    width = 2 if w >= 48 else 1
    edge = []
    for y in range(h):
        for x in range(w):
            if inside[y][x] and any(
                    not (0 <= x + dx < w and 0 <= y + dy < h) or not inside[y + dy][x + dx]
                    for dy in range(-width, width + 1) for dx in range(-width, width + 1)
                    if abs(dx) + abs(dy) <= width):
                edge.append((x, y))
    for x, y in edge:
        colour[y][x] = (12.0, 10.0, 10.0)
    return inside, colour


def pack555(rgb, x, y):
    t = (BAYER[y & 3][x & 3] - 7.5) / 16.0 * 8
    r, g, b = (max(0, min(255, int(c + t + 0.5))) for c in rgb)
    return (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3)


def write16(path, width, height, pixels):
    stride = (width * 2 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):
        row = struct.pack("<%dH" % width, *pixels[y * width:(y + 1) * width])
        rows.append(row + b"\0" * (stride - width * 2))
    bits = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(bits), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 16, 0, len(bits), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + bits)


def main():
    w, h, size, tilt, vanishing = (int(v) for v in sys.argv[1:6])
    out = sys.argv[6]
    sw, sh = (w + 1) * 6 + 1, (h + 1) * 2 + 1
    sheet = [KEY] * (sw * sh)
    with tempfile.TemporaryDirectory() as work:
        for colour in (0, 1):
            for kind in range(6):
                img = render(kind, colour, w, h, size, tilt, vanishing, work)
                inside, rgb = cel_pixels(img, w, h)
                x0 = (w + 1) * COLUMN_OF_KIND[kind] + 1
                y0 = (h + 1) * colour + 1
                for y in range(h):
                    for x in range(w):
                        if inside[y][x]:
                            sheet[(y0 + y) * sw + x0 + x] = pack555(rgb[y][x], x0 + x, y0 + y)
    write16(out, sw, sh, sheet)


if __name__ == "__main__":
    main()
