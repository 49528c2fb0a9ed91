#!/usr/bin/python3
"""enemycspr.png: the cannon, the jeep facing left, the low car and the
name-entry crosshair, 56 cells of 24 x 21 (8 x 7).  The gunner who leaves
his cannon runs on this sheet, so it carries the soldiers' walking and
dying cells at the same numbers as enemyspr.png."""

import enemyspr
import soldiers
from picture import grids, run, sprites


def cannon_frames():
    v = grids("vehicles.txt")
    base = sprites.sprite(v, "cannon")
    # The shot: a big flash at the muzzle, then a smaller one dying away.
    fire0 = base.copy().paste(sprites.sprite(v, "muzzle0"), 19, 7)
    fire1 = base.copy().paste(sprites.sprite(v, "muzzle1"), 19, 8)
    return [base, fire0, fire1]


def build():
    v = grids("vehicles.txt")
    e = grids("enemy.txt")
    sheet = sprites.Sheet(24, 21, 8, 7)
    for cell, spr in soldiers.walking_cells("soldier").items():
        sheet.put(cell, spr)
    sheet.put(28, sprites.sprite(e, "dying0"))
    sheet.put(29, sprites.sprite(e, "dying1"))
    frames = cannon_frames()
    for i, f in enumerate(frames):
        sheet.put(39 + i, f)
        sheet.put(42 + i, f.mirrored())
    sheet.put_wide(26, enemyspr.jeep().mirrored())
    low = sprites.Sprite.blank(24, 21)
    low.paste(sprites.sprite(v, "lowcar"), 4, 0)
    sheet.put(55, low)
    sheet.put(20, sprites.sprite(v, "crosshair"))
    return sheet


if __name__ == "__main__":
    run(build)
