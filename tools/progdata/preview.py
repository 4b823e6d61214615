"""Contact sheet of a folder of 8-bit pictures, for looking at the art.

  preview.py OUT.png ZOOM FILE.bmp...
"""

import sys

from PIL import Image

import quantize


def main(argv):
    out, zoom, files = argv[1], int(argv[2]), argv[3:]
    pics = [quantize.to_rgb(f) for f in files]
    width = 900
    x = y = rowh = 0
    places = []
    for p in pics:
        w, h = p.size[0] * zoom, p.size[1] * zoom
        if x + w > width:
            x, y, rowh = 0, y + rowh + 4, 0
        places.append((x, y))
        x += w + 4
        rowh = max(rowh, h)
    sheet = Image.new("RGBA", (width, y + rowh + 4), (255, 0, 255, 255))
    for p, (x, y) in zip(pics, places):
        sheet.alpha_composite(p.resize((p.size[0] * zoom, p.size[1] * zoom), Image.NEAREST), (x, y))
    sheet.save(out)


if __name__ == "__main__":
    main(sys.argv)
