"""Turns RGB(A) pictures into palette indices of PAL.

Interface: indices(image, transparent=False, dither=False) -> bytes,
save(path, image, transparent=False, dither=False).

Visible pixels map to the nearest usable entry of PAL (never 0, never the
board squares that are revised at run time). With `transparent`, pixels
whose alpha is below one half become 0, the see-through key; without it
alpha is ignored, so an opaque picture never holds a 0.
"""

from PIL import Image

import bmp8
import palette

_TABLE = palette.build()
_USABLE = palette.usable_indices()


def _palette_image():
    flat = []
    for i in _USABLE:
        flat.extend(_TABLE[i])
    while len(flat) < 768:
        flat.extend(_TABLE[_USABLE[0]])
    img = Image.new("P", (1, 1))
    img.putpalette(flat)
    return img


_PAL_IMAGE = _palette_image()
_LUT = bytes(_USABLE[k] if k < len(_USABLE) else _USABLE[0] for k in range(256))


def indices(image, transparent=False, dither=False):
    rgba = image.convert("RGBA")
    rgb = rgba.convert("RGB")
    mode = Image.Dither.FLOYDSTEINBERG if dither else Image.Dither.NONE
    q = rgb.quantize(palette=_PAL_IMAGE, dither=mode)
    data = bytes(q.getdata()).translate(_LUT)
    if transparent:
        alpha = rgba.getchannel("A").tobytes()
        data = bytes(0 if a < 128 else p for p, a in zip(data, alpha))
    return data


def save(path, image, transparent=False, dither=False):
    w, h = image.size
    bmp8.write(path, w, h, indices(image, transparent, dither), _TABLE)


def to_rgb(path):
    """A written 8-bit picture back as an RGBA image (index 0 see-through)."""
    w, h, px, table = bmp8.read(path)
    img = Image.new("RGBA", (w, h))
    img.putdata([(0, 0, 0, 0) if p == 0 else table[p] + (255,) for p in px])
    return img
