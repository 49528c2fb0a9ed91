"""Tile art for the battlefield maps, drawn in the game's shared palette.

Every tile is 8 x 8 pixels of palette keys (see assets/common/palette.py).
Terrain classes are drawn from a few small pixel patterns with variants, and
join their neighbours where it matters: water gets a sandy shore, roads get
kerbs and a centre line, paths get a ragged grass fringe, walls a lit top
and a shadowed foot.  Objects (rocks, trunks, bushes, craters, sandbags) are
painted over the ground they stand on, and ground lying under a bridge deck
is drawn in shadow.  The same inputs always give the same pixels.
"""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "common"))
import palette  # noqa: E402

T = palette.TRANSPARENT_KEY
N_, E_, S_, W_ = (0, -1), (1, 0), (0, 1), (-1, 0)


class Rng:
    """A small deterministic generator (the same numbers on every machine)."""

    def __init__(self, *seed):
        s = 2166136261
        for part in seed:
            for ch in str(part):
                s = ((s ^ ord(ch)) * 16777619) & 0xFFFFFFFF
        self.s = s or 1

    def next(self):
        self.s = (self.s * 1103515245 + 12345) & 0x7FFFFFFF
        return self.s >> 8

    def below(self, n):
        return self.next() % n


def cell_hash(x, y, salt=0):
    h = (x * 73856093) ^ (y * 19349663) ^ (salt * 83492791)
    h = (h ^ (h >> 13)) * 1274126177
    return (h ^ (h >> 16)) & 0x7FFFFFFF


def blank(k, w=8, h=8):
    return [[k] * w for _ in range(h)]


def speckle(g, rng, keys_counts):
    h, w = len(g), len(g[0])
    for k, n in keys_counts:
        for _ in range(n):
            g[rng.below(h)][rng.below(w)] = k


def overlay(dst, src, ox=0, oy=0):
    """Paints the non-transparent pixels of src onto dst."""
    for y, row in enumerate(src):
        for x, k in enumerate(row):
            if k != T and 0 <= y + oy < len(dst) and 0 <= x + ox < len(dst[0]):
                dst[y + oy][x + ox] = k


def sprite(rows):
    return [list(r) for r in rows]


def crop(g, x0, y0, w=8, h=8):
    return [row[x0:x0 + w] for row in g[y0:y0 + h]]


# Darker version of each colour, for ground in the shadow of a deck.
SHADE = {"G": "g", "l": "G", "g": "g", "n": "h", "h": "b", "y": "h", "b": "r", "e": "d",
         "f": "e", "d": "k", "k": "k", "U": "u", "c": "U", "u": "u", "w": "f", "s": "b",
         "R": "r", "r": "k", "o": "b"}


# ---------------------------------------------------------------- ground ---

GROUND_BASE = {
    # class: (base key, [(speck key, count)], tuft key or None)
    "grass": ("G", [("g", 3), ("l", 1)], "l"),
    "jungle": ("g", [("G", 4), ("k", 1)], "G"),
    "sand": ("n", [("h", 4), ("y", 2)], None),
    "dirt": ("h", [("b", 3), ("n", 2)], None),
    "mud": ("b", [("h", 4), ("r", 2)], None),
    "concrete": ("e", [("f", 3), ("d", 3)], None),
    "road": ("d", [("k", 4), ("e", 2)], None),
}

# Which ground spills a ragged fringe over which.
FRINGE_OVER = {
    "grass": {"sand", "dirt", "mud", "trench"},
    "jungle": {"grass", "sand", "dirt", "mud", "trench"},
}


def ground_tile(cls, variant):
    base, specks, tuft = GROUND_BASE[cls]
    g = blank(base)
    rng = Rng("ground", cls, variant)
    speckle(g, rng, specks)
    if tuft and variant % 4 == 3:
        x, y = 1 + rng.below(5), 2 + rng.below(4)
        g[y][x] = g[y][x + 2] = tuft
        g[y - 1][x + 1] = tuft
    if cls == "grass" and variant == 5:
        g[3][2] = "y"
        g[5][6] = "w"
    if cls == "concrete":
        for i in range(8):
            g[7][i] = "d"
            g[i][7] = "d"
        g[0][0] = "f"
    return g


def fringe(g, side, key, alt):
    """A ragged band of another ground along one side of a tile."""
    depth = [2, 1, 1, 2, 3, 2, 1, 2]
    for i in range(8):
        for d in range(depth[i]):
            k = key if d < depth[i] - 1 or i % 3 else alt
            if side == N_:
                g[d][i] = k
            elif side == S_:
                g[7 - d][i] = k
            elif side == W_:
                g[i][d] = k
            else:
                g[i][7 - d] = k


