"""The map generator cuts every picture that spans several blocks from its
own top-left block and draws the front layer with closed silhouettes; the
map checker fails a map where either is not so."""

import os
import sys
import unittest

from assetlib import ASSETS

sys.path.insert(0, os.path.join(ASSETS, "maps"))
import art  # noqa: E402
import check_maps  # noqa: E402
import fmp  # noqa: E402
import layout  # noqa: E402
import palette  # noqa: E402

LEGEND = layout.read_legend()


def compose(rows0, rows1=None):
    """A small map of area 1 from its two layers of layout rows."""
    rows1 = rows1 or ["." * len(r) for r in rows0]
    lay = layout.Layout(1, len(rows0[0]), len(rows0), rows0, rows1)
    comp = layout.Composer(lay, LEGEND)
    m = comp.compose()
    return comp, m


def pictures(comp, m, layer):
    """(column, row) -> (kind, part, which picture) of every picture block."""
    parts = check_maps.graphic_kinds(comp)[1]
    out = {}
    for y in range(m.height):
        for x in range(m.width):
            for kind, _, part, which in parts[layer].get(m.blocks[m.layers[layer][y][x]][0], ()):
                out[(x, y)] = (kind, part, which)
    return out


class Pictures(unittest.TestCase):
    def test_touching_pictures_are_each_cut_from_their_own_corner(self):
        # Pictures that touch staggered make one group whose corner is no
        # picture's corner: cut from it, their halves came out swapped.
        # (case: layer 0 rows, layer 1 rows, layer, picture size, top-left blocks)
        cases = {
            "craters staggered down": (["oo....", "oooo..", "..oo..", "......"], None, 0, (2, 2),
                                       [(0, 0), (2, 1)]),
            "craters side by side, one below": (["oooo..", "oooo..", ".oo...", ".oo..."], None, 0, (2, 2),
                                                [(0, 0), (2, 0), (1, 2)]),
            "wrecks": (["KKK...", "KKKKKK", "...KKK"], None, 0, (3, 2), [(0, 0), (3, 1)]),
            "crowns": (["......"] * 5, ["YYY...", "YYY...", "YYYYYY", "...YYY", "...YYY"], 1, (3, 3),
                       [(0, 0), (3, 2)]),
            "small crowns": (["......"] * 4, [".TT...", ".TTTT.", "...TT.", "......"], 1, (2, 2),
                             [(1, 0), (3, 1)]),
        }
        for name, (rows0, rows1, layer, (w, h), corners) in cases.items():
            with self.subTest(name):
                comp, m = compose(rows0, rows1)
                blocks = pictures(comp, m, layer)
                expected = {}
                for ox, oy in corners:
                    kind, _, which = blocks[(ox, oy)]
                    for j in range(h):
                        for i in range(w):
                            expected[(ox + i, oy + j)] = (kind, (i, j), which)
                self.assertEqual(blocks, expected)
                self.assertEqual(check_maps.check_pictures(1, m, check_maps.graphic_kinds(comp)[1]), [])

    def test_blocks_that_make_no_whole_picture_are_refused(self):
        for name, rows0, rows1, where in (
                ("a crater with a corner covered", ["oo.", "o*.", "..."], None, "crater at row 0 (y 0), column 0"),
                ("half a crater", ["....", ".oo.", "...."], None, "crater at row 1 (y 8), column 1"),
                ("a crown cut by the map's edge", ["...", "..."], ["YYY", "YYY"], "canopy3 at row 0 (y 0), column 0"),
        ):
            with self.subTest(name):
                with self.assertRaises(layout.LayoutError) as e:
                    compose(rows0, rows1)
                self.assertIn("do not make whole pictures", str(e.exception))
                self.assertIn(where, str(e.exception))

    def test_rock_blocks_left_over_are_small_rocks(self):
        comp, m = compose(["RRR.", "RRR.", "R..."])
        kinds = {}
        for key, gfx in comp.gfx_index.items():
            if key[0] == "object":
                kinds[gfx] = (key[1], key[4])
        got = [[kinds.get(m.blocks[m.layers[0][y][x]][0]) for x in range(3)] for y in range(3)]
        self.assertEqual(got, [[("rock", (0, 0)), ("rock", (1, 0)), ("pebble", (0, 0))],
                               [("rock", (0, 1)), ("rock", (1, 1)), ("pebble", (0, 0))],
                               [("pebble", (0, 0)), None, None]])

    def test_the_checker_fails_a_picture_not_cut_from_its_own_corner(self):
        comp, m = compose(["oo..", "oo..", "....", "...."], ["....", "TT..", "TT..", "...."])
        parts = check_maps.graphic_kinds(comp)[1]
        self.assertEqual(check_maps.check_pictures(1, m, parts), [])
        for name, layer, change in (
                # The two halves of the crater swapped: a bow tie.
                ("halves swapped", 0, lambda l: l.__setitem__(0, [l[0][1], l[0][0]] + l[0][2:])),
                ("a half missing", 0, lambda l: l.__setitem__(1, [0, 0] + l[1][2:])),
                ("a crown's rows swapped", 1, lambda l: l.insert(1, l.pop(2))),
        ):
            with self.subTest(name):
                broken = [row[:] for row in m.layers[layer]]
                change(broken)
                saved = m.layers[layer]
                m.layers[layer] = broken
                try:
                    problems = check_maps.check_pictures(1, m, parts)
                finally:
                    m.layers[layer] = saved
                self.assertTrue(problems)
                self.assertTrue(all(p.startswith("area 1, pictures: layer %d" % layer) for p in problems), problems)


