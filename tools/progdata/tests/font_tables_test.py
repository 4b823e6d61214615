"""Checks of the built fonts read straight from their tables (no font
library): the name records, the chess codes' cmap entries, the cells'
metrics and boxes, and that a second build gives the same bytes.

  font_tables_test.py PROGDATA_OUT_DIR
"""

import os
import struct
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.dirname(HERE))
import fonts  # noqa: E402  (the byte -> glyph table and the code page rule)

OUT = None
FACES = [("rwonyx.ttf", "onyx", "RookwellOnyx"), ("rwjade.ttf", "jade", "RookwellJade")]
NOTICES = {0, 13, 14}  # copyright, licence, licence URL: kept as they are
FORBIDDEN = ("dejavu", "bitstream", "vera")


class Sfnt:
    def __init__(self, data):
        self.data = data
        count = struct.unpack_from(">H", data, 4)[0]
        self.tables = {}
        for i in range(count):
            tag, _, offset, length = struct.unpack_from(">4sIII", data, 12 + 16 * i)
            self.tables[tag.decode("latin-1")] = (offset, length)

    def table(self, tag):
        offset, length = self.tables[tag]
        return self.data[offset:offset + length]

    def names(self):
        t = self.table("name")
        _, count, strings = struct.unpack_from(">HHH", t, 0)
        out = []
        for i in range(count):
            pid, eid, lang, nid, length, offset = struct.unpack_from(">6H", t, 6 + 12 * i)
            raw = t[strings + offset:strings + offset + length]
            text = raw.decode("utf-16-be") if pid in (0, 3) else raw.decode("latin-1")
            out.append((pid, lang, nid, text))
        return out

    def cmap(self):
        """Code point -> glyph id from the Windows Unicode subtables."""
        t = self.table("cmap")
        count = struct.unpack_from(">H", t, 2)[0]
        mapping = {}
        for i in range(count):
            pid, eid, offset = struct.unpack_from(">HHI", t, 4 + 8 * i)
            if pid != 3 or eid not in (1, 10):
                continue
            fmt = struct.unpack_from(">H", t, offset)[0]
            if fmt == 4:
                segs = struct.unpack_from(">H", t, offset + 6)[0] // 2
                base = offset + 14
                ends = struct.unpack_from(">%dH" % segs, t, base)
                starts = struct.unpack_from(">%dH" % segs, t, base + 2 * segs + 2)
                deltas = struct.unpack_from(">%dh" % segs, t, base + 4 * segs + 2)
                ro_at = base + 6 * segs + 2
                ranges = struct.unpack_from(">%dH" % segs, t, ro_at)
                for s in range(segs):
                    for c in range(starts[s], ends[s] + 1):
                        if c == 0xFFFF:
                            continue
                        if ranges[s] == 0:
                            g = (c + deltas[s]) & 0xFFFF
                        else:
                            at = ro_at + 2 * s + ranges[s] + 2 * (c - starts[s])
                            g = struct.unpack_from(">H", t, at)[0]
                            g = (g + deltas[s]) & 0xFFFF if g else 0
                        if g:
                            mapping[c] = g
            elif fmt == 12:
                groups = struct.unpack_from(">I", t, offset + 12)[0]
                for k in range(groups):
                    first, last, g = struct.unpack_from(">III", t, offset + 16 + 12 * k)
                    for c in range(first, last + 1):
                        mapping[c] = g + c - first
        return mapping

    def units_per_em(self):
        return struct.unpack_from(">H", self.table("head"), 18)[0]

    def advance(self, gid):
        n = struct.unpack_from(">H", self.table("hhea"), 34)[0]
        return struct.unpack_from(">H", self.table("hmtx"), 4 * min(gid, n - 1))[0]

    def glyph_box(self, gid):
        """(contour count, xMin, yMin, xMax, yMax); None for a glyph without outline."""
        long_loca = struct.unpack_from(">h", self.table("head"), 50)[0] == 1
        loca = self.table("loca")
        if long_loca:
            start, end = struct.unpack_from(">II", loca, 4 * gid)
        else:
            start, end = (2 * v for v in struct.unpack_from(">HH", loca, 2 * gid))
        if start == end:
            return None
        return struct.unpack_from(">hhhhh", self.table("glyf"), start)


def load(file_name):
    with open(os.path.join(OUT, file_name), "rb") as f:
        return Sfnt(f.read())


