"""The program's two fonts: "RookwellOnyx" (rwonyx.ttf) from DejaVu Sans
and "RookwellJade" (rwjade.ttf) from DejaVu Serif, both with the chess
glyphs in the upper half of the ANSI code page.

Interface: build(kind, out_path) with kind "onyx" or "jade"; CHESS_CODES,
the byte -> glyph table the tests read back.

The chess glyphs are drawn from DejaVu Sans's chess symbols (U+2654..U+265F)
and put where code page 1252 maps their bytes, so ANSI text calls reach
them: a diagram character per piece and square shade, and the figurines of
move text. The cmap maps the Unicode code point that 1252 gives each byte
(0x95 -> U+2022, 0xAD -> U+00AD; the five undefined bytes map to the code
point of the same value, 0x8F -> U+008F, as Windows converts them). The
glyphs that stood there lose their mapping and go, unless another glyph is
built from them.

Vertical metrics: a diagram cell is one em wide and spans descent to
ascent, and the em is the line height (ascent + descent). The em grows to
about DejaVu's line height while the outlines keep their size, so text
keeps DejaVu's proportions and line spacing at a given cell height. The
cell's advance is then exactly the pixel size; the rasteriser rounds
ascent and descent separately (to 1/64 pixel first, then to a pixel), so
their scaled values must never lie near a half pixel, or both round up
and the line is a pixel taller than the cell is wide. Ascent and descent
are therefore 4/5 and 1/5 of the em: at any pixel size their fractions are
multiples of a fifth, a tenth of a pixel away from a half.

Naming: the Bitstream Vera licence requires a modified font to carry none
of the names "Bitstream" or "Vera", and "DejaVu" is kept out as well;
every name record is written anew, only the copyright and licence notices
are kept as they are.

Deterministic: SOURCE_DATE_EPOCH is fixed before FontForge loads, and no
table FontForge would stamp with the time is written.
"""

import contextlib
import os
import sys

FIXED_EPOCH = "1700000000"  # head.created / head.modified of every build
os.environ["SOURCE_DATE_EPOCH"] = FIXED_EPOCH


@contextlib.contextmanager
def _silenced():
    """FontForge's greeting and its notes on DejaVu's tables (printed by the
    library itself) kept off the build log."""
    sys.stdout.flush()
    sys.stderr.flush()
    saved = [os.dup(1), os.dup(2)]
    try:
        with open(os.devnull, "w") as null:
            os.dup2(null.fileno(), 1)
            os.dup2(null.fileno(), 2)
            yield
    finally:
        os.dup2(saved[0], 1)
        os.dup2(saved[1], 2)
        for fd in saved:
            os.close(fd)


with _silenced():
    import fontforge
    import psMat

FONT_DIR = "/usr/share/fonts/truetype/dejavu"
SOURCES = {
    "onyx": ("DejaVuSans.ttf", "RookwellOnyx"),
    "jade": ("DejaVuSerif.ttf", "RookwellJade"),
}
PIECES_FONT = "DejaVuSans.ttf"

KINDS = "kqrbnp"  # king, queen, rook, bishop, knight, pawn
# DejaVu's chess symbols: White's (outlined) from U+2654, Black's (solid)
# from U+265A, in the order king, queen, rook, bishop, knight, pawn.
SYMBOL = {("w", k): 0x2654 + i for i, k in enumerate(KINDS)}
SYMBOL.update({("b", k): 0x265A + i for i, k in enumerate(KINDS)})