def front_map(rows, net=False):
    """A map of one block whose front picture is drawn by rows of "#"
    (opaque) and "." (transparent), and the kinds the checker is given."""
    m = fmp.Map(1, 1)
    m.graphics = [[[(0, 0, 0)] * 8] * 8,
                  [[(20, 60, 30) if c == "#" else fmp.MASK_RGB for c in r] for r in rows]]
    m.blocks = [(0, 0), (1, 0)]
    m.layers = [[[0]], [[1]]]
    return m, {0: {}, 1: {1: "net" if net else "canopy"}}


def luminance(rgb):
    return sum(rgb)


class FrontLayer(unittest.TestCase):
    def test_the_checker_finds_the_gaps_a_soldier_shows_through(self):
        closed = ["........", "..####..", ".######.", ".######.", ".######.", ".######.", "..####..", "........"]
        pinhole = closed[:3] + [".###.##."] + closed[4:]
        dent = closed[:4] + [".#####.."] + closed[5:]
        pocket = closed[:3] + [".#...##.", ".#..###."] + closed[5:]
        dither = closed[:6] + ["..####.#", "......#."]
        for name, rows, net, expected in (
                ("a closed crown", closed, False, []),
                ("a pinhole", pinhole, False, ["dent at pixel (4, 3)", "hole of 1 pixels at pixel (4, 3)"]),
                ("a dent in the edge", dent, False, ["dent at pixel (6, 4)"]),
                ("an enclosed pocket", pocket, False, ["hole of 5 pixels at pixel (2, 3)", "dent at pixel (4, 3)"]),
                ("a dithered shadow", dither, False, ["dent at pixel (6, 6)", "hole of 1 pixels at pixel (6, 6)"]),
                ("a camouflage net", pinhole, True, []),
        ):
            with self.subTest(name):
                m, names = front_map(rows, net)
                problems = check_maps.check_front(1, m, names)
                self.assertEqual([p.split(": ", 1)[1].split(" (column")[0] for p in problems],
                                 ["a " + e for e in expected])

    def test_crowns_and_palms_have_no_pinholes_or_dents(self):
        pictures = [("crown %d %d %s" % (size, v, c), art.canopy(size, v, c))
                    for size in (2, 3) for v in range(4) for c in art.CROWN_COLOURS]
        pictures += [("palm %d" % v, art.canopy(3, v, "palm")) for v in range(4)]
        for name, g in pictures:
            with self.subTest(name):
                rows = ["".join("." if k == art.T else "#" for k in r) for r in g]
                m = fmp.Map(1, 1)
                m.width = m.height = len(rows) // 8
                m.graphics = [None] + [[[(1, 1, 1) if c == "#" else fmp.MASK_RGB for c in r[x * 8:x * 8 + 8]]
                                        for r in rows[y * 8:y * 8 + 8]]
                                       for y in range(m.height) for x in range(m.width)]
                m.blocks = [(i, 0) for i in range(len(m.graphics))]
                m.layers = [None, [[1 + y * m.width + x for x in range(m.width)] for y in range(m.height)]]
                self.assertEqual(check_maps.check_front(1, m, {1: {}}), [])

    def test_neighbouring_front_pictures_are_closed_where_they_meet(self):
        # Ragged foliage round a clearing: each block alone is closed, but
        # where their ragged edges meet they leave dents.
        rows1 = ["......", ".LLLL.", ".L..L.", ".LLLL.", "......"]
        comp, m = compose(["......"] * 5, rows1)
        raw = fmp.Map(m.width, m.height)
        raw.graphics, raw.blocks, raw.layers = [None], [(0, 0)], [None, []]
        for y in range(m.height):
            row = []
            for x in range(m.width):
                key, draw = comp._key1(x, y)
                if key is None:
                    row.append(0)
                    continue
                raw.graphics.append(art.to_rgb(draw()))
                raw.blocks.append((len(raw.graphics) - 1, 0))
                row.append(len(raw.blocks) - 1)
            raw.layers[1].append(row)
        self.assertTrue(check_maps.check_front(1, raw, {1: {}}), "the fixture has dents to close")
        self.assertEqual(check_maps.check_front(1, m, check_maps.graphic_kinds(comp)[0]), [])

    def test_a_crown_casts_its_shadow_on_the_ground_not_over_the_soldiers(self):
        ground = ["......"] * 5
        _, bare = compose(ground)
        comp, m = compose(ground, ["......", ".TT...", ".TT...", "......", "......"])
        shadow = palette.rgb("q")
        darker = 0
        for y in range(m.height):
            for x in range(m.width):
                front = m.blocks[m.layers[1][y][x]][0]
                if front > 0:
                    self.assertNotIn(shadow, [p for r in m.graphics[front] for p in r])
                g0, b0 = (mm.graphics[mm.blocks[mm.layers[0][y][x]][0]] for mm in (m, bare))
                for py in range(8):
                    for px in range(8):
                        if g0[py][px] != b0[py][px]:
                            self.assertLess(luminance(g0[py][px]), luminance(b0[py][px]))
                            self.assertGreaterEqual((x * 8 + px, y * 8 + py), (8 + 2, 8 + 2))
                            darker += 1
        self.assertGreater(darker, 10)