def draw_ground(cls, variant, fringes=()):
    g = ground_tile(cls, variant)
    for side, other in fringes:
        base = GROUND_BASE[other][0]
        fringe(g, side, base, "l" if other == "grass" else "G")
    return g


# ----------------------------------------------------------------- water ---

def water_tile(variant, shore):
    """Water; shore is the set of sides that face land."""
    g = blank("U")
    rng = Rng("water", variant)
    for _ in range(2):
        x, y = rng.below(5), 1 + rng.below(6)
        g[y][x] = g[y][x + 1] = "c"
        g[y][x + 2] = "c" if variant % 2 else "U"
    speckle(g, rng, [("u", 3)])
    for side in shore:
        for i in range(8):
            if side == N_:
                g[0][i], g[1][i] = "n", ("c" if i % 3 else "w")
            elif side == S_:
                g[7][i], g[6][i] = "h", ("u" if i % 2 else "U")
            elif side == W_:
                g[i][0], g[i][1] = "n", ("c" if i % 3 else "w")
            else:
                g[i][7], g[i][6] = "n", ("c" if (i + 1) % 3 else "w")
    return g


# ------------------------------------------------------------------ road ---

def road_tile(variant, kerbs, dash):
    g = ground_tile("road", variant % 3)
    for side in kerbs:
        for i in range(8):
            if side == N_:
                g[0][i], g[1][i] = "f", "e"
            elif side == S_:
                g[7][i], g[6][i] = "e", "k"
            elif side == W_:
                g[i][0], g[i][1] = "f", "e"
            else:
                g[i][7], g[i][6] = "e", "k"
    if dash is not None:
        for i in range(1, 6):
            g[dash][i] = "y"
    return g


# ----------------------------------------------------------------- walls ---

def wall_tile(variant, top, bottom, style):
    """Stone blocks; a lit top where nothing of the wall lies above."""
    face, mortar, light = {"stone": ("e", "d", "f"), "fort": ("d", "k", "e"),
                           "brick": ("R", "r", "o")}[style]
    g = blank(face)
    off = 0 if variant % 2 else 4
    for y in (3, 7):
        for x in range(8):
            g[y][x] = mortar
    for y in range(8):
        sx = (off + (0 if y < 4 else 4)) % 8
        g[y][sx] = mortar
    rng = Rng("wall", style, variant)
    speckle(g, rng, [(light, 2)])
    if top:
        for x in range(8):
            g[0][x] = light
            g[1][x] = light if x % 4 else face
    if bottom:
        for x in range(8):
            g[7][x] = "k"
    return g


