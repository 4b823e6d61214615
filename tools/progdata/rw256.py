"""RW256: the program's library of named bitmaps (data set 7).

Interface: build(outdir) writes outdir/bitmaps/<NAME>.bmp, outdir/rw256.rc
and outdir/rw256.manifest; LOBBY_SIZES, ICONS, FACES.
"""

import os

from PIL import Image, ImageDraw

import bookeditor_art
import gamesetup_art
import training_art
import pictures
import quantize
import searchboard_art
import tiles_art
from common import (S, BRASS, BRASS_D, BRASS_L, DARK, INK, LIGHT, STONE, STONE_D, STONE_L, WOOD, Manifest, canvas,
                    centred_text, finish, rrect, vgrad, mix)
from skin import FELT, NAV_WIDTH, navbar_background
from widgets import glyph, tile

LOBBY_SIZES = {"TINY": (640, 480), "SMALL": (800, 600), "LARGE": (1024, 768)}

# File-list icons: (normal, selected) names and how each is drawn.
ICONS = [
    ("gen_file", "gen_fils", "page", STONE_L, ""), ("gameBeryl", "gameBerys", "page", (120, 200, 190), "\u265E"),
    ("gameTopaz", "gameTopas", "page", (240, 190, 80), "\u265E"), ("gameAmber", "gameAmbes", "page", (220, 140, 40), "\u265E"),
    ("gameJade", "gameJads", "page", (90, 170, 110), "\u265E"), ("gameOnyx", "gameOnys", "page", (70, 70, 76), "\u265E"),
    ("database_file", "database_fils", "drum", (120, 160, 220), ""), ("text_file", "text_fils", "page", (250, 250, 244), "T"),
    ("pgn_file", "pgn_fils", "page", (250, 250, 244), "\u2659"), ("tutor_file", "tutor_fils", "page", (250, 236, 180), "\u2657"),
    ("person_file", "person_fils", "page", (240, 206, 178), "\u263A"), ("tourn_file", "tourn_fils", "page", (240, 220, 140), "\u2655"),
    ("book_file", "book_fils", "book", (150, 30, 24), ""), ("clsfile", "clsfils", "folder", BRASS, ""),
    ("opn1file", "opn1fils", "openfolder", BRASS, ""), ("opnfile", "opnfils", "openfolder", BRASS_L, ""),
    ("lay_file", "lay_fils", "page", (176, 206, 236), "\u25A6"), ("computer", "computes", "screen", STONE, ""),
    ("desktop", "desktos", "screen", (120, 164, 220), ""), ("network", "networs", "globe", (40, 80, 150), ""),
]
DRIVES = [("floppydrive", (60, 60, 70)), ("harddrive", STONE_D), ("netdrive", (40, 80, 150)),
          ("cdromdrive", (200, 200, 210)), ("ramdrive", (30, 96, 56))]
FACES = [("IDD_FILE_DIRUP_U", "up", 0), ("IDD_FILE_DIRUP_D", "up", 1), ("IDD_FILE_DIRUP_I", "up", 2),
         ("IDD_FILE_NEWDIR_U", "new", 0), ("IDD_FILE_NEWDIR_D", "new", 1)]
ICON = 16
SELECTED_BACK = (38, 66, 122)
LIST_BACK = (30, 44, 58)


