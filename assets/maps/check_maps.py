"""Consistency checker for the generated maps: check_maps.py MAPS_FOLDER

Reads Level0.dat .. Level8.dat as the build wrote them and tests them
against what the game fixes (areas.py, and the area tables the game is
built from, ../areas): sizes, free ground wherever the hero starts or
restarts, a way up for him from every restart to the top, no deadly
ground in the first two seconds of a restart for a player who holds Up,
Up-left or Up-right, no one-block gap between solid pictures that holds
the hero on three sides, a free gate passage, nothing but water solid
above the hero's reach at the top and no wall below it that a gate
soldier could walk into, for every scripted actor
the terrain its kind needs, closed silhouettes in the front layer, and
in every map (the title's too) whole pictures where a picture spans
several blocks and, in every view, no more than a few white specks an
enemy bullet could hide among.  Every broken rule is reported with its
area and rule; the exit status is 1 when any rule is broken.

How the soldiers walk, and whether every area's gate wave can be ended by
a hero who shoots, is proved with the game's own code on these maps by the
play tests (tests/game/play/script/test_playable_areas.cpp); so is that no
place the hero can walk to holds him where only walking down frees him
(tests/game/play/script/test_hero_pockets.cpp), of which the gap rule here
finds the commonest shape early.
"""

import os
import sys

import areas
import fmp

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "areas"))
import area_data  # noqa: E402

TABLES = area_data.load()


def views(area):
    """The checkpoint views of an area, the start view first."""
    return [band.view for band in TABLES.checkpoints[area]]

A_W, A_H = areas.ACTOR_W, areas.ACTOR_H


