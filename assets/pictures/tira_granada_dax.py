#!/usr/bin/python3
"""tira_granada_dax.png: the hero's standing grenade throw, 3 cells."""

from picture import grids, run, sprites


def build():
    g = grids("hero.txt")
    sheet = sprites.Sheet(24, 21, 3, 1)
    for i in range(3):
        sheet.put(i, sprites.sprite(g, f"throw{i}"))
    return sheet


if __name__ == "__main__":
    run(build)
