"""Weight pictures of the opening book editor's tree, for RW256.

Interface: pictures() -> list of (name, role, image, recipe, transparent):
"OBK_WEIGHT_0" .. "OBK_WEIGHT_100" and their "_SEL" forms, 16 x 15: four
rising bars, as many lit as the move's share (none, one, two, all four), on
the tree's white or on the selection's blue.
"""

from PIL import ImageDraw

from common import S, canvas, finish, mix

W, H = 16, 15
LIT = (46, 150, 70)
LIT_TOP = (120, 214, 130)
UNLIT = (200, 200, 196)
SELECTED_BACK = (0, 84, 166)
WEIGHTS = [("0", 0), ("25", 1), ("50", 2), ("100", 4)]


def _bars(lit, selected):
    back = SELECTED_BACK if selected else (255, 255, 255)
    big = canvas(W, H, back + (255,))
    d = ImageDraw.Draw(big)
    for i in range(4):
        x0 = (1 + i * 4) * S
        top = (11 - i * 3) * S
        box = (x0, top, x0 + 3 * S - 1, 14 * S - 1)
        if i < lit:
            # Lit bars: shaded from a light top to the full green.
            steps = box[3] - box[1]
            for y in range(box[1], box[3] + 1):
                t = (y - box[1]) / max(1, steps)
                d.line((box[0], y, box[2], y), fill=mix(LIT_TOP, LIT, t) + (255,))
            d.rectangle(box, outline=mix(LIT, (0, 0, 0), 0.35) + (255,), width=S // 2)
        else:
            d.rectangle(box, fill=mix(UNLIT, back, 0.35) + (255,), outline=mix(UNLIT, (0, 0, 0), 0.25) + (255,),
                        width=S // 2)
    return finish(big).convert("RGB")


def pictures():
    out = []
    for selected in (False, True):
        for label, lit in WEIGHTS:
            name = "OBK_WEIGHT_%s%s" % (label, "_SEL" if selected else "")
            out.append((name, "book editor weight" + (", selected" if selected else ""), _bars(lit, selected),
                        "rising bars", False))
    return out
