#!/usr/bin/env python3
"""Makes Rookwell's movies at build time.

    movies.py test  OUT.avi   the 2-second 160 x 120 clip of the player's tests
    movies.py intro OUT       the intro movie (about 8 s, 640 x 480)
    movies.py kids  OUT       the kids room's greeting (about 6 s, 320 x 240)

A third argument names the font file of RookwellOnyx, the face the titles
are set in (without it, DejaVu Sans, which RookwellOnyx is made from).

Every clip is an AVI (MS Video 1 video, 16-bit PCM sound at 22,050 Hz mono)
whatever the name it is written under. Frames are drawn by this folder's
scripts (Pillow), the music by sox, and ffmpeg joins them; nothing reads the
clock or an unseeded random source, so rebuilds give identical files.
"""

import os
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import encode  # noqa: E402
import scenes  # noqa: E402
import sound  # noqa: E402


def make(path, size, fps, seconds, draw, notes):
    n = int(round(fps * seconds))
    with tempfile.TemporaryDirectory() as tmp:
        wav = os.path.join(tmp, "sound.wav")
        sound.sting(wav, n / fps, notes)
        encode.encode(path, size, fps, (draw(i, n) for i in range(n)), wav)


def main(argv):
    if len(argv) not in (3, 4) or argv[1] not in scenes.CLIPS:
        sys.stderr.write(__doc__)
        return 2
    if len(argv) == 4:
        scenes.set_title_font(argv[3])
    clip = scenes.CLIPS[argv[1]]
    make(argv[2], clip["size"], clip["fps"], clip["seconds"], clip["draw"], clip["notes"])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
