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


# The program's own face for lettering (set_title_font); without it DejaVu
# Sans, the face RookwellOnyx is made from.
TITLE_FONT = None


def set_title_font(path):
    global TITLE_FONT
    TITLE_FONT = path


def font(px, bold=True):
    return ImageFont.truetype(FONT_DIR + ("DejaVuSans-Bold.ttf" if bold else "DejaVuSans.ttf"), max(1, int(px)))


def title_font(px):
    """RookwellOnyx at the size whose capitals stand as tall as DejaVu Sans's
    at `px` (its em is the line height, so the same size is smaller)."""
    ref = font(px, False).getbbox("H")
    probe = ImageFont.truetype(TITLE_FONT, max(1, int(px)))
    got = probe.getbbox("H")
    scale = (ref[3] - ref[1]) / max(1, got[3] - got[1])
    return ImageFont.truetype(TITLE_FONT, max(1, int(round(px * scale))))


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



# ---- pieces and board ---------------------------------------------------------

# Figures of DejaVu Sans: outline (white set) and solid (black set) shapes.
OUTLINE = {"K": "\u2654", "Q": "\u2655", "R": "\u2656", "B": "\u2657", "N": "\u2658", "P": "\u2659"}
SOLID = {"K": "\u265a", "Q": "\u265b", "R": "\u265c", "B": "\u265d", "N": "\u265e", "P": "\u265f"}

IVORY = ((255, 252, 240), (214, 200, 170))
EBONY = ((74, 70, 80), (8, 8, 12))
GOLD = ((255, 236, 160), (176, 120, 34))


def piece_sprite(kind, px, colours, ink, shadow=0.45):
    """An RGBA sprite of a piece `px` pixels tall: shaded body, inked detail,
    soft shadow down and to the right. Drawn at S times and reduced."""
    size = int(px * 1.3) * S
    f = ImageFont.truetype(FONT_DIR + "DejaVuSans.ttf", int(px * S))
    mask = Image.new("L", (size, size), 0)
    md = ImageDraw.Draw(mask)
    l, t, r, b = md.textbbox((0, 0), SOLID[kind], font=f)
    x = (size - (r - l)) // 2 - l
    y = (size - (b - t)) // 2 - t
    md.text((x, y), SOLID[kind], font=f, fill=255)
    body = vgradient(size, size, colours[0], colours[1]).convert("RGBA")
    body.putalpha(mask)
    sprite = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    if shadow:
        sh = mask.filter(ImageFilter.GaussianBlur(px * S * 0.06)).point(lambda v: int(v * shadow))
        dark = Image.new("RGBA", (size, size), (0, 0, 0, 255))
        dark.putalpha(sh)
        off = max(1, int(px * S * 0.06))
        sprite.alpha_composite(dark, (off, off))
    sprite.alpha_composite(body)
    lines = Image.new("RGBA", (size, size), ink + (0,))
    lm = Image.new("L", (size, size), 0)
    ImageDraw.Draw(lm).text((x, y), OUTLINE[kind], font=f, fill=255)
    lines.putalpha(lm)
    sprite.alpha_composite(lines)
    return sprite.reduce(S)


def board_image(square, light=(238, 220, 176), dark=(156, 102, 58), frame=14):
    """A wooden board with a bevelled frame, `square` pixels a square."""
    n = square * 8 + 2 * frame
    big = Image.new("RGBA", (n * S, n * S), (0, 0, 0, 0))
    d = ImageDraw.Draw(big)
    # The frame: dark wood, light bevel on top-left, shade on bottom-right.
    d.rounded_rectangle([0, 0, n * S - 1, n * S - 1], radius=6 * S, fill=(84, 48, 22))
    d.rounded_rectangle([S, S, n * S - 1 - S, n * S - 1 - S], radius=5 * S, outline=(150, 100, 56), width=2 * S)
    inner = frame * S
    for r in range(8):
        for c in range(8):
            base = light if (r + c) % 2 == 0 else dark
            x0, y0 = inner + c * square * S, inner + r * square * S
            tile = vgradient(square * S, square * S, mix(base, (255, 255, 255), 0.10), mix(base, (0, 0, 0), 0.08))
            big.paste(tile, (x0, y0))
    d.rectangle([inner - S, inner - S, inner + 8 * square * S, inner + 8 * square * S], outline=(40, 22, 8), width=S)
    return big.reduce(S)


