#!/usr/bin/python3
"""titulo.png: the title logo, 320 x 46, opaque (drawn without a mask).

The name is set in big block letters drawn for the logo (each letter a
grid of 5 x 4 pixel blocks, strokes two blocks wide), filled with a sunset
gradient, lit on their top edges, extruded down and to the right in dark
red and outlined in black, over raster stripes.  The sub-title sits below
between two rules.
"""

import buildings
import lettering
from picture import run, sprites
from palette import rgb

W, H = 320, 46
CELL_W, CELL_H = 5, 4

LETTERS = {
    "V": ["##...##",
          "##...##",
          "##...##",
          "##...##",
          ".##.##.",
          "..###..",
          "...#..."],
    "E": ["######",
          "##....",
          "##....",
          "#####.",
          "##....",
          "##....",
          "######"],
    "L": ["##....",
          "##....",
          "##....",
          "##....",
          "##....",
          "##....",
          "######"],
    "M": ["##...##",
          "###.###",
          "#######",
          "##.#.##",
          "##...##",
          "##...##",
          "##...##"],
    "A": ["..###..",
          ".##.##.",
          "##...##",
          "##...##",
          "#######",
          "##...##",
          "##...##"],
    "R": ["######.",
          "##...##",
          "##...##",
          "######.",
          "##.##..",
          "##..##.",
          "##...##"],
    "O": [".#####.",
          "##...##",
          "##...##",
          "##...##",
          "##...##",
          "##...##",
          ".#####."],
    "K": ["##...##",
          "##..##.",
          "##.##..",
          "####...",
          "##.##..",
          "##..##.",
          "##...##"],
}

# Fill colours from the top of the letters to their foot.
BANDS = ("y", "y", "y", "o", "o", "R", "R", "r")
EXTRUDE = 3


def letters_mask(text, gap=1):
    """The lit pixels of the name and its width."""
    lit = set()
    x = 0
    for ch in text:
        grid = LETTERS[ch]
        for gy, row in enumerate(grid):
            for gx, c in enumerate(row):
                if c == "#":
                    for py in range(CELL_H):
                        for px in range(CELL_W):
                            lit.add(((x + gx) * CELL_W + px, gy * CELL_H + py))
        x += len(grid[0]) + gap
    return lit, (x - gap) * CELL_W


def draw_name(s, text, x0, y0):
    lit, _ = letters_mask(text)
    height = 7 * CELL_H
    # The extruded side, darkest furthest back.
    for d in range(EXTRUDE, 0, -1):
        for (x, y) in lit:
            s.set(x0 + x + d, y0 + y + d, "r" if d < EXTRUDE else "k")
    solid = set(lit)
    for d in range(1, EXTRUDE + 1):
        solid |= {(x + d, y + d) for (x, y) in lit}
    # A black outline around face and side together.
    for (x, y) in solid:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                p = (x + dx, y + dy)
                if p not in solid:
                    s.set(x0 + p[0], y0 + p[1], "k")
    # The face: the gradient, a lit top edge and a darker left-to-right rim.
    for (x, y) in lit:
        band = BANDS[min(len(BANDS) - 1, y * len(BANDS) // height)]
        key = band
        if (x, y - 1) not in lit:
            key = "w"
        elif (x, y - 2) not in lit and y < height // 2:
            key = "w" if band == "y" else "y"
        elif (x - 1, y) not in lit and band in ("y", "o"):
            key = "w" if band == "y" else "y"
        elif (x, y + 1) not in lit:
            key = "r"
        s.set(x0 + x, y0 + y, key)


def build():
    s = sprites.Sprite.blank(W, H)
    buildings.fill(s, 0, 0, W, H, "k")
    # Raster stripes behind the name, brighter in the middle.
    for y, key in ((3, "u"), (6, "u"), (9, "U"), (12, "c"), (20, "c"),
                   (23, "U"), (26, "U"), (29, "u"), (32, "u")):
        buildings.fill(s, 0, y, W, 1, key)
    name = "VELMAROK"
    _, w = letters_mask(name)
    draw_name(s, name, (W - w - EXTRUDE) // 2, 2)
    sub = "DOZIDU"
    w2 = lettering.text_width(sub, 2)
    # Sub-title between two rules.
    buildings.fill(s, 14, 39, (W - w2) // 2 - 22, 1, "c")
    buildings.fill(s, (W + w2) // 2 + 8, 39, (W - w2) // 2 - 22, 1, "c")
    lettering.draw_text(s, sub, (W - w2) // 2, 36, 2, 1, bands=("w", "c", "c", "U"), outline="u")
    pixels = [rgb(c if c != "." else "k") for row in s.rows for c in row]
    return W, H, pixels


if __name__ == "__main__":
    run(build)
