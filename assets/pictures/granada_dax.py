#!/usr/bin/python3
"""granada_dax.png: grenades in flight, cannon shells and their explosions,
12 cells of 24 x 21."""

import blasts
from picture import grids, run, sprites


def build():
    g = grids("grenades.txt")
    sheet = sprites.Sheet(24, 21, 12, 1)
    # 0-2: the grenade tumbling through the air.
    for i in range(3):
        sheet.put(i, sprites.sprite(g, f"grenade{i}"))
    # 3 large, 4 medium, 5 small: the hero's grenade (shown 5, 4, 3, 5);
    # the large one fills the cell, where it kills.
    sheet.put(3, blasts.fireball(11.5, 3, blasts.HOT, smoke="d"))
    sheet.put(4, blasts.fireball(8.0, 4, blasts.HOT, smoke="e"))
    sheet.put(5, blasts.sparks(blasts.fireball(4.5, 5, blasts.HOT), 8, 6.5, 5, "y"))
    # 6 high (large), 7, 8 low (small): the cannon shell; 8 is also the hut shot.
    sheet.put(6, blasts.ball(4.5, "f", "e", "d"))
    sheet.put(7, blasts.ball(3.5, "f", "e", "d"))
    sheet.put(8, blasts.ball(2.5, "f", "e", "d"))
    # 9 large, 10 medium, 11 small: enemy grenades and shells (dirtier fire).
    sheet.put(9, blasts.fireball(11.5, 9, blasts.DIRTY, smoke="d"))
    sheet.put(10, blasts.fireball(8.0, 10, blasts.DIRTY, smoke="d"))
    sheet.put(11, blasts.sparks(blasts.fireball(4.5, 11, blasts.DIRTY), 8, 6.5, 11, "o"))
    return sheet


if __name__ == "__main__":
    run(build)
