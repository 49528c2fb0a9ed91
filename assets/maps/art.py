"""Tile art for the battlefield maps, drawn in the game's shared palette.

Every tile is 8 x 8 pixels of palette keys (see assets/common/palette.py).
Terrain classes are drawn from a few small pixel patterns with variants, and
join their neighbours where it matters: water gets a sandy shore, roads get
kerbs and a centre line, paths get a ragged grass fringe, walls a lit top
and a shadowed foot.  Objects (rocks, trunks, bushes, craters, sandbags) are
painted over the ground they stand on, and ground lying under a bridge deck
is drawn in shadow.  The front layer (crowns, foliage, decks) is drawn over
the soldiers, so its pictures have closed silhouettes and cast their shadows
on the ground instead.  The same inputs always give the same pixels.
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
SHADE = {"G": "g", "l": "G", "g": "j", "n": "m", "h": "b", "y": "h", "b": "r", "e": "d",
         "f": "e", "d": "k", "k": "k", "U": "u", "c": "U", "u": "u", "w": "f", "s": "b",
         "R": "r", "r": "k", "o": "b", "j": "k", "a": "g", "m": "h", "z": "n", "q": "k",
         "p": "n", "x": "c"}

# One step lighter and darker, for the small details drawn on the ground
# (grass blades, ripples, pebbles): they keep the tone of the ground under them.
LIGHTER = {"j": "g", "g": "G", "G": "l", "l": "l", "a": "h", "m": "n", "n": "z", "z": "z",
           "h": "n", "b": "h", "r": "b", "q": "d", "d": "e", "e": "f", "f": "f", "k": "q"}
DARKER = {"l": "G", "G": "g", "g": "j", "j": "j", "a": "g", "z": "n", "n": "m", "m": "h",
          "h": "b", "b": "r", "r": "q", "f": "e", "e": "d", "d": "q", "q": "k", "k": "k"}


# ---------------------------------------------------------------- ground ---

GROUND_BASE = {
    # class: the ground's tones from dark to light.  Each map lays a slow
    # field of tone over its ground (patches of shade and of sun), which the
    # tiles follow with a dithered edge, so the ground is never one flat colour.
    "grass": ("g", "G", "G", "G", "G"),
    "jungle": ("j", "j", "g", "g", "g"),
    "sand": ("m", "n", "n", "n", "z"),
    "dirt": ("b", "h", "h", "h", "h"),
    "mud": ("q", "b", "b", "b", "b"),
    # The cracked mud of a dry desert riverbed: brown plates, baked pale
    # where the sun lies on them.
    "wadi": ("b", "b", "b", "b", "m"),
    "concrete": ("d", "e", "e", "e", "e"),
    # The old town's warm sandstone flags (a look of the paving, "#").
    "flagstones": ("m", "n", "n", "n", "n"),
    # Scorched earth: grey-brown ash, darker where it lies deepest, never a black hole.
    "ash": ("q", "q", "d", "d", "d"),
    "road": ("d", "d", "d", "d", "d"),
}
TONES = 5
FLAT = (2, 2, 2, 2)

# Which ground spills a ragged fringe over which.
FRINGE_OVER = {
    "grass": {"sand", "dirt", "mud", "trench", "ash"},
    "jungle": {"grass", "sand", "dirt", "mud", "trench", "ash"},
    "dirt": {"sand"},
    "mud": {"dirt", "sand"},
    # Sand drifts over the edge of a dry riverbed.
    "sand": {"wadi"},
}

BAYER4 = ((0, 8, 2, 10), (12, 4, 14, 6), (3, 11, 1, 9), (15, 7, 13, 5))


def smooth_noise(x, y, salt, cell, cell_y=None, wrap=(None, None)):
    """A slow value-noise field in 0..1 over vertex coordinates, its lattice
    `cell` wide and `cell_y` (else `cell`) tall; a pattern that must tile
    repeats its lattice every `wrap` cells across and down."""
    gx, gy = x / cell, y / (cell_y or cell)
    x0, y0 = int(gx // 1), int(gy // 1)
    fx, fy = gx - x0, gy - y0
    fx, fy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)

    def at(i, j):
        if wrap[0]:
            i %= wrap[0]
        if wrap[1]:
            j %= wrap[1]
        return (cell_hash(i, j, salt) % 1000) / 999.0

    a = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * fx
    b = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * fx
    return a + (b - a) * fy


# How strongly each ground's patches stand out.
CONTRAST = {"grass": 1.6, "jungle": 1.25, "sand": 1.6, "dirt": 0.9, "mud": 1.2, "wadi": 1.5, "concrete": 0.9,
            "flagstones": 1.0, "townflags": 1.0,
            "ash": 1.4, "road": 0.0}


def tone_at(vx, vy, salt, cls="grass"):
    """The ground tone (0..TONES-1) at a corner of the block grid."""
    v = 0.65 * smooth_noise(vx, vy, salt, 7.0) + 0.35 * smooth_noise(vx, vy, salt + 7, 3.0)
    v = (v - 0.5) * CONTRAST.get(cls, 1.5) + 0.5
    return max(0, min(TONES - 1, int(v * TONES)))


def tone_fill(cls, corners):
    """The ground's colour under a block: its corners' tones, blended with
    an ordered dither so that neighbouring blocks meet without a seam."""
    keys = GROUND_BASE[cls]
    tl, tr, bl, br = corners
    g = blank(keys[2])
    for y in range(8):
        fy = (y + 0.5) / 8
        for x in range(8):
            fx = (x + 0.5) / 8
            v = (tl * (1 - fx) * (1 - fy) + tr * fx * (1 - fy)
                 + bl * (1 - fx) * fy + br * fx * fy)
            t = (BAYER4[y % 4][x % 4] + 0.5) / 16 - 0.5
            if cls == "grass" and v < 1:
                # The meadow's shade is a thinning of darker blades, never a
                # dithered blot: short upright strokes, at most a third of it.
                v = 1 - (1 - v) * 0.35
                t = (cell_hash(x, (y + 3 * x) // 2, 11) % 16 + 0.5) / 16 - 0.5
            if cls == "jungle":
                # The jungle floor's shade is dappled, in clumps of leaf
                # litter with a ragged edge, never a dithered square.
                c = cell_hash(x // 2 + 5 * (y // 2), tl + 3 * tr + 9 * bl + 27 * br, 61) % 16
                t = ((c + 0.5) / 16 - 0.5) * 1.7 + ((BAYER4[y % 4][x % 4] + 0.5) / 16 - 0.5) * 0.3
            i = int(v + t + 0.5 + 1000) - 1000
            g[y][x] = keys[max(0, min(len(keys) - 1, i))]
    return g


def _put(g, x, y, k):
    if 0 <= x < 8 and 0 <= y < 8:
        g[y][x] = k


def _lit(g, x, y):
    if 0 <= x < 8 and 0 <= y < 8:
        g[y][x] = LIGHTER.get(g[y][x], g[y][x])


def _dim(g, x, y):
    if 0 <= x < 8 and 0 <= y < 8:
        g[y][x] = DARKER.get(g[y][x], g[y][x])


WADI_W = 64  # the crack pattern of the dry riverbed repeats every 8 x 8 blocks


def _wadi_plates(w=WADI_W):
    """The plates of sun-cracked mud: a jittered grid of cells, the plate
    of each pixel the nearest cell centre, wrapped so that the pattern tiles
    without a seam.  Gives each pixel's plate number."""
    n = w // 8
    size = w / n
    rng = Rng("wadi plates")
    centres = [((i + 0.1 + 0.8 * rng.below(100) / 99) * size, (j + 0.1 + 0.8 * rng.below(100) / 99) * size)
               for j in range(n) for i in range(n)]
    plate = [[0] * w for _ in range(w)]
    for y in range(w):
        for x in range(w):
            best = None
            for k, (cx, cy) in enumerate(centres):
                dx = min(abs(x + 0.5 - cx), w - abs(x + 0.5 - cx))
                dy = min(abs(y + 0.5 - cy), w - abs(y + 0.5 - cy))
                d = dx * dx + dy * dy
                if best is None or d < best[0]:
                    best = (d, k)
            plate[y][x] = best[1]
    return plate


WADI_PLATES = _wadi_plates()


