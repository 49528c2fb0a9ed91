"""The map generator cuts every picture that spans several blocks from its
own top-left block and draws the front layer with closed silhouettes; the
map checker fails a map where either is not so."""

import os
import sys
import tempfile
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


class Legend(unittest.TestCase):
    def test_a_character_stands_for_one_look_in_each_layer(self):
        lines = ["  .    0     grass       -             open grass",
                 "  .    1     none        -             nothing in front",
                 "  m    0     ploughed    -             ploughed field"]
        cases = {"each once": ([], None),
                 "twice in layer 0": (["  m    0     barracks    solid         long huts"], "'m' stands for ploughed"),
                 "once in each layer": (["  m    1     net         -             camouflage net"], None)}
        for name, (extra, error) in cases.items():
            with self.subTest(name), tempfile.TemporaryDirectory() as d:
                path = os.path.join(d, "legend.txt")
                with open(path, "w") as f:
                    f.write("\n".join(lines + extra) + "\n")
                if error is None:
                    self.assertEqual(layout.read_legend(path)[0]["m"].look, "ploughed")
                else:
                    with self.assertRaises(layout.LayoutError) as e:
                        layout.read_legend(path)
                    self.assertIn(error, str(e.exception))


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
            "haystacks side by side, one below": (["UUUU..", "UUUU..", "..UU..", "..UU.."], None, 0, (2, 2),
                                                  [(0, 0), (2, 0), (2, 2)]),
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


