"""The program's cursors, animated cursors and icon.

Interface: CURSORS (resource id -> (name, drawing, hot spot)), ANIMATED
(file name -> (frame drawing, frame count, rate)), build(outdir) writes
outdir/cur/<id>.cur, outdir/ani/<name>.ani, outdir/rookwell.ico,
outdir/cursors.rc and outdir/cursors.manifest; splitter(outdir) writes the
toolkit's splitter cursor and its resource script.

One look for all of them: parts filled white to light grey (or a material
colour), each with a dark outline, painted back to front, and a soft shadow
under the whole; drawn at SS times the size and reduced, so every edge is
antialiased, and stored with alpha (and a 16-colour copy for displays
without true colour).

The piece cursors (the board's hand that holds a piece while it is dragged)
come in three sizes, 16, 20 and 32 pixels, drawn in the top-left square of
that size inside the 32 x 32 cursor: the board draws the cursor so that this
square sits centred over the bottom of the dragged piece. Their open-hand
twins show where a piece may be taken.
"""

import math
import os

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

import curfile
from common import BRASS, BRASS_D, BRASS_L, FONT_DIR, Manifest, mix

SS = 8  # supersampling
SIZE = 32
INK = (20, 20, 24)
WHITE = (255, 255, 255)
PAPER = (226, 228, 232)
RED, RED_D = (226, 52, 44), (150, 20, 16)
WOOD_LIGHT, WOOD_DARK = (236, 214, 170), (150, 96, 52)
SKIN_L, SKIN_D = (255, 246, 232), (226, 212, 196)


