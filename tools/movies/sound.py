"""Sound tracks for the movies, made with sox's synthesiser.

Interface: sting(path, seconds, notes) writes a mono 16-bit WAVE at
22,050 Hz lasting exactly `seconds`: `notes` is a list of (start, length,
frequency, volume) played as soft bell-like tones (a sine with its octave,
plucked envelope), mixed and faded out at the end. sox runs in repeatable
mode without dither, so the same notes give the same bytes.
"""

import os
import subprocess
import tempfile

RATE = 22050


def _sox(args):
    subprocess.run(["sox", "-R", "-D", "-V1"] + args, check=True)


def sting(path, seconds, notes):
    with tempfile.TemporaryDirectory() as tmp:
        parts = []
        for i, (start, length, freq, vol) in enumerate(notes):
            part = os.path.join(tmp, "n%02d.wav" % i)
            # A tone and its octave, struck and dying away, placed at its start.
            _sox(["-n", "-r", str(RATE), "-c", "1", "-b", "16", part,
                  "synth", "%.3f" % length, "sine", "%.2f" % freq, "sine", "%.2f" % (freq * 2),
                  "remix", "1v0.75,2v0.25",
                  "fade", "q", "0.01", "%.3f" % length, "%.3f" % (length * 0.9),
                  "vol", "%.3f" % vol,
                  "pad", "%.3f" % start])
            parts.append(part)
        silence = os.path.join(tmp, "silence.wav")
        _sox(["-n", "-r", str(RATE), "-c", "1", "-b", "16", silence, "trim", "0", "%.3f" % seconds])
        mixed = os.path.join(tmp, "mix.wav")
        if parts:
            _sox(["-m", silence] + parts + [mixed])
        else:
            mixed = silence
        _sox([mixed, "-r", str(RATE), "-c", "1", "-b", "16", path,
              "trim", "0", "%.3f" % seconds, "fade", "t", "0", "%.3f" % seconds, "0.4"])