def wadi_details(g, variant, rng):
    """Cracks between the mud plates, each a dark groove whose far side
    (facing the light from the top left) is the plate's pale lip; now and
    then a plate baked paler, and a few pebbles.  The variant is the block's
    place in the repeating pattern (column modulo 8 plus 8 times row modulo 8)."""
    ox, oy = (variant % 8) * 8, (variant // 8 % 8) * 8
    w = WADI_W

    def plate(x, y):
        return WADI_PLATES[(oy + y) % w][(ox + x) % w]

    def cracked(a, b):
        # Not every pair of plates has split apart: some lie as one.
        return a != b and cell_hash(min(a, b), max(a, b), 43) % 3 != 0

    for y in range(8):
        for x in range(8):
            here = plate(x, y)
            k = g[y][x]
            if cracked(here, plate(x + 1, y)) or cracked(here, plate(x, y + 1)):
                g[y][x] = "q" if k != "m" else "b"
            elif cracked(here, plate(x - 1, y)) or cracked(here, plate(x, y - 1)):
                if (ox + oy + x + y) % 3:
                    g[y][x] = "m" if k != "m" else "n"
            elif cell_hash(here, 0, 41) % 5 == 0 and (x + 2 * y) % 4 == 0:
                g[y][x] = "m" if k == "b" else k
    for _ in range(1 + variant % 2):
        x, y = 1 + rng.below(6), 1 + rng.below(6)
        if rng.below(3) == 0:   # a pebble washed down in the last flood
            _put(g, x, y, "e"); _put(g, x + 1, y, "d")


def ground_details(g, cls, variant, rng, corners=FLAT):
    """Small marks on the ground, in the tone of the pixels they sit on;
    where the ground lies in the sun there are more of them."""
    sun = sum(corners) - 2 * len(corners)
    if cls in DESERT_GROUNDS:
        return DESERT_GROUNDS[cls](g, variant, Rng(cls, variant, corners), sun)
    if cls == "grass":
        for _ in range(2 + variant % 3 + max(0, sun)):
            x, y = rng.below(8), 1 + rng.below(6)
            kind = rng.below(4)
            if kind == 0:      # a tuft of blades
                _lit(g, x, y); _lit(g, x + 2, y); _lit(g, x + 1, y - 1); _dim(g, x + 1, y + 1)
            elif kind == 1:    # a single blade
                _lit(g, x, y - 1); _lit(g, x, y); _dim(g, x + 1, y + 1)
            elif kind == 2:    # a shadowed dip
                _dim(g, x, y); _dim(g, x + 1, y)
            else:
                _lit(g, x, y)
        if variant == 5:
            _put(g, 2 + rng.below(4), 2 + rng.below(4), "y")
    elif cls == "jungle":
        for _ in range(2 + variant % 2 + max(0, sun) // 2):
            x, y = rng.below(7), rng.below(7)
            kind = rng.below(3)
            if kind == 0:      # a fallen leaf
                _lit(g, x, y); _lit(g, x + 1, y); _lit(g, x, y + 1); _dim(g, x + 1, y + 1)
            elif kind == 1:    # a root or twig
                _put(g, x, y, "q"); _put(g, x + 1, y + 1, "q"); _put(g, x + 2, y + 1, "b")
            else:
                _lit(g, x, y)
        if variant == 3:
            x, y = 1 + rng.below(5), 1 + rng.below(5)
            _put(g, x, y, "a"); _put(g, x + 1, y, "G"); _put(g, x, y + 1, "G")
    elif cls == "sand":
        for _ in range(1 + variant % 2):  # wind ripples
            x, y = rng.below(5), 1 + rng.below(6)
            for i in range(3 + rng.below(2)):
                _dim(g, x + i, y + (1 if i in (0, 3) else 0))
                _lit(g, x + i, y - 1 + (1 if i in (0, 3) else 0))
        if variant % 8 == 3:  # a pebble, in the sand's own browns: bullets fly here
            x, y = 1 + rng.below(5), 1 + rng.below(5)
            _put(g, x, y, "h"); _put(g, x + 1, y, "e"); _put(g, x, y + 1, "b"); _put(g, x + 1, y + 1, "h")
        elif variant % 4 == 1:
            _dim(g, rng.below(8), rng.below(8))
    elif cls == "wadi":
        wadi_details(g, variant, rng)
    elif cls in ("dirt", "mud"):
        for _ in range(2 + variant % 2):
            x, y = rng.below(7), rng.below(7)
            if rng.below(2):   # a clod with its light side up
                _lit(g, x, y); _dim(g, x, y + 1); _dim(g, x + 1, y + 1)
            else:
                _dim(g, x, y); _dim(g, x + 1, y)
        if cls == "mud" and variant == 2:   # a wet glint
            x, y = 1 + rng.below(5), 1 + rng.below(6)
            _put(g, x, y, "u"); _put(g, x + 1, y, "u"); _put(g, x + 1, y - 1 if y else y, "U")
        if cls == "dirt" and variant % 4 == 3:
            x, y = 1 + rng.below(5), 1 + rng.below(5)
            _put(g, x, y, "e"); _put(g, x + 1, y, "d")
    elif cls == "concrete":
        for i in range(8):
            if variant & 2:
                _dim(g, i, 7)
            if variant & 1:
                _dim(g, 7, i)
        if not variant & 3:
            _lit(g, 0, 0)
        variant >>= 2
        if variant % 4 == 1:   # a crack
            x, y = 1 + rng.below(4), 1 + rng.below(3)
            for i in range(4):
                _put(g, x + i // 2 + (i % 2), y + i, "d")
        elif variant % 4 == 2:
            _dim(g, rng.below(7), rng.below(7))
    elif cls == "flagstones":
        flagstone_joints(g, variant, rng)
    elif cls == "ash":
        for _ in range(3):
            x, y = rng.below(8), rng.below(8)
            kind = rng.below(4)
            if kind == 0:
                _put(g, x, y, "d")
            elif kind == 1:
                _put(g, x, y, "b")
            elif kind == 2:
                _put(g, x, y, "q")
            else:
                _lit(g, x, y)
        if variant == 3:
            _put(g, 2 + rng.below(4), 2 + rng.below(4), "o")
    elif cls == "road":
        speckle(g, rng, [("k", 3), ("e", 1)])


# How a square of 2 x 2 blocks of flagstones is laid: rectangles (x, y, w, h)
# in pixels that fill the 16 x 16 square.  Every square ends in a joint, so
# the squares may be laid in any order.
FLAG_BONDS = (
    ((0, 0, 10, 7), (10, 0, 6, 7), (0, 7, 6, 9), (6, 7, 10, 9)),
    ((0, 0, 7, 9), (7, 0, 9, 5), (7, 5, 9, 4), (0, 9, 16, 7)),
    ((0, 0, 16, 6), (0, 6, 9, 10), (9, 6, 7, 10)),
    ((0, 0, 6, 6), (6, 0, 10, 6), (0, 6, 6, 10), (6, 6, 5, 10), (11, 6, 5, 10)),
)


def flagstone_joints(g, variant, rng):
    """The joints and edges of the flags a block shows: variant holds the
    block's place in its square (bits 0 and 1), the bond (bits 2 and 3) and
    which flags are a shade darker (bit 4).  Each flag is lit along its top
    and left edges; the joint below and right of it lies in its shadow."""
    ox, oy = 8 * (variant & 1), 8 * ((variant >> 1) & 1)
    bond = FLAG_BONDS[(variant >> 2) & 3]
    for n, (rx, ry, rw, rh) in enumerate(bond):
        dark = (n + (variant >> 4)) % 4 == 0
        for y in range(max(ry, oy), min(ry + rh, oy + 8)):
            for x in range(max(rx, ox), min(rx + rw, ox + 8)):
                px, py = x - ox, y - oy
                if x == rx + rw - 1 or y == ry + rh - 1:
                    g[py][px] = "m" if g[py][px] == "n" and not dark else "b"
                elif x == rx or y == ry:
                    _lit(g, px, py)
                elif dark:
                    _dim(g, px, py)
    if rng.below(3) == 0:     # a worn pit in one of the flags
        x, y = 1 + rng.below(5), 1 + rng.below(5)
        if g[y][x] in ("n", "m") and g[y + 1][x + 1] in ("n", "m"):
            _dim(g, x, y)
            _lit(g, x + 1, y + 1)


def ground_tile(cls, variant, corners=FLAT):
    if cls == "townflags":
        return town_flagstones(ground_tile("flagstones", variant, corners), variant)
    g = tone_fill(cls, corners)
    ground_details(g, cls, variant, Rng("ground", cls, variant), corners)
    return g


def fringe(g, side, key, alt, variant=0):
    """A ragged band of another ground along one side of a tile."""
    depth = [(2, 1, 1, 2, 3, 2, 1, 2), (1, 2, 3, 2, 1, 1, 2, 3),
             (3, 2, 1, 1, 2, 2, 1, 2)][variant % 3]
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


def draw_ground(cls, variant, fringes=(), corners=FLAT):
    g = ground_tile(cls, variant, corners)
    for side, other in fringes:
        keys = GROUND_BASE[other]
        fringe(g, side, keys[2], keys[4] if other in ("grass", "jungle") else keys[1], variant)
    return g


# ----------------------------------------------------------------- water ---

def wading_water(water, at=None):
    """A block of water drawn in front of a swimmer; `at` is his left edge
    relative to the block when the block holds the line where he breaks the
    surface: a ring of shallows with flecks of foam across his body and
    wavelets spreading from it."""
    g = [row[:] for row in water]
    if at is None:
        return g
    for px in range(8):
        d = px - at   # across his 24-px picture
        if 4 <= d <= 19:
            g[0][px] = "x" if d in (6, 10, 13, 17) else "C"
        elif d in (2, 3, 20, 21):
            g[1][px] = "C"
    return g


def water_tile(variant, shore, quay=False):
    """Water; shore is the set of sides that face land.  In a quay (a canal
    or a basin) stone kerbs hold it, and the kerbs at its top and left cast
    their shadow on the water."""
    g = blank("U")
    rng = Rng("water", variant)
    for _ in range(2):
        x, y = rng.below(5), 1 + rng.below(6)
        g[y][x] = g[y][x + 1] = "c"
        g[y][x + 2] = "c" if variant % 2 else "U"
    speckle(g, rng, [("u", 3)])
    if quay:
        for side in shore:
            for i in range(8):
                if side == N_:
                    g[0][i], g[1][i] = "e", "u"
                elif side == W_:
                    g[i][0], g[i][1] = "e", "u"
                elif side == S_:
                    g[7][i], g[6][i] = "d", "c"
                else:
                    g[i][7], g[i][6] = "d", "c"
        for side in shore:   # the top and left kerbs run over the others' ends
            for i in range(8):
                if side == N_:
                    g[0][i] = "f" if i % 4 else "e"
                elif side == W_:
                    g[i][0] = "f" if i % 4 else "e"
        return g
    for side in shore:
        for i in range(8):
            if side == N_:
                g[0][i], g[1][i] = "n", ("c" if i % 3 else "x")
            elif side == S_:
                g[7][i], g[6][i] = "h", ("u" if i % 2 else "U")
            elif side == W_:
                g[i][0], g[i][1] = "n", ("c" if i % 3 else "x")
            else:
                g[i][7], g[i][6] = "n", ("c" if (i + 1) % 3 else "x")
    return g


# ------------------------------------------------------------------ road ---

def road_tile(variant, kerbs, dash, calm=False):
    g = ground_tile("road", variant % 3)
    if calm:
        calm_asphalt(g, variant)
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


def avenue_tile(variant, kerbs, marking, row):
    """Asphalt of an avenue running up the map: kerbs at its sides, lane
    lines along it (a double yellow line at its middle, grey dashes between
    the lanes), and zebra stripes where a street crosses it.  Its grain is
    calm (calm_asphalt)."""
    g = road_tile(variant, (), None, calm=True)
    if marking == "centre":
        for y in range(8):
            g[y][2] = g[y][5] = "y"
    # The paint is mid grey, worn: a white bullet must stand out on it.
    elif marking == "lane" and row % 2 == 0:
        for y in range(1, 7):
            g[y][3] = g[y][4] = "e"
    elif marking == "zebra":
        for y in range(1, 7):
            for x in range(1, 5):
                g[y][x] = "e" if (x + y + variant) % 5 else "d"
    for side in kerbs:
        for i in range(8):
            if side == W_:
                g[i][0], g[i][1] = "f", "e"
            elif side == E_:
                g[i][7], g[i][6] = "e", "k"
    return g


# ------------------------------------------------- the base's paved ways ---

# The enemy base's other ways across the map, each drawn for its place in
# its band (the run of equal blocks it lies in): bx, by are the block's
# pixel offsets in the band, bw, bh the band's size in pixels.

def _band_pixels(bw, bh, bx, by, mark):
    """The pixels of a block that mark(X, Y) asks for, in band pixels."""
    return [(x, y) for y in range(8) for x in range(8) if mark(bx + x, by + y, bw, bh)]


def _runway_mark(X, Y, W, H):
    # Edge lines, a dashed centre line, threshold bars at both ends and the
    # touchdown and aiming blocks after them.
    if Y in (3, 4, H - 5, H - 4) and 4 <= X < W - 4:
        return True
    ends = min(X, W - 1 - X)
    if 8 <= ends < 40:
        return 8 <= Y < H - 8 and (Y - 8) % 6 < 3
    if 56 <= ends < 80:
        return Y in range(10, 14) or Y in range(H - 14, H - 10)
    if 96 <= ends < 128:
        return Y in range(11, 17) or Y in range(H - 17, H - 11)
    return Y in (H // 2 - 1, H // 2) and X % 24 < 14


def runway_tile(variant, bx, by, bw, bh, kerbs):
    """Asphalt of the airstrip: worn dark grey with light grey markings."""
    g = calm_asphalt(ground_tile("road", variant % 3), variant)
    for y in range(8):                       # no pale grit: the paint alone is light on it
        for x in range(8):
            if g[y][x] == "e":
                g[y][x] = "d"
    for x, y in _band_pixels(bw, bh, bx, by, _runway_mark):
        worn = cell_hash((bx + x) // 3, (by + y) // 2, 5) % 9 == 0
        g[y][x] = "d" if worn else "e"        # worn paint in flakes, darker than a bullet
    for x in range(8):                                                  # the shoulders
        if N_ in kerbs:
            g[0][x], g[1][x] = "e", "d"
        if S_ in kerbs:
            g[7][x], g[6][x] = "k", "q"
    return g


def taxiway_tile(variant, bx, by, bw, bh, kerbs):
    """A taxiway: asphalt with a yellow centre line and yellow edge lines."""
    g = road_tile(variant, kerbs, None, calm=True)
    for y in range(8):
        Y = by + y
        for x in range(8):
            if Y in (bh // 2 - 1, bh // 2) or Y in (4, bh - 5):
                g[y][x] = "y"
            elif Y in (6, bh - 7) and (bx + x) % 8 < 5:
                g[y][x] = "y"
    return g


def apron_tile(variant, bx, by, bw, bh, kerbs):
    """Concrete apron: big slabs, their joints shadowed to the right and
    below, oil stains, and yellow guide lines to the stands."""
    g = blank("e")
    rng = Rng("apron", variant)
    speckle(g, rng, [("d", 3), ("f", 1)])
    for y in range(8):
        Y = by + y
        for x in range(8):
            X = bx + x
            if Y % 16 == 15 or X % 24 == 23:
                g[y][x] = "d"
            elif Y % 16 == 0 or X % 24 == 0:
                g[y][x] = "f"
            if Y in (bh // 2 - 1, bh // 2) and 6 <= X < bw - 6:
                g[y][x] = "y"
            elif X % 48 in (35, 36) and 6 <= Y < bh // 2 - 1:
                g[y][x] = "y"
    if variant % 4 == 1:          # an oil stain
        for x, y in ((3, 3), (4, 3), (2, 4), (3, 4), (4, 4), (5, 4), (3, 5)):
            g[y][x] = "d"
    for x in range(8):
        if N_ in kerbs:
            g[0][x] = "f"
        if S_ in kerbs:
            g[7][x], g[6][x] = "k", "d"
    return g


def track_tile(variant, bx, by, bw, bh, kerbs):
    """A packed gravel track: sandy, two pairs of wheel ruts worn into it,
    its edges ragged where the base's ground spills over."""
    g = ground_tile("sand", variant % 4)
    for x in range(8):
        X = bx + x
        wobble = int(1.5 * smooth_noise(X, 0, 41, 20.0) + 0.5)
        for rut in (bh // 4, bh // 4 + 6, bh - bh // 4 - 6, bh - bh // 4):
            for y, k in ((rut + wobble - by, "b"), (rut + wobble + 1 - by, "h"), (rut + wobble - 1 - by, "m")):
                if 0 <= y < 8 and (k != "b" or cell_hash(X, y, 9) % 7):
                    g[y][x] = k
    if variant % 4 == 2:          # a pebble
        _put(g, 5, 3, "e"); _put(g, 6, 3, "d")
    for side in kerbs:
        fringe(g, side, GROUND_BASE["dirt"][2], GROUND_BASE["dirt"][0], variant)
    return g


PAVED = {"runway": runway_tile, "taxiway": taxiway_tile, "apron": apron_tile, "track": track_tile}


def bridge_rails(g, sides):
    """The parapets of a road bridge over a canal on the sides facing it:
    a concrete kerb lit on top, its shadow falling on the water side."""
    for x in range(8):
        post = x % 4 == 0
        if N_ in sides:
            g[0][x], g[1][x], g[2][x] = ("d" if post else "e"), "f", "k"
        if S_ in sides:
            g[5][x], g[6][x], g[7][x] = "f", ("d" if post else "e"), "k"
    return g


def canal_tile(variant, sides):
    """A drainage canal between concrete walls: dark water streaked along
    its flow, the west wall's face lit, the east wall's top in the sun and
    its shadow on the water; under a bridge the water lies in shadow."""
    g = blank("u")
    rng = Rng("canal", variant)
    for _ in range(3):
        x, y = 2 + rng.below(4), rng.below(6)
        g[y][x] = g[y + 1][x] = "U"
    for y in range(8):
        if W_ in sides:
            g[y][0], g[y][1], g[y][2] = "e", "f", ("d" if y % 4 else "e")
        if E_ in sides:
            g[y][7], g[y][6], g[y][5] = "d", "e", "q"
    for x in range(8):
        if N_ in sides:
            g[0][x] = g[1][x] = "k" if g[0][x] in ("u", "U", "q") else g[0][x]
            g[2][x] = "q" if g[2][x] in ("u", "U") else g[2][x]
        if S_ in sides:
            g[7][x] = "e" if g[7][x] in ("u", "U") else g[7][x]
    return g


# ----------------------------------------------------------------- walls ---

# The looks of a house, one per building: its walls (face, mortar, lit
# top), its window frames and its roof tiles (base, tile edges, lit ridge,
# the shadow under the eaves).
HOUSES = (
    {"wall": ("R", "r", "o"), "frame": "e", "roof": ("r", "R", "o", "r")},   # red brick, red tiles
    {"wall": ("m", "b", "n"), "frame": "q", "roof": ("b", "q", "h", "q")},   # ochre render, brown tiles
    {"wall": ("e", "d", "f"), "frame": "f", "roof": ("d", "q", "e", "q")},   # grey stone, slate
)
SLATE = 2


def wall_tile(variant, top, bottom, style, house=0):
    """Stone blocks; a lit top where nothing of the wall lies above."""
    face, mortar, light = {"stone": ("e", "d", "f"), "fort": ("d", "k", "e"),
                           "brick": HOUSES[house]["wall"]}[style]
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


def facade_tile(variant, bottom, house=0):
    """The front of a house under its roof: its wall with a window in every
    other block, dark glass in a frame and a sill."""
    g = wall_tile(variant, False, bottom, "brick", house)
    frame = HOUSES[house]["frame"]
    if variant % 2 == 0:
        for y in range(1, 6):
            for x in range(2, 6):
                g[y][x] = frame if y in (1, 5) or x in (2, 5) else "u"
        g[2][3] = "U"
        for x in range(1, 7):
            g[6][x] = "d"
    return g


def roof_tile(variant, top, bottom, house=0, left=False, right=False):
    """Rows of tiles; the ridge along the top is outlined and lit, the
    gable end at the left catches the light, the one at the right and the
    eaves lie in shade, and each end is outlined."""
    base, edge, light, eaves = HOUSES[house]["roof"]
    g = blank(base)
    for y in range(8):
        for x in range(8):
            if (x + (y // 2) * 2) % 4 == 0:
                g[y][x] = edge
    if variant % 3 == 0:
        g[3][5] = light
    if top:
        for x in range(8):
            g[0][x] = "k"
            g[1][x] = light
            g[2][x] = light if x % 4 == 1 else eaves
    if bottom:
        for x in range(8):
            g[7][x] = "k"
            g[6][x] = eaves
    for y in range(1 if top else 0, 7 if bottom else 8):
        if left:
            g[y][0], g[y][1] = "k", light
        if right:
            g[y][7], g[y][6] = "k", eaves
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


def _camouflage(w=32, h=16):
    """A w x h pattern of painted camouflage that tiles without a seam:
    olive with khaki and brown blots, laid over the citadel's concrete."""
    def noise(x, y, salt, cell):
        return smooth_noise(x, y, salt, cell, wrap=(w // cell, h // cell))

    g = blank("a", w, h)
    for key, salt, cut in (("h", 3, 0.6), ("b", 11, 0.64)):
        for y in range(h):
            for x in range(w):
                if 0.6 * noise(x, y, salt, 8) + 0.4 * noise(x, y, salt + 1, 4) > cut:
                    g[y][x] = key
    return g


CAMOUFLAGE = _camouflage()


def citadel_tile(part, depth, sides, slit):
    """The enemy citadel seen from above: a flat top painted in camouflage,
    and the last three rows above its foot its front face of sandy concrete,
    with a crenellated parapet, gun slits and a dark shadow at the foot.
    depth is how many rows of it lie below (0 at the foot)."""
    if depth >= 3:
        px0, py0 = 8 * (part % 4), 8 * (part // 4)
        g = [row[px0:px0 + 8] for row in CAMOUFLAGE[py0:py0 + 8]]
        if N_ in sides:
            for x in range(8):
                g[0][x] = "n"
        if W_ in sides:
            for y in range(8):
                g[y][0] = "n"
        if E_ in sides:
            for y in range(8):
                g[y][7] = "q"
        return g
    g = blank("m")
    for y in range(8):            # the seams of the concrete pours
        g[y][(part % 4) * 2 % 8] = "h"
    rng = Rng("citadel", part, depth)
    speckle(g, rng, [("h", 3), ("n", 2)])
    if depth == 2:
        for x in range(8):
            merlon = (x // 2) % 2 == 0
            g[0][x] = "n" if merlon else "q"
            g[1][x] = "m" if merlon else "q"
            g[2][x] = "n"
            g[3][x] = "h"
    if slit and depth == 1:
        for x in range(1, 7):
            g[2][x] = "k"
            g[3][x] = "k"
            g[4][x] = "b"
    if W_ in sides:
        for y in range(8):
            g[y][0] = "n" if g[y][0] != "q" else "q"
    if E_ in sides:
        for y in range(8):
            g[y][7] = "b" if g[y][7] != "q" else "q"
    if depth == 0:
        for x in range(8):
            g[6][x] = "b"
            g[7][x] = "k"
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
    """A trench dug into the ground, read from above at a glance: its floor
    lies deep in shadow (dark earth, duckboards where it runs on); its far
    (north) lip is a pale band of thrown-up earth over the wall below it,
    which faces the light; along its near (south) side a parapet of
    sandbags, their seams staggered, hides the near wall.  Where it ends,
    the west end wall is in shadow and the east one catches the light."""
    g = blank("q")
    rng = Rng("trench", variant)
    speckle(g, rng, [("k", 5), ("b", 2)])
    n, s = N_ in sides, S_ in sides
    if n and s:
        far, bags = 2, 3
        lit = ("z", "h")
    else:
        far, bags = (4 if n else 0), (4 if s else 0)
        lit = ("z", "n", "h", "b")
    for y in range(far):
        for x in range(8):
            k = lit[y]
            if y == 0 and (x * 3 + variant) % 7 == 0:
                k = "m"
            elif y > 0 and (x + y + variant) % 5 == 0:
                k = lit[min(len(lit) - 1, y + 1)]
            g[y][x] = k
    if n and not s:
        for x in range(8):
            g[4][x] = "k" if (x + variant) % 3 else "q"   # the wall's dark foot
    if not n and not s:
        # Duckboards along the floor: slats across, a dark gap between.
        for y in range(8):
            if y % 3 != 2:
                for x in range(2, 6):
                    g[y][x] = "b" if y % 3 == 0 else "q"
    if bags:
        y0 = 8 - bags
        g_top = y0
        for y in range(y0, 8):
            for x in range(8):
                seam = (x + (2 if (y - y0) >= 2 else 0)) % 4 == 0
                if y == g_top:
                    k = "h" if seam else ("z" if x % 4 == 1 else "n")
                elif y == 7:
                    k = "q" if seam else "b"
                else:
                    k = "b" if seam else ("m" if y == g_top + 1 else "h")
                g[y][x] = k
        for x in range(8):
            if g[y0 - 1][x] != "z" and y0 - 1 >= far:
                g[y0 - 1][x] = "k"       # the parapet's shadowed inner face
    rows = range(8 - bags) if bags else range(8)
    if W_ in sides:
        for y in rows:
            g[y][0] = "b" if y >= far else g[y][0]
            g[y][1] = "k" if y >= far else g[y][1]
        if bags:
            for y in range(8 - bags, 8):
                if g[y][0] in ("n", "z", "m"):
                    g[y][0] = "h"
    if E_ in sides:
        for y in rows:
            if y >= far:
                g[y][6] = "h"
                g[y][7] = "n"
        if bags:
            for y in range(8 - bags, 8):
                g[y][7] = "q" if y == 7 else "b"
    return g


# ---------------------------------------------------------------- cliffs ---

FACE_H = 14  # the height in pixels of the face a riverbank's slope shows


def _cliff_face(w=32, h=FACE_H):
    """The earth face of a riverbank's slope: a w x h strip that tiles
    sideways without a seam, lit at its lip, with jagged cracks, ledges and
    a dark foot."""
    def noise(x, y, salt, cx, cy):
        return smooth_noise(x, y, salt, cx, cy, wrap=(w // cx, None))

    g = blank("b", w, h)
    for y in range(h):
        for x in range(w):
            v = 0.6 * noise(x, y, 5, 8, 5) + 0.4 * noise(x, y, 9, 4, 3)
            v -= 0.55 * y / h          # darker towards the foot
            t = (BAYER4[y % 4][x % 4] + 0.5) / 16 - 0.5
            v += t * 0.25
            g[y][x] = "n" if v > 0.7 else "h" if v > 0.5 else "b" if v > 0.2 else "q"
    rng = Rng("face")
    for i in range(7):
        x = (i * 5 + rng.below(3)) % w
        for y in range(1 + rng.below(3), h - 1):
            g[y][x] = "q"
            g[y][(x - 1) % w] = "h" if g[y][(x - 1) % w] in ("b", "r", "q") else "n"
            if rng.below(3) == 0:
                x = (x + (1 if rng.below(2) else -1)) % w
    for x in range(w):
        g[0][x] = "z" if (x * 7) % 5 else "n"   # the lit lip
        g[1][x] = "n" if g[1][x] in ("b", "r") and x % 3 == 0 else g[1][x]
        g[h - 2][x] = "q" if g[h - 2][x] != "n" else "r"
        g[h - 1][x] = "k"
    return g


CLIFF_FACE = _cliff_face()

ROCK_PERIOD = 128       # the rock's patterns repeat every this many pixels
CLIFF_FACE_H = 24       # the south face of a cliff, in pixels, where it fits
CLIFF_SIDE_W = 10       # the slopes of its east and west faces
# Each tone ramp runs from dark to light.
# The tops stay darker than light grey: soldiers stand on them, and a white
# bullet must stand out there.
ROCK_TOP = ("d", "d", "e", "e", "e")
ROCK_GREY = ("k", "q", "d", "e", "f")
ROCK_FACE = ("k", "q", "d", "d", "e", "e")
ROCK_STAIN = ("k", "q", "b", "b", "d", "e")   # rust and damp weathering down a face


def _ramp(ramp, v, x, y):
    """The ramp's colour for v (0..1), dithered."""
    t = (BAYER4[y % 4][x % 4] + 0.5) / 16 - 0.5
    i = int(v * len(ramp) + t * 0.9)
    return ramp[max(0, min(len(ramp) - 1, i))]


def _rock_noise(x, y, salt, cell):
    n = ROCK_PERIOD
    return smooth_noise(x % n, y % n, salt, cell, wrap=(n // cell, n // cell))


def _rock_top(n=ROCK_PERIOD):
    """The top of the cliffs seen from above: an n x n pattern, tiling every
    way, of weathered rock: a rough relief lit from the upper left, split by
    winding fissures (dark, their far side catching the light) and strewn
    with grit."""
    def height(x, y):
        return (0.5 * _rock_noise(x, y, 61, 16) + 0.25 * _rock_noise(x, y, 62, 8)
                + 0.15 * _rock_noise(x, y, 63, 4) + 0.1 * _rock_noise(x, y, 66, 2))

    hmap = [[height(x, y) for x in range(n)] for y in range(n)]
    # Fissures: where a slow field crosses its middle value.
    fis = [[_rock_noise(x, y, 64, 16) * 0.7 + _rock_noise(x, y, 65, 8) * 0.3 for x in range(n)]
           for y in range(n)]
    fine = [[_rock_noise(x, y, 67, 8) for x in range(n)] for y in range(n)]
    # The fine cracks break off where a third field is low.
    crack = [[abs(fis[y][x] - 0.5) < 0.025
              or (abs(fine[y][x] - 0.5) < 0.02 and _rock_noise(x, y, 68, 16) > 0.55)
              for x in range(n)] for y in range(n)]
    g = blank("e", n, n)
    for y in range(n):
        for x in range(n):
            if crack[y][x]:
                g[y][x] = "q"
                continue
            slope = hmap[(y - 1) % n][(x - 1) % n] - hmap[(y + 1) % n][(x + 1) % n]
            v = 0.5 + 4.0 * slope + 0.2 * (hmap[y][x] - 0.5)
            if crack[(y - 1) % n][(x - 1) % n] or crack[(y - 1) % n][x]:
                v += 0.3        # the far wall of a fissure, in the light
            elif crack[(y + 1) % n][(x + 1) % n]:
                v -= 0.25
            g[y][x] = _ramp(ROCK_TOP, v, x, y)
    rng = Rng("grit")
    for _ in range(n * n // 70):
        x, y = rng.below(n), rng.below(n)
        if g[y][x] != "q":
            g[y][x] = "d"
    return g


ROCK_TOP_PIXELS = _rock_top()


def _flutes(x, salt):
    """Where pixel column x lies across the rock's vertical flutes: 0 at a
    flute's lit left edge to 1 at its shadowed right edge."""
    start = x
    while cell_hash(start % ROCK_PERIOD, salt, 71) % 6 != 0 and x - start < 8:
        start -= 1
    end = x + 1
    while cell_hash(end % ROCK_PERIOD, salt, 71) % 6 != 0 and end - start < 10:
        end += 1
    return (x - start + 0.5) / (end - start)


def _layer_of(x, h, salt=0):
    """Which bed of rock lies h pixels above the foot of a face at pixel
    column x, and how far through it (0 its top, 1 its bottom)."""
    wave = 3.0 * _rock_noise(x, 0, 41 + salt, 16)
    pos = (h + wave) / 6.0
    bed = int(pos // 1)
    return bed, 1 - (pos - bed)


FACET_W, FACET_H = 9, 7   # the spacing of the facets of a cliff's face


def _facet(x, h):
    """Where a pixel of a cliff's face (column x, h pixels above its foot)
    lies among the face's facets: the facet's own tone (0..1), how far the
    pixel is from the cleft to the next facet (in pixels, about), and how it
    is lit within its facet (-0.5 shaded lower right .. 0.5 lit upper left)."""
    gx, gy = x // FACET_W, h // FACET_H
    best = []
    for cy in (gy - 1, gy, gy + 1):
        for cx in (gx - 1, gx, gx + 1):
            hsh = cell_hash(cx % (ROCK_PERIOD // FACET_W + 1), cy, 75)
            sx = cx * FACET_W + hsh % FACET_W
            sy = cy * FACET_H + (hsh >> 5) % FACET_H
            d = ((x - sx) ** 2 + ((h - sy) * 1.3) ** 2) ** 0.5
            best.append((d, sx, sy, hsh))
    best.sort()
    (d1, sx, sy, hsh), d2 = best[0], best[1][0]
    tone = (hsh >> 10) % 100 / 100.0
    lit = max(-0.5, min(0.5, ((sx - x) + (h - sy)) / (FACET_W * 1.2)))
    return tone, d2 - d1, lit


def _side_slope(d, X, Y, salt, light, fall, lip, foot):
    """A pixel of a cliff's east or west slope, d pixels from its foot: its
    ribs run down the slope, it darkens by `fall` from its lip (`lip`, with
    the tone `light`) to its foot (`foot`)."""
    if d == CLIFF_SIDE_W:
        return lip
    if d == 1:
        return foot
    t = (CLIFF_SIDE_W - d) / (CLIFF_SIDE_W - 1)   # 0 at its lip, 1 at its foot
    return _ramp(ROCK_GREY, light - fall * t - 0.3 * (_flutes(Y, salt) - 0.5), X, Y)


def cliff_block(open_at, ox, oy):
    """Rocky high ground standing up from the ground around it, lit from the
    upper left: a top of weathered, fissured rock; a tall face of fluted,
    layered rock where it ends towards the south (in shade, darker towards
    its foot); steep slopes where it ends towards the east (in shadow) and
    the west (in the light); a lit rim where it drops away to the north.
    open_at(dx, dy) tells whether the block at that offset is open ground
    (the map's edges are not); ox, oy are the block's pixel position within
    the rock's pattern."""
    def run(dx, dy, limit):
        """How many blocks of cliff follow this one in a direction."""
        k = 0
        while k < limit and not open_at(dx * (k + 1), dy * (k + 1)):
            k += 1
        return k

    below, above = run(0, 1, 3), run(0, -1, 3)
    east, west = run(1, 0, 2), run(-1, 0, 2)
    g = blank("e")
    for j in range(8):
        for i in range(8):
            X, Y = ox + i, oy + j
            ds = (below + 1) * 8 - j          # pixels to the foot of the face
            dn = j + 1 + above * 8            # pixels to the northern edge
            de = (east + 1) * 8 - i
            dw = i + 1 + west * 8
            h = min(CLIFF_FACE_H, dn + ds - 1 - 4)   # a thin cliff keeps a rim of top
            if ds <= h:
                # The south face: rock broken into blocky facets, each lit
                # on its upper left and shaded towards its lower right, the
                # clefts between them dark; weathered in warm stains; the
                # lip in the light, the foot in the dark.
                hf, fy = ds - 1, h - ds
                tone, edge, lit = _facet(X, hf)
                v = 0.86 - 0.42 * fy / max(1, h) + 0.35 * (tone - 0.5) + 0.3 * lit
                if de <= 3:
                    v -= 0.2                  # its east end turns away from the light
                stained = _rock_noise(X, hf + Y // 16 * 5, 47, 8) > 0.72
                k = _ramp(ROCK_STAIN if stained else ROCK_FACE, v, X, Y)
                if edge < 0.9:
                    k = "k" if edge < 0.45 and fy > h // 3 else "q"   # a cleft
                if fy == 0:
                    k = "f" if X % 5 else "e"
                elif fy == 1:
                    k = "q" if k in ("k", "q") else "d"    # under the lip
                if hf == 0 or de == 1:
                    k = "k"
                elif hf == 1 or dw == 1:
                    k = "q"
                g[j][i] = k
            elif de <= CLIFF_SIDE_W:
                # A slope facing east, in shadow, ribbed down its fall.
                g[j][i] = _side_slope(de, X, Y, 5, 0.45, 0.3, "e", "k")
            elif dw <= CLIFF_SIDE_W:
                # A slope facing west, in the light.
                g[j][i] = _side_slope(dw, X, Y, 6, 0.85, 0.25, "f", "q")
            elif dn <= 2:
                g[j][i] = "q" if dn == 1 else "f"   # the rim towards the north
            else:
                g[j][i] = ROCK_TOP_PIXELS[Y][X]
    return g


def wheel_ruts(g, columns, row):
    """Wheel ruts worn into a track: a dark groove two pixels wide down each
    of the given columns, its west wall in shadow and its east wall catching
    the light, worn away here and there (row is the block's row)."""
    out = [row_[:] for row_ in g]
    for x in columns:
        for y in range(8):
            if cell_hash(x, row * 8 + y, 67) % 11 == 0:
                continue
            for dx, k in ((0, "q"), (1, "b")):
                if 0 <= x + dx < 8:
                    out[y][x + dx] = k if out[y][x + dx] != "q" else "q"
            _lit(out, x + 2, y)
    return out


def scree(g, stones):
    """Loose stones fallen from a cliff onto the ground at its foot, each lit
    on its upper left with a shadow at its lower right."""
    out = [row[:] for row in g]
    for x, y in stones:
        _put(out, x, y, "e")
        _put(out, x + 1, y, "d")
        _put(out, x, y + 1, "d")
        _put(out, x + 1, y + 1, "q")
    return out


def bank_tile(ground, facing, depth, variant, phase=0):
    """A block of the bank of a dry riverbed: the plateau's ground breaking
    off in a rock slope two blocks wide towards the bed, which lies on the
    side `facing`; depth 1 is the block next to the bed, depth 2 the one
    behind it, where the slope begins.  A slope facing south shows its face,
    one facing east lies in shadow, one facing west catches the light, one
    facing north drops away out of sight."""
    g = [row[:] for row in ground]
    rng = Rng("bank", variant, depth)
    pebbles = [(rng.below(8), rng.below(8)) for _ in range(3)]

    def slope(i, n, lit):
        """The slope's colour i pixels down it from the lip, of n."""
        crack = cell_hash(i, variant, 29) % 4 == 0
        if i == 0:
            return "z"
        if lit:
            return "b" if crack else "n" if i < 3 else "m" if i < n - 4 else "b" if i < n - 1 else "q"
        return "q" if crack else "m" if i < 2 else "b" if i < n - 4 else "q"

    if facing == S_:
        rows = [(y, y + 6) for y in range(8)] if depth == 1 else [(y, y - 2) for y in range(2, 8)]
        for y, fy in rows:
            for x in range(8):
                g[y][x] = CLIFF_FACE[fy][(phase * 8 + x) % 32]
    elif facing in (E_, W_):
        # Twelve pixels of slope: the last four of the outer block, all of
        # the inner one.
        n = 12
        for y in range(8):
            for x in range(8):
                across = x if facing == E_ else 7 - x
                i = across - 4 if depth == 2 else across + 4
                if i < 0:
                    continue
                k = slope(i, n, facing == W_)
                if (y + i + variant) % 5 == 0 and i > 1:
                    k = "q" if facing == E_ else "b"
                g[y][x] = k
    else:  # N_: the edge drops away
        if depth == 1:
            for x in range(8):
                g[0][x] = "q"
                g[1][x] = "b"
                g[2][x] = "h" if x % 3 else "b"
        else:
            for x in range(8):
                g[7][x] = "z" if x % 2 else "n"
    for x, y in pebbles:
        if g[y][x] in ("n", "h", "z"):
            g[y][x] = "e" if (x + y) % 2 else "d"
    return g


# -------------------------------------------------------------- thickets ---

def _thicket_texture(size=32):
    """A size x size mass of round leafy clumps that tiles without a seam,
    each clump lit from the upper left over the dark of the undergrowth."""
    g = blank("j", size, size)
    z = [[-9.0] * size for _ in range(size)]
    rng = Rng("thicket")
    for _ in range(34):
        cx, cy, r = rng.below(size), rng.below(size), 2.6 + rng.below(16) / 10.0
        lift = rng.below(100) / 100.0
        for dy in range(-5, 6):
            for dx in range(-5, 6):
                d2 = (dx * dx + dy * dy) / (r * r)
                if d2 >= 1.0:
                    continue
                x, y = (cx + dx) % size, (cy + dy) % size
                hz = (1.0 - d2) ** 0.5
                if hz + lift <= z[y][x]:
                    continue
                z[y][x] = hz + lift
                light = (-0.6 * dx - 0.6 * dy) / r + 0.5 * hz
                t = (BAYER4[y % 4][x % 4] + 0.5) / 16 - 0.5
                v = light + t * 0.5
                g[y][x] = "a" if v > 0.75 else "G" if v > 0.2 else "g" if v > -0.35 else "j"
    # Where a higher clump overlaps a lower one, a dark rim between them.
    for y in range(size):
        for x in range(size):
            for dx, dy in ((1, 0), (0, 1)):
                if z[(y + dy) % size][(x + dx) % size] > z[y][x] + 0.45:
                    g[y][x] = "j"
    return g, z


THICKET, THICKET_Z = _thicket_texture()


def _leafy_mass(ground, part, open_sides, edge, leaf, lit):
    """A mass of the undergrowth's leafy clumps over its ground, ragged where
    it ends, outlined in black on its shadow side (below and to the right),
    with its shadow on the ground there.  `edge` gives, per open side, how
    deep the ground shows through and which clumps reach out over it;
    `leaf` recolours the clumps and `lit` their lit rim."""
    g = [row[:] for row in ground]
    ox, oy = part[0] * 8, part[1] * 8

    def inside(x, y):
        # Near an open side only the higher clumps reach out: the edge
        # follows their round outlines.
        z = THICKET_Z[(oy + y) % 32][(ox + x) % 32]
        for side in open_sides:
            d = {N_: y, S_: 7 - y, W_: x, E_: 7 - x}[side]
            depth, height, slope = edge[side]
            if d < depth and z < height - slope * d:
                return False
        return True

    mask = [[inside(x, y) for x in range(8)] for y in range(8)]

    def at(x, y):
        if 0 <= x < 8 and 0 <= y < 8:
            return mask[y][x]
        # Beyond the tile: the mass goes on unless that side is open.
        side = N_ if y < 0 else S_ if y > 7 else W_ if x < 0 else E_
        return side not in open_sides

    for y in range(8):
        for x in range(8):
            if mask[y][x]:
                k = leaf(THICKET[(oy + y) % 32][(ox + x) % 32])
                if not at(x + 1, y) or not at(x, y + 1):
                    k = "k"
                elif not at(x - 1, y) or not at(x, y - 1):
                    k = lit(k)
                g[y][x] = k
            elif at(x - 1, y) or at(x, y - 1) or at(x - 1, y - 1):
                g[y][x] = CAST_TONE.get(CAST_TONE.get(g[y][x], g[y][x]), "q")
            elif at(x - 2, y) or at(x, y - 2) or at(x - 2, y - 1) or at(x - 1, y - 2):
                g[y][x] = CAST_TONE.get(g[y][x], g[y][x])
    return g


THICKET_EDGE = {side: (4, 1.25, 0.3) for side in (N_, E_, S_, W_)}


def thicket_tile(ground, part, open_sides, variant):
    """Undergrowth too dense to walk through: a mass of leaves, ragged where
    it ends; the ground shows at its edge."""
    return _leafy_mass(ground, part, open_sides, THICKET_EDGE, lambda k: k,
                       lambda k: "a" if k in ("G", "a") else "G")


# -------------------------------------------------------------- farmland ---

def _field_edges(g, open_sides, variant):
    """The meadow spills a ragged fringe over a field where it meets it."""
    for side in open_sides:
        fringe(g, side, "G", "l", variant)
    return g


def ploughed_tile(variant, open_sides):
    """Ploughed earth: straight furrows running up the map, each ridge's
    crest lit from the left, its far slope falling into a dark furrow, with
    a few clods on the ridges."""
    rng = Rng("ploughed", variant)
    g = [["hbbq"[x % 4] for x in range(8)] for _ in range(8)]
    for _ in range(3):
        x, y = 4 * rng.below(2) + 1, rng.below(7)
        _put(g, x, y, "h")
        _put(g, x + 1, y + 1, "q")
    for y in range(8):
        if (y + variant) % 3 == 0:
            _put(g, 3 + 4 * (y % 2), y, "b")
    return _field_edges(g, open_sides, variant)


# The wheat's tones from the crest of a wave the wind lays over to its
# trough: each a lit stalk, the stalk's body and the shade between stalks.
# Deep gold and ochre, not pale straw: the enemy's white bullets must
# stand out on it as well as on the meadow.
WHEAT_TONES = (("n", "Y", "m"), ("Y", "m", "h"), ("o", "m", "h"), ("m", "h", "b"))


def wheat_tile(part, open_sides, variant):
    """Ripe wheat: close rows of stalks up the map, each lit on its west
    side with shade between them, their ears bright at their heads, the
    whole lighter where the wind lays it over in slow waves; one tile of a
    pattern 4 x 4 blocks big."""
    ox, oy = part[0] * 8, part[1] * 8
    g = blank("m")
    for y in range(8):
        for x in range(8):
            mx, my = ox + x, oy + y
            v = 0.7 * smooth_noise(mx, my, 5, 8.0, wrap=(4, 4)) + 0.3 * smooth_noise(mx, my, 6, 4.0, wrap=(8, 8))
            v += ((BAYER4[my % 4][mx % 4] + 0.5) / 16 - 0.5) * 0.22
            wave = 0 if v > 0.66 else 1 if v > 0.47 else 2 if v > 0.33 else 3
            lit, body, shade = WHEAT_TONES[wave]
            # The stalks lean a little with the wave: their columns shift every few rows.
            col = (mx + (my // 4) % 2) % 3
            k = lit if col == 0 else body if col == 1 else shade
            if col == 0 and (my + mx // 3) % 4 == 0:
                k = "o" if wave >= 2 else "n" if wave == 0 else "Y"    # an ear's head
            g[y][x] = k
    return _field_edges(g, open_sides, variant)


def crops_tile(variant, open_sides):
    """A field of young cabbages in rows up the map: round green heads lit
    from the upper left, each with its shadow on the brown soil."""
    rng = Rng("crops", variant)
    g = [["q" if x % 4 == 3 and y % 2 else "b" for x in range(8)] for y in range(8)]
    for i in range(2):
        for j in range(2):
            cx, cy = 4 * i, 4 * j + 2 * i
            if rng.below(9) == 0:
                continue
            for (dx, dy), k in (((0, 0), "l"), ((1, 0), "G"), ((2, 0), "g"), ((0, 1), "G"), ((1, 1), "G"),
                                ((2, 1), "g"), ((1, 2), "g")):
                _put(g, cx + dx, (cy + dy) % 8, k)
            for dx, dy in ((3, 1), (2, 2), (3, 2)):
                _put(g, cx + dx, (cy + dy) % 8, "q")
    return _field_edges(g, open_sides, variant)


# The hedge's leaves: the undergrowth's clumps in the meadow's fresher greens.
HEDGE_GREEN = {"j": "j", "g": "g", "G": "G", "a": "l"}


# A hedge is clipped: its top is hardly ragged, its foot and its ends more.
HEDGE_EDGE = {N_: (1, 0.9, 0.4), S_: (3, 1.35, 0.4), W_: (2, 1.1, 0.4), E_: (3, 1.3, 0.4)}


def hedge_tile(ground, part, open_sides):
    """A hedgerow: a clipped band of leafy clumps, its top lit, rounded where
    it ends, outlined in black below and on the right, where it throws its
    shadow on the grass."""
    return _leafy_mass(ground, part, open_sides, HEDGE_EDGE, lambda k: HEDGE_GREEN.get(k, "g"), lambda k: "l")


def _straw_tone(v):
    """The straw's colour for a light value v (dark to sunlit)."""
    return "y" if v > 0.55 else "n" if v > 0.05 else "m" if v > -0.4 else "h"


def _straw_outline(g):
    """A 16 x 16 stack's outline: dark where it meets the ground on its
    shaded lower right, straw-brown elsewhere."""
    for y in range(16):
        for x in range(16):
            if g[y][x] == T:
                continue
            out = lambda a, b: not (0 <= a < 16 and 0 <= b < 16) or g[b][a] == T
            if (out(x + 1, y) or out(x, y + 1)) and (x + y) >= 14:
                g[y][x] = "k"
            elif out(x + 1, y) or out(x, y + 1) or out(x - 1, y) or out(x, y - 1):
                g[y][x] = "b" if x + y >= 12 else "h"


def _haystack():
    """A round haystack, 16 x 16: straw lit from the upper left, darker
    towards its foot, outlined in black on its shadow side, a tied top."""
    g = blank(T, 16, 16)
    cx, cy, r = 7.5, 8.0, 7.2
    for y in range(16):
        for x in range(16):
            dx, dy = (x - cx) / r, (y - cy) / r
            d2 = dx * dx + dy * dy
            if d2 >= 1.0:
                continue
            hz = (1.0 - d2) ** 0.5
            light = -0.7 * dx - 0.7 * dy + 0.4 * hz
            t = (BAYER4[y % 4][x % 4] + 0.5) / 16 - 0.5
            # Straw laid round the stack in rings.
            ring = (int((d2 ** 0.5) * 9) % 3 == 0) * 0.25
            v = light + 0.35 * t - ring
            g[y][x] = _straw_tone(v)
    _straw_outline(g)
    for x, y, k in ((6, 6, "b"), (7, 6, "h"), (8, 6, "b"), (7, 5, "n"), (6, 7, "h"), (8, 7, "q")):
        g[y][x] = k
    return g


HAYSTACK = _haystack()


def _windmill(size=40):
    """A windmill seen from above, 40 x 40: a round whitewashed tower under
    a red cap lit from the upper left, its four latticed sails turned
    across the corners, outlined in black on their shadow side."""
    import math
    g = blank(T, size, size)
    c = (size - 1) / 2.0
    for y in range(size):
        for x in range(size):
            dx, dy = x - c, y - c
            d = math.hypot(dx, dy)
            t = (BAYER4[y % 4][x % 4] + 0.5) / 16 - 0.5
            cap, wall = size * 0.17, size * 0.27
            if d < cap:       # the cap
                hz = (1 - (d / cap) ** 2) ** 0.5
                v = (-0.7 * dx - 0.7 * dy) / cap + 0.6 * hz + 0.3 * t
                g[y][x] = "o" if v > 0.8 else "R" if v > 0.2 else "r" if v > -0.4 else "q"
                continue
            if d < wall:      # the tower's wall below the cap
                v = (-0.7 * dx - 0.7 * dy) / wall + 0.3 * t
                g[y][x] = "z" if v > 0.25 else "n" if v > -0.2 else "m" if v > -0.55 else "h"
                continue
            # The sails: four arms along the diagonals, each a spar with a
            # latticed frame of canvas on its trailing side.
            for ax, ay in ((1, 1), (1, -1), (-1, 1), (-1, -1)):
                along = (dx * ax + dy * ay) / 1.4142
                across = (dx * ay - dy * ax) / 1.4142
                if 4 < along < c * 1.38 and -1.0 < across < 6.0:
                    if across < 1.0:
                        k = "b" if across < 0 else "h"     # the spar, lit on one side
                    elif across > 5.0 or int(along) % 4 == 0:
                        k = "b"                            # the frame
                    else:
                        k = "n" if (int(along) // 4 + int(across)) % 3 else "m"
                    g[y][x] = k
                    break
    # A dark hub where the sails meet over the cap.
    for y in range(int(c) - 1, int(c) + 3):
        for x in range(int(c) - 1, int(c) + 3):
            if abs(x - c) + abs(y - c) < 2.2:
                g[y][x] = "k" if x + y > 2 * c else "d"
    # Black on the shadow side of everything that stands up.
    out = [[g[y][x] != T and (x + 1 == size or y + 1 == size or g[y][x + 1] == T or g[y + 1][x] == T)
            for x in range(size)] for y in range(size)]
    for y in range(size):
        for x in range(size):
            if out[y][x] and (x + y > 2 * c - 8 or math.hypot(x - c, y - c) > size * 0.27):
                g[y][x] = "k"
    return g


WINDMILL = _windmill()


RUT = ("q", "q", "b", "b", "h")   # a wheel rut across, from its shadowed side


def lane_tile(g, ruts, variant):
    """The farm track over its dirt: two wheel ruts pressed into it, dark on
    the side away from the light with a lit rim on the other, and the strip
    of grass the wheels leave between them.  `ruts` holds, for each pixel
    row of the block, the x of the left and the right rut's shadowed edge
    (the ruts follow the track's bends smoothly), or None on a narrow track."""
    for y, pair in enumerate(ruts):
        if pair is None:
            continue
        left, right = pair
        for x in range(8):
            for edge in (left, right):
                i = x - edge
                if 0 <= i < len(RUT):
                    k = RUT[i]
                    if i == 0 and (y + variant) % 2:
                        k = "b"
                    g[y][x] = k
                elif i == len(RUT):
                    _lit(g, x, y)
            # Grass in the middle, ragged at its sides.
            lo = left + len(RUT) + 2 + cell_hash(variant, y, 3) % 2
            hi = right - 3 - cell_hash(variant, y, 4) % 2
            if lo <= x <= hi:
                g[y][x] = "g" if x == lo else "G" if (x * 3 + y + variant) % 5 else "l" if x < hi else "g"
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
    "..kkkk..",
    ".keeffk.",
    "keeeffek",
    "kdeeeeek",
    "kddeeedk",
    "kdddddk.",
    ".kkkkk..",
    "........",
])

BUSHES = [sprite(r) for r in (
    [".jjGjj..",
     "jGllGGj.",
     "GllGGGgj",
     "jGlGGggk",
     "jGGGgggk",
     "jgGggjgk",
     ".kgggjk.",
     "..kkkk.."],
    ["jjj.jjj.",
     "jGljlGGj",
     "jllGjGgk",
     "GGGgGGgk",
     "jGlGGggk",
     "jgGgggjk",
     ".kjgjjk.",
     "..kkkk.."],
    ["..jjjj..",
     ".jlGGGj.",
     "jGllGGgj",
     "jlGGgGgk",
     "GGGgGggk",
     "jgGgggjk",
     ".kgjgjk.",
     "..kkk..."],
)]

TRUNK = sprite([
    "..qbbq..",
    ".qbhbbq.",
    ".qbhbrq.",
    ".qbhbrq.",
    "qbbhbrrq",
    "qrbhbrqk",
    ".kqkkqk.",
    "........",
])

STUMP = sprite([
    "q.....q.",
    ".q...q..",
    "..qbbq.q",
    ".qbhnbq.",
    "qbhnhbbk",
    ".qbhbrk.",
    "..kkrk..",
    ".k...k..",
])

BARRELS = [sprite(r) for r in (
    [".kkk....",
     "kagak...",
     "kahgkkk.",
     "kgagkagk",
     ".kkkahgk",
     "...kgagk",
     "....kkk.",
     "........"],
    ["........",
     ".kkk.kkk",
     "kRoRkRoR",
     "kroRkroR",
     "kRrRkRrR",
     ".kkk.kkk",
     "..qq..qq",
     "........"],
)]

CRATE = sprite([
    "kkkkkkk.",
    "knhhhbkq",
    "khbhbhkq",
    "khhbhhkq",
    "khbhbhkq",
    "kbhhhbkq",
    "kkkkkkkq",
    ".qqqqqqq",
])

HEDGEHOG = sprite([
    "kf....fk",
    "kef..fek",
    ".kefdek.",
    "..kffk..",
    ".kedfdk.",
    "kedkkedk",
    "kdk..kdk",
    "kk....kk",
])

WIRE = sprite([
    ".k....k.",
    ".b....b.",
    "kbkdkdbk",
    "eke.ekek",
    "kekdkekd",
    "kbkekdbk",
    ".b....b.",
    ".k....k.",
])

WRECK = sprite([
    "........................",
    "..kkkkkkkkkkkkkkkkkkk...",
    ".kqdddqdkkdddddqqdddbk..",
    "kqdeddqdkddeedddqqdbrbk.",
    "kdeeddddkdeeeddqqqdrbrk.",
    "kdedqqdkqkdedddqkqddbrk.",
    "kddqkqqkkqqddqqkkkqdrbk.",
    "kddqqkqkqkkqqqqkoqqdbrk.",
    "kdddqqqkqqkkqqqqkqqdrbk.",
    "kbddqqdkqkddqqqkqqddbrk.",
    "kbrdddqdkdddqdddqdddrbk.",
    ".kbrbddqkdqddddqddbrbk..",
    "..kkkkkkkkkkkkkkkkkkkqq.",
    "..kqk..........kqk..qq..",
    "...kqqqqqqqqqqqqkqqqq...",
    "........................",
])

REEDS = sprite([
    ".b...b..",
    ".a.b.a..",
    "Ga.a.G.b",
    "G.aG.Ga.",
    "GaGG.GaG",
    "gGag.gGa",
    ".gGgjgG.",
    "..g..g..",
])

CRATER = sprite([
    "................",
    ".....bbbbbb.....",
    "...bbhhhhhhbb...",
    "..bhhbbbbbbhhb..",
    ".bhbbrrrrrrbbhb.",
    ".bhbrrqqqqrrbhb.",
    "bhbrrqqqqqqrrbhb",
    "bhbrqqqqqqqqrbhb",
    "bhbrqqqqqqqqrbhb",
    "bhbrrqqqqqqrrbnb",
    ".bhbrrqqqqrrbnb.",
    ".bhbbrrrrrrbbnb.",
    "..bhhbbbbbbnnb..",
    "...bbnnnnnnbb...",
    ".....bbbbbb.....",
    "................",
])

# A fuel tank seen from above: its round roof painted olive and lit from
# the upper left, the ribs of the roof, the filler hatch at its middle and
# a warning plate at its foot.
FUEL_TANK = sprite([
    ".....kkkkkk.....",
    "...kkhhhhaakk...",
    "..khhhhaaaaagk..",
    ".khhaakaaakaagk.",
    ".khaaaakkkaaagk.",
    "khhaaakeeekaaggk",
    "khaaakkekekkaggk",
    "khaakaeekeeakagk",
    "khaaakkekekkaggd",
    "kaaaaakeeekaaggd",
    "kaaaakaakkaaggkd",
    ".kaaaakaaakaggk.",
    ".kgaaaaaaaggggk.",
    "..kgggggggggRk..",
    "...kkgggggRykk..",
    ".....kkkkkk.....",
])

# A radar dish on its pedestal, seen from above: its rim lit on the upper
# left, the hollow of its bowl in shadow there and in the sun to the lower
# right (a dome is lit the other way), its feed horn on three struts.
RADAR_DISH = sprite([
    "................",
    "....kkkkkkk.....",
    "..kkfffffffkk...",
    ".kffddddeeeefk..",
    ".kfddkeeeeeefk..",
    "kfddeekeeeffefk.",
    "kfdeeeekkeffffk.",
    "kfdeekkkkkkfffk.",
    "kfdeeeekkefffek.",
    "kfdeeekeeffffek.",
    ".kfdekeeefffedk.",
    ".kefeeefffffedk.",
    "..kkeeeeeeedkk..",
    "....kkkddkkkdk..",
    "......kddddk.k..",
    ".......kkkk.....",
])

# A checkpoint barrier: a striped boom on its post, closing the verge
# beside the road.
BOOM = sprite([
    "........",
    "........",
    "kk......",
    "kdkkkkkk",
    "kdRRyyRR",
    "kdkkkkkk",
    "kk......",
    "........",
])

# One course of sandbags: each bag 5 pixels wide, a rounded oblong lit on
# its upper side and darker below, the seams between bags dark.
SANDBAG = sprite([
    "qmnnm",
    "knmmh",
    "khhhb",
    "qbbbq",
])
SANDBAG_W = 5

FENCE = sprite([
    "..k...k.",
    "..b...b.",
    "hhhhhhhh",
    "bbbbbbbb",
    "kkbkkkbk",
    "hhhhhhhh",
    "bbbbbbbb",
    "kkkkkkkk",
])

# Burnt ground of a hut site: ash, a few charred planks, rarely an ember.
RUBBLE_ASH = ("q", "q", "q", "d", "b")


def sandbag_tile(column, top, bottom):
    """Sandbags laid in courses of four pixels, each course offset by half a
    bag (a staggered bond) and joined across blocks; the wall's top course
    has its bags' rounded tops outlined, its foot a dark shadowed row."""
    g = blank("h")
    for course in range(2):
        shift = (column * 8 + course * 3) % SANDBAG_W
        for y in range(4):
            for x in range(8):
                g[course * 4 + y][x] = SANDBAG[y][(x + shift) % SANDBAG_W]
    if top:
        for x in range(8):
            if g[0][x] in ("q", "k"):
                g[0][x] = "k"
            if g[1][x] == "k":
                g[0][x] = "k"
    if bottom:
        for x in range(8):
            g[7][x] = "k" if g[7][x] == "q" or x % 3 else "q"
            if g[6][x] in ("h", "m"):
                g[6][x] = "b"
    return g


def rubble_tile(variant):
    """Ash in dark greys, soft rather than speckled, with a charred plank
    or two lying across it (a dull brown edge over a black one)."""
    rng = Rng("rubble", variant)
    g = blank("q")
    for y in range(8):
        for x in range(8):
            n = cell_hash(x // 2, y // 2, variant) % 16
            if n < 4 and (x + y) % 2:
                g[y][x] = "d"
            elif n == 4 and (x + y) % 2:
                g[y][x] = "b"
    for _ in range(1 + variant // 3):
        x, y, n = rng.below(3), rng.below(6), 5 + rng.below(3)
        step = rng.below(3) == 0
        for i in range(n):
            a, b = x + i, y + (i // 3 if step else 0)
            if variant == 1:   # lying down the map
                a, b = b, a
                _put(g, a, b, "b" if i % 4 else "d")
                _put(g, a + 1, b, "k")
            else:
                _put(g, a, b, "b" if (i + variant) % 4 else "d")
                _put(g, a, b + 1, "k")
    if variant == 2:   # a last ember
        _put(g, 5, 6, "r")
    return g


def blob_mask(w, h, seed, inset=1.0):
    """A ragged round blob filling a w x h box of pixels: set of (x, y) with
    their distance to the rim (0 at the rim, 1 at the centre)."""
    cx, cy = (w - 1) / 2.0, (h - 1) / 2.0
    rx, ry = w / 2.0 - inset, h / 2.0 - inset
    out = {}
    for y in range(h):
        for x in range(w):
            dx, dy = (x - cx) / rx, (y - cy) / ry
            d = (dx * dx + dy * dy) ** 0.5
            wob = (cell_hash(x // 2, y // 2, seed) % 100) / 100.0 * 0.28
            if d < 1.0 - wob:
                out[(x, y)] = 1.0 - d / (1.0 - wob)
    return out


def component_picture(kind, size, seed, ground_pix):
    """A picture spanning a whole group of equal blocks, painted over the
    ground pixels of the group (a dict (x, y) -> key)."""
    w, h = size[0] * 8, size[1] * 8
    g = dict(ground_pix)
    if kind == "scorch":
        for (x, y), depth in blob_mask(w, h, seed, 0.5).items():
            t = (BAYER4[y % 4][x % 4] + 0.5) / 16
            if depth > 0.7:
                g[(x, y)] = "k" if t < 0.6 else "q"
            elif depth > 0.45:
                g[(x, y)] = "q" if t < 0.75 else DARKER.get(g[(x, y)], "q")
            elif t < depth * 1.8:
                g[(x, y)] = DARKER.get(DARKER.get(g[(x, y)], "q"), "q") if t < depth else DARKER.get(g[(x, y)], "q")
        rng = Rng("ember", seed)
        for _ in range(max(1, size[0] * size[1] // 2)):
            x, y = w // 3 + rng.below(max(1, w // 3)), h // 3 + rng.below(max(1, h // 3))
            g[(x, y)] = "o" if rng.below(3) else "b"
    elif kind == "puddle":
        mask = blob_mask(w, h, seed, 1.0)
        for (x, y), depth in mask.items():
            g[(x, y)] = "u" if depth > 0.35 else "U"
            if (x, y - 1) not in mask:
                g[(x, y)] = "b"
        rng = Rng("glint", seed)
        inner = sorted(p for p, d in mask.items() if d > 0.45)
        for _ in range(max(1, len(inner) // 14)):
            if inner:
                x, y = inner[rng.below(len(inner))]
                g[(x, y)] = "c"
                if (x + 1, y) in mask:
                    g[(x + 1, y)] = "U"
    return g


def flowers_tile(g, variant):
    rng = Rng("flowers", variant)
    # No cream or white petals: a bullet would hide in a bed of them.
    colours = (("y", "o"), ("R", "y"), ("U", "y"), ("o", "y"), ("c", "y"))
    petal, heart = colours[variant % len(colours)]
    for _ in range(3 + variant % 2):
        x, y = 1 + rng.below(6), 1 + rng.below(6)
        _put(g, x, y + 1, "g")
        _put(g, x - 1, y, petal); _put(g, x + 1, y, petal)
        _put(g, x, y - 1, petal); _put(g, x, y, heart)
    return g


def tallgrass_tile(g, variant):
    """Tall grass the hero walks through: blades in lighter and darker tones
    of the ground under them, no outline, nothing that stands up from it."""
    rng = Rng("tallgrass", variant)
    for _ in range(5 + variant % 3):
        x, y = rng.below(8), 2 + rng.below(6)
        _lit(g, x, y - 2); _lit(g, x, y - 1); _dim(g, x, y)
        if rng.below(2):
            _lit(g, x + 1, y - 1); _dim(g, x + 1, y)
    return g


def gravel_tile(g, variant):
    rng = Rng("gravel", variant)
    for _ in range(2 + variant % 2):
        x, y = rng.below(7), rng.below(7)
        # Stones lit no brighter than mid grey, so no bullet hides among them.
        _put(g, x, y, "e" if rng.below(2) else "d")
        _put(g, x + 1, y, "d")
        _put(g, x, y + 1, "q")
        _put(g, x + 1, y + 1, "d")
    return g


# What stops the hero stands up from the ground: it is outlined in black on
# its shadow side and casts a shadow down and to the right.  What he walks
# over (flowers, tall grass, gravel, reeds, craters) lies flat, in tones of
# the ground, with no outline and no shadow.
CAST = (((1, 1), 2), ((2, 2), 1), ((1, 2), 1), ((2, 1), 1))


def cast_shadow(g, pic, ox=0, oy=0):
    """Darkens the ground of a block where a standing picture casts its
    shadow; the block shows the picture's part from (ox, oy)."""
    h, w = len(pic), len(pic[0])

    def opaque(x, y):
        return 0 <= x < w and 0 <= y < h and pic[y][x] != T

    for y in range(8):
        for x in range(8):
            px, py = x + ox, y + oy
            if opaque(px, py):
                continue
            steps = max((n for (dx, dy), n in CAST if opaque(px - dx, py - dy)), default=0)
            for _ in range(steps):
                g[y][x] = CAST_TONE.get(g[y][x], g[y][x])
    return g


def standing(g, pic, part=(0, 0)):
    """A standing object's part painted over its ground with its shadow."""
    ox, oy = part[0] * 8, part[1] * 8
    cast_shadow(g, pic, ox, oy)
    overlay(g, crop(pic, ox, oy))


STANDING = {"rock": lambda v: ROCK, "pebble": lambda v: PEBBLE, "trunk": lambda v: TRUNK,
            "bush": lambda v: BUSHES[v % len(BUSHES)], "stump": lambda v: STUMP,
            "wreck": lambda v: WRECK, "fence": lambda v: FENCE, "barrels": lambda v: BARRELS[v % 2],
            "crate": lambda v: CRATE, "hedgehog": lambda v: HEDGEHOG, "wire": lambda v: WIRE,
            "fueltank": lambda v: FUEL_TANK, "radar": lambda v: RADAR_DISH, "boom": lambda v: BOOM,
            "hay": lambda v: HAYSTACK, "windmill": lambda v: WINDMILL}


def _crater(seed):
    """A shell crater 16 x 16: a ragged rim of thrown-up earth, lit on its
    north-west and shaded on its south-east; a dark bowl whose south-east
    wall catches the light; clods thrown out round it.  Each seed a
    different shape."""
    import math
    rng = Rng("crater", seed)
    g = blank(T, 16, 16)
    cx, cy = 7.5, 7.5
    # The radius wobbles round the crater, by seed.
    ph1, ph2 = rng.below(628) / 100.0, rng.below(628) / 100.0
    w1, w2 = 0.25 + rng.below(40) / 100.0, 0.15 + rng.below(30) / 100.0

    def radius(a):
        return 6.0 + w1 * math.cos(2 * a + ph1) + w2 * math.cos(3 * a + ph2)
    for y in range(16):
        for x in range(16):
            dx, dy = x - cx, y - cy
            d = (dx * dx + dy * dy) ** 0.5
            r = radius(math.atan2(dy, dx))
            light = (-dx - dy) / (d * 1.414 or 1.0)   # 1 facing north-west, -1 south-east
            bowl = r - 2.4
            if d <= bowl:
                t = d / bowl
                if t < 0.55 or light > -0.25:
                    g[y][x] = "q"
                else:
                    g[y][x] = "h" if light < -0.65 and t > 0.8 else "b"
            elif d <= r:
                crest = d <= bowl + 1.2
                if light > 0.35:
                    g[y][x] = "n" if crest else "h"
                elif light > -0.45:
                    g[y][x] = "h" if crest else "b"
                else:
                    g[y][x] = "b" if crest else "q"
    for _ in range(4 + rng.below(3)):
        a = rng.below(628) / 100.0
        d = radius(a) + 1.2 + rng.below(2)
        x, y = int(round(cx + d * math.cos(a))), int(round(cy + d * math.sin(a)))
        if 0 <= x < 15 and 0 <= y < 15 and g[y][x] == T:
            g[y][x] = "h"
            if g[y + 1][x] == T:
                g[y + 1][x] = "q"
    return g


CRATERS = [_crater(seed) for seed in range(3)]


def crater_tile(ground, variant, part):
    """A block of crater `variant` over its ground."""
    g = [row[:] for row in ground]
    overlay(g, crop(CRATERS[variant], part[0] * 8, part[1] * 8))
    return g


def object_tile(kind, ground, variant, part, fringes=(), corners=FLAT, picture=None):
    """An object painted over the ground it stands on."""
    g = draw_ground(ground, variant % 4, fringes, corners) if ground in GROUND_BASE else blank("G")
    if picture is not None:
        return picture
    if kind in STANDING:
        standing(g, STANDING[kind](variant), part)
    elif kind == "crater":
        overlay(g, crop(CRATER, part[0] * 8, part[1] * 8))
    elif kind == "reeds":
        overlay(g, REEDS)
    elif kind == "flowers":
        flowers_tile(g, variant)
    elif kind == "tallgrass":
        tallgrass_tile(g, variant)
    elif kind == "gravel":
        gravel_tile(g, variant)
    elif kind == "rubble":
        g = rubble_tile(variant)
    return g


# ----------------------------------------------------------- front layer ---

# Tree crowns are drawn as clumps of leaves, each lit from the upper left,
# in the colours of the area's trees.
CROWN_COLOURS = {
    "green": ("j", "j", "g", "G", "l"),
    "jungle": ("j", "j", "g", "G", "a"),
    "olive": ("j", "g", "a", "a", "h"),
    "autumn": ("q", "r", "b", "o", "y"),
    # Apple trees: the meadow's greens with red fruit on their sunny side.
    "orchard": ("j", "j", "g", "G", "l"),
}


# Fruit trees: colours -> the fruit's lit pixel, the pixel under it, and one
# leaf in how many of the sunny ones bears fruit.
FRUIT = {"orchard": ("R", "r", 9)}


def _shade_clumps(clumps, size, r, keys, variant):
    """A crown's clumps of leaves (centre, radius, lift) shaded as domes lit
    from the upper left, the highest clump at each pixel showing, in the
    crown's colours from dark to light; and each pixel's height."""
    g = blank(T, size, size)
    height = {}
    for y in range(size):
        for x in range(size):
            best = None
            for (cx, cy, cr, lift) in clumps:
                dx, dy = (x - cx) / cr, (y - cy) / cr
                d2 = dx * dx + dy * dy
                if d2 < 1.0:
                    hz = (1.0 - d2) ** 0.5
                    z = hz * cr + lift * r
                    if best is None or z > best[0]:
                        best = (z, dx, dy, hz)
            if best is None:
                continue
            _, dx, dy, hz = best
            light = -0.55 * dx - 0.62 * dy + 0.56 * hz
            t = (BAYER4[y % 4][x % 4] + 0.5) / 16 - 0.5
            leafy = ((cell_hash(x, y, variant + 17) % 100) / 100.0 - 0.5) * 1.3
            v = (light + 0.05) * 2.8 + t * 0.9 + leafy
            g[y][x] = keys[max(1, min(len(keys) - 1, int(v + 1.0)))]
            height[(x, y)] = best[0]
    return g, height


def _crown_rim(g, height, r, keys):
    """A darker rim where a crown meets the ground, and where one clump lies
    over another lower one."""
    size = len(g)
    for y in range(size):
        for x in range(size):
            if g[y][x] == T:
                continue
            for dx, dy in ((1, 0), (0, 1), (-1, 0), (0, -1)):
                nx, ny = x + dx, y + dy
                if not (0 <= nx < size and 0 <= ny < size) or g[ny][nx] == T:
                    g[y][x] = keys[0]
                    break
                if dx + dy < 0 and height.get((nx, ny), 0.0) > height.get((x, y), 0.0) + r * 0.22:
                    g[y][x] = keys[1]
                    break


def crown(size, variant, colours):
    """A tree crown of size x size pixels (transparent outside)."""
    keys = CROWN_COLOURS[colours]
    rng = Rng("crown", size, variant, colours)
    c = (size - 1) / 2.0
    r = size / 2.0 - 0.5
    clumps = [(c, c, r * 0.6, 0.3)]
    n = 6 if size <= 16 else 10
    for i in range(n):
        ang = (i + rng.below(100) / 140.0) * 6.2832 / n
        dist = r * (0.5 + rng.below(14) / 100.0)
        import math
        cr = r * (0.4 + rng.below(10) / 100.0)
        # Every clump inside the picture: one cut by its edge would end in a
        # straight line.
        dist = min(dist, r - cr)
        clumps.append((c + math.cos(ang) * dist, c + math.sin(ang) * dist, cr, rng.below(30) / 100.0))
    g, height = _shade_clumps(clumps, size, r, keys, variant)
    # The crown is drawn over the soldiers: no pinholes or notches in it that
    # a soldier's outline would show through.
    close_silhouette(g, keys[1], notches=True)
    if colours in FRUIT:
        fruit, under, often = FRUIT[colours]
        for y in range(1, size - 2):
            for x in range(1, size - 2):
                if g[y][x] in keys[3:] and cell_hash(x, y, variant + 29) % often == 0 \
                        and all(g[y + dy][x + dx] not in (T, fruit) for dx in (-1, 0, 1) for dy in (-1, 0, 1, 2)):
                    g[y][x] = fruit
                    g[y + 1][x] = under
    _crown_rim(g, height, r, keys)
    return g


def close_silhouette(g, fill, notches=False):
    """Fills the transparent pixels a picture encloses, and with notches
    also the one-pixel dents of its edge (a transparent pixel with three or
    four opaque neighbours), until none are left."""
    h, w = len(g), len(g[0])
    outside = set()
    todo = [(x, y) for y in range(h) for x in range(w)
            if (x in (0, w - 1) or y in (0, h - 1)) and g[y][x] == T]
    while todo:
        x, y = todo.pop()
        if (x, y) in outside:
            continue
        outside.add((x, y))
        for nx, ny in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
            if 0 <= nx < w and 0 <= ny < h and g[ny][nx] == T and (nx, ny) not in outside:
                todo.append((nx, ny))
    for y in range(h):
        for x in range(w):
            if g[y][x] == T and (x, y) not in outside:
                g[y][x] = fill
    changed = notches
    while changed:
        changed = False
        for y in range(h):
            for x in range(w):
                if g[y][x] != T:
                    continue
                around = sum(1 for nx, ny in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1))
                             if 0 <= nx < w and 0 <= ny < h and g[ny][nx] != T)
                if around >= 3:
                    g[y][x] = fill
                    changed = True
    return g


# Front pictures cast their shadow on the ground (layer 0), down and to the
# right; drawn in the front layer it would lie over the soldiers.
SHADOW_OFFSET = 2
# One step darker, never as dark as the black of outlines; browns go to ash,
# not to red, which on the ground reads as blood.
SHADOW = dict(DARKER, q="q", b="q", r="q")
# The shadow of a standing object.
CAST_TONE = SHADOW


# The cracked mud's brown darkens to ash, not to red.
GROUND_SHADOW = {"wadi": dict(SHADOW, b="q", m="b", n="m")}


def in_shadow(g, pixels, tones=None, cls=None):
    """Ground (of class cls) with the given pixels (x, y) of it in shadow (a
    pixel named twice, in deeper shadow)."""
    tones = tones or GROUND_SHADOW.get(cls, SHADOW)
    out = [row[:] for row in g]
    for x, y in pixels:
        out[y][x] = tones.get(out[y][x], out[y][x])
    return out


def palm_crown(variant):
    """A palm seen from above: leaf-shaped fronds fanning out from the top
    of the trunk, each lit on one side of its midrib."""
    import math
    size = 24
    g = blank(T, size, size)
    c = 11.5
    rng = Rng("palm", variant)
    fronds = []
    n = 7
    for i in range(n):
        ang = (i + 0.37 * variant + rng.below(25) / 100.0) * 2 * math.pi / n
        fronds.append((math.cos(ang), math.sin(ang), 10.8 - rng.below(3) * 0.5))
    for y in range(size):
        for x in range(size):
            px, py = x - c, y - c
            best = None
            for (dx, dy, length) in fronds:
                t = px * dx + py * dy
                o = -px * dy + py * dx
                if 0.5 < t < length:
                    w = 2.9 * math.sin(math.pi * min(1.0, t / length) ** 0.8)
                    # Leaflets make the frond's edge saw-toothed.
                    if int(t * 1.5) % 2:
                        w -= 0.7
                    if abs(o) < w and (best is None or t < best[0]):
                        best = (t, o, w)
            if best is None:
                continue
            t, o, w = best
            if abs(o) < 0.55:
                k = "l" if t < 7 else "a"
            elif abs(o) > w - 0.8:
                k = "j"
            elif o < 0:
                k = "G"
            else:
                k = "g"
            g[y][x] = k
    for x, y, k in ((11, 11, "b"), (12, 11, "h"), (11, 12, "r"), (12, 12, "b"), (10, 12, "h"), (12, 10, "r")):
        g[y][x] = k
    # The gaps between the fronds are the palm's look; pinholes and dents in
    # its edge close.
    return close_silhouette(g, "j", notches=True)


_CROWNS = {}
# Crown colours -> a drawing of its own (size in pixels, variant) -> picture.
CROWN_DRAWINGS = {}


def canopy(size, variant=0, colours="green"):
    """The whole crown picture of a tree of size x size blocks."""
    key = (size, variant, colours)
    if key not in _CROWNS:
        if colours in CROWN_DRAWINGS:   # an area's trees of its own shapes
            _CROWNS[key] = CROWN_DRAWINGS[colours](size * 8, variant)
        else:
            _CROWNS[key] = palm_crown(variant) if colours == "palm" else crown(size * 8, variant, colours)
    return _CROWNS[key]


def canopy_tile(size, part, variant=0, colours="green"):
    return crop(canopy(size, variant, colours), part[0] * 8, part[1] * 8)


def leaves_tile(variant, open_sides, colours="jungle"):
    """Overhanging foliage at the edge of the jungle, ragged where it ends."""
    keys = CROWN_COLOURS[colours]
    g = blank(keys[2])
    rng = Rng("leaves", variant, colours)
    for _ in range(5):
        x, y = rng.below(7), rng.below(7)
        g[y][x] = keys[3]
        _put(g, x + 1, y, keys[4] if rng.below(2) else keys[3])
        _put(g, x, y + 1, keys[1])
        _put(g, x + 1, y + 1, keys[1])
    for _ in range(3):
        _put(g, rng.below(8), rng.below(8), keys[1])
    depth = ((2, 3, 1, 2, 4, 2, 1, 3), (3, 1, 2, 4, 2, 1, 3, 2))[variant % 2]
    for side in open_sides:
        for i in range(8):
            for d in range(depth[i]):
                if side == N_:
                    g[d][i] = T
                elif side == S_:
                    g[7 - d][i] = T
                elif side == W_:
                    g[i][d] = T
                else:
                    g[i][7 - d] = T
            d = depth[i]
            edge = {N_: (i, d), S_: (i, 7 - d), W_: (d, i), E_: (7 - d, i)}[side]
            if g[edge[1]][edge[0]] != T:
                g[edge[1]][edge[0]] = keys[0]
    # Ragged, but without dents a soldier's outline would show through.
    return close_silhouette(g, keys[0], notches=True)


# A bridge deck's colours: the deck's lit edge, face and dark gap; the rail
# (or kerb) lit, face and side; its posts lit and face.
DECK_COLOURS = {"wood": dict(lit="m", face="h", gap="q", rail=("n", "m", "b"), post=("n", "b", "k")),
                "stone": dict(lit="f", face="e", gap="d", rail=("f", "e", "d"), post=("f", "d", "k")),
                # A railway bridge: steel parapets on grey ballast.
                "rail": dict(lit="e", face="d", gap="q", rail=("e", "d", "q"), post=("e", "d", "k"))}

# A railway deck's tracks across the bridge, one every RAIL_PERIOD pixels
# down from RAIL_FROM (the deck's own pixel rows, its far rail at the top):
# sleepers under two rails, a strip of ballast between the tracks.
RAIL_FROM, RAIL_PERIOD = 6, 18


def deck_tile(variant, top, bottom, style, row=0):
    """A bridge deck seen from above, spanning the view from side to side:
    planks (or slabs) across it, a rail with posts along its open edges, the
    far rail's shadow on the deck and the deck's own dark shadow line on the
    ground just below it.  Opaque, as it is drawn over the soldiers.  A
    railway bridge's deck (its block `row` blocks below its far edge) shows
    its tracks running along the bridge: dark sleepers on ballast under
    steel rails."""
    c = DECK_COLOURS[style]
    g = blank(c["face"])
    rng = Rng("deck", style, variant)
    if style == "rail":
        for y in range(8):
            t = (row * 8 + y - RAIL_FROM) % RAIL_PERIOD
            for x in range(8):
                if 2 <= t <= 13:
                    k = ("q", "h", "b", "b", "b", "q", "q", "q")[(x + 2 * (variant % 2)) % 8]
                    if t in (4, 11):
                        k = "e"
                    elif t in (5, 12):
                        k = "k"
                else:
                    k = "d" if (x * 5 + y * 3 + variant) % 7 else "q"
                g[y][x] = k
    elif style == "wood":
        # Planks 4 pixels wide, lit on their left, a dark gap on their right,
        # with butt joints staggered from plank to plank.
        for x in range(8):
            for y in range(8):
                g[y][x] = (c["lit"], c["face"], c["face"], "b")[x % 4]
        if variant % 2 == 0:
            plank = variant // 2
            y = (variant * 3 + 2) % 8
            for x in range(plank * 4, plank * 4 + 3):
                g[y][x] = "q"
    else:
        # Slabs with a dark joint every block and a few worn pixels.
        for y in range(8):
            g[y][7] = c["gap"] if y % 4 else c["face"]
        speckle(g, rng, [("f", 1), ("d", 2)])
        if not top and not bottom and variant % 2 == 0:
            for x in range(2, 6):
                g[3][x] = "p"
    lit, face, side = c["rail"]
    plit, pface, pside = c["post"]
    if top:
        # The far rail: its outline, lit top and side, its shadow on the deck.
        for x in range(8):
            g[0][x], g[1][x], g[2][x], g[3][x] = "k", lit, face, side
            g[4][x] = "k" if x % 2 == 0 else c["gap"]
        # A post standing up from the rail, lit at its top left, its shadow
        # falling on the deck.
        for y in range(1, 5):
            g[y][1], g[y][2], g[y][3] = plit, pface, pside
        g[0][1], g[0][2], g[0][3] = "k", "k", "k"
        g[5][2] = g[5][3] = g[5][4] = "k"
    if bottom:
        # The near rail, and below it the deck's cast shadow line.
        for x in range(8):
            g[3][x], g[4][x], g[5][x], g[6][x], g[7][x] = "k", lit, face, side, "k"
        for y in range(3, 7):
            g[y][1], g[y][2], g[y][3] = plit, pface, pside
        g[2][1], g[2][2], g[2][3] = "k", "k", "k"
    return g


# The side of a deck's near edge, below its rail: the beam or slab edge it
# lies on, lit along its top, with a dark line where it meets its shadow.
BEAM = {"wood": ("n", "b", "q"), "stone": ("e", "d", "q"), "rail": ("e", "d", "k")}
BEAM_H = 3
# The ground below a beam that the deck shades, in the block under the deck
# and the one below it: whole rows down to two thirds of the deck's height,
# then two ragged rows where the shadow thins out.
# The rows of the first block just below the beam lie in deeper shadow.
DECK_SHADOW_DEEP = frozenset((x, y) for y in range(BEAM_H, BEAM_H + 4) for x in range(8))
DECK_SHADOW = (frozenset((x, y) for y in range(8) for x in range(8)),
               frozenset([(x, y) for y in range(2) for x in range(8)] +
                         [(x, 2) for x in range(8) if x % 2 == 0] + [(x, 3) for x in range(8) if x % 4 == 1]))


# The posts or piers a deck stands on, seen below its beam: lit, face, shade.
POST = {"wood": ("h", "b", "q"), "stone": ("f", "e", "d"), "rail": ("e", "d", "q")}


def deck_beam(front, style, post=False):
    """A front picture with a deck's beam laid along its top, and under it,
    where `post`, one of the posts the deck stands on."""
    out = [row[:] for row in front]
    lit, face, foot = BEAM[style]
    for x in range(8):
        out[0][x], out[1][x], out[2][x] = lit, face if x % 4 else foot, foot
    if post:
        for y in range(BEAM_H, 8):
            out[y][2], out[y][3], out[y][4], out[y][5] = POST[style] + (POST[style][2],)
    return out


def planks_tile(variant, sides):
    """A footbridge on the ground, planks across, rails at its open sides.
    One running across the map (rails north and south) has its planks
    turned to match."""
    across = N_ in sides or S_ in sides
    g = blank("h")
    for y in range(8):
        for x in range(8):
            if (x if across else y) % 3 == 2:
                g[y][x] = "b"
            elif (x + variant + y) % 5 == 0:
                g[y][x] = "n"
    for side in sides:
        for i in range(8):
            if side == W_:
                g[i][0], g[i][1] = "k", ("b" if i % 4 else "k")
            elif side == E_:
                g[i][7], g[i][6] = "k", ("b" if i % 4 else "k")
            elif side == N_:
                g[0][i], g[1][i] = "k", ("b" if i % 4 else "k")
            elif side == S_:
                g[7][i], g[6][i] = "k", ("b" if i % 4 else "k")
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


def painted(ground, front):
    """A front-layer picture painted into the ground (for the title map,
    which shows layer 0 alone)."""
    g = [row[:] for row in ground]
    overlay(g, front)
    return g


def shaded(g):
    return [[SHADE.get(k, k) if k != T else k for k in row] for row in g]


# -- Farmland and jungle (areas 1 and 2) --

# The farmland's high ground is a grassy knoll, not bare rock: the cliff's
# shape (a top, a tall face to the south, slopes east and west, a rim to the
# north), worn by grass where it lies flat and by earth and fieldstones where
# it falls steeply.  Each region of the cliff recoloured: its grey rock tone
# -> the knoll's.
KNOLL_TOP = {"f": "l", "e": "G", "d": "g", "q": "j", "k": "j"}
KNOLL_EARTH = {"f": "n", "e": "h", "d": "b", "q": "q", "k": "k", "b": "b", "h": "h", "m": "h"}
KNOLL_STONE = {"f": "f", "e": "e", "d": "d", "q": "q", "k": "k", "b": "d", "h": "e", "m": "e"}
KNOLL_EAST = {"f": "G", "e": "g", "d": "g", "q": "j", "k": "j"}
KNOLL_WEST = {"f": "l", "e": "G", "d": "G", "q": "g", "k": "g"}


KNOLL_BUSH = sprite([
    ".jggj.",
    "jgGGgj",
    "gGlGgj",
    "jgGgjk",
    ".jjjk.",
])
KNOLL_STONE_PIC = sprite([
    "fe.",
    "edq",
    ".qk",
])


def knoll_block(open_at, ox, oy):
    """A block of a grassy knoll, a rounded hill of meadow: its top swells
    in the light from the upper left and falls into shade to the east, a
    bush or a stone here and there on it; to the south it drops in a steep
    grassy slope, darkening as it falls, the earth and fieldstones showing
    through where the turf has slipped, with a dark foot where it meets the
    field; its corners rounded off."""
    turf = draw_ground("grass", cell_hash(ox, oy, 85) % 4)

    def run(dx, dy, limit):
        k = 0
        while k < limit and not open_at(dx * (k + 1), dy * (k + 1)):
            k += 1
        return k

    below, above = run(0, 1, 3), run(0, -1, 3)
    east, west = run(1, 0, 2), run(-1, 0, 2)
    g = blank("G")
    top = [[False] * 8 for _ in range(8)]
    for j in range(8):
        for i in range(8):
            X, Y = ox + i, oy + j
            ds = (below + 1) * 8 - j
            dn = j + 1 + above * 8
            de = (east + 1) * 8 - i
            dw = i + 1 + west * 8
            h = min(CLIFF_FACE_H - 6, dn + ds - 1 - 4)
            grass = turf[j][i]
            dither = (BAYER4[Y % 4][X % 4] + 0.5) / 16.0
            # Where the knoll turns a corner (open on two sides), the corner
            # is cut off along the diagonal, so a knoll stepping down block by
            # block reads as one sloping hillside, not a staircase: the field
            # shows beyond the cut, and the rim follows it.
            cut = None
            if above == 0 and west == 0:
                cut = i + j - 6
                dn, dw = min(dn, cut), min(dw, cut)
            elif above == 0 and east == 0:
                cut = j - i + 1
                dn, de = min(dn, cut), min(de, cut)
            elif below == 0 and west == 0:
                cut = i - j + 1
                ds, dw = min(ds, cut), min(dw, cut)
            elif below == 0 and east == 0:
                cut = 8 - i - j
                ds, de = min(ds, cut), min(de, cut)
            if cut is not None and cut < 1:
                g[j][i] = grass
                continue
            r = 4
            if (dn <= r and dw <= r and (r - dn) ** 2 + (r - dw) ** 2 > r * r) or \
                    (dn <= r and de <= r and (r - dn) ** 2 + (r - de) ** 2 > r * r) or \
                    (ds <= r and dw <= r and (r - ds) ** 2 + (r - dw) ** 2 > r * r) or \
                    (ds <= r and de <= r and (r - ds) ** 2 + (r - de) ** 2 > r * r):
                g[j][i] = grass
                continue
            if ds <= h:
                # The steep slope to the south, darker as it falls.
                t = (h - ds) / float(max(h, 1))
                k = "G" if t + (dither - 0.5) * 0.3 < 0.3 else "g" if t + (dither - 0.5) * 0.3 < 0.72 else "j"
                if grass == "l" and t < 0.3:
                    k = "l"
                if t > 0.3 and smooth_noise(X, Y, 151, 4.0) + (dither - 0.5) * 0.2 > 0.72:
                    k = "b" if t > 0.5 else "h"      # bare earth where the turf slipped
                # Fieldstones bedded in the slope: round, lit on the upper
                # left, a dark underside, one in a 4 x 4 patch at most.
                sx, sy = X // 4, Y // 4
                if t > 0.2 and cell_hash(sx, sy, 153) % 4 == 0:
                    cx = sx * 4 + 1 + cell_hash(sx, sy, 154) % 2
                    cy = sy * 4 + 1
                    dx, dy = X - cx, Y - cy
                    if (dx, dy) in ((0, 0), (1, 0)):
                        k = "f" if dx == 0 else "e"
                    elif (dx, dy) in ((0, 1), (1, 1), (-1, 1), (2, 0)):
                        k = "e" if dx <= 0 else "d"
                    elif (dx, dy) in ((0, 2), (1, 2)):
                        k = "q"
                if ds == 1 or de == 1:
                    k = "k"
                elif ds == 2:
                    k = "q" if X % 3 else "j"
            elif de <= CLIFF_SIDE_W - 2:
                # The eastern slope, in shade.
                k = "k" if de == 1 else "j" if de + (dither - 0.5) * 3 < 4 else "g" if grass != "l" else "G"
            elif dw <= CLIFF_SIDE_W - 4:
                k = "g" if dw == 1 else "l"
            elif dn <= 2:
                k = "g" if dn == 1 else "l"
            else:
                # The top: the meadow swelling in the light, sunnier to the
                # upper left, a shade lighter than the fields below.
                sun = (dw + dn) / float(dw + dn + de + ds)
                v = sun + (dither - 0.5) * 0.08
                k = "l" if v < 0.3 else "G" if v < 0.66 else DARKER.get(grass, "g")
                if k == "G" and grass not in ("G", "l"):
                    k = grass     # the meadow's own flecks, where it lies in half light
                top[j][i] = True
            g[j][i] = k
    # A bush or a stone on the top, where the top holds it whole.
    h = cell_hash(ox // 8, oy // 8, 155) % 9
    pic = KNOLL_BUSH if h == 0 else KNOLL_STONE_PIC if h == 1 else None
    if pic is not None:
        pw, ph = len(pic[0]), len(pic)
        x0, y0 = cell_hash(ox, oy, 157) % (9 - pw), cell_hash(ox, oy, 159) % (9 - ph)
        if all(top[y0 + b][x0 + a] for b in range(ph) for a in range(pw)):
            for b in range(ph):
                for a in range(pw):
                    if pic[b][a] != T:
                        g[y0 + b][x0 + a] = pic[b][a]
    return g


def _outline(g, ground_side=True):
    """Black on the shadow side (right and below) of a picture's opaque
    pixels, where the ground shows beyond them."""
    h, w = len(g), len(g[0])
    out = [[False] * w for _ in range(h)]
    for y in range(h):
        for x in range(w):
            if g[y][x] == T:
                continue
            if x + 1 == w or y + 1 == h or g[y][x + 1] == T or g[y + 1][x] == T:
                out[y][x] = True
    for y in range(h):
        for x in range(w):
            if out[y][x]:
                g[y][x] = "k"
    return g


def _well():
    """A well, 16 x 16: a round wall of fieldstones, lit on its upper left,
    round dark water with one dull glint, a little roof of planks on two
    posts across it and the rope's windlass."""
    import math
    g = blank(T, 16, 16)
    c = 7.5
    for y in range(16):
        for x in range(16):
            d = math.hypot(x - c, (y - c) * 1.1)
            if d > 7.3:
                continue
            if d < 3.6:
                g[y][x] = "u" if d < 2.6 else "q"
                continue
            # Stones in two courses round the ring.
            ang = math.atan2(y - c, x - c)
            stone = int((ang + math.pi) / (2 * math.pi) * (12 if d > 5.5 else 9))
            edge = abs(((ang + math.pi) / (2 * math.pi) * (12 if d > 5.5 else 9)) % 1 - 0.5) > 0.4
            light = -(x - c) - (y - c)
            k = "f" if light > 5 else "e" if light > -4 else "d"
            if edge or abs(d - 5.5) < 0.5:
                k = "d" if k != "d" else "q"
            if stone % 4 == 1 and k == "e":
                k = "h"
            g[y][x] = k
    g[8][7], g[8][8] = "U", "u"   # the glint on the water
    # The windlass: a beam on two posts across the well, the rope down.
    for x in range(1, 15):
        g[6][x] = "n" if x % 4 else "h"
        g[7][x] = "b"
    for x in (1, 14):
        for y in range(4, 10):
            g[y][x] = "b" if y > 4 else "h"
    g[8][9], g[9][9] = "h", "h"
    g[10][9] = "b"
    return _outline(g)


WELL = _well()


def _cart():
    """A farm cart, 24 x 16, left on the track's verge, seen from the south
    like the houses: a bed of planks inside low side boards, grain sacks on
    it, the big spoked wheel on its near side standing taller than the bed
    (the far one's tyre shows above it), and the two shafts reaching out to
    the left, their tips resting on the ground."""
    import math
    g = blank(T, 24, 16)
    # The far wheel's tyre, above the bed.
    for x in range(11, 18):
        g[1][x] = "q" if x in (11, 17) else "d"
        g[2][x] = "q"
    # The bed: planks along the cart, the side boards' lit rim round them.
    for y in range(2, 9):
        for x in range(7, 22):
            if y == 2 or x in (7, 21):
                g[y][x] = "h" if y == 2 or x == 7 else "q"
            else:
                g[y][x] = "q" if y % 2 == 0 else ("b" if (x + 3 * y) % 9 else "q")
    # The near side board, in shade, its stakes darker.
    for y in range(9, 12):
        for x in range(7, 22):
            g[y][x] = "h" if y == 9 else ("q" if x % 5 == 2 or y == 11 else "b")
    # Two grain sacks at the back of the bed, lit from the upper left, tied at their necks.
    for cx, cy, rx, ry in ((18.6, 5.6, 2.3, 2.2), (15.2, 5.0, 2.3, 2.2)):
        for y in range(2, 9):
            for x in range(7, 22):
                dx, dy = (x - cx) / rx, (y - cy) / ry
                d = dx * dx + dy * dy
                if d < 1.0:
                    v = -0.7 * dx - 0.7 * dy + 0.5 * (1 - d)
                    g[y][x] = "z" if v > 0.55 else "n" if v > -0.15 else "m" if d < 0.75 else "h"
        g[int(cy - ry)][int(cx)] = "b"
    # The near wheel: an iron tyre, six spokes and the hub.
    wc, wr = (14.0, 11.0), 4.7
    for y in range(5, 16):
        for x in range(8, 21):
            dx, dy = x - wc[0], y - wc[1]
            d = math.hypot(dx, dy)
            if d > wr:
                continue
            if d > wr - 1.2:
                g[y][x] = "d" if dx + dy < -2 else "q"
            elif d < 1.3:
                g[y][x] = "e" if dx + dy < 0 else "d"
            else:
                ang = math.atan2(dy, dx) % (math.pi / 3)
                spoke = min(ang, math.pi / 3 - ang) * d < 0.7
                if spoke:
                    g[y][x] = "h" if dx + dy < 0 else "b"
    # The shafts, out to the left and down to the ground.
    for x in range(0, 7):
        for y0 in (5, 8):
            y = y0 + (1 if x < 2 else 0)
            g[y][x] = "h"
            g[y + 1][x] = "b"
    return _outline(g)


CART = _cart()


def _logs():
    """A pile of logs, 16 x 16, stacked three, two and one, their cut ends
    turned to the light: pale rings with dark bark round them, the bark
    running back along each log to the right."""
    import math
    g = blank(T, 16, 16)
    ends = [(2.5, 12.5), (6.5, 12.5), (10.5, 12.5), (4.5, 8.8), (8.5, 8.8), (6.5, 5.1)]
    r = 2.2
    for y in range(16):
        for x in range(16):
            for cx, cy in ends:
                if cy - r - 0.5 <= y <= cy + r + 0.3 and cx <= x <= cx + 6:
                    # The log's side, behind its end.
                    g[y][x] = "b" if (y + x // 3) % 3 else "q"
                    if y < cy - r + 0.6:
                        g[y][x] = "h"
    for cx, cy in ends:
        for y in range(16):
            for x in range(16):
                d = math.hypot(x - cx, y - cy)
                if d <= r + 0.35:
                    g[y][x] = "b" if d > r - 0.5 else ("n" if int(d * 1.6) % 2 == 0 else "m")
        g[int(cy)][int(cx)] = "h"
    return _outline(g)


LOGS = _logs()


def _scarecrow():
    """A scarecrow standing in the wheat, 16 x 16, seen from the south like
    the houses: a broad straw hat with a red band over a sacking face, an
    old blue coat hung on the cross pole with its arms spread and straw
    sticking out of the cuffs, its tails ragged, and below them the bare
    pole down into the wheat, outlined in black on its shadow side."""
    g = sprite([
        "......yym.......",
        ".....yyymh......",
        ".....rrrrr......",
        "...yyyyymmmh....",
        "....hhhhhhh.....",
        "......nnmm......",
        "......nqqm......",
        "yy.UUUUUUUuuu.yn",
        "nyUUUUUUUuuuuuyy",
        ".y.ubbuUuuuuu.n.",
        ".....UUubuu.....",
        ".....UuUuuu.....",
        "......u.u.u.....",
        ".......hb.......",
        ".......hb.......",
        ".......hb.......",
    ])
    return _outline(g)


SCARECROW = _scarecrow()

# The farm's things standing on its ground, drawn like the other objects.
STANDING.update({"well": lambda v: WELL, "cart": lambda v: CART, "logs": lambda v: LOGS,
                 "scarecrow": lambda v: SCARECROW})


def in_field(kind, field, x, y, variant, part):
    """A farm thing standing in a field, the field's rows going on round it
    (block x, y of the map)."""
    if field == "wheat":
        g = wheat_tile((x % 4, y % 4), (), variant % 3)
    elif field == "crops":
        g = crops_tile(variant, ())
    else:
        g = ploughed_tile(variant, ())
    standing(g, STANDING[kind](variant), part)
    return g


def _hutsite_heap(X, Y, bw, bh, seed=0):
    """What a hut leaves on its floor when it burns: a heap of its thatch
    and broken poles, standing up from the floor, lit on its upper left, in
    its own shadow to the south-east, blackened where the fire took it,
    grey ash lying on the charred patches and the poles fallen across it
    every which way.  Gives the colour at (X, Y) of a site bw x bh pixels
    big, or None off it; seed makes each site's heap its own."""
    import math
    cx, cy = bw / 2.0 - 0.5, bh / 2.0 - 1.5
    rx, ry = bw / 2.0 - 7, bh / 2.0 - 8
    if rx < 4 or ry < 4:
        return None
    u, v = (X - cx) / rx, (Y - cy) / ry
    ang = math.atan2(v, u)
    p1, p2 = seed % 7 * 0.9, seed % 5 * 1.3
    edge = 1.0 + 0.14 * math.sin(3 * ang + p1) + 0.09 * math.sin(5 * ang + p2) + 0.05 * math.sin(9 * ang + p1)
    d = math.hypot(u, v)
    if d > edge:
        # The heap's shadow falls to the south-east on the floor.
        us, vs = (X - 2 - cx) / rx, (Y - 3 - cy) / ry
        if math.hypot(us, vs) <= edge:
            return "q" if (X + Y) % 2 else "b"
        return None
    # The hut's poles, fallen across the heap at all angles, each lit along
    # its upper side, charred black at its broken end.
    for n in range(5):
        h = cell_hash(seed, n, 181)
        a = (h % 180) * math.pi / 180.0
        ox, oy = (h >> 8) % 9 - 4, (h >> 12) % 13 - 6
        reach = 6 + (h >> 16) % 7
        px, py = X - cx - ox, Y - cy - oy
        along = px * math.cos(a) + py * math.sin(a)
        across = -px * math.sin(a) + py * math.cos(a)
        if abs(along) <= reach and -0.6 <= across < 1.4:
            if along > reach - 2:
                return "k"
            return "b" if across < 0.4 else "q"
    if d > edge - 0.1:
        return "k" if u + v > 0.3 else "q" if u + v > 0 else "b"
    dither = ((BAYER4[Y % 4][X % 4] + 0.5) / 16 - 0.5)
    # Where the fire took the thatch: charred, with pale ash lying on it.
    burnt = smooth_noise(X + seed * 17, Y, 183, 9.0) + dither * 0.12
    if burnt > 0.6:
        return "e" if cell_hash(X // 2, Y // 2 + seed, 185) % 9 == 0 else "d" if burnt < 0.66 else "q"
    # Straw lit from the upper left, darker where it falls away.
    light = -(u + v) * 0.5 + (1 - d) * 0.6 + dither * 0.2
    k = "n" if light > 0.6 else "Y" if light > 0.25 else "b" if light > -0.15 else "q"
    if cell_hash(X // 2, Y, 99 + seed) % 5 == 0 and k in ("n", "Y"):
        k = "b"          # a darker wisp in the straw
    return k


def hutsite_tile(ground, bx, by, bw, bh, seed=0):
    """The ground a jungle hut stood on: a floor of trampled earth, sooty
    near the heap, inside a curb of rough logs laid round it, each log its
    own length and thickness, scorched where the fire reached it, the
    jungle floor showing where two logs do not meet; the charred stumps of
    the hut's corner posts; one block of the site, at (bx, by) pixels
    within a site bw x bh pixels big."""
    g = [row[:] for row in ground]
    for y in range(8):
        for x in range(8):
            X, Y = bx + x, by + y
            dx, dy = min(X, bw - 1 - X), min(Y, bh - 1 - Y)
            # The curb: logs along the top and bottom lie across the map,
            # those at the sides down it; each log starts where the last
            # ends, a little in or out of the line, thicker or thinner.
            if dy < dx:
                along, side = X, 0 if Y < bh // 2 else 1
            else:
                along, side = Y, 2 if X < bw // 2 else 3
            log = (along + cell_hash(side, seed, 187) % 9) // 11
            lh = cell_hash(side * 31 + log, seed, 189)
            thick = 4 + lh % 2
            shift = (lh >> 3) % 2
            across = min(dx, dy) - max(0, shift)
            gap = (along + cell_hash(side, seed, 187) % 9) % 11 == 0
            # Some logs rolled off in the fire: the floor runs out to the edge.
            gone = lh % 4 == 0 and 4 < along < (bw if side < 2 else bh) - 5
            if gone and (min(dx, dy) < 2 or min(dx, dy) < 4 and cell_hash(X, Y + seed, 195) % 2):
                continue         # the jungle floor grown in where the log lay
            if min(dx, dy) >= 5 or across >= thick or gone:
                # Trampled earth, worn smooth, darker where feet pressed it
                # and sooty towards the heap.
                v = smooth_noise(X, Y + seed * 11, 93, 8.0) + ((BAYER4[Y % 4][X % 4] + 0.5) / 16 - 0.5) * 0.12
                k = "h" if v > 0.7 else "b"
                if cell_hash(X, Y + seed, 95) % 43 == 0:
                    k = "d"      # a cinder
                elif cell_hash(X, Y + seed, 97) % 37 == 0:
                    k = "n"      # a straw blown from the thatch
                heap = _hutsite_heap(X, Y, bw, bh, seed)
                g[y][x] = heap or k
                continue
            if across < 0 or gap:
                continue         # the jungle floor between the logs
            scorched = cell_hash(side * 31 + log, seed, 191) % 3 == 0
            tones = ("b", "b", "q", "q", "k") if scorched else ("n", "h", "b", "b", "k")
            k = tones[min(4, across * 5 // thick)]
            if across == 0 and not scorched and (along + log) % 5 == 0:
                k = "n"          # a lit knot on the log's upper side
            g[y][x] = k
            # The charred stumps of the corner posts that still stand.
            if dx < 5 and dy < 5 and cell_hash(X > bw // 2, (Y > bh // 2) + seed * 2, 193) % 3:
                r = max(abs(dx - 2), abs(dy - 2))
                if r <= 2:
                    g[y][x] = "k" if r == 2 and (dx > 2 or dy > 2) else "q" if r == 2 else "d" if r == 1 else "q"
    return g


# The farmland's trees are of more than one kind: oaks darker than the
# meadow's trees, young trees in a fresh light green.
CROWN_COLOURS["oak"] = ("j", "j", "g", "a", "a")
CROWN_COLOURS["sapling"] = ("g", "g", "G", "l", "l")
# The orchard is not all apples: pears, their leaves a shade yellower and
# the fruit hanging pale gold, and cherries, darker leaved and dotted red.
CROWN_COLOURS["pear"] = ("j", "j", "g", "G", "a")
CROWN_COLOURS["cherry"] = ("j", "j", "g", "g", "G")
FRUIT["pear"] = ("y", "h", 6)
FRUIT["cherry"] = ("R", "q", 6)
ORCHARD_KINDS = ("orchard", "pear", "cherry")


def _fallen_tree(w=32, h=16):
    """A tree blown down across the ground, w x h pixels: the torn-up plate
    of its roots and earth on the left, the trunk lying along the picture,
    lit along its top, and the dead crown's branches, a few leaves withered
    on them, tangled at its right end."""
    import math
    g = blank(T, w, h)
    top, bottom = 4, 12
    # The trunk, tapering towards the crown.
    for x in range(4, w - 6):
        t = (x - 4) / float(w - 10)
        y0 = top + int(t * 1.5)
        y1 = bottom - int(t * 1.0)
        for y in range(y0, y1 + 1):
            k = "h" if y == y0 else "q" if y == y1 else ("b" if (x * 3 + y * 7) % 11 else "q")
            g[y][x] = k
        if x % 7 == 3:
            g[y0 + 2][x] = "q"       # a knot in the bark
    # The dead crown: branches forking off the trunk's end, up and down.
    rng = Rng("fallen", w, h)
    for n in range(11):
        ang = -1.25 + n * 0.25 + rng.below(20) / 100.0
        x, y = float(w - 8), (top + bottom) / 2.0
        for step in range(6 + rng.below(3)):
            x += math.cos(ang) * 1.0
            y += math.sin(ang) * 1.0
            ix, iy = int(round(x)), int(round(y))
            if 0 <= ix < w and 0 <= iy < h:
                g[iy][ix] = "b" if step < 3 else "h"
                if step > 1 and rng.below(3):
                    for dx, dy in ((1, 0), (0, 1)):
                        if 0 <= ix + dx < w and 0 <= iy + dy < h and g[iy + dy][ix + dx] == T:
                            g[iy + dy][ix + dx] = ("a", "m", "h")[rng.below(3)]
    # The root plate, stood on edge: earth and stones with roots in it.
    for y in range(1, h - 1):
        for x in range(0, 6):
            d = math.hypot((x - 2.5) / 3.4, (y - 8.0) / 7.6)
            if d < 1.0:
                k = "b" if d < 0.55 else "q"
                if cell_hash(x, y, 131) % 5 == 0:
                    k = "h"              # a root's cut end
                elif cell_hash(x, y, 133) % 7 == 0:
                    k = "e"              # a stone torn up with it
                g[y][x] = k
    return _outline(g)


FALLEN_TREE = _fallen_tree()


def fallen_tree_tile(ground, part):
    """Block `part` of the fallen tree, over its ground with its shadow."""
    g = [row[:] for row in ground]
    standing(g, FALLEN_TREE, part)
    return g


# Rivers, brooks, ponds and marsh pools.  The water's edge follows the lie
# of the land round it, not the blocks: each pixel knows how much of the
# water lies within a few pixels of it, so bays and points are rounded, the
# shallows run along the banks and the channel is deepest where the water
# is widest.  The banks cast their shadow on the water below and right of
# them; the current draws streaks along the water's run; where the stream
# is broken by rocks it is white with rapids; and a pool among the mud of
# a marsh is dark and choked with weed.
for _table in (DARKER, SHADOW, CAST_TONE, SHADE):
    for _k, _d in {"C": "B", "B": "A", "A": "H", "H": "H", "F": "E", "E": "E"}.items():
        _table.setdefault(_k, _d)
for _k, _l in {"H": "A", "A": "B", "B": "C", "C": "c", "E": "F", "F": "a"}.items():
    LIGHTER.setdefault(_k, _l)

RIVER_REACH = 5      # how far (pixels) a pixel looks round it for water


def _water_share(mask, reach=RIVER_REACH):
    """For each pixel of the middle block of a 5 x 5 mask of blocks (1
    water, 0 land), the share of the pixels within `reach` of it that are
    water: 0.5 on a straight shore, less in a point of land, more out in
    the stream."""
    disc = [(dx, dy) for dy in range(-reach, reach + 1) for dx in range(-reach, reach + 1)
            if dx * dx + dy * dy <= reach * reach + 1]
    out = [[0.0] * 8 for _ in range(8)]
    for y in range(8):
        for x in range(8):
            wet = 0
            for dx, dy in disc:
                bx, by = (16 + x + dx) // 8, (16 + y + dy) // 8
                wet += mask[by][bx]
            out[y][x] = wet / float(len(disc))
    return out


def _shore_side(mask, x, y):
    """Whether the land nearest a pixel lies to its north or west (the
    bank's shadow falls on the water there)."""
    for r in range(1, 8):
        if mask[(16 + y - r) // 8][(16 + x) // 8] == 0 or mask[(16 + y) // 8][(16 + x - r) // 8] == 0:
            return True
        if mask[(16 + y + r) // 8][(16 + x) // 8] == 0 or mask[(16 + y) // 8][(16 + x + r) // 8] == 0:
            return False
    return False


def _shore_distance(mask, x, y):
    """How far (pixels) a pixel of the middle block lies from the nearest
    land in its 5 x 5 mask (16 at most)."""
    best = 16.0
    for by in range(5):
        for bx in range(5):
            if mask[by][bx]:
                continue
            dx = max(bx * 8 - (16 + x), 0, (16 + x) - (bx * 8 + 7))
            dy = max(by * 8 - (16 + y), 0, (16 + y) - (by * 8 + 7))
            best = min(best, (dx * dx + dy * dy) ** 0.5)
    return best


def river_tile(mask, ox, oy, along, ground, style="river"):
    """A block of water at map pixel (ox, oy) among its 5 x 5 mask of
    blocks (1 water, 0 land); `along` is the way the current runs ("x"
    across the map, "y" up it); `ground` the land's pixels, shown where a
    point of land reaches into the block.  Styles: "river" (a brook, a pond
    or a river, murky blue-green, lighter in its shallows), "rapids" (the
    same broken white over rocks) and "marsh" (a peaty pool under weed)."""
    share = _water_share(mask, 9)
    g = [row[:] for row in ground]
    marsh = style == "marsh"
    for y in range(8):
        for x in range(8):
            X, Y = ox + x, oy + y
            # The shore wanders: a slow noise moves it in and out.
            w = share[y][x] + (smooth_noise(X, Y, 139, 6.0) - 0.5) * 0.3
            dither = (BAYER4[Y % 4][X % 4] + 0.5) / 16.0
            north = _shore_side(mask, x, y)
            if w < 0.5:
                continue                       # the land's point, rounded
            if w < 0.6:
                # The bank: mud with roots, its lip lit where it faces the
                # sun and in shadow where it stands between sun and water.
                g[y][x] = ("b" if w < 0.55 else "q") if north else ("h" if w < 0.54 else "b")
                if not north and w < 0.55 and cell_hash(X, Y, 149) % 5 == 0:
                    g[y][x] = "m"              # a pebble on the beach
                continue
            d = _shore_distance(mask, x, y) + (w - 0.6) * 8 + (dither - 0.5) * 3
            if marsh:
                k = "E" if d > 3 + 4 * dither else "F"
            else:
                # Deeper the further out: shallows, the stream, the channel.
                k = "C" if d < 3.5 else "B" if d < 10 else "A"
                if north and d < 6:
                    k = "H" if d < 3.5 else "A"       # the bank's shadow on the water
            g[y][x] = k
    rng = Rng("river", style, ox, oy)
    # The current: short streaks along the water's run, lighter than the
    # water they cross; and now and then a glint.
    for _ in range(3 if style != "marsh" else 0):
        x, y = rng.below(8), rng.below(8)
        n = 2 + rng.below(3)
        for i in range(n):
            px, py = (x + i, y) if along == "x" else (x, y + i)
            if 0 <= px < 8 and 0 <= py < 8 and g[py][px] in ("A", "B"):
                g[py][px] = LIGHTER[g[py][px]]
    if style == "river" and rng.below(5) == 0:
        x, y = rng.below(8), rng.below(8)
        if g[y][x] in ("B", "C"):
            g[y][x] = "c"
    if style == "rapids":
        _rapids(g, share, ox, oy, along, rng)
    if marsh:
        _weed(g, share, ox, oy, rng)
    return g


def _rapids(g, share, ox, oy, along, rng):
    """Rocks breaking the stream, lit on their upper left, the water heaped
    white-blue round them and trailing foam downstream."""
    for _ in range(1 + rng.below(2)):
        x, y = 1 + rng.below(5), 1 + rng.below(5)
        if share[y][x] < 0.6:
            continue
        rock = [(0, 0, "f"), (1, 0, "e"), (0, 1, "e"), (1, 1, "d"), (2, 1, "q"), (1, 2, "q"), (2, 0, "d")]
        for dx, dy, k in rock:
            if x + dx < 8 and y + dy < 8:
                g[y + dy][x + dx] = k
        # The foam heaped on the rock's upstream side and the wake below it.
        for i in range(1, 4):
            if along == "y":
                for px, py in ((x + i - 1, y - 1), (x, y + 2 + i), (x + 2, y + 1 + i)):
                    if 0 <= px < 8 and 0 <= py < 8 and g[py][px] in ("A", "B", "C", "H"):
                        g[py][px] = "x" if i < 3 else "c"
            else:
                for px, py in ((x - 1, y + i - 1), (x + 2 + i, y), (x + 1 + i, y + 2)):
                    if 0 <= px < 8 and 0 <= py < 8 and g[py][px] in ("A", "B", "C", "H"):
                        g[py][px] = "x" if i < 3 else "c"
    # White water between the rocks: broken lines along the run.
    for _ in range(4):
        x, y = rng.below(8), rng.below(8)
        for i in range(2):
            px, py = (x + i, y) if along == "x" else (x, y + i)
            if 0 <= px < 8 and 0 <= py < 8 and g[py][px] in ("A", "B", "H"):
                g[py][px] = "c" if i else "x"


def _weed(g, share, ox, oy, rng):
    """A marsh pool's weed: duckweed drifted against its banks and in a few
    rafts, lily pads out on the open water, the sky's pale streaks between."""
    for y in range(8):
        for x in range(8):
            if g[y][x] not in ("E", "F"):
                continue
            X, Y = ox + x, oy + y
            v = smooth_noise(X, Y, 141, 4.0) + (0.75 - share[y][x]) * 1.2
            if v > 0.74:
                g[y][x] = "a" if cell_hash(X, Y, 143) % 3 else "g"   # duckweed
            elif (X * 5 + Y * 11) % 23 == 0 and g[y][x] == "E":
                for i in range(3):
                    if x + i < 8 and g[y][x + i] == "E":
                        g[y][x + i] = "F"                    # the sky's glint
    for _ in range(rng.below(3)):
        x, y = 1 + rng.below(5), 1 + rng.below(5)
        if share[y][x] > 0.7:
            for dx, dy, k in ((0, 0, "G"), (1, 0, "l"), (0, 1, "g"), (1, 1, "G"), (2, 1, "k")):
                g[y + dy][x + dx] = k                             # a lily pad


def ford_tile(mask, ox, oy, along, ground):
    """Where the path wades the stream: the water spread thin over a bed of
    flat stones laid across it, the stones' tops dry and lit, ripples where
    the current runs over them.  It is walked over."""
    g = river_tile(mask, ox, oy, along, ground)
    for y in range(8):
        for x in range(8):
            if g[y][x] in ("A", "H", "B"):
                g[y][x] = "C" if (x + y) % 3 else "B"
    # Stepping stones in rows across the current.
    for y in range(8):
        for x in range(8):
            X, Y = ox + x, oy + y
            a, b = (X, Y) if along == "y" else (Y, X)
            cx, cy = a % 6, (b + (a // 6) * 3) % 5
            if g[y][x] not in ("C", "B"):
                continue
            if cx < 4 and cy < 3:
                k = "f" if cx == 0 and cy == 0 else "e" if cx < 3 and cy < 2 else "d"
                g[y][x] = k
            elif cx == 4 and cy == 1:
                g[y][x] = "q"             # a stone's shadow on the water
            elif cell_hash(X, Y, 147) % 9 == 0:
                g[y][x] = "c"
    return g


def pitched_roof_tile(variant, bx, by, bw, bh, house=0, colours=None):
    """A block of a pitched roof seen from the south, at (bx, by) pixels in a
    roof bw x bh pixels big: the back slope falling away in shade above the
    ridge, the ridge capped and lit, the front slope in the sun with its
    courses of tiles, its hipped ends slanting in from the eaves to the
    ridge (the west one lit, the east one in shade), and the eaves' shadow
    along its foot."""
    base, edge, light, eaves = colours or HOUSES[house]["roof"]
    ridge = max(3, bh // 3)
    hip = min(14, bw // 4)
    g = blank(base)
    for y in range(8):
        for x in range(8):
            X, Y = bx + x, by + y
            if Y < ridge - 1:
                k = eaves if (X + 2 * Y) % 4 else edge          # the back slope
            elif Y == ridge - 1:
                k = light                                        # the ridge's cap
            elif Y == ridge:
                k = edge if X % 3 == 0 else light
            elif Y >= bh - 3:
                k = eaves if Y == bh - 2 else edge              # the eaves
            else:
                row = (Y - ridge - 1) % 3                        # courses of tiles
                k = edge if row == 2 else (light if (X + (Y // 3) * 2) % 7 == 0 else base)
            # The hipped ends: widest at the ridge, none at the eaves.
            far = (ridge - 1 - Y) / float(ridge) if Y < ridge - 1 else (Y - ridge) / float(bh - ridge)
            w = int(round(hip * (1.0 - far)))
            if X < w:
                k = edge if X == w - 1 else (light if (X + Y) % 5 else base)
            elif X > bw - 1 - w:
                k = edge if X == bw - w else (eaves if (X + Y) % 5 else edge)
            if Y in (0, bh - 1) or X in (0, bw - 1):
                k = "k"
            g[y][x] = k
    return g


def timber_tile(variant, bx, by, bw, bh):
    """A block of a farm building's timber wall, at (bx, by) pixels in a
    wall bw x bh pixels big: upright boards weathered brown, each lit on
    its west edge with a dark seam to the next, nailed to a rail across
    the middle, the wall's foot dark with damp and its ends outlined."""
    g = blank("b")
    for y in range(8):
        for x in range(8):
            X, Y = bx + x, by + y
            board = (X + (cell_hash(X // 4, 0, 161) % 2)) % 4
            k = "n" if board == 0 else "q" if board == 3 else "h" if cell_hash(X // 4, Y // 3, 163) % 3 else "b"
            if Y == bh // 2 or Y == bh // 2 + 1:
                k = "h" if Y == bh // 2 else "q"                  # the rail
                if board == 1 and Y == bh // 2:
                    k = "e"                                      # a nail's head
            g[y][x] = _wall_foot(k, X, Y, bw, bh)
    return g


def _wall_foot(k, X, Y, bw, bh):
    """A wooden wall's pixel at (X, Y) of a wall bw x bh pixels big: dark
    with damp along its foot and outlined at its ends, else `k`."""
    if Y >= bh - 2:
        k = "q" if Y == bh - 2 else "k"
    if X in (0, bw - 1):
        k = "k"
    return k


def pier_tile(ground, bx, by, bw, bh, deck_above):
    """A block of one of the viaduct's stone piers, at (bx, by) pixels in a
    pier bw x bh pixels big, standing under the deck's south edge: a
    column of dressed stone in courses, its front lit from the west and its
    east side turned into shade, the springing of an arch curving out to
    either side under the deck, a plinth of bigger stones at its foot with
    a lit ledge and damp moss along it, and a dark foot line where it
    stands on the ground.  Its head lies in the deck's shadow.  (A pier
    north of a deck shows the capping stone the deck rests on instead.)"""
    import math
    g = [row[:] for row in ground]
    plinth = 5                         # the plinth's height at the foot
    shaft = 7                          # how far the shaft stands in from the pier's sides
    spring = bh - plinth - 10          # where the arches leave the shaft
    for y in range(8):
        for x in range(8):
            X, Y = bx + x, by + y
            if Y >= bh - plinth:
                inset = 1
            elif Y <= spring - shaft or not deck_above:
                inset = 0 if deck_above else shaft
            else:
                # The arch's soffit, a quarter circle from the shaft out to the pier's side.
                d = Y - (spring - shaft)
                inset = int(round(shaft - math.sqrt(max(0, shaft * shaft - d * d))))
            if X < inset or X > bw - 1 - inset:
                # Under the arch: the ground in the arch's and the deck's shade.
                if Y < bh - plinth and deck_above:
                    g[y][x] = {"l": "G", "G": "g", "g": "j", "n": "m", "h": "b", "m": "h"}.get(g[y][x], "j")
                continue
            east = X >= bw - inset - 6 - (2 if Y < bh - plinth else 0)
            if Y >= bh - plinth:
                # The plinth: big blocks, a lit ledge on top, damp at the foot.
                k = "e" if (X + 4) % 10 else "d"
                if Y == bh - plinth:
                    k = "e" if not east else "d"
                elif Y >= bh - 2:
                    k = "g" if cell_hash(X, Y, 171) % 3 == 0 else "d"
                elif east:
                    k = "d"
            else:
                joint = (X + (5 if (Y // 4) % 2 else 0)) % 10 == 0
                k = "d" if Y % 4 == 3 or joint else "e"
                if east:
                    k = "q" if Y % 4 == 3 or joint else "d"
                elif X == inset or X == inset + 1 and Y % 4 != 3:
                    k = "f" if Y % 8 < 3 else "e"          # the lit west arris
                if X == bw - 1 - inset:
                    k = "k"
            if Y == bh - 1 or (X == bw - 1 - inset and Y >= bh - plinth):
                k = "k"
            if deck_above and Y < 4:
                k = "q" if Y < 2 else {"e": "d", "f": "e"}.get(k, "q")   # the deck's shadow on its head
            elif not deck_above and Y < 3:
                # The capping stone the deck rests on.
                k = "k" if Y == 0 else "e" if Y == 1 and not east else "d"
            g[y][x] = k
    return g


# A jungle village's roofs: thatch of dry grass and palm leaves (its base,
# the dark lines between its courses, its sunlit straw, the eaves' shade).
THATCH = ("h", "b", "m", "q")


def timber_front_tile(variant, bx, by, bw, bh):
    """A block of the front of a jungle village's house under its thatch:
    a timber wall of upright boards on a rail (like the farm's sheds), a
    shuttered window in every other block, dark inside with its shutters
    open to either side and a lit sill under it."""
    g = timber_tile(0, bx, by, bw, bh)
    if variant % 2 == 0 and by + 8 < bh - 2:
        for y in range(1, 6):
            for x in range(2, 6):
                g[y][x] = "q" if y > 1 else "k"
        g[2][3] = "d"
        for y in range(1, 6):
            g[y][1], g[y][6] = "h", "b"       # the shutters, open
        for x in range(1, 7):
            g[6][x] = "n"
    return g


def jungle_ruin_tile(ground, open_sides, x0, y0):
    """A block of the broken walls of an old stone building overgrown by the
    jungle: big weathered blocks in courses, grey-brown with lichen, moss
    in their joints; where the wall ends at the top its stones are broken
    off raggedly (the jungle floor shows between them) with the lit tops
    of the last stones; its foot dark where it stands, a fallen stone by
    it.  Map block (x0, y0) picks its breaks."""
    g = [row[:] for row in ground]
    top, bottom = N_ in open_sides, S_ in open_sides
    west, east = W_ in open_sides, E_ in open_sides
    for y in range(8):
        for x in range(8):
            X, Y = x0 * 8 + x, y0 * 8 + y
            # The broken top: each stone's height its own.
            lost = (cell_hash(X // 4, y0, 181) % 4) if top else 0
            if y < lost:
                continue
            course = (Y // 4) % 2
            joint = y % 4 == 3 or (X + 2 * course) % 5 == 0
            k = "d" if joint else ("e" if (X + Y) % 7 else "h")
            if not joint and cell_hash(X // 5, Y // 4, 183) % 4 == 0:
                k = "a"                                    # lichen on a stone
            if joint and cell_hash(X, Y, 185) % 3 == 0:
                k = "g"                                    # moss in the joint
            if y == lost and top:
                k = "f" if x % 5 else "e"                  # the lit top of the last stone
            elif y == lost + 1 and top:
                k = "e"
            if west and x == 0:
                k = "e" if k != "g" else k
            if east and x >= 6:
                k = "q" if x == 7 else "d"                 # its east face in shade
            if bottom and y >= 6:
                k = "k" if y == 7 else "q"
            g[y][x] = k
    return g


# A farm cart caught by the shelling on the front: charred planks, the
# sacks of its load burnt to a heap of black straw with embers in it.
BURNT = {"n": "d", "z": "e", "m": "b", "h": "b", "b": "q", "y": "o"}


def _burnt_cart():
    g = [[BURNT.get(k, k) if k != T else k for k in row] for row in CART]
    rng = Rng("burnt cart")
    for _ in range(9):
        x, y = 8 + rng.below(13), 2 + rng.below(7)
        if g[y][x] not in (T, "k"):
            g[y][x] = ("r", "o", "d")[rng.below(3)]                  # embers and ash
    return g


BURNT_CART = _burnt_cart()
STANDING["burntcart"] = lambda v: BURNT_CART


# -- Desert and canyon (areas 3 and 4) --

# Area 3's desert is warm ochre sand, a step darker than the pale sand, so
# that the white of a bullet stands out on it; area 4's canyon has a floor
# of dusty clay under walls of red sandstone.
GROUND_BASE["desert"] = ("m", "m", "Y", "Y", "Y")
GROUND_BASE["canyon"] = ("t", "i", "i", "i", "O")
# The canyon's road: dust packed pale by the wheels.
GROUND_BASE["dust"] = ("i", "O", "O", "O", "O")
CONTRAST.update(desert=1.5, canyon=1.4, dust=1.0)
FRINGE_OVER["desert"] = {"wadi"}
FRINGE_OVER["canyon"] = {"wadi", "dust"}

# The new colours' steps up and down, so that details, shadows and the
# shade under decks darken and light them as they do the others.
_DESERT_DARKER = {"Y": "m", "O": "i", "i": "t", "t": "D", "Q": "D", "D": "V", "V": "q"}
_DESERT_LIGHTER = {"Y": "n", "V": "D", "D": "t", "t": "i", "i": "O", "O": "O", "Q": "i"}
for _table in (DARKER, SHADOW, CAST_TONE, SHADE):
    for _k, _d in _DESERT_DARKER.items():
        _table.setdefault(_k, _d)
for _k, _l in _DESERT_LIGHTER.items():
    LIGHTER.setdefault(_k, _l)


def _ripples(g, rng, n):
    """Wind ripples: short wavy strokes, dark under their lit crest."""
    for _ in range(n):
        x, y = rng.below(5), 1 + rng.below(6)
        for i in range(3 + rng.below(2)):
            _dim(g, x + i, y + (1 if i in (0, 3) else 0))
            _lit(g, x + i, y - 1 + (1 if i in (0, 3) else 0))


def desert_details(g, variant, rng, sun):
    """The desert's sand: now and then a wind ripple, now and then a dark
    pebble of the sand's own browns (never a light one: those read as
    bullets); the marks differ from block to block with the sand's tones,
    so they lie in no grid."""
    if rng.below(3) == 0:
        _ripples(g, rng, 1)
    if rng.below(6) == 0:
        x, y = 1 + rng.below(5), 1 + rng.below(5)
        _put(g, x, y, "h"); _put(g, x + 1, y, "b"); _put(g, x, y + 1, "b")


def canyon_details(g, variant, rng, sun):
    """The canyon's clay floor: now and then a drift of dust in a soft
    ripple, a chip of red rock fallen from the walls, a crack in the baked
    clay; placed by the block's tones, so they lie in no grid."""
    if rng.below(3) == 0:
        _ripples(g, rng, 1)
    n = rng.below(8)
    if n == 0:     # a chip of rock, lit on its top
        x, y = 1 + rng.below(5), 1 + rng.below(5)
        _put(g, x, y, "O"); _put(g, x + 1, y, "Q"); _put(g, x, y + 1, "D"); _put(g, x + 1, y + 1, "V")
    elif n == 1:   # a crack in the clay
        x, y = rng.below(4), 1 + rng.below(5)
        for i in range(4):
            _put(g, x + i, y + (i % 3 == 1), "D")


def dust_details(g, variant, rng, sun):
    """The road's dust: ripples blown across it, a stone here and there."""
    if rng.below(2) == 0:
        _ripples(g, rng, 1)
    if rng.below(6) == 0:
        x, y = 1 + rng.below(5), 1 + rng.below(5)
        _put(g, x, y, "t"); _put(g, x + 1, y, "D")


DESERT_GROUNDS = {"desert": desert_details, "canyon": canyon_details, "dust": dust_details}


# The canyon's sandstone: the cliffs' greys and browns in its reds, the
# sunlit rim a pale sandstone, the shadows deep red instead of black-grey.
RED_ROCK = {"q": "V", "d": "D", "e": "Q", "f": "O", "b": "D", "h": "t", "m": "i", "n": "O", "z": "O"}


def red_rock(g):
    return [[RED_ROCK.get(k, k) for k in row] for row in g]


ROCKS = {"red": red_rock}


# A slope's browns (the stones at its toe, the bed's floor in its corners)
# go to ash in a shadow, as the bed's do.
GROUND_SHADOW["slope"] = dict(SHADOW, b="q")


def slope_tile(ground, variant, bed, corners=FLAT, bed_variant=None):
    """A low slope down to the floor of a dry riverbed: the plateau's ground
    leaning towards the bed (bed[dy + 1][dx + 1] tells which neighbours are
    the bed), lit where it faces the light from the upper left, shaded
    where it turns away, a few stones rolled down to its toe.  It lies flat
    enough to walk over: no outline, no face, no cast shadow.  Where the
    bed turns a corner round it (bed on two sides that meet and between
    them), the bed's floor (drawn as bed_variant) fills the half of the
    block towards that corner, so that a bed climbing diagonally block by
    block has a straight edge instead of steps."""
    g = draw_ground(ground, variant, (), corners)
    boxes = [(8 * dx, 8 * dy) for dy in (-1, 0, 1) for dx in (-1, 0, 1) if bed[dy + 1][dx + 1]]
    if not boxes:
        return g
    notches = []
    if bed_variant is not None:
        for cx in (-1, 1):
            for cy in (-1, 1):
                if bed[1][1 + cx] and bed[1 + cy][1] and bed[1 + cy][1 + cx] \
                        and not bed[1][1 - cx] and not bed[1 - cy][1]:
                    notches.append((cx, cy))
    floor = draw_ground("wadi", bed_variant) if notches else None
    for y in range(8):
        for x in range(8):
            best = None
            X, Y = x + 0.5, y + 0.5
            inside = False
            for cx, cy in notches:
                # The edge runs from corner to corner of the block.
                side = cx * (X - 4) + cy * (Y - 4)
                if side > 0:
                    inside = True
                    break
                dn = -side / 1.4142
                if best is None or dn < best[0]:
                    best = (dn, cx * dn / 1.4142, cy * dn / 1.4142)
            if inside:
                g[y][x] = floor[y][x]
                continue
            for bx, by in boxes:
                # The nearest point of that neighbour's block.
                nx = min(max(x + 0.5, bx), bx + 8)
                ny = min(max(y + 0.5, by), by + 8)
                ddx, ddy = nx - (x + 0.5), ny - (y + 0.5)
                d = (ddx * ddx + ddy * ddy) ** 0.5
                if best is None or d < best[0]:
                    best = (d, ddx, ddy)
            d, ddx, ddy = best
            if d >= 7.5:
                continue
            # Down the slope is towards the bed; it faces the light when
            # the bed lies up and to the left.
            n = max(d, 0.01)
            light = -(ddx + ddy) / n * 0.7071
            t = (BAYER4[y % 4][x % 4] + 0.5) / 16
            fall = 1.0 - d / 7.5            # 0 at its top, 1 at its toe
            k = g[y][x]
            if ground == "desert":
                # The desert's banks are steeper: a bright lip, a face in
                # the sun or a face in the dunes' warm shade.
                g[y][x] = _desert_bank(k, fall, light, t)
                continue
            if fall < 0.15:
                if light < 0.25 and t < 0.5:
                    k = LIGHTER.get(k, k)          # the lip catches the light
            elif light > 0.25:
                if fall > 0.85 and t < 0.6:
                    k = DARKER.get(k, k)           # its toe, where it meets the bed
                elif t < 0.55:
                    k = LIGHTER.get(k, k)
            else:
                deep = fall if light < -0.25 else fall * 0.6
                if t < deep * 1.1:
                    k = DARKER.get(k, k)
                if fall > 0.6 and t < (deep - 0.55) * 1.6:
                    k = DARKER.get(k, k)
            g[y][x] = k
    rng = Rng("slope", variant, bed)
    for _ in range(2):
        x, y = rng.below(7), rng.below(7)
        near = any(abs(x + 0.5 - min(max(x + 0.5, bx), bx + 8)) + abs(y + 0.5 - min(max(y + 0.5, by), by + 8)) < 3
                   for bx, by in boxes)
        if near and not any(cx * (x + 0.5 - 4) + cy * (y + 1.5 - 4) > -1 for cx, cy in notches):
            # a stone rolled down to the toe, its shadow below
            _put(g, x, y, LIGHTER.get(g[y][x], g[y][x]))
            _put(g, x, y + 1, DARKER.get(DARKER.get(g[y + 1][x], "q"), "q"))
    return g


def highway_tile(variant, bx, by, bw, bh, kerbs):
    """A dusty concrete highway: slabs poured across each lane, the joints
    between them dark, a joint along its middle, faded ochre edge lines,
    sand blown over it in drifts, and the dark streaks the tyres leave."""
    g = blank("e")
    rng = Rng("highway", variant)
    mid = bh // 2
    for y in range(8):
        Y = by + y
        for x in range(8):
            X = bx + x
            k = "e"
            drift = smooth_noise(X, Y, 91, 16.0, 6.0) + 0.25 * max(0.0, 1 - min(Y, bh - 1 - Y) / 10.0) - 0.12
            if drift > 0.7:
                k = "m" if drift > 0.76 else ("m" if (X + Y) % 2 else "e")
            if X % 40 == 39 or Y == mid:
                k = "d"
            elif X % 40 == 0 or Y == mid + 1:
                k = "f" if k == "e" else k
            lane = Y % (mid if Y < mid else bh - mid)
            if lane in (5, 6) and (X + 3 * (Y // mid)) % 11 < 7 and k == "e":
                k = "d"        # the tyres' streaks along the lanes
            if Y in (3, bh - 4) and X % 16 < 12:
                k = "h"        # the faded edge lines
            g[y][x] = k
    speckle(g, rng, [("d", 2)])
    for x in range(8):
        if N_ in kerbs:
            g[0][x], g[1][x] = "f", "d"
        if S_ in kerbs:
            g[6][x], g[7][x] = "d", "k"
    return g


PAVED["highway"] = highway_tile


# A concrete road block, one of a line of them that closes a median or
# guards a checkpoint: its top in the sun, red stripes on its face.
BARRIER = sprite([
    "........",
    ".kkkkkk.",
    "kfffffek",
    "keeeeedk",
    "kRRdRRdk",
    "kdRRdRRk",
    "kkkkkkkk",
    "........",
])

# Dry desert scrub: a thorny mound of dusty olive on brown twigs.
SCRUBS = [sprite(r) for r in (
    ["..b..h..",
     ".hahaab.",
     "bhaahgak",
     "haagagak",
     ".agahggk",
     "bkgagjk.",
     "..kbkk..",
     "........"],
    [".h....b.",
     "bah.hab.",
     ".ahaaagk",
     "hagahgak",
     "bagaggjk",
     ".kgjggk.",
     "..kkbk..",
     "........"],
)]

STANDING["barrier"] = lambda v: BARRIER
STANDING["scrub"] = lambda v: SCRUBS[v % 2]


def _mud_bricks(g, X, Y, base, mortar, light):
    """Courses of mud brick under the pixel at (X, Y) of a wall's face."""
    course = Y // 3
    if Y % 3 == 2:
        return mortar
    if (X + 4 * (course % 2)) % 8 == 0:
        return mortar
    if (X + 4 * (course % 2)) % 8 == 1 and Y % 3 == 0:
        return light
    return base


def rampart_tile(px, py, depth, sides, left, fitting=0):
    """The fortress's walls of sun-dried brick seen from above: a flat roof
    of packed clay with a parapet round its open sides; and the last three
    rows above its foot its face: a crenellated parapet, a row of the
    beams' ends and loopholes, and the foot in its own shadow.  px, py are
    the block's place in the wall's pattern, depth how many rows of wall lie
    below it (0 at the foot); fitting what stands on a block of its roof
    (0 nothing, 1 a hatch, 2 water jars), scattered by the caller so
    they lie in no grid."""
    g = blank("i")
    X0, Y0 = px * 8, py * 8
    if depth >= 3:
        # A roof terrace of fired tiles, a shade darker than the canyon's
        # floor, laid in squares whose joints the dust has half filled,
        # weathered in patches, with its hatch and its water jars.
        for y in range(8):
            for x in range(8):
                X, Y = X0 + x, Y0 + y
                n = smooth_noise(X, Y, 77, 9.0)
                t = (BAYER4[y % 4][x % 4] + 0.5) / 16
                k = "t"
                if n < 0.32 and t < (0.32 - n) * 3:
                    k = "D"
                elif n > 0.66 and t < (n - 0.66) * 3:
                    k = "i"
                if (X % 6 == 5 or Y % 6 == 5) and (X + Y) % 2 and k == "t":
                    k = "D"
                g[y][x] = k
        if fitting == 1 and not sides:
            # A hatch down into the wall: a frame of beams round a dark well.
            for y in range(1, 7):
                for x in range(1, 7):
                    edge = y in (1, 6) or x in (1, 6)
                    g[y][x] = ("h" if (y == 1 or x == 1) else "q") if edge else ("b" if x % 2 else "D")
        elif fitting == 2 and not sides:
            # Two water jars, lit on the upper left.
            for cx, cy in ((2, 2), (5, 5)):
                for dy in (-1, 0, 1):
                    for dx in (-1, 0, 1):
                        _put(g, cx + dx, cy + dy, "Q")
                _put(g, cx - 1, cy - 1, "O"); _put(g, cx, cy - 1, "i")
                _put(g, cx + 1, cy + 1, "D"); _put(g, cx, cy, "V")
                _put(g, cx + 2, cy + 1, "D"); _put(g, cx + 1, cy + 2, "D")
        # A parapet along the open sides: lit on the far side, dark on the
        # near side; its walkway in the shade of it.
        for i in range(8):
            if N_ in sides:
                g[0][i], g[1][i], g[2][i] = "k", "O", "t" if i % 2 else "D"
            if W_ in sides:
                g[i][0], g[i][1], g[i][2] = "k", "O", "t"
            if E_ in sides:
                g[i][7], g[i][6], g[i][5] = "k", "D", "t"
        return g
    for y in range(8):
        for x in range(8):
            g[y][x] = _mud_bricks(g, X0 + x, y + 8 * (2 - depth), "t", "D", "i")
    if depth == 2:
        # The merlons: four pixels of parapet, four of gap, the gap's floor
        # the walkway behind in shadow.
        for x in range(8):
            merlon = (X0 + x) % 8 < 4
            g[0][x] = "O" if merlon else "k"
            g[1][x] = "i" if merlon else "V"
            g[2][x] = "i" if merlon else "D"
            g[3][x] = "t" if merlon else "t"
            g[4][x] = "D"
    elif depth == 1:
        for x in range(8):          # the ends of the roof's beams
            if (X0 + x) % 6 == 2:
                g[1][x] = "V"
                g[2][x] = "b"
        if (X0 // 8) % 2 == 1:      # a loophole
            for y in range(3, 7):
                g[y][3] = "k"
                g[y][4] = "V" if y > 3 else "k"
    else:
        for x in range(8):
            g[5][x] = "D"
            g[6][x] = "V"
            g[7][x] = "k"
    if W_ in sides:
        for y in range(8):
            g[y][0] = "O" if g[y][0] != "k" else "k"
    if E_ in sides:
        for y in range(8):
            g[y][7] = "k"
            g[y][6] = "D" if g[y][6] not in ("k", "V") else g[y][6]
    return g


def gatehouse_tile(bx, bw, py, bh, sides):
    """The gatehouse over the way into the fortress, drawn in front of the
    soldiers: a dome of clay tiles on a square roof inside its parapet; in
    its two lowest rows its face of brick, a row of merlons over a band of
    beam ends, where the gateway's arch opens dark in the middle (bx, py:
    the pixel column and block row within the gatehouse, bw, bh its size)."""
    g = blank("i")
    face = bh - 16
    half = bw / 2.0
    for y in range(8):
        for x in range(8):
            X, Y = bx + x, py * 8 + y
            if Y >= face:
                fy = Y - face
                k = _mud_bricks(g, X, fy, "t", "D", "i")
                if fy in (0, 1):
                    k = ("O" if X % 8 < 4 else "k") if fy == 0 else ("i" if X % 8 < 4 else "V")
                elif fy == 3 and X % 6 == 2:
                    k = "V"          # the ends of the beams
                # The arch: a round head over a dark opening, its voussoirs lit.
                dx = abs(X + 0.5 - half) / (half - 14)
                top = 5 + 6 * (1 - (1 - min(1.0, dx) ** 2) ** 0.5)
                if dx < 1 and fy >= top:
                    k = "k" if fy > top + 1 else "V"
                elif dx < 1.15 and fy >= top - 1.5 and fy > 3:
                    k = "O" if (X + fy) % 3 else "D"
                g[y][x] = k
            else:
                # The dome: rings of tiles round its crown, lit on the upper
                # left, and the flat roof round it inside the parapet.
                cx, cy = half, face / 2.0 + 1
                r = ((X + 0.5 - cx) ** 2 + ((Y + 0.5 - cy) * 1.25) ** 2) ** 0.5
                R = min(half, face / 2.0 * 1.25) - 5
                if r < R:
                    lit = (X + 0.5 - cx) + (Y + 0.5 - cy) < -R * 0.3
                    dark = (X + 0.5 - cx) + (Y + 0.5 - cy) > R * 0.5
                    k = "O" if lit else ("D" if dark else "i")
                    if int(r) % 4 == 0:
                        k = "t" if not dark else "V"
                    if r < 2.2:
                        k = "y" if r < 1.2 else "o"      # its finial, gilt
                elif r < R + 1.2:
                    k = "k"
                else:
                    n = smooth_noise(X, Y, 78, 7.0)
                    k = "i" if n > 0.62 and (X + Y) % 2 else "t"
                    if r < R + 3:
                        k = "D"                          # the dome's shadow on the roof
                g[y][x] = k
    for i in range(8):
        if N_ in sides:
            g[0][i], g[1][i] = "k", "O" if i % 4 < 2 else "V"
        if W_ in sides:
            g[i][0] = "k"
            if py * 8 + i < face:
                g[i][1] = "O" if i % 4 < 2 else "V"
        if E_ in sides:
            g[i][7] = "k"
            if py * 8 + i < face:
                g[i][6] = "D" if i % 4 < 2 else "V"
    return g


# The canyon's loose stones are chips of its own red sandstone: lit a pale
# sandstone on their upper left, rust, and deep red where they shade the clay.
def warm_scree(g, stones):
    """Stones fallen from the canyon's walls onto the clay at their foot."""
    out = [row[:] for row in g]
    for x, y in stones:
        _put(out, x, y, "O")
        _put(out, x + 1, y, "Q")
        _put(out, x, y + 1, "Q")
        _put(out, x + 1, y + 1, "V")
    return out


def grit_track_tile(variant, bx, by, bw, bh, kerbs):
    """The canyon's gravel track: red grit crushed from its walls, a step
    darker than the clay floor it crosses and the pale dust of the road,
    two pairs of wheel ruts worn along it, stones pushed to its edges and
    the clay spilling over them."""
    g = blank("t")
    for y in range(8):
        Y = by + y
        for x in range(8):
            X = bx + x
            n = smooth_noise(X, Y, 83, 7.0)
            t = (BAYER4[Y % 4][X % 4] + 0.5) / 16
            k = "t"
            if n > 0.6 and t < (n - 0.6) * 2.5:
                k = "Q"
            elif n < 0.32 and t < (0.32 - n) * 2.5:
                k = "D"
            h = cell_hash(X, Y, 29) % 9
            if h == 0:
                k = "i"        # a grain in the sun
            elif h in (1, 2):
                k = "D"        # grains in their own shadow
            elif h == 3:
                k = "Q"
            g[y][x] = k
    # Two lanes, each with its pair of wheel tracks: soft furrows of
    # crushed grit that wander and fade out here and there (not ruled
    # lines, which read as rails or a fence).
    lane = bh // 2
    for x in range(8):
        X = bx + x
        for i, rut in enumerate((lane // 2 - 2, lane // 2 + 3, lane + lane // 2 - 3, lane + lane // 2 + 2)):
            if smooth_noise(X, i, 53, 11.0) < 0.38:
                continue                                   # the track fades out
            w = int(3.4 * smooth_noise(X, i // 2, 43, 26.0) - 1.2)
            for dy, k in ((0, "D"), (1, "Q")):
                y = rut + w + dy - by
                if 0 <= y < 8 and cell_hash(X, y + i, 47) % 5:
                    g[y][x] = k
    rng = Rng("grit", variant, bx % 40, by)
    for side in kerbs:
        fringe(g, side, GROUND_BASE["canyon"][2], GROUND_BASE["canyon"][0], variant)
        for _ in range(2):      # stones the wheels pushed aside
            x = rng.below(7)
            y = 2 + rng.below(2) if side == N_ else 4 + rng.below(2)
            _put(g, x, y, "O"); _put(g, x + 1, y, "Q"); _put(g, x, y + 1, "V")
    return g


PAVED["grit"] = grit_track_tile


def _merlons(g, sides, lit="O", dark="D"):
    """A crenellated parapet round a roof's open sides: merlons of brick,
    the sunlit ones pale, with gaps that show the walkway behind."""
    for i in range(8):
        m = i % 4 < 2
        if N_ in sides:
            g[0][i], g[1][i] = "k", lit if m else "V"
            g[2][i] = "t" if m else g[2][i]
        if W_ in sides:
            g[i][0], g[i][1] = "k", lit if m else "V"
        if E_ in sides:
            g[i][7], g[i][6] = "k", dark if m else "V"
        if S_ in sides:
            g[7][i], g[6][i] = "k", dark if m else "V"


def tower_tile(px, py, depth, sides, flag, left):
    """A tower of the fortress, standing higher than its walls: a roof of
    plank decking over the beams inside a crenellated parapet on every open
    side, a flag on a pole over some; its face of brick like the walls',
    pierced by an arrow slit, with a string course under its parapet."""
    if depth < 3:
        g = rampart_tile(px, py, depth, tuple(s for s in sides if s in (W_, E_)), left)
        if depth == 1:
            for y in range(8):
                if px % 3 == 1:
                    g[y][3], g[y][4] = "k", "V" if y > 1 else "k"
        if depth == 2:
            for x in range(8):
                g[0][x] = "k"
                g[1][x] = "O" if x % 4 < 2 else "V"
                g[5][x] = "O"
                g[6][x] = "D"
        return g
    g = blank("i")
    X0, Y0 = px * 8, py * 8
    for y in range(8):
        for x in range(8):
            X, Y = X0 + x, Y0 + y
            k = "i" if X % 4 else "t"              # the deck's planks
            if (X // 4 + Y // 11) % 3 == 0 and Y % 11 == 0:
                k = "D"                            # their butt joints
            if smooth_noise(X, Y, 71, 6.0) > 0.7 and (X + Y) % 2:
                k = "O"                            # bleached by the sun
            g[y][x] = k
    _merlons(g, sides)
    if flag:
        # A pole in the middle, a long banner flying east from it with a
        # yellow stripe, wavy at its fly; their shadow on the deck.
        for y in range(0, 8):
            _put(g, 1, y, "q")
            _put(g, 2, y, "D" if y > 5 else g[y][2])
        for y, row in enumerate(("RRRRRr", "RRRRrr", "yyyyy.", "RRRrRr", "rrrr..", ".r....")):
            for x, k in enumerate(row):
                if k != ".":
                    _put(g, 2 + x, y, k)
        for x in range(3, 8):
            if g[6][x] not in ("q",):
                _put(g, x, 6, "D" if x < 7 else g[6][x])
        _put(g, 1, 0, "y")
    return g


# A gun on a bastion: a cannon on its timber platform, its muzzle over the
# parapet towards the road, sandbags round its back.
BATTERY = sprite([
    "...kkkkkkkkkk...",
    "..khhbhhbhhbhk..",
    ".khbbbbbbbbbbhk.",
    ".khbkkkkkkkkbhk.",
    ".khbkeffeeedkhk.",
    ".khbkkefeedkkhk.",
    ".khbbkefeedkbhk.",
    ".khhbkefeedkbhk.",
    ".khbbkefeedkbhk.",
    "..kkbkefeedkbk..",
    "....kkefeedkk...",
    "......keedk.....",
    ".....kdeedqk....",
    ".....kqddqqk....",
    "......kkkkk.....",
    "................",
])


def battery_tile(px, py, part, sides):
    """A block of a bastion's gun platform: the roof's terrace under the
    gun, which casts its shadow on it."""
    g = rampart_tile(px, py, 3, sides, 0)
    standing(g, BATTERY, part)
    return g


# Area 3's own rock: a tawny sandstone, its faces clay and brown, lit a pale
# sandstone, deep clefts in ash, so that its cliffs and boulders belong to
# the warm desert instead of lying on it like grey stone.
OCHRE_ROCK = {"d": "b", "e": "i", "f": "O", "z": "O"}


def ochre_rock(g):
    return [[OCHRE_ROCK.get(k, k) for k in row] for row in g]


ROCKS["ochre"] = ochre_rock


def ochre_scree(g, stones):
    """Chips of the desert's sandstone fallen at the foot of its cliffs."""
    out = [row[:] for row in g]
    for x, y in stones:
        _put(out, x, y, "O")
        _put(out, x + 1, y, "i")
        _put(out, x, y + 1, "i")
        _put(out, x + 1, y + 1, "b")
    return out


# The stones fallen at the cliffs' feet, of each area's rock.
SCREES = {"red": warm_scree, "ochre": ochre_scree}

# The roads' colours in an area of their own rock: the canyon's drifts of
# red clay on the highway's slabs; the desert's service track of ochre
# gravel, a step darker than the sand it crosses, not the base's pale sand.
PAVED_TINTS = {
    ("highway", "red"): {"m": "i"},
    ("track", "ochre"): {"z": "Y", "n": "m", "m": "h", "h": "b"},
}


def tinted_paving(g, look, rock):
    tint = PAVED_TINTS.get((look, rock))
    return [[tint.get(k, k) for k in row] for row in g] if tint else g


def desert_bunker_tile(variant, sides, column):
    """A bunker of the desert's line, dug in: its roof slab heaped with sand
    in a berm, lit on its upper left and shaded on its lower right, the
    slab's lit concrete lip along the berm's foot; its front a concrete face
    with a black firing slit and its shadowed foot (the row with nothing of
    it below).  column: the block's place along the bunker."""
    g = blank("m")
    rng = Rng("desertbunker", variant)
    if S_ not in sides:
        # The berm: a mound of the desert's sand.
        for y in range(8):
            for x in range(8):
                t = (BAYER4[y % 4][x % 4] + 0.5) / 16
                lit = (W_ in sides) * (1 - x / 4.0) + max(0.0, 1 - y / 3.5)
                dark = (E_ in sides) * (x - 3) / 4.0 + (y - 2.5) / 3.0
                k = "Y" if t < 0.5 else "m"
                if lit > 0.2 and t < lit:
                    k = "n"
                elif dark > 0.2 and t < dark * 0.9:
                    k = "h" if t < dark * 0.45 or y < 4 else "b"
                g[y][x] = k
                if (column + x) % 5 == 2 and y == 3:
                    g[y][x] = "h"       # sandbags showing through the sand
        speckle(g, rng, [("h", 1), ("b", 1)])
        for x in range(8):
            g[6][x] = "f" if x % 4 else "e"    # the slab's lip, in the sun
            g[7][x] = "d"
            if N_ in sides:
                g[0][x] = "q"
        for y in range(8):
            if W_ in sides:
                g[y][0] = "q" if y < 6 else "e"
            if E_ in sides:
                g[y][7] = "k"
                if y < 6:
                    g[y][6] = "b"
        if N_ in sides and W_ in sides:
            g[0][0], g[1][1] = "m", "q"         # the berm's rounded corners
        if N_ in sides and E_ in sides:
            g[0][7], g[1][6] = "m", "k"
        return g
    g = blank("e")
    speckle(g, rng, [("d", 3)])
    for x in range(8):
        g[0][x] = "d"              # under the lip
        g[6][x] = "d"
        g[7][x] = "k"
        if 1 <= x <= 6 or (W_ not in sides and E_ not in sides):
            g[2][x] = "d"          # the slit: its lit sill below, dark inside
            g[3][x] = "k"
            g[4][x] = "k"
            g[5][x] = "f" if x % 3 else "e"
    for y in range(8):
        if W_ in sides:
            g[y][0] = "f" if y < 6 else "d"
        if E_ in sides:
            g[y][7] = "k"
            g[y][6] = "d"
    return g


def winding_ruts(g, rows):
    """The canyon road's wheel ruts: two grooves worn along it without a
    break, wandering a little as the wheels did, their west wall in shadow
    and the east catching the light, the crown between them packed paler.
    rows: for each pixel row of the block, the columns of the ruts in it
    (they may lie just outside the block: their walls still reach in)."""
    out = [row_[:] for row_ in g]
    for y, cols in enumerate(rows):
        for x in cols:
            for dx, k in ((-1, "t"), (0, "V"), (1, "D")):
                if 0 <= x + dx < 8:
                    out[y][x + dx] = k
            if 0 <= x + 2 < 8 and out[y][x + 2] not in ("V", "D"):
                _lit(out, x + 2, y)
        if len(cols) == 2:
            for x in range(cols[0] + 3, cols[1] - 1):
                if 0 <= x < 8 and (x + y) % 3 == 0 and out[y][x] not in ("V", "D", "t"):
                    _lit(out, x, y)
    return out


# -- River valley and trench lines (areas 5 and 6) --

# The castle over the river valley (area 5): dressed stone in courses four
# pixels high.  Seen from above and in front, its top is the wall-walk's
# flags, then the crenellated parapet, then the face (with arrow slits) and
# the foot that stands in the moat.  A tower is a taller column of it: it
# stands proud of the curtain beside it, and shows a parapet on those sides.
CASTLE_STONE = dict(face="e", joint="d", lit="f", dark="q")


def _ashlar(g, column, row, rows=range(8)):
    """Dressed stone courses over the rows given: joints staggered per course,
    each stone's top left edge catching the light."""
    for y in rows:
        Y = row * 8 + y
        course = Y // 4
        for x in range(8):
            X = column * 8 + x
            if Y % 4 == 3:
                g[y][x] = "d"
            elif (X + 5 * (course % 2)) % 10 == 0:
                g[y][x] = "d"
            elif Y % 4 == 0 and (X + 5 * (course % 2)) % 10 in (1, 2, 3):
                g[y][x] = "f"
            else:
                g[y][x] = "e"
    return g


def castle_tile(column, row, depth, sides, proud):
    """A block of the castle.  depth: castle blocks below it (0 at the foot,
    3 or more on the wall-walk); sides: the sides open to the ground; proud:
    the sides (W or E) where the castle beside it ends higher up, along which
    this taller column shows its own parapet and face edge."""
    g = blank("e")
    if depth >= 3:
        # The wall-walk: worn flags between dark joints.
        for y in range(8):
            for x in range(8):
                X, Y = column * 8 + x, row * 8 + y
                g[y][x] = "d" if Y % 6 == 5 or (X + 5 * ((Y // 6) % 2)) % 10 == 0 else "e"
                if g[y][x] == "e" and (X * 7 + Y * 13) % 11 == 0:
                    g[y][x] = "d"
        if N_ in sides:
            # The parapet round a tower's top, merlons and embrasures.
            for x in range(8):
                merlon = ((column * 8 + x) // 3) % 2 == 0
                g[0][x] = "k"
                g[1][x] = "f" if merlon else "q"
                g[2][x] = "e" if merlon else "q"
                g[3][x] = "d" if merlon else "k"
        for side in proud + tuple(s for s in sides if s in (W_, E_)):
            for y in range(8):
                merlon = ((row * 8 + y) // 3) % 2 == 0
                if side == W_:
                    g[y][0], g[y][1], g[y][2] = "k", ("f" if merlon else "q"), ("e" if merlon else "d")
                else:
                    g[y][7], g[y][6], g[y][5] = "k", ("d" if merlon else "q"), ("e" if merlon else "d")
        return g
    _ashlar(g, column, row)
    if depth == 2:
        # The crenellated parapet above the face: merlons lit on top, the
        # embrasures dark with the wall-walk's shadow, a string course below.
        for x in range(8):
            merlon = ((column * 8 + x) // 3) % 2 == 0
            g[0][x] = "f" if merlon else "q"
            g[1][x] = "e" if merlon else "q"
            g[2][x] = "e" if merlon else "d"
            g[3][x] = "k"
            g[4][x] = "f"
    elif depth == 1 and column % 3 == 1:
        # An arrow slit, splayed, with its dark shadow.
        for y in range(1, 7):
            g[y][3], g[y][4] = "k", "k"
            g[y][2], g[y][5] = "d", "q"
        g[0][3] = g[0][4] = "d"
    if depth == 0:
        # The foot, stained dark and green by the water, its shadow below.
        for x in range(8):
            g[5][x] = "a" if (column * 8 + x) * 5 % 7 == 0 else g[5][x]
            g[6][x] = "g" if (column * 8 + x) % 3 else "q"
            g[7][x] = "k"
    for side in proud + tuple(s for s in sides if s in (W_, E_)):
        for y in range(8):
            if side == W_:
                g[y][0], g[y][1] = "k", ("f" if g[y][1] != "k" else "k")
            else:
                g[y][7], g[y][6] = "k", ("q" if g[y][6] != "k" else "k")
    return g


# The hilltop camp over the trench lines (area 6): a palisade of sharpened
# logs bound by a rail, their points against the camp's ground behind them.
def palisade_tile(ground, column, depth, top):
    """depth: palisade blocks below (0 at its foot); top: nothing of it above,
    so the logs' points show against `ground`."""
    g = [row[:] for row in ground]
    for y in range(8):
        for x in range(8):
            X = column * 8 + x
            log, at = X // 4, X % 4
            tip = cell_hash(log, column, 21) % 3
            if top and y < 3 + tip % 2:
                # The sharpened point: narrower towards the top.
                if y < 1 + tip % 2 or at in (0, 3) and y < 3 + tip % 2 - 1:
                    continue
            g[y][x] = ("q", "h", "b", "r")[at]
            if at == 2 and cell_hash(X, y + depth * 8, 23) % 7 == 0:
                g[y][x] = "q"      # a knot
    if depth == 1 or (depth == 0 and top):
        for x in range(8):       # the binding rail across the logs
            g[4][x] = "k"
            g[5][x] = "d" if x % 4 else "e"
            g[6][x] = "k"
    if depth == 0:
        for x in range(8):
            g[7][x] = "k"
            if g[6][x] not in ("k", "d", "e"):
                g[6][x] = "q"
    return g


# A timber watchtower of the camp, three blocks square: its plank roof,
# the lookout under it, the legs braced crosswise.
WATCHTOWER = sprite([
    "..........kkkk..........",
    "........kkhhbbkk........",
    "......kkhhhhbbbbkk......",
    "....kkhhhnhhbbbbbbkk....",
    "..kkhhhnhhhhbbbrbbbbkk..",
    ".khhhnhhhhhhbbbbbrbbbbk.",
    "kkkkkkkkkkkkkkkkkkkkkkkk",
    ".kbbbbbbbbbbbbbbbbbbbbk.",
    ".khqkkkkkkkkkkkkkkkkqbk.",
    ".khqkkkkkkkkkkkkkkkkqbk.",
    ".khhhhhhhhhhhhhhhhhhhbk.",
    ".kbbbbbbbbbbbbbbbbbbbbk.",
    "..kkhbk..........khbk...",
    "...khbkh........hkhbk...",
    "...khbk.h......h.khbk...",
    "...khbk..h....h..khbk...",
    "...khbk...h..h...khbk...",
    "...khbk....hh....khbk...",
    "...khbk....hh....khbk...",
    "...khbk...h..h...khbk...",
    "...khbk..h....h..khbk...",
    "...khbk.h......h.khbk...",
    "...khbkh........hkhbk...",
    "...kkkk..........kkkk...",
])


def pillbox_tile(column, depth, sides, variant):
    """A concrete pillbox dug into the hill, seen from above and the south:
    its roof slab lit along the north and west edges and dark along the
    east, sods of turf laid on it for cover; its front row shows the roof's
    bevelled lip, the lip's shadow, the grey face with one black firing
    slit across the middle of the front (stopping short of the corners)
    and the dark foot where it meets the ground."""
    g = blank("e")
    rng = Rng("pillbox", variant, column % 2, depth)
    speckle(g, rng, [("d", 4), ("f", 1)])
    if depth == 0:
        for x in range(8):
            g[0][x], g[1][x] = "e", "k"
            for y in range(2, 6):
                g[y][x] = "e" if (x + y + variant) % 5 else "d"
            g[6][x], g[7][x] = "d", "k"
        # The slit is a short embrasure in the front's middle blocks only,
        # under a lit lintel, deep enough to show the dark inside: run
        # across the whole front it read as the seam of a chest's lid.
        if not (W_ in sides or E_ in sides):
            for x in range(1, 7):
                g[2][x] = "f"
                g[3][x] = "k"
                g[4][x] = "k"
                g[5][x] = "q"
            g[3][1] = g[3][6] = "d"
            g[5][1] = g[5][6] = "d"
            g[4][3], g[4][4] = "d", "q"                 # a gun's muzzle in the dark
        if W_ in sides:
            for y in range(0, 7):
                g[y][0] = "k"
            for y in range(2, 6):
                g[y][1] = "f"
        if E_ in sides:
            for y in range(0, 8):
                g[y][7] = "k"
            for y in range(2, 7):
                g[y][6] = "d"
        return g
    # Bare weathered concrete on the roof, no turf: a raised rim runs round
    # it, lit on its north and west tops, casting a dark line onto the slab
    # inside; the east rim's inner face catches the light.  A steel hatch
    # sits in the middle of the roof, so it reads as a casemate, not a box.
    if N_ in sides:
        for x in range(8):
            g[0][x], g[1][x], g[2][x] = "k", "f", "d"
    if W_ in sides:
        for y in range(8):
            g[y][0], g[y][1], g[y][2] = "k", "f", "d"
    if E_ in sides:
        for y in range(8):
            g[y][7], g[y][6], g[y][5] = "k", "d", "f"
    if W_ in sides and N_ in sides:
        g[1][1] = "f"
    if depth == 1:
        # The slab's south edge bevels down to the front's lip.
        for x in range(8):
            g[6][x], g[7][x] = "e" if g[6][x] == "f" else g[6][x], "d"
    if not (W_ in sides or E_ in sides) and column % 3 == 1:
        for y in range(3, 7):
            for x in range(2, 6):
                g[y][x] = "d"
        for x in range(2, 6):
            g[3][x] = "f"
        g[4][2] = "f"
        g[5][4], g[5][3] = "q", "e"
        for x in range(2, 6):
            g[7][x] = "q"
    return g


STANDING["watchtower"] = lambda v: WATCHTOWER


# The valley mill's water wheel (area 5), three blocks square, turning in
# the river against the mill's east wall: a rim of dark oak on eight spokes
# round its hub, a paddle at every spoke's end, its lower third in the
# race where the paddles churn the water to foam.  The block's water shows
# through wherever the wheel is not.
def _mill_wheel():
    import math
    g = blank(T, 24, 24)
    cx, cy, r = 11.5, 11.0, 7.5
    water_line = 18

    def put(x, y, k):
        if 0 <= x < 24 and 0 <= y < 24:
            g[y][x] = k
    # Eight spokes from the hub to the rim.
    for i in range(8):
        a = i * math.pi / 4
        for s in range(2, 16):
            t = s / 2.0
            put(int(round(cx + math.cos(a) * t)), int(round(cy + math.sin(a) * t)),
                "h" if math.cos(a) + math.sin(a) < 0.5 else "b")
    # The rim, two pixels thick, lit on its upper left.
    for y in range(24):
        for x in range(24):
            d = math.hypot(x - cx, y - cy)
            if r - 1.5 <= d <= r + 0.6:
                light = -(x - cx) - (y - cy)
                g[y][x] = "n" if light > 4 else "h" if light > -4 else "b"
            elif d < 2.0:
                g[y][x] = "e" if (x - cx) + (y - cy) < 0 else "d"
    # A paddle standing out of the rim at every spoke's end.
    for i in range(8):
        a = i * math.pi / 4 + math.pi / 8
        ux, uy = math.cos(a), math.sin(a)
        for t in (1.0, 2.0, 3.0):
            for w in (-1.0, 0.0, 1.0):
                put(int(round(cx + ux * (r + t) - uy * w)), int(round(cy + uy * (r + t) + ux * w)),
                    "n" if t == 1.0 and w < 0 else "b")
    _outline(g)
    # The race: below the water line the wheel turns in dark water, foam
    # where the paddles come up and go down.
    for y in range(water_line, 24):
        for x in range(24):
            if g[y][x] != T:
                g[y][x] = "u"
    for x in range(24):
        if (x * 7) % 5 and 1 <= x <= 22:
            g[water_line][x] = "c"
    for x in (1, 2, 4, 19, 21, 22):
        g[water_line + 1][x] = "c"
    for x in (3, 8, 15, 20):
        g[water_line + 3][x] = "c"
    return g


MILL_WHEEL = _mill_wheel()


def mill_wheel_tile(water, part):
    """One block of the mill wheel over the race's water."""
    g = [row[:] for row in water]
    pic = crop(MILL_WHEEL, part[0] * 8, part[1] * 8)
    for y in range(8):
        for x in range(8):
            # Its shadow falls on the water to the right and below.
            sx, sy = part[0] * 8 + x - 2, part[1] * 8 + y - 2
            if 0 <= sx < 24 and 0 <= sy < 24 and MILL_WHEEL[sy][sx] != T:
                g[y][x] = {"U": "u", "c": "u", "A": "H", "B": "A", "C": "B"}.get(g[y][x], g[y][x])
    overlay(g, pic)
    return g


# The castle's gatehouse over the way in (area 5), drawn in front of the
# soldiers who march out of it: its wall-walk between the gate towers, the
# parapet, and in its face a round arch as wide as the way, the raised
# portcullis's teeth showing under the arch's ring of voussoirs, the gate
# passage black behind it.
def castle_gate_tile(column, row, depth, at, width):
    """depth: gatehouse blocks below (0 on its front row); at: the block's
    place in the gatehouse's run of `width` blocks."""
    sides = ((W_,) if at == 0 else ()) + ((E_,) if at == width - 1 else ())
    if depth >= 2:
        return castle_tile(column, row, 3, (N_,) + sides, ())
    g = castle_tile(column, row, 2 if depth == 1 else 1, sides, ())
    half = (width * 8 - 12) / 2.0
    mid = width * 8 / 2.0
    for y in range(8):
        Y = (1 - depth) * 8 + y          # 0..15 over the arch's two rows
        for x in range(8):
            X = at * 8 + x
            u = (X + 0.5 - mid) / half
            if abs(u) >= 1:
                continue
            top = 15 - 13 * (1 - u * u) ** 0.5
            if Y >= top:
                g[y][x] = "k"
                if Y < top + 2 or (Y < top + 4 and X % 4 == 1):
                    g[y][x] = "d"      # the portcullis, raised
            elif Y >= top - 3:
                # The ring of voussoirs round the arch.
                g[y][x] = "d" if X % 5 == 0 else ("f" if Y < top - 2 else "e")
    return g


# A shelled house (areas 5 and 6): the stumps of its stone walls round a
# floor heaped with fallen masonry, roof tiles and charred beams.  Seen from
# above, the walls' broken tops ring the heap; along its south side the
# wall's face still stands, jagged where the shells bit into it, a window
# gaping here and there, and casts its shadow at its foot.
RUBBLE_TONES = "qddddeeebbrbrdqqmedd"


def ruin_tile(bx, by, depth, sides, hall=None):
    """bx, by: the block's place on the map (the heap and the breaks run on
    across blocks); depth: ruin blocks below it (0 on the front row);
    sides: the sides open to the ground; hall: for a house five blocks wide
    or more (the church), the block's place in it (column, row), where its
    flagged floor shows between the heaps and the stumps of its pillars
    stand in rows."""
    g = blank("q")
    for y in range(8):
        for x in range(8):
            ax, ay = bx * 8 + x, by * 8 + y
            k = RUBBLE_TONES[cell_hash(ax // 2, ay // 2, 71) % len(RUBBLE_TONES)]
            if hall and cell_hash(ax // 4, ay // 4, 72) % 3:
                # The nave's floor of flags, its joints dark.
                k = "d" if ax % 4 == 0 or ay % 4 == 0 else ("e" if cell_hash(ax // 4, ay // 4, 70) % 4 else "m")
            elif k in "emR" and (ax % 2, ay % 2) == (1, 1):
                k = "d"    # each lump lit on its upper left, dark below
            g[y][x] = k
    if not hall and cell_hash(bx, by, 73) % 3 == 0:
        # A charred beam fallen across the heap.
        x0, up = cell_hash(bx, by, 74) % 4, cell_hash(bx, by, 75) % 2
        for i in range(7):
            x, y = x0 + i // 2 if up else 7 - x0 // 2 - i // 2, 1 + i
            if 0 <= x < 8 and 0 <= y < 8:
                g[y][x] = "k"
                if y > 0:
                    g[y - 1][x] = "b"
    if hall and hall[0] % 2 == 1 and hall[1] % 2 == 1 and depth:
        # The stump of a pillar, lit on its upper left, its shadow down-right.
        for y in range(2, 7):
            for x in range(2, 7):
                g[y][x] = "q" if x == 6 or y == 6 else ("f" if x == 2 or y == 2 else "e")
        g[2][2] = g[2][5] = g[5][2] = "k"

    def broken(a, salt):
        return cell_hash(a // 3, by * 31 + bx, salt) % 5 == 0

    def stone(a, b):
        # The wall's top: rough stones between dark joints.
        return "d" if a % 4 == 0 or (b + a // 4) % 3 == 0 and a % 4 == 2 else ("f" if a % 4 == 1 else "e")
    # The broken tops of the walls on the open sides, three pixels thick.
    if N_ in sides:
        for x in range(8):
            ax = bx * 8 + x
            if broken(ax, 77):
                g[0][x], g[1][x] = "k", "d"
            else:
                g[0][x], g[1][x], g[2][x], g[3][x] = "k", stone(ax, 0), stone(ax, 1), "q"
    if W_ in sides:
        for y in range(8):
            ay = by * 8 + y
            g[y][0] = "k"
            if not broken(ay, 78):
                g[y][1], g[y][2], g[y][3] = stone(ay, 0), stone(ay, 1), "q"
    if E_ in sides:
        for y in range(8):
            ay = by * 8 + y
            g[y][7] = "k"
            if not broken(ay, 79):
                g[y][6], g[y][5] = ("d" if ay % 4 == 0 else "e"), stone(ay, 2)
    if depth == 0:
        # The face of the south wall, its top torn to a jagged line.
        window = cell_hash(bx, by, 81) % 3 == 0
        for x in range(8):
            ax = bx * 8 + x
            top = 1 + cell_hash(ax // 2, by, 80) % 3
            if W_ in sides and x == 0 or E_ in sides and x == 7:
                top = min(top, 1)
            g[top - 1][x] = "k"
            for y in range(top, 7):
                course = (by * 8 + y) // 3
                joint = (by * 8 + y) % 3 == 2 or (ax + 4 * (course % 2)) % 6 == 0
                g[y][x] = "d" if joint else ("m" if cell_hash(ax // 3, course, 82) % 4 == 0 else "e")
            g[top][x] = "f" if g[top][x] == "e" else "e"
            g[7][x] = "k"
        if window:
            for y in range(4, 7):
                g[y][3] = g[y][4] = "k"
            g[3][3], g[3][4] = "d", "d"
        if W_ in sides:
            for y in range(8):
                g[y][0] = "k"
        if E_ in sides:
            for y in range(8):
                g[y][7] = "k"
                if g[y][6] == "e":
                    g[y][6] = "d"
    return g


# -- Town and base (areas 7 and 8) --
#
# The town's own looks (shut doors in the house fronts, flat roofs with their
# parapets, cobbled lanes and squares, planters on the pavements, the
# avenue's worn asphalt) and the base's drainage channel behind its railings.

def town_door_tile(left, right):
    """A shut double door at the foot of a house front: a stone frame and
    lintel, planked leaves, a latch where the leaves meet, and the dark line
    at the foot of the wall.  It is shut: the street is where the soldiers
    step out, nobody walks in."""
    g = blank("b")
    for y in range(8):
        for x in range(8):
            if x % 3 == 1:
                g[y][x] = "q"          # the seams of the planks
            elif x % 3 == 0:
                g[y][x] = "h"          # their lit edge
    for x in range(8):
        g[0][x], g[1][x] = "f", "e"    # the lintel
        g[2][x] = "d"
        g[7][x] = "k"
    if left:
        for y in range(1, 7):
            g[y][0], g[y][1] = "f", "e"
    else:                              # where the two leaves meet: the latch
        for y in range(3, 7):
            g[y][0] = "k"
        g[4][1] = "y"
    if right:
        for y in range(1, 7):
            g[y][7], g[y][6] = "d", "k"
    else:
        for y in range(3, 7):
            g[y][7] = "k"
        g[4][6] = "y"
    return g


def flat_roof_tile(variant, bx, by, bw, bh):
    """A flat roof seen from above, as one picture over its whole run of
    blocks: a parapet round it, lit on its top and left, dark on its right
    and at its foot; the parapet's shadow on the roofing felt inside; vents,
    a skylight and an air unit set out along it so no two roofs read alike."""
    g = blank("e")
    rng = Rng("flatroof", variant, bx, by)
    speckle(g, rng, [("d", 5), ("h", 1)])
    feats = {}
    # Fittings sit on a 16-px grid inside the parapet, chosen by place.
    for cy in range(4, bh - 8, 16):
        for cx in range(4, bw - 10, 20):
            kind = cell_hash(cx // 16 + bw, cy // 16 + bh, variant) % 4
            feats[(cx, cy)] = kind
    for y in range(8):
        Y = by + y
        for x in range(8):
            X = bx + x
            k = None
            for (fx, fy), kind in feats.items():
                if kind == 0 and fx <= X < fx + 4 and fy <= Y < fy + 3:      # a vent
                    k = "e" if Y == fy else ("k" if X == fx + 3 or Y == fy + 2 else "d")
                elif kind == 1 and fx <= X < fx + 8 and fy <= Y < fy + 5:    # a skylight
                    edge = X in (fx, fx + 7) or Y in (fy, fy + 4)
                    k = "d" if edge else ("c" if (X - fx) == (Y - fy) + 1 else "u")
                elif kind == 2 and fx <= X < fx + 6 and fy <= Y < fy + 5:    # an air unit
                    if Y == fy + 4 or X == fx + 5:
                        k = "k"
                    elif Y == fy:
                        k = "f"
                    else:
                        k = "d" if (X + Y) % 2 else "e"
                elif kind == 2 and fx + 6 <= X < fx + 8 and fy + 1 <= Y < fy + 5:
                    k = "q"   # its shadow
            if k is not None:
                g[y][x] = k
            # The parapet's shadow inside its top and left.
            if Y in (2, 3) and 2 <= X < bw - 2 or X in (2, 3) and 2 <= Y < bh - 2:
                if g[y][x] in ("e", "h"):
                    g[y][x] = "d"
            if Y == 0 or X == 0:
                g[y][x] = "k" if (Y == 0 and X == 0) else "f"
            elif Y == 1 or X == 1:
                g[y][x] = "e" if (Y == 1 and X >= 1) or (X == 1 and Y >= 1) else g[y][x]
            if X == bw - 1 or Y == bh - 1:
                g[y][x] = "k"
            elif X == bw - 2 or Y == bh - 2:
                g[y][x] = "d"
    return g


def cobble_tile(variant, corners=FLAT):
    """Granite setts laid in courses across a lane or a square: each sett
    lit at its top left, the joints dark; some setts a shade warmer or
    darker, so a square of them is never even."""
    g = blank("e")
    rng = Rng("cobbles", variant)
    sun = sum(corners) - 2 * len(corners)
    for y in range(8):
        course = y // 3 + variant * 3
        shift = 2 * (course % 2)
        for x in range(8):
            sx = (x + shift) % 4
            sy = y % 3
            sett = cell_hash((x + shift) // 4, course, variant)
            if sx == 3 or sy == 2:
                g[y][x] = "d"
            elif sx == 0 and sy == 0 and sett % 3 == 0 and sun >= 0:
                g[y][x] = "f"
            elif sett % 7 == 0:
                g[y][x] = "h"
            elif sett % 5 == 0 or sun < 0 and sett % 2:
                g[y][x] = "d" if sx and sy else g[y][x]
    if rng.below(4) == 0:      # a sett sunk and dark
        x, y = rng.below(6), rng.below(6)
        g[y][x] = "q"
    return g


def planter_tile(sides, variant):
    """A concrete planter on a pavement, one shrub bed across its blocks:
    its rim lit on top and left, dark on its right and at its foot, the
    leaves in the sun at their top left."""
    g = blank("b")
    rng = Rng("planter", variant)
    speckle(g, rng, [("q", 4)])
    for (bx, by) in ((1, 1), (4, 2), (2, 4), (5, 5)):
        for y in range(4):
            for x in range(4):
                if (x - 1.5) ** 2 + (y - 1.5) ** 2 < 3.2:
                    X, Y = (bx + x + variant) % 8, (by + y) % 8
                    g[Y][X] = "l" if x + y < 2 else ("G" if x + y < 4 else "g")
    for i in range(8):
        if N_ in sides:
            g[0][i], g[1][i] = "f", "e"
        if W_ in sides:
            g[i][0], g[i][1] = "f", "e"
        if E_ in sides:
            g[i][7], g[i][6] = "k", "d"
        if S_ in sides:
            g[7][i], g[6][i] = "k", "d"
    return g


def avenue_wear(g, wear):
    """Wear on an avenue's asphalt, so its grain never shows a repeat:
    a crack, an oil stain, or nothing (wear 0 or 3)."""
    rng = Rng("wear", wear)
    if wear == 1:                      # a crack wandering across the block
        x, y = rng.below(3), rng.below(8)
        for i in range(7):
            if 0 <= y < 8 and 0 <= x < 8 and g[y][x] in ("d", "e", "k"):
                g[y][x] = "q"
            x += 1
            y += (-1, 0, 1)[rng.below(3)]
    elif wear == 2:                    # an oil stain: a soft smear along the lane, no black dot
        cx, cy = 2 + rng.below(4), 2 + rng.below(4)
        for y in range(8):
            for x in range(8):
                r = (x - cx) ** 2 / 2.5 + (y - cy) ** 2 / 6.0
                if r <= 1 and g[y][x] in ("d", "e", "k"):
                    g[y][x] = "q" if (r <= 0.45 or (x + y) % 2) else g[y][x]
    return g


def channel_tile(ox, oy, sides):
    """The base's drainage channel: dark water running down between
    concrete walls too high to step down, with a steel railing along each
    top.  The current shows as short streaks of light along the flow and
    darker water under the walls; the west wall's face lies in the light,
    the east wall's shadow falls on the water.  Where a road or track
    crosses it the water runs on into a culvert: a concrete lip and the
    dark mouth under it."""
    g = blank("A")
    for y in range(8):
        for x in range(8):
            X, Y = ox + x, oy + y
            # Streaks of the current run down the flow in two threads, broken
            # at their own pace, never lining up across the water: dull, the
            # ditch is deep and murky, with a brighter head here and there.
            phase = (Y + 9 * x + 5 * (X // 8)) % 14
            if x in (3, 5) and phase < 4:
                g[y][x] = "C" if phase == 0 and (X // 8) % 2 else "B"
            elif x in (1, 7) and (Y + 5 * x + 3 * (X // 8)) % 17 < 2:
                g[y][x] = "B"
    for y in range(8):
        if W_ in sides:
            g[y][0], g[y][1], g[y][2] = "k", ("e" if y % 4 else "f"), "f"
            g[y][3] = "e"
            g[y][4] = "H" if y % 3 else "A"        # the foot of the lit wall in the water
        if E_ in sides:
            g[y][7], g[y][6], g[y][5] = "k", ("d" if y % 4 else "f"), "e"
            g[y][4] = "H"                          # the east wall's shadow
            if g[y][3] in ("B", "C", "x"):
                g[y][3] = "H" if y % 2 else "A"
    for x in range(8):
        wall = (W_ in sides and x < 4) or (E_ in sides and x > 4)
        if N_ in sides:
            # The culvert's concrete headwall right across, lit on top, and
            # under it the round-topped dark mouth the water comes out of.
            g[0][x], g[1][x], g[2][x] = "f", "e", "d"
            if not wall:
                edge = (W_ in sides and x == 4) or (E_ in sides and x == 4)
                g[3][x] = "d" if edge else "k"
                g[4][x], g[5][x] = ("q", "H") if edge else ("k", "q")
                g[6][x] = "H"
        if S_ in sides:
            # Where it runs on under the next road: the headwall's face in
            # the light, the mouth a dark slot over the water.
            g[7][x], g[6][x] = "d", "e"
            if not wall:
                g[5][x], g[4][x] = "k", "H"
    return g


# The old town's tram street: two tracks of grooved rails set in granite
# setts, the kerbs of its pavements along both sides.
def tramway_tile(variant, bx, by, bw, bh):
    g = cobble_tile(variant)
    for y in range(8):
        Y = by + y
        if bh >= 16:
            # Two tracks, each two rails a gauge of 5 pixels apart, in the
            # middle of the street's depth.
            mid = bh // 2
            rails = (mid - 8, mid - 3, mid + 2, mid + 7)
            for r in rails:
                if Y == r:
                    for x in range(8):
                        g[y][x] = "f" if (bx + x) % 11 else "e"   # the worn steel, its joints
                elif Y == r + 1:
                    for x in range(8):
                        g[y][x] = "q"                             # the groove beside it
            # Setts run along the rails between them.
            if rails[0] + 2 <= Y < rails[1] or rails[2] + 2 <= Y < rails[3]:
                for x in range(8):
                    if (bx + x) % 4 == 3 and g[y][x] not in ("f", "q"):
                        g[y][x] = "d"
        if Y == 0:
            for x in range(8):
                g[y][x] = "f"            # the kerb, lit
        elif Y == 1:
            for x in range(8):
                g[y][x] = "d"
        elif Y == bh - 1:
            for x in range(8):
                g[y][x] = "e"
        elif Y == bh - 2:
            for x in range(8):
                g[y][x] = "d" if (bx + x) % 6 else g[y][x]
    return g


# A market stall's awning: canvas in stripes down its slope, its front
# valance a shade darker, the rail along its top in the sun.
AWNINGS = (("R", "p", "r"), ("G", "p", "g"), ("U", "p", "u"), ("o", "p", "b"))


def awning_tile(colour, bx, by, bw, bh):
    main, pale, dark = AWNINGS[colour]
    g = blank(main)
    for y in range(8):
        Y = by + y
        for x in range(8):
            X = bx + x
            k = main if (X // 4) % 2 == 0 else pale
            if Y < 2:
                k = "e" if Y == 0 else "d"         # the rail
            elif Y >= bh - 3:
                k = dark if (X // 4) % 2 == 0 else "m"   # the valance, in its own shade
                if Y == bh - 1:
                    k = "q"
            elif Y == 2 or X == 0:
                k = "f" if k == pale else main   # lit along its top and left
            elif X == bw - 1:
                k = dark
            g[y][x] = k
    return g


def _paint(g, x0, y0, x1, y1, k):
    for y in range(max(0, y0), min(len(g), y1)):
        for x in range(max(0, x0), min(len(g[0]), x1)):
            g[y][x] = k if not callable(k) else k(x, y, g[y][x])


def _camo_roof(g, x0, y0, x1, y1, salt):
    """A flat concrete roof painted in camouflage: olive with khaki, brown
    and green blots, each with a dark edge where the paint is thick, the
    pours' seams across it, and the rim of its parapet: lit on the top and
    left, in shadow on the right."""
    for y in range(y0, y1):
        for x in range(x0, x1):
            n1 = 0.6 * smooth_noise(x, y, salt, 9) + 0.4 * smooth_noise(x, y, salt + 1, 4)
            n2 = 0.6 * smooth_noise(x, y, salt + 5, 11) + 0.4 * smooth_noise(x, y, salt + 6, 5)
            k = "a"
            if n1 > 0.62:
                k = "h" if n1 < 0.7 else "m"
            elif n2 > 0.64:
                k = "b"
            elif n2 < 0.3:
                k = "g"
            g[y][x] = k
    # Blots edged: where a blot ends below or right, a darker line.
    for y in range(y1 - 1, y0, -1):
        for x in range(x1 - 1, x0, -1):
            if g[y][x] == "a" and g[y - 1][x] in ("h", "m", "b") and (x + y) % 3:
                g[y][x] = "g" if g[y - 1][x] != "b" else "q"
    for y in range(y0, y1):
        for x in range(x0, x1):
            if (y - y0) % 16 == 15 or (x - x0) % 24 == 23:
                g[y][x] = DARKER.get(g[y][x], g[y][x])   # the seams of the pours
    _slab_rim(g, x0, x1, y0, y1, ("n", "m"), "b")


def _slab_rim(g, x0, x1, y0, y1, lit, shade):
    """The rim of a raised slab lit from the top left: two lit rows and
    columns along its top and left, its shadow edge along the bottom and a
    shaded column inside the shadowed right."""
    for x in range(x0, x1):
        g[y0][x], g[y0 + 1][x] = lit
        g[y1 - 1][x] = "q"
    for y in range(y0, y1):
        g[y][x0], g[y][x0 + 1] = lit
        g[y][x1 - 1], g[y][x1 - 2] = "q", shade


def _front_merlons(g, x0, x1, y0, h=6):
    """The crenellated parapet along a roof's south edge, seen from the
    front: merlons lit on top, the crenels dark between them."""
    for y in range(y0, y0 + h):
        for x in range(x0, x1):
            merlon = (x - x0) % 7 < 4
            if not merlon and y < y0 + h - 2:
                g[y][x] = "q"
            elif y == y0 or (not merlon and y == y0 + h - 2):
                g[y][x] = "n"
            elif (x - x0) % 7 == 3 and merlon:
                g[y][x] = "h"
            else:
                g[y][x] = "m"
    for x in range(x0, x1):
        g[y0 + h - 1][x] = "h"


def _face(g, x0, x1, y0, y1, salt, slits=(), lit_left=True):
    """The front face of a wall or tower: sandy concrete in pours with their
    seams and stains, gun slits at the rows given, dark at its foot."""
    rng = Rng("keepface", salt)
    for y in range(y0, y1):
        for x in range(x0, x1):
            k = "m"
            if (y - y0) % 9 == 8:
                k = "h"                       # a pour's seam
            elif smooth_noise(x, y, salt, 5) > 0.72:
                k = "h"                       # weathering
            g[y][x] = k
    for _ in range((x1 - x0) * (y1 - y0) // 40):
        x, y = x0 + rng.below(x1 - x0), y0 + rng.below(y1 - y0)
        g[y][x] = "n" if rng.below(2) else "b"
    for sy in slits:
        for x in range(x0 + 5, x1 - 6, 12):
            for y in range(sy, sy + 3):
                for dx in range(5):
                    g[y][x + dx] = "k"
            for dx in range(5):
                g[sy + 3][x + dx] = "b"       # the stain under the slit
                g[sy - 1][x + dx] = "h"       # its lintel's shadow
    for y in range(y0, y1):
        if lit_left:
            g[y][x0] = "n"
        g[y][x1 - 1] = "b"
    for x in range(x0, x1):
        g[y1 - 2][x] = "b"
        g[y1 - 1][x] = "q"


def _turret(g, cx, cy, r, salt):
    """A gun turret on a roof seen from above: an armoured gun house, its
    top lit from the upper left and its sloped front in shade, a hatch on
    top, the twin guns reaching out towards the south, its shadow cast down
    and to the right."""
    h, w = len(g), len(g[0])
    x0, x1, y0, y1 = cx - r, cx + r, cy - r + 2, cy + r - 1
    front = y1 - max(2, r // 2)

    def inside(x, y, grow=0):
        cut = 2 + grow
        dx = min(x - (x0 - grow), (x1 + grow) - x)
        dy = min(y - (y0 - grow), (y1 + grow) - y)
        return dx >= 0 and dy >= 0 and dx + dy >= cut - 1
    for y in range(y0, y1 + 9):                      # its shadow and the guns'
        for x in range(x0, x1 + 4):
            sx, sy = x - 3, y - 3
            if 0 <= y < h and 0 <= x < w and (inside(sx, sy) or (abs(sx - cx) <= 2 and y1 < sy <= y1 + 7)):
                g[y][x] = SHADOW.get(g[y][x], g[y][x])
    for b in (-2, 1):                                # the twin guns
        for y in range(y1, y1 + 8):
            if 0 <= y < h:
                g[y][cx + b] = "d" if y < y1 + 7 else "k"
                g[y][cx + b + 1] = "k"
    for y in range(y0 - 1, y1 + 2):
        for x in range(x0 - 1, x1 + 2):
            if not (0 <= y < h and 0 <= x < w):
                continue
            if inside(x, y):
                edge = not (inside(x - 1, y) and inside(x + 1, y) and inside(x, y - 1) and inside(x, y + 1))
                if edge:
                    k = "k"
                elif y >= front:
                    k = "d" if y > front else "e"        # the sloped front, its ridge lit
                elif not inside(x - 1, y - 1) or not inside(x - 2, y) or not inside(x, y - 2):
                    k = "f"                              # the lit edge of its top
                elif x >= x1 - 1:
                    k = "d"
                else:
                    k = "e"
                g[y][x] = k
    hx, hy = cx - r // 3, y0 + r // 2 + 1                 # the hatch
    for y in range(hy - 1, hy + 2):
        for x in range(hx - 1, hx + 2):
            g[y][x] = "d" if (x, y) != (hx - 1, hy - 1) else "e"
    g[hy + 1][hx + 1] = "k"


def _keep_picture(w, h):
    """The enemy citadel across the top of the last area, as one picture:
    two bastion towers at the edges reaching down over their bastions, the
    tall curtain walls between them (their wall-walks where the guards go),
    and in the middle the gatehouse: two towers over the open gateway, its
    portcullis drawn up, banners on the towers' faces.  The roofs are
    camouflaged concrete with turrets and a radio mast; every part stands
    proud of the one behind it and casts its shadow down and right.  A
    picture taller than 80 pixels sets a gun terrace in front of each
    bastion tower, reaching down towards the glacis."""
    g = blank("a", w, h)
    mid = w // 2
    # The concrete of the forecourt at the foot of it all.
    for y in range(h):
        for x in range(w):
            g[y][x] = "e" if (x % 16 and y % 16) else "d"
    # Curtain walls: wall-walk, parapet, a tall face.
    _camo_roof(g, 0, 0, w, 13, 41)
    for y in range(4, 12):                     # the wall-walk's flags along its front
        for x in range(0, w):
            if y >= 6:
                g[y][x] = "e" if (x % 12 and y != 11) else "d"
    _front_merlons(g, 0, w, 12)
    _face(g, 0, w, 18, 54, 43, slits=(24, 38))
    _citadel_talus(g, 0, w, 54, 63)
    for x in range(w):
        g[62][x], g[63][x] = "q", "d"
    # Bastion towers at the edges, reaching down to the foot of the bastions.
    edge, redge = min(72, w // 4), min(64, w // 4)    # the bastions' widths, left and right
    foot = min(h, 80)                                  # where the towers' faces end
    for (x0, x1, salt) in ((0, edge, 51), (w - redge, w, 57)):
        citadel_bastion_roof(g, x0, 0, x1, 46, salt)
        _front_merlons(g, x0, x1, 46)
        _face(g, x0, x1, 52, foot, salt + 1, slits=(60,), lit_left=x0 > 0)
        if h > foot:
            citadel_terrace(g, x0, x1, foot, h, salt, lit_left=x0 > 0)
            if x0 > 0:
                citadel_steps(g, x0, x1, h - 15, h)
        citadel_tower_parapet(g, x0, x1, 46, inner_right=x0 == 0)
        citadel_tower_parapet(g, x0, x1, 46, inner_right=x0 != 0)   # and round its outer side
        citadel_tower_back_parapet(g, x0, x1)
        # The tower's shadow on the curtain beside it.
        if x0 == 0:
            for y in range(16, 62):
                for x in range(x1, x1 + 5):
                    if x < w and (x - x1 < 4 or (x + y) % 2):
                        g[y][x] = SHADOW.get(g[y][x], g[y][x])
    _turret(g, edge // 2, 22, 9, 1)
    _turret(g, w - redge // 2, 22, 9, 2)
    # A radio mast on the right bastion: a lattice, lit on its left.
    mx = w - 18
    for y in range(2, 40):
        g[y][mx] = "f" if y % 4 else "e"
        g[y][mx + 2] = "d"
        if y % 4 == 0:
            g[y][mx + 1] = "e"
    for y in range(40, 44):
        for x in range(mx - 2, mx + 5):
            g[y][x] = "d" if y < 43 else "k"
    # Sandbagged gun pit on the left bastion's roof.
    px, py = 10, 30
    for y in range(py, py + 10):
        for x in range(px, px + 16):
            ring = y in (py, py + 1, py + 8, py + 9) or x in (px, px + 1, px + 14, px + 15)
            if ring:
                g[y][x] = "n" if (x + 2 * y) % 5 else "h"
            else:
                g[y][x] = "q"
    for x in range(px + 5, px + 13):
        g[py + 5][x] = "d"
    g[py + 4][px + 5] = "e"
    # The gatehouse: two towers over the gateway.
    gx0, gx1 = mid - 48, mid + 48
    tw = 26
    for (x0, x1, salt) in ((gx0, gx0 + tw, 61), (gx1 - tw, gx1, 67)):
        _camo_roof(g, x0, 0, x1, 16, salt)
        _front_merlons(g, x0, x1, 16)
        _face(g, x0, x1, 22, 64, salt + 1, slits=(28,))
        for y in range(22, 62):                   # its shadow on the wall beside it
            for x in range(x1, x1 + 4):
                if x < w and (x - x1 < 3 or (x + y) % 2):
                    g[y][x] = SHADOW.get(g[y][x], g[y][x])
        _turret(g, (x0 + x1) // 2, 7, 6, salt)
        # A banner on the tower's face: red cloth, a yellow ring, a dark hem.
        bx = (x0 + x1) // 2 - 5
        for y in range(40, 58):
            for x in range(bx, bx + 10):
                k = "R" if x < bx + 8 else "r"
                if x == bx:
                    k = "o"
                if y == 57 and (x - bx) % 3 == 1:
                    k = "q"
                g[y][x] = k
        for y in range(44, 52):
            for x in range(bx + 1, bx + 9):
                d2 = (x - bx - 4.5) ** 2 + (y - 47.5) ** 2
                if 4 <= d2 <= 11:
                    g[y][x] = "y"
        for x in range(bx - 1, bx + 11):
            g[39][x] = "k"
    # Between the towers, over the gateway: a gallery and its parapet.
    ax0, ax1 = gx0 + tw, gx1 - tw
    _camo_roof(g, ax0, 0, ax1, 8, 71)
    _front_merlons(g, ax0, ax1, 8)
    _face(g, ax0, ax1, 14, 34, 73, slits=(18,))
    # The gateway: voussoirs round an arch, the dark way in, the
    # portcullis drawn up into its slot, the worn sill.
    cx, r = (ax0 + ax1) / 2 - 0.5, (ax1 - ax0) / 2 - 2
    for y in range(28, 64):
        for x in range(ax0, ax1):
            dx = x - cx
            top = 40 - (r * r - dx * dx) ** 0.5 * 0.5 if abs(dx) <= r else 99
            if y >= top:
                g[y][x] = "k" if y < 58 else ("q" if y < 62 else "d")
            elif y >= top - 3:
                g[y][x] = "e" if (int(dx) + 40) % 6 else "d"
                if y == int(top) - 3:
                    g[y][x] = "f"
    for x in range(ax0 + 3, ax1 - 3):
        if (x - ax0) % 5 == 0:
            for y in range(34, 41):
                g[y][x] = "d" if y < 40 else "e"   # the portcullis' teeth
    # The walls' shadow falls across the forecourt at their foot (walked
    # over): deep against the wall, thinning out over the concrete.
    if h > 72:
        for y in range(64, 72):
            for x in range(edge, w - redge):
                if y < 68 or (y < 70 and (x + y) % 2):
                    g[y][x] = SHADOW.get(g[y][x], g[y][x])
    return g


_BUILDINGS = {}


def _building(kind, w, h):
    if (kind, w, h) not in _BUILDINGS:
        _BUILDINGS[(kind, w, h)] = {"keep": _keep_picture, "church": _church_picture}[kind](w, h)
    return _BUILDINGS[(kind, w, h)]


def _keep_tile(bx, by, bw, bh):
    return crop(_building("keep", bw, bh), bx, by)


def _church_tile(bx, by, bw, bh):
    return crop(_building("church", bw, bh), bx, by)


BUILDING_PICTURES = {"keep": _keep_tile, "church": _church_tile}


def _church_picture(w, h):
    """The church in its walled churchyard, seen from above: the nave's
    slate roof with its ridge up the map, the transept across it with a
    lantern over the crossing, the apse rounded at its head, and at its
    foot the bell tower over the portal, its spire in four facets topped
    by a gilt cross.  Cypresses and headstones in the grass of the yard
    round it, inside a low wall lit on its top."""
    g = blank("g", w, h)
    rng = Rng("churchyard", w, h)
    for y in range(h):
        for x in range(w):
            n = smooth_noise(x, y, 83, 7)
            g[y][x] = "g" if n < 0.3 or (n < 0.4 and (x + y) % 2) else "G"
    # Headstones in rows in the yard.
    for y in range(8, h - 12, 9):
        for x in (5, 11, w - 16, w - 10):
            if rng.below(3):
                g[y][x], g[y][x + 1] = "f", "e"
                g[y + 1][x], g[y + 1][x + 1] = "e", "d"
                g[y + 2][x + 1], g[y + 2][x + 2] = "j", "j"
    cx = w // 2                     # the nave's ridge
    nw = min(36, w // 2 - 4)        # the nave's width
    tw = min(26, nw - 6)            # the tower's width
    tr_y0, tr_y1 = 12, 24           # the transept's roof
    tower_y = h - 28                # where the tower's spire begins

    def slate(x, y, ridge_x=None, ridge_y=None):
        """A slate roof: courses of slates, lit on the side towards the
        upper left of its ridge."""
        if ridge_x is not None:        # courses run along the ridge, staggered
            lit = x < ridge_x
            course = x % 4 == (0 if lit else 3) or (y % 4 == 0 and (x // 4 + y // 4) % 2)
        else:
            lit = y < ridge_y
            course = y % 4 == (0 if lit else 3) or (x % 4 == 0 and (x // 4 + y // 4) % 2)
        if course:
            return "d" if lit else "q"
        return "e" if lit else "d"
    # The apse: a half round at the nave's head.
    for y in range(0, 12):
        for x in range(cx - nw // 2, cx + nw // 2):
            dx, dy = x - cx + 0.5, 12 - y
            if dx * dx + dy * dy * 1.6 <= (nw // 2) ** 2:
                g[y][x] = "e" if dx < 0 else "d"
                if abs(dx) < 1:
                    g[y][x] = "f"
    # The nave.
    for y in range(6, tower_y + 2):
        for x in range(cx - nw // 2, cx + nw // 2):
            g[y][x] = slate(x, y, ridge_x=cx)
            if x in (cx - 1, cx):
                g[y][x] = "f" if x < cx else "e"     # the ridge
    # The transept.
    for y in range(tr_y0, tr_y1):
        for x in range(4, w - 4):
            if cx - nw // 2 <= x < cx + nw // 2:
                continue
            g[y][x] = slate(x, y, ridge_y=(tr_y0 + tr_y1) // 2)
            if y == (tr_y0 + tr_y1) // 2:
                g[y][x] = "f"
    # The transept's south walls under the eaves, with a rose window each.
    for y in range(tr_y1, tr_y1 + 6):
        for x in range(4, w - 4):
            if cx - nw // 2 <= x < cx + nw // 2:
                continue
            g[y][x] = "n" if y < tr_y1 + 5 else "b"
            if y == tr_y1:
                g[y][x] = "q"                         # the eaves' shadow
    for ox in (4 + (cx - nw // 2 - 4) // 2, cx + nw // 2 + (w - 4 - cx - nw // 2) // 2):
        for y in range(tr_y1 + 1, tr_y1 + 5):
            for x in range(ox - 2, ox + 2):
                g[y][x] = "u" if (x + y) % 2 else "U"
        g[tr_y1 + 2][ox - 1] = "R"
    # The lantern over the crossing.
    ly = (tr_y0 + tr_y1) // 2
    for y in range(ly - 5, ly + 6):
        for x in range(cx - 6, cx + 6):
            d = abs(x - cx + 0.5) + abs(y - ly)
            if d <= 7:
                g[y][x] = "G" if (x < cx and y <= ly) else ("g" if d > 5 or x >= cx else "a")
                if d > 6:
                    g[y][x] = "j"
    g[ly][cx - 1] = g[ly - 1][cx - 1] = "l"
    # The nave's shadow on the grass to its right, the transept's below it.
    for y in range(8, h - 4):
        for x in range(cx + nw // 2, cx + nw // 2 + 3):
            if g[y][x] in ("g", "G", "a"):
                g[y][x] = "j"
    # The bell tower at the foot: its spire, four facets to a point.
    t0, t1 = cx - tw // 2, cx + tw // 2
    sy0, sy1 = tower_y, h - 8
    pcx, pcy = cx - 0.5, (sy0 + sy1) / 2
    for y in range(sy0, sy1):
        for x in range(t0, t1):
            dx, dy = x - pcx, (y - pcy) * tw / max(1, sy1 - sy0)
            if abs(dy) >= abs(dx):
                k = "l" if dy < 0 else "g"             # the north facet in the sun, the south in shade
            else:
                k = "G" if dx < 0 else "j"
            if abs(abs(dx) - abs(dy)) < 0.7:
                k = "a"                                # the hips
            g[y][x] = k
    for x in range(t0, t1):
        g[sy0][x] = "n"
    for y in range(sy0, sy1):
        g[y][t0], g[y][t1 - 1] = "n", "b"
    # The gilt cross on the spire's point.
    py = int(pcy)
    for d in range(-3, 4):
        g[py + d][cx - 1] = "y"
        if abs(d) <= 2:
            g[py - 1][cx - 1 + d] = "y"
    g[py + 4][cx] = "b"
    # The tower's face and the portal: an arch with a shut door.
    for y in range(sy1, h):
        for x in range(t0, t1):
            g[y][x] = "n" if (y + (x // 4)) % 4 else "m"
            if x == t1 - 1:
                g[y][x] = "b"
    for y in range(sy1 + 1, h):
        for x in range(cx - 5, cx + 5):
            if y > sy1 + 2 or abs(x - cx + 0.5) < 4:
                g[y][x] = "b" if (x - cx) % 3 else "q"
        g[y][cx - 6], g[y][cx + 5] = "f", "d"
    # Cypresses at the yard's corners.
    for (tx, ty) in ((6, h - 14), (w - 9, h - 14), (8, 2), (w - 11, 2)):
        for y in range(ty, ty + 10):
            for x in range(tx - 3, tx + 4):
                ex = (x - tx) / 3.0
                ey = (y - ty - 5) / 5.0
                if ex * ex + ey * ey <= 1 and 0 <= y < h and 0 <= x < w:
                    g[y][x] = "G" if x < tx and y < ty + 5 else ("g" if x <= tx else "j")
        for y in range(ty + 10, min(h, ty + 12)):
            g[y][tx + 1] = "q"
    # The churchyard's low wall: lit on its top and left, dark on its right
    # and foot (a gap in it only at the portal, where the tower meets it).
    for x in range(w):
        for y in (0, 1):
            g[y][x] = "f" if y == 0 else "e"
        if not (t0 <= x < t1):
            g[h - 3][x], g[h - 2][x], g[h - 1][x] = "f", "e", "d"
    for y in range(h):
        g[y][0], g[y][1] = "f", "e"
        g[y][w - 2], g[y][w - 1] = "d", "q"
    return g


# The base's ground: trodden earth, darker where it is churned and pale
# where the sun bakes it (never in dark brown blots); dry tufts, boot-churned clods and a few grey
# stones on it, so the wide yards between the base's ways are never flat.
GROUND_BASE["basedirt"] = ("h", "h", "h", "h", "m")
CONTRAST["basedirt"] = 1.15   # worn patches, not dark blots
FRINGE_OVER["basedirt"] = {"sand"}


_BASE_DARK = {"m": "h", "h": "b", "b": "b", "a": "b"}
_BASE_LIGHT = {"b": "h", "h": "m", "m": "m", "a": "h"}


def base_dirt_details(g, variant, rng, sun):
    def dim(x, y):
        if 0 <= x < 8 and 0 <= y < 8:
            g[y][x] = _BASE_DARK.get(g[y][x], g[y][x])

    def lit(x, y):
        if 0 <= x < 8 and 0 <= y < 8:
            g[y][x] = _BASE_LIGHT.get(g[y][x], g[y][x])
    for _ in range(variant % 2):           # sparse: the yards read worn, not dirty
        x, y = rng.below(7), rng.below(7)
        kind = rng.below(3)
        if kind == 0:      # a dry tuft
            _put(g, x, y + 1, "a"); _put(g, x + 1, y, "a")
        elif kind == 1:    # a churned clod, its light side up
            lit(x, y); lit(x + 1, y); dim(x, y + 1); dim(x + 1, y + 1)
        elif kind == 2:    # a boot print
            dim(x, y); dim(x, y + 1); dim(x + 2, y + 1); dim(x + 2, y + 2)
        elif kind == 3 and sun <= 0:   # a stone in the shade
            _put(g, x, y, "d"); _put(g, x + 1, y, "q")
        else:
            dim(x, y)


DESERT_GROUNDS["basedirt"] = base_dirt_details


def _ashlar_face(g, x0, x1, y0, y1, lit=None):
    """Dressed stone in courses four pixels high, the joints staggered,
    lit or shaded by the column (lit(x) -> 0 dark .. 2 lit)."""
    for y in range(y0, y1):
        for x in range(x0, x1):
            course = (y - y0) // 4
            joint = (y - y0) % 4 == 3 or (x + 5 * course) % 11 == 0
            tone = lit(x) if lit else 1
            face = ("d", "e", "f")[tone]
            g[y][x] = ("q" if tone == 0 else "d") if joint else face


def _town_gate_picture(w, h):
    """The old town's wall across the top of the town, as one picture: the
    old town's tiled roofs beyond it, the wall with its wall-walk and
    battlements over a battered foot, square towers at its ends, and the
    town gate between two round towers under red conical roofs, its arch
    open over the way into the old town."""
    g = blank("e", w, h)
    # The old town beyond: rows of tiled roofs, ridges across, chimneys.
    for y in range(0, 14):
        for x in range(w):
            house = (x // 28 + y // 7) % 3
            base, dark, lit = (("R", "r", "o"), ("t", "D", "i"), ("b", "q", "h"))[house]
            k = base if (y % 7) < 4 else dark
            if y % 7 == 0:
                k = lit                               # a ridge in the sun
            if x % 28 == 27:
                k = "q"                               # where one roof meets the next
            g[y][x] = k
    for cx in range(13, w, 41):                        # chimneys
        for y in range(2, 6):
            for x in range(cx, cx + 3):
                g[y][x] = "e" if x == cx else ("d" if y < 5 else "q")
    # The wall: its wall-walk, the battlements, the face.
    for y in range(12, 17):
        for x in range(w):
            g[y][x] = "f" if y == 12 else ("e" if (x + y) % 9 else "d")
    for y in range(17, 22):
        for x in range(w):
            merlon = x % 8 < 5
            if not merlon and y < 20:
                g[y][x] = "q"
            elif y == 17 or (not merlon and y == 20):
                g[y][x] = "f"
            else:
                g[y][x] = "e"
    _ashlar_face(g, 0, w, 22, h - 2)
    for x in range(w):
        g[h - 2][x], g[h - 1][x] = "d", "q"
    for x in range(8, w, 56):                          # arrow slits
        for y in range(28, 36):
            g[y][x] = "k"
            g[y][x + 1] = "q"
    # The wall's battered foot: a plinth of bigger, darker courses.
    for y in range(h - 8, h - 2):
        for x in range(w):
            joint = y == h - 8 or (x + 7 * ((y - h) // 3)) % 17 == 0
            g[y][x] = "q" if joint else ("d" if (x + y) % 5 else "e")
    # Square towers at the wall's ends, taller than the wall-walk: ashlar
    # lit from the left, a crenellated top, slits, the town's pennant, and
    # the shadow they cast on the wall to their right.
    for x0 in (10, w - 42):
        x1 = x0 + 32
        _ashlar_face(g, x0, x1, 9, h - 8, lit=lambda x: 2 if x < x0 + 9 else (1 if x < x1 - 8 else 0))
        for y in range(3, 9):
            for x in range(x0 - 1, x1 + 1):
                merlon = (x - x0 + 1) % 7 < 4
                if y < 6 and not merlon:
                    continue                               # the roofs beyond show between merlons
                g[y][x] = "f" if y in (3, 6) and x < x1 - 6 else ("e" if x < x1 - 6 else "d")
        for x in range(x0 - 1, x1 + 1):
            g[9][x] = "q"
        for y in range(h - 8, h - 2):
            for x in range(x0 - 1, x1 + 1):
                g[y][x] = "q" if y == h - 8 or (x - x0) % 9 == 0 else "d"
        for sy in (17, 31):
            for y in range(sy, sy + 7):
                g[y][x0 + 15] = "k"
                g[y][x0 + 16] = "q"
        for y in range(10, h - 2):
            for x in range(x1 + 1, x1 + 5):
                g[y][x] = {"f": "e", "e": "d", "d": "q"}.get(g[y][x], g[y][x])
        px = x0 + 5
        for y in range(0, 3):
            g[y][px] = "q"
        for y in range(0, 3):
            for x in range(px + 1, px + 6 - y):
                g[y][x] = "U" if y != 1 else "y"
    mid = w // 2
    # The gateway: an arch of voussoirs over the way in, the old town's
    # setts running on inside it.
    ax0, ax1 = mid - 44, mid + 44
    cx, r = (ax0 + ax1) / 2 - 0.5, (ax1 - ax0) / 2
    for y in range(10, h):
        for x in range(ax0, ax1):
            dx = x - cx
            top = 26 - (r * r - dx * dx) ** 0.5 * 0.35 if abs(dx) <= r else 99
            if y >= top:
                # The passage in shadow, the old town's sunlit flags at its
                # far end, its own worn setts underfoot.
                far = abs(dx) < r * 0.45 and y >= 22
                if y >= h - 8:
                    g[y][x] = "d" if (x + 2 * (y // 3)) % 4 == 3 or y % 3 == 2 else "e"
                elif far:
                    g[y][x] = "m" if (x // 6 + y // 4) % 2 == 0 and (x % 6 == 5 or y % 4 == 3) else "n"
                    if y < 25:
                        g[y][x] = "q"
                else:
                    g[y][x] = "k" if y < top + 4 else "q"
            elif y >= top - 3:
                g[y][x] = "f" if y < top - 2 else ("e" if int(dx) % 5 else "d")
    # Round towers either side of the gate: a cylinder lit from the left,
    # slits, a conical roof of red tiles.
    for tx in (mid - 48, mid + 48):
        tr = 16
        for y in range(8, h):
            for x in range(tx - tr, tx + tr):
                d = (x - tx + 0.5) / tr
                if abs(d) >= 1:
                    continue
                tone = 2 if d < -0.35 else (1 if d < 0.4 else 0)
                course = (y // 4) % 2
                joint = y % 4 == 3 or (x + 3 * course) % 7 == 0
                g[y][x] = ("q" if tone == 0 else "d") if joint else ("d", "e", "f")[tone]
        for y in range(h - 3, h):
            for x in range(tx - tr, tx + tr):
                if abs(x - tx + 0.5) < tr:
                    g[y][x] = "q" if y == h - 1 else "d"
        for y in range(24, 32):
            g[y][tx] = "k"
            g[y][tx + 1] = "q"
        # The cone: its tiles in courses round it, lit on the left, its
        # eaves casting a dark band on the tower.
        for y in range(0, 16):
            half = (y + 2) * (tr + 2) / 17.0
            for x in range(int(tx - half), int(tx + half) + 1):
                d = (x - tx + 0.5) / max(1.0, half)
                k = "o" if d < -0.4 else ("R" if d < 0.3 else "r")
                if (y % 3 == 2) and abs(d) < 0.95:
                    k = "r" if k != "r" else "D"
                if abs(d) >= 0.95:
                    k = "D"
                g[y][x] = k
        for x in range(tx - tr, tx + tr):
            g[16][x] = "q"
        g[0][tx] = g[1][tx] = "y"                      # the finial
    # Banners of the town over the arch: blue and gold.
    for bx in (mid - 20, mid + 12):
        for y in range(12, 24):
            for x in range(bx, bx + 8):
                g[y][x] = "U" if (x - bx) < 6 else "u"
                if y in (16, 17) and 1 <= x - bx <= 5:
                    g[y][x] = "y"
        for x in range(bx - 1, bx + 9):
            g[11][x] = "q"
    return g


def _town_gate_tile(bx, by, bw, bh):
    key = ("towngate", bw, bh)
    if key not in _BUILDINGS:
        _BUILDINGS[key] = _town_gate_picture(bw, bh)
    return crop(_BUILDINGS[key], bx, by)


BUILDING_PICTURES["towngate"] = _town_gate_tile

# The base's earth darkens to ash in shadow, not to red.
GROUND_SHADOW["basedirt"] = dict(SHADOW, b="q", h="b", m="h")


# The base's huts are not all alike: roofs of olive, of tarred felt and of
# bare grey iron, their doors in the middle or towards one end.
HUT_ROOFS = ((("a", "h"), ("g", "a")), (("h", "b"), ("b", "q")), (("e", "f"), ("d", "e")))


def barracks_tile(variant, bx, by, bw, bh, style=0):
    """A long barracks hut of the base seen from above and in front: its
    corrugated roof (the northern slope in the sun, the southern in shade,
    vents along the ridge), and under the eaves its front of tarred planks
    with windows and its door (style: which roof and where the door is)."""
    g = blank("a")
    wall = max(5, bh // 3)                 # the front's height
    roof = bh - wall
    ridge = roof // 2
    mid = (bw // 2, bw // 4, 3 * bw // 4)[(style // 3) % 3]
    (sun, sun_rib), (shade, shade_rib) = HUT_ROOFS[style % 3]
    for y in range(8):
        Y = by + y
        for x in range(8):
            X = bx + x
            if Y < roof:
                if Y < ridge:
                    k = sun if X % 3 else sun_rib
                else:
                    k = shade if X % 3 else shade_rib
                if Y in (ridge - 1, ridge):
                    k = "n" if Y == ridge - 1 else "b"
                    if X % 32 in (14, 15, 16, 17):
                        k = "d" if Y == ridge else "e"
                if Y == roof - 1:
                    k = "j"                    # the eaves' edge
            else:
                wy = Y - roof
                k = "b" if wy % 2 else "h"     # planks
                if wy == 0:
                    k = "q"                    # the shadow under the eaves
                if X % 14 in (5, 6, 7, 8) and 1 <= wy <= wall - 3:
                    k = "u" if wy == 1 or X % 14 == 5 else "U"   # a window, its glass in shade
                if abs(X - mid) <= 2 and wy >= 1:
                    k = "q" if abs(X - mid) < 2 else "k"         # the door
                if wy == wall - 1:
                    k = "k"
            if X == 0 or X == bw - 1 or Y == 0:
                k = "k"
            elif X in (1, bw - 2) and Y < roof:
                k = "b"                        # the gable ends
            g[y][x] = k
    return g



# -- Area 3: the desert's dunes --

for _table in (DARKER, SHADOW, CAST_TONE, SHADE):
    _table.setdefault("J", "b")
LIGHTER.setdefault("J", "m")
DUNE_PERIOD = 56.0   # map pixels from one crest to the next, along the wind


def dune_amount(mx, my):
    """How strongly the dunes rise at a map pixel (0..1): they gather in
    fields and break into separate crescents along their crests."""
    field = 0.8 * smooth_noise(mx / 8.0, my / 8.0, 3301, 9.0) + 0.2 * smooth_noise(mx / 8.0, my / 8.0, 3307, 4.0)
    return max(0.0, min(1.0, (field - 0.28) * 3.0))


def dune_phase(mx, my):
    """Where a map pixel lies between two crests (0 on a crest, rising to
    1 at the next one down the wind): the crests run across the map from
    the lower left to the upper right, bowed and wandering."""
    import math
    warp = 34.0 * (smooth_noise(mx / 8.0, my / 8.0, 3311, 6.0) - 0.5)
    u = my + 0.22 * mx + warp + 11.0 * math.sin(mx / 29.0 + my / 97.0)
    return (u / DUNE_PERIOD) % 1.0


def desert_dunes(g, bx, by, mask):
    """Low dunes over a block of the desert's sand at block (bx, by): under
    each crest a lit lip and, on its lee side, away from the sun in the
    upper left, a face in shade that fades down the slope; `mask` is how
    far the dunes may rise at the block's four corners (they flatten out
    towards whatever is not open sand)."""
    tl, tr, bl, br = mask
    for y in range(8):
        fy = (y + 0.5) / 8
        for x in range(8):
            fx = (x + 0.5) / 8
            m = tl * (1 - fx) * (1 - fy) + tr * fx * (1 - fy) + bl * (1 - fx) * fy + br * fx * fy
            mx, my = 8 * bx + x, 8 * by + y
            a = m * dune_amount(mx, my)
            if a < 0.08:
                continue
            f = dune_phase(mx, my)
            t = (BAYER4[y % 4][x % 4] + 0.5) / 16
            k = g[y][x]
            shade_w, lit_w = 0.34 * a, 0.13 * a
            if f < 0.09 * a + 0.01:
                g[y][x] = "J"                                  # the foot of the crest's shadow
            elif f < shade_w:
                if (f / shade_w) < 0.55 + 0.45 * (1 - t):
                    g[y][x] = "J" if (f / shade_w) < 0.5 * t + 0.3 else DARKER.get(k, k) if k != "m" else "J"
            elif f > 1.0 - 0.035 * a - 0.005:
                g[y][x] = "n"                                  # the crest, catching the sun
            elif f > 1.0 - lit_w and ((1.0 - f) / lit_w) < 0.35 + 0.65 * t:
                g[y][x] = LIGHTER.get(k, k) if k in ("m", "Y") else k
    return g


# The ruined fort of area 3: the jungle ruin's broken courses, but laid in
# the desert's sandstone (tawny blocks, brown joints, clay stains where
# the lichen would be), lit a pale sand on their broken tops.
DESERT_FORT = {"e": "O", "h": "i", "d": "b", "a": "t", "g": "b", "f": "n"}


def desert_fort_tile(ground, open_sides, x0, y0):
    g = jungle_ruin_tile(ground, open_sides, x0, y0)
    ruin = jungle_ruin_tile([["k"] * 8 for _ in range(8)], open_sides, x0, y0)
    return [[DESERT_FORT.get(g[y][x], g[y][x]) if ruin[y][x] != "k" or g[y][x] == "k" and y == 7 else g[y][x]
             for x in range(8)] for y in range(8)]


# The desert's sand a step down and a step up, in its own warm tones.
_DESERT_BANK_DARK = {"n": "Y", "Y": "m", "m": "J", "J": "b", "h": "b"}
_DESERT_BANK_LIGHT = {"m": "Y", "Y": "n", "J": "m", "h": "m"}


def _desert_bank(k, fall, light, t):
    """A pixel of a bank of area 3's wadi: `fall` 0 at its lip to 1 at its
    toe, `light` how far it faces the sun in the upper left."""
    if fall < 0.2:
        return "n" if light < 0.4 and t < 0.75 else _DESERT_BANK_LIGHT.get(k, k)
    if light > 0.25:
        if fall > 0.85:
            return _DESERT_BANK_DARK.get(k, k) if t < 0.7 else k
        return _DESERT_BANK_LIGHT.get(k, k) if t < 0.8 else k
    deep = fall if light < -0.25 else fall * 0.7
    if fall > 0.45 and t < deep * 1.3:
        return "J" if fall < 0.8 or t < 0.5 else "b"
    return _DESERT_BANK_DARK.get(k, k) if t < deep * 1.2 + 0.2 else k


# -- Area 4: the canyon's dry grass and its red wash --

# The grass of the canyon is dry: olive and khaki tufts on the clay, so
# that no cool green stands in the red rock but the reeds at the pool.
GROUND_BASE["steppe"] = ("a", "a", "h", "h", "h")
CONTRAST["steppe"] = 1.3
FRINGE_OVER["steppe"] = {"canyon", "dust", "wadi"}


def steppe_details(g, variant, rng, sun):
    """Dry grass: tufts of blades, lit at their tips, dark at their feet,
    and here and there a bare patch of the clay."""
    for _ in range(3 + variant % 2):
        x, y = rng.below(7), 1 + rng.below(6)
        _put(g, x, y, "a"); _put(g, x + 1, y - 1, "m"); _put(g, x + 1, y, "h"); _put(g, x + 2, y, "a")
    if rng.below(3) == 0:
        x, y = 1 + rng.below(5), 1 + rng.below(5)
        _put(g, x, y, "i"); _put(g, x + 1, y, "t")


DESERT_GROUNDS["steppe"] = steppe_details

# The canyon's wash: the cracked mud in the canyon's red browns instead of
# the desert's olive browns, so it reads as dried red silt, not cobbles.
RED_WASH = {"b": "D", "m": "t", "n": "i", "h": "t", "z": "O", "e": "t", "d": "V"}


def red_wash(g):
    return [[RED_WASH.get(k, k) for k in row] for row in g]


def standing_on(g, kind, variant, part, flip=False):
    """A standing object's part over ground already drawn (a wreck on the
    desert's highway, its slabs under it), facing either way."""
    pic = STANDING[kind](variant)
    standing(g, [row[::-1] for row in pic] if flip else pic, part)
    return g


# -- Areas 3 and 4: the asphalt under the drifting ground --

# The ground that blows over the asphalt's edges: (its body, its thin edge).
ROAD_DRIFTS = {"ochre": ("Y", "m"), "red": ("i", "t")}


def drifted_road(g, bx, by, kerbs, rock):
    """Asphalt block (bx, by) of the desert or the canyon: the sand or the
    red dust drifts over its kerbs in tongues of their own length."""
    body, edge = ROAD_DRIFTS[rock]
    for y in range(8):
        for x in range(8):
            X, Y = 8 * bx + x, 8 * by + y
            t = (BAYER4[Y % 4][X % 4] + 0.5) / 16
            for side in kerbs:
                d = y if side == N_ else 7 - y if side == S_ else None
                if d is None:
                    continue
                reach = 9.0 * smooth_noise(X / 8.0, Y / 8.0, 4111 + side[1], 2.2) ** 1.5 - 1.0
                if d + 0.5 < reach - 1.5:
                    g[y][x] = body if t < 0.85 else edge
                elif d + 0.5 < reach and t < (reach - d - 0.5) / 1.5:
                    g[y][x] = edge
    return g


# Area 3's service track: the canyon track's soft, wandering wheel tracks
# laid in the desert's ochre gravel instead of ruled ruts.
OCHRE_TRACK = {"t": "m", "Q": "Y", "D": "J", "i": "Y", "V": "b", "O": "Y"}


def ochre_track_tile(variant, bx, by, bw, bh, kerbs):
    g = grit_track_tile(variant, bx, by, bw, bh, kerbs)
    return [[OCHRE_TRACK.get(k, k) for k in row] for row in g]


def citadel_terrace(g, x0, x1, y0, y1, salt, lit_left):
    """A gun terrace stepping down in front of a bastion tower of the enemy
    citadel: a deck of concrete slabs in the tower's shadow, a field gun
    in a sandbagged emplacement on it, ammunition boxes, the crenellated
    parapet along its front and the terrace's own face with a slit below
    it, dark at its foot."""
    deck1 = y1 - 14
    for y in range(y0, deck1):
        for x in range(x0, x1):
            joint = (y - y0) % 10 == 9 or (x - x0) % 12 == 11
            g[y][x] = "d" if joint else ("e" if (x * 7 + y * 3) % 23 else "h")
            if y < y0 + 4:
                g[y][x] = SHADOW.get(g[y][x], g[y][x])   # the tower's shadow
    for y in range(y0, deck1):                            # the side rims, lit and shaded
        if lit_left:
            g[y][x0] = "f"
        g[y][x1 - 1] = "d"
    # The emplacement: a ring of sandbags round a field gun pointing south.
    cx = (x0 + x1) // 2
    ey0, ey1 = y0 + 6, deck1 - 2
    ex0, ex1 = cx - 12, cx + 12
    for y in range(ey0, ey1):
        for x in range(ex0, ex1):
            ring = y in (ey0, ey0 + 1) or x in (ex0, ex0 + 1, ex1 - 2, ex1 - 1)
            if ring:
                g[y][x] = "n" if (x + 2 * y) % 5 else "h"
            else:
                g[y][x] = "q"
    for y in range(ey0 + 3, ey1 - 1):                    # the gun's carriage and shield
        for x in range(cx - 4, cx + 4):
            g[y][x] = "a" if y < ey0 + 6 else ("h" if x < cx else "a")
    for x in range(cx - 5, cx + 5):
        g[ey0 + 3][x] = "g"
    for y in range(ey0 + 6, deck1 + 3):                   # the barrel over the parapet
        g[y][cx] = "d"
        g[y][cx + 1] = "k"
    for (bx, by) in ((x0 + 3, ey0 + 1), (x1 - 9, ey0 + 3)):
        for y in range(by, by + 4):                       # ammunition boxes
            for x in range(bx, bx + 5):
                g[y][x] = "b" if y == by + 3 or x == bx + 4 else "Y"
    _front_merlons(g, x0, x1, deck1)
    _face(g, x0, x1, deck1 + 6, y1, salt + 3, slits=(), lit_left=lit_left)
    for x in range(x0 + 6, x1 - 6, 14):                  # slits in its face
        for dx in range(4):
            g[deck1 + 8][x + dx] = "k"
            g[deck1 + 9][x + dx] = "k"


# Burnt-out vehicles of the town and the base, so a row of them is not one
# picture repeated: the burnt car, an army lorry's olive cab and bed, and a
# car facing the other way with its paint burnt to rust.
def _wreck_recoloured(pic, colours, mirror=False):
    rows = [[colours.get(k, k) for k in row] for row in pic]
    if mirror:
        # Mirrored about the body, the shadow pixels at the bottom right
        # kept where the sun puts them.
        body = [row[:23] for row in rows]
        rows = [list(reversed(row[:23])) + row[23:] for row in rows]
        for y in (12, 13, 14):
            rows[y] = [".", "."] + rows[y][:-2] if y > 12 else rows[y]
        del body
    return rows


WRECKS = (
    WRECK,
    _wreck_recoloured(WRECK, {"d": "a", "e": "h", "r": "g", "b": "j"}),
    _wreck_recoloured(WRECK, {"d": "D", "e": "Q", "r": "b", "b": "q"}, mirror=True),
)


def wreck_tile(ground, variant, part, fringes, corners, kind):
    """A block of burnt-out vehicle `kind` (see WRECKS) over its ground."""
    g = draw_ground(ground, variant % 4, fringes, corners) if ground in GROUND_BASE else blank("G")
    standing(g, WRECKS[kind], part)
    return g


def citadel_tower_parapet(g, x0, x1, y1, inner_right):
    """The crenellated parapet round a bastion tower's roof on the side
    facing the curtain wall, seen from above: merlons lit on their top,
    the crenels dark between them, and the parapet's shadow on the roof
    beside it, so the tower's top reads as a fighting platform and not a
    painted slab."""
    px0, px1 = (x1 - 5, x1) if inner_right else (x0, x0 + 5)
    for y in range(0, y1):
        merlon = y % 7 < 4
        for x in range(px0, px1):
            edge = x == (px0 if inner_right else px1 - 1)
            if not merlon and not edge:
                g[y][x] = "q"
            elif y % 7 == 0 or x == px0:
                g[y][x] = "n"
            else:
                g[y][x] = "m" if x < px1 - 1 else "h"
        sx = px0 - 1 if inner_right else px1
        g[y][sx] = SHADOW.get(g[y][sx], g[y][sx])      # its shadow on the roof


def calm_asphalt(g, variant):
    """The town's and the base's asphalt: half the black specks of a road's
    grain gone, the rest softened to ash, so nothing on it reads as dirt
    or rubble and a bullet stands out."""
    for y in range(8):
        for x in range(8):
            if g[y][x] == "k":
                g[y][x] = "q" if (x * 3 + y * 5 + variant) % 2 else "d"
    return g


def pillbox_door_tile(left, right):
    """The doorway in a pillbox's front (area 6's hill path): the front's
    lit lip and its shadow run on over it, then a dark opening between
    concrete jambs, lit on the west and shaded on the east, and a grey
    step at its foot, so it reads as a way into the pillbox."""
    g = blank("k")
    for x in range(8):
        g[0][x], g[1][x] = "e", "k"
        g[6][x] = "q"
        g[7][x] = "d" if x % 3 else "e"
    # A jamb: the opening's dark edge, then the jamb's face and its edge.
    for jamb, edge, face, inner, tone in ((left, 0, 1, 2, "f"), (right, 7, 6, 5, "d")):
        if jamb:
            for y in range(0, 8):
                g[y][edge] = "k"
            for y in range(2, 7):
                g[y][face] = tone
                g[y][inner] = "e"
    return g


# The town's flags (area 7): the old town's sandstone worn a step darker
# than the bright sandstone of the fortress's courts (area 4), so a white
# bullet stands out on every flag; the flags' lit edges, their darker
# stones and their joints all keep their place one step down, the darker
# stones a warm dune shade rather than khaki (no olive cast on the town).
GROUND_BASE["townflags"] = GROUND_BASE["flagstones"]
TOWNFLAG_TINT = {"z": "n", "n": "m", "m": "J", "h": "b"}


def town_flagstones(g, variant):
    return [[TOWNFLAG_TINT.get(k, k) for k in row] for row in g]


def citadel_steps(g, x0, x1, y0, y1):
    """The right bastion's terrace meets the glacis in broad steps the
    guards walk down (nothing there stops anyone): each tread of concrete
    lit along its nose, its riser in shadow, sandbag cheeks at both ends."""
    for y in range(y0, y1):
        t = (y - y0) % 5
        for x in range(x0, x1):
            if t == 0:
                k = "f"                              # the tread's lit nose
            elif t == 4:
                k = "d"                              # the riser in shade
            else:
                k = "e" if (x * 5 + y * 3) % 29 else "h"
            g[y][x] = k
        for x in list(range(x0, x0 + 5)) + list(range(x1 - 5, x1)):
            g[y][x] = "n" if (x + 2 * (y // 3)) % 5 else "h"   # the sandbag cheeks
        g[y][x0 + 5] = "b"
        g[y][x1 - 6] = "b"
    for x in range(x0, x1):
        g[y1 - 1][x] = "q"                           # its foot on the glacis


def desert_net_tile(variant):
    """The desert's camouflage netting: a weave of khaki and the dunes'
    shade with strips of sacking tied in, so a bunker under it sinks into
    the sand instead of wearing a patch of green."""
    g = blank(T)
    rng = Rng("desert_net", variant)
    for y in range(8):
        for x in range(8):
            if (x + y) % 2 == 0:
                g[y][x] = "J" if rng.below(3) else ("h" if rng.below(2) else "b")
            elif rng.below(5) == 0:
                g[y][x] = "m"
    return g


def _fieldstone_boulder(seed, moss):
    """A boulder 16 x 14 of the farmland and the jungle: a rounded lump of
    its own outline (the seed), lit from the upper left with a pale rim,
    grey faces turning dark to the lower right, a crack or two across it,
    and patches of moss (jungle) or lichen (farmland) on its top."""
    import math
    rng = Rng("fieldstone", seed)
    g = blank(T, 16, 16)
    cx, cy = 7.5 + (rng.below(3) - 1) * 0.3, 7.0
    rx, ry = 6.9 - rng.below(3) * 0.25, 6.3 - rng.below(3) * 0.3
    ph1, ph2 = rng.below(628) / 100.0, rng.below(628) / 100.0
    w1, w2 = 0.06 + rng.below(6) / 100.0, 0.04 + rng.below(6) / 100.0

    def inside(x, y):
        dx, dy = (x - cx) / rx, (y - cy) / ry
        a = math.atan2(dy, dx)
        r = 1.0 + w1 * math.cos(2 * a + ph1) + w2 * math.cos(3 * a + ph2)
        return dx * dx + dy * dy <= r * r
    cells = {(x, y) for y in range(1, 14) for x in range(1, 15) if inside(x + 0.5, y + 0.5)}
    for (x, y) in cells:
        dx, dy = (x + 0.5 - cx) / rx, (y + 0.5 - cy) / ry
        light = -dx * 0.7 - dy * 0.8           # high facing the upper left
        if light > 0.7:
            k = "f" if (x + y + seed) % 2 else "e"
        elif light > -0.2:
            k = "e"
        elif light > -0.75:
            k = "d" if (x * 3 + y + seed) % 4 == 0 else "e" if light > -0.45 else "d"
        else:
            k = "d"
        g[y][x] = k
    # A crack running down from the top, dark with a lit lip.
    x = int(cx) + rng.below(5) - 2
    for y in range(int(cy - ry) + 2, int(cy + 2)):
        if (x, y) in cells and (x + 1, y) in cells:
            g[y][x] = "k"
            if g[y][x + 1] in "ef":
                g[y][x + 1] = "f" if g[y][x + 1] == "e" else "e"
        x += rng.below(3) - 1
    # Moss or lichen on the top.
    tones = ("g", "G") if moss else ("a", "h")
    for _ in range(3 + rng.below(3)):
        mx = int(cx - rx * 0.5) + rng.below(int(rx))
        my = int(cy - ry * 0.7) + rng.below(3)
        for ddx, ddy in ((0, 0), (1, 0), (0, 1), (-1, 0)):
            p = (mx + ddx, my + ddy)
            if p in cells and rng.below(4):
                g[p[1]][p[0]] = tones[(p[0] + p[1]) % 2]
    # The outline, darkest at the foot.
    for y in range(16):
        for x in range(16):
            if (x, y) not in cells and any((x + ex, y + ey) in cells for ex, ey in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                g[y][x] = "k"
    return g


FIELDSTONES = {moss: [_fieldstone_boulder(seed, moss) for seed in range(4)] for moss in (False, True)}


def fieldstone_tile(ground, variant, part, moss):
    """A block of fieldstone boulder `variant` standing on its ground, with
    its shadow."""
    g = [row[:] for row in ground]
    standing(g, FIELDSTONES[moss][variant], part)
    return g


# The roof (a HOUSES entry) over each way of boarding a farm building.
FARM_TIMBER_ROOFS = (1, 2, 0)


def farm_timber_tile(boards, bx, by, bw, bh):
    """A block of a farm building's timber wall boarded its building's way:
    0 upright boards weathered brown; 1 a barn's upright boards painted red,
    faded and lit on their west edges; 2 ochre weatherboards laid across,
    each lapping the one below with a lit top and a dark lip, between
    dark corner posts.  Every way has the rail or the boards' courses, a
    damp foot and outlined ends."""
    if boards == 0:
        return timber_tile(0, bx, by, bw, bh)
    g = blank("b")
    for y in range(8):
        for x in range(8):
            X, Y = bx + x, by + y
            if boards == 1:
                board = (X + (cell_hash(X // 4, 0, 167) % 2)) % 4
                k = "R" if board == 0 else "V" if board == 3 else \
                    "r" if cell_hash(X // 4, Y // 3, 169) % 3 else "R"
                if Y == bh // 2 or Y == bh // 2 + 1:
                    k = "R" if Y == bh // 2 else "V"
            else:
                course = Y % 4
                k = "n" if course == 0 else "J" if course == 3 else \
                    "Y" if cell_hash((X + 5 * (Y // 4)) // 6, Y // 4, 171) % 3 else "h"
                if X in (1, bw - 2):
                    k = "b"                                      # the corner posts
            g[y][x] = _wall_foot(k, X, Y, bw, bh)
    return g


def jungle_paving(g, variant, moss):
    """The jungle village's paving slabs (a block of "concrete", `variant`
    as drawn) grown over: moss creeping out of the joints along the
    block's south and east edges where a slab ends, a damp dark stain on
    some slabs, and a fallen leaf or two; nothing near the bullets' white."""
    rng = Rng("jungle paving", variant, moss)
    g = [row[:] for row in g]
    joints = []
    if variant & 2:
        joints += [(x, 7) for x in range(8)]
    if variant & 1:
        joints += [(7, y) for y in range(8)]
    for (x, y) in joints:
        r = rng.below(6)
        if r < 3:
            g[y][x] = "g" if r else "j"
            if r == 1:   # a tuft spreading on to the slab
                nx, ny = (x, y - 1) if y == 7 else (x - 1, y)
                g[ny][nx] = "a" if rng.below(2) else "g"
    if moss == 0:   # a damp stain
        cx, cy = 1 + rng.below(4), 1 + rng.below(4)
        for y in range(cy, cy + 3):
            for x in range(cx, cx + 3 + rng.below(2)):
                if x < 7 and y < 7 and g[y][x] == "e" and rng.below(4):
                    g[y][x] = "d"
    elif moss in (1, 3):   # a fallen leaf
        x, y = 1 + rng.below(5), 1 + rng.below(5)
        g[y][x] = "a"; g[y][x + 1] = "h" if moss == 1 else "b"
    return g


# -- Area 3: the supply stop's tanks and drums in desert paint --

# The desert's fuel tanks and drums are painted sand, not olive: a pale
# sand lit on the upper left, dune shade on the lower right, rust running
# down from the filler and the seams, so they belong to the desert's
# supply stop instead of the green base.
DESERT_PAINT = {"h": "z", "a": "n", "g": "J"}
DESERT_RUST = ((10, 4), (10, 5), (11, 6), (3, 9), (3, 10), (4, 11), (12, 10), (12, 11), (11, 12),
               (6, 12), (7, 13), (13, 7))


def _desert_painted(pic, rust):
    g = [[DESERT_PAINT.get(k, k) for k in row] for row in pic]
    for x, y in rust:
        if y < len(g) and x < len(g[0]) and g[y][x] in ("n", "J", "z"):
            g[y][x] = "Q" if g[y][x] != "J" else "b"
    return g


DESERT_FUEL_TANK = _desert_painted(FUEL_TANK, DESERT_RUST)
DESERT_BARRELS = [_desert_painted(BARRELS[0], ((2, 3), (6, 5))), BARRELS[1]]


def desert_supply_tile(kind, ground, variant, part, fringes=(), corners=FLAT):
    """A fuel tank or drums of the desert's supply stop over its ground."""
    g = draw_ground(ground, variant % 4, fringes, corners) if ground in GROUND_BASE else blank("G")
    standing(g, DESERT_FUEL_TANK if kind == "fueltank" else DESERT_BARRELS[variant % 2], part)
    return g


# -- Areas 3 and 4: boulders of the desert's and the canyon's sandstone --

# The desert's and the canyon's boulders come in the fieldstones' four
# outlines (bare of lichen) in the area's own rock, so a rockfall or a
# row of them is not one picture repeated.
SANDSTONE_BOULDERS = [[[{"a": "e", "h": "f", "g": "e", "G": "f"}.get(k, k) for k in row]
                       for row in _fieldstone_boulder(seed, False)] for seed in range(4)]


def sandstone_boulder_tile(ground, variant, part, rock):
    """A block of sandstone boulder `variant` over its ground, in `rock`."""
    g = [row[:] for row in ground]
    standing(g, SANDSTONE_BOULDERS[variant], part)
    return ROCKS[rock](g)


def _citadel_talus(g, x0, x1, y0, y1):
    """The battered foot of the citadel's curtain walls: big blocks of
    darker stone sloping out from the face, their top course lit where the
    sheer wall above springs from it, so the wall reads as rising tall
    from a plinth instead of ending at the ground."""
    for y in range(y0, y1):
        course = (y - y0) // 3
        for x in range(x0, x1):
            joint = (y - y0) % 3 == 2 or (x + 7 * course) % 13 == 0
            k = "h" if (x * 3 + y * 5) % 11 else "b"
            g[y][x] = "b" if joint else k
    for x in range(x0, x1):
        g[y0][x] = "n"                     # the lit top of the plinth
        g[y0 + 1][x] = "m" if x % 13 else "b"


def citadel_tower_back_parapet(g, x0, x1):
    """The crenellated parapet along the back of a bastion tower's roof,
    seen from above like its sides, so the roof is a fighting platform
    walled all round and not a painted slab."""
    for x in range(x0, x1):
        merlon = (x - x0) % 7 < 4
        for y in range(0, 4):
            if not merlon and y < 3:
                g[y][x] = "q"
            else:
                g[y][x] = "n" if y == 0 or (merlon and x == x0) else ("m" if y < 3 else "h")
        g[4][x] = SHADOW.get(g[4][x], g[4][x])           # its shadow on the roof


# The farmland's meadow trees and oaks are not one round ball repeated:
# each tree's crown is one of four shapes (chosen from where it stands): a
# broad crown of three great lobes, a crown leaning to one side with a
# lower bough standing out from it, a ragged open crown of many small
# clumps, and a rounded one.  The colours are the meadow's and the oak's.
CROWN_COLOURS["farm_green"] = CROWN_COLOURS["green"]
CROWN_COLOURS["farm_oak"] = CROWN_COLOURS["oak"]


def farmland_crown(size, variant, colours):
    import math
    keys = CROWN_COLOURS[colours]
    rng = Rng("farmcrown", size, variant, colours)
    c = (size - 1) / 2.0
    r = size / 2.0 - 0.5
    shape = variant % 4
    clumps = []
    if shape == 0:
        # Three great lobes round a low middle.
        turn = rng.below(100) / 100.0 * 2.1
        for i in range(3):
            ang = turn + i * 2.094
            cr = r * (0.52 + rng.below(6) / 100.0)
            dist = r - cr
            clumps.append((c + math.cos(ang) * dist, c + math.sin(ang) * dist, cr, 0.15 + rng.below(10) / 100.0))
            for k in (-1, 1):
                a2 = ang + k * 0.55
                cr2 = r * 0.3
                clumps.append((c + math.cos(a2) * (r - cr2), c + math.sin(a2) * (r - cr2), cr2, 0.05))
        clumps.append((c, c, r * 0.45, 0.0))
    elif shape == 1:
        # Leaning: the mass off to one side, a bough standing out low on the other.
        side = 1 if colours == "farm_green" else -1
        mx, my = c - side * r * 0.12, c - r * 0.1
        mr = r * 0.84
        clumps.append((mx, my, mr * 0.7, 0.3))
        for i in range(7):
            ang = (i + rng.below(60) / 100.0) * 6.2832 / 7
            cr = mr * (0.38 + rng.below(10) / 100.0)
            dist = mr - cr
            clumps.append((mx + math.cos(ang) * dist, my + math.sin(ang) * dist, cr, rng.below(25) / 100.0))
        bx, by = c + side * r * 0.5, c + r * 0.5
        clumps.append((bx, by, r * 0.4, 0.0))
        clumps.append((bx - side * r * 0.22, by + r * 0.1, r * 0.3, 0.0))
    elif shape == 2:
        # Ragged and open: many small clumps, an uneven edge.
        clumps.append((c, c, r * 0.5, 0.25))
        n = 13
        for i in range(n):
            ang = (i + rng.below(80) / 100.0) * 6.2832 / n
            cr = r * (0.22 + rng.below(12) / 100.0)
            dist = (r - cr) * (0.7 + rng.below(30) / 100.0)
            clumps.append((c + math.cos(ang) * dist, c + math.sin(ang) * dist, cr, rng.below(35) / 100.0))
    else:
        # Rounded, a little flattened, broader than tall.
        clumps.append((c, c + r * 0.05, r * 0.62, 0.3))
        for i in range(9):
            ang = (i + rng.below(100) / 140.0) * 6.2832 / 9
            cr = r * (0.4 + rng.below(10) / 100.0)
            dx, dy = math.cos(ang), math.sin(ang) * 0.8
            clumps.append((c + dx * (r - cr), c + r * 0.05 + dy * (r - cr), cr, rng.below(30) / 100.0))
    clumps = [(min(max(cx, cr - 0.5), size - 0.5 - cr), min(max(cy, cr - 0.5), size - 0.5 - cr), cr, lift)
              for (cx, cy, cr, lift) in clumps]
    g, height = _shade_clumps(clumps, size, r, keys, variant)
    close_silhouette(g, keys[1], notches=True)
    _crown_rim(g, height, r, keys)
    return g


CROWN_DRAWINGS["farm_green"] = lambda size, variant: farmland_crown(size, variant, "farm_green")
CROWN_DRAWINGS["farm_oak"] = lambda size, variant: farmland_crown(size, variant, "farm_oak")


# The farmland's haystacks are not one stack repeated: a low round stack,
# a tall rick with its thatch pulled to a point, and two round bales
# leaning together, chosen at the stack's top-left block.
def _farm_haystack(kind):
    if kind == 0:
        return HAYSTACK
    g = blank(T, 16, 16)
    if kind == 1:
        heaps = [(7.5, 8.5, 6.2, 7.2)]
    else:
        heaps = [(5.0, 10.0, 4.6, 4.6), (10.5, 6.5, 4.8, 4.8)]
    for y in range(16):
        for x in range(16):
            best = None
            for (cx, cy, rx, ry) in heaps:
                dx, dy = (x - cx) / rx, (y - cy) / ry
                d2 = dx * dx + dy * dy
                if d2 < 1.0 and (best is None or cy >= best[0]):
                    best = (cy, dx, dy, d2)
            if best is None:
                continue
            _, dx, dy, d2 = best
            hz = (1.0 - d2) ** 0.5
            light = -0.7 * dx - 0.7 * dy + 0.4 * hz
            t = (BAYER4[y % 4][x % 4] + 0.5) / 16 - 0.5
            if kind == 1:
                # The rick's straw runs down from its peak in streaks.
                streak = ((x + (y // 3)) % 4 == 0) * 0.22
            else:
                # The bales' straw is rolled: rings round their middles.
                streak = (int((d2 ** 0.5) * 7) % 2 == 0) * 0.2
            v = light + 0.35 * t - streak
            g[y][x] = _straw_tone(v)
    _straw_outline(g)
    if kind == 1:
        # A rope over the rick's shoulders, weighted by a stone.
        for x in range(2, 14):
            y = int(4 + (x - 7.5) ** 2 / 5.0)
            if 0 <= y < 16 and g[y][x] not in (T, "k"):
                g[y][x] = "b"
        g[2][7], g[2][8], g[3][7] = "b", "h", "n"
    else:
        # The twine round each bale.
        for (cx, cy, rx, ry) in heaps:
            for y in range(16):
                x = int(cx + 1)
                if g[y][x] not in (T, "k") and abs(y - cy) < ry - 1:
                    g[y][x] = "b"
    return close_silhouette(g, "h")


FARM_HAYSTACKS = [_farm_haystack(k) for k in range(3)]


def farm_haystack_tile(ground, kind, part):
    g = [row[:] for row in ground]
    standing(g, FARM_HAYSTACKS[kind], part)
    return g


# The jungle's marsh pools are open water that kills like the river: the
# river's own blue, lit shallows and a dark channel, so they read as water
# and not as mud, only a little duckweed drifted against their banks and a
# lily pad or two out on them.
def jungle_pool_tile(mask, ox, oy, along, ground):
    g = river_tile(mask, ox, oy, along, ground, "river")
    share = _water_share(mask, 9)
    for y in range(8):
        for x in range(8):
            if g[y][x] not in ("A", "B", "C", "H"):
                continue
            X, Y = ox + x, oy + y
            if smooth_noise(X, Y, 141, 4.0) + (0.75 - share[y][x]) * 1.2 > 0.9:
                g[y][x] = "a" if cell_hash(X, Y, 143) % 3 else "g"   # duckweed at the bank
    rng = Rng("junglepool", ox, oy)
    for _ in range(rng.below(2)):
        x, y = 1 + rng.below(5), 1 + rng.below(5)
        if share[y][x] > 0.8:
            for dx, dy, k in ((0, 0, "G"), (1, 0, "l"), (0, 1, "g"), (1, 1, "G"), (2, 1, "k")):
                g[y + dy][x + dx] = k                             # a lily pad
    return g


def farmland_field_corners(g, corners, variant, keys=("G", "l"), size=5):
    """A field of the farmland where its edge turns a corner against the
    meadow (corners: the (dx, dy) of each such corner, e.g. (1, -1) for the
    top right): the meadow takes the corner off along a ragged diagonal, so
    a field stepping block by block reads as a field with a slanting edge,
    not a staircase."""
    jag = (0, 1, 0, -1, 1, 0, -1, 0)
    for dx, dy in corners:
        for y in range(8):
            for x in range(8):
                i = x if dx < 0 else 7 - x
                j = y if dy < 0 else 7 - y
                s = i + j - jag[(i * 3 + j + variant) % 8]
                if s < size:
                    g[y][x] = keys[0]
                elif s == size and (x + y + variant) % 3 == 0:
                    g[y][x] = keys[1]
    return g


def jungle_track_corners(g, corners, variant):
    """The jungle's dirt track where its edge turns a corner against the
    jungle floor: the floor takes the corner off along a ragged slant, so
    the track bending block by block has slanting verges, not stairs."""
    return farmland_field_corners(g, corners, variant, ("g", "g"))


def jungle_floor_corners(g, corners, variant):
    """The jungle floor in the inside of a bend of the dirt track: the
    track's dirt takes the corner, so the verge runs on along the slant."""
    return farmland_field_corners(g, corners, variant, ("h", "b"), 3)
# The river valley's and the hill country's cliffs (areas 5 and 6): where a
# rock mass turns an outer corner, the corner is cut on a curve and the
# ground beside it shows in the cut, so its outline bends instead of
# stepping square from block to block.  The curve keeps the rock's dark
# outline along it: its rim to the north, its foot line to the south.
VALLEY_CLIFF_R = {"nw": 6, "ne": 6, "sw": 5, "se": 5}


def valley_cliff_corners(rock, ground, turns):
    import math
    g = [row[:] for row in rock]
    for turn in turns:
        r = VALLEY_CLIFF_R[turn]
        for j in range(8):
            for i in range(8):
                a = i if turn[1] == "w" else 7 - i
                b = j if turn[0] == "n" else 7 - j
                if a >= r or b >= r:
                    continue
                d = math.hypot(r - a - 0.5, r - b - 0.5)
                if d > r:
                    g[j][i] = ground[j][i]
                elif d > r - 1.1:
                    g[j][i] = "q" if turn[0] == "n" else "k"
                elif turn == "nw" and d > r - 2.1:
                    g[j][i] = "f"          # the lit rim follows the curve
    return g


def burnt_hut_site_tile(ground, bx, by, sides):
    """A block of one of the hill village's burnt hut sites (area 6): the
    hut's floor of charred boards running up the site, split and black in
    the cracks, grey ash drifted over it in soft heaps, a fallen roof
    timber or two lying across it, an ember glowing here and there; round
    its edge the scorched sill log, lit on its top, and outside it soot
    thinning raggedly into the ground, so the site reads as a ruin on the
    ground and not as a dark square."""
    g = [row[:] for row in ground]
    for j in range(8):
        for i in range(8):
            X, Y = bx * 8 + i, by * 8 + j
            d = 99
            if W_ in sides:
                d = min(d, i)
            if E_ in sides:
                d = min(d, 7 - i)
            if N_ in sides:
                d = min(d, j)
            if S_ in sides:
                d = min(d, 7 - j)
            h = cell_hash(X, Y, 611)
            if d == 0:
                # Soot thinning into the ground, ragged.
                if h % 3:
                    g[j][i] = "q" if h % 5 else "d"
                continue
            if d == 1:
                g[j][i] = "k"
                continue
            if d == 2:
                g[j][i] = "b" if (X + Y) % 7 else "q"      # the sill log's charred top
                continue
            if d == 3:
                g[j][i] = "k" if h % 4 == 0 else "q"
                continue
            # The floor: boards four pixels wide running up the site.
            at = X % 4
            k = ("k", "b", "q", "q")[at]
            if at and cell_hash(X // 4, Y // 6, 612) % 15 == 0:
                k = "k"                                     # a burnt-through board
            # Ash drifted flat over the boards, one drift to every stretch of
            # floor: a grey film the boards' grain still shows through, thin
            # and broken at its ragged rim, with no shadow and no lit crown
            # (those made the drifts read as stones lying on the floor), and
            # an ember or two still glowing in it.
            for ox, oy in ((0, 0), (-12, 0), (0, -12), (-12, -12)):
                cx0, cy0 = (X + ox) // 24 * 24 - ox, (Y + oy) // 24 * 24 - oy
                hh = cell_hash(cx0, cy0, 613)
                if hh % 3:
                    continue
                cx, cy, r = cx0 + 6 + hh // 4 % 12, cy0 + 6 + hh // 64 % 12, 5 + hh // 1024 % 3
                dd = ((X - cx) * 0.75) ** 2 + ((Y - cy) * 1.3) ** 2
                dd += (cell_hash(X, Y, 614) % 7) * 1.5          # a ragged rim
                if dd <= r * r:
                    if dd <= (r - 2) ** 2:
                        k = "e" if (X + Y) % 2 or at == 0 else "d"
                        if cell_hash(X, Y, 616) % 29 == 0:
                            k = "o" if cell_hash(X, Y, 617) % 2 else "r"
                    elif (X + Y) % 2 == 0:
                        k = "d" if at else k
                    break
            g[j][i] = k
            # A fallen timber lying across the floor, lit along its top edge.
            t = (X * 2 + Y) % 53
            if 0 <= t <= 2 and cell_hash(X // 12, Y // 12, 615) % 3 == 0:
                g[j][i] = "h" if t == 0 else "b" if t == 1 else "k"
            if h % 97 == 0:
                g[j][i] = "o" if h % 2 else "r"             # an ember
    return g
# The desert's and the canyon's rock masses do not end in square steps: where
# a mass turns a corner the rock is broken off along the diagonal, so a wall
# that falls back block by block reads as one slanting face and a lone corner
# as a rounded shoulder, the ground showing where the rock fell away.
def canyon_corner_cut(rock, ground, corners, rounded=()):
    """`rock` is the cliff block already in its rock's colours, `ground`
    the block of open ground beside it; corners names the block's corners
    that stand out into open ground ("se", "sw", "ne", "nw").  Those also
    in `rounded` are only rounded off: where the rock does not step on
    along the diagonal, so that a wall jutting a block in and out does not
    turn into a row of teeth."""
    g = [row[:] for row in rock]
    for c in corners:
        edge = 11 if c in rounded else 7
        for j in range(8):
            for i in range(8):
                a = 7 - i if c[1] == "w" else i        # towards the corner's side
                b = 7 - j if c[0] == "n" else j
                t = a + b - (edge - 7)
                if t >= 9:
                    g[j][i] = ground[j][i]            # where the rock fell away
                elif t >= 7:
                    # The broken edge: a dark lip under a face, a lit one on a rim.
                    if c[0] == "s":
                        g[j][i] = "k" if t == 8 else "q"
                    else:
                        g[j][i] = "q" if t == 8 else g[j][i]
    return g


def apron_drift(slab, sand, corners):
    """A block of the desert pass's concrete apron whose corners (`corners`:
    "se", "sw", "ne", "nw") stand out into the sand: the sand lies over them
    along the diagonal, its lip a little paler where it thins out on the slab."""
    g = [row[:] for row in slab]
    for c in corners:
        for j in range(8):
            for i in range(8):
                a = 7 - i if c[1] == "w" else i
                b = 7 - j if c[0] == "n" else j
                if a + b >= 8:
                    g[j][i] = sand[j][i]
                elif a + b == 7 and (i + j) % 2:
                    g[j][i] = sand[j][i]          # the drift's ragged lip
    return g


def apron_sand_drifts(g, bx, by, sides):
    """A block (bx, by) of the desert pass's concrete: the sand of the
    sides `sides` drifts onto the slabs in tongues of their own length, as
    it does over the convoy road's kerbs."""
    body, edge = ROAD_DRIFTS["ochre"]
    for y in range(8):
        for x in range(8):
            X, Y = 8 * bx + x, 8 * by + y
            t = (BAYER4[Y % 4][X % 4] + 0.5) / 16
            # Sand caught out on the slabs, thin at its edges.
            drift = smooth_noise(X, Y, 97, 14.0, 5.0)
            if drift > 0.82:
                g[y][x] = body if drift > 0.86 and t < 0.85 else edge if t < (drift - 0.82) * 20 else g[y][x]
            for side in sides:
                d = {N_: y, S_: 7 - y, W_: x, E_: 7 - x}[side]
                along = (X, Y) if side in (N_, S_) else (Y, X)
                reach = 7.0 * smooth_noise(along[0] / 8.0, along[1] / 8.0, 4131 + side[0] * 3 + side[1], 2.2) ** 1.5 - 1.0
                if d + 0.5 < reach - 1.5:
                    g[y][x] = body if t < 0.85 else edge
                elif d + 0.5 < reach and t < (reach - d - 0.5) / 1.5:
                    g[y][x] = edge
    return g
# ------------------------------------------------ the town's burnt tram ---

def _town_burnt_tram():
    """A tram car of the town knocked off its rails and burnt out, lying
    across a lane of the avenue: 48 x 16, seen from above with its south
    side showing.  Its ribbed roof is scorched black round the hole the
    fire burnt through it, the trolley pole lies folded on the roof, and
    along its side the oxblood livery is blistered to rust under a row of
    blown-out windows, so it reads as one big piece of cover rather than
    two small cars."""
    W, H = 48, 16
    g = blank(T, W, H)
    x0, x1, y0, y1 = 1, 45, 1, 13
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            if x in (x0, x1) and y in (y0, y1):
                continue                                   # rounded corners
            if x in (x0, x1) or y in (y0, y1):
                g[y][x] = "k"
            elif y <= 8:                                   # the roof
                g[y][x] = "d" if x % 6 == 0 else ("e" if y > 2 else "d")
                if x in (x0 + 1, x1 - 1):
                    g[y][x] = "d"                          # the cab ends
            elif y == 9:
                g[y][x] = "q"                              # the eave's shadow line
            elif y <= 11:                                  # the side: livery and windows
                g[y][x] = "k" if 1 <= (x - 3) % 7 <= 4 and x1 - 3 > x > x0 + 2 else "D"
            else:                                          # the skirt, blistered to rust
                g[y][x] = "Q" if cell_hash(x, y, 61) % 3 == 0 else "D"
    # The burnt hole through the roof and the soot round it.
    cx, cy = 21, 5
    for y in range(y0 + 1, 10):
        for x in range(x0 + 1, x1):
            r = ((x - cx) / 7.0) ** 2 + ((y - cy) / 3.2) ** 2
            wob = (cell_hash(x, y, 67) % 5) / 10.0
            if r < 0.35 + wob * 0.3 and y <= 8:
                g[y][x] = "k"
            elif r < 1.0 + wob:
                g[y][x] = "q" if g[y][x] in ("e", "d") else g[y][x]
            elif r < 1.6 + wob and g[y][x] == "e" and (x + y) % 2:
                g[y][x] = "d"
    # Rust streaks on the roof at the far end, where the paint burnt off.
    for x, y in ((36, 3), (37, 3), (37, 4), (40, 6), (41, 6), (33, 7)):
        g[y][x] = "Q"
    # The folded trolley pole and its base.
    for x in range(28, 41):
        g[4][x] = "k"
    g[3][28], g[5][28] = "d", "d"
    g[4][27] = g[4][41] = "q"
    return g


TOWN_TRAM_WRECK = _town_burnt_tram()


def town_tram_wreck_tile(ground, variant, part, fringes, corners):
    """A block of the burnt-out tram car (parts 0..5 across, 0..1 down)."""
    g = draw_ground(ground, variant % 4, fringes, corners) if ground in GROUND_BASE else blank("G")
    standing(g, TOWN_TRAM_WRECK, part)
    return g


def base_gravel_tile(g, variant):
    """The base's loose stones: a few pebbles of the same earth, lit on top
    and shaded below in its own browns, so a stony patch of the yard reads
    as trodden ground and not as grey specks strewn over it."""
    rng = Rng("basegravel", variant)
    for _ in range(1 + variant % 2):
        x, y = rng.below(7), rng.below(7)
        _put(g, x, y, "m")
        _put(g, x + 1, y, "J")
        _put(g, x, y + 1, "J")
        _put(g, x + 1, y + 1, "b")
    return g


def town_canal_tile(variant, walls, under, ox, row):
    """The town's canal: deep, still green-blue water between its stone
    quays, ripples drawn out along it by the slow current, the quay's
    shadow lying on it under the north wall and a lit lap of water along
    the south one; where a footbridge crosses it the water runs on under
    the planks, in the deck's shadow, so the canal reads as one water
    passing under three bridges and not as panes set between them."""
    g = blank("A")
    for y in range(8):
        for x in range(8):
            X, Y = ox + x, row * 8 + y
            # Ripples: short streaks along the flow, staggered row by row.
            if (X + 7 * Y + 3 * variant) % 13 < 3 and Y % 3 == 1:
                g[y][x] = "B"
            elif (X * 3 + Y * 5) % 41 == 0:
                g[y][x] = "C"                      # a glint, dull, never near white
    for side in walls:
        for i in range(8):
            if side == N_:
                g[0][i] = g[1][i] = "H"            # the north quay's shadow
                if g[2][i] == "A":
                    g[2][i] = "H" if (i + ox) % 3 else "A"
            elif side == S_:
                g[7][i] = "q"                      # the foot of the south quay
                g[6][i] = "B" if (i + ox) % 4 else "C"   # water lapping at it in the light
            elif side == W_:
                g[i][0] = "H"
            else:
                g[i][7] = "H"
    for side in under:
        for i in range(8):
            if side == W_:                         # the deck's shadow falls east onto the water
                g[i][0] = g[i][1] = g[i][2] = "H"
                if g[i][3] != "H":
                    g[i][3] = "H" if i % 2 else "A"
            elif side == E_:                       # under the deck's west edge
                g[i][7] = "H"
                g[i][6] = "H" if i % 2 else g[i][6]
    return g


def base_broken_deck(g, ends, row):
    """The end of a span of the base's flyover where its middle was blown
    down: the slabs break off in a ragged edge, dark where the concrete
    cracked, with bent reinforcing rods sticking out over the gap (the
    ground and whoever walks there show beyond the edge)."""
    for side in ends:
        for y in range(8):
            Y = row * 8 + y
            depth = (3, 5, 2, 4, 6, 4, 3, 2, 5, 3, 6, 4)[Y % 12]
            for d in range(8):
                x = 7 - d if side == E_ else d
                if d < depth - 1:
                    g[y][x] = T                        # nothing left of the slab here
                elif d == depth - 1:
                    g[y][x] = "q"                      # the broken face, in shadow
                elif d == depth:
                    g[y][x] = "d" if g[y][x] != "k" else "k"
            if Y % 5 == 1:                             # a rod bent out over the gap
                x0 = 7 - depth + 2 if side == E_ else depth - 3
                for dx in (0, 1, 2):
                    x = x0 + dx if side == E_ else x0 - dx
                    if 0 <= x < 8 and g[y][x] == T:
                        g[y][x] = "b"
    return g


def citadel_bastion_roof(g, x0, y0, x1, y1, salt):
    """The gun platform on top of a bastion tower: poured concrete in big
    slabs, their joints dark, weathered streaks and a few rust stains from
    the guns' mounts, a drain gully along its foot, and the rim lit on the
    top and left and in shadow on the right, so it reads as a roof one
    fights from and not as painted cloth."""
    for y in range(y0, y1):
        for x in range(x0, x1):
            n = smooth_noise(x, y, salt, 7)
            k = "e" if n < 0.62 else "d"
            if (y - y0) % 12 == 11 or (x - x0) % 16 == 15:
                k = "d"                                   # the slabs' joints
            elif (y - y0) % 12 == 0 or (x - x0) % 16 == 0:
                k = "f" if n < 0.5 else "e"               # their lit edges
            elif cell_hash(x, y, salt) % 53 == 0:
                k = "Q"                                   # a rust stain
            g[y][x] = k
    for x in range(x0, x1):                               # the gully along its foot
        g[y1 - 3][x] = "q" if x % 6 else "k"
    _slab_rim(g, x0, x1, y0, y1, ("f", "e"), "d")


# -- Area 3: the fort that closes the pass --

def _pass_fort_picture(w, h, tower_right):
    """One half of the sandstone fort across the top of the desert pass, as
    one picture: a curtain wall of dressed blocks with its wall-walk behind
    a crenellated parapet, loopholes in its face, and at the gate's side a
    square tower standing proud of it, a banner on its roof."""
    tw = 24                                   # the tower's width
    wall_h = h - 16                           # the curtain's foot; the tower comes 16 px further out
    tx0 = w - tw if tower_right else 0
    g = blank("Y", w, h)

    def face(x0, x1, y0, y1, salt, lit, base):
        """Courses of dressed blocks, 6 px high, their joints staggered."""
        for y in range(y0, y1):
            course = (y - y0) // 6
            row = (y - y0) % 6
            for x in range(x0, x1):
                joint = row == 5 or (x - x0 + 7 * course) % 13 == 0
                n = smooth_noise(x, y, salt, 5)
                if joint:
                    k = "J"
                elif row == 0:
                    k = lit if n < 0.7 else base      # each block's sunlit upper edge
                else:
                    k = base if n < 0.78 else "J"     # weathered pits in the stone
                g[y][x] = k

    # The curtain wall: its wall-walk seen from above behind the parapet.
    for y in range(0, 10):
        for x in range(w):
            k = "m" if y > 1 else "J"
            if y > 1 and (x + (4 if (y - 2) // 4 % 2 else 0)) % 9 == 0:
                k = "Y"                                   # the walk's flagstones
            if y in (5, 9):
                k = "Y"
            g[y][x] = k
    for x in range(w):                                   # the parapet: merlons and crenels
        merlon = x % 10 < 6
        for y in range(10, 18):
            if y < 14 and not merlon:
                k = "b" if y < 12 else "J"               # a crenel's shadow on the walk
            elif y == 10 or y == 11 and merlon:
                k = "n"                                  # the merlons' lit tops
            else:
                k = "m" if y < 14 else "Y"
            g[y][x] = k
    face(0, w, 18, wall_h - 3, 31 + w, "m", "Y")
    for x in range(w):                                   # its battered foot and the shadow at it
        g[wall_h - 3][x] = "J"
        g[wall_h - 2][x] = "J" if x % 5 else "b"
        g[wall_h - 1][x] = "b"
    for lx in range(9 if tower_right else tw + 13, w - (tw + 6 if tower_right else 6), 26):
        for y in range(23, 32):                          # loopholes
            g[y][lx], g[y][lx + 1] = ("b", "q") if y in (23, 31) else ("q", "k")
    if not tower_right:
        for y in range(18, wall_h):                      # the tower's shadow on the curtain east of it
            for x in range(tw, tw + 5 - (y - 18) // 8):
                g[y][x] = "J" if g[y][x] in ("Y", "m", "n") else "b"

    # The tower: a flat roof inside its own parapet, a banner on a pole.
    for y in range(0, 20):
        for x in range(tx0, tx0 + tw):
            k = "Y"
            if y < 2 or x < tx0 + 2:
                k = "n"                                  # the rim in the sun
            elif x >= tx0 + tw - 2 or y >= 18:
                k = "J"
            elif y < 4 or x < tx0 + 4:
                k = "J"                                  # the rim's shadow on the roof
            g[y][x] = k
    for y in range(8, 13):                               # the roof's hatch
        for x in range(tx0 + 13, tx0 + 19):
            g[y][x] = "b" if y in (8, 12) or x in (tx0 + 13, tx0 + 18) else "t"
    px = tx0 + 8
    for y in range(3, 15):
        g[y][px] = "q"                                   # the pole
        if y < 14:
            g[y + 1][px + 1] = "J" if g[y + 1][px + 1] == "Y" else g[y + 1][px + 1]
    for y in range(3, 8):                                # the banner, waving east
        for x in range(px + 1, px + 8 - (y % 2)):
            g[y][x] = "R" if (x + y) % 5 else "r"
    for x in range(tx0, tx0 + tw):                       # the tower's parapet
        merlon = (x - tx0) % 8 < 5
        for y in range(20, 25):
            if y < 22 and not merlon:
                k = "b"
            elif y == 20 and merlon:
                k = "n"
            else:
                k = "m"
            g[y][x] = k
    face(tx0, tx0 + tw, 25, h - 3, 57 + w, "n", "m")
    for y in range(25, h):                               # its sides: lit to the west, shaded to the east
        g[y][tx0] = "n"
        g[y][tx0 + tw - 1] = "J"
        g[y][tx0 + tw - 2] = "J" if g[y][tx0 + tw - 2] != "J" else "b"
    for y in range(32, 46):                              # a tall arrow slit
        for x in (tx0 + 11, tx0 + 12):
            g[y][x] = "b" if y in (32, 45) else ("k" if x == tx0 + 12 else "q")
    for x in range(tx0, tx0 + tw):
        g[h - 3][x] = "J"
        g[h - 2][x] = "b"
        g[h - 1][x] = "q" if x % 3 else "b"
    return g


def pass_fort_tile(bx, by, bw, bh, tower_right):
    key = ("passfort", bw, bh, tower_right)
    if key not in _BUILDINGS:
        _BUILDINGS[key] = _pass_fort_picture(bw, bh, tower_right)
    return crop(_BUILDINGS[key], bx, by)


def base_ditch_tile(ox, oy, sides, crossed):
    """Area 8's drainage ditch, three blocks wide: a strip of murky water
    running down between sloped concrete sides, a railing along each top.
    The sun comes from the upper left, so the west slope lies in shade and
    the east slope in the light; the slopes are cast in sections with a
    joint every 16 px, and a rim of silt and weed marks the waterline.
    Where a road or track crosses it (crossed: its N or S side) the water
    comes out of or runs into a culvert's dark mouth under the road; where
    the ditch begins in open ground its concrete end closes round a drain
    pipe that feeds it."""
    g = blank("A")
    for y in range(8):
        Y = oy + y
        for x in range(8):
            X = ox + x
            if X <= 1 or X >= 22:
                # The railing on the coping: a steel rail, its posts, its shadow.
                post = Y % 6 == 0
                if X == 0:
                    g[y][x] = "e" if post else "f"
                elif X == 1:
                    g[y][x] = "k" if post else "d"
                elif X == 22:
                    g[y][x] = "e" if post else "f"
                else:
                    g[y][x] = "k" if post else "d"
            elif X <= 5:
                # The west slope in shade; a joint every 16 px, a few stains.
                g[y][x] = "d"
                if Y % 16 == 0:
                    g[y][x] = "q"
                elif X == 2:
                    g[y][x] = "e" if Y % 16 == 1 else "d"
                elif (X * 7 + Y * 3) % 23 == 0:
                    g[y][x] = "q"
            elif X >= 18:
                # The east slope in the light.
                g[y][x] = "e"
                if Y % 16 == 0:
                    g[y][x] = "d"
                elif X == 18:
                    g[y][x] = "d" if Y % 3 else "q"   # its foot, wet
                elif X == 21:
                    g[y][x] = "f" if Y % 16 != 1 else "e"
                elif (X * 5 + Y * 7) % 29 == 0:
                    g[y][x] = "d"
            elif X == 6 or X == 17:
                # The waterline: silt and weed, greener on the lit side.
                g[y][x] = ("F" if (Y + X) % 5 else "E") if X == 17 else ("E" if Y % 4 else "F")
            else:
                # The water: the coping's shadow along its west edge, the
                # current in two broken threads further out.
                if X <= 8:
                    g[y][x] = "H"
                else:
                    phase = (Y + 9 * X) % 13
                    if X in (11, 14) and phase < 4:
                        g[y][x] = "C" if phase == 0 else "B"
                    elif X in (9, 16) and (Y + 5 * X) % 17 < 2:
                        g[y][x] = "B"
    wet = range(6, 18)
    for x in range(8):
        X = ox + x
        if N_ in sides and N_ in crossed:
            # The culvert's headwall under the road, and its dark mouth the
            # water comes out of, a ripple where it falls in.
            g[0][x] = "e" if 0 < X < 23 else g[0][x]
            if X in wet:
                g[1][x], g[2][x] = "k", "k"
                g[3][x] = "H"
                if X in (10, 13):
                    g[4][x] = "C"
            elif 1 < X < 22:
                g[1][x], g[2][x] = "d", "q"
        elif N_ in sides:
            # The ditch's upper end closes: a concrete end slope.
            g[0][x], g[1][x] = "f" if 0 < X < 23 else g[0][x], "e"
            if X in wet:
                g[2][x] = "d"
        if S_ in sides and S_ in crossed:
            # It runs on into the culvert under the next road.
            if X in wet:
                g[6][x], g[7][x] = "H", "k"
            else:
                g[7][x] = "q" if 1 < X < 22 else g[7][x]
        elif S_ in sides:
            # Its head in open ground: the end slope in the light, a drain
            # pipe's round mouth in it feeding the ditch.
            if 1 < X < 22:
                g[5][x], g[6][x], g[7][x] = "d", "e", "f"
                if X in wet:
                    g[4][x] = "E" if X in (6, 17) else g[4][x]
                if 10 <= X <= 13:
                    g[5][x], g[6][x] = "k", ("q" if X in (11, 12) else "k")
    return g


def town_footbridge_tile(variant, sides, row_y):
    """Area 7's footbridges over the canal: a deck of dark oiled planks laid
    across the way, each plank lit along its upper edge, with a heavy
    timber kerb and its posts along each side (the west one in the light,
    the east one in shade), and a stone sill where the deck meets the quay
    street at either end, so the bridge reads as timber laid over the
    water, not as more paving."""
    g = blank("b")
    for y in range(8):
        Y = row_y + y
        for x in range(8):
            seam = Y % 4
            if seam == 3:
                g[y][x] = "q"                      # the gap between two planks
            elif seam == 0:
                g[y][x] = "J"                      # a plank's lit edge
            elif (x * 3 + (Y // 4) * 5 + variant) % 11 == 0:
                g[y][x] = "q"                      # a knot
        # Plank ends, staggered from plank to plank.
        end = (Y // 4 * 3 + variant) % 8
        if Y % 4 in (1, 2) and (Y // 4 + variant) % 3 == 0:
            g[y][end] = "q"
    for y in range(8):
        Y = row_y + y
        post = Y % 8 in (0, 1)
        if W_ in sides:
            g[y][0] = "k"
            g[y][1] = "k" if post else "J"
            g[y][2] = "q"
        if E_ in sides:
            g[y][7] = "k"
            g[y][6] = "k" if post else "q"
            g[y][5] = "q" if post else g[y][5]
    for x in range(8):
        if N_ in sides:
            g[0][x], g[1][x] = "e", "d"            # the stone sill on the quay
        if S_ in sides:
            g[6][x], g[7][x] = "e", "d"
    return g


# The trench lines' road bridge took shells on its way over the cutting: two
# holes blown through the deck, away from where its soldiers walk, show the
# cutting's floor in the bridge's shadow below, so the band of concrete
# reads as a bridge with a drop under it and not as a road on the ground.
AREA6_DECK_HOLES = ((108, 228, 10, 5, 1), (214, 227, 8, 5, 2))


def area6_deck_hole_blocks():
    """The deck's blocks (bx, by) a shell hole touches."""
    out = set()
    for cx, cy, rx, ry, _ in AREA6_DECK_HOLES:
        for bx in range((cx - rx - 3) // 8, (cx + rx + 3) // 8 + 1):
            for by in range((cy - ry - 3) // 8, (cy + ry + 3) // 8 + 1):
                out.add((bx, by))
    return out


def area6_deck_shell_holes(g, bx, by):
    """A block of the road bridge's deck with the holes shells blew
    through it: nothing left of the slab inside a ragged rim, the slab's
    broken face in shadow on the hole's far side and lit on its near one,
    reinforcing rods bent down into it, and the asphalt round it scorched
    and cracked."""
    g = [row[:] for row in g]
    for j in range(8):
        for i in range(8):
            X, Y = bx * 8 + i, by * 8 + j
            for cx, cy, rx, ry, salt in AREA6_DECK_HOLES:
                rag = (cell_hash(X // 2, Y // 2, 620 + salt) % 5) * 0.09
                d = ((X - cx) / rx) ** 2 + ((Y - cy) / ry) ** 2 - rag
                if d <= 1.0:
                    # Through to the ground: the light that falls through
                    # lands to the south-east, the rest lies in the deck's
                    # shadow, darkest under the rim.
                    lit = ((X - cx - rx * 0.3) / (rx * 0.75)) ** 2 + ((Y - cy - ry * 0.35) / (ry * 0.75)) ** 2
                    if lit <= 1.0:
                        g[j][i] = T
                    elif d > 0.7:
                        g[j][i] = "k"
                    else:
                        g[j][i] = "q" if (X + Y) % 2 else "k"
                    if (X * 3 + Y * 5 + salt) % 11 == 0 and 0.35 < d and lit > 1.0:
                        g[j][i] = "b"                            # a rod bent down into it
                elif d <= 1.35:
                    g[j][i] = "q" if Y < cy else "e"             # the broken face
                elif d <= 2.4:
                    h = cell_hash(X, Y, 630 + salt) % 6
                    if h == 0:
                        g[j][i] = "k"                            # a crack
                    elif h < 3:
                        g[j][i] = "d"                            # scorched asphalt
    return g


def farm_viaduct_tile(variant, up, h, bx, pier):
    """A block of the farmland's railway viaduct seen from above: a stone
    bridge carrying a double track on ballast between two stone parapets,
    so the span reads as a bridge over the brook and not as a floor of
    planks.  `up` is the block's place below the deck's far edge, `h` the
    deck's depth in blocks, `bx` its column; over a `pier` each parapet
    swells into a refuge.  The far parapet shows its coping and its lit
    inner face with its shadow on the ballast; the near one only its coping
    (its outer face is the deck's edge drawn below it).  Opaque, as it is
    drawn over the soldiers; no pixel near the bullets' white."""
    H = h * 8
    g = blank("d")
    inner0, inner1 = 9, H - 7           # the ballast between the parapets
    span = inner1 - inner0
    if span >= 34:
        gap = (span - 28) // 2
        tracks = (inner0 + gap // 2 + 1, inner0 + gap // 2 + 15 + (span - 28 - gap))
    else:
        tracks = (inner0 + (span - 14) // 2,)
    swell = 2 if pier else 0
    for y in range(8):
        Y = up * 8 + y
        for x in range(8):
            X = (bx % 2) * 8 + x
            # Ballast: dark stone chippings, a few lit ones, darker hollows.
            hsh = cell_hash(x + 8 * variant, Y, 211)
            k = "e" if hsh % 11 == 0 else ("q" if hsh % 4 == 0 else "d")
            for t in tracks:
                r = Y - t
                if 0 <= r < 14:
                    s = X % 4
                    if 1 <= r <= 12 and s in (1, 2):
                        k = "b" if s == 1 else "q"          # a sleeper, lit on its left
                    if r in (3, 10):
                        k = "f" if X % 8 else "e"           # a rail's lit head
                    elif r in (2, 9):
                        k = "e"                             # its lit shoulder
                    elif r in (4, 11):
                        k = "k"                             # its shadow on the sleepers
            # The far parapet: outline, coping, coursed inner face, shadow.
            if Y == 0:
                k = "k"
            elif Y == 1:
                k = "f"
            elif Y == 2:
                k = "e"
            elif 3 <= Y <= 6 + swell:
                course = (Y - 3) // 2
                joint = (Y - 3) % 2 == 1 or (X + 3 * course) % 8 == 0
                k = "d" if joint else "e"
                if pier and Y > 6 and x in (0, 7):
                    k = "k"
            elif Y == 7 + swell:
                k = "k"
            elif Y == 8 + swell and k != "k":
                k = "q"                                     # its shadow on the ballast
            # The near parapet: its coping only, lit along its inner edge.
            if Y == H - 6 - swell:
                k = "k"
            elif H - 5 - swell <= Y <= H - 2:
                k = "f" if Y == H - 5 - swell else ("e" if Y < H - 2 else "d")
                if (X + 2) % 16 == 0 and Y < H - 2:
                    k = "d"                                 # a joint between coping stones
            elif Y == H - 1:
                k = "k"
            g[y][x] = k
    return g


def jungle_boardwalk_tile(variant, up, h, bx):
    """A block of the jungle marsh's boardwalk seen from above: weathered
    planks laid across it, each its own shade, some greened with moss or
    dark with wet, nailed down over two runners, their ends ragged along
    both edges and no rail, so it reads as a walk of planks over the mud
    and not as a bridge's deck.  `up` is the block's place below its far
    edge, `h` its depth in blocks, `bx` its column.  Opaque, as it is drawn
    over the soldiers; no pixel near the bullets' white."""
    H = h * 8
    g = blank("h")
    for y in range(8):
        Y = up * 8 + y
        for x in range(8):
            X = bx * 8 + x
            plank = X // 4
            kind = cell_hash(plank, 0, 307) % 7
            face = ("h", "h", "a", "b", "h", "m", "a")[kind]     # weathered, mossy, wet, sunlit
            lit = {"h": "m", "a": "h", "b": "h", "m": "n"}[face]
            k = (lit, face, face, "q")[X % 4]
            if X % 4 in (1, 2) and cell_hash(X, Y, 311) % 13 == 0:
                k = "b" if face != "b" else "q"                  # a knot, a split in the grain
            if Y in (3, H - 4) and X % 4 == 1:
                k = "k"                                          # nails over the runners
            # The plank ends: each plank stops a pixel short or long of its
            # neighbours, dark where it ends.
            lip = cell_hash(plank, 1, 313) % 2
            if Y == 0 or Y == H - 1:
                k = "k"
            elif (Y == 1 and lip) or (Y == H - 2 and not lip):
                k = "q"
            g[y][x] = k
    return g
