#!/usr/bin/python3
"""superdax.png: the hero, 30 cells of 24 x 21 (10 x 3)."""

from picture import grids, run, sprites


def walk(g, name):
    """Frames 0, 1, 2 of a three-frame walk: legs0, standing, legs2."""
    stand = sprites.sprite(g, name)
    return [stand.copy().replace_rows(sprites.sprite(g, name + "-legs0"), 14),
            stand,
            stand.copy().replace_rows(sprites.sprite(g, name + "-legs2"), 14)]


def hero_cells():
    g = grids("hero.txt")
    cells = [None] * 30
    mirror = lambda frames: [f.mirrored() for f in frames]  # noqa: E731
    cells[0:3] = walk(g, "up")
    cells[3:6] = walk(g, "down")
    cells[6:9] = walk(g, "down-right")
    cells[9:12] = mirror(cells[6:9])
    cells[12:15] = walk(g, "up-right")
    cells[15:18] = mirror(cells[12:15])
    right = sprites.sprite(g, "right")
    stride = right.copy().replace_rows(sprites.sprite(g, "right-legs0"), 14)
    passing = right.copy().replace_rows(sprites.sprite(g, "right-legs1"), 14)
    # Four-step walk; cell 24 (index 2) is the standing stance.
    cells[22:26] = [stride, passing, right, passing]
    cells[18:22] = mirror(cells[22:26])
    cells[26] = sprites.sprite(g, "hit")
    cells[27] = sprites.sprite(g, "dead")
    cells[28] = sprites.sprite(g, "fall")
    cells[29] = sprites.sprite(g, "gone")
    return cells


def build():
    sheet = sprites.Sheet(24, 21, 10, 3)
    for i, c in enumerate(hero_cells()):
        sheet.put(i, c)
    return sheet


if __name__ == "__main__":
    run(build)
