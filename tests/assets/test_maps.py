"""The map generator cuts every picture that spans several blocks from its
own top-left block, and the map checker fails a map where one is not."""

import os
import sys
import unittest

from assetlib import ASSETS

sys.path.insert(0, os.path.join(ASSETS, "maps"))
import check_maps  # noqa: E402
import layout  # noqa: E402

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
    _, parts = check_maps.graphic_kinds(comp)
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


if __name__ == "__main__":
    unittest.main()