class Checker:
    def __init__(self, area, m):
        self.area, self.m = area, m
        self.problems = []

    def fail(self, rule, text):
        self.problems.append("area %d, %s: %s" % (self.area, rule, text))

    # -- what lies under a pixel ------------------------------------------
    def solid(self, px, py):
        return self.m.solid_px(px, py)

    def deadly(self, px, py):
        cx, cy = int(px // 8), int(py // 8)
        return bool(self.m.flags_at(0, cx, cy) & fmp.FLAG_BR) and self.solid(px, py)

    def look(self, px, py, layer=0):
        """The graphic number at a pixel (for terrain kinds)."""
        cx, cy = int(px // 8), int(py // 8)
        if 0 <= cx < self.m.width and 0 <= cy < self.m.height:
            return self.m.blocks[self.m.layers[layer][cy][cx]][0]
        return 0

    def box_solid(self, x0, y0, x1, y1):
        """The first solid pixel (on the 8-px grid) of a box, or None."""
        for y in range(int(y0), int(y1) + 1):
            if y != int(y0) and y != int(y1) and y % 8:
                continue
            for x in range(int(x0), int(x1) + 1):
                if x != int(x0) and x != int(x1) and x % 8:
                    continue
                if self.solid(x, y):
                    return (x, y)
        return None

    # -- rules ---------------------------------------------------------------
    def check_shape(self):
        h, starts = areas.MAP_HEIGHTS[self.area], views(self.area)
        if self.m.width < 40:
            self.fail("size", "%d columns; the view needs 40" % self.m.width)
        if self.m.height != h:
            self.fail("size", "%d rows where %d are needed" % (self.m.height, h))
        start = (self.m.height - 2) * 8 - areas.VIEW_H
        if start != starts[0]:
            self.fail("start view", "the map starts the view at %d, the checkpoints expect %d" % (start, starts[0]))

    def check_hero_cells(self):
        for v in views(self.area):
            hit = self.box_solid(130, v + 124, 154, v + 145)
            if hit:
                self.fail("view %d" % v, "the hero's place (130..154, %d..%d) is not free: solid at %s"
                          % (v + 124, v + 145, hit))

    def way_up(self):
        """For every hero position, whether he can walk from it to the top.

        Moves as the hero moves (his probe points), upwards and sideways
        only, so a way found never needs the view to go back down.
        """
        m = self.m
        top = 108  # the hero's y when the view has reached the top
        hmax = m.height * 8
        xs = range(0, 297)
        free = self.solid
        good = [None] * (hmax + 1)
        good[top] = [True] * 297
        for y in range(top + 1, hmax - 20):
            above = good[y - 1]
            row = [False] * 297
            for x in xs:
                if above[x] and not free(x + 12, y + 15):
                    row[x] = True
                elif x >= 4 and above[x - 2] and not free(x + 2, y + 15):
                    row[x] = True
                elif x <= 292 and above[x + 2] and not free(x + 22, y + 15):
                    row[x] = True
            changed = True
            while changed:
                changed = False
                for x in range(295, -1, -1):  # step right into a good place
                    if not row[x] and row[x + 1] and x < 296 and not free(x + 22, y + 16):
                        row[x] = changed = True
                for x in range(1, 297):  # step left into a good place
                    if not row[x] and row[x - 1] and x > 2 and not free(x + 2, y + 16):
                        row[x] = changed = True
            good[y] = row
        return good

    def check_way_up(self):
        good = self.way_up()
        for v in views(self.area):
            y = v + 124
            if y < len(good) and good[y] is not None and not good[y][130]:
                # Say how far up he gets, to point at the obstacle.
                reach = self.highest_reach(130, y)
                self.fail("view %d" % v, "no way up for the hero from (130, %d); he gets no higher than y %d"
                          % (y, reach))

    # The hero: 0.25 px a tick, twice that across on a diagonal; a player
    # who restarts holds a way up for the first seconds.
    HERO_SPEED, HERO_ACROSS, HERO_RIGHT = 0.25, 2.0, 320 - A_W - 3
    HELD = {"Up": (0, (12, 15)), "Up-left": (-1, (2, 15)), "Up-right": (1, (22, 15))}
    HOLD_TICKS = 400  # two seconds

    def held_walk(self, x, y, key):
        """Where the hero from (x, y) holding `key` for two seconds first
        probes deadly ground, or None.  He moves while his probe is free and
        stands where it is solid, as the game moves him."""
        side, (px, py) = self.HELD[key]
        for _ in range(self.HOLD_TICKS):
            if side < 0 and x <= 2 or side > 0 and x >= self.HERO_RIGHT:
                break  # at the edge of the field he stops
            probe = (int(x + px), int(y + py))
            if self.solid(*probe):
                return probe if self.deadly(*probe) else None
            x += side * self.HERO_SPEED * self.HERO_ACROSS
            y -= self.HERO_SPEED
        return None

    def check_restart_walks(self):
        for v in views(self.area):
            for key in self.HELD:
                hit = self.held_walk(130.0, float(v + 124), key)
                if hit:
                    self.fail("view %d" % v, "the hero holding %s after the restart walks into deadly ground at %s"
                              % (key, hit))

    # How far beside a footbridge (blocks) the rule below looks: a player
    # who walks up to a bridge steers for it, not block-true, and the hero's
    # up-probe is one point at his middle.
    BRIDGE_FOOT = 2

    def check_bridge_feet(self):
        """A footbridge ends where its shore begins.  Where its planks reach
        on past the water's edge, the ground beside them looks like the way
        on to the bridge but leads straight up into the water, and drowns a
        hero who walks up a little off the bridge's line."""
        m = self.m
        planks = lambda cx, cy: 0 <= cx < m.width and self.look_name(cx * 8, cy * 8) == "planks"
        reported = set()
        for cy in range(1, m.height):
            for cx in range(m.width):
                if not planks(cx, cy):
                    continue
                for dx in range(-self.BRIDGE_FOOT, self.BRIDGE_FOOT + 1):
                    gx = cx + dx
                    if not 0 <= gx < m.width or (gx, cy) in reported or planks(gx, cy):
                        continue
                    if self.solid(gx * 8, cy * 8) or not self.deadly(gx * 8, (cy - 1) * 8):
                        continue
                    reported.add((gx, cy))
                    self.fail("bridge foot", "the ground at column %d, row %d (y %d) beside the footbridge's "
                              "planks at column %d leads straight up into the water" % (gx, cy, cy * 8, cx))

    SOLID_PICTURES = ("bush", "rock", "pebble", "trunk", "stump", "barrels", "crate", "hedgehog", "wire", "wreck",
                      "sandbags", "thicket", "bank", "fueltank", "radar", "boom", "hedge", "hay", "windmill",
                      "well", "cart", "logs", "scarecrow", "barrier", "scrub", "pillbox", "watchtower",
                      "planter", "millwheel", "battery", "ruin")

    def check_wedges(self):
        """No gap of one block between two solid pictures with a third solid
        block beside them: the hero's probes, 10 px apart, straddle such a
        gap, and a hero who steps into it diagonally is held on three sides
        (only Down frees him).  A gap of two blocks is wider than the
        probes' spacing and lets him out.  Pockets of every other shape,
        wherever he can actually walk, are found by the play tests' search
        with his own walking."""
        m = self.m
        for cy in range(m.height):
            solid = [self.solid(cx * 8, cy * 8) for cx in range(m.width)]
            for g in range(1, m.width - 1):
                if solid[g] or not (solid[g - 1] and solid[g + 1]):
                    continue
                if not all(self.looks.get(self.look(c * 8, cy * 8)) in self.SOLID_PICTURES for c in (g - 1, g + 1)):
                    continue
                if (g >= 2 and solid[g - 2]) or (g + 2 < m.width and solid[g + 2]):
                    self.fail("wedge", "a one-block gap between solid pictures at column %d, row %d (y %d) holds "
                              "the hero on three sides" % (g, cy, cy * 8))

    def highest_reach(self, x0, y0):
        free = self.solid
        cur = {x0}
        y = y0
        best = y0
        while cur and y > 0:
            frontier = list(cur)
            seen = set(cur)
            while frontier:
                x = frontier.pop()
                for nx, probe in ((x - 1, (x + 2, y + 16)), (x + 1, (x + 22, y + 16))):
                    if 2 <= nx <= 296 and nx not in seen and not free(*probe):
                        seen.add(nx)
                        frontier.append(nx)
            nxt = set()
            for x in seen:
                if not free(x + 12, y + 15):
                    nxt.add(x)
                if x > 2 and not free(x + 2, y + 15):
                    nxt.add(x - 2)
                if x < 296 and not free(x + 22, y + 15):
                    nxt.add(x + 2)
            cur = nxt
            if cur:
                y -= 1
                best = y
        return best

    def check_top(self):
        if self.area in TABLES.fortress_areas:
            hit = self.box_solid(140, 0, 204, 47 + A_H)
            if hit:
                self.fail("fortress gate", "the way out of the fortress (x 140..204, y 0..68) is blocked at %s" % (hit,))
            verde = TABLES.gates[self.area].verde
            x, y = verde.arg("x"), verde.arg("y")
            hit = self.box_solid(x + 2, y + 15, x + 22, y + 21)
            if hit:
                self.fail("verde soldier", "his place (%d, %d) is not free: solid at %s" % (x, y, hit))
        else:
            x0, x1 = areas.GATE_PASSAGE
            hit = self.box_solid(x0, 0, x1, 47)
            if hit:
                self.fail("gate", "the gate passage (x %d..%d, y 0..47) is blocked at %s" % (x0, x1, hit))
            bx0, bx1, by0, by1 = areas.BELOW_GATE
            hit = self.box_solid(bx0, by0, bx1, by1)
            if hit:
                self.fail("gate", "the ground below the gate (x %d..%d, y %d..%d) is blocked at %s"
                          % (bx0, bx1, by0, by1, hit))
        self.check_low_band()
        self.check_top_open()
        gate = TABLES.gates[self.area]
        for x, y, d in gate.doors:
            self.check_walker("side door (%d, %d)" % (x, y), x, y, [d])
        for extras in gate.extras.values():
            for call in (c for e in extras for c in (e.call, e.other) if c):
                row, side = call.arg("row"), call.arg("side")
                self.check_edge("gate wave grenadier at row %d" % row, row, side)

    def check_top_open(self):
        """Above areas.TOP_OPEN nothing stops the hero, who never gets so
        high; a soldier who walks into something solid up there is out of
        every bullet's reach.  Only water may be solid there."""
        for cy in range(areas.TOP_OPEN // 8):
            for cx in range(self.m.width):
                if self.solid(cx * 8, cy * 8) and not self.deadly(cx * 8, cy * 8):
                    self.fail("top", "solid ground at column %d, row %d (y %d), above y %d where the soldiers "
                              "walk out of the hero's shots" % (cx, cy, cy * 8, areas.TOP_OPEN))
                    return

    def check_low_band(self):
        """At the top the hero stays above y 137: his bullets across fly no
        lower than y 146 and his bullets down burst short of solid ground.
        A gate soldier who walks down into the band below, feeling for walls
        at his left edge, is swallowed by anything solid there with open
        ground on its left, out of every shot, and the wave never ends.
        Something one block wide does not hold him, and water is left to
        the play tests: at the tops of the river areas bullets fly over it."""
        y0, y1 = areas.LOW_BAND
        for cy in range(y0 // 8, (y1 + 1) // 8):
            for cx in range(1, self.m.width - 1):
                px, py = cx * 8, cy * 8
                wall = all(self.solid(x, py) and not self.deadly(x, py) for x in (px, px + 8))
                if wall and not self.solid(px - 8, py):
                    self.fail("low band", "solid ground at column %d, row %d (y %d) has open ground on its left, "
                              "below the hero's reach at the top (y %d..%d)" % (cx, cy, cy * 8, y0, y1))

    def check_edge(self, rule, y, side):
        py = y + 16
        xs = range(0, 25) if side == 6 else range(294, 319)
        for x in xs:
            if self.solid(x + 2, py):
                self.fail(rule, "a grenadier entering from the %s at y %d is blocked at (%d, %d)"
                          % ("left" if side == 6 else "right", y, x + 2, py))
                return

    PROBES = {  # runner probe points by direction
        1: (2, 15), 2: (12, 15), 3: (22, 15), 4: (2, 16), 6: (22, 16), 7: (2, 21), 8: (12, 21), 9: (22, 21)}
    G_PROBES = {1: (2, 15), 3: (2, 15), 2: (12, 15), 4: (2, 16), 6: (2, 16), 7: (2, 21), 9: (2, 21), 8: (12, 21)}
    PICKERS = area_data.PICKERS

    def check_walker(self, rule, x, y, dirs, grenadier_too=True):
        hit = self.box_solid(x + 2, y + 15, x + 22, y + 16)
        if hit:
            self.fail(rule, "the soldier at (%d, %d) stands on solid ground at %s" % (x, y, hit))
            return
        for d in dirs:
            tables = [self.PROBES, self.G_PROBES] if grenadier_too else [self.PROBES]
            for t in tables:
                px, py = t[d]
                if self.solid(x + px, y + py):
                    self.fail(rule, "the soldier at (%d, %d) cannot set off in direction %d: (%d, %d) is solid"
                              % (x, y, d, x + px, y + py))
                    return

    def check_free_box(self, rule, what, x, y):
        hit = self.box_solid(x + 2, y + 4, x + 22, y + 21)
        if hit:
            self.fail(rule, "%s at (%d, %d) is not on free ground: solid at %s" % (what, x, y, hit))

    def check_water(self, rule, x, y):
        for px, py in ((x + 12, y + 10), (x + 4, y + 10), (x + 20, y + 10), (x + 12, y + 4), (x + 12, y + 17)):
            if not self.deadly(px, py):
                self.fail(rule, "the swimmer at (%d, %d) is not in water at (%d, %d)" % (x, y, px, py))
                return

    def is_trench(self, px, py):
        return self.look_name(px, py) == "trench"

    def look_name(self, px, py, layer=0):
        return self.names.get(layer, {}).get(self.look(px, py, layer), "?")

    def check_trench(self, rule, x, y):
        for px in (x + 4, x + 12, x + 20):
            if not self.trench_at(px, y + 16):
                self.fail(rule, "the trench soldier at (%d, %d) has no trench under him at (%d, %d)"
                          % (x, y, px, y + 16))
                return
        if self.solid(x + 12, y + 16):
            self.fail(rule, "the trench at (%d, %d) is solid" % (x + 12, y + 16))

    def trench_at(self, px, py):
        return self.look(px, py) in self.trench_gfx

    def deck_at(self, px, py):
        return self.look(px, py, 1) in self.deck_gfx

    def road_at(self, px, py):
        return self.look(px, py) in self.road_gfx

    def check_bridge(self, rule, y, x_from, x_to):
        lo, hi = sorted((x_from, x_to))
        for px in range(max(lo, 0), min(hi + A_W, 320), 8):
            for py in (y + 4, y + 17):
                if not self.deck_at(px, py):
                    self.fail(rule, "the bridge soldier's way at y %d has no deck at (%d, %d)" % (y, px, py))
                    return

    def check_road(self, rule, y, height=21):
        for px in range(0, 320, 8):
            for py in (y + 4, y + height - 4):
                if not self.road_at(px, py):
                    self.fail(rule, "the vehicle at y %d has no road under it at (%d, %d)" % (y, px, py))
                    return

    def check_spawns(self):
        for area, rule, lo, hi, kind, d, late in area_data.spawn_places(TABLES):
            if area != self.area:
                continue
            r = "rule %d (%s)" % (rule, kind)
            if kind == "Granadero":
                self.check_edge(r, d["y"], 6 if d["x"] == 0 else 4)
            elif kind == "Corredor":
                x0, x1 = d["x"]
                # The runner enters at the top of the view going down.
                for x in range(x0, x1 + 1, 4):
                    if self.solid(x + 12, hi):
                        self.fail(r, "a runner entering at x %d at view %d meets solid ground at (%d, %d)"
                                  % (x, hi, x + 12, hi))
                        break
            elif kind in ("Vigilante", "Vigilante_Casa"):
                if kind == "Vigilante":
                    self.check_free_box(r, "the guard", d["x"], d["y"])
                    if self.solid(d["x"] + 12, d["y"] + 5):
                        self.fail(r, "the guard at (%d, %d) cannot run up: (%d, %d) is solid"
                                  % (d["x"], d["y"], d["x"] + 12, d["y"] + 5))
            elif kind == "pack_gr":
                self.check_free_box(r, "the grenade pack", d["x"], d["y"])
            elif kind == "Canyonero":
                self.check_walker(r, d["x"], d["y"], [1], grenadier_too=False)
            elif kind == "Verde":
                self.check_walker(r, d["x"], d["y"], [int(d["dir"])], grenadier_too=False)
            elif kind == "Trinchero":
                self.check_trench(r, d["x"], d["y"])
            elif kind == "Acuatico":
                self.check_water(r, d["x"], d["y"])
            elif kind in ("Corredor_puerta", "Granadero_puerta", "Corredor_puerta/Granadero_puerta"):
                dirs = self.PICKERS.get(d["dir"]) or (int(d["dir"]),)
                self.check_walker(r, d["x"], d["y"], dirs, grenadier_too=kind != "Corredor_puerta")
            elif kind == "Saltador":
                lx, ly = d["land"]
                self.check_free_box(r, "the jumper's landing", lx, ly)
            elif kind == "Puentero":
                self.check_bridge(r, d["y"], d["x0"], d["to"])
                end = d["to"]
                if self.solid(end + 12, d["y"] + 21):
                    self.fail(r, "the bridge soldier cannot go down at x %d: (%d, %d) is solid"
                              % (end, end + 12, d["y"] + 21))
            elif kind in ("Motero", "Granadero_puente"):
                self.check_bridge(r, d["y"], 136 if kind == "Motero" else 238, 318)
            elif kind in ("v_Jeep", "v_Moto", "v_Moto_izq", "v_Camion"):
                self.check_road(r, d["y"])
        for call in TABLES.start.get(self.area, ()):
            kind, d = area_data.place(self.area, call, 0)
            x, y = d["x"], d["y"]
            r = "area start (%s at (%d, %d))" % (kind, x, y)
            if call.picker:
                self.check_walker(r, x, y, self.PICKERS[call.picker], grenadier_too=False)
            else:
                self.check_free_box(r, "the guard", x, y)

    def check_huts(self):
        """A hut stands on dry ground, and its shells fly out of its gun
        instead of bursting at the muzzle."""
        huts = TABLES.huts.get(self.area)
        for call in huts.calls if huts else ():
            d = area_data.place(self.area, call, 0)[1]
            x, y0, y1 = d["x"], d["y"], d["bottom"]
            for py in range(y0, y1, 8):
                for px in range(x, x + area_data.HUT_W, 8):
                    if self.deadly(px, py):
                        self.fail("hut at (%d, %d)" % (x, y0), "water under the hut at (%d, %d)" % (px, py))
                        return
            for px, py in area_data.hut_shell_path(x, y0):
                if self.solid(px, py):
                    self.fail("hut at (%d, %d)" % (x, y0), "its shells burst as they leave the gun: (%d, %d) "
                              "16 px below their way is solid" % (px, py))
                    break

    def run(self, names, looks=None):
        self.names = names
        self.looks = looks or {}
        self.trench_gfx = {g for g, n in names[0].items() if n == "trench"}
        self.road_gfx = {g for g, n in names[0].items() if n == "road"}
        self.deck_gfx = {g for g, n in names[1].items() if n == "deck"}
        b0 = self.m.blocks[0]
        if b0[1] & (fmp.FLAG_TL | fmp.FLAG_BR):
            self.fail("block 0", "block 0 must be free (it lies outside the map)")
        self.check_shape()
        self.check_hero_cells()
        self.check_top()
        self.check_spawns()
        self.check_huts()
        self.check_way_up()
        self.check_restart_walks()
        self.check_bridge_feet()
        self.check_wedges()
        return self.problems


def base_key(key):
    """A graphic's key without what is laid over it: the shadow of a deck or
    of a crown, a deck's beam, the pixels that close the front layer's dents,
    and the mark of the front layer."""
    while key[0] in ("shade", "front", "shadow", "closed", "beam"):
        key = key[3:] if key[0] == "beam" else key[2:] if key[0] in ("shadow", "closed") else key[1:]
    return key


def picture_part(key):
    """(kind, size in blocks, part, which picture) when a graphic's key is a
    block of a picture spanning several blocks, else None."""
    import layout
    key = base_key(key)
    if key[0] == "object" and key[1] in layout.PICTURES[0]:
        return key[1], layout.PICTURES[0][key[1]], key[4], None
    if key[0] == "canopy":
        _, size, part, tree, colours = key
        return "crown", (size, size), part, (tree, colours)
    return None


def composed(layout_path, data):
    """What the graphics of a map file show (graphic_kinds), by composing
    its layout again.

    The file must be exactly what its layout gives; then the graphic
    numbers of the composition are those of the file.  None otherwise.
    """
    import layout
    lay = layout.read_layout(layout_path)
    comp = layout.composer(lay, layout.read_legend())
    if fmp.encode(comp.compose()) != data:
        return None
    return graphic_kinds(comp)


def graphic_kinds(comp):
    """Per layer, graphic number -> kind of ground, and graphic number ->
    the parts of pictures spanning several blocks that it shows, for a
    composition that has run; and graphic number -> look of layer 0 (the
    object a picture shows: bush, rock, trunk, ...)."""
    names = {0: {}, 1: {}}
    parts = {0: {}, 1: {}}
    looks = {}
    for key, gfx in comp.gfx_index.items():
        k = base_key(key)
        layer = 1 if key[0] == "front" else 0
        # The title map paints its front layer into the ground.
        shown = [base_key(k[1]), k[2]] if k[0] == "flat" else [k]
        kind = shown[0][0]
        if kind == "ground":
            kind = shown[0][1]
        names[layer][gfx] = kind
        parts[layer][gfx] = [p for p in map(picture_part, shown) if p]
        if layer == 0:
            looks[gfx] = shown[0][1] if kind == "object" else kind
    return names, parts, looks


def check_pictures(area, m, parts):
    """Every block of a picture that spans several blocks shows the part of
    it that its place in a whole picture asks for: the picture is cut from
    its own top-left block, all of it is there, and it is one picture (one
    crown shape), not pieces of several."""
    problems = []
    reported = set()
    for layer in (0, 1):
        if layer >= len(m.layers):
            continue
        cells = m.layers[layer]
        for y in range(m.height):
            for x in range(m.width):
                for kind, (w, h), (px, py), which in parts[layer].get(m.blocks[cells[y][x]][0], ()):
                    ox, oy = x - px, y - py
                    for j in range(h):
                        for i in range(w):
                            cx, cy = ox + i, oy + j
                            there = []
                            if 0 <= cx < m.width and 0 <= cy < m.height:
                                there = parts[layer].get(m.blocks[cells[cy][cx]][0], ())
                            if (kind, (w, h), (i, j), which) not in there and (layer, ox, oy) not in reported:
                                reported.add((layer, ox, oy))
                                problems.append(
                                    "area %d, pictures: layer %d, the %s block at column %d, row %d (y %d) is part "
                                    "(%d, %d) of a %d x %d picture whose top-left block would be at column %d, row %d, "
                                    "but column %d, row %d does not hold its part (%d, %d)"
                                    % (area, layer, kind, x, y, 8 * y, px, py, w, h, ox, oy, cx, cy, i, j))
    return problems


# An enclosed gap in the front layer smaller than this reads as a hole.
FRONT_HOLE = 32
# Dents and holes reported one by one per area; the rest are counted.
FRONT_REPORTED = 10


def check_front(area, m, names):
    """The front layer, drawn over the soldiers, has closed silhouettes:
    no transparent pixel with three or four opaque neighbours (a dent) and
    no small enclosed gap, through which a soldier's outline would show.
    Camouflage nets are see-through by design and count as gaps."""
    if len(m.layers) < 2:
        return []
    w, h = m.width * 8, m.height * 8
    # One row of booleans per pixel row, with a transparent border around.
    solid = [[False] * (w + 2) for _ in range(h + 2)]
    for cy in range(m.height):
        for cx in range(m.width):
            gfx = m.blocks[m.layers[1][cy][cx]][0]
            if gfx <= 0 or names[1].get(gfx) == "net":
                continue
            for py, row in enumerate(m.graphics[gfx]):
                line = solid[cy * 8 + py + 1]
                for px, rgb in enumerate(row):
                    line[cx * 8 + px + 1] = rgb != fmp.MASK_RGB

    problems = []
    seen = set()
    for y in range(h):
        up, row, down = solid[y], solid[y + 1], solid[y + 2]
        for x in range(w):
            if row[x + 1]:
                continue
            around = row[x] + row[x + 2] + up[x + 1] + down[x + 1]
            if around >= 3:
                problems.append("area %d, front layer: a dent at pixel (%d, %d) (column %d, row %d)"
                                % (area, x, y, x // 8, y // 8))
            if not around or (x, y) in seen:
                continue
            # The gap this pixel lies in, followed until it is known to be
            # bigger than a hole or to reach the map's edge.
            gap, todo, open_ = {(x, y)}, [(x, y)], False
            while todo and not open_:
                gx, gy = todo.pop()
                for nx, ny in ((gx + 1, gy), (gx - 1, gy), (gx, gy + 1), (gx, gy - 1)):
                    if not (0 <= nx < w and 0 <= ny < h) or len(gap) >= FRONT_HOLE:
                        open_ = True
                    elif (nx, ny) not in gap and not solid[ny + 1][nx + 1]:
                        gap.add((nx, ny))
                        todo.append((nx, ny))
            seen |= gap
            if not open_:
                gx, gy = min(gap, key=lambda p: (p[1], p[0]))
                problems.append("area %d, front layer: a hole of %d pixels at pixel (%d, %d) (column %d, row %d)"
                                % (area, len(gap), gx, gy, gx // 8, gy // 8))
    if len(problems) > FRONT_REPORTED:
        more = len(problems) - FRONT_REPORTED
        problems = problems[:FRONT_REPORTED] + ["area %d, front layer: %d more dents and holes" % (area, more)]
    return problems


# Enemy bullets are 2 x 2 pixels of pure white, drawn under the front layer;
# the ground keeps white for them.  A speck is a group of near-white pixels
# (every channel at least NEAR_WHITE) that could pass for a bullet: 1 to
# SPECK_MAX pixels joined by their sides (4-connected), as a view shows
# them: layer 0 with the opaque pixels of layer 1 over it, cut by the view's
# top and bottom.  Joining by sides only counts at least as many specks as
# joining corners too would: a diagonal pair is two specks, and a large
# patch that breaks into small groups counts as all of them.
NEAR_WHITE = 225
SPECK_MAX = 6
SPECKS_PER_VIEW = 20
# Runs of such views reported one by one per area; the rest are counted.
SPECK_VIEWS_REPORTED = 5


def near_white_pixels(m):
    """The map pixels (x, y) that show near-white, front layer over ground."""
    def light(gfx, layer):
        return [(x, y) for y, row in enumerate(m.graphics[gfx]) for x, rgb in enumerate(row)
                if min(rgb) >= NEAR_WHITE and (layer == 0 or rgb != fmp.MASK_RGB)]

    lit = ({}, {})
    out = set()
    for cy in range(m.height):
        for cx in range(m.width):
            ground = m.blocks[m.layers[0][cy][cx]][0]
            front = m.blocks[m.layers[1][cy][cx]][0] if len(m.layers) > 1 else 0
            if ground not in lit[0]:
                lit[0][ground] = light(ground, 0)
            pixels = set(lit[0][ground])
            if front > 0:
                if front not in lit[1]:
                    lit[1][front] = light(front, 1)
                g = m.graphics[front]
                pixels = {(x, y) for x, y in pixels if g[y][x] == fmp.MASK_RGB} | set(lit[1][front])
            out |= {(cx * 8 + x, cy * 8 + y) for x, y in pixels}
    return out


def groups(pixels):
    """The 4-connected groups of a set of pixels, each a list."""
    left, out = set(pixels), []
    while left:
        todo = [left.pop()]
        group = []
        while todo:
            x, y = todo.pop()
            group.append((x, y))
            for n in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
                if n in left:
                    left.remove(n)
                    todo.append(n)
        out.append(group)
    return out


def view_tops(area, m):
    """Every scroll position the game can show: an area's view runs from its
    start at the bottom of the map to the top; the title's slides lie
    within the whole map."""
    bottom = (m.height - 2) * 8 if area else m.height * 8
    return range(0, max(0, bottom - areas.VIEW_H) + 1)


def specks_per_view(area, m):
    """View top -> the specks it shows, each a list of its pixels from the
    top left."""
    pixels = near_white_pixels(m)
    whole = groups(pixels)
    rows = {}
    for i, g in enumerate(whole):
        for _, y in g:
            rows.setdefault(y, set()).add(i)
    out = {}
    for top in view_tops(area, m):
        bottom = top + areas.VIEW_H
        seen = set()
        for y in range(top, bottom):
            seen |= rows.get(y, set())
        specks = []
        for i in sorted(seen):
            g = whole[i]
            inside = [p for p in g if top <= p[1] < bottom]
            # A group the view's edge cuts shows only its part in the view.
            for part in ([g] if len(inside) == len(g) else groups(inside)):
                if len(part) <= SPECK_MAX:
                    specks.append(sorted(part, key=lambda p: (p[1], p[0])))
        out[top] = specks
    return out


def check_specks(area, m):
    """At most SPECKS_PER_VIEW bullet-like specks in every view; views that
    hold more are reported in runs, with the worst of each run."""
    counts = specks_per_view(area, m)
    bad = [top for top in sorted(counts) if len(counts[top]) > SPECKS_PER_VIEW]
    runs = []
    for top in bad:
        if runs and runs[-1][-1] == top - 1:
            runs[-1].append(top)
        else:
            runs.append([top])
    what = "area %d" % area if area else "title map"
    problems = []
    for run in runs[:SPECK_VIEWS_REPORTED]:
        worst = max(run, key=lambda t: (len(counts[t]), -t))
        firsts = sorted((s[0][1], s[0][0]) for s in counts[worst])[:3]
        at = ", ".join("(%d, %d)" % (x, y) for y, x in firsts)
        views_ = "view %d shows" % run[0] if len(run) == 1 else "views %d..%d show" % (run[0], run[-1])
        problems.append("%s, white specks: %s more than %d specks an enemy bullet could hide among "
                        "(near-white groups of 1 to %d pixels); view %d (y %d..%d) shows %d, the first at %s"
                        % (what, views_, SPECKS_PER_VIEW, SPECK_MAX, worst, worst, worst + areas.VIEW_H - 1,
                           len(counts[worst]), at))
    if len(runs) > SPECK_VIEWS_REPORTED:
        problems.append("%s, white specks: %d more runs of views with too many"
                        % (what, len(runs) - SPECK_VIEWS_REPORTED))
    return problems


def check_file(path, area, layout_path):
    with open(path, "rb") as f:
        data = f.read()
    m = fmp.decode(data)
    known = composed(layout_path, data)
    if known is None:
        return ["area %d: %s is not what %s gives (rebuild the maps)" % (area, path, layout_path)]
    names, parts, looks = known
    problems = check_pictures(area, m, parts) + check_specks(area, m)
    if area == 0:
        if m.width < 40 or m.height < areas.TITLE_HEIGHT:
            problems.append("title map: %d x %d blocks, at least 40 x %d needed" % (m.width, m.height, areas.TITLE_HEIGHT))
        return problems
    return problems + check_front(area, m, names) + Checker(area, m).run(names, looks)


def main(argv):
    if len(argv) < 2:
        print("usage: check_maps.py MAPS_FOLDER [AREA...]", file=sys.stderr)
        return 2
    folder = argv[1]
    wanted = [int(a) for a in argv[2:]] or list(range(9))
    here = os.path.dirname(os.path.abspath(__file__))
    problems = []
    for area in wanted:
        path = os.path.join(folder, "Level%d.dat" % area)
        if not os.path.exists(path):
            problems.append("area %d: %s is missing" % (area, path))
            continue
        problems += check_file(path, area, os.path.join(here, "levels", "level%d.txt" % area))
    for p in problems:
        print(p)
    print("%d areas checked, %d problems" % (len(wanted), len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
