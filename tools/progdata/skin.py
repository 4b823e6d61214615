"""Skinres: the frame, menu, status and control pictures of the look.

Interface: build(outdir) writes outdir/bitmaps/<id>.bmp, outdir/skinres.rc,
outdir/skinres.manifest and outdir/skin_ids.h; FRAME_SETS, CONTROL_IDS.

Every picture is an 8-bit bitmap with PAL's colour table. Pieces that meet
share their sizes: a set's corners are as wide as its side edges and as
high as its top and bottom edges, caption pieces and frame buttons share the
caption's height, and a control's caps match its middle pieces.
"""

import os

from PIL import Image, ImageDraw

import palette
import quantize
from common import (S, BRASS, BRASS_D, BRASS_L, DARK, INK, LIGHT, STONE, STONE_D, STONE_L, WOOD, WOOD_D, WOOD_L,
                    Manifest, canvas, centred_text, finish, font, hgrad, mix, noise_texture, rrect, vgrad)
from widgets import button, edge_profile, glyph, tile, ROOM_SYMBOLS

# The status bar lives in the bottom edge of the sets whose windows have one
# (the main frame's and other sizable top-level windows): that edge is a
# light panel as high as the status text needs.
STATUS_H = 22

# Frame sets: the bitmap ids of each piece, and the metrics they share.
# The main frame's 13-pixel side edges keep the client area of a frame as
# wide as the screen narrower than 780 on an 800-wide screen and than 1000 on
# a 1024-wide one, so each lobby background fits the room window it is
# picked for even when that window takes the whole client area.
# caption: active start, middle, end, then inactive; edges: top (or start),
# middle, end; corners: top-left, top-right, bottom-left, bottom-right.
FRAME_SETS = {
    "sizable": dict(sysmenu=30163, min=(30162, 30157), max=(30160, 30159), close=(30158, 30161),
                    restore=(30192, 30193), toggle=(30372, 30373),
                    caption=(30142, 30144, 30146, 30141, 30143, 30145), left=(30149, 30148, 30147),
                    right=(30152, 30151, 30150), top=(30153, 30154, 30166), bottom=(30155, 30137, 30138),
                    corners=(30135, 30136, 30139, 30140), edge=5, caption_h=24, body=WOOD, bottom_h=STATUS_H),
    "border": dict(sysmenu=30220, min=(30219, 30214), max=(30217, 30216), close=(30215, 30218),
                   restore=(30223, 30224), toggle=None,
                   caption=(30200, 30202, 30204, 30199, 30201, 30203), left=(30207, 30206, 30205),
                   right=(30210, 30209, 30208), top=(30211, 30212, 30222), bottom=(30213, 30195, 30196),
                   corners=(30221, 30194, 30197, 30198), edge=2, caption_h=18, body=WOOD),
    "dialog": dict(sysmenu=30260, min=(30259, 30254), max=(30257, 30256), close=(30255, 30258),
                   restore=(30263, 30264), toggle=(30370, 30371),
                   caption=(30240, 30242, 30244, 30239, 30241, 30243), left=(30247, 30246, 30245),
                   right=(30250, 30249, 30248), top=(30251, 30252, 30262), bottom=(30253, 30235, 30236),
                   corners=(30261, 30234, 30237, 30238), edge=4, caption_h=22, body=WOOD),
    "main": dict(sysmenu=30320, min=(30319, 30314), max=(30317, 30316), close=(30315, 30318),
                 restore=(30323, 30324), toggle=(30368, 30369),
                 caption=(30300, 30302, 30304, 30299, 30301, 30303), left=(30307, 30306, 30305),
                 right=(30310, 30309, 30308), top=(30311, 30312, 30322), bottom=(30313, 30295, 30296),
                 corners=(30321, 30294, 30297, 30298), edge=13, caption_h=26, body=WOOD_D, bottom_h=STATUS_H,
                 title="Rookwell Onyx"),
}
CLIENT_BACKGROUND = 30286
STATUS_SEPARATOR = 30332