# Diagram characters: (colour, kind or None for an empty square, shade).
# The light empty square is paper: a cell's advance without ink, as the
# light squares under the pieces are (their pieces also make the piece
# sheet a board view cuts its sprites from, where no square may show).
DIAGRAM = {
    0x8F: (None, None, "light"), 0x90: (None, None, "dark"),
    0xB0: ("w", "k", "light"), 0xB2: ("w", "k", "dark"),
    0xAA: ("w", "q", "light"), 0xAC: ("w", "q", "dark"),
    0xA4: ("w", "r", "light"), 0xA6: ("w", "r", "dark"),
    0x9B: ("w", "b", "light"), 0x9D: ("w", "b", "dark"),
    0x95: ("w", "n", "light"), 0x96: ("w", "n", "dark"),
    0xFD: ("w", "p", "light"), 0xFF: ("w", "p", "dark"),
    0xB3: ("b", "k", "light"), 0xB4: ("b", "k", "dark"),
    0xAD: ("b", "q", "light"), 0xAF: ("b", "q", "dark"),
    0xA7: ("b", "r", "light"), 0xA8: ("b", "r", "dark"),
    0x9E: ("b", "b", "light"), 0xB9: ("b", "b", "dark"),
    0x97: ("b", "n", "light"), 0x98: ("b", "n", "dark"),
    0x9F: ("b", "p", "light"), 0x83: ("b", "p", "dark"),
}
# Figurines of move text, one per kind, drawn as the solid pieces: they
# stand for either side and a solid shape stays legible at text sizes.
FIGURINE = {0x8B: "k", 0x89: "q", 0x88: "r", 0x86: "b", 0x87: "n", 0x85: "p"}

CHESS_CODES = sorted(list(DIAGRAM) + list(FIGURINE))

# Metrics in font units: about DejaVu's line (ascent 1901, descent 483)
# becomes the em, so a cell is ASCENT + DESCENT wide; 4:1 (see above).
DESCENT = 483
ASCENT = 4 * DESCENT
CELL = ASCENT + DESCENT
PIECE_HEIGHT = 0.76 * CELL   # a king on a diagram square
# Heights of the pieces against the king's: DejaVu draws all its chess
# symbols as tall as a capital, a diagram sets the pawn lower.
PIECE_SIZE = {"k": 1.0, "q": 0.97, "r": 0.86, "b": 0.94, "n": 0.92, "p": 0.8}
KNOCKOUT = 80                # white margin between a piece and the hatching
HATCH_LINES = 8              # hatch lines across a dark square's width
HATCH_WIDTH = 0.38           # ink share of each hatch period
FIGURINE_BEARING = 110       # side bearings of a figurine
WHITE_BOLDEN = 36            # White's outlined pieces: lines thickened by this


def cp1252_unicode(byte):
    """The code point Windows' ANSI conversion gives a byte of page 1252."""
    try:
        return ord(bytes([byte]).decode("cp1252"))
    except UnicodeDecodeError:
        return byte  # 0x81, 0x8D, 0x8F, 0x90, 0x9D pass through


def _quiet_open(path):
    with _silenced():
        return fontforge.open(path)


def _layer():
    """An empty layer of cubic splines: the shapes are combined in cubics,
    where FontForge's overlap removal is sound, and turned into TrueType's
    quadratics at the end."""
    return fontforge.layer()


def _outer(layer):
    """The outer contours of a layer (holes dropped): the piece's silhouette."""
    biggest = max(layer, key=lambda c: _area(c))
    out = _layer()
    for c in layer:
        if c.isClockwise() == biggest.isClockwise():
            out += c
    out.removeOverlap()
    return out


def _bolden(layer, width):
    """The layer with every line `width` thicker: DejaVu's outlined pieces
    are drawn in lines too fine for a diagram square at screen sizes."""
    band = layer.dup()
    band.stroke("circular", width, "round", "round", removeoverlap="none", accuracy=0.5)
    out = layer.dup()
    for c in band:
        out += c
    out.removeOverlap()
    return _without_specks(out)


def _without_specks(layer):
    """The layer less contours too small to see (overlap removal leaves
    slivers where stroked lines meet)."""
    out = _layer()
    for c in layer:
        if _area(c) > 400:
            out += c
    return out


def _area(contour):
    b = contour.boundingBox()
    return (b[2] - b[0]) * (b[3] - b[1])


def _polygon(points):
    c = fontforge.contour()
    for x, y in points:
        c += fontforge.point(x, y)
    c.closed = True
    return c


def _clip(poly, a, b, c):
    """Sutherland-Hodgman: the part of a convex polygon where a*x + b*y <= c."""
    out = []
    for i, p in enumerate(poly):
        q = poly[(i + 1) % len(poly)]
        fp = a * p[0] + b * p[1] - c
        fq = a * q[0] + b * q[1] - c
        if fp <= 0:
            out.append(p)
        if (fp < 0 < fq) or (fq < 0 < fp):
            t = fp / (fp - fq)
            out.append((p[0] + t * (q[0] - p[0]), p[1] + t * (q[1] - p[1])))
    return out


