"""Flat piece sheets from DejaVu Sans's chess glyphs.

Usage: flat_pieces.py CEL_SIZE OUT.bmp [--style figurine|newspaper]

The filled glyph (U+265A..U+265F) gives a piece's silhouette and the outline
glyph (U+2654..U+2659) its strokes. Each cel is drawn at 4 x 4 sub-samples
and averaged in linear light over the sub-samples inside the piece only, so
the edge is antialiased inward and never blends with the see-through key;
coverage below one half is key. A dark contour runs just inside the edge
(two pixels from 48-pixel cels). White is ivory lit softly from the top
left; Black is near-black with a lighter rim so it reads on dark squares.
The sheet follows the single-cel layout: kinds in the columns pawn, rook,
knight, bishop, queen, king; White in the first row.
"""

import os
import sys

from PIL import Image, ImageDraw, ImageFont

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "progdata"))
import quantize  # noqa: E402

FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
SS = 4
# Sheet columns: pawn, rook, knight, bishop, queen, king.
OUTLINE = ["\u2659", "\u2656", "\u2658", "\u2657", "\u2655", "\u2654"]
FILLED = ["\u265F", "\u265C", "\u265E", "\u265D", "\u265B", "\u265A"]

STYLES = {
    # (white light, white shade, white stroke), (black body, black rim)
    "figurine": ((250, 248, 240), (200, 198, 190), (40, 36, 32), (34, 34, 38), (150, 150, 156)),
    "newspaper": ((255, 255, 255), (226, 226, 226), (10, 10, 10), (12, 12, 12), (170, 170, 170)),
}


def to_linear(c):
    c /= 255.0
    return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4


def to_srgb(c):
    c = 12.92 * c if c <= 0.0031308 else 1.055 * c ** (1 / 2.4) - 0.055
    return max(0, min(255, round(c * 255)))


LIN = [to_linear(i) for i in range(256)]


def glyph_masks(size, column, font, baseline_y):
    big = size * SS
    masks = []
    for text in (FILLED[column], OUTLINE[column]):
        img = Image.new("L", (big, big), 0)
        d = ImageDraw.Draw(img)
        box = font.getbbox(text, anchor="ls")
        x = (big - (box[2] - box[0])) / 2 - box[0]
        d.text((x, baseline_y), text, fill=255, font=font, anchor="ls")
        masks.append(img)
    # The filled glyph's enclosed holes are its detail lines: they belong to
    # the silhouette and are drawn as strokes.
    solid = masks[0].point(lambda v: 255 if v >= 128 else 0)
    ImageDraw.floodfill(solid, (0, 0), 128)
    holes = solid.point(lambda v: 255 if v == 0 else 0)
    silhouette = solid.point(lambda v: 255 if v != 128 else 0)
    return silhouette.load(), holes.load()


def render_cel(size, column, colour, font, baseline_y, style):
    wl, ws, wstroke, bbody, brim = STYLES[style]
    bstroke = tuple((a + b) // 2 for a, b in zip(bbody, brim))
    big = size * SS
    fill, stroke = glyph_masks(size, column, font, baseline_y)
    out = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    px = out.load()
    inside = [[False] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            acc = [0.0, 0.0, 0.0]
            n = 0
            for sy in range(SS):
                for sx in range(SS):
                    X, Y = x * SS + sx, y * SS + sy
                    f, s = fill[X, Y], stroke[X, Y]
                    # The silhouette is the filled glyph; the outline glyph
                    # adds only its strokes inside it (the two glyphs do not
                    # overlay exactly at their edges).
                    if f < 128:
                        continue
                    n += 1
                    if colour == 0:
                        # Soft light from the top left across the body.
                        t = min(1.0, max(0.0, (X + Y) / (2.0 * big) * 1.3 - 0.2))
                        c = [wl[i] + (ws[i] - wl[i]) * t for i in range(3)]
                        if s >= 128:
                            c = wstroke
                    else:
                        c = bstroke if s >= 128 else bbody
                    for i in range(3):
                        acc[i] += LIN[int(c[i])]
            if n * 2 >= SS * SS:
                inside[y][x] = True
                px[x, y] = tuple(to_srgb(a / n) for a in acc) + (255,)
    # Gaps the threshold closed off (between a crown's points) would show
    # the square through the piece: they become contour.
    reach = [[False] * size for _ in range(size)]
    stack = [(x, y) for x in range(size) for y in (0, size - 1)] + [(x, y) for y in range(size) for x in (0, size - 1)]
    while stack:
        x, y = stack.pop()
        if not (0 <= x < size and 0 <= y < size) or reach[y][x] or inside[y][x]:
            continue
        reach[y][x] = True
        stack += [(x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)]
    for y in range(size):
        for x in range(size):
            if not inside[y][x] and not reach[y][x]:
                inside[y][x] = True
                px[x, y] = (8, 8, 10, 255)
    # The dark contour just inside the edge.
    width = 2 if size >= 48 else 1
    contour = (8, 8, 10)
    edge = []
    for y in range(size):
        for x in range(size):
            if not inside[y][x]:
                continue
            near = False
            for dy in range(-width, width + 1):
                for dx in range(-width, width + 1):
                    if abs(dx) + abs(dy) > width:
                        continue
                    u, v = x + dx, y + dy
                    if not (0 <= u < size and 0 <= v < size) or not inside[v][u]:
                        near = True
            if near:
                edge.append((x, y))
    edges = set(edge)
    for x, y in edge:
        px[x, y] = contour + (255,)
    if colour == 1:
        # The lighter rim just inside the contour.
        for y in range(size):
            for x in range(size):
                if inside[y][x] and (x, y) not in edges and any(
                        (x + dx, y + dy) in edges for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                    px[x, y] = brim + (255,)
    return out


def main():
    size = int(sys.argv[1])
    out = sys.argv[2]
    style = "figurine"
    if "--style" in sys.argv:
        style = sys.argv[sys.argv.index("--style") + 1]
    big = size * SS
    # One font size and one baseline for all pieces: the king fills 88 % of the cel height.
    font = ImageFont.truetype(FONT, 100)
    box = font.getbbox(FILLED[5], anchor="ls")
    scale = 0.88 * big / (box[3] - box[1])
    font = ImageFont.truetype(FONT, max(8, round(100 * scale)))
    box = font.getbbox(FILLED[5], anchor="ls")
    baseline = (big - (box[3] - box[1])) / 2 - box[1]
    sheet = Image.new("RGBA", ((size + 1) * 6 + 1, (size + 1) * 2 + 1), (0, 0, 0, 0))
    for colour in (0, 1):
        for column in range(6):
            cel = render_cel(size, column, colour, font, baseline, style)
            sheet.paste(cel, ((size + 1) * column + 1, (size + 1) * colour + 1))
    quantize.save(out, sheet, transparent=True)


if __name__ == "__main__":
    main()
