"""Draws the portraits of the faces pack: one per personality of the roster,
"User.BMP", "Winboard.BMP" and the twelve nickname pictures, 8-bit in the
program palette, 72 x 94 pixels (a personality card shows them at 8, 8).

    portraits.py ROSTER OUTPUT_FOLDER

Writes the pictures and OUTPUT_FOLDER/faces.list (one "PATH=NAME" a line,
as mkpack reads it). Each face is drawn from its roster line "portrait =
key=value ..." (skin, hair and clothes colours, hair style, glasses, beard,
age); the same roster gives the same bytes.
"""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "progdata"))

from PIL import Image, ImageDraw  # noqa: E402

import common  # noqa: E402
import quantize  # noqa: E402

W, H = 72, 94
S = common.S

# Nickname pictures of the Game Status window (the table in status_texts).
NICKNAMES = [
    ("NickAce.BMP", "skin=#e8c0a0 hair=#2a1a10 style=swept clothes=#b02a2a bg=#f4d0c8 glasses=0 beard=0 age=young"),
    ("NickBishop.BMP", "skin=#f0d0b8 hair=#d8d8d8 style=bald clothes=#5a2a7a bg=#e4d4f0 glasses=1 beard=1 age=old"),
    ("NickBlitz.BMP", "skin=#d09868 hair=#e8e040 style=messy clothes=#e8d020 bg=#fff4b0 glasses=0 beard=0 age=young"),
    ("NickChamp.BMP", "skin=#8a5a3a hair=#100a08 style=short clothes=#d0a020 bg=#f8e8b0 glasses=0 beard=1 age=adult"),
    ("NickDuchess.BMP", "skin=#f4dcc8 hair=#6a2a1a style=bun clothes=#2a6a8a bg=#d0e4f0 glasses=0 beard=0 age=adult"),
    ("NickGambit.BMP", "skin=#c88c60 hair=#3a2010 style=curly clothes=#2a8a4a bg=#d0f0d8 glasses=0 beard=0 age=young"),
    ("NickMaestro.BMP", "skin=#f0c8a8 hair=#f0f0f0 style=swept clothes=#1a1a1a bg=#e0e0e8 glasses=0 beard=1 age=old"),
    ("NickPawn.BMP", "skin=#f2d2b4 hair=#a05a2a style=pigtails clothes=#4aa0d8 bg=#d8eefc glasses=0 beard=0 age=kid"),
    ("NickProfessor.BMP", "skin=#e8c4a4 hair=#8a8a8a style=short clothes=#6a4a2a bg=#ece0cc glasses=1 beard=0 age=old"),
    ("NickRook.BMP", "skin=#b07850 hair=#1a1008 style=afro clothes=#3a3a6a bg=#d8d8f0 glasses=0 beard=0 age=adult"),
    ("NickShark.BMP", "skin=#e0b490 hair=#101010 style=short clothes=#2a4a6a bg=#c8dcec glasses=1 beard=0 age=adult"),
    ("NickWizard.BMP", "skin=#f0d4bc hair=#e4e4ec style=long clothes=#3a2a8a bg=#a8b8d0 glasses=0 beard=1 age=old"),
]


def rgb(text):
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


def shade(c, f):
    """Darker (f < 1) or lighter (f > 1) version of a colour."""
    if f < 1:
        return tuple(round(v * f) for v in c)
    return tuple(round(v + (255 - v) * (f - 1)) for v in c)


def box(x0, y0, x1, y1):
    return [round(x0 * S), round(y0 * S), round(x1 * S), round(y1 * S)]


def overlay(img, draw_fn):
    """Draws translucent shapes on their own layer and lays it over."""
    layer = Image.new("RGBA", img.size, (0, 0, 0, 0))
    draw_fn(ImageDraw.Draw(layer))
    img.alpha_composite(layer)


