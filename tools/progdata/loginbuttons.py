"""The login screen's animated buttons, pack "anim".

Interface: build(outdir, lobbydir, label_font) writes the frames, "_off", "_mask" and
"_click" pictures of every button into outdir/frames, the list file
outdir/anim.list for mkpack and outdir/login_buttons.txt, the caption of
each button (dialog, control id, caption with its brace block); BUTTONS,
SCREENS, pattern(screen, name), layout(screen).

The pipeline owns the rectangles: the login dialogs copy their "p:"/"s:"
from login_buttons.txt.

The animated button caches frames under a tag made of a pattern's first
three characters and its last one; patterns all end in "p" (".bmp"), so two
patterns sharing their first three characters would show each other's
frames. Every pattern therefore starts with its screen's letter and then
the button's name, and the names differ in their first two letters: all
27 tags are distinct, within a screen and across screens.
"""

import math
import os

from PIL import Image, ImageDraw, ImageFont

import bmp8
import palette
import pictures
import quantize
from common import S, BRASS, BRASS_D, BRASS_L, DARK, INK, STONE, Manifest, canvas, centred_text, finish, font, mix
from widgets import ROOM_SYMBOLS

# caption, name in patterns, room symbol (None: a one-frame button), ids per dialog 112/111/144.
BUTTONS = [
    ("Game", "game", "game", (21475, 21510, 21810)),
    ("Kids", "kids", "kids", (21485, 21520, 21820)),
    ("Classroom", "classroom", "classroom", (21470, 21515, 21815)),
    ("Library", "library", "library", (21490, 21535, 21835)),
    ("Database", "database", "database", (21495, 21530, 21830)),
    ("Tournament", "tournament", "tournament", (21480, 21525, 21825)),
    ("Online", "online", "online", (21500, 21545, 21845)),
    ("Register", "register", None, (21630, 21640, 21840)),
    ("Exit", "exit", None, (21635, 21645, 21850)),
]
# screen: dialog, letter, size
SCREENS = {"LARGE": (112, "l", (1024, 768)), "SMALL": (111, "m", (800, 600)), "TINY": (144, "t", (640, 480))}
FRAMES, RATE = 30, 15
# The labels are set in the program's own face, rwonyx.ttf of this build
# (build() is given its path). Its em is the whole line, so a size in pixels
# gives smaller letters than the source face's: sizes are scaled by the
# ratio of their capitals' heights (set by build()).
LABEL_FONT = None
LINE_PER_EM = 1.0


def pattern(screen, name):
    return "%s%s%%02d.bmp" % (SCREENS[screen][1], name)


def tag(pat):
    return pat[:3] + pat[-1]


def layout(screen):
    """Rectangles (x, y, w, h) by button name, scaled from the 800 x 600 design."""
    _, _, (w, h) = SCREENS[screen]
    k = w / 800.0
    bw, bh = round(140 * k), round(110 * k)
    rects = {}
    rows = [BUTTONS[:4], BUTTONS[4:7]]
    for r, row in enumerate(rows):
        total = len(row) * bw + (len(row) - 1) * round(36 * k)
        x0 = (w - total) // 2
        for i, b in enumerate(row):
            rects[b[1]] = (x0 + i * (bw + round(36 * k)), round((150 + r * 150) * k), bw, bh)
    sw, sh = round(66 * k), round(78 * k)
    rects["register"] = (round(16 * k), h - sh - round(12 * k), sw, sh)
    rects["exit"] = (w - sw - round(16 * k), h - sh - round(12 * k), sw, sh)
    return rects


