"""Joins rendered frames and a sound track into an AVI clip.

Interface: encode(path, size, fps, frames, wav) writes the clip; frames is
an iterable of RGB images of `size`. Video is MS Video 1 (16-bit), sound
16-bit PCM at 22,050 Hz mono, the container AVI. ffmpeg runs with its
bit-exact switches and without metadata, so the same frames and sound give
the same bytes on every build.
"""

import subprocess


def encode(path, size, fps, frames, wav):
    w, h = size
    cmd = [
        "ffmpeg", "-nostdin", "-v", "error", "-y",
        "-f", "rawvideo", "-pix_fmt", "rgb24", "-s", "%dx%d" % (w, h), "-r", str(fps), "-i", "pipe:0",
        "-i", wav,
        "-map", "0:v", "-map", "1:a",
        "-c:v", "msvideo1", "-pix_fmt", "rgb555le", "-g", str(fps),
        "-c:a", "pcm_s16le", "-ar", "22050", "-ac", "1",
        "-threads", "1",
        "-fflags", "+bitexact", "-flags:v", "+bitexact", "-flags:a", "+bitexact",
        "-map_metadata", "-1",
        "-f", "avi", path,
    ]
    proc = subprocess.Popen(cmd, stdin=subprocess.PIPE)
    try:
        for img in frames:
            if img.size != (w, h):
                raise ValueError("frame of %dx%d in a %dx%d clip" % (img.size + (w, h)))
            proc.stdin.write(img.convert("RGB").tobytes())
    finally:
        proc.stdin.close()
    if proc.wait() != 0:
        raise SystemExit("ffmpeg failed for " + path)