def shown(m, x0, y0, w, h):
    """The pixels a view shows: the front layer over the ground."""
    out = []
    for y in range(y0, y0 + h):
        row = []
        for x in range(x0, x0 + w):
            ground = m.graphics[m.blocks[m.layers[0][y // 8][x // 8]][0]][y % 8][x % 8]
            gfx = m.blocks[m.layers[1][y // 8][x // 8]][0] if len(m.layers) > 1 else 0
            front = m.graphics[gfx][y % 8][x % 8] if gfx else fmp.MASK_RGB
            row.append(ground if front == fmp.MASK_RGB else front)
        out.append(row)
    return out


class TitleSlides(unittest.TestCase):
    """The title's slides are copied from the areas' own layouts."""

    def setUp(self):
        import tempfile
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)
        rows0 = ["." * 40] * 24
        rows0[5] = "..RR....~~~~......WWWW" + "." * 18
        rows0[6] = "..RR....~~~~......WWWW" + "." * 18
        rows0[21] = rows0[22] = ".........oo" + "." * 29   # cut by the slide's bottom edge
        rows1 = ["." * 40] * 24
        rows1[0] = rows1[1] = rows1[2] = "....YYY" + "." * 33   # cut by its top edge
        rows1[10] = rows1[11] = "." * 20 + "TT" + "." * 18
        area = layout.Layout(3, 40, 24, rows0, rows1)
        layout.write_layout(os.path.join(self.folder.name, "level3.txt"), area)

    def title(self, *slides):
        path = os.path.join(self.folder.name, "level0.txt")
        with open(path, "w", encoding="utf-8") as f:
            f.write("area 0\nsize 40 %d\n" % (layout.SLIDE_ROWS * len(slides)))
            f.writelines("slide %d %d\n" % s for s in slides)
        return path

    def test_a_slide_shows_its_view_of_the_area_as_the_area_shows_it(self):
        _, area = layout.build(os.path.join(self.folder.name, "level3.txt"))
        lay, title = layout.build(self.title((3, 16), (3, 0)))
        self.assertEqual((title.width, title.height), (40, 40))
        self.assertEqual(shown(title, 0, 0, 320, 160), shown(area, 0, 16, 320, 160))
        self.assertEqual(shown(title, 0, 160, 320, 160), shown(area, 0, 0, 320, 160))
        # The title draws its ground alone: the front layer is in it.
        self.assertTrue(all(c == 0 for row in title.layers[1] for c in row))

    def test_pictures_cut_by_a_slide_edge_pass_the_checker(self):
        path = self.title((3, 16))
        lay, title = layout.build(path)
        comp = layout.composer(lay, LEGEND)
        comp.compose()
        self.assertEqual(check_maps.check_pictures(0, title, check_maps.graphic_kinds(comp)[1]), [])
        self.assertIsNotNone(check_maps.composed(path, fmp.encode(title)))

    def test_slides_that_are_no_view_of_their_area_are_refused(self):
        for name, slides, text in (
                ("past the area's end", [(3, 40)], "the area has no view there"),
                ("off the block grid", [(3, 12)], "a multiple of 8"),
        ):
            with self.subTest(name):
                with self.assertRaises(layout.LayoutError) as e:
                    layout.build(self.title(*slides))
                self.assertIn(text, str(e.exception))


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

    def test_a_deck_shows_its_beam_in_front_and_shades_the_ground_below_it(self):
        # A deck two rows deep over grass: the block under it shows the beam
        # in front of whoever walks under the deck (and, every fifth column,
        # a post under it), then only ground, which the deck's shadow
        # darkens down into the next block.
        ground = ["......"] * 6
        _, bare = compose(ground)
        comp, m = compose(ground, ["......", "======", "======", "......", "......", "......"])
        for column, post in ((3, False), (2, True)):
            front = m.graphics[m.blocks[m.layers[1][3][column]][0]]
            self.assertTrue(all(p != fmp.MASK_RGB for r in front[:art.BEAM_H] for p in r))
            below = [x for x in range(8) if any(r[x] != fmp.MASK_RGB for r in front[art.BEAM_H:])]
            self.assertEqual(bool(below), post, below)
            self.assertLessEqual(len(below), 4)
            self.assertEqual(m.layers[1][4][column], 0)

        def darkened(y):
            g0, b0 = (mm.graphics[mm.blocks[mm.layers[0][y][3]][0]] for mm in (m, bare))
            return [py for py in range(8) if any(luminance(g0[py][px]) < luminance(b0[py][px]) for px in range(8))]
        self.assertEqual(darkened(3), list(range(art.BEAM_H, 8)))  # the beam hides the rest
        self.assertEqual(darkened(4)[:2], [0, 1])
        self.assertEqual(darkened(0), [])  # above the deck: nothing


GRASS, WHITE = (72, 150, 56), (255, 255, 255)


def speck_map(light, front=None, rows=22):
    """A map 40 px wide of plain ground with the given pixels (x, y) -> rgb
    on it, and front-layer pixels (x, y) -> rgb over it."""
    m = fmp.Map(5, rows)
    m.graphics = [[[GRASS] * 8 for _ in range(8)], [[fmp.MASK_RGB] * 8 for _ in range(8)]]
    m.blocks = [(0, 0), (1, 0)]
    m.layers = [[[0] * 5 for _ in range(rows)], [[0] * 5 for _ in range(rows)]]
    for layer, pixels, base in ((0, light, 0), (1, front or {}, 1)):
        cells = {}
        for (x, y), rgb in pixels.items():
            cells.setdefault((x // 8, y // 8), []).append((x % 8, y % 8, rgb))
        for (cx, cy), pix in sorted(cells.items()):
            g = [row[:] for row in m.graphics[base]]
            for x, y, rgb in pix:
                g[y][x] = rgb
            m.graphics.append(g)
            m.blocks.append((len(m.graphics) - 1, 0))
            m.layers[layer][cy][cx] = len(m.blocks) - 1
    return m


def white(*spots, rgb=WHITE):
    """Pixels from strings of "#" rows placed at (x, y)."""
    out = {}
    for x0, y0, rows in spots:
        for y, row in enumerate(rows):
            for x, c in enumerate(row):
                if c == "#":
                    out[(x0 + x, y0 + y)] = rgb
    return out


class WhiteSpecks(unittest.TestCase):
    def count(self, m, top=0):
        return len(check_maps.specks_per_view(1, m)[top])

    def test_small_groups_of_near_white_pixels_joined_by_their_sides_are_specks(self):
        for name, pixels, expected in (
                ("one pixel", white((3, 3, ["#"])), 1),
                ("a bullet", white((3, 3, ["##", "##"])), 1),
                ("a diagonal pair", white((3, 3, ["#.", ".#"])), 2),
                ("a flower of four petals round a dark heart", white((3, 3, [".#.", "#.#", ".#."])), 4),
                ("six in a row", white((3, 3, ["######"])), 1),
                ("seven in a row", white((3, 3, ["#######"])), 0),
                ("a patch", white((3, 3, ["###", "###", "###"])), 0),
                ("a patch and a speck at its corner", white((3, 3, ["###.", "###.", "###.", "...#"])), 1),
                ("three far apart", white((1, 1, ["#"]), (20, 30, ["##"]), (35, 150, ["#", "#"])), 3),
                ("just near-white", white((3, 3, ["#"]), rgb=(225, 225, 225)), 1),
                ("one channel below", white((3, 3, ["#"]), rgb=(255, 255, 224)), 0),
                ("the ground's cream", white((3, 3, ["##"]), rgb=palette.rgb("p")), 0),
                ("the water's foam", white((3, 3, ["##"]), rgb=palette.rgb("x")), 0),
        ):
            with self.subTest(name):
                self.assertEqual(self.count(speck_map(pixels)), expected)

    def test_the_view_shows_the_front_layer_over_the_ground(self):
        ground = white((3, 3, ["#"]), (20, 3, ["#"]))
        for name, front, expected in (
                ("nothing in front", {}, 2),
                ("a leaf over one", {(3, 3): (32, 84, 36)}, 1),
                ("a front picture's transparent pixel over one", {(4, 3): (32, 84, 36)}, 2),
                ("a white pixel in front joins one", white((3, 4, ["#"])), 2),
                ("a white pixel in front alone", white((30, 30, ["#"])), 3),
        ):
            with self.subTest(name):
                self.assertEqual(self.count(speck_map(ground, front)), expected)

    def test_every_scroll_position_shows_its_own_cut_of_a_group(self):
        # A bar of 8 pixels: while the view's bottom edge cuts it to 6 or
        # fewer, what shows of it is a speck.
        m = speck_map(white((10, 158, ["#"] * 8)), rows=23)
        per_view = check_maps.specks_per_view(1, m)
        self.assertEqual(sorted(per_view), list(range(0, 9)))
        self.assertEqual([len(per_view[t]) for t in range(9)], [1, 1, 1, 1, 1, 0, 0, 0, 0])
        self.assertEqual(per_view[0], [[(10, 158), (10, 159)]])
        # The title's slides reach the bottom row of its map.
        title = speck_map({}, rows=21)
        self.assertEqual(sorted(check_maps.specks_per_view(0, title)), list(range(0, 9)))

    def test_the_checker_fails_a_view_with_more_than_twenty_specks(self):
        # Twenty specks in rows 10..13, shown by the views from the top down
        # to view 10 of a map whose views run from 0 to 16.
        row = [(2 + 3 * (i % 12), 10 + 3 * (i // 12), ["#"]) for i in range(20)]
        self.assertEqual(check_maps.check_specks(1, speck_map(white(*row), rows=24)), [])
        for name, area, extra, expected in (
                ("one more at the top", 1, (20, 0, ["#"]),
                 "area 1, white specks: view 0 shows more than 20 specks"),
                ("one more that views 6 and below show", 1, (20, 165, ["##"]),
                 "area 1, white specks: views 6..10 show more than 20 specks"),
                ("the title map", 0, (20, 165, ["##"]),
                 "title map, white specks: views 6..10 show more than 20 specks"),
        ):
            with self.subTest(name):
                problems = check_maps.check_specks(area, speck_map(white(*row, extra), rows=24))
                self.assertEqual(len(problems), 1, problems)
                self.assertTrue(problems[0].startswith(expected), problems)
                first = extra[:2] if extra[1] < 10 else (2, 10)
                self.assertIn("shows 21, the first at (%d, %d)" % first, problems[0])

    def test_the_lightest_ground_details_stay_off_white(self):
        # Whatever a layout puts where, its petals, shore glints, paint,
        # lit tops and pebbles never pass for a bullet.
        sides = (art.N_, art.E_, art.S_, art.W_)
        tiles = [("flowers %d" % v, art.flowers_tile(art.blank("G"), v)) for v in range(10)]
        tiles += [("water %d" % v, art.water_tile(v, sides)) for v in range(4)]
        tiles += [("deck %s %d" % (style, v), art.deck_tile(v, top, bottom, style))
                  for style in ("stone", "wood") for v in range(4) for top in (0, 1) for bottom in (0, 1)]
        tiles += [("wall %s" % style, art.wall_tile(v, 1, 1, style)) for style in ("stone", "fort", "brick")
                  for v in range(2)]
        tiles += [("%s %d" % (kind, v), art.object_tile(kind, ground, v, (0, 0)))
                  for kind, ground in (("gravel", "dirt"), ("pebble", "sand"), ("rock", "grass"), ("hedgehog", "sand"))
                  for v in range(4)]
        tiles += [("ground %s %d" % (cls, v), art.ground_tile(cls, v, (4, 4, 4, 4))) for cls in art.GROUND_BASE
                  for v in range(16)]
        tiles += [("wheat %d %d" % part, art.wheat_tile(part, (), 0)) for part in ((0, 0), (1, 2), (3, 3))]
        tiles += [("ploughed %d" % v, art.ploughed_tile(v, sides)) for v in range(4)]
        tiles += [("crops %d" % v, art.crops_tile(v, sides)) for v in range(4)]
        tiles += [("%s" % name, pic) for name, pic in (("haystack", art.HAYSTACK), ("windmill", art.WINDMILL))]
        for name, g in tiles:
            with self.subTest(name):
                light = sorted({k for row in g for k in row
                                if k != art.T and min(palette.rgb(k)) >= check_maps.NEAR_WHITE})
                self.assertEqual(light, [])
class FarmTrack(unittest.TestCase):
    def test_the_ruts_follow_the_track_round_its_bends_without_a_step(self):
        # The track shifts a block sideways from one row to the next; drawn
        # block by block its ruts would jump 8 px at each shift.
        rows0 = ["..lllll.....", "..lllll.....", "...lllll....", "....lllll...", "....lllll...",
                 "...lllll....", "...lllll...."]
        comp, m = compose(rows0)
        shadow = palette.rgb("q")
        edges = []
        for py in range(m.height * 8):
            line = [m.graphics[m.blocks[m.layers[0][py // 8][px // 8]][0]][py % 8][px % 8]
                    for px in range(m.width * 8)]
            dark = [px for px, rgb in enumerate(line) if rgb == shadow]
            self.assertTrue(dark, "no rut in pixel row %d" % py)
            edges.append((min(dark), max(dark)))
        for py in range(1, len(edges)):
            for side in (0, 1):
                self.assertLessEqual(abs(edges[py][side] - edges[py - 1][side]), 2,
                                     "the %s rut steps at pixel row %d: %s" % (("left", "right")[side], py,
                                                                                edges[py - 1:py + 1]))
        # Each rut keeps one block in from the track's sides.
        self.assertIn(edges[0][0], (3 * 8 + 1, 3 * 8 + 2))
        self.assertEqual(edges[0][1], 5 * 8 + 2)


class FallenTree(unittest.TestCase):
    def test_logs_four_blocks_long_lie_as_one_tree_and_stay_solid(self):
        # Two log piles side by side would repeat one picture; a row of logs
        # four long is one tree blown down, each of its blocks a different
        # part, solid throughout and whole to the picture check, while a
        # pile of 2 x 2 on its own stays a pile.
        rows0 = ["..........", ".iiii..ii.", ".iiii..ii.", ".........."]
        comp, m = compose(rows0)
        wood = {palette.rgb("k"), palette.rgb("b")}   # outline and bark; the meadow has neither

        def drawn(x, y):
            g = m.graphics[m.blocks[m.layers[0][y][x]][0]]
            return frozenset((px, py) for py in range(8) for px in range(8) if g[py][px] in wood)
        tree = [drawn(x, y) for y in (1, 2) for x in range(1, 5)]
        pile = [drawn(x, y) for y in (1, 2) for x in (7, 8)]
        self.assertTrue(all(tree), "a block of the fallen tree shows nothing of it")
        self.assertEqual(len(set(tree)), 8, "the fallen tree repeats a part")
        self.assertFalse(set(tree) & set(pile), "the fallen tree shows a part of a log pile")
        for y in (1, 2):
            for x in list(range(1, 5)) + [7, 8]:
                self.assertTrue(m.blocks[m.layers[0][y][x]][1] & fmp.FLAG_TL, "(%d, %d) is not solid" % (x, y))
        self.assertEqual(check_maps.check_pictures(1, m, check_maps.graphic_kinds(comp)[1]), [])


class MillWheel(unittest.TestCase):
    def test_the_wheel_stands_in_the_river_whole_solid_and_the_water_goes_on_under_it(self):
        # The mill's wheel turns in the river: the hero cannot walk into it
        # but it does not drown him either, each of its nine blocks is its
        # own part, and the river above and below it runs on into it
        # instead of ending at a shore.
        rows0 = ["..~~~..", "..[[[..", "..[[[..", "..[[[..", "..~~~.."]
        comp, m = compose(rows0)

        def block(x, y):
            return m.graphics[m.blocks[m.layers[0][y][x]][0]]

        def flags(x, y):
            return m.blocks[m.layers[0][y][x]][1]
        wheel = [(x, y) for y in (1, 2, 3) for x in (2, 3, 4)]
        for x, y in wheel:
            self.assertTrue(flags(x, y) & fmp.FLAG_TL, "(%d, %d) is not solid" % (x, y))
            self.assertFalse(flags(x, y) & fmp.FLAG_BR, "(%d, %d) drowns the hero" % (x, y))
        self.assertEqual(len({tuple(map(tuple, block(x, y))) for x, y in wheel}), 9, "the wheel repeats a part")
        shore = {palette.rgb("h"), palette.rgb("n")}     # a shore's edge (its ends meet the side shores)
        for x in (2, 3, 4):
            self.assertFalse(set(block(x, 0)[7][2:6]) & shore, "the river above the wheel ends in a shore")
            self.assertFalse(set(block(x, 4)[0][2:6]) & shore, "the river below the wheel starts at a shore")
        self.assertEqual(check_maps.check_pictures(1, m, check_maps.graphic_kinds(comp)[1]), [])


class ShelledHouses(unittest.TestCase):
    def test_a_ruin_stops_the_hero_and_stands_up_from_the_ground(self):
        # A shelled house is solid everywhere (never deadly), its front row
        # ends in the dark foot of its standing wall, and it casts a shadow
        # on the grass to its right and below it, as a wall does.
        rows0 = [r.replace("#", "\\") for r in ("........", ".###....", ".###....", "........", "........")]
        comp, m = compose(rows0)

        def block(x, y):
            return m.graphics[m.blocks[m.layers[0][y][x]][0]]

        def flags(x, y):
            return m.blocks[m.layers[0][y][x]][1]
        for x, y in ((1, 1), (2, 1), (3, 1), (1, 2), (2, 2), (3, 2)):
            self.assertTrue(flags(x, y) & fmp.FLAG_TL, "(%d, %d) is not solid" % (x, y))
            self.assertFalse(flags(x, y) & fmp.FLAG_BR, "(%d, %d) drowns the hero" % (x, y))
        black = palette.rgb("k")
        for x in (1, 2, 3):
            self.assertEqual(set(block(x, 2)[7]), {black}, "the front wall at column %d has no dark foot" % x)
            self.assertNotEqual(block(x, 1), block(x, 2), "column %d shows no face in front" % x)
        open_grass = block(6, 4)
        for x, y in ((4, 1), (2, 3)):
            lit = sum(sum(p) for row in block(x, y) for p in row)
            self.assertLess(lit, sum(sum(p) for row in open_grass for p in row) - 300,
                            "no shadow beside the ruin at (%d, %d)" % (x, y))

    def test_a_hall_five_blocks_wide_shows_its_floor_and_pillars_unlike_a_house(self):
        rows0 = [r.replace("#", "\\") for r in ("#####.", "#####.", "#####.", "###...", "###...")]
        comp, m = compose(rows0)
        hall = m.graphics[m.blocks[m.layers[0][1][1]][0]]
        house = m.graphics[m.blocks[m.layers[0][3][1]][0]]
        light = palette.rgb("f")
        self.assertIn(light, [p for row in hall for p in row], "no pillar stump lit in the hall")
        self.assertNotEqual(hall, house)


class CastleGate(unittest.TestCase):
    def test_the_gatehouse_hides_the_soldiers_behind_a_closed_silhouette_and_a_dark_arch(self):
        # The gate soldiers march out from under the gatehouse: it is drawn
        # in front without a see-through pixel, and the way in under its
        # arch is dark across its middle, with stone at both ends.
        rows0 = ["$$$$$$$$$"] * 5
        rows1 = [".kkkkkkk.", ".kkkkkkk.", ".kkkkkkk.", ".........", "........."]
        comp, m = compose(rows0, rows1)
        self.assertEqual(check_maps.check_front(1, m, check_maps.graphic_kinds(comp)[0]), [])
        black, dark = palette.rgb("k"), palette.rgb("d")
        front = m.graphics[m.blocks[m.layers[1][2][4]][0]]
        self.assertTrue(all(p in (black, dark) for p in front[6]), "the arch is not open over the way's middle")
        for x in (1, 7):
            pier = [p for row in m.graphics[m.blocks[m.layers[1][2][x]][0]][4:] for p in row]
            self.assertLess(sum(p == black for p in pier), len(pier) // 2,
                            "the arch cuts into the pier at column %d" % x)


class HeroWays(unittest.TestCase):
    """The checker's rules for the hero's first seconds after a restart and
    for gaps between solid pictures that hold him on three sides."""

    def checker(self, rows0):
        comp, m = compose(rows0)
        checker = check_maps.Checker(1, m)
        checker.names, _, checker.looks = check_maps.graphic_kinds(comp)
        return checker

    def test_a_footbridge_ends_where_its_shore_begins(self):
        # A river two rows deep (rows 1, 2) with a footbridge over it; (the
        # rows from the bridge's last row down, whether it is reported).
        water = "~" * 10 + "_____" + "~" * 25
        cases = {
            "shore flush with the bridge": ([water, "." * 40], False),
            "planks a row past the shore, ground beside them": (["." * 10 + "_____" + "." * 25], True),
            "the same, the ground beside them a block off": (["~" * 10 + "_____" + "~" + "." * 24], True),
            "the same, two blocks off": (["~" * 10 + "_____" + "~~" + "." * 23], False),
            "the same, a rock beside them": (["~" * 10 + "_____" + "RR" + "." * 23, "." * 15 + "RR" + "." * 23],
                                             False),
        }
        for name, (below, reported) in cases.items():
            with self.subTest(name):
                c = self.checker(["." * 40, water, water] + below + ["." * 40] * 3)
                c.check_bridge_feet()
                self.assertEqual(bool(c.problems), reported, c.problems)

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

    def test_above_the_heros_reach_at_the_top_only_water_is_solid(self):
        # A wall and a pond drawn in the top rows: an area's own map keeps
        # the water and opens the wall to the soldiers and the bullets.
        rows = ["." * 40] * 30
        rows[3] = "...." + "W" * 10 + "~" * 6 + "." * 20
        for top_open, reported in ((False, True), (True, False)):
            with self.subTest(top_open=top_open):
                lay = layout.Layout(1, 40, len(rows), rows, ["." * 40] * len(rows))
                lay.top_open = top_open
                m = layout.Composer(lay, LEGEND).compose()
                c = check_maps.Checker(1, m)
                c.check_top_open()
                self.assertEqual(bool(c.problems), reported, c.problems)
                self.assertTrue(c.deadly(18 * 8, 3 * 8))

    def test_walls_below_the_heros_reach_at_the_top_must_not_face_open_ground_on_their_left(self):
        # (the row drawn at y 168, whether it is reported)
        cases = {
            "wall with grass on its left": ("....SSSS" + "." * 32, True),
            "wall from the left edge": ("SSSS" + "." * 36, False),
            "one block wide": ("....S..." + "." * 32, False),
            "water": ("....~~~~" + "." * 32, False),
            "grass only": ("." * 40, False),
        }
        for name, (row, reported) in cases.items():
            with self.subTest(name):
                rows = ["." * 40] * 30
                rows[21] = row
                c = self.checker(rows)
                c.check_low_band()
                self.assertEqual(bool(c.problems), reported, c.problems)
                # The same wall just above the band, where the hero's bullets
                # across reach, is no fault.
                rows[21], rows[19] = "." * 40, row
                c = self.checker(rows)
                c.check_low_band()
                self.assertEqual(c.problems, [])


class Rivers(unittest.TestCase):
    """Water drawn by the lie of its banks (areas with "water river"): the
    flags stay the legend's whatever the drawing, the shore is shaped on the
    side where the land is, and a pool in the mud is a marsh."""

    def compose(self, rows0):
        lay = layout.Layout(1, len(rows0[0]), len(rows0), rows0, ["." * len(r) for r in rows0])
        lay.water = "river"
        comp = layout.Composer(lay, LEGEND)
        return comp, comp.compose()

    def colours(self, m, x, y):
        g = m.graphics[m.blocks[m.layers[0][y][x]][0]]
        return [[g[py][px] for px in range(8)] for py in range(8)]

    def test_water_and_rapids_drown_and_a_ford_is_walked_over(self):
        rows0 = ["........", "~~~LL666", "~~~LL666", "........"]
        _, m = self.compose(rows0)
        for x, (solid, deadly) in ((1, (True, True)), (3, (False, False)), (6, (True, True))):
            flags = m.blocks[m.layers[0][1][x]][1]
            self.assertEqual((bool(flags & fmp.FLAG_TL), bool(flags & fmp.FLAG_BR)), (solid, deadly),
                             "%s at column %d" % (rows0[1][x], x))

    def test_the_shore_is_rounded_on_the_land_side_only(self):
        # A point of water reaching into the land: the block at the point's
        # north-west corner shows land at that corner and water at the
        # opposite one; the mirror image block at its north-east corner the
        # other way round (a mask read the wrong way rounds the wrong corner).
        rows0 = ["..........", "..........", "...~~~~...", "...~~~~...", "...~~~~...", ".........."]
        _, m = self.compose(rows0)
        water = {palette.rgb(k) for k in "HABCc"}
        nw, ne = self.colours(m, 3, 2), self.colours(m, 6, 2)
        self.assertNotIn(nw[0][0], water)
        self.assertIn(nw[7][7], water)
        self.assertNotIn(ne[0][7], water)
        self.assertIn(ne[7][0], water)

    def test_a_pool_with_a_muddy_shore_is_a_marsh(self):
        marsh_water = {palette.rgb("E"), palette.rgb("F")}
        for shore, marsh in (("%", True), (".", False), ("r", True)):
            rows0 = [shore * 8, shore + "~~~~~~" + shore, shore + "~~~~~~" + shore, shore * 8]
            _, m = self.compose(rows0)
            shown = {c for x in range(1, 7) for y in (1, 2) for row in self.colours(m, x, y) for c in row}
            self.assertEqual(bool(shown & marsh_water), marsh, "a pool among %r" % shore)


class Swimmers(unittest.TestCase):
    """A swimmer swims: the water of his cells below the chest is drawn again
    in front of him, so only his head and shoulders show above it."""

    def test_the_water_below_his_chest_is_drawn_in_front_of_him_and_nothing_else(self):
        # Area 2's swimmer stands with his top-left corner at (170, 571): his
        # chest is in the row of blocks from y 576, his waist at y 584.  The
        # block at column 23 of his waist row is a stone in the water.
        rows0 = ["." * 40 for _ in range(76)]
        for y in range(69, 76):
            rows0[y] = "." * 18 + "~" * 10 + "." * 12
        rows0[73] = rows0[73][:23] + "." + rows0[73][24:]
        lay = layout.Layout(2, 40, 76, rows0, ["." * 40 for _ in rows0])
        m = layout.Composer(lay, LEGEND).compose()

        def front(x, y):
            return m.blocks[m.layers[1][y][x]][0]

        def pixels(layer, x, y):
            return m.graphics[m.blocks[m.layers[layer][y][x]][0]]

        for x in (21, 22, 24):
            with self.subTest(column=x):
                self.assertGreater(front(x, 73), 0)
                # The same water as the ground's, the line where he breaks
                # the surface aside.
                self.assertEqual(pixels(1, x, 73)[2:], pixels(0, x, 73)[2:])
                self.assertNotIn(fmp.MASK_RGB, [c for row in pixels(1, x, 73) for c in row])
        ripple = [c for x in (21, 22) for c in pixels(1, x, 73)[0]]
        self.assertNotEqual(ripple, [c for x in (21, 22) for c in pixels(0, x, 73)[0]])
        self.assertEqual(front(23, 73), 0, "land under his body is not water in front of him")
        for x in range(18, 28):
            self.assertEqual(front(x, 72), 0, "his head and chest show")
        for x in (19, 20, 25, 26):
            self.assertEqual(front(x, 73), 0, "the water beside him lies behind the soldiers")

    def test_an_area_without_swimmers_has_nothing_in_front_of_its_water(self):
        rows0 = ["." * 40] + ["~" * 40 for _ in range(74)]
        lay = layout.Layout(1, 40, 75, rows0, ["." * 40 for _ in rows0])
        m = layout.Composer(lay, LEGEND).compose()
        self.assertEqual({m.blocks[b][0] for row in m.layers[1] for b in row}, {0})


class Huts(unittest.TestCase):
    """A left hut's gun fires from inside the hut's own site: its shells
    feel for solid ground 16 px below them, so the site must let them out
    or every shell bursts at the muzzle."""

    def test_the_shells_of_every_hut_leave_its_site(self):
        # Area 2's huts: left ones on rows 240 and 512, a right one on row 345.
        rows0 = ["." * 40 for _ in range(66)]
        for y0, y1, x0 in ((21, 29, 0), (55, 63, 0), (34, 42, 34)):
            for y in range(y0, y1 + 1):
                rows0[y] = rows0[y][:x0] + "000000" + rows0[y][x0 + 6:]
        lay = layout.Layout(2, 40, 66, rows0, ["." * 40 for _ in rows0])

        def problems(ports):
            saved = layout.Composer._hut_gun_ports
            if not ports:
                layout.Composer._hut_gun_ports = lambda self: set()
            try:
                m = layout.Composer(lay, LEGEND).compose()
            finally:
                layout.Composer._hut_gun_ports = saved
            c = check_maps.Checker(2, m)
            c.check_huts()
            return c.problems

        self.assertEqual(problems(ports=True), [])
        without = problems(ports=False)
        self.assertEqual(len(without), 2, without)
        self.assertTrue(all("hut at (0, " in p and "shells burst" in p for p in without), without)


class FarmBuildings(unittest.TestCase):
    def test_farm_buildings_are_boarded_in_more_than_one_way_and_a_door_does_not_split_one(self):
        # Sheds along a row, each with a door in its wall: every shed is
        # boarded one way on both sides of its door, and not all alike.
        n = 8
        rows0 = ["^^^^^." * n, "PPDPP." * n, "......" * n]
        lay = layout.Layout(1, len(rows0[0]), len(rows0), rows0, ["." * len(rows0[0])] * 3)
        lay.roofs = "pitched"
        comp = layout.Composer(lay, LEGEND)
        m = comp.compose()
        walls = set()
        for i in range(n):
            left, right = block_pixels(m, 6 * i, 1), block_pixels(m, 6 * i + 4, 1)
            self.assertEqual({c for row in left for c in row}, {c for row in right for c in row},
                             "shed %d is boarded one way left of its door and another right of it" % i)
            walls.add(tuple(tuple(row) for row in left))
        self.assertGreater(len(walls), 1, "every farm building is the same picture")

    def test_a_roof_over_timber_walls_goes_with_its_boards_and_one_over_brick_keeps_its_house(self):
        rows0 = ["^^^^...^^^^", "^^^^...^^^^", "PPPP...HHHH", "..........."]
        lay = layout.Layout(1, len(rows0[0]), len(rows0), rows0, ["." * 11] * 4)
        lay.roofs = "pitched"
        comp = layout.Composer(lay, LEGEND)
        m = comp.compose()
        boards = comp._farm_timber_style(2, 2)
        self.assertEqual(boards, comp._farm_timber_style(0, 2), "one shed is boarded two ways")
        tiles = palette.rgb(art.HOUSES[art.FARM_TIMBER_ROOFS[boards]]["roof"][0])
        shed = m.graphics[m.blocks[m.layers[0][1][1]][0]]
        self.assertIn(tiles, {c for row in shed for c in row})
        roof = m.graphics[m.blocks[m.layers[0][1][8]][0]]
        own = palette.rgb(art.HOUSES[comp.house[1][8]]["roof"][0])
        self.assertIn(own, {c for row in roof for c in row}, "the brick house's roof is not in its own colours")


def block_pixels(m, x, y, layer=0):
    return m.graphics[m.blocks[m.layers[layer][y][x]][0]]


def relative_luminance(rgb):
    def lin(c):
        c /= 255.0
        return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = (lin(c) for c in rgb)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


class StoneWalls(unittest.TestCase):
    def test_a_wall_under_a_decks_edge_is_a_pier_in_the_decks_shadow_and_a_field_wall_is_not(self):
        # Both walls stand right below the deck's rows, but only the left
        # one lies wholly under it: the right one runs out from under it.
        rows0 = ["............", "............", "WWWW....WWWW", "WWWW....WWWW", "WWWW....WWWW", "............"]
        rows1 = ["======......", "======......"] + ["." * 12] * 4
        comp, m = compose(rows0, rows1)
        self.assertEqual(comp._pier_of(1, 3), "above")
        self.assertIsNone(comp._pier_of(9, 3))
        pier, wall = block_pixels(m, 1, 2), block_pixels(m, 9, 2)
        self.assertNotEqual(pier, wall)
        # The pier's head lies in the deck's shade; the free wall's top is lit.
        head = sum(luminance(c) for c in pier[0]) / 8
        top = sum(luminance(c) for c in wall[0]) / 8
        self.assertLess(head, top - 150)

    def test_walls_in_the_jungle_are_broken_ruins_and_in_the_meadow_whole_walls(self):
        rows0 = [",,,,,,......", ",WWWW,.WWWW.", ",,,,,,......"]
        comp, m = compose(rows0)
        ground = {c for row in block_pixels(m, 0, 0) for c in row}
        broken = 0
        for x in range(1, 5):
            top = block_pixels(m, x, 1)[0]
            broken += sum(1 for c in top if c in ground)
            self.assertNotEqual(block_pixels(m, x, 1), block_pixels(m, x + 6, 1))
        self.assertGreater(broken, 0, "the ruin's top is not broken anywhere: the jungle floor never shows")
        for x in range(7, 11):
            self.assertFalse(any(c in ground for c in block_pixels(m, x, 1)[0]), "the field wall's top is broken")


class VillageHouses(unittest.TestCase):
    def test_thatch_roofs_over_timber_fronts_and_no_tiles_or_brick(self):
        rows0 = ["^^^^^^", "^^^^^^", "hhhhhh", "......"]
        lay = layout.Layout(2, 6, 4, rows0, ["." * 6] * 4)
        lay.roofs = "thatch"
        m = layout.Composer(lay, LEGEND).compose()
        roof = {c for x in range(6) for y in (0, 1) for row in block_pixels(m, x, y) for c in row}
        front = {c for x in range(6) for row in block_pixels(m, x, 2) for c in row}
        self.assertIn(palette.rgb(art.THATCH[0]), roof)
        for house in art.HOUSES:
            tiles = {palette.rgb(k) for k in house["roof"][:3]} - {palette.rgb(k) for k in art.THATCH}
            self.assertFalse(roof & tiles, "a thatched roof shows a tiled roof's colours")
            bricks = {palette.rgb(k) for k in house["wall"]} - {palette.rgb(k) for k in art.THATCH + ("n", "k", "e")}
            self.assertFalse(front & bricks, "a timber front shows a house's brick or render")


class Wheat(unittest.TestCase):
    def test_a_white_bullet_stands_out_on_nearly_all_of_the_wheat(self):
        # Contrast with white of 2:1 or more on all but a few of its pixels
        # (the lit ears on the crests of the wind's waves).
        faint = total = 0
        for py in range(4):
            for px in range(4):
                for row in art.wheat_tile((px, py), (), 0):
                    for k in row:
                        total += 1
                        faint += 1.05 / (relative_luminance(palette.rgb(k)) + 0.05) < 2.0
        self.assertLess(faint / total, 0.15)

class FarmlandAndJungleLooks(unittest.TestCase):
    def test_a_viaduct_that_carries_a_railway_shows_two_tracks_between_its_parapets(self):
        # A rail's head is a row of lit steel with its black shadow just
        # below it; the parapets' copings are lit too but cast no such line.
        rows0 = ["." * 6] * 11
        rows1 = ["." * 6] + ["=" * 6] * 9 + ["." * 6]
        steel, black = {palette.rgb("f"), palette.rgb("e")}, palette.rgb("k")
        for deck, heads in (("rails", 4), ("plain", 0)):
            lay = layout.Layout(1, 6, 11, rows0, rows1)
            lay.deck = deck
            m = layout.Composer(lay, LEGEND).compose()
            column = [row for y in range(1, 10) for row in block_pixels(m, 2, y, layer=1)]
            found = [i for i in range(len(column) - 1)
                     if set(column[i]) <= steel and set(column[i + 1]) == {black}]
            self.assertEqual(len(found), heads, "deck %s: rail heads at deck pixel rows %s" % (deck, found))
            # Two tracks, none at the deck's edges where the parapets stand.
            self.assertTrue(all(8 <= i < len(column) - 8 for i in found), "deck %s: %s" % (deck, found))
            if heads:
                self.assertGreater(found[2] - found[1], 8, "the two tracks run apart: %s" % found)

    def test_the_marsh_boardwalk_is_a_closed_walk_of_planks_without_rails(self):
        # Soldiers walk under both, so neither may show a hole; only the
        # bridge's deck carries a rail (a row mostly of its lit wood; its
        # posts break it).
        rows0 = ["." * 6] * 4
        rows1 = ["." * 6, "=" * 6, "=" * 6, "." * 6]
        rail = palette.rgb("n")
        for kind, railed in (("planks", True), ("boardwalk", False)):
            lay = layout.Layout(2, 6, 4, rows0, rows1)
            lay.row_decks = [kind] * 4
            m = layout.Composer(lay, LEGEND).compose()
            deck = [row for y in (1, 2) for row in block_pixels(m, 2, y, layer=1)]
            self.assertNotIn(palette.MASK, {c for row in deck for c in row}, kind)
            self.assertEqual(any(sum(c == rail for c in row) >= 5 for row in deck), railed, kind)

    def test_the_wild_areas_boulders_are_not_one_picture_and_the_towns_keep_theirs(self):
        # Eight boulders in a row, each 2 x 2 blocks with a block between.
        rows0 = [",RR" * 8, ",RR" * 8, "," * 24]
        varied, one = (lambda n: n > 1), (lambda n: n == 1)
        for area, shapes in ((2, varied), (5, varied), (6, varied), (7, one)):
            lay = layout.Layout(area, len(rows0[0]), len(rows0), rows0, ["." * 24] * 3)
            m = layout.Composer(lay, LEGEND).compose()
            # A boulder's shape is its black outline; the ground under it varies anyway.
            black = palette.rgb("k")
            tops = {tuple((x, y) for y, row in enumerate(block_pixels(m, 3 * i + 1, 0))
                          for x, c in enumerate(row) if c == black) for i in range(8)}
            self.assertTrue(shapes(len(tops)), "area %d: %d boulder pictures" % (area, len(tops)))

    def test_scorched_earth_is_never_a_black_hole(self):
        black = palette.rgb("k")
        for v in range(4):
            pixels = [c for row in art.draw_ground("ash", v) for c in row]
            self.assertNotIn(black, {palette.rgb(k) for k in pixels})

    def test_a_blown_up_huts_site_holds_a_heap_standing_in_its_own_shadow(self):
        # A site of 6 x 8 blocks as in the jungle's clearing: its middle is
        # the heap (straw lit on the upper left, dark to the south-east),
        # its corners still the floor inside the curb.
        w, h = 48, 64
        heap = [[art._hutsite_heap(x, y, w, h) for x in range(w)] for y in range(h)]
        self.assertIsNone(heap[5][5])
        self.assertIsNone(heap[h - 6][6])
        self.assertIn(heap[h // 2][w // 2], ("n", "Y", "b", "q", "d"))
        south_east = {heap[y][x] for y in range(h // 2, h) for x in range(w // 2, w)}
        north_west = {heap[y][x] for y in range(h // 2) for x in range(w // 2)}
        self.assertIn("k", south_east, "the heap casts no dark shadow to the south-east")
        self.assertIn("n", north_west, "the heap is not lit on its upper left")

class TownAvenue(unittest.TestCase):
    def compose(self, rows0, area=7):
        lay = layout.Layout(area, len(rows0[0]), len(rows0), rows0, ["." * len(rows0[0])] * len(rows0))
        return layout.Composer(lay, LEGEND).compose()

    def test_the_lane_paint_runs_on_past_cover_standing_on_the_asphalt(self):
        # Sandbags or a wreck at one kerb leave the avenue as wide as it is:
        # the double yellow line stays in the same column in every row and
        # no kerb is drawn along the cover; sandbags on the pavement beside
        # the avenue are no part of it.
        rows0 = ["#AAAAAAAAAAAAA#",
                 "#AAAAAAAAAAAAA#",
                 "#SSSSAAAAAAKKK#",
                 "#AAAAAAAAAAKKK#",
                 "SAAAAAAAAAAAAA#"]
        m = self.compose(rows0)
        yellow = palette.rgb("y")
        kerb = palette.rgb("f")
        for y in range(len(rows0)):
            cols = sorted({x for x in range(15) for row in block_pixels(m, x, y) if yellow in row})
            self.assertEqual(cols, [7], "row %d has its centre line at columns %s" % (y, cols))
        for x, y in ((5, 2), (10, 2), (10, 3)):
            west = [row[0] for row in block_pixels(m, x, y)]
            east = [row[7] for row in block_pixels(m, x, y)]
            self.assertNotIn(kerb, west + east, "a kerb is drawn along the cover at (%d, %d)" % (x, y))

    def test_wrecks_of_the_town_and_the_base_are_not_one_picture_repeated(self):
        rows0 = ["#" * 24] + ["#" + "KKK#" * 5 + "###"] * 2 + ["#" * 24]
        for area in (7, 8):
            m = self.compose(rows0, area)
            wrecks = {tuple(tuple(row) for row in block_pixels(m, 1 + 4 * i, 1)) for i in range(5)}
            self.assertGreater(len(wrecks), 1, "area %d: five wrecks in a row all look alike" % area)



if __name__ == "__main__":
    unittest.main()
