"""Pictures of the frame tests: a splash picture larger than any test
screen (two-colour, so it stays small) and the frame's icon."""
import sys

from PIL import Image, ImageDraw

out = sys.argv[1]
huge = Image.new("1", (1600, 1200), 1)
ImageDraw.Draw(huge).rectangle([0, 0, 1599, 1199], outline=0, width=8)
huge.save(f"{out}/huge.bmp")
icon = Image.new("RGBA", (32, 32), (0, 0, 0, 0))
d = ImageDraw.Draw(icon)
d.ellipse([2, 2, 29, 29], fill=(150, 104, 52, 255), outline=(60, 40, 20, 255))
d.rectangle([11, 9, 20, 23], fill=(240, 226, 196, 255))
icon.save(f"{out}/frame.ico", sizes=[(32, 32)])