class HeroWays(unittest.TestCase):
    """The checker's rules for the hero's first seconds after a restart and
    for gaps between solid pictures that hold him on three sides."""

    def checker(self, rows0):
        comp, m = compose(rows0)
        checker = check_maps.Checker(1, m)
        checker.looks = check_maps.graphic_kinds(comp)[2]
        return checker

    def test_a_gap_of_one_block_beside_two_solid_blocks_wedges_the_hero(self):
        # (row of layer 0, whether it is reported)
        cases = {
            "hedge with one gap": ("..**.*..", True),
            "one gap, other side": ("..*.**..", True),
            "gap between single bushes": ("..*.*...", False),
            "gap of two blocks": ("..**..**", False),
            "rock and sandbags": ("..RR.S..", True),
            "gap beside water": ("..~~.*..", False),
        }
        for name, (row, wedged) in cases.items():
            with self.subTest(name):
                c = self.checker([row, "." * len(row)])
                c.check_wedges()
                self.assertEqual(bool(c.problems), wedged, c.problems)

    def test_holding_a_way_up_after_a_restart_finds_the_water_ahead(self):
        rows = ["~" * 40] + ["." * 40] * 30
        c = self.checker(rows)
        # Straight up from (130, 80): the probe at y + 15 reaches row 0 after
        # 88 pixels, within the 100 of two seconds.
        self.assertEqual(c.held_walk(130.0, 80.0, "Up"), (142, 7))
        self.assertIsNone(c.held_walk(130.0, 120.0, "Up"))  # 128 pixels away
        # Aside he moves two across for one up: 47.25 up, 94.5 across.
        self.assertEqual(c.held_walk(100.0, 40.0, "Up-right"), (216, 7))
        self.assertEqual(c.held_walk(150.0, 40.0, "Up-left"), (57, 7))
        # A bush in the way stops him before the water.
        rows[5] = "." * 17 + "*" + "." * 22
        c = self.checker(rows)
        self.assertIsNone(c.held_walk(130.0, 80.0, "Up"))


if __name__ == "__main__":
    unittest.main()
