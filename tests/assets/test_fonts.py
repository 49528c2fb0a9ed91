"""The two fonts: the bitmap font's cells and cell-size mark, and the
TrueType font whose outlines must cover exactly the designed pixels."""

import os
import re
import subprocess
import tempfile
import unittest

from assetlib import ASSETS, DATA, PYTHON, cell, graphics, opaque, read_png

import glyphs
from fontTools.ttLib import TTFont

# Every character the game writes with the bitmap font.
GAME_TEXT = (" ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789./:;?!<=*+-,"
             "abcdefghijklmnopqrstuvwxyz")


def measure_cell(rows):
    """The cell size as the game measures it: the first pixel down the left
    column and along the top row that differs from the top-left one."""
    a = rows[0][0]
    h = next((y for y in range(1, len(rows)) if rows[y][0] != a), -1)
    w = next((x for x in range(1, len(rows[0])) if rows[0][x] != a), -1)
    return w, h


def pixels_of(c):
    return ["".join("#" if opaque(p) else "." for p in r) for r in c]


class BitmapFont(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.w, cls.h, _, cls.rows = read_png(graphics("8x8_VelmarokFont.png"))

    def test_cell_size_mark_measures_eight_by_eight(self):
        self.assertEqual((self.w, self.h), (128, 128))
        self.assertEqual(measure_cell(self.rows), (8, 8))
        # Cells 1 and 16 start in another colour than the mark.
        self.assertNotEqual(self.rows[0][8], self.rows[0][0])
        self.assertNotEqual(self.rows[8][0], self.rows[0][0])

    def test_every_character_the_game_writes_has_a_glyph(self):
        for ch in GAME_TEXT:
            c = pixels_of(cell(self.rows, ord(ch), 8, 8, 16))
            if ch == " ":
                self.assertEqual(c, ["." * 8] * 8)
            else:
                self.assertTrue(any("#" in r for r in c), f"{ch!r} is blank")

    def test_cells_are_the_game_set_of_the_design(self):
        design = glyphs.game_set()
        for code in range(256):
            want = ["".join("#" if glyphs.lit(x) else "." for x in r) for r in design[code]]
            self.assertEqual(pixels_of(cell(self.rows, code, 8, 8, 16)), want, f"code {code}")

    def test_flash_frames_are_the_capitals_in_inverse(self):
        for up in range(ord("A"), ord("Z") + 1):
            a = pixels_of(cell(self.rows, up, 8, 8, 16))
            b = pixels_of(cell(self.rows, up + 32, 8, 8, 16))
            inverse = ["".join("." if x == "#" else "#" for x in r) for r in a]
            self.assertEqual(b, inverse, chr(up))

    def test_grenade_icon_spans_both_cells(self):
        left = pixels_of(cell(self.rows, ord("<"), 8, 8, 16))
        right = pixels_of(cell(self.rows, ord("="), 8, 8, 16))
        # The two halves join: lit pixels meet at the shared edge.
        self.assertTrue(any(l[7] == "#" and r[0] == "#" for l, r in zip(left, right)))
        # The icon leaves a gap before the digits that follow it.
        self.assertTrue(all(r[7] == "." for r in right))


def rasterise(font, name, size=8):
    """Which pixel centres the glyph's outline covers at `size` pixels per
    em (non-zero winding), as a list of 8 rows of 8 from the line top."""
    glyf = font["glyf"]
    g = glyf[name]
    upm = font["head"].unitsPerEm
    ascent = font["hhea"].ascent
    unit = upm / size
    rows = [["."] * 8 for _ in range(8)]
    if g.numberOfContours <= 0:
        return ["".join(r) for r in rows]
    coords, ends, _ = g.getCoordinates(glyf)
    contours, start = [], 0
    for e in ends:
        contours.append(list(coords[start:e + 1]))
        start = e + 1
    for py in range(8):
        for px in range(8):
            x, y = (px + 0.5) * unit, ascent - (py + 0.5) * unit
            winding = 0
            for pts in contours:
                for (x0, y0), (x1, y1) in zip(pts, pts[1:] + pts[:1]):
                    if (y0 <= y < y1) or (y1 <= y < y0):
                        xi = x0 + (y - y0) * (x1 - x0) / (y1 - y0)
                        if xi > x:
                            winding += 1 if y1 > y0 else -1
            if winding:
                rows[py][px] = "#"
    return ["".join(r) for r in rows]


class TrueTypeFont(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.font = TTFont(os.path.join(DATA, "fonts", "basic.ttf"))

    def test_metrics_give_an_eight_pixel_cell_at_eight_pixels(self):
        f = self.font
        self.assertEqual(f["head"].unitsPerEm, 1024)
        self.assertEqual((f["hhea"].ascent, f["hhea"].descent, f["hhea"].lineGap), (896, -128, 0))
        self.assertEqual(f["post"].isFixedPitch, 1)
        for name, (adv, _) in f["hmtx"].metrics.items():
            self.assertEqual(adv, 1024, name)

    def test_outlines_sit_on_the_pixel_grid(self):
        glyf = self.font["glyf"]
        for name in self.font.getGlyphOrder():
            g = glyf[name]
            if g.numberOfContours > 0:
                coords, _, flags = g.getCoordinates(glyf)
                self.assertTrue(all(x % 128 == 0 and y % 128 == 0 for x, y in coords), name)
                self.assertTrue(all(fl & 1 for fl in flags), f"{name}: only straight edges")

    def test_every_printable_character_covers_the_designed_pixels(self):
        cmap = self.font.getBestCmap()
        text = glyphs.text_set()
        for code in range(32, 127):
            self.assertIn(code, cmap, chr(code))
            want = ["".join("#" if glyphs.lit(x) else "." for x in r) for r in text[code]]
            self.assertEqual(rasterise(self.font, cmap[code]), want, chr(code))

    def test_the_same_pixels_as_the_bitmap_font_outside_the_game_cells(self):
        _, _, _, rows = read_png(graphics("8x8_VelmarokFont.png"))
        cmap = self.font.getBestCmap()
        game_cells = glyphs.read()["game"]
        for code in range(32, 127):
            if code not in game_cells:
                self.assertEqual(rasterise(self.font, cmap[code]), pixels_of(cell(rows, code, 8, 8, 16)), chr(code))


class Design(unittest.TestCase):
    def test_cpp_table_holds_the_plain_set_msb_leftmost(self):
        with tempfile.TemporaryDirectory() as d:
            out = os.path.join(d, "font.inc")
            subprocess.run([PYTHON, "-B", os.path.join(ASSETS, "fonts", "make_font_inc.py"), out], check=True)
            with open(out) as f:
                text = f.read()
        self.assertIn("static const unsigned char kDefaultFont8x8[256][8]", text)
        rows = re.findall(r"\{((?:0x[0-9a-f]{2}, ){7}0x[0-9a-f]{2})\}", text)
        self.assertEqual(len(rows), 256)
        plain = glyphs.text_set()
        for code, r in enumerate(rows):
            got = ["".join("#" if int(b, 16) & (0x80 >> x) else "." for x in range(8)) for b in r.split(", ")]
            want = ["".join("#" if glyphs.lit(c) else "." for c in row) for row in plain[code]]
            self.assertEqual(got, want, f"code {code}")

    def test_a_damaged_grid_is_reported_with_its_line(self):
        with tempfile.TemporaryDirectory() as d:
            path = os.path.join(d, "g.txt")
            with open(path, "w") as f:
                f.write("[text]\nchar 65 A\n" + "........\n" * 3 + "......\n" + "........\n" * 4)
            with self.assertRaisesRegex(glyphs.DesignError, r"g.txt:6: grid rows must be 8"):
                glyphs.read(path)
            with open(path, "w") as f:
                f.write("[text]\nchar 65 A\n" + "........\n" * 8 + "char 65 A\n" + "........\n" * 8)
            with self.assertRaisesRegex(glyphs.DesignError, "drawn twice"):
                glyphs.read(path)


if __name__ == "__main__":
    unittest.main()
