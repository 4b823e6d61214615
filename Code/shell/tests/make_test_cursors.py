#!/usr/bin/env python3
"""Writes the cursor set tests' cursors: piece.cur, a 32 x 32 cursor of
32-bit pixels (a filled red disc, opaque, on a transparent ground), and
spin.ani, an animated cursor of two such frames in other colours.
    make_test_cursors.py OUTPUT_DIR
"""
import struct
import sys

SIZE = 32


def cursor_file(colour, hot=(16, 16)):
    """A .cur file of one 32 x 32 image; colour is (r, g, b)."""
    r, g, b = colour
    pixels = bytearray()
    mask = bytearray()
    for y in range(SIZE - 1, -1, -1):  # bottom-up rows
        bits = 0
        for x in range(SIZE):
            inside = (x - 15.5) ** 2 + (y - 15.5) ** 2 <= 12 ** 2
            pixels += bytes((b, g, r, 255)) if inside else bytes(4)
            bits = (bits << 1) | (0 if inside else 1)  # AND mask: 1 keeps the screen
        mask += struct.pack(">I", bits)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    image = header + bytes(pixels) + bytes(mask)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, hot[0], hot[1], len(image), 6 + 16)
    return directory + entry + image


def chunk(tag, data):
    pad = b"\0" if len(data) % 2 else b""
    return tag + struct.pack("<I", len(data)) + data + pad


def animated_file(frames, rate=10):
    """A RIFF "ACON" animated cursor of the given .cur files."""
    anih = struct.pack("<9I", 36, len(frames), len(frames), 0, 0, 0, 0, rate, 1)  # 1: frames are icons
    fram = b"fram" + b"".join(chunk(b"icon", f) for f in frames)
    body = b"ACON" + chunk(b"anih", anih) + chunk(b"LIST", fram)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def main():
    out = sys.argv[1]
    with open(f"{out}/piece.cur", "wb") as f:
        f.write(cursor_file((200, 30, 30), hot=(16, 30)))
    with open(f"{out}/spin.ani", "wb") as f:
        f.write(animated_file([cursor_file((30, 160, 30)), cursor_file((30, 30, 200))]))


if __name__ == "__main__":
    main()
