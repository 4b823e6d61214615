"""Checks the event sounds as the program will play them: every file of the
table present, a plain 44-byte header for 22,050 Hz 16-bit mono, 0.1 to 1.2
seconds long, peaking at most at -1 dBFS and not silent.

Usage: check.py FOLDER
"""

import math
import os
import struct
import sys

from event_sounds import RECIPES


def check(path):
    with open(path, "rb") as f:
        data = f.read()
    riff, riff_size, wave, fmt, fmt_size, tag, channels, rate, per_sec, align, bits, chunk, size = struct.unpack(
        "<4sI4s4sIHHIIHH4sI", data[:44])
    problems = []
    if (riff, wave, fmt, chunk) != (b"RIFF", b"WAVE", b"fmt ", b"data") or fmt_size != 16:
        problems.append("not a plain 44-byte header")
    if (tag, channels, rate, per_sec, align, bits) != (1, 1, 22050, 44100, 2, 16):
        problems.append("format %r" % ((tag, channels, rate, bits),))
    if size != len(data) - 44 or riff_size != 36 + size:
        problems.append("sizes %d/%d for %d bytes" % (riff_size, size, len(data)))
    samples = struct.unpack("<%dh" % (size // 2), data[44:44 + size // 2 * 2])
    seconds = len(samples) / 22050
    peak = max(abs(s) for s in samples) if samples else 0
    peak_db = 20 * math.log10(peak / 32768) if peak else -math.inf
    if not 0.1 <= seconds <= 1.2:
        problems.append("%.3f s long" % seconds)
    if peak_db > -1 or peak_db < -12:
        problems.append("peak %.1f dBFS" % peak_db)
    print("%-14s %.3f s  peak %.1f dBFS" % (os.path.basename(path), seconds, peak_db))
    return problems


def main(folder):
    failed = False
    for name in RECIPES:
        path = os.path.join(folder, name)
        if not os.path.exists(path):
            print("%s: missing" % name)
            failed = True
            continue
        for p in check(path):
            print("%s: %s" % (name, p))
            failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
