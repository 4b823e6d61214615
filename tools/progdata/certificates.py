"""The printing library's certificate backgrounds 403 (rating certificate)
and 404 (certificate of achievement): 8-bit pictures of 720 x 558 pixels in
the program palette, stretched over the printable area of a landscape
letter page (9 x 6.5 inches inside one-inch margins).

  certificates.py OUTDIR      writes OUTDIR/cert403.bmp and OUTDIR/cert404.bmp

Quill prints the name, date and rating centred in bands measured in
hundredths of an inch from the printable edges; the pictures keep those
bands clear (see BANDS) and put their titles, captions and chess motifs
around them. Everything is drawn from fixed seeds with DejaVu fonts.
"""

import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from PIL import Image, ImageDraw, ImageFilter, ImageFont  # noqa: E402

import quantize  # noqa: E402
from common import BRASS, BRASS_D, BRASS_L, FONT_DIR, WOOD_D, mix, noise_texture  # noqa: E402

W, H = 720, 558
S = 4  # supersampling
INK = (62, 36, 16)
SOFT_INK = (104, 74, 46)
FELT = (30, 96, 56)
RED, RED_D = (170, 36, 28), (104, 16, 12)

# Value bands (left, top, right in picture pixels; a generous height), from
# the layouts' hundredths of an inch: x * 720 / 900, y * 558 / 650.
def _x(h):
    return h * W / 900


def _y(h):
    return h * H / 650


BANDS = {
    404: [(_x(150), _y(430), W, _y(430) + 58), (_x(150), _y(540), W, _y(540) + 26)],
    403: [(_x(165), _y(240), _x(900 - 240), _y(240) + 44), (_x(165), _y(355), _x(900 - 230), _y(355) + 44),
          (_x(195), _y(515), _x(900 - 340), _y(515) + 30)],
}


def _font(px, name):
    return ImageFont.truetype(os.path.join(FONT_DIR, name + ".ttf"), max(1, int(px * S)))


def _text(d, cx, y, text, px, name, fill, shadow=None):
    """Text centred on cx with its top at y (picture pixels)."""
    f = _font(px, name)
    l, t, r, b = d.textbbox((0, 0), text, font=f)
    x = cx * S - (r - l) / 2 - l
    top = y * S - t
    if shadow:
        d.text((x + S, top + S), text, font=f, fill=shadow)
    d.text((x, top), text, font=f, fill=fill)
    return (b - t) / S


def _parchment(seed):
    base = noise_texture(W, H, seed, (244, 236, 214), 9, scale=20)
    fine = noise_texture(W, H, seed + 1, (0, 0, 0), 40, scale=3).convert("L")
    px, fx = base.load(), fine.load()
    for y in range(H):
        for x in range(W):
            # Darker towards the edges, as old paper.
            dx, dy = (x - W / 2) / (W / 2), (y - H / 2) / (H / 2)
            v = min(1.0, (dx * dx + dy * dy) ** 1.5 * 0.5)
            c = mix(px[x, y], (222, 204, 168), v)
            px[x, y] = mix(c, (210, 196, 160), (fx[x, y] - 128) / 2000.0 + 0.02)
    return base.convert("RGBA")