class FontTables(unittest.TestCase):
    def test_names_carry_no_source_name_outside_the_notices(self):
        for file_name, _, family in FACES:
            with self.subTest(font=file_name):
                names = load(file_name).names()
                for pid, lang, nid, text in names:
                    if nid in NOTICES:
                        continue
                    for word in FORBIDDEN:
                        self.assertNotIn(word, text.lower(), (pid, lang, nid, text))
                by_id = {}
                for pid, _, nid, text in names:
                    if pid == 3:
                        by_id.setdefault(nid, set()).add(text)
                self.assertEqual(by_id[1], {family})
                self.assertEqual(by_id[4], {family})
                self.assertEqual(by_id[6], {family})
                # The notices stay, as the licence asks.
                self.assertTrue(any("Bitstream" in t for t in by_id[0]))
                self.assertTrue(any("Bitstream" in t for t in by_id[13]))

    def test_chess_codes_reach_their_own_glyphs_through_code_page_1252(self):
        for file_name, _, _ in FACES:
            with self.subTest(font=file_name):
                font = load(file_name)
                cmap = font.cmap()
                chess = {}
                for byte in fonts.CHESS_CODES:
                    u = fonts.cp1252_unicode(byte)
                    self.assertTrue(u in cmap, "%#x is not mapped" % byte)
                    chess[byte] = cmap[u]
                self.assertEqual(len(set(chess.values())), len(chess), "two codes share a glyph")
                ascii_glyphs = {cmap[c] for c in range(0x21, 0x7F)}
                self.assertFalse(ascii_glyphs & set(chess.values()))
                # No other code point leads to a chess glyph, and the upper
                # half's other letters keep theirs.
                users = [c for c, g in cmap.items() if g in set(chess.values())]
                self.assertEqual(sorted(users), sorted(fonts.cp1252_unicode(b) for b in chess))
                for letter in "\u00e9\u00fc\u0160\u00c4":
                    self.assertNotIn(cmap[ord(letter)], set(chess.values()))
                # Three codes Windows leaves undefined in 1252 pass through.
                for byte in (0x8F, 0x90, 0x9D):
                    self.assertEqual(fonts.cp1252_unicode(byte), byte)

    def test_diagram_cells_are_square_and_fill_the_line(self):
        for file_name, _, _ in FACES:
            with self.subTest(font=file_name):
                font = load(file_name)
                em = font.units_per_em()
                os2 = font.table("OS/2")
                win_ascent, win_descent = struct.unpack_from(">HH", os2, 74)
                asc, desc, gap = struct.unpack_from(">hhh", font.table("hhea"), 4)
                # The em is the line: the rounded ascent and descent then add
                # up to the pixel size, which is the cell's rounded advance.
                self.assertEqual(win_ascent + win_descent, em)
                self.assertEqual((asc, -desc, gap), (win_ascent, win_descent, 0))
                cmap = font.cmap()
                cap = font.glyph_box(cmap[ord("H")])[4]
                for byte in fonts.CHESS_CODES:
                    gid = cmap[fonts.cp1252_unicode(byte)]
                    box = font.glyph_box(gid)
                    if byte in fonts.FIGURINE:
                        self.assertLess(font.advance(gid), em, hex(byte))
                        self.assertLessEqual(abs(box[2]), 2, hex(byte))       # on the baseline
                        self.assertLessEqual(abs(box[4] - cap), 2, hex(byte))  # capital height
                        continue
                    self.assertEqual(font.advance(gid), em, hex(byte))
                    colour, piece, shade = fonts.DIAGRAM[byte]
                    if shade == "dark":   # hatching reaches every edge: no gaps
                        self.assertEqual(box[1:], (0, -win_descent, em, win_ascent), hex(byte))
                    elif piece is None:  # the light empty square is paper
                        self.assertIsNone(box, hex(byte))
                    else:                # a piece alone, inside and centred
                        self.assertGreater(box[1], 0, hex(byte))
                        self.assertLess(box[3], em, hex(byte))
                        self.assertLessEqual(abs(box[1] + box[3] - em), 2, hex(byte))
                        self.assertLessEqual(abs(box[2] + box[4] - (win_ascent - win_descent)), 2,
                                             hex(byte))

    def test_a_second_build_gives_the_same_bytes(self):
        with tempfile.TemporaryDirectory() as tmp:
            for file_name, kind, _ in FACES:
                again = os.path.join(tmp, file_name)
                subprocess.run([sys.executable, os.path.join(os.path.dirname(HERE), "progdata.py"),
                                "font", kind, again], check=True, stdout=subprocess.DEVNULL)
                with open(again, "rb") as a, open(os.path.join(OUT, file_name), "rb") as b:
                    self.assertTrue(a.read() == b.read(), file_name)


if __name__ == "__main__":
    OUT = sys.argv.pop(1)
    unittest.main()
