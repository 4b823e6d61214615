"""The program's event sounds, synthesised with sox.

Interface: RECIPES maps each file of the program folder ("wmove.wav" ...
"close.wav") to a function that writes it; make(path, name) writes one,
make_all(folder) all fifteen. Every file is 22,050 Hz, 16-bit, mono, with the
plain 44-byte WAVE header, 0.1 to 1.2 seconds long and peaking at -3 dBFS.
sox runs in repeatable mode without dither, so a build makes the same bytes.
The board view's sound sets take their sounds from the same recipes.

Run as a script: event_sounds.py FOLDER.
"""

import os
import struct
import subprocess
import sys
import tempfile

RATE = 22050
PEAK_DB = -3


def _sox(args):
    subprocess.run(["sox", "-R", "-D", "-V1"] + args, check=True)


def _out(path):
    return ["-r", str(RATE), "-c", "1", "-b", "16", "-e", "signed-integer", path]


class _Score:
    """Parts made one by one, then mixed (each placed at its start)."""

    def __init__(self, tmp):
        self.tmp = tmp
        self.parts = []

    def part(self, start, effects):
        path = os.path.join(self.tmp, "p%02d.wav" % len(self.parts))
        _sox(["-n"] + _out(path) + effects + ["pad", "%.3f" % start])
        self.parts.append(path)

    def tone(self, start, length, freq, vol=1.0, overtone=2.0, mix=0.25):
        """A struck tone with an overtone, dying away."""
        self.part(start, ["synth", "%.3f" % length, "sine", "%.2f" % freq, "sine", "%.2f" % (freq * overtone),
                          "remix", "1v%.2f,2v%.2f" % (1 - mix, mix),
                          "fade", "q", "0.004", "%.3f" % length, "%.3f" % (length * 0.95),
                          "vol", "%.3f" % vol])

    def click(self, start, pitch, vol=1.0):
        """A wooden click: a short pluck over a thud of filtered noise."""
        self.part(start, ["synth", "0.09", "pluck", "%.1f" % pitch, "synth", "0.09", "brownnoise", "mix",
                          "highpass", "300", "lowpass", "3200", "fade", "q", "0.001", "0.09", "0.08", "vol", "%.3f" % vol])

    def write(self, path, seconds):
        mixed = os.path.join(self.tmp, "mix.wav")
        silence = os.path.join(self.tmp, "silence.wav")
        _sox(["-n"] + _out(silence) + ["trim", "0", "%.3f" % seconds])
        # sox scales each input of a mix by 1/n, so overlaps cannot clip.
        _sox(["-m", silence] + self.parts + _out(mixed) + ["trim", "0", "%.3f" % seconds])
        raw = os.path.join(self.tmp, "final.raw")
        _sox([mixed, "-t", "raw"] + _out(raw)[:-1] + [raw, "gain", "-n", str(PEAK_DB)])
        with open(raw, "rb") as f:
            data = f.read()
        # The plain header, written here so no extra chunk can slip in.
        header = struct.pack("<4sI4s4sIHHIIHH4sI", b"RIFF", 36 + len(data), b"WAVE", b"fmt ", 16, 1, 1, RATE,
                             RATE * 2, 2, 16, b"data", len(data))
        with open(path, "wb") as f:
            f.write(header + data)


def _move(pitch):
    def recipe(s):
        s.click(0, pitch)
        return 0.12
    return recipe


def _capture(s):
    # A knock: a low thump and a harder click on top.
    s.part(0, ["synth", "0.22", "sine", "150-70", "fade", "q", "0.002", "0.22", "0.2"])
    s.click(0.005, 520, 0.8)
    return 0.25


def _check(s):
    s.tone(0, 0.35, 1318.5, 0.9)
    s.tone(0.18, 0.45, 1046.5, 0.9)
    return 0.65


def _mate(s):
    for i, f in enumerate((523.25, 659.25, 783.99)):
        s.tone(i * 0.2, 0.7 if i == 2 else 0.35, f, 0.8)
    return 1.1


def _castle(s):
    s.click(0, 900)
    s.click(0.11, 760)
    return 0.22


def _promotion(s):
    s.part(0, ["synth", "0.55", "sine", "500-1800", "sine", "1000-3600", "remix", "1v0.8,2v0.2",
               "fade", "q", "0.02", "0.55", "0.12"])
    return 0.55


def _draw(s):
    for f in (261.63, 329.63, 392.0):
        s.part(0, ["synth", "1.0", "sine", "%.2f" % f, "fade", "h", "0.08", "1.0", "0.6", "vol", "0.6"])
    return 1.0


def _bell(s):
    s.tone(0, 1.2, 880.0, 1.0, overtone=2.76, mix=0.35)
    return 1.2


def _illegal(s):
    s.part(0, ["synth", "0.35", "square", "98", "lowpass", "700", "fade", "q", "0.01", "0.35", "0.08"])
    return 0.35


def _chime(notes, length):
    def recipe(s):
        for i, f in enumerate(notes):
            s.tone(i * 0.12, length, f, 0.8)
        return 0.12 * (len(notes) - 1) + length
    return recipe


def _close(s):
    s.part(0, ["synth", "0.45", "pinknoise", "band", "-n", "1400", "1200",
               "fade", "h", "0.18", "0.45", "0.25"])
    return 0.45


RECIPES = {
    "wmove.wav": _move(1046.5),
    "bmove.wav": _move(830.6),
    "check.wav": _check,
    "mate.wav": _mate,
    "capture.wav": _capture,
    "castle.wav": _castle,
    "promo.wav": _promotion,
    "draw.wav": _draw,
    "bell.wav": _bell,
    "illegal.wav": _illegal,
    "chattell.wav": _chime((1567.98, 2093.0), 0.25),
    "announce.wav": _chime((1046.5, 1318.5, 1568.0), 0.3),
    "gamechal.wav": _chime((784.0, 1174.66), 0.35),
    "buddy.wav": _chime((1318.5, 1760.0), 0.3),
    "close.wav": _close,
}


def make(path, name):
    with tempfile.TemporaryDirectory() as tmp:
        score = _Score(tmp)
        seconds = RECIPES[name](score)
        score.write(path, seconds)


def make_all(folder):
    os.makedirs(folder, exist_ok=True)
    for name in RECIPES:
        make(os.path.join(folder, name), name)


if __name__ == "__main__":
    make_all(sys.argv[1])
