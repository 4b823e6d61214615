"""Faces of the game room's shortcut tiles, for the resource library RW256.

Interface: pictures() -> list of (name, role, image, recipe, transparent):
for each tile "TILE<id>" (normal) and "TILE<id>P" (pressed), drawn at the
size its hot button takes from its caption: New Game 21655 (94 x 80),
Advice 21660 (94 x 84), Set Up Game 21650 (108 x 80), Analysis 21665
(104 x 84). A tile is a walnut plaque with a brass rim, a picture and its
name on a brass label; the corners outside the rim are see-through, so the
Shortcuts window's felt shows there.
"""

import math

from PIL import ImageDraw

from common import S, BRASS, BRASS_D, BRASS_L, DARK, INK, WOOD, WOOD_D, WOOD_L, canvas, centred_text, finish, font, mix, rrect, vgrad

TILES = [(21655, "New Game", 94, 80, "kings"), (21660, "Advice", 94, 84, "bubble"),
         (21650, "Set Up Game", 108, 80, "clock"), (21665, "Analysis", 104, 84, "glass")]
LABEL = 19  # pixels of the name label at the bottom
CREAM = (250, 244, 224)
LIGHT_SQ, DARK_SQ = (238, 216, 170), (170, 120, 74)


def _kings(big, box, off):
    """A white and a black king facing each other on a strip of board."""
    d = ImageDraw.Draw(big)
    x0, y0, x1, y1 = box
    sq = (y1 - y0) // 5
    floor = y1 - 2 * sq
    cols = (x1 - x0) // sq
    left = x0 + ((x1 - x0) - cols * sq) // 2
    for r in range(2):
        for c in range(cols):
            colour = LIGHT_SQ if (r + c) % 2 == 0 else DARK_SQ
            d.rectangle((left + c * sq + off, floor + r * sq + off, left + (c + 1) * sq - 1 + off,
                         floor + (r + 1) * sq - 1 + off), fill=colour + (255,))
    d.rectangle((left + off, floor + off, left + cols * sq - 1 + off, floor + 2 * sq - 1 + off),
                outline=WOOD_D + (255,), width=S)
    f = font(int((y1 - y0) * 0.72), False)
    cx = (x0 + x1) // 2
    base = floor + sq // 2
    d.text((cx - (x1 - x0) // 5 + off, base + off), "\u265A", font=f, fill=(250, 248, 240, 255), anchor="ms")
    d.text((cx - (x1 - x0) // 5 + off, base + off), "\u2654", font=f, fill=INK + (255,), anchor="ms")
    d.text((cx + (x1 - x0) // 5 + off, base + off), "\u265A", font=f, fill=(24, 22, 22, 255), anchor="ms",
           stroke_width=max(1, S // 2), stroke_fill=(220, 200, 160, 255))


def _bubble(big, box, off):
    """A speech bubble holding a question mark."""
    d = ImageDraw.Draw(big)
    x0, y0, x1, y1 = box
    w, h = x1 - x0, y1 - y0
    bx0, by0 = x0 + w // 8 + off, y0 + h // 12 + off
    bx1, by1 = x1 - w // 8 + off, y0 + h * 3 // 4 + off
    tail = [(bx0 + w // 5, by1 - S), (bx0 + w // 9, y1 - S + off), (bx0 + w * 2 // 5, by1 - S)]
    d.polygon(tail, fill=CREAM + (255,), outline=DARK + (255,))
    d.ellipse((bx0, by0, bx1, by1), fill=CREAM + (255,), outline=DARK + (255,), width=S)
    d.polygon([(p[0], p[1] - 2 * S) for p in tail], fill=CREAM + (255,))
    f = font(int(h * 0.5), True, True)
    d.text(((bx0 + bx1) // 2, (by0 + by1) // 2 + S), "?", font=f, fill=(150, 30, 24, 255), anchor="mm")


def _clock(big, box, off):
    """A chess clock: a wooden case with two dials and two buttons."""
    d = ImageDraw.Draw(big)
    x0, y0, x1, y1 = box
    w, h = x1 - x0, y1 - y0
    cx0, cy0 = x0 + w // 10 + off, y0 + h // 4 + off
    cx1, cy1 = x1 - w // 10 + off, y1 - S + off
    for bx in (cx0 + (cx1 - cx0) // 4, cx0 + 3 * (cx1 - cx0) // 4):
        d.rectangle((bx - 3 * S, cy0 - h // 8, bx + 3 * S, cy0), fill=BRASS + (255,), outline=BRASS_D + (255,),
                    width=S // 2)
    d.rounded_rectangle((cx0, cy0, cx1, cy1), radius=3 * S, fill=WOOD + (255,), outline=WOOD_D + (255,), width=S)
    r = min((cx1 - cx0) // 4 - 2 * S, (cy1 - cy0) // 2 - 2 * S)
    for k, centre in enumerate((cx0 + (cx1 - cx0) // 4, cx0 + 3 * (cx1 - cx0) // 4)):
        cy = (cy0 + cy1) // 2
        d.ellipse((centre - r, cy - r, centre + r, cy + r), fill=CREAM + (255,), outline=BRASS_D + (255,), width=S)
        for tick in range(12):
            a = tick * math.pi / 6
            d.line((centre + int(r * 0.78 * math.cos(a)), cy + int(r * 0.78 * math.sin(a)),
                    centre + int(r * 0.92 * math.cos(a)), cy + int(r * 0.92 * math.sin(a))), fill=INK + (255,),
                   width=max(1, S // 2))
        hands = ((-90, 0.6), (30, 0.75)) if k == 0 else ((-90, 0.6), (-20, 0.75))
        for angle, length in hands:
            a = math.radians(angle)
            d.line((centre, cy, centre + int(r * length * math.cos(a)), cy + int(r * length * math.sin(a))),
                   fill=INK + (255,), width=S)
        d.ellipse((centre - S, cy - S, centre + S, cy + S), fill=(150, 30, 24, 255))


def _glass(big, box, off):
    """A magnifying glass over a rising line of scores."""
    d = ImageDraw.Draw(big)
    x0, y0, x1, y1 = box
    w, h = x1 - x0, y1 - y0
    gx0, gy0, gx1, gy1 = x0 + w // 6 + off, y0 + h // 10 + off, x1 - w // 6 + off, y1 - h // 10 + off
    d.rectangle((gx0, gy0, gx1, gy1), fill=CREAM + (255,), outline=DARK + (255,), width=S)
    for k in range(1, 4):
        y = gy0 + (gy1 - gy0) * k // 4
        d.line((gx0 + S, y, gx1 - S, y), fill=mix(CREAM, DARK, 0.25) + (255,), width=max(1, S // 2))
    points = [0.75, 0.6, 0.68, 0.42, 0.5, 0.22]
    line = [(gx0 + 2 * S + (gx1 - gx0 - 4 * S) * i // (len(points) - 1), gy0 + int((gy1 - gy0) * v))
            for i, v in enumerate(points)]
    d.line(line, fill=(30, 96, 56, 255), width=int(1.5 * S), joint="curve")
    r = min(w, h) // 4
    cx, cy = x1 - w // 3 + off, y0 + h // 2 + off
    a = math.radians(45)
    hx, hy = cx + int(r * math.cos(a)), cy + int(r * math.sin(a))
    d.line((hx, hy, hx + r, hy + r), fill=WOOD_D + (255,), width=3 * S)
    lens = canvas(big.size[0] // S, big.size[1] // S)
    ImageDraw.Draw(lens).ellipse((cx - r, cy - r, cx + r, cy + r), fill=(190, 220, 240, 110))
    big.alpha_composite(lens)
    d = ImageDraw.Draw(big)
    d.ellipse((cx - r, cy - r, cx + r, cy + r), outline=BRASS_D + (255,), width=2 * S)
    d.ellipse((cx - r + S, cy - r + S, cx + r - S, cy + r - S), outline=BRASS_L + (255,), width=S)


DRAW = {"kings": _kings, "bubble": _bubble, "clock": _clock, "glass": _glass}


def _tile(w, h, name, picture, pressed):
    big = canvas(w, h)
    W, H = w * S, h * S
    off = S if pressed else 0
    # The plaque: brass rim, walnut field lit from the top (sunk when pressed).
    rrect(big, (0, 0, W - 1, H - 1), 9 * S, fill=(BRASS_D if pressed else BRASS) + (255,))
    rrect(big, (S, S, W - 1 - S, H - 1 - S), 8 * S, fill=(BRASS if pressed else BRASS_L) + (255,))
    field = canvas(w, h)
    top, bottom = (WOOD_D, WOOD) if pressed else (WOOD_L, WOOD_D)
    vgrad(field, (0, 0, W, H), top, bottom)
    mask = canvas(w, h)
    rrect(mask, (3 * S, 3 * S, W - 1 - 3 * S, H - 1 - 3 * S), 7 * S, fill=(255, 255, 255, 255))
    big.paste(field, (0, 0), mask)
    # The picture above the label, the name on the label.
    label_top = H - (LABEL + 4) * S
    DRAW[picture](big, (6 * S, 5 * S, W - 6 * S, label_top - 2 * S), off)
    rrect(big, (5 * S + off, label_top + off, W - 1 - 5 * S + off, H - 1 - 5 * S + off), 3 * S,
          fill=(BRASS if pressed else BRASS_L) + (255,), outline=BRASS_D + (255,), width=S)
    centred_text(big, (7 * S + off, label_top + off, W - 7 * S + off, H - 5 * S + off), name, 11 * S, INK + (255,),
                 fit=True)
    return finish(big)


def pictures():
    out = []
    for tile_id, name, w, h, picture in TILES:
        for pressed, suffix in ((False, ""), (True, "P")):
            out.append(("TILE%d%s" % (tile_id, suffix), "shortcut tile face" + (", pressed" if pressed else ""),
                        _tile(w, h, name, picture, pressed), "walnut plaque, brass rim, " + picture, True))
    return out
