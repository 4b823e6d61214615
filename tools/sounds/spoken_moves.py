"""The spoken-moves pack "moves": one voice piece per voice name.

The English commentary table names its voice pieces in "{W:name}" groups
(data/engmess.txt of the commentary): the words that follow a group up to the
next group or "%" are what the piece says. Values said aloud ("%w": squares,
files and ranks) have pieces named by the value itself. Every piece is spoken
by espeak-ng, trimmed of its leading and trailing silence with sox, given a
short pause and stored as raw 16-bit mono samples at 22,050 Hz ("<name>.raw",
stored items of tag "0000").

Interface: voice_texts(table) maps each voice name to its words;
make_all(table, folder) writes the pieces and "moves.list" for mkpack.

Run as a script: spoken_moves.py ENGMESS_TXT FOLDER.
"""

import concurrent.futures
import os
import re
import subprocess
import sys
import tempfile

RATE = 22050
FILE_WORDS = dict(zip("abcdefgh", ["ay", "bee", "see", "dee", "ee", "eff", "gee", "aitch"]))
RANK_WORDS = dict(zip("12345678", ["one", "two", "three", "four", "five", "six", "seven", "eight"]))

_ENTRY = re.compile(r'^(\d+) (\d+) (\d+) "(.*)"$')
_VOICE = re.compile(r"\{[Ww]:([^}]*)\}([^{%]*)")


def voice_texts(table):
    """Voice name -> words, from the table's entries and the spoken values."""
    texts = {}
    with open(table, encoding="latin-1") as f:
        for line in f:
            m = _ENTRY.match(line.strip())
            if not m:
                continue
            for name, words in _VOICE.findall(m.group(4)):
                words = words.strip(" .,:;")
                if not name or not words:
                    raise SystemExit("voice group without words: " + line.strip())
                if texts.get(name, words) != words:
                    raise SystemExit("voice name %s says two things: %r and %r" % (name, texts[name], words))
                texts[name] = words
    for f, fw in FILE_WORDS.items():
        texts[f] = fw
        for r, rw in RANK_WORDS.items():
            texts[f + r] = fw + " " + rw
    for r, rw in RANK_WORDS.items():
        texts[r] = rw
    return texts


def _speak(name, words, folder, tmp):
    wav = os.path.join(tmp, name + ".wav")
    subprocess.run(["espeak-ng", "-v", "en-us", "-s", "155", "-w", wav, words], check=True)
    raw = os.path.join(folder, name + ".raw")
    # Trim the silence espeak puts around the words, then leave 60 ms so
    # that pieces said one after another keep a natural gap.
    subprocess.run(["sox", "-R", "-D", "-V1", wav, "-r", str(RATE), "-c", "1", "-b", "16", "-e", "signed-integer",
                    "-t", "raw", raw, "silence", "1", "0.01", "0.5%", "reverse", "silence", "1", "0.01", "0.5%",
                    "reverse", "pad", "0", "0.06"], check=True)
    if os.path.getsize(raw) < RATE // 10:
        raise SystemExit("voice piece %s came out empty" % name)
    return name


def make_all(table, folder):
    os.makedirs(folder, exist_ok=True)
    texts = voice_texts(table)
    with tempfile.TemporaryDirectory() as tmp, concurrent.futures.ThreadPoolExecutor(4) as pool:
        names = list(pool.map(lambda item: _speak(item[0], item[1], folder, tmp), sorted(texts.items())))
    with open(os.path.join(folder, "moves.list"), "w") as f:
        f.write("# The spoken-moves pack: one espeak-ng voice piece per voice name.\n")
        for name in names:
            f.write("%s=%s.raw\n" % (os.path.join(folder, name + ".raw"), name))
    return names


if __name__ == "__main__":
    if len(sys.argv) != 3:
        raise SystemExit("usage: spoken_moves.py ENGMESS_TXT FOLDER")
    print("%d voice pieces" % len(make_all(sys.argv[1], sys.argv[2])))