def text_sprite(text, px, top, bottom, bold=True, outline=(40, 24, 6), spacing=0):
    """Text with a vertical colour gradient, a thin dark edge and a shadow."""
    f = title_font(px * S) if TITLE_FONT else font(px * S, bold)
    # The program's face has one weight: bold lettering gets a stroke.
    stroke = int(round(px * S * 0.035)) if TITLE_FONT and bold else 0
    d = ImageDraw.Draw(Image.new("L", (1, 1)))
    widths = [d.textlength(ch, font=f) + 2 * stroke for ch in text]
    w = int(sum(widths) + spacing * S * (len(text) - 1)) + 8 * S
    h = int(px * S * 1.5)
    mask = Image.new("L", (w, h), 0)
    md = ImageDraw.Draw(mask)
    x = 4 * S
    for ch, cw in zip(text, widths):
        md.text((x + stroke, int(px * S * 0.2)), ch, font=f, fill=255, stroke_width=stroke, stroke_fill=255)
        x += cw + spacing * S
    edge = mask.filter(ImageFilter.MaxFilter(3 if S < 3 else 5))
    out = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    shade = Image.new("RGBA", (w, h), (0, 0, 0, 255))
    shade.putalpha(edge.filter(ImageFilter.GaussianBlur(2 * S)).point(lambda v: v * 6 // 10))
    out.alpha_composite(shade, (S * 2, S * 2))
    rim = Image.new("RGBA", (w, h), outline + (255,))
    rim.putalpha(edge)
    out.alpha_composite(rim)
    body = vgradient(w, h, top, bottom).convert("RGBA")
    body.putalpha(mask)
    out.alpha_composite(body)
    return out.reduce(S)


def with_alpha(sprite, a):
    if a >= 1:
        return sprite
    s = sprite.copy()
    s.putalpha(sprite.getchannel("A").point(lambda v: int(v * max(0.0, a))))
    return s


def scaled(sprite, k):
    w, h = sprite.size
    return sprite.resize((max(1, int(w * k)), max(1, int(h * k))), Image.LANCZOS)


def paste_centred(img, sprite, cx, cy):
    img.alpha_composite(sprite, (int(cx - sprite.size[0] / 2), int(cy - sprite.size[1] / 2)))


def vignette(w, h, centre, edge):
    """A radial gradient from `centre` colour to `edge` colour."""
    small = Image.new("RGB", (64, 48))
    px = []
    for y in range(48):
        for x in range(64):
            d = math.hypot((x - 31.5) / 32, (y - 23.5) / 24) / 1.2
            px.append(mix(centre, edge, d * d * 1.3))
    small.putdata(px)
    return small.resize((w, h), Image.BICUBIC).convert("RGBA")


# ---- the intro ------------------------------------------------------------------

BACK_RANK = "RNBQKBNR"


class Intro:
    """Pieces drop onto the board rank by rank, the board dims, a golden
    rook rises and the title comes up beneath it; the end fades to black."""

    W, H, SQ = 640, 480, 36

    def __init__(self):
        self.back = vignette(self.W, self.H, (52, 40, 34), (6, 4, 4))
        self.board = board_image(self.SQ)
        self.bx = (self.W - self.board.size[0]) // 2
        self.by = 14
        pieces = {}
        for k in "KQRBNP":
            pieces["w" + k] = piece_sprite(k, self.SQ * 1.08, IVORY, (40, 30, 20))
            pieces["b" + k] = piece_sprite(k, self.SQ * 1.08, EBONY, (176, 172, 184))
        self.pieces = pieces
        self.rook = piece_sprite("R", 200, GOLD, (90, 54, 10), shadow=0.6)
        self.glow = self._glow(300)
        self.title = text_sprite("Rookwell", 78, (255, 244, 200), (206, 150, 50))
        self.subtitle = text_sprite("ONYX", 26, (236, 236, 244), (150, 150, 170), outline=(20, 20, 30), spacing=14)
        # (square column, row from the top, sprite key, drop start time)
        self.drops = []
        order = [(7, "w", "back"), (6, "w", "pawn"), (0, "b", "back"), (1, "b", "pawn")]
        for i, (row, side, what) in enumerate(order):
            for c in range(8):
                key = side + (BACK_RANK[c] if what == "back" else "P")
                self.drops.append((c, row, key, 0.6 + i * 0.7 + c * 0.06))

    def _glow(self, n):
        g = Image.new("L", (n, n), 0)
        ImageDraw.Draw(g).ellipse([n * 0.2, n * 0.2, n * 0.8, n * 0.8], fill=150)
        g = g.filter(ImageFilter.GaussianBlur(n * 0.12))
        out = Image.new("RGBA", (n, n), (255, 214, 120, 255))
        out.putalpha(g)
        return out

    def draw(self, i, n):
        t = i / 15.0
        img = self.back.copy()
        # The board and its pieces, dimmed once the rook rises.
        layer = Image.new("RGBA", (self.W, self.H), (0, 0, 0, 0))
        layer.alpha_composite(self.board, (self.bx, self.by))
        ox, oy = self.bx + 14, self.by + 14
        for c, row, key, start in self.drops:
            k = ease((t - start) / 0.45)
            if k <= 0:
                continue
            sprite = self.pieces[key]
            cx = ox + c * self.SQ + self.SQ / 2
            cy = oy + row * self.SQ + self.SQ / 2 - (1 - k) * 60
            paste_centred(layer, with_alpha(sprite, min(1.0, k * 1.6)), cx, cy)
        img.alpha_composite(with_alpha(layer, ease(t / 0.8)))
        dim = ease((t - 3.8) / 0.8) * 0.62
        if dim > 0:
            img.alpha_composite(Image.new("RGBA", (self.W, self.H), (0, 0, 0, int(255 * dim))))
        # The golden rook rises into the middle with a glow behind it.
        k = ease((t - 4.0) / 1.2)
        if k > 0:
            cy = 180 + (1 - k) * 120
            paste_centred(img, with_alpha(self.glow, k), self.W / 2, cy)
            paste_centred(img, with_alpha(scaled(self.rook, 0.6 + 0.4 * k), k), self.W / 2, cy)
        # The title and its line.
        k = ease((t - 5.0) / 0.9)
        if k > 0:
            paste_centred(img, with_alpha(self.title, k), self.W / 2, 382 + (1 - k) * 20)
            paste_centred(img, with_alpha(self.subtitle, ease((t - 5.6) / 0.8)), self.W / 2, 446)
        fade = ease((t - 7.4) / 0.6)
        if fade > 0:
            img.alpha_composite(Image.new("RGBA", (self.W, self.H), (0, 0, 0, int(255 * fade))))
        return img.convert("RGB")


# ---- the kids room greeting -------------------------------------------------------

KID_COLOURS = [(240, 80, 80), (250, 170, 40), (250, 220, 60), (90, 200, 90), (70, 160, 240), (170, 110, 230)]


class Kids:
    """A knight hops across a bright board under rising bubbles while the
    letters of the greeting bounce in one after another."""

    W, H, SQ = 320, 240, 28

    def __init__(self):
        self.back = vgradient(self.W, self.H, (150, 215, 255), (236, 248, 255)).convert("RGBA")
        d = ImageDraw.Draw(self.back)
        for x, y, r in ((40, 200, 70), (290, 215, 60), (160, 235, 80)):  # soft hills
            d.ellipse([x - r * 2, y - r // 2, x + r * 2, y + r * 2], fill=(150, 220, 130))
        self.board = board_image(self.SQ, light=(255, 240, 200), dark=(120, 190, 110), frame=6)
        self.knight = piece_sprite("N", self.SQ * 1.5, ((255, 255, 250), (220, 200, 160)), (60, 40, 20))
        self.letters = [text_sprite(ch, 40, mix(KID_COLOURS[i % 6], (255, 255, 255), 0.35), KID_COLOURS[i % 6],
                                    outline=(50, 40, 60))
                        for i, ch in enumerate("Kids Room!")]
        self.bubbles = [((37 * k) % 300 + 10, 1.0 + (k * 0.37) % 1.4, 5 + (k * 7) % 9, KID_COLOURS[k % 6])
                        for k in range(14)]

    def draw(self, i, n):
        t = i / 12.0
        img = self.back.copy()
        d = ImageDraw.Draw(img)
        # Bubbles float up, each on its own speed, and wrap round.
        for x, speed, r, colour in self.bubbles:
            y = self.H + 20 - ((t * 40 * speed + x * 3) % (self.H + 40))
            xx = x + 8 * math.sin(t * 2 + x)
            d.ellipse([xx - r, y - r, xx + r, y + r], fill=mix(colour, (255, 255, 255), 0.45) + (200,),
                      outline=mix(colour, (0, 0, 0), 0.2) + (220,))
            d.ellipse([xx - r * 0.5, y - r * 0.6, xx - r * 0.1, y - r * 0.2], fill=(255, 255, 255, 220))
        # A strip of the board along the bottom; the knight hops over it.
        strip = self.board.crop((0, 0, self.board.size[0], 6 + self.SQ * 2 + 6))
        bx = (self.W - strip.size[0]) // 2
        by = self.H - strip.size[1] + 4  # runs off the bottom edge
        img.alpha_composite(strip, (bx, by))
        hop = t * 1.6
        k = hop - math.floor(hop)
        col = min(7.0, math.floor(hop) + ease(k))
        cx = bx + 6 + (col % 8) * self.SQ + self.SQ / 2
        cy = by + 6 + self.SQ * 0.6 - math.sin(math.pi * k) * 34 * (1 if hop < 7 else 0)
        paste_centred(img, self.knight, cx, cy)
        # The greeting: each letter drops in and bounces, then sways.
        widths = [s.size[0] - 8 for s in self.letters]
        x = (self.W - sum(widths)) / 2
        for j, s in enumerate(self.letters):
            start = 0.3 + j * 0.18
            k = (t - start) / 0.6
            if k > 0:
                bounce = abs(math.cos(min(k, 1.0) * math.pi * 1.5)) * (1 - min(k, 1.0)) * 60
                sway = math.sin(t * 4 + j) * 3 if k >= 1 else 0
                img.alpha_composite(s, (int(x), int(58 - bounce + sway)))
            x += widths[j]
        fade = ease((t - 5.5) / 0.5)
        if fade > 0:
            img.alpha_composite(Image.new("RGBA", (self.W, self.H), (255, 255, 255, int(255 * fade))))
        return img.convert("RGB")


class Lazy:
    """Builds a scene's pictures on first use, so listing the clips is cheap."""

    def __init__(self, cls):
        self.cls, self.scene = cls, None

    def __call__(self, i, n):
        if self.scene is None:
            self.scene = self.cls()
        return self.scene.draw(i, n)


# Music: (start s, length s, frequency Hz, volume).
C4, D4, E4, G4, A4, C5, D5, E5, G5, A5, C6 = 261.63, 293.66, 329.63, 392.00, 440.00, 523.25, 587.33, 659.25, 783.99, 880.0, 1046.5

CLIPS = {
    "test": {
        "size": (160, 120), "fps": 12, "seconds": 2.0, "draw": draw_test,
        "notes": [(0.0, 0.6, C5, 0.5), (0.5, 0.6, E5, 0.5), (1.0, 0.9, G5, 0.5)],
    },
    "intro": {
        "size": (640, 480), "fps": 15, "seconds": 8.0, "draw": Lazy(Intro),
        "notes": [(0.6 + 0.7 * k, 0.9, f, 0.28) for k, f in enumerate((C4, E4, G4, C5))]
                 + [(4.0, 3.6, C4, 0.22), (4.0, 3.6, G4, 0.18), (4.05, 3.5, C5, 0.18), (4.1, 3.4, E5, 0.16),
                    (5.0, 2.6, G5, 0.14), (5.0, 2.6, C6, 0.10)],
    },
    "kids": {
        "size": (320, 240), "fps": 12, "seconds": 6.0, "draw": Lazy(Kids),
        "notes": [(0.3 + 0.18 * k, 0.35, f, 0.3) for k, f in enumerate((C5, D5, E5, G5, A5, G5, E5, D5, C5, G4))]
                 + [(2.4 + 0.625 * k, 0.3, f, 0.25) for k, f in enumerate((G4, C5, E5, G5, E5, C5))]
                 + [(4.6, 1.3, C5, 0.25), (4.6, 1.3, E5, 0.2), (4.6, 1.3, G5, 0.2)],
    },
}
