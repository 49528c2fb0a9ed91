#!/usr/bin/python3
"""puertaab.png: the open gate's two leaves, 2 cells of 16 x 64."""

import buildings
from picture import run, sprites


def build():
    sheet = sprites.Sheet(16, 64, 2, 1)
    wing = buildings.gate_wing()
    sheet.put(0, wing)
    sheet.put(1, wing.mirrored())
    return sheet


if __name__ == "__main__":
    run(build)