def _border(d, accent):
    # A brass band shaded across its width, a thin accent line inside it.
    for i in range(12):
        t = i / 11
        c = mix(BRASS_D, BRASS_L, 1 - abs(t - 0.35) * 1.5) if t < 0.9 else BRASS_D
        inset = (10 + i) * S
        d.rectangle((inset, inset, W * S - inset - 1, H * S - inset - 1), outline=c + (255,), width=S)
    d.rectangle((8 * S, 8 * S, W * S - 8 * S, H * S - 8 * S), outline=WOOD_D + (255,), width=S)
    d.rectangle((28 * S, 28 * S, W * S - 28 * S, H * S - 28 * S), outline=accent + (255,), width=int(1.5 * S))
    d.rectangle((32 * S, 32 * S, W * S - 32 * S, H * S - 32 * S), outline=BRASS_D + (200,), width=S // 2 + 1)
    # Chequered corner squares.
    for cx, cy in ((21, 21), (W - 21, 21), (21, H - 21), (W - 21, H - 21)):
        d.rectangle(((cx - 13) * S, (cy - 13) * S, (cx + 13) * S, (cy + 13) * S), fill=WOOD_D + (255,))
        for i in range(4):
            for j in range(4):
                c = (236, 226, 198) if (i + j) % 2 == 0 else (120, 80, 40)
                x0, y0 = (cx - 12 + i * 6) * S, (cy - 12 + j * 6) * S
                d.rectangle((x0, y0, x0 + 6 * S - 1, y0 + 6 * S - 1), fill=c + (255,))


def _rule(d, cx, y, half, colour=BRASS_D, diamond=True):
    d.line(((cx - half) * S, y * S, (cx + half) * S, y * S), fill=colour + (255,), width=int(1.2 * S))
    if diamond:
        r = 4 * S
        d.polygon([(cx * S, y * S - r), (cx * S + r, y * S), (cx * S, y * S + r), (cx * S - r, y * S)],
                  fill=colour + (255,))


def _medallion(big, cx, cy, r, glyph, ribbon):
    d = ImageDraw.Draw(big)
    if ribbon:
        for side in (-1, 1):
            x0 = cx + side * r * 0.45
            pts = [(x0 - 10, cy), (x0 + 10, cy), (x0 + 10 + side * 10, cy + r * 2.3),
                   (x0 + side * 10, cy + r * 2.0), (x0 - 10 + side * 10, cy + r * 2.3)]
            d.polygon([(x * S, y * S) for x, y in pts], fill=RED + (255,))
            d.line([(x * S, y * S) for x, y in pts[:3]], fill=RED_D + (255,), width=S)
    # A disc shaded from its top left, rim and inner ring.
    for k in range(int(r * S), 0, -S):
        t = k / (r * S)
        off = (1 - t) * r * 0.35 * S
        c = mix(BRASS_L, BRASS_D, t ** 1.6)
        d.ellipse((cx * S - k - off, cy * S - k - off, cx * S + k - off, cy * S + k - off), fill=c + (255,))
    d.ellipse(((cx - r) * S, (cy - r) * S, (cx + r) * S, (cy + r) * S), outline=BRASS_D + (255,), width=2 * S)
    d.ellipse(((cx - r + 6) * S, (cy - r + 6) * S, (cx + r - 6) * S, (cy + r - 6) * S),
              outline=BRASS_D + (220,), width=S)
    f = _font(r * 1.25, "DejaVuSans")
    l, t, rr, b = d.textbbox((0, 0), glyph, font=f)
    x, y = cx * S - (rr - l) / 2 - l, cy * S - (b - t) / 2 - t
    d.text((x + S, y + S), glyph, font=f, fill=BRASS_L + (255,))
    d.text((x, y), glyph, font=f, fill=WOOD_D + (255,))


def _laurel(d, cx, cy, r):
    """Two branches of leaves along the circle, from the bottom up each side."""
    box = ((cx - r) * S, (cy - r) * S, (cx + r) * S, (cy + r) * S)
    d.arc(box, 100, 245, fill=FELT + (255,), width=int(1.6 * S))
    d.arc(box, 295, 80, fill=FELT + (255,), width=int(1.6 * S))
    for side in (-1, 1):
        for k in range(12):
            deg = 100 + k * 12.5
            a = math.radians(deg if side < 0 else 180 - deg)
            x, y = cx + r * math.cos(a), cy + r * math.sin(a)
            for out in (-1, 1):
                # A leaf pointing up the branch, tilted out of or into the ring.
                tang = a + (math.pi / 2 if side < 0 else -math.pi / 2)
                ang = tang + out * 0.55
                lx, ly = 9 * math.cos(ang), 9 * math.sin(ang)
                px, py = 3.2 * math.cos(ang + math.pi / 2), 3.2 * math.sin(ang + math.pi / 2)
                tip = (x + 2 * lx, y + 2 * ly)
                mid = (x + lx, y + ly)
                pts = [(x, y), (mid[0] + px, mid[1] + py), tip, (mid[0] - px, mid[1] - py)]
                c = mix(FELT, (110, 176, 120), 0.25 + 0.5 * (k % 3) / 2)
                d.polygon([(a_ * S, b_ * S) for a_, b_ in pts], fill=c + (255,))
                d.line([(x * S, y * S), (tip[0] * S, tip[1] * S)], fill=mix(FELT, (10, 40, 24), 0.5) + (255,),
                       width=max(1, S // 2))


def _pieces_row(big, cx, y, size, alpha):
    layer = Image.new("RGBA", big.size, (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    glyphs = "\u265C\u265E\u265D\u265B\u265A\u265D\u265E\u265C"
    f = _font(size, "DejaVuSans")
    step = size * 1.05
    for i, g in enumerate(glyphs):
        gx = cx + (i - 3.5) * step
        l, t, r, b = d.textbbox((0, 0), g, font=f)
        d.text((gx * S - (r - l) / 2 - l + S, y * S - t + S), g, font=f, fill=BRASS_L + (alpha,))
        d.text((gx * S - (r - l) / 2 - l, y * S - t), g, font=f, fill=BRASS_D + (alpha,))
    big.alpha_composite(layer)


def achievement():
    """404: certificate of achievement; values centred on x = 420."""
    big = Image.new("RGBA", (W * S, H * S), (0, 0, 0, 0))
    d = ImageDraw.Draw(big)
    _border(d, RED_D)
    cx = (_x(150) + W) / 2
    _text(d, cx, 58, "Certificate of Achievement", 32, "DejaVuSerif-Bold", INK + (255,), (236, 220, 180, 255))
    _rule(d, cx, 112, 190)
    _text(d, cx, 124, "Rookwell Onyx", 17, "DejaVuSerif-Italic", SOFT_INK + (255,))
    _pieces_row(big, cx, 178, 40, 150)
    _text(d, cx, 322, "This is to certify that", 19, "DejaVuSerif-Italic", SOFT_INK + (255,))
    _rule(d, cx, _y(430) + 64, 210, BRASS_D, diamond=False)
    _rule(d, cx, _y(540) + 34, 90, BRASS_D, diamond=False)
    _text(d, cx, _y(540) + 40, "DATE", 10, "DejaVuSans-Bold", SOFT_INK + (255,))
    _medallion(big, 78, 250, 46, "\u265A", True)
    return big


def rating():
    """403: rating certificate; values centred near x = 330, the knight right."""
    big = Image.new("RGBA", (W * S, H * S), (0, 0, 0, 0))
    d = ImageDraw.Draw(big)
    _border(d, FELT)
    cx = (_x(165) + _x(660)) / 2
    _text(d, cx, 54, "Rating Certificate", 38, "DejaVuSerif-Bold", INK + (255,), (236, 220, 180, 255))
    _rule(d, cx, 108, 170)
    _text(d, cx, 120, "Rookwell Onyx", 17, "DejaVuSerif-Italic", SOFT_INK + (255,))
    _text(d, cx, 172, "awarded to", 18, "DejaVuSerif-Italic", SOFT_INK + (255,))
    _rule(d, cx, _y(240) + 50, 190, BRASS_D, diamond=False)
    _text(d, cx, _y(240) + 58, "for reaching the playing strength of", 15, "DejaVuSerif-Italic", SOFT_INK + (255,))
    _text(d, cx, _y(355) + 48, "RATING POINTS", 10, "DejaVuSans-Bold", SOFT_INK + (255,))
    _rule(d, (_x(195) + _x(560)) / 2, _y(515) + 34, 90, BRASS_D, diamond=False)
    _text(d, (_x(195) + _x(560)) / 2, _y(515) + 40, "DATE", 10, "DejaVuSans-Bold", SOFT_INK + (255,))
    # The knight in a laurel wreath over a strip of board.
    kx, ky = 598, 236
    _laurel(d, kx, ky, 74)
    _medallion(big, kx, ky, 54, "\u265E", False)
    for i in range(6):
        for j in range(2):
            c = (236, 226, 198) if (i + j) % 2 == 0 else (120, 80, 40)
            x0, y0 = (kx - 54 + i * 18) * S, (ky + 96 + j * 18) * S
            d.rectangle((x0, y0, x0 + 18 * S - 1, y0 + 18 * S - 1), fill=c + (255,))
    d.rectangle(((kx - 55) * S, (ky + 95) * S, (kx + 55) * S, (ky + 132) * S), outline=WOOD_D + (255,), width=S)
    return big


def picture(which):
    paper = _parchment(403 if which == 403 else 404)
    art = (rating() if which == 403 else achievement()).reduce(S)
    shadow = art.getchannel("A").filter(ImageFilter.GaussianBlur(1.5)).point(lambda a: a // 4)
    dark = Image.new("RGBA", (W, H), (60, 40, 20, 0))
    dark.putalpha(shadow)
    paper.alpha_composite(dark, (1, 1))
    paper.alpha_composite(art)
    return paper.convert("RGB")


def build(outdir):
    os.makedirs(outdir, exist_ok=True)
    for which in (403, 404):
        quantize.save(os.path.join(outdir, "cert%d.bmp" % which), picture(which), dither=True)


if __name__ == "__main__":
    build(sys.argv[1])
