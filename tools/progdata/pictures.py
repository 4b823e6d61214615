"""Full pictures: lobby backgrounds, wallpaper, splash.

Interface: lobby(w, h) -> RGB image (any size, same design), wallpaper(path),
splash(path), marble(w, h, seed) -> RGB image, marble_tile(w, h, seed) -> RGB
image that repeats without a seam.

Each picture is a function of its size and fixed seeds only, so the three
lobby sizes show the same room and the login buttons can cut their "_off"
pictures from the very background they sit on.
"""

import math
import random

from PIL import Image, ImageDraw, ImageFilter

import quantize
from common import BRASS, BRASS_D, BRASS_L, DARK, WOOD, WOOD_D, WOOD_L, font, mix

SS = 2  # supersampling of the large pictures


def marble(w, h, seed, base=(206, 206, 202), vein=(120, 122, 128)):
    """Grey marble: smooth noise bent by a sine, darker along the veins."""
    rnd = random.Random(seed)
    cw, ch = w // 24 + 3, h // 24 + 3
    small = Image.new("L", (cw, ch))
    small.putdata([rnd.randrange(256) for _ in range(cw * ch)])
    field = small.resize((w, h), Image.BICUBIC).filter(ImageFilter.GaussianBlur(3))
    fine = Image.new("L", (w // 4 + 2, h // 4 + 2))
    fine.putdata([rnd.randrange(256) for _ in range((w // 4 + 2) * (h // 4 + 2))])
    fine = fine.resize((w, h), Image.BICUBIC)
    f, g = field.load(), fine.load()
    img = Image.new("RGB", (w, h))
    px = img.load()
    for y in range(h):
        for x in range(w):
            t = math.sin((x * 0.02 + y * 0.011) + f[x, y] / 18.0)
            v = abs(t) ** 0.35
            c = mix(vein, base, v)
            px[x, y] = mix(c, (255, 255, 255), (g[x, y] - 128) / 1400.0 + 0.06)
    return img


def _periodic_field(w, h, cell, rnd, blur):
    """Smooth noise of period (w, h): a grid of random values repeated three
    times each way, enlarged, blurred and cut from the middle, so both edges
    of the cut continue each other."""
    cw, ch = w // cell, h // cell
    small = Image.new("L", (cw, ch))
    small.putdata([rnd.randrange(256) for _ in range(cw * ch)])
    tiled = Image.new("L", (cw * 3, ch * 3))
    for i in range(3):
        for j in range(3):
            tiled.paste(small, (i * cw, j * ch))
    big = tiled.resize((w * 3, h * 3), Image.BICUBIC).filter(ImageFilter.GaussianBlur(blur))
    return big.crop((w, h, 2 * w, 2 * h))


def marble_tile(w, h, seed, base=(206, 206, 202), vein=(120, 122, 128)):
    """Grey marble for tiling (a wallpaper is repeated over the room): the
    noise is periodic and the veins' slope turns a whole number of times
    across the picture, so its right edge meets its left and its bottom its
    top. w and h are multiples of 32."""
    rnd = random.Random(seed)
    field = _periodic_field(w, h, 32, rnd, 10)
    fine = _periodic_field(w, h, 4, rnd, 1)
    f, g = field.load(), fine.load()
    img = Image.new("RGB", (w, h))
    px = img.load()
    for y in range(h):
        for x in range(w):
            t = math.sin(2 * math.pi * (x / w + y / h) + f[x, y] / 14.0)
            v = abs(t) ** 0.35
            c = mix(vein, base, v)
            px[x, y] = mix(c, (255, 255, 255), (g[x, y] - 128) / 1400.0 + 0.06)
    return img


def lobby(w, h):
    W, H = w * SS, h * SS
    img = Image.new("RGB", (W, H))
    d = ImageDraw.Draw(img)
    horizon = int(H * 0.52)
    # Wall: dark panelled wood, lit from above.
    for y in range(horizon):
        d.line((0, y, W, y), fill=mix((92, 58, 30), (30, 18, 10), y / horizon))
    panel = W // 8
    for k in range(9):
        x = k * panel
        d.line((x, 0, x, horizon), fill=(22, 12, 6), width=max(1, SS * 2))
        d.line((x + SS * 2, 0, x + SS * 2, horizon), fill=(120, 80, 44), width=SS)
    d.rectangle((0, horizon - H // 40, W, horizon), fill=WOOD_D)
    d.line((0, horizon - H // 40, W, horizon - H // 40), fill=BRASS_D, width=SS * 2)
    # Floor: a chequered marble floor in perspective.
    cx = W / 2
    for y in range(horizon, H):
        t = (y - horizon) / (H - horizon)
        depth = 1.0 / (0.08 + t)
        shade = 0.45 + 0.55 * t
        for x in range(0, W, SS):
            u = (x - cx) / W * depth * 1.6
            sq = (math.floor(u) + math.floor(depth * 1.2)) & 1
            c = (220, 214, 200) if sq else (56, 52, 50)
            d.line((x, y, x + SS - 1, y), fill=mix((0, 0, 0), c, shade))
    # Title plate.
    title = "Rookwell Onyx"
    f = font(H // 11, bold=True, serif=True)
    l, t, r, b = d.textbbox((0, 0), title, font=f)
    tx, ty = (W - (r - l)) // 2 - l, H // 16
    d.text((tx + SS * 3, ty + SS * 3), title, font=f, fill=(10, 6, 2))
    d.text((tx, ty), title, font=f, fill=BRASS_L)
    # Vignette.
    vig = Image.new("L", (W // 8, H // 8))
    vw, vh = vig.size
    vig.putdata([int(255 * min(1.0, 0.15 + ((x / vw - 0.5) ** 2 + (y / vh - 0.5) ** 2) * 1.6))
                 for y in range(vh) for x in range(vw)])
    vig = vig.resize((W, H), Image.BICUBIC)
    img = Image.composite(Image.new("RGB", (W, H), (8, 6, 4)), img, vig.point(lambda v: v // 2))
    return img.resize((w, h), Image.LANCZOS)


def wallpaper(path):
    quantize.save(path, marble_tile(256, 256, 7129), dither=True)


def game_room_wallpaper(path):
    # Dark green marble, calm behind the board and the panels.
    quantize.save(path, marble_tile(256, 256, 7130, base=(70, 102, 80), vein=(26, 44, 32)), dither=True)

def tournament_wallpaper(path):
    """The tournament room's wallpaper: deep green marble, darker than the
    default grey so the room's light panes stand out on it."""
    quantize.save(path, marble_tile(256, 256, 7136, base=(64, 98, 78), vein=(20, 38, 29)), dither=True)


def library_wallpaper(path):
    """The library room's wallpaper: warm walnut-brown marble, like the
    panelling of a reading room, dark enough for the board's light squares."""
    quantize.save(path, marble_tile(256, 256, 7144, base=(104, 74, 48), vein=(42, 26, 14)), dither=True)


def live_wallpaper(path):
    """The online room's wallpaper: slate-blue marble, set apart from the
    other rooms' at a glance."""
    quantize.save(path, marble_tile(256, 256, 7141, base=(58, 74, 102), vein=(18, 24, 40)), dither=True)


def splash(path):
    w, h = 400, 240
    img = marble(w, h, 7105, base=(60, 62, 66), vein=(20, 20, 22))
    d = ImageDraw.Draw(img)
    d.rectangle((0, 0, w - 1, h - 1), outline=BRASS, width=3)
    d.rectangle((5, 5, w - 6, h - 6), outline=BRASS_D, width=1)
    big = Image.new("RGBA", (w * 4, h * 4), (0, 0, 0, 0))
    bd = ImageDraw.Draw(big)
    for text, size, y, fill in (("\u265C", 360, 40, BRASS), ("Rookwell Onyx", 150, 560, BRASS_L),
                                ("Loading\u2026", 70, 780, (220, 220, 214))):
        f = font(size, bold=text != "\u265C", serif=text == "Rookwell Onyx")
        l, t, r, b = bd.textbbox((0, 0), text, font=f)
        x = (w * 4 - (r - l)) // 2 - l
        bd.text((x + 8, y + 8), text, font=f, fill=(0, 0, 0, 200))
        bd.text((x, y), text, font=f, fill=fill + (255,))
    img = img.convert("RGBA")
    img.alpha_composite(big.reduce(4))
    quantize.save(path, img, dither=True)
