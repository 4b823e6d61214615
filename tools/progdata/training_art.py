"""Pictures of the training screens, for the resource library RW256.

Interface: pictures() -> list of (name, role, image, recipe, transparent):
the master class window's background "MASTER_CLASS_BACKGROUND" (600 x 420,
the name, rating and total plates at the top, four star rows with their
captions, a band for the certificate buttons), its star "MASTER_CLASS_STAR"
(index 0 around it is see-through), and the drill records dialog's kind
buttons "DRILL_KIND_0".."DRILL_KIND_7".
"""

import math

from PIL import ImageDraw

from common import S, BRASS, BRASS_D, BRASS_L, DARK, INK, LIGHT, WOOD, WOOD_D, WOOD_L, canvas, centred_text, \
    finish, font, mix, noise_texture, rrect, vgrad

W, H = 600, 420
# Star rows as the window lays them out (left, top, right, bottom) and their
# captions, top to bottom; each plate reaches on over the row's number.
ROWS = [((128, 123, 515, 155), "Coach Games"), ((128, 185, 515, 217), "Lessons"),
        ((128, 253, 515, 285), "Drills"), ((128, 322, 515, 354), "Opponents")]
PLATES = [((76, 62, 265, 86), "Name"), ((337, 62, 407, 86), "Rating"), ((522, 62, 564, 86), "Total")]
KINDS = ["Hung Piece", "Find Fork", "Find Check", "Mate in One", "Mate in Two", "Avert Mate", "Move to Safety",
         "Find Pin"]
KIND_GLYPHS = ["\u265F", "\u265E", "\u265A", "\u265B", "\u265B", "\u265C", "\u265D", "\u265D"]


def _star(size):
    big = canvas(size, size)
    d = ImageDraw.Draw(big)
    c, outer, inner = size * S / 2, size * S / 2 - S, size * S / 5
    pts = []
    for k in range(10):
        r = outer if k % 2 == 0 else inner
        a = -math.pi / 2 + k * math.pi / 5
        pts.append((c + r * math.cos(a), c + r * math.sin(a)))
    d.polygon(pts, fill=(244, 200, 40, 255), outline=(130, 80, 10, 255))
    d.line([pts[9], pts[0], pts[1]], fill=(255, 240, 170, 255), width=S)
    return finish(big)


def _background():
    img = noise_texture(W, H, 4107, mix(WOOD, WOOD_D, 0.35), 18).convert("RGBA")
    big = img.resize((W * S, H * S))
    d = ImageDraw.Draw(big)
    rrect(big, (6 * S, 6 * S, (W - 6) * S, (H - 6) * S), 10 * S, outline=BRASS + (255,), width=2 * S)
    centred_text(big, (0, 14 * S, W * S, 50 * S), "Master Class Points", 26 * S, BRASS_L + (255,),
                 shadow=INK + (255,), serif=True)
    for (l, t, r, b), label in PLATES:
        d.text((l * S - 6 * S, (t + b) // 2 * S), label, font=font(12 * S), fill=LIGHT + (255,), anchor="rm")
        rrect(big, ((l - 2) * S, (t - 2) * S, (r + 2) * S, (b + 2) * S), 4 * S, fill=mix(WOOD_D, INK, 0.5) + (255,),
              outline=BRASS_D + (255,), width=S)
    for (l, t, r, b), label in ROWS:
        # The row's number follows its stars, inside the same plate.
        rrect(big, ((l - 4) * S, (t - 4) * S, 568 * S, (b + 4) * S), 6 * S, fill=mix(WOOD_D, INK, 0.35) + (255,),
              outline=BRASS_D + (255,), width=S)
        d.text((122 * S, (t + b) // 2 * S), label, font=font(13 * S), fill=BRASS_L + (255,), anchor="rm")
    # The certificate band.
    d.line((20 * S, 366 * S, (W - 20) * S, 366 * S), fill=BRASS_D + (255,), width=S)
    d.text((20 * S, 392 * S), "Certificates:", font=font(12 * S), fill=LIGHT + (255,), anchor="lm")
    return finish(big).convert("RGB")


def _kind_button(kind):
    w, h = 96, 36
    big = canvas(w, h)
    grad = canvas(w, h)
    vgrad(grad, (0, 0, w * S, h * S), BRASS_L, BRASS)
    mask = canvas(w, h)
    rrect(mask, (0, 0, w * S - 1, h * S - 1), 6 * S, fill=(255, 255, 255, 255))
    big.paste(grad, (0, 0), mask)
    rrect(big, (S // 2, S // 2, w * S - S, h * S - S), 6 * S, outline=BRASS_D + (255,), width=S)
    d = ImageDraw.Draw(big)
    d.text((16 * S, h * S // 2), KIND_GLYPHS[kind], font=font(24 * S), fill=DARK + (255,), anchor="mm")
    centred_text(big, (30 * S, 0, (w - 4) * S, h * S), KINDS[kind], 12 * S, INK + (255,), fit=True)
    return finish(big).convert("RGB")


def pictures():
    out = [("MASTER_CLASS_BACKGROUND", "master class background", _background(), "wood, brass plates", False),
           ("MASTER_CLASS_STAR", "master class star", _star(28), "five-pointed star", True)]
    for kind in range(8):
        out.append(("DRILL_KIND_%d" % kind, "drill records kind button", _kind_button(kind), "brass face, glyph",
                    False))
    return out