def roof_tile(variant, top, bottom):
    g = blank("r")
    for y in range(8):
        for x in range(8):
            if (x + (y // 2) * 2) % 4 == 0:
                g[y][x] = "R"
    if variant % 3 == 0:
        g[2][5] = "o"
    if top:
        for x in range(8):
            g[0][x] = "o"
    if bottom:
        for x in range(8):
            g[7][x] = "k"
            g[6][x] = "r"
    return g


def bunker_tile(variant, sides):
    g = blank("e")
    rng = Rng("bunker", variant)
    speckle(g, rng, [("f", 3), ("d", 2)])
    for side in sides:
        for i in range(8):
            if side == N_:
                g[0][i], g[1][i] = "f", "f"
            elif side == S_:
                g[7][i], g[6][i] = "k", "d"
            elif side == W_:
                g[i][0] = "f"
            else:
                g[i][7], g[i][6] = "k", "d"
    if variant % 5 == 4 and S_ not in sides and N_ not in sides:
        for x in range(2, 6):
            g[4][x] = "k"
    return g


def door_tile(sides):
    """A dark opening in a bunker or building, with its frame."""
    g = blank("k")
    for y in range(8):
        g[y][3] = "d" if y % 3 == 0 else "k"
    for side in sides:
        for i in range(8):
            if side == W_:
                g[i][0] = "e"
            elif side == E_:
                g[i][7] = "e"
            elif side == N_:
                g[0][i] = "f"
    return g


# --------------------------------------------------------------- trench ---

def trench_tile(variant, sides):
    g = blank("b")
    rng = Rng("trench", variant)
    speckle(g, rng, [("r", 3), ("h", 2)])
    for side in sides:
        for i in range(8):
            if side == N_:
                g[0][i] = "h" if i % 4 else "n"
                g[1][i] = "k"
                g[2][i] = "r"
            elif side == S_:
                g[7][i] = "n" if i % 3 else "h"
                g[6][i] = "h"
            elif side == W_:
                g[i][0] = "h"
                g[i][1] = "k"
            else:
                g[i][7] = "n"
                g[i][6] = "h"
    return g


# ---------------------------------------------------------------- cliffs ---

def cliff_tile(variant, sides):
    """Rocky high ground: rough top, dark faces on its lower sides."""
    g = blank("h")
    rng = Rng("cliff", variant)
    speckle(g, rng, [("n", 4), ("b", 4), ("e", 2)])
    for side in sides:
        for i in range(8):
            if side == S_:
                g[7][i], g[6][i], g[5][i] = "k", "b", ("r" if i % 2 else "b")
            elif side == N_:
                g[0][i] = "n"
            elif side == W_:
                g[i][0], g[i][1] = "k", "b"
            else:
                g[i][7], g[i][6] = "k", "b"
    return g


# --------------------------------------------------------------- objects ---

ROCK = sprite([
    "....kkkkkk......",
    "..kkeeeeffkk....",
    ".keeeeeffffek...",
    ".keeeeeeffeeekk.",
    "kdeeeeeeeeeeeek.",
    "kdeeeefeeeeeeeek",
    "kddeeeffeeeeeeek",
    "kdddeeeeeeeeeedk",
    "kdddeeeeeeeeeddk",
    ".kdddeeeeeeeddk.",
    ".kddddeeeeedddk.",
    "..kddddddddddk..",
    "...kkddddddkk...",
    ".....kkkkkk.....",
    "................",
    "................",
])

PEBBLE = sprite([
    "........",
    "..kkkk..",
    ".keeffk.",
    "kdeeeeek",
    "kddeeedk",
    ".kddddk.",
    "..kkkk..",
    "........",
])

BUSH = sprite([
    "..kkkk..",
    ".kGGlGk.",
    "kGGGGlGk",
    "kgGGGGGk",
    "kggGGGgk",
    ".kgggGk.",
    "..kkkk..",
    "........",
])

TRUNK = sprite([
    "........",
    "........",
    "..kkkk..",
    ".kbbhbk.",
    ".kbbbbk.",
    ".krbbrk.",
    "..kkkk..",
    "...gg...",
])

CRATER = sprite([
    "................",
    ".....bbbbbb.....",
    "...bbhhhhhhbb...",
    "..bhhbbbbbbhhb..",
    ".bhbbrrrrrrbbhb.",
    ".bhbrrkkkkrrbhb.",
    "bhbrrkkkkkkrrbhb",
    "bhbrkkkkkkkkrbhb",
    "bhbrkkkkkkkkrbhb",
    "bhbrrkkkkkkrrbnb",
    ".bhbrrkkkkrrbnb.",
    ".bhbbrrrrrrbbnb.",
    "..bhhbbbbbbnnb..",
    "...bbnnnnnnbb...",
    ".....bbbbbb.....",
    "................",
])

SANDBAGS = sprite([
    "khhhnkhhhn",
    "hnnnhhnnnh",
    "hhhhbhhhhb",
    "kbbbkkbbbk",
])

FENCE = sprite([
    "........",
    "..b...b.",
    "hhhhhhhh",
    "bbbbbbbb",
    "..b...b.",
    "hhhhhhhh",
    "bbbbbbbb",
    "..k...k.",
])

RUBBLE_SPECKS = [("d", 6), ("k", 5), ("e", 3), ("r", 2)]


def sandbag_tile(variant):
    g = blank("b")
    for row in range(2):
        y0 = row * 4
        shift = (row * 5 + variant) % 5
        for y in range(4):
            for x in range(8):
                g[y0 + y][x] = SANDBAGS[y][(x + shift) % 10]
    return g


def object_tile(kind, ground, variant, part, fringes=()):
    """An object painted over the ground it stands on."""
    g = draw_ground(ground, variant % 4, fringes) if ground in GROUND_BASE else blank("G")
    if kind == "rock":
        overlay(g, crop(ROCK, part[0] * 8, part[1] * 8))
    elif kind == "pebble":
        overlay(g, PEBBLE)
    elif kind == "bush":
        overlay(g, BUSH)
    elif kind == "trunk":
        overlay(g, TRUNK)
    elif kind == "crater":
        overlay(g, crop(CRATER, part[0] * 8, part[1] * 8))
    elif kind == "fence":
        overlay(g, FENCE)
    elif kind == "rubble":
        g = blank("b")
        speckle(g, Rng("rubble", variant), RUBBLE_SPECKS)
    return g


# ----------------------------------------------------------- front layer ---

CANOPY2 = sprite([
    "....kkkkkk......",
    "..kkGGlGGGkk....",
    ".kGGlllGGGGGk...",
    ".kGlllGGGgGGGk..",
    "kGGllGGGGGgGGk..",
    "kGGGGGGgGGGGGGk.",
    "kgGGGGGGGlGGGGk.",
    "kgGGgGGGlllGGgk.",
    "kggGGGGGGlGGGgk.",
    ".kgggGGGGGGGggk.",
    ".kggggGGGgGgggk.",
    "..kgggggggggk...",
    "...kkgggggkk....",
    ".....kkkkk......",
    "................",
    "................",
])

CANOPY3 = sprite([
    "........kkkkkk..........",
    ".....kkkGGGlGGkkk.......",
    "....kGGGlllGGGGGGk......",
    "...kGGlllGGGGgGGGGk.....",
    "..kGGGllGGGGGGGGlGGk....",
    ".kGGGGGGGGgGGGGlllGGk...",
    ".kGGgGGGGGGGGGGGlGGGGk..",
    "kGGGGGGlGGGGGgGGGGGGGk..",
    "kgGGGGlllGGGGGGGGGgGGGk.",
    "kgGGGGGlGGGGgGGGGGGGGGk.",
    "kggGGGGGGGGGGGGlGGGGGgk.",
    "kggGGgGGGGGGGGlllGGGGgk.",
    ".kgGGGGGGGlGGGGlGGGGggk.",
    ".kggGGGGGlllGGGGGGgGggk.",
    ".kgggGGGGGlGGGGGGGGgggk.",
    "..kgggGGGGGGGgGGGGgggk..",
    "..kggggGGgGGGGGGGgggk...",
    "...kgggggGGGGGGgggggk...",
    "....kkgggggggggggggk....",
    "......kkgggggggggkk.....",
    "........kkkkkkkkk.......",
    "........................",
    "........................",
    "........................",
])


def canopy_tile(size, part):
    src = CANOPY2 if size == 2 else CANOPY3
    return crop(src, part[0] * 8, part[1] * 8)


def deck_tile(variant, top, bottom, style):
    """A bridge deck seen from above, spanning the view from side to side."""
    if style == "wood":
        g = blank("h")
        for y in range(8):
            for x in range(8):
                if x % 4 == 3:
                    g[y][x] = "b"
                elif (x + variant) % 4 == 0 and y in (2, 5):
                    g[y][x] = "n"
        if top:
            for x in range(8):
                g[0][x], g[1][x], g[2][x] = "k", "b", ("k" if x % 4 == 0 else "h")
        if bottom:
            for x in range(8):
                g[7][x], g[6][x], g[5][x] = "k", "b", ("k" if x % 4 == 0 else "h")
    else:  # concrete
        g = blank("e")
        speckle(g, Rng("deck", variant), [("f", 2), ("d", 2)])
        if top:
            for x in range(8):
                g[0][x], g[1][x], g[2][x] = "k", "f", "d"
        if bottom:
            for x in range(8):
                g[7][x], g[6][x], g[5][x] = "k", "d", "f"
        if not top and not bottom and variant % 2 == 0:
            for x in range(1, 6):
                g[3][x] = "w"
    return g


def planks_tile(variant, sides):
    """A footbridge on the ground, planks across, rails at its open sides."""
    g = blank("h")
    for y in range(8):
        for x in range(8):
            if y % 3 == 2:
                g[y][x] = "b"
            elif (x + variant + y) % 5 == 0:
                g[y][x] = "n"
    for side in sides:
        for i in range(8):
            if side == W_:
                g[i][0], g[i][1] = "k", ("b" if i % 4 else "k")
            elif side == E_:
                g[i][7], g[i][6] = "k", ("b" if i % 4 else "k")
    return g


def net_tile(variant):
    """Camouflage netting, with holes the ground shows through."""
    g = blank(T)
    rng = Rng("net", variant)
    for y in range(8):
        for x in range(8):
            if (x + y) % 2 == 0:
                g[y][x] = "g" if rng.below(3) else "h"
    return g


def to_rgb(g):
    return [[palette.rgb(k) for k in row] for row in g]


def shaded(g):
    return [[SHADE.get(k, k) if k != T else k for k in row] for row in g]
