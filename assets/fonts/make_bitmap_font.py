#!/usr/bin/python3
"""Writes 8x8_VelmarokFont.png: the game's bitmap font, 16 x 16 cells of
8 x 8 (128 x 128), cell n = character code n, from the [game] set of the
design.  Unlit pixels are the mask colour.  Cell 0 carries the cell-size
mark: its left column and top row lit in one colour, so that the first
pixel of another colour down the left edge and along the top edge is at 8."""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "common"))
sys.path.insert(0, HERE)

import glyphs  # noqa: E402
import sprites  # noqa: E402


def build(design=glyphs.DESIGN):
    cells = glyphs.game_set(design)
    sheet = sprites.Sheet(8, 8, 16, 16)
    for code, rows in enumerate(cells):
        sheet.put(code, sprites.Sprite([r.replace("#", "w") for r in rows]))
    return sheet.canvas


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_bitmap_font.py OUTPUT.png")
    sprites.write_sprite_png(sys.argv[1], build())


if __name__ == "__main__":
    main()
