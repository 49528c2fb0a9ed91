#!/usr/bin/python3
"""titulo.png: the title logo, 320 x 46, opaque (drawn without a mask)."""

import buildings
import lettering
from picture import run, sprites
from palette import rgb

W, H = 320, 46


def build():
    s = sprites.Sprite.blank(W, H)
    buildings.fill(s, 0, 0, W, H, "k")
    # Raster stripes behind the name, brightest in the middle.
    for y, key in ((3, "u"), (5, "u"), (7, "U"), (9, "U"), (23, "U"), (25, "U"), (27, "u"), (29, "u")):
        buildings.fill(s, 0, y, W, 1, key)
    name = "VELMAROK"
    w = lettering.text_width(name, 5)
    lettering.draw_text(s, name, (W - w) // 2, 3, 5, 4,
                        bands=("w", "y", "y", "o", "o", "R", "r"), outline="k", shadow="r")
    sub = "DOZIDU"
    w2 = lettering.text_width(sub, 2)
    # Sub-title between two rules.
    buildings.fill(s, 20, 38, (W - w2) // 2 - 28, 1, "c")
    buildings.fill(s, (W + w2) // 2 + 8, 38, (W - w2) // 2 - 28, 1, "c")
    lettering.draw_text(s, sub, (W - w2) // 2, 35, 2, 1, bands=("c", "w"), outline=None)
    pixels = [rgb(c if c != "." else "k") for row in s.rows for c in row]
    return W, H, pixels


if __name__ == "__main__":
    run(build)
