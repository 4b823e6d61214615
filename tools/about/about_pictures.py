#!/usr/bin/env python3
"""Draws the about box's pictures and writes the "about" pack's list file:
the program's box ("boxOnyx.bmp"), the earlier edition's box
("boxOpal.bmp"), seven staff pictures (one per part of the team, no person)
and a few pictures of the program's rooms. All are 8-bit in the program
palette, drawn at four times their size and reduced (antialiased).

    about_pictures.py OUT_DIR LIST_FILE
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "progdata"))

from PIL import Image, ImageDraw  # noqa: E402

import quantize  # noqa: E402
from common import BRASS, BRASS_D, BRASS_L, S, canvas, finish, font, mix  # noqa: E402

W, H = 190, 366  # the box pictures fill the about box's picture panel
STAFF = [
    ("staffRules.bmp", "\u265A", "Rules", (70, 96, 160)),
    ("staffEngine.bmp", "\u265B", "Engine", (150, 60, 60)),
    ("staffBoards.bmp", "\u265C", "Boards", (60, 120, 80)),
    ("staffRooms.bmp", "\u265D", "Rooms", (130, 90, 40)),
    ("staffSound.bmp", "\u265E", "Sound", (100, 70, 140)),
    ("staffPictures.bmp", "\u265F", "Pictures", (40, 110, 130)),
    ("staffTests.bmp", "\u2654", "Tests", (90, 90, 96)),
]


def text(draw, xy, s, px, fill, bold=True, serif=False, centre=True, shadow=True):
    f = font(px * S, bold=bold, serif=serif)
    l, t, r, b = draw.textbbox((0, 0), s, font=f)
    x, y = xy[0] * S, xy[1] * S
    if centre:
        x -= (r - l) // 2 + l
    if shadow:
        draw.text((x + 2 * S, y + 2 * S), s, font=f, fill=(0, 0, 0, 170))
    draw.text((x, y), s, font=f, fill=fill + (255,))


def box(name, face, title, glyph):
    """A boxed program standing a little turned: front, side and top."""
    img = canvas(W, H, (18, 22, 44, 255))
    d = ImageDraw.Draw(img)
    for y in range(H * S):  # the backdrop, dark at the top
        d.line([(0, y), (W * S, y)], fill=mix((20, 24, 46), (40, 48, 92), y / (H * S)) + (255,))
    fx0, fy0, fx1, fy1 = 27, 91, 147, 277
    depth = 22
    side = [(fx1 * S, fy0 * S), ((fx1 + depth) * S, (fy0 - 12) * S), ((fx1 + depth) * S, (fy1 - 12) * S),
            (fx1 * S, fy1 * S)]
    top = [(fx0 * S, fy0 * S), ((fx0 + depth) * S, (fy0 - 12) * S), ((fx1 + depth) * S, (fy0 - 12) * S),
           (fx1 * S, fy0 * S)]
    d.polygon(side, fill=mix(face, (0, 0, 0), 0.45) + (255,))
    d.polygon(top, fill=mix(face, (255, 255, 255), 0.25) + (255,))
    for y in range(fy0 * S, fy1 * S):
        t = (y - fy0 * S) / ((fy1 - fy0) * S)
        d.line([(fx0 * S, y), (fx1 * S - 1, y)], fill=mix(mix(face, (255, 255, 255), 0.15), face, t) + (255,))
    d.rectangle((fx0 * S, fy0 * S, fx1 * S - 1, fy1 * S - 1), outline=BRASS_D + (255,), width=S * 2)
    d.rectangle(((fx0 + 5) * S, (fy0 + 5) * S, (fx1 - 5) * S, (fy1 - 5) * S), outline=BRASS + (255,), width=S)
    cx = (fx0 + fx1) // 2
    light = sum(face) > 300
    ink, ink2 = ((44, 40, 64), (90, 64, 24)) if light else (BRASS_L, BRASS)
    text(d, (cx, fy0 + 28), glyph, 78, ink, bold=False, shadow=not light)
    text(d, (cx, fy0 + 126), "Rookwell", 20, ink, serif=True, shadow=not light)
    text(d, (cx, fy0 + 150), title, 17, ink2, shadow=not light)
    # The floor's shadow under the box.
    d.ellipse(((fx0 - 6) * S, (fy1 + 4) * S, (fx1 + depth + 6) * S, (fy1 + 16) * S), fill=(6, 8, 18, 200))
    quantize.save(name, finish(img).convert("RGB"), dither=True)


def staff(name, glyph, label, colour):
    w, h = 150, 150
    img = canvas(w, h, (20, 24, 46, 255))
    d = ImageDraw.Draw(img)
    for r in range(60 * S, 0, -S):  # a shaded disc
        t = r / (60 * S)
        c = mix(mix(colour, (255, 255, 255), 0.35), colour, t)
        d.ellipse((75 * S - r, 64 * S - r, 75 * S + r, 64 * S + r), fill=c + (255,))
    d.ellipse((15 * S, 4 * S, 135 * S, 124 * S), outline=BRASS + (255,), width=2 * S)
    text(d, (75, 18), glyph, 72, (250, 246, 232), bold=False)
    text(d, (75, 128), label, 14, BRASS_L)
    quantize.save(name, finish(img).convert("RGB"), dither=True)


def board(name):
    w, h = 170, 170
    img = canvas(w, h, (20, 24, 46, 255))
    d = ImageDraw.Draw(img)
    n = 8
    size = 18
    x0, y0 = (w - n * size) // 2, 10
    for r in range(n):
        for c in range(n):
            fill = (228, 206, 160) if (r + c) % 2 == 0 else (136, 90, 52)
            d.rectangle(((x0 + c * size) * S, (y0 + r * size) * S, (x0 + (c + 1) * size) * S - 1,
                         (y0 + (r + 1) * size) * S - 1), fill=fill + (255,))
    d.rectangle(((x0 - 2) * S, (y0 - 2) * S, (x0 + n * size + 2) * S, (y0 + n * size + 2) * S),
                outline=BRASS_D + (255,), width=2 * S)
    for c, g in enumerate("\u265C\u265E\u265D\u265B\u265A\u265D\u265E\u265C"):
        text(d, (x0 + c * size + size // 2, y0 - 1), g, 15, (20, 20, 24), bold=False, shadow=False)
        text(d, (x0 + c * size + size // 2, y0 + 7 * size - 1), chr(ord(g) - 6), 15, (250, 250, 246),
             bold=False, shadow=False)
    text(d, (w // 2, y0 + n * size + 4), "The Game Room", 12, BRASS_L)
    quantize.save(name, finish(img).convert("RGB"), dither=True)


def main():
    out, listing = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    items = []

    def path(n):
        items.append(n)
        return os.path.join(out, n)

    box(path("boxOnyx.bmp"), (22, 24, 30), "Onyx", "\u265C")
    box(path("boxOpal.bmp"), (150, 170, 190), "Opal", "\u265E")
    for n, g, label, colour in STAFF:
        staff(path(n), g, label, colour)
    board(path("gameRoom.bmp"))
    with open(listing, "w") as f:
        for n in items:
            f.write("%s=%s\n" % (os.path.join(out, n), n))


if __name__ == "__main__":
    main()
