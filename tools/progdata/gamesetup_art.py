"""Pictures of the new-game set-up dialog, for the resource library RW256.

Interface: pictures() -> list of (name, role, image, recipe, transparent):
the "GUY" and "COMP" picture-button faces (20190/20191, 20195/20196), the
Colors page's board (20170), turn arrows (20171) and side-at-the-bottom
faces (20175 White, 20176 Black), the odds board "bestlineboard" with
its twelve pieces "wk".."bp" and the squares "wsquare"/"bsquare", and the
chess-set dialog's preview of the custom board "CUSTOM_PREVIEW".
"""

import math

from PIL import ImageDraw

from common import S, BRASS, BRASS_D, BRASS_L, DARK, INK, STONE_L, canvas, finish, font, mix, rrect, vgrad

LIGHT_SQ, DARK_SQ = (238, 216, 170), (170, 120, 74)
FRAME_L, FRAME_D = (112, 70, 36), (58, 32, 14)
SQUARE = 19  # pixels of an odds-board square; the board has a 3-pixel frame
GLYPHS = {"k": ("\u2654", "\u265A"), "q": ("\u2655", "\u265B"), "r": ("\u2656", "\u265C"),
          "b": ("\u2657", "\u265D"), "n": ("\u2658", "\u265E"), "p": ("\u2659", "\u265F")}