def _cut(layer, hole):
    """The layer's area outside the hole. Computed as the overlap of the
    layer with a frame (the cell less the hole), since this FontForge's
    exclude() keeps the inside instead; the layer's own contours must not
    overlap each other (hatch lines do not)."""
    frame = _layer()
    m = 16
    frame += _polygon([(-m, -DESCENT - m), (CELL + m, -DESCENT - m),
                       (CELL + m, ASCENT + m), (-m, ASCENT + m)])
    for c in hole:
        frame += c
    frame.round()
    frame.correctDirection()  # the hole's contour turns against the frame's
    both = layer.dup()
    both.correctDirection()
    for c in frame:
        both += c
    both.intersect()
    return both


def _hatching():
    """Diagonal hatch lines over one cell, clipped to it. The period divides
    the cell, so lines run on through the corners where dark squares meet,
    and lines pass through all four corners, which keeps them inked."""
    period = CELL / HATCH_LINES
    half = period * HATCH_WIDTH / 2
    square = [(0, -DESCENT), (CELL, -DESCENT), (CELL, ASCENT), (0, ASCENT)]
    layer = _layer()
    # u = x - (y + DESCENT) is constant along a line; it runs from -CELL to CELL.
    for k in range(-HATCH_LINES, HATCH_LINES + 1):
        u = k * period
        poly = _clip(square, 1, -1, u + half + DESCENT)      # x - y <= u + half + D
        poly = _clip(poly, -1, 1, -(u - half) - DESCENT)     # x - y >= u - half + D
        if len(poly) >= 3:
            layer += _polygon(poly)
    return layer


class Pieces:
    """DejaVu Sans's chess symbols, scaled and placed for cells and text."""

    def __init__(self, font):
        self.outlines = {}
        self.plain = {}  # before thickening: the silhouettes' source
        for key, u in SYMBOL.items():
            layer = font[u].foreground.dup()
            layer.is_quadratic = False
            self.plain[key] = layer
            if key[0] == "w":
                layer = _bolden(layer, WHITE_BOLDEN)
            self.outlines[key] = layer

    def layer(self, colour, kind, height, x_centre, y, plain=False):
        """The piece's outline scaled to `height`, its box centred on
        x_centre and its foot at y."""
        layer = (self.plain if plain else self.outlines)[(colour, kind)].dup()
        x0, y0, x1, y1 = layer.boundingBox()
        layer.transform(psMat.translate(-(x0 + x1) / 2, -y0))
        layer.transform(psMat.scale(height / (y1 - y0)))
        layer.transform(psMat.translate(x_centre, y))
        return layer

    def silhouette(self, colour, kind, height, x_centre, y, margin):
        """The piece's solid shape grown by margin: the hole in the hatching.
        Drawn from the plain outline (its thickened lines leave slivers the
        stroker trips on), grown by the thickening as well."""
        if colour == "w":
            margin += WHITE_BOLDEN
        shape = _outer(self.layer(colour, kind, height, x_centre, y, plain=True))
        grown = shape.dup()
        grown.stroke("circular", 2 * margin, "round", "round", removeoverlap="none")
        grown += shape
        grown.removeOverlap()
        return _outer(grown)


def _cell_outline(pieces, colour, kind, shade):
    """A diagram square: hatched when dark, with the piece standing in a
    white hole of the hatching, centred in the square."""
    layer = _layer()
    if shade == "dark":
        layer = _hatching()
    if kind:
        height = PIECE_HEIGHT * PIECE_SIZE[kind]
        place = (height, CELL / 2, (ASCENT - DESCENT - height) / 2)
        if shade == "dark":
            layer = _cut(layer, pieces.silhouette(colour, kind, *place, KNOCKOUT))
        layer += pieces.layer(colour, kind, *place)
    return layer, CELL


