"""Shared pieces of the skins: bevelled tiles, glyphs, edge profiles.

Interface: tile(w, h, base, pressed, disabled, radius) -> RGBA image,
glyph(img, name, box, colour) draws a frame-button symbol,
edge_profile(n) -> colours from the outside in,
room_symbol(name) -> a chess character for a room.
"""

from PIL import ImageDraw

from common import (S, BRASS, BRASS_D, BRASS_L, DARK, INK, LIGHT, STONE, STONE_D, STONE_L, WOOD, WOOD_D,
                    canvas, finish, mix, rrect, vgrad)


MATERIALS = {BRASS: (BRASS_L, BRASS_D), BRASS_L: ((255, 250, 226), BRASS), STONE: (STONE_L, STONE_D),
             STONE_L: ((250, 250, 250), STONE)}


def tile(w, h, base=BRASS, pressed=False, disabled=False, radius=3, back=None):
    """A rounded bevelled tile filling w x h (opaque when back is given)."""
    big = canvas(w, h, (back + (255,)) if back else (0, 0, 0, 0))
    if disabled:
        base = STONE
    # Shade along the material's own ramp (light, base, dark), so that the
    # palette holds the colours on the way and the gradient does not band.
    light, dark = MATERIALS.get(base, ((255, 255, 255), (0, 0, 0)))
    top, bottom = mix(base, light, 0.8), mix(base, dark, 0.35)
    if pressed:
        top, bottom = mix(base, dark, 0.35), mix(base, light, 0.5)
    r = radius * S
    rrect(big, (0, 0, w * S - 1, h * S - 1), r, fill=mix(base, DARK, 0.6) + (255,))
    inner = canvas(w, h)
    vgrad(inner, (0, 0, w * S, h * S // 2), top, base)
    vgrad(inner, (0, h * S // 2, w * S, h * S), base, bottom)
    mask = canvas(w, h)
    rrect(mask, (S, S, w * S - 1 - S, h * S - 1 - S), max(1, r - S), fill=(255, 255, 255, 255))
    big.paste(inner, (0, 0), mask.getchannel("A"))
    return big


def glyph(big, name, box, colour):
    """Frame-button symbols, drawn in big-image coordinates."""
    d = ImageDraw.Draw(big)
    x0, y0, x1, y1 = box
    w, h = x1 - x0, y1 - y0
    t = max(S, w // 7)
    c = colour + (255,)
    if name == "min":
        d.rectangle((x0 + w // 4, y1 - h // 4 - t, x1 - w // 4, y1 - h // 4), fill=c)
    elif name == "max":
        d.rectangle((x0 + w // 4, y0 + h // 4, x1 - w // 4, y1 - h // 4), outline=c, width=t // 2 + 1)
        d.rectangle((x0 + w // 4, y0 + h // 4, x1 - w // 4, y0 + h // 4 + t), fill=c)
    elif name == "restore":
        q = w // 5
        d.rectangle((x0 + w // 4 + q // 2, y0 + h // 5, x1 - w // 5, y1 - h // 4 - q // 2), outline=c, width=t // 2 + 1)
        d.rectangle((x0 + w // 5, y0 + h // 4 + q // 2, x1 - w // 4 - q // 2, y1 - h // 5), fill=c)
        d.rectangle((x0 + w // 5 + t // 2 + 1, y0 + h // 4 + q // 2 + t, x1 - w // 4 - q // 2 - t // 2 - 1,
                     y1 - h // 5 - t // 2 - 1), fill=(0, 0, 0, 0))
    elif name == "close":
        m = w // 4
        d.line((x0 + m, y0 + m, x1 - m, y1 - m), fill=c, width=t)
        d.line((x0 + m, y1 - m, x1 - m, y0 + m), fill=c, width=t)
    elif name == "toggle":
        d.polygon([(x0 + w // 4, y0 + h // 3), (x1 - w // 4, y0 + h // 3), ((x0 + x1) // 2, y1 - h // 3)], fill=c)
    elif name in ("up", "down", "left", "right"):
        cx, cy, r = (x0 + x1) // 2, (y0 + y1) // 2, min(w, h) // 4
        pts = {"up": [(cx - r, cy + r // 2), (cx + r, cy + r // 2), (cx, cy - r // 1.5)],
               "down": [(cx - r, cy - r // 2), (cx + r, cy - r // 2), (cx, cy + r // 1.5)],
               "left": [(cx + r // 2, cy - r), (cx + r // 2, cy + r), (cx - r // 1.5, cy)],
               "right": [(cx - r // 2, cy - r), (cx - r // 2, cy + r), (cx + r // 1.5, cy)]}[name]
        d.polygon(pts, fill=c)
    elif name == "check":
        d.line([(x0 + w * 0.2, y0 + h * 0.52), (x0 + w * 0.42, y0 + h * 0.75), (x0 + w * 0.82, y0 + h * 0.25)],
               fill=c, width=max(S, w // 6), joint="curve")
    elif name == "plus" or name == "minus":
        d.rectangle((x0 + w // 4, (y0 + y1) // 2 - t // 2, x1 - w // 4, (y0 + y1) // 2 + t // 2), fill=c)
        if name == "plus":
            d.rectangle(((x0 + x1) // 2 - t // 2, y0 + h // 4, (x0 + x1) // 2 + t // 2, y1 - h // 4), fill=c)


def button(w, h, name, pressed=False, base=BRASS, back=None, ink=INK):
    """A frame button: tile plus symbol, at final size."""
    big = tile(w, h, base, pressed=pressed, back=back)
    off = S if pressed else 0
    glyph(big, name, (off, off, w * S + off, h * S + off), ink)
    return finish(big)


def edge_profile(n, outer=BRASS_L, body=WOOD, inner=DARK):
    """Colours across an edge n pixels thick, outside first."""
    if n == 1:
        return [WOOD_D]
    if n == 2:
        return [outer, inner]
    if n >= 8:
        # A wide frame: wood between two brass beads.
        wood = [mix(mix(body, (255, 255, 255), 0.15), WOOD_D, i / max(1, n - 6)) for i in range(n - 5)]
        return [outer, BRASS_D] + wood + [BRASS_D, BRASS_L, inner]
    mid = [mix(body, WOOD_D, i / max(1, n - 3)) for i in range(n - 2)]
    return [outer] + mid + [inner]


ROOM_SYMBOLS = {"lobby": "\u2654", "game": "\u265E", "kids": "\u2659", "classroom": "\u2657", "library": "\u2656",
                "database": "\u265C", "tournament": "\u2655", "online": "\u265B"}

__all__ = ["tile", "glyph", "button", "edge_profile", "ROOM_SYMBOLS", "STONE_D", "STONE_L", "LIGHT", "BRASS_D"]