def _face(size, pressed):
    """A rounded button face in brass, lit from the top; pressed it is sunk."""
    big = canvas(size, size)
    n = size * S
    top, bottom = (BRASS_D, BRASS) if pressed else (BRASS_L, BRASS)
    mask = canvas(size, size)
    rrect(mask, (0, 0, n - 1, n - 1), 5 * S, fill=(255, 255, 255, 255))
    grad = canvas(size, size)
    vgrad(grad, (0, 0, n, n), top, bottom)
    big.paste(grad, (0, 0), mask)
    edge = mix(BRASS_D, INK, 0.4) + (255,)
    rrect(big, (S // 2, S // 2, n - S, n - S), 5 * S, outline=edge, width=S)
    if pressed:
        rrect(big, (3 * S // 2, 3 * S // 2, n - 2 * S, n - 2 * S), 4 * S, outline=(90, 60, 20, 255), width=S)
    return big


def _guy(pressed):
    size = 32
    big = _face(size, pressed)
    d = ImageDraw.Draw(big)
    off = S if pressed else 0
    c = (40, 70, 130, 255) if pressed else (60, 90, 150, 255)
    skin = (236, 196, 160, 255)
    d.ellipse((11 * S + off, 5 * S + off, 21 * S + off, 15 * S + off), fill=skin, outline=DARK + (255,), width=S)
    d.pieslice((6 * S + off, 16 * S + off, 26 * S + off, 36 * S + off), 180, 360, fill=c, outline=DARK + (255,),
               width=S)
    return finish(big)


def _comp(pressed):
    size = 32
    big = _face(size, pressed)
    d = ImageDraw.Draw(big)
    off = S if pressed else 0
    d.rounded_rectangle((6 * S + off, 6 * S + off, 26 * S + off, 21 * S + off), radius=2 * S, fill=(60, 60, 66, 255),
                        outline=DARK + (255,), width=S)
    scr = (80, 150, 220, 255) if pressed else (110, 180, 240, 255)
    d.rectangle((8 * S + off, 8 * S + off, 24 * S + off, 19 * S + off), fill=scr)
    d.polygon([(13 * S + off, 21 * S + off), (19 * S + off, 21 * S + off), (20 * S + off, 25 * S + off),
               (12 * S + off, 25 * S + off)], fill=(90, 90, 96, 255))
    d.rectangle((9 * S + off, 25 * S + off, 23 * S + off, 27 * S + off), fill=(60, 60, 66, 255))
    # A knight's head on the screen.
    f = font(10 * S, True)
    d.text((16 * S + off, 14 * S + off), "\u265E", font=f, fill=(20, 30, 60, 255), anchor="mm")
    return finish(big)


def _board(size, squares, frame, pieces=None, light=LIGHT_SQ, dark=DARK_SQ):
    """A flat board of `squares` pixels a square with a frame of `frame`
    pixels; `pieces` maps (row, file) to a piece letter and colour."""
    n = size * S
    big = canvas(size, size)
    d = ImageDraw.Draw(big)
    d.rectangle((0, 0, n - 1, n - 1), fill=FRAME_D + (255,))
    d.rectangle((S, S, n - 1 - S, n - 1 - S), fill=FRAME_L + (255,))
    for row in range(8):
        for file in range(8):
            x = (frame + file * squares) * S
            y = (frame + row * squares) * S
            colour = light if (row + file) % 2 == 0 else dark
            d.rectangle((x, y, x + squares * S - 1, y + squares * S - 1), fill=colour + (255,))
    if pieces:
        for (row, file), (letter, white) in pieces.items():
            x = (frame + file * squares) * S
            y = (frame + row * squares) * S
            _piece_on(big, (x, y, x + squares * S, y + squares * S), letter, white)
    return finish(big)


def _piece_on(big, box, letter, white):
    d = ImageDraw.Draw(big)
    outline, solid = GLYPHS[letter]
    h = box[3] - box[1]
    f = font(int(h * 0.92), False)
    cx, cy = (box[0] + box[2]) // 2, (box[1] + box[3]) // 2 + h // 20
    if white:
        d.text((cx, cy), solid, font=f, fill=(250, 248, 240, 255), anchor="mm")
        d.text((cx, cy), outline, font=f, fill=INK + (255,), anchor="mm")
    else:
        d.text((cx, cy), solid, font=f, fill=(24, 22, 22, 255), anchor="mm", stroke_width=max(1, S // 2),
               stroke_fill=(200, 190, 170, 255))


def _piece(letter, white):
    big = canvas(SQUARE, SQUARE)
    _piece_on(big, (0, 0, SQUARE * S, SQUARE * S), letter, white)
    return finish(big)


def _square(colour):
    big = canvas(SQUARE, SQUARE, colour + (255,))
    return finish(big)


def _sides(white_bottom):
    back = "rnbqkbnr"
    pieces = {}
    for file in range(8):
        pieces[(0, file)] = (back[file], not white_bottom)
        pieces[(1, file)] = ("p", not white_bottom)
        pieces[(6, file)] = ("p", white_bottom)
        pieces[(7, file)] = (back[file], white_bottom)
    return _board(76, 9, 2, pieces)


def _start_position(white_bottom=True):
    back = "rnbqkbnr"
    pieces = {}
    for file in range(8):
        pieces[(0, file)] = (back[file], not white_bottom)
        pieces[(1, file)] = ("p", not white_bottom)
        pieces[(6, file)] = ("p", white_bottom)
        pieces[(7, file)] = (back[file], white_bottom)
    return pieces


# The custom board as a room first shows it: flat, its squares in the
# layout's default colours (dark green and red).
CUSTOM_LIGHT, CUSTOM_DARK = (192, 0, 0), (0, 64, 0)


def custom_preview():
    return _board(140, 16, 6, _start_position(), CUSTOM_LIGHT, CUSTOM_DARK)


def _rotate():
    size = 36
    big = _face(size, False)
    d = ImageDraw.Draw(big)
    n = size * S
    c = (40, 96, 60, 255)
    w = 3 * S
    box = (6 * S, 6 * S, n - 6 * S, n - 6 * S)
    d.arc(box, 200, 340, fill=c, width=w)
    d.arc(box, 20, 160, fill=c, width=w)
    r = (box[2] - box[0]) / 2
    cx, cy = n / 2, n / 2
    for ang, turn in ((340, 1), (160, 1)):
        a = math.radians(ang)
        x, y = cx + r * math.cos(a), cy + r * math.sin(a)
        t = math.radians(ang + 90 * turn)
        u = (math.cos(t), math.sin(t))
        v = (-u[1], u[0])
        k = 5 * S
        d.polygon([(x + u[0] * k, y + u[1] * k), (x + v[0] * k * 0.9, y + v[1] * k * 0.9),
                   (x - v[0] * k * 0.9, y - v[1] * k * 0.9)], fill=c)
    return finish(big)


def pictures():
    out = [
        ("20190", "set-up dialog: person button", _guy(False), "head and shoulders on brass", False),
        ("20191", "set-up dialog: person button, pressed", _guy(True), "the same, sunk", False),
        ("20195", "set-up dialog: computer button", _comp(False), "screen with a knight on brass", False),
        ("20196", "set-up dialog: computer button, pressed", _comp(True), "the same, sunk", False),
        ("20170", "set-up dialog: board", _board(48, 5, 4), "flat board in a wooden frame", False),
        ("20171", "set-up dialog: turn the board", _rotate(), "two turning arrows on brass", False),
        ("20175", "set-up dialog: White at the bottom", _sides(True), "board with White below", False),
        ("20176", "set-up dialog: Black at the bottom", _sides(False), "board with Black below", False),
        ("CUSTOM_PREVIEW", "chess-set dialog: custom board preview", custom_preview(),
         "flat board in the custom board's default colours with the start position", False),
        ("bestlineboard", "odds board", _board(8 * SQUARE + 6, SQUARE, 3), "flat board, 19-pixel squares", False),
        ("wsquare", "odds board light square", _square(LIGHT_SQ), "plain square", False),
        ("bsquare", "odds board dark square", _square(DARK_SQ), "plain square", False),
    ]
    for white in (True, False):
        for letter in "kqrbnp":
            name = ("w" if white else "b") + letter
            out.append((name, "odds board piece", _piece(letter, white), "chess glyph, filled", True))
    return out