# Control defaults: field name -> ids, in the record's order.
CONTROL_IDS = [
    ("check", [30175, 30176, 30177, 30178, 30179]),
    ("radio", [30180, 30181, 30182, 30183, 30184]),
    ("push_left", [30185, 30186, 30187, 30188]),
    ("push_middle", [30189, 30190, 30325, 30326]),
    ("push_right", [30327, 30328, 30329, 30330]),
    ("tab_body", [30335]),
    ("tab_pairs", [30336, 30337, 30338, 30339, 30340, 30341]),
    ("tree", [30350, 30352]),
    ("edit_frame", [30364, 30365, 30366, 30367, 30287, 30288, 30289, 30290]),
    ("spin_arrow", [30390]),
    ("combo_button", [30395]),
    ("list_frame", list(range(30400, 30408))),
    ("scroll_v_arrows", list(range(30410, 30416))),
    ("scroll_v_thumb", list(range(30416, 30425))),
    ("scroll_h_arrows", list(range(30425, 30431))),
    ("scroll_h_thumb", list(range(30431, 30434))),
    ("scroll_tracks", list(range(30434, 30440))),
    ("spin_up_faces", list(range(30440, 30445))),
    ("spin_down_faces", list(range(30445, 30450))),
]
MENU_IDS = [
    ("menu_bar", [30450, 30451, 30452]),
    ("menu_bar_item", [30453, 30454, 30455]),
    ("menu_bar_item_hot", [30456, 30457, 30458]),
    ("menu_frame", list(range(30460, 30468))),
    ("menu_separator", [30468, 30469, 30470]),
    ("menu_check", [30471, 30472]),
    ("menu_arrow", [30473, 30474]),
]
# Navigation buttons: id, room, height (faces at id + state 0..4).
NAV_BUTTONS = [(21595, "lobby", 61), (21565, "game", 52), (21555, "classroom", 57), (21580, "tournament", 62),
               (21570, "library", 61), (21550, "kids", 61), (21560, "database", 55), (21575, "online", 63)]
NAV_LABELS = {"lobby": "Lobby", "game": "Game", "classroom": "Class", "tournament": "Events", "library": "Library",
              "kids": "Kids", "database": "Games DB", "online": "Live"}
TILE_BUTTONS = [(21655, "New Game", 94, 80), (21660, "Advice", 94, 84), (21650, "Set Up Game", 108, 80),
                (21665, "Analysis", 104, 84)]
COLUMN_BUTTONS = [(20450, "<<"), (20455, "<"), (20460, ">>"), (20465, ">")]
NAV_WIDTH = 72
STATES = ("normal", "pressed", "disabled", "focused", "hover")

CAPTION_ACTIVE = (BRASS_L, BRASS)
CAPTION_INACTIVE = (STONE_L, STONE_D)


class Writer:
    def __init__(self, outdir):
        self.dir = os.path.join(outdir, "bitmaps")
        os.makedirs(self.dir, exist_ok=True)
        self.manifest = Manifest()
        self.done = {}

    def put(self, key, role, image, recipe, transparent=False):
        if key in self.done:
            return
        path = os.path.join(self.dir, "%s.bmp" % key)
        # Large shaded pictures are dithered: the ramps are too coarse for
        # their gradients; small pieces stay clean.
        dither = image.size[0] * image.size[1] >= 1500
        quantize.save(path, image, transparent=transparent, dither=dither)
        self.done[key] = path
        self.manifest.add(key, role, image.size, recipe)


def _strip(w, h, profile_at):
    img = Image.new("RGB", (w, h))
    img.putdata([profile_at(x, y) for y in range(h) for x in range(w)])
    return img


def _title_width(title, h):
    """Width in pixels that a caption title takes, with its margins."""
    l, t, r, b = font(h * S * 0.55, bold=True, serif=True).getbbox(title)
    return (r - l) // S + 16


