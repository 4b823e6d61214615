"""The movies' pictures: a chess board and pieces drawn with Pillow.

Interface: CLIPS, a table of the clips by name: size, frames a second,
length, draw(i, n) -> RGB frame i of n, and the notes of the sting.

Drawing is done at S times the frame size and reduced by averaging, which
antialiases every edge. Pieces are the chess figures of DejaVu Sans: the
solid figure filled in the piece's colour, the outline figure over it in a
darker ink, with a soft shadow beneath.
"""

import math

from PIL import Image, ImageDraw, ImageFilter, ImageFont

S = 2
FONT_DIR = "/usr/share/fonts/truetype/dejavu/"


def font(px, bold=True):
    return ImageFont.truetype(FONT_DIR + ("DejaVuSans-Bold.ttf" if bold else "DejaVuSans.ttf"), max(1, int(px)))


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def ease(t):
    t = max(0.0, min(1.0, t))
    return t * t * (3 - 2 * t)


def vgradient(w, h, top, bottom):
    col = Image.new("RGB", (1, h))
    col.putdata([mix(top, bottom, y / max(1, h - 1)) for y in range(h)])
    return col.resize((w, h))


# ---- the test clip -----------------------------------------------------------

def draw_test(i, n):
    """A warm gradient with a board strip and a disc that travels across."""
    w, h = 160, 120
    img = vgradient(w * S, h * S, (210, 170, 90), (120, 70, 40))
    d = ImageDraw.Draw(img)
    sq = 20 * S
    for c in range(8):
        for r in range(2):
            fill = (236, 220, 180) if (c + r) % 2 == 0 else (110, 70, 40)
            d.rectangle([c * sq, 40 * S + r * sq, (c + 1) * sq - 1, 40 * S + (r + 1) * sq - 1], fill=fill)
    x = int((20 + 120 * i / max(1, n - 1)) * S)
    d.ellipse([x - 12 * S, 60 * S - 12 * S, x + 12 * S, 60 * S + 12 * S], fill=(250, 240, 200),
              outline=(60, 40, 20), width=S)
    return img.reduce(S)


CLIPS = {
    "test": {
        "size": (160, 120), "fps": 12, "seconds": 2.0, "draw": draw_test,
        "notes": [(0.0, 0.6, 523.25, 0.5), (0.5, 0.6, 659.25, 0.5), (1.0, 0.9, 783.99, 0.5)],
    },
}
