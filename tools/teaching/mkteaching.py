#!/usr/bin/env python3
"""The classroom's teaching content, made at build time.

  mkteaching.py SOURCE_DIR OUT_DIR

Reads the curriculum (curriculum.txt) and the narrated lessons
(content/*.lesson) and writes into OUT_DIR:
  CURRICULUM.DAT            the curriculum, as the program reads it;
  Tutorials/<title>.TUT     one tutorial file per lesson;
  voice/<name>.raw          each run of narration spoken by espeak-ng and
                            made 22,050 Hz 16-bit mono raw PCM by sox;
  pictures/*.bmp            8-bit pictures in the program palette: the
                            lessons' pictures, the curriculum's check marks,
                            tab images and tile, the kids panel tile and the
                            two room wallpapers;
  tutorial.list             the items of the "tutorial" pack (mkpack -l);
  phrases.txt               name and text of every spoken piece.

A lesson is a title line and pages; a page starts with a line "page"
(optionally followed by its "@label") and its lines are joined with blanks.
Narration is plain text; codes stand in angle brackets where they must
happen (they become brace groups). Before each run of narration the tool
puts the voice group of the piece that speaks it.
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "progdata"))

from PIL import Image, ImageDraw, ImageFilter, ImageFont  # noqa: E402

import quantize  # noqa: E402

FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
SERIF = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf"
# The chess symbols are in DejaVu Sans only.
SYMBOLS = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"


def read_lesson(path):
    title, pages, cur = None, [], None
    for raw in open(path, encoding="utf-8"):
        line = raw.rstrip("\n")
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        if line.startswith("title "):
            title = line[6:].strip()
        elif line == "page" or line.startswith("page "):
            cur = {"label": line[5:].strip(), "lines": []}
            pages.append(cur)
        else:
            cur["lines"].append(line.strip())
    if not title or not pages:
        raise SystemExit(f"{path}: a lesson needs a title and pages")
    return title, pages


def split_runs(text):
    """Narration runs and codes of a page in order: ('say', text) / ('code', text)."""
    out, i, depth, start = [], 0, 0, 0
    buf = ""
    while i < len(text):
        c = text[i]
        if c == "<":
            if buf.strip():
                out.append(("say", buf.strip()))
            buf = ""
            depth, j = 1, i + 1
            while j < len(text) and depth:
                depth += {"<": 1, ">": -1}.get(text[j], 0)
                j += 1
            out.append(("code", text[i + 1:j - 1]))
            i = j
            continue
        buf += c
        i += 1
    if buf.strip():
        out.append(("say", buf.strip()))
    return out


def lesson_to_tut(stem, title, pages, phrases):
    prefix = "".join(w[0] for w in re.findall(r"[a-z]+", stem))[:4]
    n = 0
    parts = []
    for page in pages:
        text = " ".join(page["lines"])
        body = ""
        for kind, s in split_runs(text):
            if kind == "say":
                n += 1
                name = f"{prefix}{n:03d}"
                phrases.append((name, s))
                body += "{W:%s}%s " % (name, s)
            else:
                body += "{%s}" % s
        if page["label"]:
            parts.append(page["label"] + "\n")
        parts.append("[" + body.strip() + "]\n")
    return "".join(parts)


def speak(phrases, outdir):
    os.makedirs(outdir, exist_ok=True)
    with tempfile.TemporaryDirectory() as tmp:
        for name, text in phrases:
            wav = os.path.join(tmp, name + ".wav")
            subprocess.run(["espeak-ng", "-v", "en-us", "-s", "150", "-w", wav, text], check=True)
            subprocess.run(["sox", wav, "-r", "22050", "-c", "1", "-b", "16", "-e", "signed-integer", "-t", "raw",
                            os.path.join(outdir, name + ".raw")], check=True)


# ---- pictures -------------------------------------------------------------

def font(size, serif=False):
    return ImageFont.truetype(SERIF if serif else FONT, size)


def vgrad(w, h, top, bottom):
    img = Image.new("RGB", (w, h))
    d = ImageDraw.Draw(img)
    for y in range(h):
        t = y / max(1, h - 1)
        d.line((0, y, w, y), fill=tuple(int(a + (b - a) * t) for a, b in zip(top, bottom)))
    return img


def save(path, img):
    quantize.save(path, img.convert("RGB"), dither=True)


def check_marks(outdir):
    for name, checked in (("CURRICULUM_CHECK", True), ("CURRICULUM_BLANK", False)):
        s = 8
        big = Image.new("RGB", (11 * s, 11 * s), (255, 255, 255))
        d = ImageDraw.Draw(big)
        d.rounded_rectangle((s, s, 10 * s - 1, 10 * s - 1), radius=2 * s, fill=(250, 248, 240),
                            outline=(96, 90, 80), width=s)
        if checked:
            d.line(((2.6 * s, 5.6 * s), (4.6 * s, 7.8 * s), (8.6 * s, 2.8 * s)), fill=(24, 130, 48), width=int(1.8 * s))
        save(os.path.join(outdir, name + ".bmp"), big.resize((11, 11), Image.LANCZOS))


def tab_images(outdir):
    tabs = (("CURRICULUM_BEGINNING", "Beginning", (96, 150, 96)), ("CURRICULUM_INTERMEDIATE", "Intermediate", (80, 120, 176)),
            ("CURRICULUM_ADVANCED", "Advanced", (168, 72, 60)), ("CURRICULUM_TARN", "Coach", (150, 112, 48)))
    for name, text, colour in tabs:
        s = 4
        w, h = 100 * s, 26 * s
        light = tuple(min(255, c + 70) for c in colour)
        img = vgrad(w, h, light, colour)
        d = ImageDraw.Draw(img)
        d.rounded_rectangle((s, s, w - s - 1, h - s - 1), radius=5 * s, outline=(40, 34, 28), width=s)
        f = font(13 * s)
        l, t, r, b = d.textbbox((0, 0), text, font=f)
        x, y = (w - (r - l)) // 2 - l, (h - (b - t)) // 2 - t
        d.text((x + s, y + s), text, font=f, fill=(20, 16, 12))
        d.text((x, y), text, font=f, fill=(255, 252, 238))
        save(os.path.join(outdir, name + ".bmp"), img.resize((100, 26), Image.LANCZOS))


def paper_tile(w, h, base, seed, weave=0):
    import math
    import random
    rnd = random.Random(seed)
    img = Image.new("RGB", (w, h), base)
    px = img.load()
    for y in range(h):
        for x in range(w):
            v = rnd.randint(-14, 14)
            if weave:
                # A soft diamond weave that repeats seamlessly within the tile.
                v += int(weave * math.cos(2 * math.pi * (x + y) / w) * math.cos(2 * math.pi * (x - y) / h))
            px[x, y] = tuple(max(0, min(255, c + v)) for c in base)
    return img.filter(ImageFilter.GaussianBlur(1.0))


def wallpaper(path, base, accent, symbols, seed):
    w, h = 256, 256
    img = paper_tile(w, h, base, seed).convert("RGBA")
    layer = Image.new("RGBA", (w * 2, h * 2), (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    f = ImageFont.truetype(SYMBOLS, 120)
    for i, sym in enumerate(symbols):
        x, y = (i % 2) * w + 60, (i // 2) * h + 50
        d.text((x, y), sym, font=f, fill=accent + (60,))
    img.alpha_composite(layer.resize((w, h), Image.LANCZOS))
    save(path, img)


def picture(path, symbol, colour, caption):
    s = 4
    w, h = 160 * s, 120 * s
    img = vgrad(w, h, (255, 250, 226), (250, 214, 150))
    d = ImageDraw.Draw(img)
    d.rounded_rectangle((2 * s, 2 * s, w - 2 * s, h - 2 * s), radius=14 * s, outline=(120, 80, 30), width=3 * s)
    f = ImageFont.truetype(SYMBOLS, 70 * s)
    l, t, r, b = d.textbbox((0, 0), symbol, font=f)
    x = (w - (r - l)) // 2 - l
    d.text((x + 3 * s, 8 * s + 3 * s), symbol, font=f, fill=(90, 60, 20))
    d.text((x, 8 * s), symbol, font=f, fill=colour)
    f2 = font(16 * s)
    l, t, r, b = d.textbbox((0, 0), caption, font=f2)
    d.text(((w - (r - l)) // 2 - l, h - 30 * s), caption, font=f2, fill=(70, 40, 10))
    save(path, img.resize((160, 120), Image.LANCZOS))


def pictures(outdir):
    os.makedirs(outdir, exist_ok=True)
    check_marks(outdir)
    tab_images(outdir)
    save(os.path.join(outdir, "CURRICULUM_TILE.bmp"), paper_tile(64, 64, (214, 196, 160), 11, weave=14))
    save(os.path.join(outdir, "KIDS_TILE.bmp"), paper_tile(64, 64, (250, 206, 120), 12, weave=18))
    wallpaper(os.path.join(outdir, "ClassroomBackground.bmp"), (74, 96, 80), (230, 240, 220),
              "\u2657\u2658\u265c\u2655", 21)
    wallpaper(os.path.join(outdir, "KidsBackground.bmp"), (120, 170, 214), (255, 236, 120),
              "\u2654\u265e\u2659\u265b", 22)
    picture(os.path.join(outdir, "kids_castle.bmp"), "\u265c", (150, 40, 40), "Two armies")
    picture(os.path.join(outdir, "kids_crown.bmp"), "\u265a", (200, 150, 20), "The king")
    picture(os.path.join(outdir, "kids_horse.bmp"), "\u265e", (60, 100, 160), "The knight")


LESSON_PICTURES = ("kids_castle.bmp", "kids_crown.bmp", "kids_horse.bmp")


def main(argv):
    if len(argv) != 3:
        raise SystemExit(__doc__)
    src, out = argv[1], argv[2]
    tut_dir = os.path.join(out, "Tutorials")
    os.makedirs(tut_dir, exist_ok=True)
    shutil.copyfile(os.path.join(src, "curriculum.txt"), os.path.join(out, "CURRICULUM.DAT"))
    phrases = []
    for name in sorted(os.listdir(os.path.join(src, "content"))):
        if not name.endswith(".lesson"):
            continue
        title, pages = read_lesson(os.path.join(src, "content", name))
        tut = lesson_to_tut(name[:-7], title, pages, phrases)
        with open(os.path.join(tut_dir, title + ".TUT"), "w", encoding="ascii", newline="\r\n") as f:
            f.write(tut)
    with open(os.path.join(out, "phrases.txt"), "w") as f:
        for n, t in phrases:
            f.write(f"{n}\t{t}\n")
    speak(phrases, os.path.join(out, "voice"))
    pictures(os.path.join(out, "pictures"))
    with open(os.path.join(out, "tutorial.list"), "w") as f:
        for n, _ in phrases:
            f.write(f"{os.path.join(out, 'voice', n + '.raw')}={n}.raw\n")
        for p in LESSON_PICTURES:
            f.write(f"{os.path.join(out, 'pictures', p)}={p}\n")
        # The curriculum's pictures, for a resource library that lacks them.
        for p in ("CURRICULUM_CHECK", "CURRICULUM_BLANK", "CURRICULUM_BEGINNING", "CURRICULUM_INTERMEDIATE",
                  "CURRICULUM_ADVANCED", "CURRICULUM_TARN", "CURRICULUM_TILE", "KIDS_TILE"):
            f.write(f"{os.path.join(out, 'pictures', p + '.bmp')}={p}.bmp\n")
    # "buzz.raw": the short tone a missing voice piece plays.
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