def _medallion(w, h, symbol, label, phase, pressed=False):
    """The button picture at one frame of its loop (RGBA, see-through outside)."""
    big = canvas(w, h)
    d = ImageDraw.Draw(big)
    label_h = h * S // 4
    r = min(w * S, h * S - label_h) // 2 - S
    cx, cy = w * S // 2, r + S
    glow = 0.5 + 0.5 * math.sin(phase * 2 * math.pi) if phase is not None else 0.0
    rim = mix(BRASS_D, BRASS_L, 0.3 + 0.5 * glow)
    d.ellipse((cx - r, cy - r, cx + r, cy + r), fill=DARK + (255,))
    d.ellipse((cx - r + S, cy - r + S, cx + r - S, cy + r - S), fill=rim + (255,))
    inner = r - max(2 * S, r // 8)
    steps = 24
    for k in range(steps):
        t = k / steps
        # Pressed, the dome is lit from below and a shade darker, so it looks
        # sunk while its symbol keeps its contrast.
        c = mix(mix(BRASS_L, (255, 255, 240), 0.3 * glow), BRASS_D, t) if not pressed else mix(BRASS_D, BRASS, t)
        rr = inner * (1 - t * 0.55)
        off = inner * 0.25 * t * (1 if not pressed else -1)
        d.ellipse((cx - rr - off, cy - rr - off, cx + rr - off, cy + rr - off), fill=c + (255,))
    if phase is not None:
        # A light sweeping once round the rim over the loop.
        a = phase * 2 * math.pi
        sr = r // 7
        sx, sy = cx + math.cos(a) * (r - sr - S), cy + math.sin(a) * (r - sr - S)
        d.ellipse((sx - sr, sy - sr, sx + sr, sy + sr), fill=(255, 250, 220, 255))
    centred_text(big, (cx - inner, cy - inner, cx + inner, cy + inner), symbol, inner * 1.3,
                 INK + (255,), bold=False)
    lt = h * S - label_h
    d.rounded_rectangle((S, lt, w * S - S, h * S - S), radius=label_h // 3, fill=DARK + (255,))
    _label(big, (S + label_h // 8, lt, w * S - S - label_h // 8, h * S - S), label, label_h * 0.62 * LINE_PER_EM,
           (BRASS_L if phase is None or glow < 0.8 else (255, 255, 255)) + (255,))
    return finish(big)


def _label(img, box, text, px, fill):
    """A caption in the program's face, emboldened as the system emboldens a
    face without a bold: outlines widened by a stroke and every advance by
    the stroke's width, so letters keep their gaps. Centred in box; a size
    too wide for the box is reduced until it fits."""
    d = ImageDraw.Draw(img)
    while True:
        f = ImageFont.truetype(LABEL_FONT, max(1, int(px)))
        stroke = max(1, int(px) // 32)
        advances = [f.getlength(c) + 2 * stroke for c in text]
        width = sum(advances)
        t, b = f.getbbox(text, stroke_width=stroke)[1::2]
        if width <= box[2] - box[0] or px <= S:
            break
        px -= 1
    x = (box[0] + box[2] - width) / 2
    y = (box[1] + box[3] - (b - t)) // 2 - t
    for c, advance in zip(text, advances):
        d.text((round(x) + stroke, y), c, font=f, fill=fill, stroke_width=stroke, stroke_fill=fill)
        x += advance


def build(outdir, lobbydir, label_font):
    global LABEL_FONT, LINE_PER_EM
    LABEL_FONT = label_font
    cap = lambda f: f.getbbox("H")[3] - f.getbbox("H")[1]
    LINE_PER_EM = cap(font(1000, bold=False)) / cap(ImageFont.truetype(label_font, 1000))
    fdir = os.path.join(outdir, "frames")
    os.makedirs(fdir, exist_ok=True)
    table = palette.build()
    items, captions = [], []
    manifest = Manifest()
    for screen, (dialog, letter, size) in SCREENS.items():
        back = pictures.lobby(*size)
        rects = layout(screen)
        for caption, name, room, ids in BUTTONS:
            x, y, w, h = rects[name]
            pat = pattern(screen, name)
            stem = pat[:pat.index("%")]
            symbol = ROOM_SYMBOLS[room] if room else ("\u2654" if name == "register" else "\u2192")
            count = FRAMES if room else 1
            base = None
            for n in range(count):
                pic = _medallion(w, h, symbol, caption, n / count if room else None)
                path = os.path.join(fdir, pat % n)
                quantize.save(path, pic, transparent=True)
                items.append((path, pat % n))
                manifest.add(pat % n, "%s button frame %d" % (caption, n), (w, h), "medallion, light at %d/%d" % (n, count))
            path = os.path.join(fdir, stem + "_click.bmp")
            quantize.save(path, _medallion(w, h, symbol, caption, None, pressed=True), transparent=True)
            items.append((path, stem + "_click.bmp"))
            manifest.add(stem + "_click.bmp", caption + " button pressed", (w, h), "medallion, pressed")
            path = os.path.join(fdir, stem + "_off.bmp")
            quantize.save(path, back.crop((x, y, x + w, y + h)), dither=True)
            items.append((path, stem + "_off.bmp"))
            manifest.add(stem + "_off.bmp", caption + " button background", (w, h), "cut from the lobby background")
            alpha = _medallion(w, h, symbol, caption, None).getchannel("A").tobytes()
            # Mask: 0 see-through, a visible dark entry over the opaque part.
            mask = bytes(0 if a < 128 else 10 for a in alpha)
            path = os.path.join(fdir, stem + "_mask.bmp")
            bmp8.write(path, w, h, mask, table)
            items.append((path, stem + "_mask.bmp"))
            manifest.add(stem + "_mask.bmp", caption + " button opaque part", (w, h), "medallion outline")
            index = {"LARGE": 0, "SMALL": 1, "TINY": 2}[screen]
            captions.append("%d\t%d\t%s {p:%d,%d s:%d,%d d:anim n:%s #:%d r:%d}" % (
                dialog, ids[index], caption, x, y, w, h, pat, count, RATE if room else 1))
    manifest.write(os.path.join(outdir, "anim.manifest"))
    with open(os.path.join(outdir, "anim.list"), "w", newline="\n") as f:
        for path, name in items:
            f.write("%s=%s\n" % (path, name))
    with open(os.path.join(outdir, "login_buttons.txt"), "w", newline="\n") as f:
        f.write("# dialog\tcontrol\tcaption\n" + "\n".join(captions) + "\n")
    tags = [tag(pattern(s, b[1])) for s in SCREENS for b in BUTTONS]
    assert len(set(tags)) == len(tags), "two login buttons share a frame-cache tag"


def screens_rc(buttons_txt, out_rc):
    """The login screens' dialogs 112, 111 and 144 from login_buttons.txt: each
    button an AnimButton whose caption block places it. The screen sizes
    itself to its background, so the template's own units do not matter."""
    rows = {}
    with open(buttons_txt) as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            dialog, control, caption = line.rstrip("\n").split("\t")
            rows.setdefault(int(dialog), []).append((int(control), caption))
    lines = ["// Made by tools/progdata/loginbuttons.py from login_buttons.txt: the login screens."]
    for dialog in (112, 111, 144):
        # WS_CHILD | WS_CLIPCHILDREN; the screen is shown once it is placed.
        lines += ["", "%d DIALOGEX 0, 0, 100, 100" % dialog, "STYLE 0x42000000", "BEGIN"]
        for control, caption in rows[dialog]:
            # WS_CHILD | WS_VISIBLE | WS_TABSTOP
            lines.append('  CONTROL "%s", %d, "AnimButton", 0x50010000, 0, 0, 10, 10' % (caption, control))
        lines.append("END")
    with open(out_rc, "w", newline="\n") as f:
        f.write("\n".join(lines) + "\n")