def background(img, bg):
    common.vgrad(img, (0, 0, W * S, H * S), shade(bg, 1.25), shade(bg, 0.85))
    d = ImageDraw.Draw(img)
    d.rectangle(box(0, 0, W, H), outline=shade(bg, 0.55) + (255,), width=S)


def shoulders(img, clothes, skin, age):
    d = ImageDraw.Draw(img)
    top = 72 if age != "kid" else 76
    body = Image.new("RGBA", img.size, (0, 0, 0, 0))
    common.vgrad(body, (0, top * S, W * S, H * S), shade(clothes, 1.15), shade(clothes, 0.7))
    mask = Image.new("L", img.size, 0)
    ImageDraw.Draw(mask).ellipse(box(4, top, 68, top + 50), fill=255)
    img.paste(body, (0, 0), mask)
    # neck and collar
    d.rectangle(box(29, top - 10, 43, top + 3), fill=shade(skin, 0.86) + (255,))
    d.polygon([(29 * S, top * S), (36 * S, (top + 9) * S), (43 * S, top * S), (43 * S, (top + 2) * S),
               (36 * S, (top + 12) * S), (29 * S, (top + 2) * S)], fill=shade(clothes, 1.5) + (255,))


def hair_back(d, style, hair, cx, cy, rw, rh):
    c = hair + (255,)
    if style in ("long", "ponytail"):
        d.rounded_rectangle(box(cx - rw - 3, cy - rh + 6, cx + rw + 3, cy + rh + 14 if style == "long" else cy + 8),
                            radius=10 * S, fill=c)
    if style == "ponytail":
        d.ellipse(box(cx + rw - 2, cy - 6, cx + rw + 9, cy + 18), fill=c)
    if style == "bob":
        d.rounded_rectangle(box(cx - rw - 4, cy - rh + 4, cx + rw + 4, cy + rh - 8), radius=12 * S, fill=c)
    if style == "afro":
        for dx, dy, r in ((-14, -12, 14), (14, -12, 14), (0, -20, 15), (-18, 2, 11), (18, 2, 11), (0, -6, 16)):
            d.ellipse(box(cx + dx - r, cy + dy - r, cx + dx + r, cy + dy + r), fill=c)
    if style == "bun":
        d.ellipse(box(cx - 9, cy - rh - 12, cx + 9, cy - rh + 4), fill=c)
    if style == "pigtails":
        for side in (-1, 1):
            x = cx + side * (rw + 4)
            d.ellipse(box(x - 7, cy - 8, x + 7, cy + 14), fill=c)
            d.ellipse(box(x - 3, cy - 11, x + 3, cy - 5), fill=(230, 60, 90, 255))


