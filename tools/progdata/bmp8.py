"""8-bit Windows bitmap files with a full 256-entry colour table.

Interface: write(path, width, height, pixels, table), encode(...) -> bytes,
read(path) -> (width, height, pixels, table).

`pixels` holds width*height palette indices, top row first; the file is
stored bottom-up (positive height) as the bitmap resources expect, rows
padded to 4 bytes. No time stamps or variable fields: the same pixels give
the same bytes.
"""

import struct


def encode(width, height, pixels, table):
    assert len(pixels) == width * height and len(table) == 256
    stride = (width + 3) & ~3
    pad = b"\0" * (stride - width)
    rows = [bytes(pixels[y * width:(y + 1) * width]) + pad for y in range(height - 1, -1, -1)]
    bits = b"".join(rows)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in table)
    offset = 14 + 40 + 1024
    header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(bits), 2835, 2835, 256, 0)
    return header + info + colours + bits


def write(path, width, height, pixels, table):
    with open(path, "wb") as f:
        f.write(encode(width, height, pixels, table))


def read(path):
    with open(path, "rb") as f:
        data = f.read()
    offset, = struct.unpack_from("<I", data, 10)
    size, width, height, _, bpp = struct.unpack_from("<IiiHH", data, 14)
    assert bpp == 8
    table = [(data[14 + size + 4 * i + 2], data[14 + size + 4 * i + 1], data[14 + size + 4 * i]) for i in range(256)]
    stride = (width + 3) & ~3
    rows = [data[offset + y * stride: offset + y * stride + width] for y in range(abs(height))]
    if height > 0:
        rows.reverse()
    return width, abs(height), b"".join(rows), table