def _icon(kind, colour, mark, selected):
    big = canvas(ICON, ICON, (SELECTED_BACK if selected else LIST_BACK) + (255,))
    d = ImageDraw.Draw(big)
    n = ICON * S
    ink = DARK + (255,)
    c = colour + (255,)
    if kind == "page":
        d.polygon([(3 * S, S), (10 * S, S), (13 * S, 4 * S), (13 * S, 15 * S), (3 * S, 15 * S)], fill=c, outline=ink)
        d.polygon([(10 * S, S), (10 * S, 4 * S), (13 * S, 4 * S)], fill=mix(colour, DARK, 0.3) + (255,))
        if mark:
            centred_text(big, (3 * S, 4 * S, 13 * S, 15 * S), mark, 8 * S, ink, bold=False)
    elif kind == "drum":
        d.rectangle((3 * S, 4 * S, 13 * S, 13 * S), fill=c, outline=ink)
        d.ellipse((3 * S, 2 * S, 13 * S, 6 * S), fill=mix(colour, (255, 255, 255), 0.4) + (255,), outline=ink)
        d.arc((3 * S, 11 * S, 13 * S, 15 * S), 0, 180, fill=ink, width=S)
    elif kind == "book":
        d.rectangle((3 * S, 2 * S, 13 * S, 14 * S), fill=c, outline=ink)
        d.rectangle((5 * S, 4 * S, 11 * S, 6 * S), fill=BRASS_L + (255,))
    elif kind in ("folder", "openfolder"):
        d.polygon([(S, 4 * S), (6 * S, 4 * S), (7 * S, 5 * S), (15 * S, 5 * S), (15 * S, 14 * S), (S, 14 * S)],
                  fill=mix(colour, DARK, 0.25) + (255,), outline=ink)
        if kind == "openfolder":
            d.polygon([(3 * S, 8 * S), (16 * S - 1, 8 * S), (14 * S, 14 * S), (S, 14 * S)], fill=c, outline=ink)
        else:
            d.rectangle((S, 7 * S, 15 * S, 14 * S), fill=c, outline=ink)
    elif kind == "screen":
        d.rectangle((2 * S, 2 * S, 14 * S, 11 * S), fill=STONE_D + (255,), outline=ink)
        d.rectangle((3 * S, 3 * S, 13 * S, 10 * S), fill=c)
        d.rectangle((6 * S, 12 * S, 10 * S, 14 * S), fill=STONE + (255,), outline=ink)
    elif kind == "globe":
        d.ellipse((2 * S, 2 * S, 14 * S, 14 * S), fill=c, outline=ink)
        d.ellipse((5 * S, 2 * S, 11 * S, 14 * S), outline=(176, 206, 236, 255), width=S // 2 + 1)
        d.line((2 * S, 8 * S, 14 * S, 8 * S), fill=(176, 206, 236, 255), width=S // 2 + 1)
    elif kind == "drive":
        d.rounded_rectangle((S, 5 * S, 15 * S, 12 * S), radius=S, fill=c, outline=ink)
        d.rectangle((11 * S, 8 * S, 13 * S, 9 * S), fill=(90, 200, 90, 255))
    return finish(big)


def _face(kind, state):
    big = tile(24, 22, STONE if state == 2 else BRASS, pressed=state == 1, radius=4, back=LIGHT)
    ink = STONE_D if state == 2 else INK
    off = S if state == 1 else 0
    d = ImageDraw.Draw(big)
    d.polygon([(5 * S + off, 9 * S + off), (10 * S + off, 9 * S + off), (11 * S + off, 10 * S + off),
               (19 * S + off, 10 * S + off), (19 * S + off, 18 * S + off), (5 * S + off, 18 * S + off)],
              fill=mix(BRASS_L, STONE_L, 0.3) + (255,), outline=ink + (255,))
    if kind == "up":
        glyph(big, "up", (6 * S + off, 0 + off, 18 * S + off, 12 * S + off), ink)
    else:
        glyph(big, "plus", (9 * S + off, 9 * S + off, 19 * S + off, 19 * S + off), ink)
    return finish(big).convert("RGB")


def shortcut_tile():
    """Felt with a faint weave; uniform enough that cards sit on it anywhere."""
    img = Image.new("RGB", (32, 32), FELT)
    d = ImageDraw.Draw(img)
    for k in range(0, 32, 4):
        d.line((k, 0, k, 31), fill=mix(FELT, (0, 0, 0), 0.08))
        d.line((0, k + 2, 31, k + 2), fill=mix(FELT, (255, 255, 255), 0.06))
    return img


def build(outdir):
    bdir = os.path.join(outdir, "bitmaps")
    os.makedirs(bdir, exist_ok=True)
    manifest = Manifest()
    done = []

    def put(name, role, image, recipe, dither=False, transparent=False):
        path = os.path.join(bdir, name + ".bmp")
        quantize.save(path, image, transparent=transparent, dither=dither)
        manifest.add(name, role, image.size, recipe)
        done.append((name, path))

    for size, (w, h) in LOBBY_SIZES.items():
        put("LOBBY_BACKGROUND_" + size, "login screen background", pictures.lobby(w, h), "panelled room", True)
    put("NAVBAR", "navigation bar tile", navbar_background(64), "wood strip, uniform down its length")
    put("SHORTCUT_TILE", "shortcut window tile", shortcut_tile(), "felt weave")
    for normal, selected, kind, colour, mark in ICONS:
        put(normal, "file icon", _icon(kind, colour, mark, False), kind)
        put(selected, "file icon, selected", _icon(kind, colour, mark, True), kind)
    for name, colour in DRIVES:
        put(name, "drive icon", _icon("drive", colour, "", False), "drive")
    for name, kind, state in FACES:
        put(name, "file dialog button face", _face(kind, state), "folder + sign")
    art = gamesetup_art.pictures() + bookeditor_art.pictures() + searchboard_art.pictures() + tiles_art.pictures()
    for name, role, image, recipe, transparent in art:
        put(name, role, image, recipe, transparent=transparent)
    for name, role, image, recipe, transparent in training_art.pictures():
        put(name, role, image, recipe, transparent=transparent)
    with open(os.path.join(outdir, "rw256.rc"), "w", newline="\n") as f:
        for name, path in done:
            f.write('%s BITMAP "%s"\n' % (name, path.replace("\\", "/")))
    manifest.write(os.path.join(outdir, "rw256.manifest"))