def hair_front(img, d, style, hair, cx, cy, rw, rh):
    c = hair + (255,)
    top = cy - rh
    if style == "bald":
        d.chord(box(cx - rw - 1, cy - 10, cx + rw + 1, cy + 14), 160, 200, fill=c)
        d.chord(box(cx - rw - 1, cy - 10, cx + rw + 1, cy + 14), 340, 20, fill=c)
        return
    if style == "afro":
        d.chord(box(cx - rw, top - 2, cx + rw, top + 20), 180, 360, fill=c)
        return
    # The hair over the head: a shape a little larger than the head, less
    # the forehead, so the hairline curves round the face.
    fringe = {"long": 11, "bob": 12, "pigtails": 11, "messy": 10, "curly": 9}.get(style, 8)
    shift = 4 if style == "swept" else 0
    mask = Image.new("L", img.size, 0)
    m = ImageDraw.Draw(mask)
    m.ellipse(box(cx - rw - 1.5, top - 2.5, cx + rw + 1.5, cy + 6), fill=255)
    m.ellipse(box(cx - rw + 2.5 + shift, top + fringe, cx + rw - 2.5 + shift, cy + rh + 12), fill=0)
    if style in ("long", "bob", "pigtails"):
        m.rectangle(box(cx - rw - 1.5, top + 8, cx - rw + 2.5, cy + 6), fill=255)
        m.rectangle(box(cx + rw - 2.5, top + 8, cx + rw + 1.5, cy + 6), fill=255)
    img.paste(Image.new("RGBA", img.size, c), (0, 0), mask)
    # a soft sheen across the crown
    sheen = Image.new("L", img.size, 0)
    ImageDraw.Draw(sheen).arc(box(cx - rw + 3, top + 1, cx + rw - 3, top + 14), 200, 300, fill=70, width=2 * S)
    sheen = Image.composite(sheen, Image.new("L", img.size, 0), mask)
    img.paste(Image.new("RGBA", img.size, shade(hair, 1.5) + (255,)), (0, 0), sheen)
    if style == "messy":
        for i in range(7):
            x = cx - rw + 3 + i * (2 * rw - 6) / 6
            d.polygon([((x - 4) * S, (top + 8) * S), ((x + 1) * S, (top + 15 + (i % 2) * 3) * S),
                       ((x + 4) * S, (top + 8) * S)], fill=c)
    if style == "curly":
        for i in range(8):
            x = cx - rw + 2 + i * (2 * rw - 4) / 7
            d.ellipse(box(x - 5, top - 2 + (i % 2) * 3, x + 5, top + 10 + (i % 2) * 3), fill=c)


