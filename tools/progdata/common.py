"""Drawing helpers shared by the picture scripts.

Interface: S (supersampling factor), canvas(w, h, fill) -> big RGBA image,
finish(big) -> image at the final size, vgrad/hgrad(img, box, c0, c1),
rrect(img, box, r, fill, outline, width), font(px, bold, serif),
centred_text(img, box, text, px, fill, shadow), mix(a, b, t), Manifest.

Pictures are drawn at S times their size and reduced by averaging, which
gives antialiased edges without depending on a renderer's own smoothing.
Nothing here reads the clock or an unseeded random source.
"""

import os
import random

from PIL import Image, ImageDraw, ImageFont

S = 4
FONT_DIR = "/usr/share/fonts/truetype/dejavu"

# Material colours (RGB) the skins are drawn in.
BRASS_L, BRASS, BRASS_D = (252, 236, 176), (216, 180, 96), (150, 112, 40)
WOOD_L, WOOD, WOOD_D = (176, 118, 62), (118, 70, 34), (62, 34, 14)
STONE_L, STONE, STONE_D = (240, 238, 232), (208, 206, 200), (150, 148, 144)
INK = (14, 14, 16)
DARK = (46, 40, 34)
LIGHT = (232, 226, 210)


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def canvas(w, h, fill=(0, 0, 0, 0)):
    return Image.new("RGBA", (w * S, h * S), fill)


def finish(big):
    return big.reduce(S)


def vgrad(img, box, c0, c1):
    x0, y0, x1, y1 = box
    d = ImageDraw.Draw(img)
    n = max(1, y1 - y0 - 1)
    for y in range(y0, y1):
        d.line([(x0, y), (x1 - 1, y)], fill=mix(c0, c1, (y - y0) / n) + (255,))


def hgrad(img, box, c0, c1):
    x0, y0, x1, y1 = box
    d = ImageDraw.Draw(img)
    n = max(1, x1 - x0 - 1)
    for x in range(x0, x1):
        d.line([(x, y0), (x, y1 - 1)], fill=mix(c0, c1, (x - x0) / n) + (255,))


def rrect(img, box, r, fill=None, outline=None, width=1):
    d = ImageDraw.Draw(img)
    d.rounded_rectangle(box, radius=r, fill=fill, outline=outline, width=width)


def font(px, bold=True, serif=False):
    name = ("DejaVuSerif" if serif else "DejaVuSans") + ("-Bold" if bold else "") + ".ttf"
    return ImageFont.truetype(os.path.join(FONT_DIR, name), max(1, int(px)))


def centred_text(img, box, text, px, fill, shadow=None, bold=True, serif=False, fit=False):
    """Text centred in box (big-image coordinates), optional 1-pixel shadow;
    with fit, a size too wide for the box is reduced until the text fits."""
    f = font(px, bold, serif)
    d = ImageDraw.Draw(img)
    l, t, r, b = d.textbbox((0, 0), text, font=f)
    while fit and r - l > box[2] - box[0] and px > S:
        px -= 1
        f = font(px, bold, serif)
        l, t, r, b = d.textbbox((0, 0), text, font=f)
    x = (box[0] + box[2] - (r - l)) // 2 - l
    y = (box[1] + box[3] - (b - t)) // 2 - t
    if shadow:
        d.text((x + S, y + S), text, font=f, fill=shadow)
    d.text((x, y), text, font=f, fill=fill)


def noise_texture(w, h, seed, base, spread, scale=8):
    """Smooth value noise (blurred random cells), fixed by its seed."""
    rnd = random.Random(seed)
    cw, ch = max(2, w // scale + 2), max(2, h // scale + 2)
    small = Image.new("L", (cw, ch))
    small.putdata([rnd.randrange(256) for _ in range(cw * ch)])
    big = small.resize((w, h), Image.BICUBIC)
    lum = big.getdata()
    img = Image.new("RGB", (w, h))
    img.putdata([tuple(max(0, min(255, base[i] + int((v - 128) * spread / 128))) for i in range(3)) for v in lum])
    return img


class Manifest:
    """Lines "id<TAB>role<TAB>WxH<TAB>recipe" of one library, in order."""

    def __init__(self):
        self.rows = []

    def add(self, key, role, size, recipe):
        self.rows.append((str(key), role, "%dx%d" % size, recipe))

    def write(self, path):
        with open(path, "w", newline="\n") as f:
            f.write("# id\trole\tsize\trecipe\n")
            for row in self.rows:
                f.write("\t".join(row) + "\n")