def _caption(w, h, colours, cap, title=None, title_x=0):
    """A caption piece: vertical sheen, 1-pixel rims; cap 'l'/'r' shades an end.

    A frame whose caption shows no window text carries its title in the
    start piece, drawn from title_x (past the system-menu icon)."""
    big = canvas(w, h)
    top, bottom = colours
    vgrad(big, (0, 0, w * S, h * S // 2), mix(top, (255, 255, 255), 0.35), top)
    vgrad(big, (0, h * S // 2, w * S, h * S), mix(top, bottom, 0.3), bottom)
    d = ImageDraw.Draw(big)
    d.rectangle((0, 0, w * S, S - 1), fill=(255, 255, 255, 255))
    d.rectangle((0, h * S - S, w * S, h * S), fill=mix(bottom, DARK, 0.6) + (255,))
    if cap == "l":
        d.rectangle((0, 0, S - 1, h * S), fill=mix(top, (255, 255, 255), 0.6) + (255,))
    if cap == "r":
        d.rectangle((w * S - S, 0, w * S, h * S), fill=mix(bottom, DARK, 0.6) + (255,))
    if title:
        f = font(h * S * 0.55, bold=True, serif=True)
        l, t, r, b = d.textbbox((0, 0), title, font=f)
        x = (title_x + 8) * S - l
        y = (h * S - (b - t)) // 2 - t
        d.text((x + S, y + S), title, font=f, fill=mix(top, (255, 255, 255), 0.7) + (255,))
        d.text((x, y), title, font=f, fill=mix(bottom, DARK, 0.85) + (255,))
    return finish(big)


def _sysmenu(w, h):
    big = tile(w, h, WOOD, back=mix(BRASS, WOOD, 0.5), radius=3)
    centred_text(big, (0, 0, w * S, h * S), "\u265C", h * S * 0.8, BRASS_L + (255,), bold=False)
    return finish(big)


def frame_sets(out):
    for name, fs in FRAME_SETS.items():
        e, ch, body = fs["edge"], fs["caption_h"], fs["body"]
        bh = fs.get("bottom_h", e)
        prof = edge_profile(e, body=body)
        bottom_at, corner_bl, corner_br = _bottom_rules(prof, e, bh)
        seg = 8
        bw = ch - 4
        tag = "%s frame" % name
        for k, key in enumerate(fs["left"]):
            out.put(key, "%s left edge %d" % (tag, k), _strip(e, seg, lambda x, y: prof[x]), "edge profile")
        for k, key in enumerate(fs["right"]):
            out.put(key, "%s right edge %d" % (tag, k), _strip(e, seg, lambda x, y: prof[e - 1 - x]), "edge profile")
        for k, key in enumerate(fs["top"]):
            out.put(key, "%s top edge %d" % (tag, k), _strip(seg, e, lambda x, y: prof[y]), "edge profile")
        for k, key in enumerate(fs["bottom"]):
            out.put(key, "%s bottom edge %d" % (tag, k), _strip(seg, bh, bottom_at), "edge profile or status panel")
        corners = [(lambda x, y: prof[min(x, y)], e), (lambda x, y: prof[min(e - 1 - x, y)], e), (corner_bl, bh),
                   (corner_br, bh)]
        for key, (rule, h), where in zip(fs["corners"], corners, ("top-left", "top-right", "bottom-left", "bottom-right")):
            out.put(key, "%s %s corner" % (tag, where), _strip(e, h, rule), "mitred edge profile")
        cap = fs["caption"]
        for look, colours, ids in (("active", CAPTION_ACTIVE, cap[:3]), ("inactive", CAPTION_INACTIVE, cap[3:])):
            title = fs.get("title")
            start = _caption(bw + 8 + (_title_width(title, ch) if title else 0), ch, colours, "l", title, bw + 8)
            out.put(ids[0], "%s caption start, %s" % (tag, look), start, "sheen" + (" and title" if title else ""))
            out.put(ids[1], "%s caption middle, %s" % (tag, look), _caption(8, ch, colours, None), "sheen")
            out.put(ids[2], "%s caption end, %s" % (tag, look), _caption(4, ch, colours, "r"), "sheen")
        out.put(fs["sysmenu"], "%s system-menu icon" % tag, _sysmenu(bw, bw), "rook on wood tile")
        for what in ("min", "max", "close", "restore", "toggle"):
            ids = fs[what]
            if not ids:
                continue
            base = (200, 80, 60) if what == "close" else BRASS
            out.put(ids[0], "%s %s button" % (tag, what), button(bw, bw, what, base=base, back=BRASS_D), "tile+symbol")
            out.put(ids[1], "%s %s button pressed" % (tag, what),
                    button(bw, bw, what, pressed=True, base=base, back=BRASS_D), "tile+symbol")
    # Paper in two neighbouring creams of the palette (the light edge and the
    # popup background): shades between them would be matched to greys and
    # show as blotches repeating with the tile.
    tex = _seamless(noise_texture(32, 32, 286, (128, 128, 128), 60, scale=2)).convert("L")
    light, cream = palette.ROLES[18][1], palette.ROLES[191][1]
    paper = Image.new("RGB", tex.size)
    paper.putdata([light if v > 132 else cream for v in tex.getdata()])
    out.put(CLIENT_BACKGROUND, "client background tile", paper, "two creams from value noise, seed 286")
    # The separator stands in the status panel: same rows, with a groove.
    panel = _bottom_rules(edge_profile(5), 5, STATUS_H)[0]
    groove = {0: STONE_D, 1: DARK, 2: (255, 255, 255)}
    sep = _strip(4, STATUS_H, lambda x, y: groove.get(x, panel(x, y)) if 3 <= y < STATUS_H - 4 else panel(x, y))
    out.put(STATUS_SEPARATOR, "status bar separator", sep, "groove in the status panel")


def _bottom_rules(prof, e, bh):
    """Pixel rules of the bottom edge and its corners; a tall edge is a panel."""
    if bh == e:
        return (lambda x, y: prof[e - 1 - y], lambda x, y: prof[min(x, e - 1 - y)],
                lambda x, y: prof[min(e - 1 - x, e - 1 - y)])
    rim = min(e, 3)
    outer = edge_profile(rim)
    panel = [mix(STONE_L, STONE, t / (bh - rim - 2)) for t in range(bh - rim - 1)]

    def bottom(x, y):
        if y >= bh - rim:
            return outer[bh - 1 - y]
        return DARK if y == 0 else panel[y - 1]

    def left(x, y):
        if y >= bh - rim:
            return prof[x] if x < bh - 1 - y else outer[bh - 1 - y]
        return prof[x]

    return bottom, left, lambda x, y: left(e - 1 - x, y)


def _seamless(img):
    """Blends a texture with its half-shifted copy so that it tiles."""
    w, h = img.size
    shifted = Image.new("RGB", (w, h))
    shifted.paste(img.crop((w // 2, h // 2, w, h)), (0, 0))
    shifted.paste(img.crop((0, h // 2, w // 2, h)), (w // 2, 0))
    shifted.paste(img.crop((w // 2, 0, w, h // 2)), (0, h // 2))
    shifted.paste(img.crop((0, 0, w // 2, h // 2)), (w // 2, h // 2))
    mask = Image.new("L", (w, h))
    mask.putdata([int(255 * max(abs(x - w / 2) / (w / 2), abs(y - h / 2) / (h / 2))) for y in range(h) for x in range(w)])
    return Image.composite(shifted, img, mask)


DIALOG_BACK = (236, 232, 222)


def _box(w, h, state, kind):
    """Check box or radio picture: state 0 normal, 1 checked, 2 disabled, 3 focused, 4 checked disabled.

    Shown as they are beside their text, so drawn on the dialogs' colour."""
    big = canvas(w, h, DIALOG_BACK + (255,))
    disabled = state in (2, 4)
    face = mix(STONE_L, STONE, 0.5) if disabled else (252, 250, 244)
    rim = STONE_D if disabled else DARK
    if kind == "radio":
        ImageDraw.Draw(big).ellipse((0, 0, w * S - 1, h * S - 1), fill=rim + (255,))
        ImageDraw.Draw(big).ellipse((S, S, w * S - 1 - S, h * S - 1 - S), fill=face + (255,))
        if state == 3:
            ImageDraw.Draw(big).ellipse((S, S, w * S - 1 - S, h * S - 1 - S), outline=(38, 66, 122, 255), width=S)
        if state in (1, 4):
            q = w * S // 4
            ImageDraw.Draw(big).ellipse((q, q, w * S - q, h * S - q), fill=(STONE_D if disabled else INK) + (255,))
    else:
        rrect(big, (0, 0, w * S - 1, h * S - 1), 2 * S, fill=rim + (255,))
        rrect(big, (S, S, w * S - 1 - S, h * S - 1 - S), S, fill=face + (255,))
        if state == 3:
            rrect(big, (S, S, w * S - 1 - S, h * S - 1 - S), S, outline=(38, 66, 122, 255), width=S)
        if state in (1, 4):
            glyph(big, "check", (0, 0, w * S, h * S), STONE_D if disabled else INK)
    return finish(big)


def _push(w, h, state, part):
    """Push-button piece: state 0 normal, 1 pressed, 2 disabled, 3 focused."""
    full = tile(3 * 8, h, BRASS if state != 2 else STONE, pressed=state == 1, radius=4, back=LIGHT)
    if state == 3:
        rrect(full, (S, S, 24 * S - 1 - S, h * S - 1 - S), 3 * S, outline=(38, 66, 122, 255), width=S)
    img = finish(full)
    if part == "left":
        return img.crop((0, 0, w, h))
    if part == "right":
        return img.crop((24 - w, 0, 24, h))
    return img.crop((8, 0, 8 + w, h))


def _frame_piece(w, h, where, dark, light):
    """Edit/list frame pieces: sunken 2-tone rim, inside on the right/bottom."""
    img = Image.new("RGB", (w, h), light)
    d = ImageDraw.Draw(img)
    if where in ("top-left", "top", "top-right", "left"):
        pass
    if where in ("top-left", "top", "top-right"):
        d.line((0, 0, w, 0), fill=dark)
        d.line((0, 1, w, 1), fill=mix(dark, light, 0.5))
    if where in ("top-left", "left", "bottom-left"):
        d.line((0, 0, 0, h), fill=dark)
        d.line((1, 0, 1, h), fill=mix(dark, light, 0.5))
    if where in ("bottom-left", "bottom", "bottom-right"):
        d.line((0, h - 1, w, h - 1), fill=(255, 255, 255))
    if where in ("top-right", "right", "bottom-right"):
        d.line((w - 1, 0, w - 1, h), fill=(255, 255, 255))
    if where == "bottom-left":
        d.point((0, h - 1), fill=dark)
    if where == "top-right":
        d.point((w - 1, 0), fill=dark)
    return img


FRAME_PLACES = ["top-left", "top", "top-right", "right", "bottom-right", "bottom", "bottom-left", "left"]
FRAME_SIZES = [(3, 3), (5, 3), (3, 3), (3, 8), (3, 3), (5, 3), (3, 3), (3, 8)]


def _arrow_button(w, h, name, state):
    base = STONE if state == 2 else BRASS_L
    big = tile(w, h, base, pressed=state == 1, radius=2, back=STONE_D)
    glyph(big, name, (0, 0, w * S, h * S), STONE_D if state == 2 else INK)
    return finish(big)


def controls(out):
    ids = dict(CONTROL_IDS)
    for i, key in enumerate(ids["check"]):
        out.put(key, "check box, state %d" % i, _box(13, 13, i, "check"), "rounded box + check")
    for i, key in enumerate(ids["radio"]):
        out.put(key, "radio button, state %d" % i, _box(13, 13, i, "radio"), "disc")
    for part, w in (("left", 6), ("middle", 8), ("right", 6)):
        for i, key in enumerate(ids["push_" + part]):
            out.put(key, "push button %s, state %d" % (part, i), _push(w, 24, i, part), "brass tile slice")
    body = noise_texture(16, 16, 335, (236, 232, 222), 4, scale=4)
    out.put(ids["tab_body"][0], "tab body tile", _seamless(body), "value noise, seed 335")
    for look, offset in (("selected", 0), ("normal", 3)):
        full = tile(24, 22, BRASS if look == "selected" else STONE, radius=5, back=LIGHT)
        full = finish(full)
        for k, (x0, x1) in enumerate(((0, 6), (8, 16), (18, 24))):
            out.put(ids["tab_pairs"][offset + k], "tab %s piece %d" % (look, k), full.crop((x0, 0, x1, 22)), "tile slice")
    for key, name in zip(ids["tree"], ("plus", "minus")):
        big = canvas(11, 11, LIGHT + (255,))
        rrect(big, (0, 0, 11 * S - 1, 11 * S - 1), 2 * S, fill=STONE_D + (255,))
        rrect(big, (S, S, 10 * S - 1, 10 * S - 1), S, fill=(252, 250, 244, 255))
        glyph(big, name, (0, 0, 11 * S, 11 * S), INK)
        out.put(key, "tree %s button" % name, finish(big), "box + sign")
    big = canvas(16, 11)
    glyph(big, "up", (0, 0, 16 * S, 11 * S), INK)
    out.put(ids["spin_arrow"][0], "spin edit arrow size", finish(tile(16, 11, STONE_L, back=STONE_D)), "tile")
    out.put(ids["combo_button"][0], "combo box button", _arrow_button(18, 20, "down", 0), "tile + arrow")
    for kind in ("edit_frame", "list_frame"):
        for key, where, size in zip(ids[kind], FRAME_PLACES, FRAME_SIZES):
            out.put(key, "%s %s" % (kind.replace("_", " "), where), _frame_piece(size[0], size[1], where, DARK, (250, 248, 240)),
                    "sunken rim")
    for kind, names in (("scroll_v_arrows", ("up", "down")), ("scroll_h_arrows", ("left", "right"))):
        for k, key in enumerate(ids[kind]):
            out.put(key, "%s %s, state %d" % (kind, names[k // 3], k % 3), _arrow_button(16, 16, names[k // 3], k % 3),
                    "tile + arrow")
    for k, key in enumerate(ids["scroll_v_thumb"]):
        piece, state = divmod(k, 3)
        full = finish(tile(16, 16, STONE if state == 2 else BRASS, pressed=state == 1, radius=4, back=STONE_D))
        crop = [(0, 0, 16, 4), (0, 4, 16, 12), (0, 12, 16, 16)][piece]
        out.put(key, "vertical thumb piece %d, state %d" % (piece, state), full.crop(crop), "tile slice")
    full = finish(tile(16, 16, BRASS, radius=4, back=STONE_D))
    for piece, key in enumerate(ids["scroll_h_thumb"]):
        crop = [(0, 0, 4, 16), (4, 0, 12, 16), (12, 0, 16, 16)][piece]
        out.put(key, "horizontal thumb piece %d" % piece, full.crop(crop), "tile slice")
    for k, key in enumerate(ids["scroll_tracks"]):
        state = k % 3
        base = [STONE, STONE_D, STONE_L][state]
        img = Image.new("RGB", (16, 16), base)
        d = ImageDraw.Draw(img)
        if k < 3:
            d.line((0, 0, 0, 16), fill=mix(base, DARK, 0.4))
            d.line((15, 0, 15, 16), fill=mix(base, (255, 255, 255), 0.4))
        else:
            d.line((0, 0, 16, 0), fill=mix(base, DARK, 0.4))
            d.line((0, 15, 16, 15), fill=mix(base, (255, 255, 255), 0.4))
        out.put(key, "scroll track %s, state %d" % ("vertical" if k < 3 else "horizontal", state), img, "grooved fill")
    for kind, name in (("spin_up_faces", "up"), ("spin_down_faces", "down")):
        for state, key in enumerate(ids[kind]):
            out.put(key, "spin %s face, %s" % (name, STATES[state]), _arrow_button(16, 11, name, min(state, 2) if state < 3 else 0),
                    "tile + arrow")


def menu_look(out):
    ids = dict(MENU_IDS)
    bar_h = 22
    bar = canvas(16, bar_h)
    vgrad(bar, (0, 0, 16 * S, bar_h * S), STONE_L, mix(STONE, STONE_L, 0.4))
    ImageDraw.Draw(bar).rectangle((0, bar_h * S - S, 16 * S, bar_h * S), fill=STONE_D + (255,))
    bar = finish(bar)
    for key, crop in zip(ids["menu_bar"], ((0, 0, 4, bar_h), (4, 0, 12, bar_h), (12, 0, 16, bar_h))):
        out.put(key, "menu bar background piece", bar.crop(crop), "light stone sheen")
    for kind, hot in (("menu_bar_item", False), ("menu_bar_item_hot", True)):
        if hot:
            full = finish(tile(16, bar_h, BRASS_L, radius=4, back=mix(STONE, STONE_L, 0.6)))
        else:
            full = bar
        for key, crop in zip(ids[kind], ((0, 0, 4, bar_h), (4, 0, 12, bar_h), (12, 0, 16, bar_h))):
            out.put(key, "menu bar item%s piece" % (" (hot)" if hot else ""), full.crop(crop), "stone or brass tile slice")
    popup_bg = (238, 233, 221)
    for key, where, size in zip(ids["menu_frame"], FRAME_PLACES, [(3, 3), (8, 3), (3, 3), (3, 8), (3, 3), (8, 3), (3, 3), (3, 8)]):
        img = Image.new("RGB", size, popup_bg)
        d = ImageDraw.Draw(img)
        w, h = size
        if "top" in where:
            d.line((0, 0, w, 0), fill=BRASS_D)
            d.line((0, 1, w, 1), fill=(255, 255, 255))
        if "left" in where:
            d.line((0, 0, 0, h), fill=BRASS_D)
            d.line((1, 0 if where == "left" else 1, 1, h), fill=(255, 255, 255))
        if "bottom" in where:
            d.line((0, h - 1, w, h - 1), fill=DARK)
            d.line((0, h - 2, w, h - 2), fill=STONE_D)
        if "right" in where:
            d.line((w - 1, 0, w - 1, h), fill=DARK)
            d.line((w - 2, 0 if where == "right" else 1, w - 2, h), fill=STONE_D)
        out.put(key, "popup frame %s" % where, img, "raised rim")
    sep = Image.new("RGB", (16, 4), popup_bg)
    d = ImageDraw.Draw(sep)
    d.line((0, 1, 16, 1), fill=STONE_D)
    d.line((0, 2, 16, 2), fill=(255, 255, 255))
    for key, crop in zip(ids["menu_separator"], ((0, 0, 4, 4), (4, 0, 12, 4), (12, 0, 16, 4))):
        out.put(key, "menu separator piece", sep.crop(crop), "groove")
    # Check marks and arrows are shown as they are, on the popup's colour
    # (18) or the highlight fill (145): their backgrounds are those colours.
    looks = (((20, 20, 24), popup_bg), ((255, 252, 236), (38, 66, 122)))
    for key, (colour, back) in zip(ids["menu_check"], looks):
        big = canvas(12, 12, back + (255,))
        glyph(big, "check", (0, 0, 12 * S, 12 * S), colour)
        out.put(key, "menu check mark", finish(big), "check stroke")
    for key, (colour, back) in zip(ids["menu_arrow"], looks):
        big = canvas(8, 12, back + (255,))
        ImageDraw.Draw(big).polygon([(2 * S, 2 * S), (7 * S, 6 * S), (2 * S, 10 * S)], fill=colour + (255,))
        out.put(key, "submenu arrow", finish(big), "triangle")


def navbar_background(h):
    """The bar's strip: uniform down its length, so faces can repeat it exactly."""
    big = canvas(NAV_WIDTH, 1)
    hgrad(big, (0, 0, NAV_WIDTH * S // 2, S), WOOD_D, WOOD)
    hgrad(big, (NAV_WIDTH * S // 2, 0, NAV_WIDTH * S, S), WOOD, WOOD_D)
    line = finish(big).convert("RGB")
    d = ImageDraw.Draw(line)
    d.point((NAV_WIDTH - 1, 0), fill=DARK)
    d.point((NAV_WIDTH - 2, 0), fill=BRASS_D)
    return line.resize((NAV_WIDTH, h))


def nav_face(room, h, state):
    back = navbar_background(h).convert("RGBA").resize((NAV_WIDTH * S, h * S))
    big = back.copy()
    pressed = state == 1
    disabled = state == 2
    lit = state == 4
    base = STONE if disabled else (BRASS_L if lit or pressed else BRASS)
    plaque = tile(62, h - 6, base, pressed=pressed, radius=8)
    big.alpha_composite(plaque, (5 * S, 3 * S))
    ink = STONE_D if disabled else INK
    centred_text(big, (5 * S, 3 * S, 67 * S, (h - 16) * S), ROOM_SYMBOLS[room], (h - 26) * S, ink + (255,), bold=False)
    # The label stays inside the plaque's rounded edge (3 pixels in).
    centred_text(big, (8 * S, (h - 19) * S, 64 * S, (h - 5) * S), NAV_LABELS[room], 11 * S, ink + (255,), fit=True)
    if state == 3:
        rrect(big, (6 * S, 4 * S, 66 * S, (h - 4) * S), 7 * S, outline=(38, 66, 122, 255), width=S)
    return finish(big).convert("RGB")


def faces(out):
    for cid, room, h in NAV_BUTTONS:
        for state in range(5):
            out.put(cid + state, "navigation face %s, %s" % (room, STATES[state]), nav_face(room, h, state),
                    "brass plaque on the bar strip")
    for cid, label, w, h in TILE_BUTTONS:
        for state in range(5):
            out.put(cid + state, "shortcut tile %s, %s" % (label, STATES[state]), tile_face(label, w, h, state),
                    "card with symbol")
    for cid, label in COLUMN_BUTTONS:
        for state in range(5):
            big = tile(40, 24, STONE if state == 2 else (BRASS_L if state == 4 else BRASS), pressed=state == 1,
                       radius=4, back=LIGHT)
            glyph_for = {"<<": "left", "<": "left", ">>": "right", ">": "right"}[label]
            ink = STONE_D if state == 2 else INK
            if len(label) == 2:
                glyph(big, glyph_for, (2 * S, 0, 22 * S, 24 * S), ink)
                glyph(big, glyph_for, (18 * S, 0, 38 * S, 24 * S), ink)
            else:
                glyph(big, glyph_for, (8 * S, 0, 32 * S, 24 * S), ink)
            if state == 3:
                rrect(big, (S, S, 39 * S - 1, 23 * S - 1), 3 * S, outline=(38, 66, 122, 255), width=S)
            out.put(cid + state, "column setup %s, %s" % (label, STATES[state]), finish(big).convert("RGB"), "tile + arrows")


TILE_SYMBOLS = {"New Game": "\u2654", "Advice": "\u2657", "Set Up Game": "\u265E", "Analysis": "\u2655"}
FELT = (40, 98, 58)


def tile_face(label, w, h, state):
    big = canvas(w, h, FELT + (255,))
    base = STONE if state == 2 else (BRASS if state in (1, 4) else BRASS_L)
    big.alpha_composite(tile(w - 4, h - 4, base, pressed=state == 1, radius=10), (2 * S, 2 * S))
    ink = STONE_D if state == 2 else INK
    centred_text(big, (0, 4 * S, w * S, (h - 22) * S), TILE_SYMBOLS[label], (h - 34) * S, ink + (255,), bold=False)
    centred_text(big, (6 * S, (h - 24) * S, (w - 6) * S, (h - 6) * S), label, 12 * S, ink + (255,), fit=True)
    if state == 3:
        rrect(big, (3 * S, 3 * S, (w - 3) * S, (h - 3) * S), 9 * S, outline=(38, 66, 122, 255), width=S)
    return finish(big).convert("RGB")


def build(outdir):
    out = Writer(outdir)
    frame_sets(out)
    controls(out)
    menu_look(out)
    faces(out)
    with open(os.path.join(outdir, "skinres.rc"), "w", newline="\n") as f:
        for key in sorted(out.done, key=int):
            f.write('%s BITMAP "%s"\n' % (key, out.done[key].replace("\\", "/")))
    out.manifest.write(os.path.join(outdir, "skinres.manifest"))
    write_header(os.path.join(outdir, "skin_ids.h"))
    return out


def write_header(path):
    lines = ["// Bitmap ids of Skinres, made by tools/progdata/skin.py.", "#pragma once", ""]
    for name, fs in FRAME_SETS.items():
        p = "SKIN_%s_" % name.upper()
        for key in ("sysmenu",):
            lines.append("#define %sSYSMENU %d" % (p, fs[key]))
        for key in ("min", "max", "close", "restore", "toggle"):
            if fs[key]:
                lines.append("#define %s%s %d" % (p, key.upper(), fs[key][0]))
                lines.append("#define %s%s_PRESSED %d" % (p, key.upper(), fs[key][1]))
        for k, part in enumerate(("START", "MIDDLE", "END")):
            lines.append("#define %sCAPTION_%s %d" % (p, part, fs["caption"][k]))
            lines.append("#define %sCAPTION_INACTIVE_%s %d" % (p, part, fs["caption"][3 + k]))
        for edge in ("left", "right", "top", "bottom"):
            for k, part in enumerate(("FIRST", "MIDDLE", "LAST")):
                lines.append("#define %s%s_%s %d" % (p, edge.upper(), part, fs[edge][k]))
        for k, part in enumerate(("TOPLEFT", "TOPRIGHT", "BOTTOMLEFT", "BOTTOMRIGHT")):
            lines.append("#define %sCORNER_%s %d" % (p, part, fs["corners"][k]))
    lines.append("#define SKIN_CLIENT_BACKGROUND %d" % CLIENT_BACKGROUND)
    lines.append("#define SKIN_STATUS_SEPARATOR %d" % STATUS_SEPARATOR)
    # Each picture of a control-default or menu-look field by its place in
    # the field (ids are not always consecutive).
    for name, ids in CONTROL_IDS + MENU_IDS:
        for k, key in enumerate(ids):
            lines.append("#define SKIN_%s_%d %d" % (name.upper(), k, key))
    lines.append("#define SKIN_SPIN_UP_ID 30440  // control id whose faces are the spin up faces")
    lines.append("#define SKIN_SPIN_DOWN_ID 30445")
    for cid, room, _ in NAV_BUTTONS:
        lines.append("#define SKIN_NAV_%s %d" % (room.upper(), cid))
    with open(path, "w", newline="\n") as f:
        f.write("\n".join(lines) + "\n")
