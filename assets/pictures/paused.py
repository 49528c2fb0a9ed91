#!/usr/bin/python3
"""paused.png: the "PAUSED" banner, 96 x 24, drawn centred over the dimmed
game."""

import buildings
import lettering
from picture import run, sprites


def build():
    s = sprites.Sprite.blank(96, 24)
    buildings.fill(s, 1, 1, 94, 22, "u")
    buildings.frame(s, 0, 0, 96, 24, "k")
    buildings.frame(s, 1, 1, 94, 22, "c")
    buildings.frame(s, 2, 2, 92, 20, "U")
    w = lettering.text_width("PAUSED", 2)
    lettering.draw_text(s, "PAUSED", (96 - w) // 2, 5, 2, 2, bands=("w", "w", "f", "c"), outline="k")
    return s


if __name__ == "__main__":
    run(build)
