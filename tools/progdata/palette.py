"""The program palette "PAL": 256 colours, pixel i of the 16 x 16 picture is i.

Interface: STATIC, ROLES, build() -> list of 256 (r, g, b), usable_indices(),
write_pal(path).

Entries 0..9 and 246..255 are the system's static colours (the screen's
256-colour mode keeps them); 10..245 are the program's own. Role entries
hold the colours the program's code names by index; every other entry
belongs to one of the ramps that pictures are drawn from.
"""

import bmp8

STATIC = {
    0: (0, 0, 0), 1: (128, 0, 0), 2: (0, 128, 0), 3: (128, 128, 0),
    4: (0, 0, 128), 5: (128, 0, 128), 6: (0, 128, 128), 7: (192, 192, 192),
    8: (192, 220, 192), 9: (166, 202, 240),
    246: (255, 251, 240), 247: (160, 160, 164), 248: (128, 128, 128),
    249: (255, 0, 0), 250: (0, 255, 0), 251: (255, 255, 0), 252: (0, 0, 255),
    253: (255, 0, 255), 254: (0, 255, 255), 255: (255, 255, 255),
}

# Index 0 is the see-through key of toolkit, text and sprite pictures, so
# visible black is entry 10.
ROLES = {
    10: ("visible black", (6, 6, 8)),
    11: ("light board square (revised at run time)", (232, 212, 168)),
    12: ("dark board square, edge labels", (146, 98, 58)),
    18: ("popup background", (238, 233, 221)),
    20: ("dark edge", (46, 40, 34)),
    22: ("White lamp, white font-drawn pieces", (250, 248, 240)),
    23: ("Black lamp, black pieces, active caption and label text", (14, 14, 16)),
    37: ("highlighted item text", (255, 252, 236)),
    41: ("teaching text", (255, 236, 150)),
    45: ("clock digits, row text", (214, 236, 214)),
    60: ("piece-picture background", (196, 186, 160)),
    70: ("text-builder image", (250, 246, 232)),
    84: ("behind selected black text", (214, 184, 112)),
    100: ("splitter", (120, 104, 84)),
    102: ("teaching tint", (176, 206, 236)),
    137: ("greyed text", (138, 132, 122)),
    140: ("bold tree text", (244, 214, 128)),
    145: ("highlight fill", (38, 66, 122)),
    191: ("light edge", (232, 226, 210)),
    192: ("progress", (54, 118, 70)),
    238: ("text of menus, status bar, controls; teaching shadow", (20, 20, 24)),
    242: ("inactive caption text", (84, 80, 74)),
    243: ("row background", (30, 44, 58)),
}

# Text pairs (foreground, background, least contrast ratio).
TEXT_PAIRS = [
    (37, 145, 4.5), (41, 238, 4.5), (45, 23, 4.5), (45, 243, 4.5),
    (23, 84, 4.5), (238, 18, 4.5), (238, 191, 4.5), (23, 191, 4.5),
    (140, 243, 4.5), (137, 18, 2.5),
]


def _ramp(stops, n):
    """n colours along the piecewise-linear path through stops."""
    out = []
    for i in range(n):
        t = i / (n - 1) * (len(stops) - 1)
        k = min(int(t), len(stops) - 2)
        f = t - k
        a, b = stops[k], stops[k + 1]
        out.append(tuple(round(a[c] + (b[c] - a[c]) * f) for c in range(3)))
    return out


RAMPS = [
    ("greys", _ramp([(16, 16, 18), (128, 128, 130), (250, 250, 250)], 40)),
    ("wood", _ramp([(52, 28, 12), (140, 84, 40), (206, 156, 96), (240, 214, 170)], 28)),
    ("marble", _ramp([(70, 72, 76), (150, 150, 152), (204, 204, 200), (244, 242, 238)], 22)),
    ("brass", _ramp([(60, 44, 12), (150, 112, 40), (214, 178, 92), (252, 236, 176)], 28)),
    ("felt", _ramp([(10, 40, 24), (30, 96, 56), (96, 164, 110)], 18)),
    ("skin", _ramp([(96, 56, 36), (184, 128, 96), (240, 206, 178)], 16)),
    ("blues", _ramp([(8, 18, 48), (40, 80, 150), (120, 164, 220), (218, 232, 250)], 28)),
    ("reds", _ramp([(48, 8, 8), (150, 30, 24), (220, 90, 60), (250, 190, 160)], 20)),
]

# Board squares are revised at run time: pictures never use them.
REVISED = (11, 12)


def build():
    table = [None] * 256
    for i, c in STATIC.items():
        table[i] = c
    for i, (_, c) in ROLES.items():
        table[i] = c
    free = [i for i in range(10, 246) if table[i] is None]
    colours = [c for _, ramp in RAMPS for c in ramp]
    extra = _ramp([(34, 34, 36), (236, 236, 232)], max(0, len(free) - len(colours)))
    colours += extra
    for i, c in zip(free, colours):
        table[i] = c
    assert all(c is not None for c in table)
    return table


def usable_indices():
    """Indices a picture may use for visible pixels."""
    return [i for i in range(10, 246) if i not in REVISED]


def write_pal(path):
    table = build()
    bmp8.write(path, 16, 16, bytes(range(256)), table)


if __name__ == "__main__":
    import sys
    write_pal(sys.argv[1])
