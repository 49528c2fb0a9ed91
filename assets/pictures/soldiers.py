"""The enemy soldiers' walking cells, shared by enemyspr.py and enemycspr.py:
the hero's poses in enemy uniform, with a helmet instead of the headband."""

import superdax
from picture import grids, sprites

# Uniform colours by soldier kind, in place of the hero's vest (w light, f
# shade) and trousers (b), and the helmet's dark/mid/light (d, e, f).
KINDS = {
    "soldier": ({"w": "c", "f": "U", "b": "u"}, {"d": "d", "e": "e", "f": "f"}),
    "verde": ({"w": "l", "f": "G", "b": "g"}, {"d": "g", "e": "G", "f": "l"}),
    "kidnapper": ({"w": "n", "f": "h", "b": "d"}, {"d": "r", "e": "R", "f": "o"}),
}

# Which helmet a hero cell gets (by the pose it was made from): cells
# first..last, the helmet drawing, and whether it is mirrored.
HELMET_OF_CELL = {}
for _first, _last, _helmet, _mirrored in (
        (0, 2, "helmet-up", False),
        (3, 5, "helmet-down", False),
        (6, 8, "helmet-down-right", False),
        (9, 11, "helmet-down-right", True),
        (12, 14, "helmet-up-right", False),
        (15, 17, "helmet-up-right", True),
        (18, 21, "helmet-right", True),
        (22, 25, "helmet-right", False)):
    for _c in range(_first, _last + 1):
        HELMET_OF_CELL[_c] = (_helmet, _mirrored)

BODY_TOP = 7  # rows above this belong to the head


def recolour_body(spr, kind):
    body = KINDS[kind][0]
    out = spr.copy()
    for y in range(BODY_TOP, out.h):
        out.rows[y] = [body.get(c, c) for c in out.rows[y]]
    return out


def helmet(name, mirrored, kind):
    g = grids("enemy.txt")
    h = sprites.sprite(g, name)
    h = h.recoloured(KINDS[kind][1])
    return h.mirrored() if mirrored else h


def enemy_from_hero(hero_cell_index, kind="soldier"):
    hero = superdax.hero_cells()[hero_cell_index]
    cell = recolour_body(hero, kind)
    # The headband and its knot go; the helmet covers the head.
    for y in range(BODY_TOP):
        cell.rows[y] = ["." if c in "Rr" else c for c in cell.rows[y]]
    name, mirrored = HELMET_OF_CELL[hero_cell_index]
    cell.paste(helmet(name, mirrored, kind), 0, 0)
    return cell


# Enemy sheet cell -> hero cell of the same pose.
WALK_CELLS = {}
for _i in range(3):
    WALK_CELLS[0 + _i] = 0 + _i      # up
    WALK_CELLS[3 + _i] = 3 + _i      # down
    WALK_CELLS[6 + _i] = 6 + _i      # down-right
    WALK_CELLS[9 + _i] = 9 + _i      # down-left
    WALK_CELLS[14 + _i] = 12 + _i    # up-right
    WALK_CELLS[17 + _i] = 15 + _i    # up-left
# Left and right walk in three steps: stride, passing, stance.
WALK_CELLS.update({48: 18, 49: 19, 50: 20, 52: 22, 53: 23, 54: 24})


def walking_cells(kind="soldier"):
    return {cell: enemy_from_hero(h, kind) for cell, h in WALK_CELLS.items()}
