"""The best-line board's pictures: a 158 x 158 board with 19-pixel squares
whose top-left corners lie at 3 + 19n, the twelve pieces of 19 pixels drawn
as the flat figurine pieces are, and the two square pictures.

Usage: bestline_pictures.py OUT_FOLDER

All are 8-bit pictures in the program palette, index 0 see-through.
"""

import os
import sys

from PIL import Image, ImageFont

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import flat_pieces  # noqa: E402
import quantize  # noqa: E402  (flat_pieces put tools/progdata on the path)

SIDE = 158
SQUARE = 19
LIGHT = (232, 208, 166)
DARK = (160, 112, 72)
FRAME = (86, 54, 30)
RIM = (132, 90, 56)

# Kinds in the sheet's column order, by the names the board loads.
KINDS = {"p": 0, "r": 1, "n": 2, "b": 3, "q": 4, "k": 5}


def shade(colour, amount):
    return tuple(max(0, min(255, round(c * amount))) for c in colour)


def square(light, size=SQUARE):
    """A square with a faint grain and a lit top-left edge."""
    base = LIGHT if light else DARK
    img = Image.new("RGBA", (size, size))
    px = img.load()
    for y in range(size):
        for x in range(size):
            grain = 1.0 + 0.035 * (((x * 7 + y * 3) % 5) - 2) / 2
            lit = 1.04 if (x == 0 or y == 0) else (0.95 if (x == size - 1 or y == size - 1) else 1.0)
            px[x, y] = shade(base, grain * lit) + (255,)
    return img


def board():
    img = Image.new("RGBA", (SIDE, SIDE), FRAME + (255,))
    px = img.load()
    for i in range(SIDE):
        for w in (1,):
            px[i, w] = RIM + (255,)
            px[w, i] = RIM + (255,)
            px[i, SIDE - 1 - w] = shade(FRAME, 0.7) + (255,)
            px[SIDE - 1 - w, i] = shade(FRAME, 0.7) + (255,)
    for row in range(8):
        for column in range(8):
            img.paste(square((row + column) % 2 == 0), (3 + SQUARE * column, 3 + SQUARE * row))
    return img


def pieces(out):
    size = SQUARE
    big = size * flat_pieces.SS
    font = ImageFont.truetype(flat_pieces.FONT, 100)
    box = font.getbbox(flat_pieces.FILLED[5], anchor="ls")
    scale = 0.88 * big / (box[3] - box[1])
    font = ImageFont.truetype(flat_pieces.FONT, max(8, round(100 * scale)))
    box = font.getbbox(flat_pieces.FILLED[5], anchor="ls")
    baseline = (big - (box[3] - box[1])) / 2 - box[1]
    for colour, letter in ((0, "w"), (1, "b")):
        for kind, column in KINDS.items():
            cel = flat_pieces.render_cel(size, column, colour, font, baseline, "figurine")
            quantize.save(os.path.join(out, letter + kind + ".bmp"), cel, transparent=True)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    quantize.save(os.path.join(out, "bestlineboard.bmp"), board())
    quantize.save(os.path.join(out, "wsquare.bmp"), square(True))
    quantize.save(os.path.join(out, "bsquare.bmp"), square(False))
    pieces(out)


if __name__ == "__main__":
    main()