def _figurine_outline(pieces, kind, cap_height):
    """A piece as tall as a capital letter, on the baseline."""
    layer = pieces.layer("b", kind, cap_height, 0, 0)
    x0, _, x1, _ = layer.boundingBox()
    layer.transform(psMat.translate(FIGURINE_BEARING - x0, 0))
    return layer, round(x1 - x0 + 2 * FIGURINE_BEARING)


def _add_glyph(font, name, outline, width):
    layer = outline
    layer.removeOverlap()
    layer.correctDirection()
    layer.addExtrema()
    layer.simplify(0.5, ("mergelines",))
    layer.is_quadratic = True
    layer.round()
    g = font.createChar(-1, name)
    g.clear()
    g.foreground = layer
    g.width = width
    g.canonicalContours()
    g.canonicalStart()
    return g


def _place(font, glyph, byte):
    """Maps the byte's code point to the glyph; returns the glyphs that
    held it, now unmapped."""
    u = cp1252_unicode(byte)
    displaced = []
    for other in font.glyphs():
        if other is glyph:
            continue
        if other.unicode == u:
            other.unicode = -1
            displaced.append(other)
        if other.altuni and any(a[0] == u for a in other.altuni):
            rest = tuple(a for a in other.altuni if a[0] != u)
            other.altuni = rest or None
    glyph.unicode = u
    return displaced


def _drop(font, displaced):
    """Removes the displaced glyphs that no longer have a code point, unless
    another glyph is built from them (as accented letters are)."""
    used = {ref[0] for g in font.glyphs() for ref in g.references}
    for g in displaced:
        if g.unicode == -1 and not g.altuni and g.glyphname not in used:
            font.removeGlyph(g)


def _names(font, family, version):
    """Every name record anew; the copyright and licence notices kept."""
    kept = [n for n in font.sfnt_names if n[1] in ("Copyright", "License", "License URL")]
    font.sfnt_names = ()
    font.fontname = family
    font.familyname = family
    font.fullname = family
    font.version = version
    english = "English (US)"
    records = kept + [
        (english, "Family", family),
        (english, "SubFamily", "Regular"),
        (english, "Fullname", family),
        (english, "UniqueID", family + " " + version),
        (english, "Version", "Version " + version),
        (english, "PostScriptName", family),
    ]
    font.sfnt_names = tuple(records)


def _metrics(font):
    font.ascent, font.descent = ASCENT, DESCENT  # the em grows, outlines stay
    font.os2_winascent_add = font.os2_windescent_add = 0
    font.os2_typoascent_add = font.os2_typodescent_add = 0
    font.hhea_ascent_add = font.hhea_descent_add = 0
    font.os2_winascent, font.os2_windescent = ASCENT, DESCENT
    font.os2_typoascent, font.os2_typodescent, font.os2_typolinegap = ASCENT, -DESCENT, 0
    font.hhea_ascent, font.hhea_descent, font.hhea_linegap = ASCENT, -DESCENT, 0


def build(kind, out_path):
    source, family = SOURCES[kind]
    font = _quiet_open(os.path.join(FONT_DIR, source))
    if source == PIECES_FONT:
        pieces = Pieces(font)
    else:
        sans = _quiet_open(os.path.join(FONT_DIR, PIECES_FONT))
        pieces = Pieces(sans)
        sans.close()
    cap_height = font["H"].boundingBox()[3]
    _metrics(font)
    glyphs = []
    for byte, (colour, piece, shade) in sorted(DIAGRAM.items()):
        name = "chess.%s.%s" % (colour + piece if piece else "empty", shade)
        glyphs.append((byte, _add_glyph(font, name, *_cell_outline(pieces, colour, piece, shade))))
    for byte, piece in sorted(FIGURINE.items()):
        name = "chess.figurine.%s" % piece
        glyphs.append((byte, _add_glyph(font, name, *_figurine_outline(pieces, piece, cap_height))))
    displaced = []
    for byte, g in glyphs:
        displaced += _place(font, g, byte)
    _drop(font, displaced)
    _names(font, family, "1.00")
    font.generate(out_path, flags=("opentype", "no-FFTM-table"))
    font.close()


if __name__ == "__main__":
    build(sys.argv[1], sys.argv[2])
