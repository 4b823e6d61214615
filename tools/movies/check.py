#!/usr/bin/env python3
"""Checks a made clip: an AVI with MS Video 1 pictures of the expected size,
frame rate and length and 16-bit PCM sound at 22,050 Hz mono.

    check.py CLIP WIDTH HEIGHT SECONDS

Reads the RIFF headers itself (no outside prober). Exit 0 when the clip is
as expected; otherwise says what differs.
"""

import struct
import sys


def chunks(data, start, end):
    """(fourcc, list type or None, payload start, payload end) of each chunk."""
    pos = start
    while pos + 8 <= end:
        fcc, size = struct.unpack_from("<4sI", data, pos)
        body = pos + 8
        if fcc in (b"RIFF", b"LIST"):
            yield fcc, data[body:body + 4], body + 4, body + size
        else:
            yield fcc, None, body, body + size
        pos = body + size + (size & 1)


def streams(data):
    """(strh, strf) payloads of each stream of the hdrl list."""
    out = []
    for fcc, kind, s, e in chunks(data, 12, len(data)):
        if kind != b"hdrl":
            continue
        for fcc2, kind2, s2, e2 in chunks(data, s, e):
            if kind2 == b"strl":
                parts = {f: data[a:b] for f, _, a, b in chunks(data, s2, e2)}
                out.append((parts.get(b"strh", b""), parts.get(b"strf", b"")))
    return out


def check(path, width, height, seconds):
    data = open(path, "rb").read()
    problems = []
    if data[:4] != b"RIFF" or data[8:12] != b"AVI ":
        return ["not an AVI file"]
    video = audio = None
    for strh, strf in streams(data):
        if strh[:4] == b"vids":
            video = (strh, strf)
        elif strh[:4] == b"auds":
            audio = (strh, strf)
    if not video:
        problems.append("no video stream")
    else:
        strh, strf = video
        scale, rate, _, length = struct.unpack_from("<IIII", strh, 20)
        w, h, _, bits, compression = struct.unpack_from("<iiHH4s", strf, 4)
        if compression.upper() not in (b"MSVC", b"CRAM"):
            problems.append("video is %r, not MS Video 1" % compression)
        if (w, abs(h)) != (width, height):
            problems.append("frames are %dx%d, not %dx%d" % (w, abs(h), width, height))
        fps = rate / scale if scale else 0
        if not 12 <= fps <= 15:
            problems.append("%.2f frames a second" % fps)
        elif abs(length / fps - seconds) > 0.25:
            problems.append("lasts %.2f s, not %.2f s" % (length / fps, seconds))
    if not audio:
        problems.append("no sound stream")
    else:
        tag, channels, samples_per_s, _, _, bits = struct.unpack_from("<HHIIHH", audio[1], 0)
        if (tag, channels, samples_per_s, bits) != (1, 1, 22050, 16):
            problems.append("sound is tag %d, %d channels, %d Hz, %d bits" % (tag, channels, samples_per_s, bits))
    return problems


def main(argv):
    if len(argv) != 5:
        sys.stderr.write(__doc__)
        return 2
    problems = check(argv[1], int(argv[2]), int(argv[3]), float(argv[4]))
    for p in problems:
        print("%s: %s" % (argv[1], p))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
