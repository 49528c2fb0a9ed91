"""The pictures load the way the game cuts them: sizes, cell counts, the
mask, and the content of the cells the game draws."""

import unittest

from assetlib import MASK, cell, graphics, opaque, read_png

# file: cell width, cell height, cells the game cuts, cells it never draws
STRIPS = {
    "superdax.png": (24, 21, 30, set()),
    "shootexp.png": (24, 21, 4, set()),
    "granada_dax.png": (24, 21, 12, set()),
    "tira_granada_dax.png": (24, 21, 3, set()),
    "enemyspr.png": (24, 21, 84, {12, 13, 47, 51, 70, 71, 72, 73, 80,
                                   # right halves of the two-cell vehicles
                                   21, 23, 25, 27, 75, 82}),
    "casetas.png": (48, 72, 2, set()),
    "puertaab.png": (16, 64, 2, set()),
    "puertacer.png": (88, 48, 1, set()),
    "paused.png": (106, 26, 1, set()),
}
ENEMYC_USED = set(range(0, 12)) | set(range(14, 20)) | {48, 49, 50, 52, 53, 54, 28, 29,
                                                        39, 40, 41, 42, 43, 44, 26, 55, 20}


def lit(c):
    return sum(1 for r in c for p in r if opaque(p))


class Pictures(unittest.TestCase):
    def load(self, name):
        return read_png(graphics(name))

    def test_strips_hold_their_cells_and_every_drawn_cell_has_a_picture(self):
        for name, (cw, chh, count, unused) in STRIPS.items():
            with self.subTest(name):
                w, h, ch, rows = self.load(name)
                self.assertEqual(ch, 4, "masked pictures are RGBA")
                self.assertEqual((w % cw, h % chh), (0, 0))
                cols = w // cw
                self.assertGreaterEqual(cols * (h // chh), count)
                for i in range(count):
                    if i not in unused:
                        self.assertGreater(lit(cell(rows, i, cw, chh, cols)), 8, f"cell {i} is empty")

    def test_second_enemy_sheet(self):
        w, h, ch, rows = self.load("enemycspr.png")
        self.assertEqual((w, h), (192, 147))
        for i in sorted(ENEMYC_USED):
            self.assertGreater(lit(cell(rows, i, 24, 21, 8)), 8, f"cell {i} is empty")

    def test_runner_cells_of_both_sheets_are_the_same(self):
        # The cannon's gunner runs on the second sheet with the same numbers.
        _, _, _, a = self.load("enemyspr.png")
        _, _, _, b = self.load("enemycspr.png")
        for i in sorted(set(range(0, 12)) | set(range(14, 20)) | {48, 49, 50, 52, 53, 54, 28, 29}):
            self.assertEqual(cell(a, i, 24, 21, 12), cell(b, i, 24, 21, 8), f"cell {i}")

    def test_transparent_pixels_are_mask_colour_with_zero_alpha(self):
        for name in list(STRIPS) + ["enemycspr.png", "8x8_VelmarokFont.png", "icon.png"]:
            with self.subTest(name):
                _, _, _, rows = self.load(name)
                for r in rows:
                    for p in r:
                        self.assertIn(p[3], (0, 255), "no half-transparent pixels")
                        self.assertEqual(p[3] == 0, p[:3] == MASK)

    def test_opaque_pictures_have_no_mask_colour(self):
        for name, size in (("titulo.png", (320, 46)), ("Loader.png", (320, 192))):
            with self.subTest(name):
                w, h, ch, rows = self.load(name)
                self.assertEqual((w, h), size)
                self.assertEqual(ch, 3)
                self.assertFalse(any(p[:3] == MASK for r in rows for p in r))

    def test_window_icon_is_a_picture_on_a_clear_ground(self):
        w, h, ch, rows = self.load("icon.png")
        self.assertEqual((w, h, ch), (32, 32, 4))
        for x, y in ((0, 0), (31, 0), (0, 31), (31, 31)):
            self.assertFalse(opaque(rows[y][x]), f"corner ({x}, {y})")
        self.assertGreater(sum(opaque(p) for r in rows for p in r), 32 * 32 // 3)

    def test_closed_gate_hides_the_passage_completely(self):
        w, h, _, rows = self.load("puertacer.png")
        self.assertEqual((w, h), (88, 48))
        self.assertTrue(all(opaque(p) for r in rows for p in r))

    def test_large_explosions_fill_the_kill_box(self):
        _, _, _, rows = self.load("granada_dax.png")
        for i in (3, 9):
            c = cell(rows, i, 24, 21, 12)
            box = [c[y][x] for y in range(2, 18) for x in range(2, 22)]
            self.assertGreater(sum(opaque(p) for p in box) / len(box), 0.75, f"cell {i}")
        # Small, medium, large in that order of size.
        for small, medium, large in ((5, 4, 3), (11, 10, 9), (8, 7, 6)):
            sizes = [lit(cell(rows, i, 24, 21, 12)) for i in (small, medium, large)]
            self.assertLess(sizes[0], sizes[1])
            self.assertLess(sizes[1], sizes[2])

    def centre(self, c):
        pts = [(x, y) for y, r in enumerate(c) for x, p in enumerate(r) if opaque(p)]
        return sum(x for x, _ in pts) / len(pts), sum(y for _, y in pts) / len(pts)

    def test_bursts_and_crosshair_are_centred_where_the_game_aims_them(self):
        _, _, _, rows = self.load("shootexp.png")
        for i in range(4):
            cx, cy = self.centre(cell(rows, i, 24, 21, 4))
            self.assertAlmostEqual(cx, 11.5, delta=1.5)
            self.assertAlmostEqual(cy, 10, delta=1.5)
        _, _, _, rows = self.load("enemycspr.png")
        cx, cy = self.centre(cell(rows, 20, 24, 21, 8))
        self.assertAlmostEqual(cx, 11, delta=1.0)
        self.assertAlmostEqual(cy, 9, delta=1.0)

    def test_hero_fills_his_hit_box(self):
        _, _, _, rows = self.load("superdax.png")
        for i in range(26):
            c = cell(rows, i, 24, 21, 10)
            box = [c[y][x] for y in range(4, 16) for x in range(6, 18)]
            self.assertGreater(sum(opaque(p) for p in box), 80, f"cell {i}")

    def test_paused_banner_keeps_its_lettering_inside_the_frame(self):
        import palette
        w, h, _, rows = self.load("paused.png")
        frame = [palette.rgb(k) for k in "kcU"]
        fill = palette.rgb("u")
        for d, colour in enumerate(frame):
            ring = [rows[y][x] for y in range(d, h - d) for x in range(d, w - d)
                    if d in (x, y, w - 1 - x, h - 1 - y)]
            self.assertEqual({p[:3] for p in ring}, {colour}, f"frame ring {d}")
        # A margin of the fill between the frame and the lettering's outline,
        # and the whole word inside it.
        margin = [rows[y][x] for y in range(3, h - 3) for x in range(3, w - 3) if 3 in (x, y, w - 1 - x, h - 1 - y)]
        self.assertEqual({p[:3] for p in margin}, {fill})
        letters = [x for y in range(h) for x in range(w) if rows[y][x][:3] == palette.rgb("w")]
        self.assertLessEqual(abs((min(letters) + max(letters)) - (w - 1)), 1, "the word is centred")

    def test_left_facing_cells_mirror_the_right_facing_ones(self):
        _, _, _, rows = self.load("superdax.png")
        for left, right in ((18, 22), (19, 23), (20, 24), (21, 25), (9, 6), (15, 12)):
            a = cell(rows, left, 24, 21, 10)
            b = cell(rows, right, 24, 21, 10)
            self.assertEqual(a, [list(reversed(r)) for r in b])


if __name__ == "__main__":
    unittest.main()
