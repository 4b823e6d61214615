"""The position-search board's piece set "PIECESET25" for RW256: 9 x 6 cells
of 23 pixels, each inside a one-pixel frame (225 x 150).

Interface: pictures() -> list of (name, role, image, recipe, transparent).

Picture row 0 holds Black's pawn, knight, bishop, rook, queen and king in
columns 0-5 and the light square in column 6; row 1 White's pieces and the
dark square. The board builds each piece's mask from the colour of the
row's top-left cell pixel, so the pieces stand on the see-through key (index
0); their antialiased edges are blended with a shade between the two square
colours, so they look clean on either. Column 7 holds the gutter's wood.
The glyphs are the chess symbols of DejaVu Sans, the same outlines the
RookwellOnyx font carries.
"""

from PIL import Image, ImageDraw

from common import S, canvas, finish, font, mix

CELL = 23
FRAME = 1
PITCH = CELL + 2 * FRAME
LIGHT_SQ = (236, 216, 178)
DARK_SQ = (170, 124, 84)
EDGE = mix(LIGHT_SQ, DARK_SQ, 0.5)
WOOD = (108, 66, 32)
SOLID = ["\u265F", "\u265E", "\u265D", "\u265C", "\u265B", "\u265A"]
HOLLOW = ["\u2659", "\u2658", "\u2657", "\u2656", "\u2655", "\u2654"]


def _glyph_layer(text, colour, size):
    """One glyph at S times the cell, centred, in `colour` on transparency."""
    big = canvas(CELL, CELL)
    d = ImageDraw.Draw(big)
    f = font(size, bold=False)
    l, t, r, b = d.textbbox((0, 0), text, font=f)
    x = (CELL * S - (r - l)) // 2 - l
    y = (CELL * S - (b - t)) // 2 - t
    d.text((x, y), text, font=f, fill=colour + (255,))
    return big


def _shaded(layer, top, bottom):
    """The layer's shape filled with a top-to-bottom gradient."""
    grad = Image.new("RGBA", layer.size)
    d = ImageDraw.Draw(grad)
    h = layer.size[1]
    for y in range(h):
        d.line((0, y, layer.size[0], y), fill=mix(top, bottom, y / max(1, h - 1)) + (255,))
    out = Image.new("RGBA", layer.size, (0, 0, 0, 0))
    out.paste(grad, (0, 0), layer.getchannel("A"))
    return out


def _piece(kind, white):
    size = int(CELL * S * 1.08)
    solid = _glyph_layer(SOLID[kind], (0, 0, 0), size)
    if white:
        body = _shaded(solid, (255, 253, 246), (206, 198, 182))
        ink = _glyph_layer(HOLLOW[kind], (28, 24, 20), size)
        art = Image.alpha_composite(body, ink)
    else:
        art = _shaded(solid, (86, 80, 76), (18, 16, 16))
        rim = _glyph_layer(HOLLOW[kind], (150, 140, 130), size)
        art = Image.alpha_composite(art, Image.blend(Image.new("RGBA", rim.size, (0, 0, 0, 0)), rim, 0.3))
    # Edges blended with the middle shade; uncovered pixels stay see-through.
    back = canvas(CELL, CELL, EDGE + (255,))
    flat = finish(Image.alpha_composite(back, art)).convert("RGBA")
    cover = finish(art).getchannel("A")
    flat.putalpha(cover.point(lambda a: 255 if a >= 24 else 0))
    return flat


def _square(colour):
    big = canvas(CELL, CELL, colour + (255,))
    d = ImageDraw.Draw(big)
    # A faint grain across the square.
    for k in range(0, CELL * S, 3 * S):
        d.line((0, k, CELL * S, k + S), fill=mix(colour, (0, 0, 0), 0.04) + (255,), width=S // 2)
    return finish(big).convert("RGBA")


def _wood():
    big = canvas(CELL, CELL, WOOD + (255,))
    d = ImageDraw.Draw(big)
    for k in range(0, CELL * S, 2 * S):
        d.line((0, k, CELL * S, k), fill=mix(WOOD, (0, 0, 0), 0.12 if (k // S) % 4 else 0.0) + (255,), width=S)
    return finish(big).convert("RGBA")


def piece_set():
    img = Image.new("RGBA", (9 * PITCH, 6 * PITCH), (60, 60, 60, 255))
    d = ImageDraw.Draw(img)
    for row in range(6):
        for col in range(9):
            x, y = col * PITCH, row * PITCH
            d.rectangle((x, y, x + PITCH - 1, y + PITCH - 1), outline=(60, 60, 60, 255))
            cell = None
            if row < 2 and col < 6:
                cell = _piece(col, white=row == 1)
            elif col == 6:
                cell = _square(LIGHT_SQ if row % 2 == 0 else DARK_SQ)
            elif col == 7:
                cell = _wood()
            if cell is None:
                cell = Image.new("RGBA", (CELL, CELL), (0, 0, 0, 0))
            img.paste(cell, (x + FRAME, y + FRAME))
    return img


def pictures():
    return [("PIECESET25", "position search board pieces and squares", piece_set(),
             "chess glyphs, 23-pixel cells in 9 x 6 frames", True)]