def face(img, p):
    skin, hair, clothes = rgb(p["skin"]), rgb(p["hair"]), rgb(p["clothes"])
    age, style = p["age"], p["style"]
    kid = age == "kid"
    cx, cy = 36, 42 if not kid else 46
    rw, rh = (17, 21) if not kid else (18, 19)
    d = ImageDraw.Draw(img)
    hair_back(d, style, hair, cx, cy, rw, rh)
    shoulders(img, clothes, skin, age)
    d = ImageDraw.Draw(img)
    # ears, head, shading and light
    for side in (-1, 1):
        d.ellipse(box(cx + side * rw - 4, cy - 4, cx + side * rw + 4, cy + 8), fill=shade(skin, 0.9) + (255,))
    overlay(img, lambda o: o.ellipse(box(cx - 9, cy + rh - 8, cx + 9, cy + rh + 5), fill=(40, 20, 10, 60)))
    d = ImageDraw.Draw(img)
    d.ellipse(box(cx - rw, cy - rh, cx + rw, cy + rh), fill=skin + (255,))
    overlay(img, lambda o: o.chord(box(cx - rw, cy - rh, cx + rw, cy + rh), 300, 100,
                                   fill=shade(skin, 0.7) + (70,)))
    overlay(img, lambda o: o.ellipse(box(cx - 11, cy - rh + 4, cx + 3, cy - 6), fill=(255, 255, 255, 40)))
    d = ImageDraw.Draw(img)
    if p.get("beard") == "1":
        d.chord(box(cx - rw, cy - rh + 10, cx + rw, cy + rh + 2), 10, 170, fill=hair + (255,))
        d.ellipse(box(cx - 6, cy + 9, cx + 6, cy + 14), fill=shade(skin, 0.95) + (255,))
    hair_front(img, d, style, hair, cx, cy, rw, rh)
    d = ImageDraw.Draw(img)
    # eyes
    ey = cy + (1 if not kid else 2)
    size = 3.2 if not kid else 3.8
    iris = shade(hair, 0.8) if sum(hair) < 300 else (70, 110, 150)
    for side in (-1, 1):
        ex = cx + side * 7
        d.ellipse(box(ex - size, ey - size * 0.75, ex + size, ey + size * 0.75), fill=(250, 250, 248, 255))
        d.ellipse(box(ex - 2, ey - 2, ex + 2, ey + 2), fill=iris + (255,))
        d.ellipse(box(ex - 1, ey - 1, ex + 1, ey + 1), fill=(16, 12, 10, 255))
        d.ellipse(box(ex + 0.3, ey - 1.3, ex + 1.1, ey - 0.5), fill=(255, 255, 255, 255))
        brow = shade(hair, 0.85) if style != "bald" or sum(hair) < 600 else (150, 150, 150)
        d.arc(box(ex - 4.5, ey - 7, ex + 4.5, ey - 1), 200, 340, fill=brow + (255,), width=int(1.3 * S))
        if age == "old":
            d.arc(box(ex - 4, ey + 1, ex + 4, ey + 5), 20, 160, fill=shade(skin, 0.75) + (255,), width=S // 2)
    # nose, cheeks, mouth
    d.arc(box(cx - 3, cy + 3, cx + 3, cy + 9), 10, 170, fill=shade(skin, 0.7) + (255,), width=S)
    # Rosy cheeks on light skin; on darker skin they only blotch in 256 colours.
    if (kid or p.get("sex") == "female" or age == "teen") and sum(skin) > 450:
        overlay(img, lambda o: [o.ellipse(box(cx + s * 11 - 4, cy + 7, cx + s * 11 + 4, cy + 12),
                                          fill=(240, 110, 110, 50)) for s in (-1, 1)])
        d = ImageDraw.Draw(img)
    mouth = (150, 50, 50) if p.get("beard") != "1" else (120, 40, 40)
    d.chord(box(cx - 6, cy + 8, cx + 6, cy + 16), 10, 170, fill=mouth + (255,))
    d.chord(box(cx - 5, cy + 8, cx + 5, cy + 12), 10, 170, fill=(250, 246, 240, 255))
    if p.get("glasses") == "1":
        frame = (40, 36, 40, 255)
        for side in (-1, 1):
            ex = cx + side * 7
            d.rounded_rectangle(box(ex - 5.5, ey - 4.5, ex + 5.5, ey + 4.5), radius=2 * S, outline=frame,
                                width=int(1.2 * S))
        d.line([((cx - 1.5) * S, ey * S), ((cx + 1.5) * S, ey * S)], fill=frame, width=S)


def bear(img):
    brown, light = (150, 96, 52), (214, 170, 120)
    d = ImageDraw.Draw(img)
    shoulders(img, (60, 120, 200), brown, "kid")
    d = ImageDraw.Draw(img)
    for side in (-1, 1):
        x = 36 + side * 17
        d.ellipse(box(x - 9, 16, x + 9, 34), fill=shade(brown, 0.85) + (255,))
        d.ellipse(box(x - 5, 20, x + 5, 30), fill=light + (255,))
    d.ellipse(box(14, 22, 58, 70), fill=brown + (255,))
    overlay(img, lambda o: o.chord(box(14, 22, 58, 70), 300, 100, fill=(60, 30, 10, 70)))
    overlay(img, lambda o: o.ellipse(box(22, 26, 36, 38), fill=(255, 255, 255, 40)))
    d = ImageDraw.Draw(img)
    d.ellipse(box(24, 48, 48, 66), fill=light + (255,))
    d.ellipse(box(31, 49, 41, 56), fill=(30, 20, 16, 255))
    d.ellipse(box(33, 50, 36, 52), fill=(255, 255, 255, 160))
    d.arc(box(30, 54, 36, 61), 20, 160, fill=(60, 30, 20, 255), width=S)
    d.arc(box(36, 54, 42, 61), 20, 160, fill=(60, 30, 20, 255), width=S)
    for side in (-1, 1):
        ex = 36 + side * 9
        d.ellipse(box(ex - 3, 40, ex + 3, 46), fill=(20, 14, 10, 255))
        d.ellipse(box(ex, 41, ex + 1.5, 42.5), fill=(255, 255, 255, 255))
    # bow tie
    d.polygon([(28 * S, 74 * S), (36 * S, 78 * S), (28 * S, 82 * S)], fill=(220, 50, 60, 255))
    d.polygon([(44 * S, 74 * S), (36 * S, 78 * S), (44 * S, 82 * S)], fill=(220, 50, 60, 255))
    d.ellipse(box(34, 76, 38, 80), fill=(180, 30, 40, 255))


def user_picture(img):
    d = ImageDraw.Draw(img)
    grey = (120, 134, 150)
    body = Image.new("RGBA", img.size, (0, 0, 0, 0))
    common.vgrad(body, (0, 20 * S, W * S, H * S), shade(grey, 1.3), shade(grey, 0.7))
    mask = Image.new("L", img.size, 0)
    ImageDraw.Draw(mask).ellipse(box(8, 66, 64, 120), fill=255)
    ImageDraw.Draw(mask).ellipse(box(21, 22, 51, 56), fill=255)
    img.paste(body, (0, 0), mask)
    overlay(img, lambda o: o.ellipse(box(25, 25, 37, 37), fill=(255, 255, 255, 60)))


def engine_picture(img):
    d = ImageDraw.Draw(img)
    d.rounded_rectangle(box(8, 18, 64, 64), radius=4 * S, fill=(60, 62, 70, 255))
    screen = Image.new("RGBA", img.size, (0, 0, 0, 0))
    common.vgrad(screen, box(12, 22, 60, 58), (60, 110, 170), (20, 50, 100))
    mask = Image.new("L", img.size, 0)
    ImageDraw.Draw(mask).rectangle(box(12, 22, 60, 58), fill=255)
    img.paste(screen, (0, 0), mask)
    d = ImageDraw.Draw(img)
    for r in range(4):
        for f in range(4):
            c = (236, 220, 180, 255) if (r + f) % 2 == 0 else (150, 100, 60, 255)
            d.rectangle(box(24 + f * 6, 28 + r * 6, 30 + f * 6, 34 + r * 6), fill=c)
    d.polygon([(30 * S, 66 * S), (42 * S, 66 * S), (46 * S, 76 * S), (26 * S, 76 * S)], fill=(80, 82, 90, 255))
    d.rounded_rectangle(box(20, 76, 52, 80), radius=S, fill=(90, 92, 100, 255))
    overlay(img, lambda o: o.polygon([(12 * S, 22 * S), (40 * S, 22 * S), (12 * S, 44 * S)],
                                     fill=(255, 255, 255, 30)))


def draw(recipe, extra=None):
    img = common.canvas(W, H)
    p = dict(kv.split("=", 1) for kv in recipe.split()) if recipe else {}
    if extra:
        p.update(extra)
    background(img, rgb(p.get("bg", "#d0dce8")))
    if p.get("bear") == "1":
        bear(img)
    elif p.get("kind") == "user":
        user_picture(img)
    elif p.get("kind") == "engine":
        engine_picture(img)
    else:
        face(img, p)
    return common.finish(img)


def read_roster(path):
    entries, current = [], None
    for line in open(path, encoding="utf-8"):
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            current = {"name": line[1:-1]}
            entries.append(current)
        elif "=" in line and current is not None and not line.startswith("#"):
            key, value = line.split("=", 1)
            current[key.strip()] = value.strip()
    return entries


def main():
    roster, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    pictures = []
    for e in read_roster(roster):
        pictures.append((e["picture"], draw(e["portrait"], {"sex": e["sex"]})))
    pictures.append(("User.BMP", draw("bg=#c8d4e0 kind=user")))
    pictures.append(("Winboard.BMP", draw("bg=#d4d8dc kind=engine")))
    for name, recipe in NICKNAMES:
        pictures.append((name, draw(recipe)))
    with open(os.path.join(out, "faces.list"), "w") as f:
        for name, img in pictures:
            path = os.path.join(out, name)
            quantize.save(path, img.convert("RGB"), dither=True)
            f.write("%s=%s\n" % (path, name))


if __name__ == "__main__":
    main()