class Picture:
    """A cursor-sized picture built from outlined parts in design units.

    Design units are pixels of the final picture; `scale` and `origin` map a
    part drawn for a 32-pixel design into a smaller square.
    """

    def __init__(self, size=SIZE):
        self.size = size
        self.big = Image.new("RGBA", (size * SS, size * SS), (0, 0, 0, 0))
        self.scale, self.origin = 1.0, (0.0, 0.0)

    def _p(self, x, y):
        return ((self.origin[0] + x * self.scale) * SS, (self.origin[1] + y * self.scale) * SS)

    def _l(self, v):
        return v * self.scale * SS

    def mask(self):
        return Image.new("L", self.big.size, 0)

    # Shapes drawn into a mask, in design units.
    def poly(self, m, pts):
        ImageDraw.Draw(m).polygon([self._p(x, y) for x, y in pts], fill=255)
        return m

    def ellipse(self, m, box):
        x0, y0 = self._p(box[0], box[1])
        x1, y1 = self._p(box[2], box[3])
        ImageDraw.Draw(m).ellipse((x0, y0, x1, y1), fill=255)
        return m

    def rrect(self, m, box, r):
        x0, y0 = self._p(box[0], box[1])
        x1, y1 = self._p(box[2], box[3])
        ImageDraw.Draw(m).rounded_rectangle((x0, y0, x1, y1), radius=self._l(r), fill=255)
        return m

    def capsule(self, m, a, b, width):
        """A thick line with round ends from a to b."""
        d = ImageDraw.Draw(m)
        pa, pb = self._p(*a), self._p(*b)
        w = self._l(width)
        d.line((pa, pb), fill=255, width=max(1, round(w)))
        for x, y in (pa, pb):
            d.ellipse((x - w / 2, y - w / 2, x + w / 2, y + w / 2), fill=255)
        return m

    def glyph(self, m, ch, box, bold=False, like=None):
        """A DejaVu glyph fitted into box (design units), centred. With
        `like`, the glyph takes the size and place that the glyph `like`
        gets in that box, so companion glyphs (a chess piece's outline and
        its solid form) line up stroke for stroke."""
        x0, y0 = self._p(box[0], box[1])
        x1, y1 = self._p(box[2], box[3])
        name = "DejaVuSans-Bold.ttf" if bold else "DejaVuSans.ttf"
        fit = like or ch
        size = int(y1 - y0)
        for _ in range(8):
            f = ImageFont.truetype(os.path.join(FONT_DIR, name), size)
            l, t, r, b = f.getbbox(fit)
            k = min((x1 - x0) / (r - l), (y1 - y0) / (b - t))
            if 0.97 <= k <= 1.0:
                break
            size = max(4, int(size * k * 0.995))
        d = ImageDraw.Draw(m)
        d.text(((x0 + x1 - (r - l)) / 2 - l, (y0 + y1 - (b - t)) / 2 - t), ch, font=f, fill=255)
        return m

    # Painting parts.
    def part(self, m, fill, outline=INK, width=1.0, light=None):
        """Paints a mask: outline grown outward by width pixels, then the fill
        (a colour, or a vertical blend from `light` at the top to `fill`)."""
        if outline is not None and width > 0:
            k = max(1, round(width * SS))
            grown = m.filter(ImageFilter.MaxFilter(2 * k + 1))
            self._paint(grown, outline)
        self._paint(m, fill, light)

    def _paint(self, m, colour, light=None):
        layer = Image.new("RGBA", self.big.size, colour + (0,))
        if light is not None:
            box = m.getbbox()
            if box:
                d = ImageDraw.Draw(layer)
                h = max(1, box[3] - box[1])
                for y in range(box[1], box[3]):
                    d.line((0, y, layer.size[0], y), fill=mix(light, colour, (y - box[1]) / h) + (0,))
        layer.putalpha(m)
        self.big.alpha_composite(layer)

    def line(self, a, b, colour, width):
        m = self.capsule(self.mask(), a, b, width)
        self._paint(m, colour)

    def finish(self, shadow=True):
        """The final RGBA picture, with a soft shadow down and to the right."""
        img = self.big
        if shadow:
            a = img.getchannel("A").filter(ImageFilter.GaussianBlur(SS * 0.9))
            shifted = Image.new("L", a.size, 0)
            shifted.paste(a.crop((0, 0, a.size[0] - SS, a.size[1] - SS)), (SS, SS))  # no wrap round the edges
            under = Image.new("RGBA", img.size, (0, 0, 0, 0))
            under.putalpha(shifted.point(lambda v: v * 45 // 100))
            under.alpha_composite(img)
            img = under
        return img.reduce(SS)


# Hands. Coordinates are for a hand filling a 32 x 32 square.
def open_hand(p):
    """A hand held open above a piece, palm towards the viewer."""
    fingers = [((10.6, 15.5), (9.6, 5.2), 4.2), ((15.0, 14.5), (14.8, 3.0), 4.4),
               ((19.4, 15.0), (19.9, 4.6), 4.2), ((23.4, 17.0), (24.6, 9.0), 3.6)]
    for a, b, w in fingers:
        p.part(p.capsule(p.mask(), a, b, w), SKIN_D, light=SKIN_L)
    p.part(p.capsule(p.mask(), (10.5, 23.0), (4.5, 15.0), 4.4), SKIN_D, light=SKIN_L)
    p.part(p.rrect(p.mask(), (8.3, 13.2, 25.6, 29.0), 5.0), SKIN_D, light=SKIN_L)
    p.line((12.0, 22.5), (17.5, 23.5), mix(SKIN_D, INK, 0.25), 0.7)


def grab_hand(p):
    """A hand closed round the top of a piece, seen from its back."""
    p.part(p.capsule(p.mask(), (8.5, 19.0), (4.8, 24.5), 4.6), SKIN_D, light=SKIN_L)
    p.part(p.rrect(p.mask(), (7.0, 6.5, 26.0, 22.5), 6.0), SKIN_D, light=SKIN_L)
    for k in range(4):
        x = 8.0 + k * 4.5
        p.part(p.rrect(p.mask(), (x, 17.5, x + 4.3, 28.5 - abs(k - 1.5) * 0.9), 2.1), SKIN_D, light=SKIN_L)
    for k in range(3):
        x = 12.3 + k * 4.5
        p.line((x, 9.5), (x, 13.5), mix(SKIN_D, INK, 0.3), 0.6)


def pointing_hand(p):
    """A hand pointing up with its index finger: the hot spot is its tip."""
    p.part(p.capsule(p.mask(), (12.6, 16.0), (12.6, 3.0), 4.4), SKIN_D, light=SKIN_L)
    for k, top in enumerate((13.2, 14.2, 15.6)):
        x = 15.0 + k * 3.7
        p.part(p.rrect(p.mask(), (x, top, x + 4.0, top + 8.0), 2.0), SKIN_D, light=SKIN_L)
    p.part(p.capsule(p.mask(), (11.0, 23.5), (6.3, 16.5), 4.2), SKIN_D, light=SKIN_L)
    p.part(p.rrect(p.mask(), (9.6, 17.0, 26.2, 30.0), 5.0), SKIN_D, light=SKIN_L)


ARROW = [(1.5, 1.5), (1.5, 22.5), (6.6, 17.6), (10.2, 26.0), (13.6, 24.6), (10.0, 16.4), (16.8, 16.4)]


def arrow(p, scale=1.0):
    m = p.poly(p.mask(), [(x * scale + 1.5 * (1 - scale), y * scale + 1.5 * (1 - scale)) for x, y in ARROW])
    p.part(m, PAPER, light=WHITE)


PIECES = {"K": 0, "Q": 1, "R": 2, "B": 3, "N": 4, "P": 5}


def piece(p, letter, white, box):
    """A chess piece from DejaVu's solid glyph: its silhouette in the side's
    colour, and the glyph's inner lines (holes in the solid glyph) in the
    other colour, so both sides show the same detail."""
    solid = p.glyph(p.mask(), chr(0x265A + PIECES[letter]), box).point(lambda v: 255 if v >= 128 else 0)
    outside = solid.point(lambda v: 255 - v)
    ImageDraw.floodfill(outside, (0, 0), 128)
    silhouette = outside.point(lambda v: 0 if v == 128 else 255)
    holes = ImageChops.subtract(silhouette, solid)
    if white:
        p.part(silhouette, (226, 224, 216), light=WHITE, width=0.9)
        p._paint(holes, INK)
    else:
        p.part(silhouette, (14, 14, 18), outline=WHITE, width=1.0, light=(64, 64, 74))
        p._paint(holes, (200, 200, 206))


def piece_tool(letter, white):
    """Set-up position tools: an arrow that drops the piece it carries."""
    def draw(p):
        piece(p, letter, white, (11.0, 10.0, 31.0, 31.0))
        arrow(p, 0.62)
    return draw


def delete_tool(p):
    """Set-up position tool that takes pieces off: an arrow with a red cross."""
    p.part(p.ellipse(p.mask(), (12.5, 12.5, 30.5, 30.5)), RED_D, light=RED)
    p.line((17.0, 17.0), (26.0, 26.0), WHITE, 2.6)
    p.line((26.0, 17.0), (17.0, 26.0), WHITE, 2.6)
    arrow(p, 0.62)


def no_drop(p):
    """Nothing may be dropped here: a red ring with a bar across."""
    outer = p.ellipse(p.mask(), (4.0, 4.0, 28.0, 28.0))
    inner = p.ellipse(p.mask(), (8.6, 8.6, 23.4, 23.4))
    bar = ImageChops.multiply(p.capsule(p.mask(), (8.0, 8.0), (24.0, 24.0), 3.6), outer)
    p.part(ImageChops.lighter(ImageChops.subtract(outer, inner), bar), RED_D, light=RED)


def splitter_bar(p):
    """Drag the bar up or down: two short rails with arrows up and down."""
    for y in (13.6, 17.4):
        p.part(p.rrect(p.mask(), (6.0, y - 1.1, 26.0, y + 1.1), 1.0), PAPER, light=WHITE)
    up = p.poly(p.mask(), [(16.0, 2.0), (22.0, 8.5), (18.0, 8.5), (18.0, 11.0), (14.0, 11.0), (14.0, 8.5),
                           (10.0, 8.5)])
    p.part(up, PAPER, light=WHITE)
    down = p.poly(p.mask(), [(16.0, 29.0), (22.0, 22.5), (18.0, 22.5), (18.0, 20.0), (14.0, 20.0),
                             (14.0, 22.5), (10.0, 22.5)])
    p.part(down, PAPER, light=WHITE)


def sized(draw, box):
    """A 32-unit drawing scaled into the top-left box x box square."""
    def inner(p):
        p.scale = box / 32.0
        draw(p)
        p.scale = 1.0
    return inner


def _hot(box, fx, fy):
    return (round(box * fx), round(box * fy))


# resource id -> (what it shows, drawing, hot spot).  Ids as the cursor set
# loads them; the set's index is given for each.
CURSORS = {
    114: ("pointing hand (set index 1)", pointing_hand, (12, 1)),
    127: ("piece held, 16 pixels (set index 3)", sized(grab_hand, 16), _hot(16, 0.5, 0.5)),
    141: ("piece may be taken, 16 pixels (set index 4)", sized(open_hand, 16), _hot(16, 0.5, 0.5)),
    129: ("piece held, 20 pixels (set index 5)", sized(grab_hand, 20), _hot(20, 0.5, 0.5)),
    142: ("piece may be taken, 20 pixels (set index 6)", sized(open_hand, 20), _hot(20, 0.5, 0.5)),
    128: ("piece held, 32 pixels (set index 7)", sized(grab_hand, 32), _hot(32, 0.5, 0.5)),
    143: ("piece may be taken, 32 pixels (set index 8)", sized(open_hand, 32), _hot(32, 0.5, 0.5)),
    133: ("no drop (set index 15)", no_drop, (16, 16)),
    132: ("set-up tool: delete (set index 16)", delete_tool, (1, 1)),
    124: ("set-up tool: white pawn (set index 17)", piece_tool("P", True), (1, 1)),
    123: ("set-up tool: white knight (set index 18)", piece_tool("N", True), (1, 1)),
    121: ("set-up tool: white bishop (set index 19)", piece_tool("B", True), (1, 1)),
    115: ("set-up tool: white rook (set index 20)", piece_tool("R", True), (1, 1)),
    125: ("set-up tool: white queen (set index 21)", piece_tool("Q", True), (1, 1)),
    122: ("set-up tool: white king (set index 22)", piece_tool("K", True), (1, 1)),
    118: ("set-up tool: black pawn (set index 23)", piece_tool("P", False), (1, 1)),
    117: ("set-up tool: black knight (set index 24)", piece_tool("N", False), (1, 1)),
    126: ("set-up tool: black bishop (set index 25)", piece_tool("B", False), (1, 1)),
    120: ("set-up tool: black rook (set index 26)", piece_tool("R", False), (1, 1)),
    119: ("set-up tool: black queen (set index 27)", piece_tool("Q", False), (1, 1)),
    116: ("set-up tool: black king (set index 28)", piece_tool("K", False), (1, 1)),
}
SPLITTER_ID = 131


# Boards for the animated board cursors: a 4 x 4 board turned in space and
# projected, its squares filled light and dark.
def board(p, turn=0.0, tilt=0.0, depth=0.0, scale=1.0, centre=(16.0, 16.0), half=9.0):
    ct, st = math.cos(turn), math.sin(turn)
    cl, sl = math.cos(tilt), math.sin(tilt)

    def project(u, v):
        x, y = (u - 2) / 2 * half * scale, (v - 2) / 2 * half * scale
        x, y = x * ct - y * st, x * st + y * ct
        y, z = y * cl, y * sl
        k = 1.0 / (1.0 - depth * z / (half * scale) * 0.5) if depth else 1.0  # far edge (z < 0) smaller
        return centre[0] + x * k, centre[1] + y * k

    whole = p.poly(p.mask(), [project(0, 0), project(4, 0), project(4, 4), project(0, 4)])
    p.part(whole, WOOD_DARK, width=1.0)
    for v in range(4):
        for u in range(4):
            if (u + v) % 2 == 0:
                sq = p.poly(p.mask(), [project(u, v), project(u + 1, v), project(u + 1, v + 1), project(u, v + 1)])
                p._paint(sq, WOOD_LIGHT)


def arrowhead(p, tip, angle, size=4.0):
    a = math.radians(angle)
    back = (tip[0] - math.cos(a) * size, tip[1] - math.sin(a) * size)
    side = (-math.sin(a) * size * 0.7, math.cos(a) * size * 0.7)
    return p.poly(p.mask(), [tip, (back[0] + side[0], back[1] + side[1]), (back[0] - side[0], back[1] - side[1])])


def arc_arrow(p, centre, rx, ry, start, end):
    """A curved arrow along an ellipse from angle start to end (degrees)."""
    m = p.mask()
    steps = 24
    pts = [(centre[0] + rx * math.cos(math.radians(start + (end - start) * i / steps)),
            centre[1] + ry * math.sin(math.radians(start + (end - start) * i / steps))) for i in range(steps + 1)]
    for a, b in zip(pts, pts[1:]):
        p.capsule(m, a, b, 1.8)
    (x0, y0), (x1, y1) = pts[-2], pts[-1]
    head = arrowhead(p, (x1 + (x1 - x0) * 1.5, y1 + (y1 - y0) * 1.5), math.degrees(math.atan2(y1 - y0, x1 - x0)))
    p.part(ImageChops.lighter(m, head), PAPER, light=WHITE)


def busy_frame(n, count):
    """A chess clock's dial whose hand goes round once over the loop."""
    def draw(p):
        p.part(p.rrect(p.mask(), (13.0, 2.0, 19.0, 6.5), 1.2), BRASS_D, light=BRASS_L)
        p.part(p.ellipse(p.mask(), (4.0, 5.0, 28.0, 29.0)), BRASS_D, light=BRASS_L)
        p.part(p.ellipse(p.mask(), (6.8, 7.8, 25.2, 26.2)), PAPER, outline=mix(BRASS_D, INK, 0.4), width=0.6,
               light=WHITE)
        for k in range(12):
            a = math.radians(k * 30)
            r0 = 7.4 if k % 3 == 0 else 8.0
            p.line((16 + math.sin(a) * r0, 17 - math.cos(a) * r0), (16 + math.sin(a) * 8.6, 17 - math.cos(a) * 8.6),
                   INK, 0.9 if k % 3 == 0 else 0.5)
        a = 2 * math.pi * n / count
        p.line((16.0, 17.0), (16 + math.sin(a) * 6.8, 17 - math.cos(a) * 6.8), RED_D, 1.3)
        p.part(p.ellipse(p.mask(), (14.6, 15.6, 17.4, 18.4)), INK, outline=None)
    return draw


def move_frame(n, count):
    """Four arrows pushing out from a small board and back."""
    def draw(p):
        out = 1.6 * (0.5 - 0.5 * math.cos(2 * math.pi * n / count))
        board(p, half=6.0)
        for ang in (0, 90, 180, 270):
            a = math.radians(ang)
            dx, dy = math.cos(a), math.sin(a)
            tip = (16 + dx * (14.5 + out - 1.6), 16 + dy * (14.5 + out - 1.6))
            shaft = p.capsule(p.mask(), (16 + dx * 8.5, 16 + dy * 8.5), (tip[0] - dx * 2, tip[1] - dy * 2), 2.0)
            p.part(ImageChops.lighter(shaft, arrowhead(p, tip, ang, 4.6)), PAPER, light=WHITE)
    return draw


def size_frame(n, count):
    """A board that grows and shrinks, with arrows at two corners."""
    def draw(p):
        k = 0.72 + 0.28 * (0.5 - 0.5 * math.cos(2 * math.pi * n / count))
        board(p, half=8.0, scale=k)
        r = 8.0 * k + 2.0
        for sx, sy in ((1, 1), (-1, -1)):
            tip = (16 + sx * (r + 5.0), 16 + sy * (r + 5.0))
            shaft = p.capsule(p.mask(), (16 + sx * r, 16 + sy * r), (tip[0] - sx * 2, tip[1] - sy * 2), 1.8)
            ang = 45 if sx > 0 else 225
            p.part(ImageChops.lighter(shaft, arrowhead(p, tip, ang, 4.2)), PAPER, light=WHITE)
    return draw


def rotate_lr_frame(n, count):
    """A board turning about its upright axis, a curved arrow below."""
    def draw(p):
        board(p, turn=2 * math.pi * n / count / 4, tilt=math.radians(55), half=9.0, centre=(16.0, 12.5))
        arc_arrow(p, (16.0, 21.0), 11.0, 4.5, 20, 160)
    return draw


def rotate_ud_frame(n, count):
    """A board tipping towards and away from the viewer, a curved arrow beside."""
    def draw(p):
        tilt = math.radians(20 + 50 * (0.5 - 0.5 * math.cos(2 * math.pi * n / count)))
        board(p, tilt=tilt, half=9.0, centre=(14.0, 16.0))
        arc_arrow(p, (22.0, 16.0), 5.0, 11.0, -70, 70)
    return draw


def perspective_frame(n, count):
    """A board whose far edge narrows and widens as its depth changes."""
    def draw(p):
        d = 0.3 + 0.6 * (0.5 - 0.5 * math.cos(2 * math.pi * n / count))
        board(p, tilt=math.radians(50), depth=d, half=11.0)
        arc_arrow(p, (16.0, 16.0), 14.0, 14.0, 235, 305)
    return draw


# file name -> (frame drawing, frames, rate in 1/60 s, hot spot)
ANIMATED = {
    "busy.ani": (busy_frame, 12, 5, (16, 17)),
    "MoveBoard.ani": (move_frame, 8, 6, (16, 16)),
    "SizeBoard.ani": (size_frame, 8, 6, (16, 16)),
    "RotateBoard_LR.ani": (rotate_lr_frame, 8, 6, (16, 16)),
    "RotateBoard_UD.ani": (rotate_ud_frame, 8, 6, (16, 16)),
    "PerspectiveBoard.ani": (perspective_frame, 8, 6, (16, 16)),
}


def render(draw, size=SIZE):
    p = Picture(size)
    draw(p)
    return p.finish()


def cursor_bytes(draw, hotspot):
    img = render(draw)
    return curfile.encode_cur([(img, 32), (img, 4)], [hotspot, hotspot]), img


# The program icon: a brass rook standing on a dark chequered tile.
def icon_image(size):
    p = Picture(size)
    p.scale = size / 64.0
    # At least one clear pixel round the tile's outline, at every size.
    m = 2.0 + 64.0 / size
    tile = p.rrect(p.mask(), (m, m, 64.0 - m, 64.0 - m), 11.0)
    p.part(tile, (24, 24, 30), outline=(8, 8, 10), width=1.0, light=(70, 72, 82))
    if size >= 24:
        sq = (64.0 - 2 * m) / 4
        for v in range(4):
            for u in range(4):
                if (u + v) % 2 == 0:
                    box = (m + u * sq, m + v * sq, m + (u + 1) * sq, m + (v + 1) * sq)
                    p._paint(ImageChops.multiply(p.rrect(p.mask(), box, 0), tile), (58, 60, 70))
        # A bevel light along the top edge.
        p.line((12.0, 4.4), (52.0, 4.4), (120, 122, 134), 0.9)
    rook = p.glyph(p.mask(), "\u265C", (12.0, 8.0, 52.0, 58.0))
    p.part(rook, BRASS_D, outline=(10, 8, 4), width=2.2 if size < 32 else 1.5, light=BRASS_L)
    if size >= 32:
        shine = p.glyph(p.mask(), "\u265C", (12.0, 8.0, 52.0, 58.0))
        band = p.rrect(p.mask(), (12.0, 8.0, 24.0, 58.0), 0)
        p._paint(ImageChops.multiply(shine, band).point(lambda v: v * 35 // 100), (255, 250, 220))
    return p.finish(shadow=False)


ICON_SIZES = (16, 24, 32, 48, 64)


def icon_bytes():
    images = [(icon_image(s), 32) for s in ICON_SIZES] + [(icon_image(s), 4) for s in (16, 32)]
    return curfile.encode_ico(images)


def build(outdir):
    cdir, adir = os.path.join(outdir, "cur"), os.path.join(outdir, "ani")
    os.makedirs(cdir, exist_ok=True)
    os.makedirs(adir, exist_ok=True)
    manifest = Manifest()
    lines = []
    for rid in sorted(CURSORS):
        role, draw, hot = CURSORS[rid]
        data, _ = cursor_bytes(draw, hot)
        path = os.path.join(cdir, "%d.cur" % rid)
        curfile.write(path, data)
        manifest.add(rid, role, (SIZE, SIZE), "cursor, hot spot %d,%d" % hot)
        lines.append('%d CURSOR "%s"' % (rid, path))
    for name, (frame, count, rate, hot) in ANIMATED.items():
        frames = [cursor_bytes(frame(n, count), hot)[0] for n in range(count)]
        curfile.write(os.path.join(adir, name), curfile.encode_ani(frames, rate, name[:-4]))
        manifest.add(name, "animated cursor, %d frames" % count, (SIZE, SIZE), "hot spot %d,%d" % hot)
    ico = os.path.join(outdir, "rookwell.ico")
    curfile.write(ico, icon_bytes())
    manifest.add(101, "program icon", (64, 64), "brass rook on a dark chequered tile, %s" %
                 ", ".join(str(s) for s in ICON_SIZES))
    lines.insert(0, '101 ICON "%s"' % ico)
    with open(os.path.join(outdir, "cursors.rc"), "w", newline="\n") as f:
        f.write("// Program icon and cursors, made by tools/progdata/cursors.py.\n" + "\n".join(lines) + "\n")
    manifest.write(os.path.join(outdir, "cursors.manifest"))


def splitter(outdir):
    """The toolkit's own cursor 131 for its splitter bar."""
    os.makedirs(outdir, exist_ok=True)
    path = os.path.join(outdir, "splitter.cur")
    curfile.write(path, cursor_bytes(splitter_bar, (16, 15))[0])
    with open(os.path.join(outdir, "facet_res.rc"), "w", newline="\n") as f:
        f.write('// The toolkit\'s resources, made by tools/progdata/cursors.py.\n%d CURSOR "%s"\n' % (SPLITTER_ID, path))
