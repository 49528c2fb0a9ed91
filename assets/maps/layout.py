"""Reading the level layouts and the legend, and turning them into maps.

A layout file holds a few header lines and then one line per row of
blocks:

    area 1
    size 40 196
    0000 |<40 characters of layer 0>|<40 characters of layer 1>|

The number in front of a row is its map pixel y (row * 8); it is checked
so that an edit that loses or adds a line is caught at once.

Optional lines: "trees NAME" sets the colours of the tree crowns for the
rows that follow (green, jungle, olive, autumn, orchard); "paving NAME"
how the paving ("#") is drawn throughout (concrete slabs, or the old
town's flagstones); "flatten" paints layer 1 into layer 0 (for a map of
which only layer 0 is drawn); "ruts" wears wheel ruts into the area's dirt
tracks (those three to six blocks wide); "ground LOOK CLASS" draws the
area's ground of one look as another ground class (the desert's ochre sand,
the canyon's clay); "rock NAME" gives its cliffs the colours of another
rock (red: the canyon's sandstone); "deck rails" draws its wooden decks as a
stone railway viaduct, a double track between two parapets (the farmland's); "decks railway" draws
the wooden bridge decks of the rows that follow as a railway bridge
(sleepers and steel rails on ballast between steel parapets), "decks
boardwalk" as a walk of planks without rails over a marsh, "decks
planks" as planks again; "cliffs rounded" curves the outer corners of its
cliffs into the ground beside them instead of stepping them square.

The title map has no rows of its own: its lines "slide AREA Y" each copy
one view (20 rows) of an area's composed map from map pixel y Y, the front
layer painted into the ground, since the title draws layer 0 alone.
"""

import os
import sys

import areas
import art
import fmp

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "areas"))
import area_data  # noqa: E402

# The area tables: where the swimmers and the huts are.
TABLES = area_data.load()
FLAG_BITS = {"solid": fmp.FLAG_TL, "deadly": fmp.FLAG_BR}

GROUND = set(art.GROUND_BASE)
# How the paving may be drawn.
PAVINGS = ("concrete", "flagstones", "townflags")

# How the wooden bridge decks of a stretch of rows are drawn ("decks KIND").
DECK_KINDS = ("planks", "railway", "boardwalk")

# Objects painted over the ground, with the size in blocks of their picture.
OBJECTS = {"rock": (2, 2), "crater": (2, 2), "wreck": (3, 2), "bush": (1, 1), "trunk": (1, 1),
           "stump": (1, 1), "fence": (1, 1), "rubble": (1, 1), "barrels": (1, 1), "crate": (1, 1),
           "hedgehog": (1, 1), "wire": (1, 1), "reeds": (1, 1), "flowers": (1, 1),
           "tallgrass": (1, 1), "gravel": (1, 1), "fueltank": (2, 2), "radar": (2, 2), "boom": (1, 1),
           "hay": (2, 2), "windmill": (5, 5), "barrier": (1, 1), "scrub": (1, 1)}
OBJECTS.update({"well": (2, 2), "cart": (3, 2), "logs": (2, 2), "scarecrow": (2, 2)})   # the farm's things
FARM_THINGS = ("well", "cart", "logs", "scarecrow")
FIELDS = ("wheat", "crops", "ploughed")
OBJECTS["watchtower"] = (3, 3)
OBJECTS["millwheel"] = (3, 3)   # the valley mill's wheel, turning in the river
OBJECTS["battery"] = (2, 2)

# The grounds of a riverbed, which its banks slope down to and shade.
BED = ("dirt", "mud", "wadi")

# The ways vehicles drive on: asphalt roads and the base's other surfaces.
PAVED = ("road",) + tuple(sorted(art.PAVED))

# The town's and the base's own looks, drawn by Composer._town_key.
TOWN_LOOKS = ("towndoor", "flatroof", "cobbles", "planter", "tramway", "church", "keep")

# Pictures that span several blocks, by layer: look -> size in blocks.
PICTURES = [{k: s for k, s in OBJECTS.items() if s != (1, 1)},
            {"canopy2": (2, 2), "canopy3": (3, 3), "palm": (3, 3), "oak": (3, 3), "sapling": (2, 2)}]
# High ground: the rock of the cliffs, and the farmland's grassy knolls.
HIGH = ("cliff", "knoll")


class LayoutError(Exception):
    pass


def corners_between(sides):
    """The corners (dx, dy) of a block where two of the given sides meet,
    e.g. (1, -1) where its north and east sides both are."""
    return tuple((sx[0], sy[1]) for sx in (art.W_, art.E_) for sy in (art.N_, art.S_)
                 if sx in sides and sy in sides)


# A slide of the title map is one view: 160 px, 20 rows of blocks.
SLIDE_ROWS = 20


class Entry:
    def __init__(self, char, layer, look, flags, what):
        self.char, self.layer, self.look, self.flags, self.what = char, layer, look, flags, what


def read_legend(path=os.path.join(HERE, "legend.txt")):
    legend = {0: {}, 1: {}}
    with open(path, encoding="utf-8") as f:
        for n, line in enumerate(f, 1):
            if not line.strip() or line.startswith("#"):
                continue
            parts = line.split(None, 4)
            if len(parts) < 4:
                raise LayoutError("%s:%d: expected 'char layer look flags what'" % (path, n))
            char, layer, look, flags = parts[:4]
            bits = 0
            if flags != "-":
                for name in flags.split(","):
                    if name not in FLAG_BITS:
                        raise LayoutError("%s:%d: unknown flag %r" % (path, n, name))
                    bits |= FLAG_BITS[name]
            if char in legend[int(layer)]:
                raise LayoutError("%s:%d: %r stands for %s already in layer %s"
                                  % (path, n, char, legend[int(layer)][char].look, layer))
            legend[int(layer)][char] = Entry(char, int(layer), look, bits,
                                             parts[4].strip() if len(parts) > 4 else "")
    return legend


class Layout:
    def __init__(self, area, width, height, rows0, rows1, trees="green", flatten=False, slides=(), folder=HERE,
                 paving="concrete"):
        self.area, self.width, self.height = area, width, height
        self.paving = paving      # how the paving is drawn (PAVINGS)
        self.rows = [rows0, rows1]
        self.slides = list(slides)  # (area, y): the title's views, copied from the areas
        self.folder = folder        # where the areas' layouts are
        self.trees = trees        # colours of the tree crowns (art.CROWN_COLOURS)
        self.row_trees = [trees] * height
        self.row_decks = ["planks"] * height   # how the wooden decks of each row are drawn (DECK_KINDS)
        self.flatten = flatten    # layer 1 painted into layer 0 (the title map)
        self.ruts = False         # wheel ruts along the dirt tracks
        self.grounds = {}         # ground look -> the class it is drawn as
        self.rock = None          # the cliffs' rock (art.ROCKS), None for grey
        self.top_open = False     # nothing but water solid above areas.TOP_OPEN (an area's own map)
        self.water = "plain"      # how its water is drawn: "plain", or "river" (shaped banks, depth)
        self.roofs = "flat"       # how its roofs are drawn: "flat" courses, or "pitched" (ridge, hips)
        self.deck = "plain"       # what its wooden decks carry: "plain" planks, or "rails" (a railway)
        self.cliff_corners = "square"  # "rounded": its cliffs' outer corners curve into the ground beside them


def read_layout(path):
    area = None
    size = None
    trees, flatten, paving, ruts = "green", False, "concrete", False
    grounds, rock, water, roofs = {}, None, "plain", "flat"
    deck = "plain"
    cliff_corners = "square"
    rows0, rows1, row_trees = [], [], []
    decks, row_decks = "planks", []
    slides = []
    with open(path, encoding="utf-8") as f:
        for n, line in enumerate(f, 1):
            line = line.rstrip("\n")
            s = line.strip()
            if not s or s.startswith("#"):
                continue
            if s.startswith("area "):
                area = int(s.split()[1])
            elif s.startswith("trees "):
                # Applies to the rows that follow (the title map mixes areas).
                trees = s.split()[1]
                if trees not in art.CROWN_COLOURS:
                    raise LayoutError("%s:%d: trees %r: one of %s" % (path, n, trees, ", ".join(sorted(art.CROWN_COLOURS))))
            elif s.startswith("decks "):
                # Applies to the rows that follow: the wooden decks there are
                # drawn as planks, or as a railway bridge (sleepers and rails).
                decks = s.split()[1]
                if decks not in DECK_KINDS:
                    raise LayoutError("%s:%d: decks %r: one of %s" % (path, n, decks, ", ".join(DECK_KINDS)))
            elif s.startswith("paving "):
                paving = s.split()[1]
                if paving not in PAVINGS:
                    raise LayoutError("%s:%d: paving %r: one of %s" % (path, n, paving, ", ".join(PAVINGS)))
            elif s == "flatten":
                flatten = True
            elif s == "ruts":
                ruts = True
            elif s == "roofs pitched":
                roofs = "pitched"
            elif s == "roofs thatch":      # pitched roofs of thatch over timber fronts
                roofs = "thatch"
            elif s == "deck rails":        # the wooden decks are a stone railway viaduct
                deck = "rails"
            elif s == "cliffs rounded":    # the cliffs' outer corners curve instead of stepping square
                cliff_corners = "rounded"
            elif s.startswith("water "):
                water = s.split()[1]
                if water not in ("plain", "river"):
                    raise LayoutError("%s:%d: water %r: plain or river" % (path, n, water))
            elif s.startswith("ground "):
                parts = s.split()
                if len(parts) != 3 or parts[1] not in GROUND or parts[2] not in art.GROUND_BASE:
                    raise LayoutError("%s:%d: expected 'ground LOOK CLASS', both grounds" % (path, n))
                grounds[parts[1]] = parts[2]
            elif s.startswith("rock "):
                rock = s.split()[1]
                if rock not in art.ROCKS:
                    raise LayoutError("%s:%d: rock %r: one of %s" % (path, n, rock, ", ".join(sorted(art.ROCKS))))
            elif s.startswith("slide "):
                parts = s.split()
                if len(parts) != 3 or not all(p.isdigit() for p in parts[1:]) or int(parts[2]) % 8:
                    raise LayoutError("%s:%d: expected 'slide AREA Y' with Y a multiple of 8" % (path, n))
                slides.append((int(parts[1]), int(parts[2])))
            elif s.startswith("size "):
                _, w, h = s.split()
                size = (int(w), int(h))
            elif s[0].isdigit():
                parts = line.split("|")
                if len(parts) < 3 or size is None:
                    raise LayoutError("%s:%d: a row needs 'y |layer 0|layer 1|' after the size line" % (path, n))
                y = int(parts[0])
                if y != 8 * len(rows0):
                    raise LayoutError("%s:%d: row labelled y %d where y %d was expected" % (path, n, y, 8 * len(rows0)))
                a, b = parts[1], parts[2]
                if len(a) != size[0] or len(b) != size[0]:
                    raise LayoutError("%s:%d: each layer needs %d characters (has %d and %d)" % (path, n, size[0], len(a), len(b)))
                rows0.append(a)
                rows1.append(b)
                row_trees.append(trees)
                row_decks.append(decks)
            else:
                raise LayoutError("%s:%d: cannot read %r" % (path, n, s))
    if area is None or size is None:
        raise LayoutError("%s: needs 'area N' and 'size W H' lines" % path)
    if slides:
        if rows0 or size != (40, SLIDE_ROWS * len(slides)):
            raise LayoutError("%s: a map of slides has no rows of its own and the size 40 %d"
                              % (path, SLIDE_ROWS * len(slides)))
        return Layout(area, size[0], size[1], [], [], slides=slides, folder=os.path.dirname(os.path.abspath(path)))
    if len(rows0) != size[1]:
        raise LayoutError("%s: %d rows where the size says %d" % (path, len(rows0), size[1]))
    lay = Layout(area, size[0], size[1], rows0, rows1, row_trees[0] if row_trees else trees, flatten,
                 paving=paving)
    lay.row_trees = row_trees
    lay.row_decks = row_decks
    lay.ruts = ruts
    lay.grounds, lay.rock = grounds, rock
    lay.water, lay.roofs = water, roofs
    lay.deck = deck
    lay.cliff_corners = cliff_corners
    lay.top_open = area != 0
    return lay


