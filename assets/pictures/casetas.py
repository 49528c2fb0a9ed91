#!/usr/bin/python3
"""casetas.png: the shooting huts, 2 cells of 48 x 72 (left-edge hut,
right-edge hut)."""

import buildings
from picture import run, sprites


def build():
    sheet = sprites.Sheet(48, 72, 2, 1)
    left = buildings.hut_left()
    sheet.put(0, left)
    sheet.put(1, left.mirrored())
    return sheet


if __name__ == "__main__":
    run(build)
