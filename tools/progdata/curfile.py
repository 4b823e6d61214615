"""Icon, cursor and animated-cursor files, written byte by byte.

Interface: encode_ico(images) -> bytes, encode_cur(images, hotspots) -> bytes,
encode_ani(frames, rate, name) -> bytes, write(path, data), read_ico(data) ->
list of entry dicts, read_ani(data) -> dict.

Every image is stored as a DIB: a BITMAPINFOHEADER whose height counts the
colour bitmap and the AND mask together, the colour rows (bottom row first,
each padded to 4 bytes), then the 1-bit AND mask (set where the picture is
see-through). An image is given as a PIL RGBA picture and a bit count:

  32  colours with their alpha, for displays that blend cursors; the AND
      mask still marks the see-through pixels for those that do not;
  4   the sixteen standard VGA colours (nearest, by alpha-weighted RGB) and
      the mask from alpha, for displays without true colour.

A .cur file carries each entry's hot spot where an icon holds its planes and
bit count. An .ani file is a RIFF "ACON" form: an "INFO" list with the
name, the "anih" header (36 bytes: size, frames, steps, width, height, bit
count, planes, rate in 1/60 s, flags 1 = frames are icon-format data), and
a "fram" list with one "icon" chunk per frame holding a whole .cur file.
Chunks of odd length are padded with one zero byte, which the size does not
count. Nothing here depends on the clock, so the same pictures give the same
bytes.
"""

import struct

# The sixteen colours of the standard VGA palette, in index order.
VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
         (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
         (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def _stride(bits_per_row):
    return ((bits_per_row + 31) // 32) * 4


def _mask_rows(alpha, w, h):
    stride = _stride(w)
    rows = []
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            if alpha[y * w + x] < 128:
                row[x >> 3] |= 0x80 >> (x & 7)
        rows.append(bytes(row))
    return b"".join(rows)


def _nearest16(r, g, b):
    best, index = None, 0
    for i, (pr, pg, pb) in enumerate(VGA16):
        d = (r - pr) ** 2 * 3 + (g - pg) ** 2 * 4 + (b - pb) ** 2 * 2
        if best is None or d < best:
            best, index = d, i
    return index


def _dib(image, bpp):
    """The DIB of one entry: header, colour table, colour rows, AND mask."""
    rgba = image.convert("RGBA")
    w, h = rgba.size
    px = list(rgba.getdata())
    alpha = [p[3] for p in px]
    if bpp == 32:
        rows = []
        for y in range(h - 1, -1, -1):
            row = bytearray()
            for r, g, b, a in px[y * w:(y + 1) * w]:
                # Colour kept under full see-through pixels would show on
                # displays that ignore alpha; the mask hides them, keep 0.
                row += bytes((b, g, r, a)) if a else b"\0\0\0\0"
            rows.append(bytes(row))
        colours = b""
        xor = b"".join(rows)
    elif bpp == 4:
        stride = _stride(w * 4)
        rows = []
        for y in range(h - 1, -1, -1):
            row = bytearray(stride)
            for x in range(w):
                r, g, b, a = px[y * w + x]
                i = _nearest16(r, g, b) if a >= 128 else 0
                row[x >> 1] |= i << (4 if x % 2 == 0 else 0)
            rows.append(bytes(row))
        colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in VGA16)
        xor = b"".join(rows)
    else:
        raise ValueError("unsupported bit count %d" % bpp)
    mask = _mask_rows(alpha, w, h)
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, bpp, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + colours + xor + mask


def _directory(kind, images, fields):
    """ICONDIR and entries; fields(i) gives the two words after the reserved byte."""
    count = len(images)
    offset = 6 + 16 * count
    head = struct.pack("<HHH", 0, kind, count)
    entries, blobs = b"", b""
    for i, (image, bpp) in enumerate(images):
        w, h = image.size
        assert 1 <= w <= 256 and 1 <= h <= 256
        dib = _dib(image, bpp)
        colours = 16 if bpp == 4 else 0
        a, b = fields(i, bpp)
        entries += struct.pack("<BBBBHHII", w & 0xFF, h & 0xFF, colours, 0, a, b, len(dib), offset + len(blobs))
        blobs += dib
    return head + entries + blobs


def encode_ico(images):
    """images: [(RGBA picture, bit count)] -> .ico bytes."""
    return _directory(1, images, lambda i, bpp: (1, bpp))


def encode_cur(images, hotspots):
    """images as for encode_ico, hotspots: one (x, y) per image -> .cur bytes."""
    assert len(images) == len(hotspots)
    return _directory(2, images, lambda i, bpp: hotspots[i])


def _chunk(fourcc, data):
    out = fourcc + struct.pack("<I", len(data)) + data
    return out + (b"\0" if len(data) % 2 else b"")


def encode_ani(frames, rate, name):
    """frames: list of .cur bytes; rate: jiffies (1/60 s) per frame -> .ani bytes."""
    text = name.encode("ascii") + b"\0"
    info = _chunk(b"LIST", b"INFO" + _chunk(b"INAM", text))
    anih = _chunk(b"anih", struct.pack("<9I", 36, len(frames), len(frames), 0, 0, 0, 0, rate, 1))
    fram = _chunk(b"LIST", b"fram" + b"".join(_chunk(b"icon", f) for f in frames))
    body = b"ACON" + info + anih + fram
    return b"RIFF" + struct.pack("<I", len(body)) + body


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def read_ico(data):
    """The entries of an .ico or .cur file, checked against their DIBs."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    assert reserved == 0 and kind in (1, 2), "not an icon or cursor file"
    entries = []
    for i in range(count):
        w, h, colours, _, a, b, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        hdr = struct.unpack_from("<IiiHH", data, offset)
        assert hdr[0] == 40 and hdr[1] == (w or 256) and hdr[2] == 2 * (h or 256)
        assert offset + size <= len(data)
        entries.append({"kind": kind, "width": w or 256, "height": h or 256, "bpp": hdr[4],
                        "hotspot": (a, b) if kind == 2 else None, "size": size})
    return entries


def read_ani(data):
    """Frame count, rate and the frames' bytes of an .ani file."""
    assert data[:4] == b"RIFF" and data[8:12] == b"ACON", "not an animated cursor"
    end = 8 + struct.unpack_from("<I", data, 4)[0]
    assert end == len(data)
    pos, out = 12, {"frames": []}
    while pos < end:
        fourcc, size = data[pos:pos + 4], struct.unpack_from("<I", data, pos + 4)[0]
        body = data[pos + 8:pos + 8 + size]
        if fourcc == b"anih":
            _, n, steps, _, _, _, _, rate, flags = struct.unpack("<9I", body)
            out.update(count=n, steps=steps, rate=rate, flags=flags)
        elif fourcc == b"LIST" and body[:4] == b"fram":
            p = 4
            while p < len(body):
                size_i = struct.unpack_from("<I", body, p + 4)[0]
                assert body[p:p + 4] == b"icon"
                out["frames"].append(body[p + 8:p + 8 + size_i])
                p += 8 + size_i + (size_i & 1)
        pos += 8 + size + (size & 1)
    return out