def write_layout(path, layout, comments=()):
    """Writes a layout in the form read_layout reads (used by tools)."""
    with open(path, "w", encoding="utf-8") as f:
        for c in comments:
            f.write("# %s\n" % c if c else "#\n")
        f.write("area %d\n" % layout.area)
        if layout.trees != "green":
            f.write("trees %s\n" % layout.trees)
        if layout.paving != "concrete":
            f.write("paving %s\n" % layout.paving)
        if layout.flatten:
            f.write("flatten\n")
        if layout.ruts:
            f.write("ruts\n")
        for look, cls in sorted(layout.grounds.items()):
            f.write("ground %s %s\n" % (look, cls))
        if layout.rock:
            f.write("rock %s\n" % layout.rock)
        f.write("size %d %d\n" % (layout.width, layout.height))
        f.write("#   y |%s|%s|\n" % ("layer 0: ground".ljust(layout.width), "layer 1: in front".ljust(layout.width)))
        for y in range(layout.height):
            if y and layout.row_trees[y] != layout.row_trees[y - 1]:
                f.write("trees %s\n" % layout.row_trees[y])
            f.write("%04d |%s|%s|\n" % (8 * y, layout.rows[0][y], layout.rows[1][y]))


# ------------------------------------------------------------- composing ---

class Composer:
    def __init__(self, layout, legend):
        self.lay, self.legend = layout, legend
        self.w, self.h = layout.width, layout.height
        self.looks = [[[None] * self.w for _ in range(self.h)] for _ in range(2)]
        for n in range(2):
            for y in range(self.h):
                for x, ch in enumerate(layout.rows[n][y]):
                    e = legend[n].get(ch)
                    if e is None:
                        raise LayoutError("area %d, layer %d, row %d (y %d), column %d: %r is not in the legend"
                                          % (layout.area, n, y, 8 * y, x, ch))
                    self.looks[n][y][x] = e
        self.paved_under = self._paved_under()
        self.groups = self._group_boxes(0)
        self.house = self._house_looks()
        self.picture_at = [self._picture_origins(n) for n in range(2)]
        self.gfx_index = {}
        self.pictures = {}
        self.graphics = []
        self.block_index = {}
        self.blocks = []
        # Graphic 0 and block 0: plain grass, free.  Block 0 is what lies in
        # the spare column and row and outside the map, and "nothing" in front.
        self._graphic(("ground", "grass", 0, ()), lambda: art.draw_ground("grass", 0))
        self._block(0, 0)

    def _side_look(self, x, y, side):
        """The look of the layer-0 neighbour on one side of a block."""
        return self.look(0, x + side[0], y + side[1])

    def _tram_pair(self, origin):
        """The first wreck's origin when the wreck at origin lies nose to
        tail with exactly one other wreck in the same rows, else None."""
        def wreck_origin(x, y):
            if 0 <= x < self.w and self.looks[0][y][x].look == "wreck":
                o = self.picture_at[0][y][x]
                if isinstance(o, tuple) and o[1] == y:
                    return o
            return None
        oy = origin[1]
        run = [origin]
        while True:
            o = wreck_origin(run[0][0] - 1, oy)
            if o is None:
                break
            run.insert(0, o)
        while True:
            o = wreck_origin(run[-1][0] + 3, oy)
            if o is None or o == run[-1]:
                break
            run.append(o)
        return run[0] if len(run) == 2 else None

    def look(self, n, x, y):
        """The look of a neighbour; beyond the map's edge the map goes on."""
        x = min(max(x, 0), self.w - 1)
        y = min(max(y, 0), self.h - 1)
        return self.looks[n][y][x].look

    def _group_boxes(self, n):
        """Top-left corner and size of the box around each group of equal
        neighbouring blocks (scorch marks and puddles fill their group with
        one picture)."""
        origin = [[None] * self.w for _ in range(self.h)]
        for y in range(self.h):
            for x in range(self.w):
                if origin[y][x] is not None:
                    continue
                look = self.looks[n][y][x].look
                stack, cells = [(x, y)], []
                origin[y][x] = (x, y)
                while stack:
                    cx, cy = stack.pop()
                    cells.append((cx, cy))
                    for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                        nx, ny = cx + dx, cy + dy
                        if 0 <= nx < self.w and 0 <= ny < self.h and origin[ny][nx] is None \
                                and self.looks[n][ny][nx].look == look:
                            origin[ny][nx] = (x, y)
                            stack.append((nx, ny))
                ox = min(c[0] for c in cells)
                oy = min(c[1] for c in cells)
                size = (max(c[0] for c in cells) - ox + 1, max(c[1] for c in cells) - oy + 1)
                for c in cells:
                    origin[c[1]][c[0]] = (ox, oy, size)
        return origin

    def _house_looks(self):
        """Which of the house looks (wall and roof colours) each block of a
        building wears.  A building is a connected group of roof, facade and
        brick blocks; a roof right under another house's walls starts a new
        one.  Each building takes one look throughout, one its near
        neighbours do not have where the choice allows; a wall without a
        roof stays red brick, and roofs over walls of another kind (a
        fortress's) are all slate."""
        parts = ("roof", "facade", "brick")
        building = [[None] * self.w for _ in range(self.h)]
        buildings = []
        for y in range(self.h):
            for x in range(self.w):
                if building[y][x] is not None or self.looks[0][y][x].look not in parts:
                    continue
                n = len(buildings)
                stack, cells = [(x, y)], []
                building[y][x] = n
                while stack:
                    cx, cy = stack.pop()
                    cells.append((cx, cy))
                    here = self.looks[0][cy][cx].look
                    for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                        nx, ny = cx + dx, cy + dy
                        if not (0 <= nx < self.w and 0 <= ny < self.h) or building[ny][nx] is not None:
                            continue
                        there = self.looks[0][ny][nx].look
                        if there not in parts:
                            continue
                        upper, lower = (here, there) if dy > 0 else (there, here)
                        if dy and lower == "roof" and upper != "roof":
                            continue
                        building[ny][nx] = n
                        stack.append((nx, ny))
                buildings.append(cells)
        boxes = [(min(c[0] for c in cells), min(c[1] for c in cells),
                  max(c[0] for c in cells), max(c[1] for c in cells)) for cells in buildings]
        near = 6
        chosen = []
        for n, (x0, y0, x1, y1) in enumerate(boxes):
            kinds = {self.looks[0][cy][cx].look for cx, cy in buildings[n]}
            if "roof" not in kinds:
                chosen.append(None)   # a wall on its own stays brick
                continue
            if kinds == {"roof"}:
                chosen.append(art.SLATE)  # roofs over fortress walls: all slate
                continue
            taken = [chosen[m] for m, (a0, b0, a1, b1) in enumerate(boxes[:n])
                     if a0 - near <= x1 and x0 - near <= a1 and b0 - near <= y1 and y0 - near <= b1]
            fewest = min(taken.count(k) for k in range(len(art.HOUSES)))
            free = [k for k in range(len(art.HOUSES)) if taken.count(k) == fewest]
            chosen.append(free[art.cell_hash(x0, y0, self.lay.area + 7) % len(free)])
        return [[0 if b is None or chosen[b] is None else chosen[b] for b in row] for row in building]

    def _picture_origins(self, n):
        """The top-left block of the picture each picture block belongs to.

        A group of neighbouring equal picture blocks may hold several
        pictures side by side or staggered; each is cut from its own
        top-left block.  Scanning row by row, the first block not yet taken
        is always the top-left of a picture, so the group splits into whole
        pictures exactly when such a split exists.  A rock block left over
        is a small rock; any other block left over is an error in the layout.
        """
        pictures = PICTURES[n]
        at = [[None] * self.w for _ in range(self.h)]
        broken = []
        for y in range(self.h):
            for x in range(self.w):
                look = self.looks[n][y][x].look
                if look not in pictures or at[y][x] is not None:
                    continue
                pw, ph = pictures[look]
                cells = [(x + i, y + j) for j in range(ph) for i in range(pw)]
                if all(cx < self.w and cy < self.h and at[cy][cx] is None
                       and self.looks[n][cy][cx].look == look for cx, cy in cells):
                    for cx, cy in cells:
                        at[cy][cx] = (x, y)
                elif look == "rock":
                    at[y][x] = "small"
                else:
                    broken.append("%s at row %d (y %d), column %d (a whole one is %d x %d)"
                                  % (look, y, 8 * y, x, pw, ph))
        if broken:
            raise LayoutError("area %d, layer %d: these picture blocks do not make whole pictures: %s"
                              % (self.lay.area, n, "; ".join(broken)))
        return at

    def _graphic(self, key, draw):
        if key not in self.gfx_index:
            self.gfx_index[key] = len(self.graphics)
            self.graphics.append(draw())
        return self.gfx_index[key]

    def _block(self, gfx, flags):
        k = (gfx, flags)
        if k not in self.block_index:
            self.block_index[k] = len(self.blocks)
            self.blocks.append(k)
        return self.block_index[k]

    def _sides(self, n, x, y, pred, edges=True):
        """The sides whose neighbour satisfies pred; map edges never count."""
        out = []
        for side in (art.N_, art.E_, art.S_, art.W_):
            nx, ny = x + side[0], y + side[1]
            if not (0 <= nx < self.w and 0 <= ny < self.h):
                continue
            if pred(self.looks[n][ny][nx].look):
                out.append(side)
        return tuple(out)

    def _ground_near(self, x, y):
        """The ground class an object at (x, y) is drawn over: asphalt when
        the row it stands in is a way vehicles drive on at both its sides
        (a crater in the avenue), else the commonest ground around it,
        looking further out until some is found."""
        ways = set(PAVED) | {"avenue", "crossing"}

        def beside(step):
            nx = x + step
            while 0 <= nx < self.w and self.looks[0][y][nx].look in set(OBJECTS) | {"scorch", "puddle"}:
                nx += step
            return self.looks[0][y][nx].look if 0 <= nx < self.w else None
        if beside(-1) in ways and beside(1) in ways:
            return "road"
        for r in range(1, 5):
            counts = {}
            for dy in range(-r, r + 1):
                for dx in range(-r, r + 1):
                    nx, ny = x + dx, y + dy
                    if 0 <= nx < self.w and 0 <= ny < self.h:
                        lk = self.looks[0][ny][nx].look
                        if lk in GROUND and lk != "road":
                            counts[lk] = counts.get(lk, 0) + 1
            if counts:
                return self._drawn_as(max(sorted(counts), key=lambda k: counts[k]))
        # Nothing but the ways vehicles drive on around it: it lies on asphalt.
        around = {self.looks[0][ny][nx].look for ny in range(max(0, y - 2), min(self.h, y + 3))
                  for nx in range(max(0, x - 2), min(self.w, x + 3))}
        return "road" if around & ways else "grass"

    def _drawn_as(self, look):
        """The ground class a ground look is drawn with (the paving's own)."""
        return self.lay.paving if look == "concrete" else self.lay.grounds.get(look, look)

    def _fringes(self, x, y, look):
        out = []
        for side in (art.N_, art.E_, art.S_, art.W_):
            nx, ny = x + side[0], y + side[1]
            if 0 <= nx < self.w and 0 <= ny < self.h:
                other = self.looks[0][ny][nx].look
                if other in art.FRINGE_OVER and look in art.FRINGE_OVER[other]:
                    out.append((side, self._drawn_as(other)))
        return tuple(out)

    def _road_dash(self, x, y):
        def across(row):
            # In the desert and the canyon a road that runs up from another
            # to meet a crossing is a side road: it does not move the centre
            # line of the road it leaves.
            return not self.lay.rock or 2 * sum(c.look == "road" for c in self.looks[0][row]) >= self.w
        if not across(y):
            return None       # nor does a gap through a median between two carriageways
        top = y
        while top > 0 and self.looks[0][top - 1][x].look == "road" and across(top - 1):
            top -= 1
        bottom = y
        while bottom < self.h - 1 and self.looks[0][bottom + 1][x].look == "road" and across(bottom + 1):
            bottom += 1
        run = bottom - top + 1
        if run < 3 or x % 2:
            return None
        p = run * 4 - 1
        return p % 8 if top + p // 8 == y else None

    def _same_run(self, x, y, step_x, step_y):
        """How many blocks on from (x, y), stepping (step_x, step_y), wear
        its look (a wreck or a crater lying on a paved way counts as the way)."""
        look = self.paved_under.get((x, y), self.looks[0][y][x].look)
        n = 0
        while 0 <= x + (n + 1) * step_x < self.w and 0 <= y + (n + 1) * step_y < self.h:
            nx, ny = x + (n + 1) * step_x, y + (n + 1) * step_y
            if self.paved_under.get((nx, ny), self.looks[0][ny][nx].look) != look:
                break
            n += 1
        return n

    def _paved_under(self):
        """The blocks of wrecks and craters lying on the desert's concrete
        highway: the way they lie on, which runs on under them, its slabs
        and joints unbroken."""
        ways = ("highway",)
        out = {}
        for y in range(self.h):
            row = [self.looks[0][y][x].look for x in range(self.w)]
            for x in range(self.w):
                if row[x] not in ("wreck", "crater"):
                    continue
                lx, rx = x, x
                while lx >= 0 and row[lx] in ("wreck", "crater"):
                    lx -= 1
                while rx < self.w and row[rx] in ("wreck", "crater"):
                    rx += 1
                if 0 <= lx and rx < self.w and row[lx] == row[rx] and row[lx] in ways:
                    out[(x, y)] = row[lx]
        return out

    def _paved_tile(self, x, y, look, v):
        """A block of a paved way other than asphalt as it lies at (x, y)."""
        kerbs = self._sides(0, x, y, lambda o: o not in PAVED + ("avenue", "crossing", "canal"))
        kerbs = tuple(s for s in kerbs if s in (art.N_, art.S_)
                      and (x + s[0], y + s[1]) not in self.paved_under)
        band = self._band(x, y)
        key, draw = ("road", look, v % 4, band, kerbs), lambda: art.PAVED[look](v % 4, *band, kerbs)
        if look == "track" and self.lay.rock == "ochre":
            # The desert's service track: soft wandering wheel tracks in ochre gravel.
            return key + ("ochre",), lambda: art.ochre_track_tile(v % 4, *band, kerbs)
        if (look, self.lay.rock) in art.PAVED_TINTS:
            key, draw = key + (self.lay.rock,), \
                (lambda d, r: lambda: art.tinted_paving(d(), look, r))(draw, self.lay.rock)
        return key, draw

    def _row_span(self, x, y):
        """The first and last column of the run of its look that a block lies in."""
        return x - self._same_run(x, y, -1, 0), x + self._same_run(x, y, 1, 0)

    def _farm_timber_style(self, x, y):
        """How a farm building's timber walls are boarded, one way per
        building, chosen at the wall's top-left block."""
        wall = ("timber", "door", "doorway")
        ox, oy = x, y
        while ox > 0 and self.look(0, ox - 1, y) in wall:
            ox -= 1
        while oy > 0 and self.look(0, ox, oy - 1) in wall:
            oy -= 1
        return art.cell_hash(ox, oy, 48) % len(art.FARM_TIMBER_ROOFS)

    def _band(self, x, y):
        """Where a block lies in the run of its look across and up the map:
        its pixel offsets in the run and the run's size in pixels."""
        left, right = self._same_run(x, y, -1, 0), self._same_run(x, y, 1, 0)
        up, down = self._same_run(x, y, 0, -1), self._same_run(x, y, 0, 1)
        return 8 * left, 8 * up, 8 * (left + right + 1), 8 * (up + down + 1)

    def _avenue_key(self, x, y, variant):
        """An avenue block: its kerbs face what is not asphalt; its lane
        lines follow from where it lies across the avenue's width."""
        paved = PAVED + ("avenue", "crossing")

        def on_avenue(cx):
            # Asphalt, or cover (sandbags, a wreck) standing out on the
            # asphalt: the lanes and their paint run on past it.
            look = self.looks[0][y][cx].look
            if look in ("avenue", "crossing"):
                return True
            if look not in ("sandbags", "wreck"):
                return False
            return any(0 <= y + d < self.h and self.looks[0][y + d][cx].look in ("avenue", "crossing")
                       for d in (-2, -1, 1, 2))

        kerbs = tuple(s for s in self._sides(0, x, y, lambda o: o not in paved)
                      if s in (art.W_, art.E_) and not (0 <= x + s[0] < self.w and on_avenue(x + s[0])))
        left = x
        while left > 0 and on_avenue(left - 1):
            left -= 1
        right = x
        while right < self.w - 1 and on_avenue(right + 1):
            right += 1
        width, at = right - left + 1, x - left
        marking = None
        if self.looks[0][y][x].look == "crossing":
            marking = "zebra"
        elif width >= 9 and at == width // 2:
            marking = "centre"
        elif width >= 9 and at in (width // 4, width - 1 - width // 4):
            marking = "lane"
        return ("avenue", variant, kerbs, marking, y % 2), lambda: art.avenue_tile(variant, kerbs, marking, y)

    def _lane_run(self, x, y):
        """The columns the farm track spans in row y around column x (None
        where the track does not lie there)."""
        if not (0 <= y < self.h) or self.looks[0][y][x].look != "lane":
            return None
        return self._row_span(x, y)

    def _lane_key(self, x, y, variant):
        """A block of the farm track: dirt with two wheel ruts one block in
        from its sides and grass between them; where the track bends from
        one row to the next, the ruts bend with it smoothly."""
        here = self._lane_run(x, y)

        def ruts_of(run):
            if run is None or run[1] - run[0] + 1 < 4:
                return None
            return (run[0] + 1) * 8 + 1, (run[1] - 1) * 8 + 1

        mine = ruts_of(here)
        rows = []
        for py in range(8):
            if mine is None:
                rows.append(None)
                continue
            other = None
            if py < 4:
                other, f = ruts_of(self._near_run(here, y - 1)), (4 - py - 0.5) / 8
            else:
                other, f = ruts_of(self._near_run(here, y + 1)), (py - 3.5) / 8
            if other is None:
                other = mine
            rows.append(tuple(int(m + (o - m) * f + 8.5) - 8 - x * 8 for m, o in zip(mine, other)))
        ruts = tuple(rows)
        fr = self._fringes(x, y, "dirt")
        cn = self.corners("dirt", x, y)
        return ("lane", variant, ruts, fr, cn), \
            lambda: art.lane_tile(art.draw_ground("dirt", variant % 4, fr, cn), ruts, variant)

    def _near_run(self, run, y):
        """The track's span in row y that overlaps the span `run`."""
        if not (0 <= y < self.h):
            return None
        for cx in range(run[0], run[1] + 1):
            if self.looks[0][y][cx].look == "lane":
                return self._lane_run(cx, y)
        return None

    def corners(self, cls, x, y):
        """The ground tones at the four corners of a block."""
        salt = self.lay.area * 31 + sum(map(ord, cls))
        tones = tuple(art.tone_at(x + dx, y + dy, salt, cls) for dy in (0, 1) for dx in (0, 1))
        if cls == "concrete" and self.lay.area in (3, 8):
            # The base's pads and the desert gate's apron are swept: no soft
            # dark blot across their slabs (by the gate it read as a shadow).
            tones = tuple(max(1, t) for t in tones)
        if cls == "jungle" and self.lay.area == 2:
            # The jungle floor is in deep shade only under the trees, a pool
            # of it falling down and to the right of each crown as the crown's
            # own shadow does; in the open it lies lit.
            tones = tuple(self._jungle_shade(x + dx, y + dy, t) for (dx, dy), t
                          in zip(((0, 0), (1, 0), (0, 1), (1, 1)), tones))
        return tones

    def _jungle_shade(self, vx, vy, tone):
        if not hasattr(self, "_crown_pools"):
            pools = []
            for y in range(self.h):
                for x in range(self.w):
                    if self.picture_at[1][y][x] == (x, y) and self.looks[1][y][x].look in PICTURES[1]:
                        size = PICTURES[1][self.looks[1][y][x].look][0]
                        pools.append((x + size / 2.0 + 0.5, y + size / 2.0 + 0.7, size / 2.0 + 0.4))
            self._crown_pools = pools
        for cx, cy, r in self._crown_pools:
            d2 = ((vx - cx) ** 2 + (vy - cy) ** 2) / (r * r)
            if d2 < 1.0:
                return min(tone, 0 if d2 < 0.35 else 1)
        return max(tone, 2)

    def _ground_pixels(self, x, y, look):
        """The ground a picture of several blocks is painted over."""
        ground = self._ground_near(x, y)
        v = art.cell_hash(x, y, self.lay.area)
        return art.draw_ground(ground, v % 4, self._fringes(x, y, ground), self.corners(ground, x, y))

    def _component(self, x, y, kind):
        ox, oy, size = self.groups[y][x]
        key = (ox, oy, kind)
        if key not in self.pictures:
            ground = {}
            for cy in range(oy, oy + size[1]):
                for cx in range(ox, ox + size[0]):
                    tile = self._ground_pixels(cx, cy, kind)
                    for py in range(8):
                        for px in range(8):
                            ground[((cx - ox) * 8 + px, (cy - oy) * 8 + py)] = tile[py][px]
            seed = art.cell_hash(ox, oy, self.lay.area + 7)
            self.pictures[key] = art.component_picture(kind, size, seed, ground)
        pic = self.pictures[key]
        return [[pic[((x - ox) * 8 + px, (y - oy) * 8 + py)] for px in range(8)] for py in range(8)]

    def _field_under(self, x, y):
        """The field a picture of several blocks stands in: the field most of
        the blocks around its picture are, when they are more than half."""
        ox, oy = self.picture_at[0][y][x]
        w, h = OBJECTS[self.looks[0][y][x].look]
        around = [self.look(0, cx, cy) for cx in range(ox - 1, ox + w + 1) for cy in range(oy - 1, oy + h + 1)
                  if not (ox <= cx < ox + w and oy <= cy < oy + h)]
        for field in FIELDS:
            if 2 * around.count(field) > len(around):
                return field
        return None

    def _open_ground(self, x, y, raised):
        """Whether the block is on the map and not one of the raised looks."""
        return 0 <= x < self.w and 0 <= y < self.h and self.looks[0][y][x].look not in raised

    def _ruts(self, x, y):
        """The pixel columns of a dirt block that the wheel ruts of its track
        run through: two ruts a wheelbase apart about the track's middle."""
        left, right = self._row_span(x, y)
        if not 3 <= right - left + 1 <= 6:
            return ()
        middle = (left + right + 1) * 4
        return tuple(c - x * 8 for c in (middle - 8, middle + 6) if 0 <= c - x * 8 < 8)

    def _track_middle(self, x, y):
        """The pixel column of the middle of the track (a run of dirt three
        to six blocks wide) in row y nearest to column x, or None."""
        if not 0 <= y < self.h:
            return None
        for d in (0, -1, 1, -2, 2, -3, 3):
            cx = x + d
            if 0 <= cx < self.w and self.look(0, cx, y) == "dirt":
                left, right = self._row_span(cx, y)
                if 3 <= right - left + 1 <= 6:
                    return (left + right + 1) * 4
        return None

    def _winding_ruts(self, x, y):
        """For each pixel row of a block of the track, the columns (within
        the block) of its two ruts: the track's middle followed from row to
        row between the blocks' centres, wandering a little."""
        here = self._track_middle(x, y)

        def middle(row):
            # The track's middle averaged over the rows about it, so that
            # the ruts sweep round its bends instead of jogging block by block.
            found = []
            for dy in range(-3, 4):
                m = self._track_middle(here // 8, row + dy)
                if m is not None and abs(m - here) <= 8 * (abs(row - y) + abs(dy)) + 8:
                    found.append(m)
            return sum(found) / float(len(found)) if found else here
        mids = {dy: middle(y + dy) for dy in (-1, 0, 1)}
        mid = mids[0]
        rows = []
        for py in range(8):
            f = (py + 0.5 - 4) / 8.0
            m = mid + (mid - mids[-1]) * f if f < 0 else mid + (mids[1] - mid) * f
            Y = y * 8 + py
            w = 2.2 * art.smooth_noise(0, Y, 45, 22.0) - 1.1
            cols = tuple(int(round(m + off + w)) - x * 8 for off in (-8, 6))
            rows.append(tuple(c for c in cols if -3 <= c < 9))
        return tuple(rows) if any(rows) else ()

    def _cliff_shadow(self, x, y):
        """The pixels of a ground block in the shadow a cliff, a bank or a hut
        casts on it (the light comes from the upper left): below the foot of a
        face above it, to the east of one to its west; and the loose stones
        fallen at the foot of a cliff beside it."""
        # A bank's slopes face only the riverbed.
        raised = HIGH + ("bank",) if self.looks[0][y][x].look in BED else HIGH
        raised += ("hedge", "barracks")   # hedgerows and huts cast their shadows the same way

        def cliff(cx, cy, looks=raised):
            return 0 <= cx < self.w and 0 <= cy < self.h and self.looks[0][cy][cx].look in looks
        # A cliff stands tall and casts a long shadow, darkest by its foot;
        # a bank a short one.
        down = 5 if cliff(x, y - 1, HIGH) else 3
        # A knoll is a low grassy hill: its shadow to the east is a short one.
        right = 4 if cliff(x - 1, y, ("knoll",)) else 8 if cliff(x - 1, y, HIGH) else 3
        deep = set()
        if cliff(x, y - 1, HIGH):
            deep |= {(px, py) for py in range(2) for px in range(8)}
        if cliff(x - 1, y, HIGH):
            deep |= {(px, py) for py in range(8) for px in range(3)}
        pixels = set()
        if cliff(x, y - 1):
            pixels |= {(px, py) for py in range(down) for px in range(8) if py < down - 1 or (px + py) % 2}
        if cliff(x - 1, y):
            pixels |= {(px, py) for py in range(8) for px in range(right) if px < right - 1 or (px + py) % 2}
        if cliff(x - 1, y - 1) and not cliff(x - 1, y) and not cliff(x, y - 1):
            reach = 6 if cliff(x - 1, y - 1, HIGH) else 3
            pixels |= {(px, py) for py in range(3) for px in range(reach) if px >= py}
        stones = []
        # A grassy knoll sheds its stones only down its steep south face; its
        # sides are turf, cut back where they turn.
        near = [(dx, dy) for dx, dy in ((0, -1), (-1, 0), (1, 0)) if cliff(x + dx, y + dy, HIGH)
                and (dy or not cliff(x + dx, y + dy, ("knoll",)))]
        for n, (dx, dy) in enumerate(near):
            for s in range(2 + art.cell_hash(x, y, 53 + n) % 2):
                h = art.cell_hash(x * 3 + s, y * 5 + n, 59)
                along, off = h % 7, (h >> 4) % 3
                stones.append({(0, -1): (along, off), (-1, 0): (off, along), (1, 0): (6 - off, along)}[(dx, dy)])
        return tuple(sorted(pixels)) + tuple(sorted(deep)), tuple(sorted(set(stones)))

    # What stands tall enough to throw a shadow on the ground beside it, and
    # how far the shadow reaches (pixels).
    TALL = {"roof": 4, "facade": 4, "brick": 4, "wall": 4, "bunker": 4, "sandbags": 2, "rampart": 5, "tower": 7,
            "flatroof": 4, "towndoor": 4, "planter": 2}
    TALL.update({"castle": 4, "palisade": 3, "pillbox": 3, "ruin": 3})
    TALL.update({"church": 4, "keep": 5})

    def _building_shadow(self, x, y):
        """The pixels of a block of ground or street in the shadow a building,
        a wall or a sandbag wall casts with the light from the top left: a
        band along its right side and under its foot, moved down and right
        by as much as it is deep, with a dithered edge."""
        def tall(cx, cy):
            if 0 <= cx < self.w and 0 <= cy < self.h:
                return self.TALL.get(self.looks[0][cy][cx].look, 0)
            return 0

        def band(inner, px, py, d):
            return inner < d - 1 or (px + py) % 2

        west, north, corner = tall(x - 1, y), tall(x, y - 1), tall(x - 1, y - 1)
        pixels = {}   # pixel -> how deep in the shadow (the dithered edge 1, the core 2)
        def shade(px, py, inner, d):
            if band(inner, px, py, d):
                pixels[(px, py)] = max(pixels.get((px, py), 0), 2 if inner < d - 1 else 1)
        if west:
            for py in range(0 if corner else west, 8):
                for px in range(west):
                    shade(px, py, px, west)
        if north:
            for py in range(north):
                for px in range(0 if corner else north, 8):
                    shade(px, py, py, north)
        if corner and not west and not north:
            for py in range(corner):
                for px in range(corner):
                    shade(px, py, max(px, py), corner)
        # A pixel listed twice is darkened twice.
        return [p for p, n in sorted(pixels.items()) for _ in range(n)]

    def _in_building_shadow(self, x, y, key, draw):
        """A block's key and drawing with a building's shadow on it."""
        shade = tuple(self._building_shadow(x, y))
        if not shade:
            return key, draw
        return key + ("buildingshadow", shade), lambda: art.in_shadow(draw(), shade, art.CAST_TONE)

    def _key0(self, x, y):
        e = self.looks[0][y][x]
        look = e.look
        v = art.cell_hash(x, y, self.lay.area)
        if look in ("slope", "rampart", "tower", "battery"):
            return self._desert_key(x, y, look, v)
        if look in TOWN_LOOKS:
            return self._town_key(x, y, look, v)
        if look in GROUND and look != "road":
            nvar = 6 if look == "grass" else 4
            var = v % nvar
            cls = self._drawn_as(look)
            if cls == "concrete":   # slabs of 2 x 2 blocks
                var = (x % 2) + 2 * (y % 2) + 4 * (v % 4)
            elif cls == "wadi":     # one crack pattern across the bed
                var = (x % 8) + 8 * (y % 8)
            elif cls in ("flagstones", "townflags"):   # flags laid in squares of 2 x 2 blocks
                var = (x % 2) + 2 * (y % 2) + 4 * (art.cell_hash(x // 2, y // 2, self.lay.area) % 8)
            fr = self._fringes(x, y, look)
            cn = self.corners(cls, x, y)
            shade, stones = self._cliff_shadow(x, y)
            ruts = self._ruts(x, y) if look == "dirt" and self.lay.ruts else ()
            key = ("ground", look, var, fr, cn, cls)
            draw = lambda: art.draw_ground(cls, var, fr, cn)
            if look == "dirt" and self.lay.area == 2:
                # The jungle track's verges slant where it bends (area 2 only).
                floor = [sd for sd, other in fr if other == "jungle"]
                cuts = corners_between(floor)
                if cuts:
                    key, draw = key + ("cut", cuts), (lambda d: lambda: art.jungle_track_corners(d(), cuts, var))(draw)
            if look == "jungle" and self.lay.area == 2:
                # ... and the track's dirt fills the inside of its bends.
                track = [sd for sd in (art.N_, art.E_, art.S_, art.W_) if self.look(0, x + sd[0], y + sd[1]) == "dirt"]
                cuts = corners_between(track)
                if cuts:
                    key, draw = key + ("cut", cuts), (lambda d: lambda: art.jungle_floor_corners(d(), cuts, var))(draw)
            if cls == "desert":
                mask = self._dune_mask(x, y)
                if any(mask):
                    key, draw = key + ("dunes", x, y, mask), \
                        (lambda d: lambda: art.desert_dunes(d(), x, y, mask))(draw)
            if look == "dirt" and self.lay.ruts and self.lay.rock == "red":
                # The canyon road's ruts run on without a break from row to row.
                ruts = self._winding_ruts(x, y) if self._track_middle(x, y) is not None else ()
                if ruts:
                    key, draw = key + ("winding", ruts), (lambda d, r: lambda: art.winding_ruts(d(), r))(draw, ruts)
            elif ruts:
                key, draw = key + ("ruts", ruts, y % 8), (lambda d: lambda: art.wheel_ruts(d(), ruts, y % 8))(draw)
            if cls == "concrete" and self.lay.area == 2:
                # The jungle village's paving: moss in its joints, damp and leaves on it.
                mv = art.cell_hash(x, y, 191) % 6
                key, draw = key + ("moss", mv), (lambda d: lambda: art.jungle_paving(d(), var, mv))(draw)
            if cls == "concrete" and self.lay.rock == "ochre":
                # The pass's apron: the sand has drifted over its stepped corners.
                def sandy(cx, cy):
                    return 0 <= cx < self.w and 0 <= cy < self.h and self.look(0, cx, cy) == "sand"
                cut = tuple(c for c, (dx, dy) in (("se", (1, 1)), ("sw", (-1, 1)), ("ne", (1, -1)), ("nw", (-1, -1)))
                            if sandy(x + dx, y) and sandy(x, y + dy))
                if cut:
                    sv = v % 4
                    key, draw = key + ("drift", cut, sv), (lambda d: lambda: art.apron_drift(
                        d(), art.draw_ground(self._drawn_as("sand"), sv), cut))(draw)
                # and blows over its edges in tongues.
                sides = tuple(sd for sd in (art.N_, art.S_, art.W_, art.E_) if sandy(x + sd[0], y + sd[1]))
                key, draw = key + ("tongues", x, y, sides), (lambda d: lambda: art.apron_sand_drifts(
                    d(), x, y, sides))(draw)
            if ruts or shade or stones:
                # stones of the area's own rock
                scree = art.SCREES.get(self.lay.rock, art.warm_scree) if self.lay.rock else art.scree
                key, draw = key + ("cliffshadow", shade, stones) + (("warm",) if self.lay.rock else ()), \
                    (lambda d: lambda: scree(art.in_shadow(d(), shade, cls=cls), stones))(draw)
            return self._in_building_shadow(x, y, key, draw)
        if look == "lane":
            return self._lane_key(x, y, v % 4)
        if look in ("ploughed", "wheat", "crops"):
            # The meadow's fringe where a field meets it (not where it meets
            # another field, a hedge or the track).
            sides = self._sides(0, x, y, lambda o: o in ("grass", "flowers", "tallgrass"))
            var = v % 4
            if look == "ploughed":
                key, draw = ("ploughed", var, sides), lambda: art.ploughed_tile(var, sides)
            elif look == "crops":
                key, draw = ("crops", var, sides), lambda: art.crops_tile(var, sides)
            else:
                part = (x % 4, y % 4)
                key, draw = ("wheat", part, sides, var % 3), lambda: art.wheat_tile(part, sides, var % 3)
            # The farmland's fields have slanting edges where they step
            # against the meadow (area 1; other areas' fields keep theirs).
            cuts = corners_between(sides) if self.lay.area == 1 else ()
            if cuts:
                key, draw = key + ("cut", cuts), (lambda d: lambda: art.farmland_field_corners(d(), cuts, var))(draw)
            return key, draw
        if look in ("rapids", "ford") or (look == "water" and self.lay.water == "river"):
            return self._river_key(x, y, look)
        if look == "water":
            shore = self._sides(0, x, y, lambda o: o not in ("water", "millwheel"))
            if self.lay.area == 7:
                # The town's canal runs on under its footbridges; its quays hold it elsewhere.
                under = tuple(sd for sd in shore if self._side_look(x, y, sd) == "planks")
                walls = tuple(sd for sd in shore if sd not in under)
                ox = x * 8 % 40
                return ("towncanal", v % 4, walls, under, ox, y % 2), \
                    lambda: art.town_canal_tile(v % 4, walls, under, ox, y % 2)
            if self.lay.paving in ("flagstones", "townflags"):   # the town's canals and basins have stone quays
                return ("water", v % 4, shore, "quay"), lambda: art.water_tile(v % 4, shore, True)
            return ("water", v % 4, shore), lambda: art.water_tile(v % 4, shore)
        if look in PAVED:
            kerbs = self._sides(0, x, y, lambda o: o not in PAVED + ("avenue", "crossing", "canal"))
            kerbs = tuple(s for s in kerbs if s in (art.N_, art.S_))
            rails = tuple(s for s in self._sides(0, x, y, lambda o: o == "canal") if s in (art.N_, art.S_))
            if look == "road":
                dash = self._road_dash(x, y)
                calm = self.lay.area in (7, 8)    # the town's and the base's asphalt
                key, draw = ("road", v % 3, kerbs, dash, calm), lambda: art.road_tile(v % 3, kerbs, dash, calm)
                if self.lay.rock in art.ROAD_DRIFTS:
                    # The desert's sand and the canyon's dust blow over its edges.
                    key, draw = key + ("drifts", x, y, self.lay.rock), \
                        (lambda d: lambda: art.drifted_road(d(), x, y, kerbs, self.lay.rock))(draw)
            else:
                key, draw = self._paved_tile(x, y, look, v)
            if rails:
                key, draw = key + ("rails", rails), (lambda d: lambda: art.bridge_rails(d(), rails))(draw)
            return self._in_building_shadow(x, y, key, draw)
        if look == "hutsite":
            band = self._band(x, y)
            ground = self._ground_near(x, y)
            fr, cn = self._fringes(x, y, ground), self.corners(ground, x, y)
            # Each site burnt its own way: its heap and curb seeded by where it lies.
            seed = (x * 8 - band[0]) // 8 * 7 + (y * 8 - band[1]) // 8
            return ("hutsite", ground, v % 4, band, fr, cn, seed), \
                lambda: art.hutsite_tile(art.draw_ground(ground, v % 4, fr, cn), *band, seed=seed)
        if look == "barracks":
            band = self._band(x, y)
            # The base's huts differ (roof and door) from hut to hut; the village huts of area 6 are alike.
            hx, hy = x - band[0] // 8, y - band[1] // 8
            hut = (hx * 3 + hy + hx // 4) % 9 if self.lay.area == 8 else 0
            return ("barracks", v % 2, band, hut), lambda: art.barracks_tile(v % 2, *band, style=hut)
        if look == "canal":
            sides = self._sides(0, x, y, lambda o: o != "canal")
            if self.lay.area == 8:
                # The base's ditch: culverts under the ways that cross it, closed ends elsewhere.
                crossed = self._sides(0, x, y, lambda o: o in PAVED + ("avenue", "crossing"))
                ox, oy = x * 8 % 24, y * 8 % 48
                return ("ditch", ox, oy, sides, crossed), lambda: art.base_ditch_tile(ox, oy, sides, crossed)
            ox, oy = x * 8 % 24, y * 8 % 56
            return ("canal", ox, oy, sides), lambda: art.channel_tile(ox, oy, sides)
        if look in ("avenue", "crossing"):
            key, draw = self._avenue_key(x, y, v % 8)
            wear = art.cell_hash(x, y, self.lay.area + 300) % 14
            if wear <= 3 and wear and look == "avenue":
                key, draw = key + ("wear", wear), (lambda d: lambda: art.avenue_wear(d(), wear))(draw)
            return self._in_building_shadow(x, y, key, draw)
        if look == "facade" and self.lay.roofs == "thatch":
            band = self._band(x, y)
            return ("timberfront", band, x % 2), lambda: art.timber_front_tile(x % 2, *band)
        if look == "facade":
            var = x % 2
            bottom = self.look(0, x, y + 1) not in ("facade", "brick") and y < self.h - 1
            house = self.house[y][x]
            return ("facade", var, bottom, house), lambda: art.facade_tile(var, bottom, house)
        if look == "wall" and self._ground_near(x, y) == "jungle":
            # Stone walls in the jungle are the broken walls of a ruin.
            sides = self._sides(0, x, y, lambda o: o != "wall")
            ground = self._ground_near(x, y)
            fr, cn = self._fringes(x, y, ground), self.corners(ground, x, y)
            return ("ruin", sides, x, y, ground, v % 4, fr, cn), \
                lambda: art.jungle_ruin_tile(art.draw_ground(ground, v % 4, fr, cn), sides, x, y)
        if look == "wall" and self._ground_near(x, y) == "desert":
            # The desert's walls are the broken sandstone walls of a ruined fort.
            sides = self._sides(0, x, y, lambda o: o != "wall")
            ground = self._ground_near(x, y)
            fr, cn = self._fringes(x, y, ground), self.corners(ground, x, y)
            return ("desertfort", sides, x, y, v % 4, fr, cn), \
                lambda: art.desert_fort_tile(art.draw_ground(ground, v % 4, fr, cn), sides, x, y)
        if look == "wall" and self._pier_of(x, y) is not None:
            return self._pier_key(x, y, v)
        if look in ("wall", "brick", "fortwall"):
            style = {"wall": "stone", "brick": "brick", "fortwall": "fort"}[look]
            top = self.look(0, x, y - 1) != look and y > 0
            bottom = self.look(0, x, y + 1) != look and y < self.h - 1
            var = (y + (x // 2)) % 2
            house = self.house[y][x]
            return ("wall", style, var, top, bottom, house), \
                lambda: art.wall_tile(var, top, bottom, style, house)
        if look == "timber":
            band = self._band(x, y)
            boards = self._farm_timber_style(x, y)
            return ("timber", band, boards), lambda: art.farm_timber_tile(boards, *band)
        if look == "roof" and self.lay.roofs == "thatch":
            band = self._band(x, y)
            return ("thatch", v % 3, band), lambda: art.pitched_roof_tile(v % 3, *band, colours=art.THATCH)
        if look == "roof" and self.lay.roofs == "pitched":
            band, house = self._band(x, y), self.house[y][x]
            foot = y + (band[3] - band[1]) // 8
            if foot < self.h and self.looks[0][foot][x].look == "timber":
                # A timber shed's roof goes with its boards: brown tiles over
                # brown boards, slate over a red barn, red tiles over ochre
                # weatherboards.
                house = art.FARM_TIMBER_ROOFS[self._farm_timber_style(x, foot)]
            return ("pitched", v % 3, band, house), lambda: art.pitched_roof_tile(v % 3, *band, house)
        if look == "roof":
            top = self.look(0, x, y - 1) != look and y > 0
            bottom = self.look(0, x, y + 1) != look and y < self.h - 1
            house = self.house[y][x]
            left = x > 0 and self.look(0, x - 1, y) != look
            right = x < self.w - 1 and self.look(0, x + 1, y) != look
            return ("roof", v % 3, top, bottom, house, left, right), \
                lambda: art.roof_tile(v % 3, top, bottom, house, left, right)
        if look == "bunker":
            sides = self._sides(0, x, y, lambda o: o not in ("bunker", "door", "doorway"))
            if self._drawn_as("sand") == "desert":
                # The desert's bunkers are dug in under berms of its sand.
                column = self._same_run(x, y, -1, 0)
                return ("bunker", v % 5, sides, "desert", column), \
                    lambda: art.desert_bunker_tile(v % 5, sides, column)
            return ("bunker", v % 5, sides), lambda: art.bunker_tile(v % 5, sides)
        if look == "citadel":
            sides = self._sides(0, x, y, lambda o: o != "citadel")
            part = (x % 4) + 4 * (y % 2)
            depth = 0
            while depth < 3 and y + depth + 1 < self.h and self.looks[0][y + depth + 1][x].look == "citadel":
                depth += 1
            slit = x % 3 == 1
            return ("citadel", part, depth, sides, slit), lambda: art.citadel_tile(part, depth, sides, slit)
        if look == "door":
            if self._sides(0, x, y, lambda o: o == "pillbox"):
                left = self.look(0, x - 1, y) != "door"
                right = self.look(0, x + 1, y) != "door"
                return ("pillbox_door", left, right), lambda: art.pillbox_door_tile(left, right)
            sides = self._sides(0, x, y, lambda o: o in ("bunker", "wall", "brick", "fortwall", "roof", "citadel",
                                                          "facade"))
            return ("door", sides), lambda: art.door_tile(sides)
        if look == "planks":
            sides = self._sides(0, x, y, lambda o: o != "planks")
            if self.lay.area == 7:
                # The town's footbridges over its canal: timber decks with kerbs and sills.
                return ("townbridge", v % 5, sides), \
                    lambda: art.town_footbridge_tile(v % 5, sides, 0)
            # A footbridge one block deep runs across the map: rails north and south.
            across = art.N_ in sides and art.S_ in sides
            sides = tuple(sd for sd in sides if sd in ((art.N_, art.S_) if across else (art.W_, art.E_)))
            return ("planks", v % 5, sides), lambda: art.planks_tile(v % 5, sides)
        if look == "sandbags":
            col = x % art.SANDBAG_W
            top = self.look(0, x, y - 1) != look and y > 0
            bottom = self.look(0, x, y + 1) != look and y < self.h - 1
            return ("sandbags", col, top, bottom), lambda: art.sandbag_tile(col, top, bottom)
        if look == "trench":
            sides = self._sides(0, x, y, lambda o: o != "trench")
            return ("trench", v % 3, sides), lambda: art.trench_tile(v % 3, sides)
        if look in HIGH:
            # Its faces and slopes follow where the cliff ends, up to three
            # blocks below and above it and two to each side.
            around = {(dx, dy): self._open_ground(x + dx, y + dy, (look,))
                      for dx, dy in [(0, d) for d in (-3, -2, -1, 1, 2, 3)] + [(d, 0) for d in (-2, -1, 1, 2)]}
            ox, oy = x * 8 % art.ROCK_PERIOD, y * 8 % art.ROCK_PERIOD
            block = art.knoll_block if look == "knoll" else art.cliff_block
            key, draw = (look, tuple(sorted(around.items())), ox, oy), \
                lambda: block(lambda dx, dy: around[(dx, dy)], ox, oy)
            if self.lay.rock and look == "cliff":
                key, draw = key + (self.lay.rock,), (lambda d, r: lambda: art.ROCKS[r](d()))(draw, self.lay.rock)
                # Its corners that stand out into open ground are broken off.
                cut = tuple(c for c, (dx, dy) in (("se", (1, 1)), ("sw", (-1, 1)), ("ne", (1, -1)), ("nw", (-1, -1)))
                            if around[(dx, 0)] and around[(0, dy)])
                if cut:
                    ground = self._ground_near(x, y)
                    # A corner is cut along the diagonal where the rock steps
                    # on beyond it (a staircase), else only rounded off.
                    steps = {"se": (1, -1), "ne": (1, 1), "sw": (-1, -1), "nw": (-1, 1)}
                    rounded = tuple(c for c in cut if self._open_ground(x + steps[c][0], y + steps[c][1], (look,)))
                    key = key + ("cut", cut, ground, v % 4, rounded)
                    draw = (lambda d, gr, vv, c, r: lambda: art.canyon_corner_cut(d(), art.draw_ground(gr, vv), c, r))(
                        draw, ground, v % 4, cut, rounded)
            if look == "cliff" and self.lay.cliff_corners == "rounded":
                # Where the rock turns an outer corner, the corner curves
                # away and the ground beside it shows in the cut.
                opened = lambda dx, dy: self._open_ground(x + dx, y + dy, (look,))
                turns = tuple(c for c, (a, b) in (("nw", (art.N_, art.W_)), ("ne", (art.N_, art.E_)),
                                                  ("sw", (art.S_, art.W_)), ("se", (art.S_, art.E_)))
                              if opened(*a) and opened(*b) and opened(a[0] + b[0], a[1] + b[1]))
                if turns:
                    ground = self._ground_near(x, y)
                    key = key + ("rounded", turns, ground, v % 4)
                    draw = (lambda d, t, gr, vv: lambda: art.valley_cliff_corners(d(), art.draw_ground(gr, vv), t))(
                        draw, turns, ground, v % 4)
            return key, draw
        if look == "bank":
            # Its slope faces the riverbed's dirt, mud or cracked mud, one or two blocks
            # away; the plateau's ground goes on behind it.
            facing, depth = art.S_, 2
            for d in (1, 2):
                near = [sd for sd in (art.S_, art.E_, art.W_, art.N_)
                        if self.look(0, x + sd[0] * d, y + sd[1] * d) in BED]
                if near:
                    facing, depth = near[0], d
                    break
            ground = self._ground_near(x, y)
            fr, cn = self._fringes(x, y, ground), self.corners(ground, x, y)
            phase = x % 4
            return ("bank", ground, v % 4, facing, depth, fr, cn, phase), \
                lambda: art.bank_tile(art.draw_ground(ground, v % 4, fr, cn), facing, depth, v % 4, phase)
        if look == "doorway":
            # A door the soldiers come out of and the hero cannot enter.
            sides = self._sides(0, x, y, lambda o: o in ("bunker", "wall", "brick", "fortwall", "roof"))
            return ("door", sides), lambda: art.door_tile(sides)
        if look in ("thicket", "hedge"):
            # One leaf texture across the whole mass; its ground shows where
            # it ends.
            sides = self._sides(0, x, y, lambda o: o != look)
            part = (x % 4, y % 4)
            ground = self._ground_near(x, y)
            fr, cn = self._fringes(x, y, ground), self.corners(ground, x, y)
            if look == "hedge":
                return ("hedge", ground, v % 4, part, sides, fr, cn), \
                    lambda: art.hedge_tile(art.draw_ground(ground, v % 4, fr, cn), part, sides)
            return ("thicket", ground, v % 4, part, sides, fr, cn), \
                lambda: art.thicket_tile(art.draw_ground(ground, v % 4, fr, cn), part, sides, v % 3)
        if look in ("castle", "palisade", "pillbox"):
            return self._fortification_key(x, y, look, v)
        if look == "ruin":
            # A shelled house: its wall stumps ring a heap of rubble.
            depth = 0
            while depth < 1 and y + depth + 1 < self.h and self.looks[0][y + depth + 1][x].look == look:
                depth += 1
            sides = self._sides(0, x, y, lambda o: o != look)
            left, right = self._same_run(x, y, -1, 0), self._same_run(x, y, 1, 0)
            hall = (left, self._same_run(x, y, 0, -1)) if left + right + 1 >= 5 else None
            return ("ruin", x, y, depth, sides, hall), lambda: art.ruin_tile(x, y, depth, sides, hall)
        if look in ("scorch", "puddle"):
            ox, oy, _ = self.groups[y][x]
            return ("object", look, ox, oy, x, y), lambda: self._component(x, y, look)
        if look == "logs" and self.groups[y][x][2][0] >= 4:
            # Logs lying in a row four blocks long or more: a tree blown down.
            ox, oy, size = self.groups[y][x]
            origin = self.picture_at[0][y][x]
            part = (x - origin[0], y - origin[1])
            whole = (min(x - ox, 3), y - oy)
            ground = self._ground_near(x, y)
            fr, cn = self._fringes(x, y, ground), self.corners(ground, x, y)
            return ("object", look, ground, v % 4, part, fr, cn, "fallen", whole), \
                lambda: art.fallen_tree_tile(art.draw_ground(ground, v % 4, fr, cn), whole)
        if look in FARM_THINGS and self._field_under(x, y):
            # A farm thing standing in a field: the field goes on under it.
            field, origin = self._field_under(x, y), self.picture_at[0][y][x]
            part, var = (x - origin[0], y - origin[1]), v % 4
            return ("object", look, field, var, part), lambda: art.in_field(look, field, x, y, var, part)
        if look == "millwheel":
            # The wheel turns in the river: the water goes on under it.
            origin = self.picture_at[0][y][x]
            part = (x - origin[0], y - origin[1])
            if self.lay.water == "river":
                # The river's own deep water, banks and all, runs on under it.
                rkey, rdraw = self._river_key(x, y, "water")
                return ("millwheel", part) + rkey, (lambda d: lambda: art.mill_wheel_tile(d(), part))(rdraw)
            shore = self._sides(0, x, y, lambda o: o not in ("water", "millwheel"))
            return ("millwheel", v % 4, part, shore), \
                lambda: art.mill_wheel_tile(art.water_tile(v % 4, shore), part)
        if look == "rubble" and self.lay.area == 6:
            # The hill village's burnt hut sites: each drawn whole, its
            # sill, floor and fallen timbers, fading into the ground round it.
            sides = self._sides(0, x, y, lambda o: o != "rubble")
            ground = self._ground_near(x, y)
            return ("hutsite6", x, y, sides, ground), \
                lambda: art.burnt_hut_site_tile(art.draw_ground(ground, v % 4), x, y, sides)
        if look in OBJECTS:
            kind, part = look, (0, 0)
            origin = self.picture_at[0][y][x]
            if origin == "small":
                kind = "pebble"
            elif origin is not None:
                part = (x - origin[0], y - origin[1])
            if (x, y) in self.paved_under and kind in ("wreck", "crater") and isinstance(origin, tuple):
                # A wreck or a shell hole on the highway: its slabs go on under it.
                way = self.paved_under[(x, y)]
                bkey, base = self._paved_tile(x, y, way, v)
                if kind == "crater":
                    cv = art.cell_hash(*origin, self.lay.area + 11) % len(art.CRATERS)
                    return ("object", kind, way, 0, part, cv) + bkey, lambda: art.crater_tile(base(), cv, part)
                # Every other wreck lies the other way round.
                flip = art.cell_hash(*origin, self.lay.area + 13) % 2
                return ("object", kind, way, 0, part, flip) + bkey, \
                    lambda: art.standing_on(base(), kind, v % 4, part, flip)
            ground = self._ground_near(x, y)
            fr = self._fringes(x, y, ground)
            cn = self.corners(ground, x, y)
            var = v % 4
            if kind == "wreck" and isinstance(origin, tuple) and self.lay.area in (3, 4) \
                    and ground in art.GROUND_BASE and art.cell_hash(*origin, self.lay.area + 13) % 2:
                # The burnt cars of the desert and the canyon lie either way round off the roads too.
                return ("object", kind, ground, var, part, fr, cn, "flipped"), \
                    lambda: art.standing_on(art.draw_ground(ground, var, fr, cn), kind, var, part, True)
            if kind in ("fueltank", "barrels") and self.lay.rock == "ochre":
                # The desert's tanks and drums in sand paint streaked with rust.
                return ("object", kind, ground, var, part, fr, cn, "desert"), \
                    lambda: art.desert_supply_tile(kind, ground, var, part, fr, cn)
            if kind == "cart" and ground == "ash":
                kind = "burntcart"      # a cart on scorched ground burnt with it
            if kind == "crater" and isinstance(origin, tuple):
                # Each crater a shape of its own, chosen at its top-left block.
                cv = art.cell_hash(*origin, self.lay.area + 11) % len(art.CRATERS)
                base = (lambda: art.draw_ground(ground, var, fr, cn)) if ground in art.GROUND_BASE else \
                    (lambda: art.blank("G"))
                return ("object", kind, ground, var, part, fr, cn, cv), lambda: art.crater_tile(base(), cv, part)
            if kind == "hay" and isinstance(origin, tuple) and self.lay.area == 1:
                # The farm's haystacks each one of a few, chosen at the stack's top-left block.
                hv = art.cell_hash(*origin, self.lay.area + 29) % len(art.FARM_HAYSTACKS)
                return ("object", kind, ground, var, part, fr, cn, "farmhay", hv), \
                    lambda: art.farm_haystack_tile(art.draw_ground(ground, var, fr, cn) if ground in art.GROUND_BASE
                                                   else art.blank("G"), hv, part)
            if kind == "wreck" and self.lay.area == 7 and isinstance(origin, tuple):
                # Two of the town's wrecks nose to tail are one burnt-out tram car.
                first = self._tram_pair(origin)
                if first is not None:
                    tp = (x - first[0], y - first[1])
                    return ("object", kind, ground, var, tp, fr, cn, "tram"), \
                        lambda: art.town_tram_wreck_tile(ground, var, tp, fr, cn)
            if kind == "wreck" and self.lay.area in (7, 8) and isinstance(origin, tuple):
                # The town's and the base's wrecks each one of a few, chosen
                # at the wreck's top-left block.
                wv = art.cell_hash(*origin, self.lay.area + 23) % len(art.WRECKS)
                return ("object", kind, ground, var, part, fr, cn, "wreck", wv), \
                    lambda: art.wreck_tile(ground, var, part, fr, cn, wv)
            if kind == "rock" and isinstance(origin, tuple) and self.lay.area in (1, 2, 5, 6) and not self.lay.rock:
                # The farmland's, the jungle's, the valley's and the hills'
                # boulders: each a fieldstone of its own shape, lichened in
                # the open, mossy in the jungle.
                sv = art.cell_hash(*origin, self.lay.area + 17) % len(art.FIELDSTONES[False])
                moss = self.lay.area == 2
                return ("object", kind, ground, var, part, fr, cn, ("fieldstone", sv, moss)), \
                    lambda: art.fieldstone_tile(art.draw_ground(ground, var, fr, cn) if ground in art.GROUND_BASE
                                                else art.blank("G"), sv, part, moss)
            if kind == "rock" and isinstance(origin, tuple) and self.lay.rock:
                # The desert's and the canyon's boulders: each of its own outline in the area's rock.
                sv = art.cell_hash(*origin, self.lay.area + 29) % len(art.SANDSTONE_BOULDERS)
                return ("object", kind, ground, var, part, fr, cn, ("sandstone", sv, self.lay.rock)), \
                    lambda: art.sandstone_boulder_tile(art.draw_ground(ground, var, fr, cn) if ground in art.GROUND_BASE
                                                       else art.blank("G"), sv, part, self.lay.rock)
            if kind == "gravel" and self.lay.area == 8 and ground in art.GROUND_BASE:
                # The base's stony patches in the browns of its own earth.
                return ("object", kind, ground, var, part, fr, cn, "basegravel"), \
                    lambda: art.base_gravel_tile(art.draw_ground(ground, var, fr, cn), var)
            if kind in ("rock", "pebble", "gravel") and self.lay.rock:
                # Boulders and loose stones of the area's rock.
                return ("object", kind, ground, var, part, fr, cn, self.lay.rock), \
                    lambda: art.ROCKS[self.lay.rock](art.object_tile(kind, ground, var, part, fr, cn))
            return ("object", kind, ground, var, part, fr, cn), \
                lambda: art.object_tile(kind, ground, var, part, fr, cn)
        raise LayoutError("layer 0 look %r has no drawing" % look)

    # -- Farmland and jungle (areas 1 and 2) --

    WET = ("water", "rapids", "ford", "planks", "millwheel")

    def _river_key(self, x, y, look):
        """Water drawn with the lie of its banks (art.river_tile): a mask of
        the water round the block, the way its current runs (along its
        longer reach through the block), and whether it is a marsh pool
        (water whose shore is mostly mud and reeds)."""
        def wet(cx, cy):
            cx, cy = min(max(cx, 0), self.w - 1), min(max(cy, 0), self.h - 1)
            return 1 if self.looks[0][cy][cx].look in self.WET else 0
        mask = tuple(tuple(wet(x + dx, y + dy) for dx in range(-2, 3)) for dy in range(-2, 3))

        def reach(dx, dy):
            n, cx, cy = 0, x + dx, y + dy
            while 0 <= cx < self.w and 0 <= cy < self.h and self.looks[0][cy][cx].look in self.WET:
                n, cx, cy = n + 1, cx + dx, cy + dy
            return n
        along = "x" if reach(1, 0) + reach(-1, 0) >= reach(0, 1) + reach(0, -1) else "y"
        style = {"rapids": "rapids", "ford": "ford"}.get(look, "marsh" if self._marsh(x, y) else "river")
        ground = self._ground_near(x, y)
        v = art.cell_hash(x, y, self.lay.area) % 4
        fr, cn = self._fringes(x, y, ground), self.corners(ground, x, y)
        draw_ground = lambda: art.draw_ground(ground, v, fr, cn)
        if style == "ford":
            return ("ford", mask, x, y, along, ground, v, fr, cn), \
                lambda: art.ford_tile(mask, x * 8, y * 8, along, draw_ground())
        if style == "marsh" and self.lay.area == 2:
            # The jungle's marsh pools drawn as the open water they are.
            return ("junglepool", mask, x, y, along, ground, v, fr, cn), \
                lambda: art.jungle_pool_tile(mask, x * 8, y * 8, along, draw_ground())
        return ("river", style, mask, x, y, along, ground, v, fr, cn), \
            lambda: art.river_tile(mask, x * 8, y * 8, along, draw_ground(), style)

    DECKS = ("deckwood", "deckstone")

    def _pier_of(self, x, y):
        """Whether a stone wall on the farmland's grass is one of a bridge's
        piers: a block of wall whose whole run across the map ends against
        a deck above or below it.  Gives the deck's side ("above" when
        the deck lies north of the pier) or None."""
        if self._ground_near(x, y) != "grass":
            return None
        bx, by, bw, bh = self._band(x, y)
        x0, y0 = x - bx // 8, y - by // 8
        x1, y1 = x0 + bw // 8 - 1, y0 + bh // 8 - 1
        for cy, side in ((y0 - 1, "above"), (y1 + 1, "below")):
            if 0 <= cy < self.h and all(self.looks[1][cy][cx].look in self.DECKS for cx in range(x0, x1 + 1)):
                return side
        return None

    def _pier_key(self, x, y, v):
        band = self._band(x, y)
        above = self._pier_of(x, y) == "above"
        ground = self._ground_near(x, y)
        fr, cn = self._fringes(x, y, ground), self.corners(ground, x, y)
        return ("pier", band, above, ground, v % 4, fr, cn), \
            lambda: art.pier_tile(art.draw_ground(ground, v % 4, fr, cn), *band, above)

    def _marsh(self, x, y):
        """Whether the water at a block is a marsh pool: most of the land on
        its group's shore is mud or reeds."""
        if not hasattr(self, "_marsh_groups"):
            self._marsh_groups = {}
        origin = self.groups[y][x]
        if origin not in self._marsh_groups:
            ox, oy, (sw, sh) = origin
            boggy = shore = 0
            for cy in range(oy, oy + sh):
                for cx in range(ox, ox + sw):
                    if self.groups[cy][cx] != origin:
                        continue
                    for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                        nx, ny = cx + dx, cy + dy
                        if 0 <= nx < self.w and 0 <= ny < self.h and self.looks[0][ny][nx].look not in self.WET:
                            shore += 1
                            boggy += self.looks[0][ny][nx].look in ("mud", "reeds")
            self._marsh_groups[origin] = shore > 0 and 2 * boggy > shore
        return self._marsh_groups[origin]

    def _fortification_key(self, x, y, look, v):
        """The castle's stonework, the camp's palisade and the pillboxes:
        each block knows how much of its kind lies below it (the face is
        the lowest rows) and which sides open onto the ground."""
        # A pillbox's doorway is cut into its front: the pillbox goes on
        # over it and past it.
        kin = (look, "door") if look == "pillbox" else (look,)
        depth = 0
        while depth < 3 and y + depth + 1 < self.h and self.looks[0][y + depth + 1][x].look in kin:
            depth += 1
        sides = self._sides(0, x, y, lambda o: o not in kin)
        if look == "castle":
            def foot(cx):
                cy = y
                while cy + 1 < self.h and self.looks[0][cy + 1][cx].look == "castle":
                    cy += 1
                return cy
            proud = tuple(sd for sd in (art.W_, art.E_) if 0 <= x + sd[0] < self.w
                          and self.looks[0][y][x + sd[0]].look == "castle" and foot(x + sd[0]) < foot(x) - 1
                          and foot(x) - y <= foot(x) - foot(x + sd[0]) + 2)
            # Its patterns repeat every 15 columns and 3 rows.
            return ("castle", x % 15, y % 3, depth, sides, proud), \
                lambda: art.castle_tile(x % 15, y % 3, depth, sides, proud)
        if look == "palisade":
            top = art.N_ in sides
            ground = self._ground_near(x, y)
            fr, cn = self._fringes(x, y, ground), self.corners(ground, x, y)
            return ("palisade", x, depth, top, ground, v % 4, fr, cn), \
                lambda: art.palisade_tile(art.draw_ground(ground, v % 4, fr, cn), x, depth, top)
        return ("pillbox", x % 2, depth, sides, v % 3), lambda: art.pillbox_tile(x, depth, sides, v % 3)
    def _town_key(self, x, y, look, v):
        """The town's and the base's own looks (art's last section)."""
        if look == "towndoor":
            left = self.look(0, x - 1, y) != look
            right = self.look(0, x + 1, y) != look
            return ("towndoor", left, right), lambda: art.town_door_tile(left, right)
        if look == "flatroof":
            band = self._band(x, y)
            return ("flatroof", v % 4, band), lambda: art.flat_roof_tile(v % 4, *band)
        if look == "cobbles":
            cn = self.corners("cobbles", x, y)
            key, draw = ("cobbles", v % 6, cn), lambda: art.cobble_tile(v % 6, cn)
            return self._in_building_shadow(x, y, key, draw)
        if look == "planter":
            sides = self._sides(0, x, y, lambda o: o != look)
            return ("planter", sides, v % 3), lambda: art.planter_tile(sides, v % 3)
        if look == "tramway":
            band = self._band(x, y)
            key, draw = ("tramway", v % 6, band), lambda: art.tramway_tile(v % 6, *band)
            return self._in_building_shadow(x, y, key, draw)
        if look in ("church", "keep"):
            # One picture over the box of the building's blocks.
            ox, oy, size = self.groups[y][x]
            at = (8 * (x - ox), 8 * (y - oy), 8 * size[0], 8 * size[1])
            if look == "keep" and self.lay.area == 3:
                # The desert pass's fort: each half has its tower at the gate's side.
                right = ox == 0
                return ("passfort", right) + at, lambda: art.pass_fort_tile(*at, right)
            kind = "towngate" if look == "keep" and self.lay.area == 7 else look   # the old town's wall and gate
            return (kind,) + at, lambda: art.BUILDING_PICTURES[kind](*at)
        raise LayoutError("layer 0 look %r has no drawing" % look)

    def _key1(self, x, y):
        e = self.looks[1][y][x]
        look = e.look
        if look == "none":
            return None, None
        v = art.cell_hash(x, y, self.lay.area + 100)
        if look in PICTURES[1]:
            s, tree, colours = self._crown(x, y)
            ox, oy = self.picture_at[1][y][x]
            part = (x - ox, y - oy)
            return ("canopy", s, part, tree, colours), lambda: art.canopy_tile(s, part, tree, colours)
        if look == "leaves":
            sides = self._sides(1, x, y, lambda o: o not in ("leaves",) + tuple(PICTURES[1]))
            trees = self.lay.row_trees[y]
            colours = "jungle" if trees in ("green", "jungle") else trees
            return ("leaves", v % 2, sides, colours), lambda: art.leaves_tile(v % 2, sides, colours)
        if look in ("deckwood", "deckstone"):
            style = self._deck_style(x, y)
            top = self.look(1, x, y - 1) != look
            bottom = self.look(1, x, y + 1) != look
            if style == "wood" and self.lay.row_decks[y] == "boardwalk":
                # The jungle marsh's walk of planks, without rails.
                up, down = self._deck_run(x, y, look)
                return ("deck", "boardwalk", up, up + down + 1, x % 8), \
                    lambda: art.jungle_boardwalk_tile(v % 4, up, up + down + 1, x % 8)
            if style == "wood" and self.lay.deck == "rails":
                # The farmland's viaduct is a stone railway bridge on piers.
                up, down = self._deck_run(x, y, look)
                below = y + down + 1
                pier = below < self.h and self.look(0, x, below) == "wall"
                return ("deck", "farmviaduct", v % 4, up, up + down + 1, x % 2, pier), \
                    lambda: art.farm_viaduct_tile(v % 4, up, up + down + 1, x % 2, pier)
            row = 0
            while style == "rail" and row < 8 and self.look(1, x, y - row - 1) == look:
                row += 1
            if style == "stone" and self.lay.area == 6 and (x, y) in art.area6_deck_hole_blocks():
                plain = art.deck_tile(v % 4, top, bottom, style, row)
                return ("deck", style, v % 4, top, bottom, row, "shelled", x, y), \
                    lambda: art.area6_deck_shell_holes(plain, x, y)
            if style == "stone" and self.lay.area == 8:
                # The base's flyover lost its middle span: its stubs end broken.
                ends = tuple(sd for sd in (art.W_, art.E_)
                             if 0 <= x + sd[0] < self.w and self.look(1, x + sd[0], y) != look)
                if ends:
                    return ("deck", style, v % 4, top, bottom, row, "broken", ends, y % 3), \
                        lambda: art.base_broken_deck(art.deck_tile(v % 4, top, bottom, style, row),
                                                     ends, y % 3)
            return ("deck", style, v % 4, top, bottom, row), \
                lambda: art.deck_tile(v % 4, top, bottom, style, row)
        if look == "net" and self.lay.area == 3:   # the desert's nets are sand-coloured
            return ("desertnet", v % 3), lambda: art.desert_net_tile(v % 3)
        if look == "net":
            return ("net", v % 3), lambda: art.net_tile(v % 3)
        if look == "castlegate":
            depth = 0
            while depth < 2 and y + depth + 1 < self.h and self.look(1, x, y + depth + 1) == look:
                depth += 1
            at, width = 0, 1
            while x - at - 1 >= 0 and self.look(1, x - at - 1, y) == look:
                at += 1
            while x - at + width < self.w and self.look(1, x - at + width, y) == look:
                width += 1
            return ("castlegate", x % 15, y % 3, depth, at, width), \
                lambda: art.castle_gate_tile(x % 15, y % 3, depth, at, width)
        if look == "gatehouse":
            return self._gatehouse_key(x, y)
        if look == "awning":
            # A market stall's awning over its whole run of blocks.
            def run(dx, dy):
                n = 0
                while 0 <= x + (n + 1) * dx < self.w and 0 <= y + (n + 1) * dy < self.h \
                        and self.looks[1][y + (n + 1) * dy][x + (n + 1) * dx].look == look:
                    n += 1
                return n
            left, up = run(-1, 0), run(0, -1)
            band = (8 * left, 8 * up, 8 * (left + run(1, 0) + 1), 8 * (up + run(0, 1) + 1))
            colour = art.cell_hash(x - left, y - up, self.lay.area + 70) % len(art.AWNINGS)
            return ("awning", band, colour), lambda: art.awning_tile(colour, *band)
        raise LayoutError("layer 1 look %r has no drawing" % look)

    def _deck_run(self, x, y, look):
        """How many blocks of a deck lie above and below one of its blocks."""
        up = down = 0
        while self.look(1, x, y - up - 1) == look:
            up += 1
        while self.look(1, x, y + down + 1) == look:
            down += 1
        return up, down

    def _crown(self, x, y):
        """Size in blocks, shape and colours of the crown a block is part of."""
        ox, oy = self.picture_at[1][y][x]
        look = self.looks[1][y][x].look
        # Each tree gets its own crown shape.
        tree = art.cell_hash(ox, oy, self.lay.area + 50) % 4
        colours = "palm" if look == "palm" else self.lay.row_trees[oy]
        colours = look if look in ("oak", "sapling") else colours   # trees of their own kind
        if self.lay.area == 1 and colours in ("green", "oak"):
            colours = "farm_" + colours   # the farmland's trees of their own shapes
        if colours == "orchard":
            # An orchard of apples, pears and cherries, mixed.
            colours = art.ORCHARD_KINDS[art.cell_hash(ox, oy, self.lay.area + 61) % len(art.ORCHARD_KINDS)]
        return PICTURES[1][look][0], tree, colours

    def _ground_shadows(self, fronts):
        """Cell -> the pixels of its ground that lie in a crown's shadow and
        under none of the front pictures (_front_pictures)."""
        shadows = {}
        off = art.SHADOW_OFFSET
        for y in range(self.h):
            for x in range(self.w):
                if self.picture_at[1][y][x] != (x, y):
                    continue
                for py, row in enumerate(art.canopy(*self._crown(x, y))):
                    for px, k in enumerate(row):
                        mx, my = x * 8 + px + off, y * 8 + py + off
                        if k != art.T and mx < self.w * 8 and my < self.h * 8:
                            shadows.setdefault((mx // 8, my // 8), set()).add((mx % 8, my % 8))
        # A deck's cast shadow on the ground below its beam, deepest at its
        # foot (those pixels are darkened twice).
        deep = {}
        for (x, y) in self._below_decks():
            for dy, pixels in enumerate(art.DECK_SHADOW):
                if y + dy < self.h:
                    shadows.setdefault((x, y + dy), set()).update(pixels)
            deep.setdefault((x, y), set()).update(art.DECK_SHADOW_DEEP)
        if self.lay.deck == "rails":
            # A railway viaduct stands high on its piers: its shadow lies
            # across the whole span down to the piers' plinths, the ground
            # between the piers as dark as under their arches.
            for (x, y) in self._below_decks():
                for dy in range(1, 4):
                    if y + dy >= self.h or self.looks[0][y + dy][x].look == "wall":
                        continue
                    rows = 8 if dy < 3 else 3
                    pixels = {(px, py) for py in range(rows) for px in range(8)}
                    if dy == 3:
                        pixels |= {(px, 3) for px in range(8) if px % 2 == 0}
                    shadows.setdefault((x, y + dy), set()).update(pixels)
        out = {}
        for (cx, cy), pixels in shadows.items():
            front = fronts[(cx, cy)][1] if (cx, cy) in fronts else None
            seen = lambda p: front is None or front[p[1]][p[0]] == art.T
            shown = tuple(sorted([p for p in pixels if seen(p)] + [p for p in deep.get((cx, cy), ()) if seen(p)]))
            if shown:
                out[(cx, cy)] = shown
        return out

    def _front_pictures(self):
        """Cell -> (key, pixels) of the front layer, its silhouette closed.

        The pictures of neighbouring blocks (crowns side by side, ragged
        foliage) can leave one-pixel dents where they meet, through which
        a soldier walking under them shows; each is filled with the colour
        most of its neighbours have.  A block with nothing in front gets a
        picture when a dent lies in it.
        """
        fronts, drawn = {}, {}
        for y in range(self.h):
            for x in range(self.w):
                key, draw = self._key1(x, y)
                if key is not None:
                    if key not in drawn:
                        drawn[key] = draw()
                    fronts[(x, y)] = (key, [row[:] for row in drawn[key]])
        # Below a deck its near beam shows, in front of whoever walks under,
        # and every fifth block a post it stands on.
        for (x, y), style in self._below_decks().items():
            key, pixels = fronts.get((x, y), (("none",), art.blank(art.T)))
            post = x % 5 == 2
            if style == "wood" and self.lay.deck == "rails":
                style, post = "stone", False    # the viaduct's stone edge, carried by its piers
            fronts[(x, y)] = (("beam", style, post) + key, art.deck_beam(pixels, style, post))

        def pixel(mx, my):
            if 0 <= mx < self.w * 8 and 0 <= my < self.h * 8 and (mx // 8, my // 8) in fronts:
                return fronts[(mx // 8, my // 8)][1][my % 8][mx % 8]
            return art.T

        filled = {}
        todo = sorted(fronts)
        while todo:
            near = set()
            for cx, cy in todo:
                for dy in (-1, 0, 1):
                    for dx in (-1, 0, 1):
                        if 0 <= cx + dx < self.w and 0 <= cy + dy < self.h:
                            near.add((cx + dx, cy + dy))
            todo = []
            for cx, cy in sorted(near):
                for py in range(8):
                    for px in range(8):
                        mx, my = cx * 8 + px, cy * 8 + py
                        if pixel(mx, my) != art.T:
                            continue
                        around = [k for k in (pixel(mx + 1, my), pixel(mx - 1, my), pixel(mx, my + 1),
                                              pixel(mx, my - 1)) if k != art.T]
                        if len(around) < 3:
                            continue
                        k = max(sorted(set(around)), key=around.count)
                        if (cx, cy) not in fronts:
                            fronts[(cx, cy)] = (("none",), art.blank(art.T))
                        fronts[(cx, cy)][1][py][px] = k
                        filled.setdefault((cx, cy), []).append((px, py, k))
                        todo.append((cx, cy))
        for cell, patch in filled.items():
            key, pixels = fronts[cell]
            fronts[cell] = (("closed", tuple(sorted(patch))) + key, pixels)
        return fronts

    def ground_key(self, x, y, shadows):
        """Key and drawing of a ground block as the area shows it: under the
        shadows of the crowns and the shade of a deck."""
        key, draw = self._key0(x, y)
        if (x, y) in shadows:
            # Grounds with shadow tones of their own (the cracked mud's brown
            # goes to ash, not to red).
            look = self.looks[0][y][x].look
            cls = look if look == "slope" else (self._drawn_as(look) if look in GROUND else None)
            cls = cls if cls in art.GROUND_SHADOW else None
            key = ("shadow", shadows[(x, y)]) + ((cls,) if cls else ()) + key
            draw = (lambda d, p, c: lambda: art.in_shadow(d(), p, cls=c))(draw, shadows[(x, y)], cls)
        look = self.looks[0][y][x].look
        if self.lay.rock == "red" and (look == "wadi" or look == "slope"
                                       and any(self.look(0, x + dx, y + dy) == "wadi"
                                               for dx in (-1, 0, 1) for dy in (-1, 0, 1))):
            # The canyon's wash is of its own red silt.
            key, draw = ("redwash",) + key, (lambda d: lambda: art.red_wash(d()))(draw)
        if self.is_decked(x, y):
            key = ("shade",) + key
            draw = (lambda d: lambda: art.shaded(d()))(draw)
        return key, draw

    def cut_by(self, n, x, y, y0, y1):
        """Whether the block belongs to a picture of several blocks that the
        rows y0..y1 do not hold whole."""
        origin = self.picture_at[n][y][x]
        if not isinstance(origin, tuple):
            return False
        h = PICTURES[n][self.looks[n][y][x].look][1]
        return origin[1] < y0 or origin[1] + h - 1 > y1

    def _flags0(self, x, y):
        """The ground's flags: the legend's, except at the top of an area,
        above the hero's reach, where nothing but water is solid, and where
        a hut's shells leave its own site."""
        flags = self.looks[0][y][x].flags
        if self.lay.top_open and y * 8 < areas.TOP_OPEN and not flags & FLAG_BITS["deadly"]:
            flags &= ~FLAG_BITS["solid"]
        if (x, y) in self._hut_gun_ports():
            flags &= ~FLAG_BITS["solid"]
        return flags

    def _hut_gun_ports(self):
        """The blocks of a hut's own site under its shells' first flight: a
        left hut's gun fires from inside the site, and a shell bursts where
        the ground 16 px below it is solid, so the site lets them out there
        (while the hut stands its picture covers them)."""
        if not hasattr(self, "_ports"):
            self._ports = set()
            huts = TABLES.huts.get(self.lay.area)
            for call in huts.calls if huts else ():
                d = area_data.place(self.lay.area, call, 0)[1]
                for px, py in area_data.hut_shell_path(d["x"], d["y"]):
                    if d["x"] <= px < d["x"] + area_data.HUT_W and d["y"] <= py < d["bottom"]:
                        self._ports.add((px // 8, py // 8))
        return self._ports

    def _below_decks(self):
        """Cell -> deck style, for the cells just below a bridge deck."""
        out = {}
        for y in range(1, self.h):
            for x in range(self.w):
                if self.is_decked(x, y - 1) and not self.is_decked(x, y):
                    out[(x, y)] = self._deck_style(x, y - 1)
        return out

    def _deck_style(self, x, y):
        """How the deck at (x, y) is drawn: wood (planks), rail (a railway
        bridge's sleepers and rails) or stone."""
        if self.looks[1][y][x].look != "deckwood":
            return "stone"
        return "rail" if self.lay.row_decks[y] == "railway" else "wood"

    def is_decked(self, x, y):
        return self.looks[1][y][x].look in ("deckwood", "deckstone")

    def compose(self):
        m = fmp.Map(self.w, self.h)
        fronts = self._front_pictures()
        shadows = self._ground_shadows(fronts)
        if not self.lay.flatten:
            fronts.update(self._wading(fronts, shadows))
        layer0 = []
        for y in range(self.h):
            row = []
            for x in range(self.w):
                key, draw = self.ground_key(x, y, shadows)
                if self.lay.flatten:
                    key1, draw1 = self._key1(x, y)
                    if key1 is not None:
                        key = ("flat", key, key1)
                        draw = (lambda d0, d1: lambda: art.painted(d0(), d1()))(draw, draw1)
                gfx = self._graphic(key, draw)
                row.append(self._block(gfx, self._flags0(x, y)))
            layer0.append(row)
        for g in self.graphics:
            if any(k == art.T for r in g for k in r):
                raise LayoutError("a ground graphic has transparent pixels")
        layer1 = []
        for y in range(self.h):
            row = []
            for x in range(self.w):
                if self.lay.flatten or (x, y) not in fronts:
                    row.append(0)
                    continue
                key, pixels = fronts[(x, y)]
                gfx = self._graphic(("front",) + key, lambda p=pixels: p)
                row.append(self._block(gfx, self.looks[1][y][x].flags))
            layer1.append(row)
        m.graphics = [art.to_rgb(g) for g in self.graphics]
        m.blocks = list(self.blocks)
        m.layers = [layer0, layer1]
        return m

    def _wading(self, fronts, shadows):
        """Cell -> (key, pixels): the water in front of each swimmer's lower
        body, so that he swims with his head and shoulders out of the water
        instead of standing on it.  The water is the ground's own picture of
        the cell, with a ripple where he breaks the surface."""
        out = {}
        for area, _, _, _, kind, where, _ in area_data.spawn_places(TABLES):
            if area != self.lay.area or kind != "Acuatico":
                continue
            x, y = where["x"], where["y"]
            top = (y + 8 + 7) // 8   # the first row of blocks below his chest
            for cy in range(top, min(self.h, (y + areas.ACTOR_H - 1) // 8 + 1)):
                for cx in range(max(0, x // 8), min(self.w, (x + areas.ACTOR_W - 1) // 8 + 1)):
                    if (cx, cy) in fronts or (cx, cy) in out \
                            or not self.looks[0][cy][cx].flags & FLAG_BITS["deadly"]:
                        continue
                    key, draw = self.ground_key(cx, cy, shadows)
                    ripple = x - 8 * cx if cy == top else None
                    out[(cx, cy)] = (("wading", ripple) + key, art.wading_water(draw(), ripple))
        return out

    # -- Desert and canyon (areas 3 and 4) --

    def _plateau_ground(self, x, y):
        """The ground class most common near a block, the riverbeds' and the
        roads' left out: the plateau a bed's slope comes down from."""
        for r in range(1, 5):
            counts = {}
            for dy in range(-r, r + 1):
                for dx in range(-r, r + 1):
                    lk = self.look(0, x + dx, y + dy)
                    if lk in GROUND and lk not in BED and lk != "road":
                        counts[lk] = counts.get(lk, 0) + 1
            if counts:
                return self._drawn_as(max(sorted(counts), key=lambda k: counts[k]))
        return self._drawn_as("sand")

    def _dune_mask(self, x, y):
        """How far the desert's dunes may rise at the four corners of a
        block: only where the open sand goes on all round a corner for a
        block, so they flatten out before the bed, the roads and whatever
        stands on the sand."""
        def open_sand(cx, cy):
            return all(self.look(0, cx + dx, cy + dy) == "sand" for dy in (-1, 0) for dx in (-1, 0))
        return tuple(1.0 if open_sand(x + dx, y + dy) else 0.0 for dy in (0, 1) for dx in (0, 1))

    def _desert_key(self, x, y, look, v):
        if look == "slope":
            # A low slope down to the riverbed beside it: it leans towards
            # every neighbour (corners too) that is the bed.
            bed = tuple(tuple(self.look(0, x + dx, y + dy) in BED for dx in (-1, 0, 1)) for dy in (-1, 0, 1))
            ground = self._plateau_ground(x, y)
            cn = self.corners(ground, x, y)
            # The bed's crack pattern runs on under a corner it fills.
            wvar = (x % 8) + 8 * (y % 8)
            return ("slope", ground, v % 4, bed, cn, wvar), lambda: art.slope_tile(ground, v % 4, bed, cn, wvar)
        # The fortress's mud-brick walls and towers: a flat top, and the last
        # three rows above its foot its face (parapet, loopholes, foot); the
        # guns on its bastions stand on the walls' roofs.
        walls = ("rampart", "battery")
        if look == "battery":
            origin = self.picture_at[0][y][x]
            part = (x - origin[0], y - origin[1])
            sides = self._sides(0, x, y, lambda o: o not in walls)
            return ("battery", x % 4, y % 4, part, sides), \
                lambda: art.battery_tile(x % 4, y % 4, part, sides)
        same = walls if look == "rampart" else (look,)
        sides = self._sides(0, x, y, lambda o: o not in same)
        depth = 0
        while depth < 3 and y + depth + 1 < self.h and self.looks[0][y + depth + 1][x].look in same:
            depth += 1
        left = self._same_run(x, y, -1, 0)
        if look == "tower":
            # A flag flies over the middle of each tower, a block below its top.
            top = y - self._same_run(x, y, 0, -1)
            width = left + self._same_run(x, y, 1, 0) + 1
            flag = y == top + 1 and left == width // 2
            return ("tower", x % 3, y % 4, depth, sides, flag, left % 4), \
                lambda: art.tower_tile(x % 3, y % 4, depth, sides, flag, left % 4)
        # A hatch or a pair of water jars here and there on the roofs.
        fitting = (0, 0, 0, 0, 1, 0, 0, 2, 0)[art.cell_hash(x, y, 131) % 9] if depth >= 3 else 0
        return ("rampart", x % 4, y % 4, depth, sides, left % 4, fitting), \
            lambda: art.rampart_tile(x % 4, y % 4, depth, sides, left % 4, fitting)

    def _gatehouse_key(self, x, y):
        """The gatehouse's roof over the way into the fortress (in front):
        its arch opens in the middle of its lowest row."""
        left = x
        while left > 0 and self.looks[1][y][left - 1].look == "gatehouse":
            left -= 1
        right = x
        while right < self.w - 1 and self.looks[1][y][right + 1].look == "gatehouse":
            right += 1
        top = y
        while top > 0 and self.looks[1][top - 1][x].look == "gatehouse":
            top -= 1
        bottom = y
        while bottom < self.h - 1 and self.looks[1][bottom + 1][x].look == "gatehouse":
            bottom += 1
        sides = self._sides(1, x, y, lambda o: o != "gatehouse")
        bx, bw, bh = 8 * (x - left), 8 * (right - left + 1), 8 * (bottom - top + 1)
        return ("gatehouse", bx, bw, y - top, bh, sides), \
            lambda: art.gatehouse_tile(bx, bw, y - top, bh, sides)


class TitleComposer(Composer):
    """The title map: each slide is a view of an area, copied block for
    block from that area's own composition at the slide's y, its front
    layer painted into the ground (the title draws layer 0 alone), so the
    slides always show the areas as they are.  A picture the view's edge
    cuts is marked as cut: it is whole in its area."""

    def __init__(self, layout, legend):
        self.lay, self.legend = layout, legend
        self.w, self.h = layout.width, layout.height
        self.gfx_index, self.graphics = {}, []
        self.block_index, self.blocks = {}, []
        self._graphic(("ground", "grass", 0, ()), lambda: art.draw_ground("grass", 0))
        self._block(0, 0)

    def compose(self):
        m = fmp.Map(self.w, self.h)
        layer0 = []
        areas = {}
        for area, top in self.lay.slides:
            if area not in areas:
                path = os.path.join(self.lay.folder, "level%d.txt" % area)
                areas[area] = Composer(read_layout(path), self.legend)
            comp = areas[area]
            y0 = top // 8
            y1 = y0 + SLIDE_ROWS - 1
            if comp.w < self.w or y1 >= comp.h:
                raise LayoutError("title slide of area %d at y %d: the area has no view there" % (area, top))
            fronts = comp._front_pictures()
            shadows = comp._ground_shadows(fronts)
            for y in range(y0, y1 + 1):
                row = []
                for x in range(self.w):
                    key, draw = comp.ground_key(x, y, shadows)
                    if comp.cut_by(0, x, y, y0, y1):
                        key = ("cut",) + key
                    if (x, y) in fronts:
                        fkey, pixels = fronts[(x, y)]
                        fkey = ("front",) + (("cut",) if comp.cut_by(1, x, y, y0, y1) else ()) + fkey
                        key = ("flat", key, fkey)
                        draw = (lambda d0, p: lambda: art.painted(d0(), p))(draw, pixels)
                    gfx = self._graphic(key, draw)
                    row.append(self._block(gfx, comp.looks[0][y][x].flags))
                layer0.append(row)
        m.graphics = [art.to_rgb(g) for g in self.graphics]
        m.blocks = list(self.blocks)
        m.layers = [layer0, [[0] * self.w for _ in range(self.h)]]
        return m


def composer(lay, legend):
    """The composer for a layout: the title's slides or an area's rows."""
    return (TitleComposer if lay.slides else Composer)(lay, legend)


def build(path, legend=None):
    lay = read_layout(path)
    return lay, composer(lay, legend or read_legend()).compose()
