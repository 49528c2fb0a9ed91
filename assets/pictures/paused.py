#!/usr/bin/python3
"""paused.png: the "PAUSED" banner, drawn centred over the dimmed game: the
lettering inside a three-pixel frame, with a margin of the banner's fill
all round it."""

import buildings
import lettering
from picture import run, sprites

TEXT, SCALE = "PAUSED", 2
FRAME, MARGIN = 3, 2


def build():
    # The lettering's one-pixel outline lies outside its lit pixels.
    tw = lettering.text_width(TEXT, SCALE) + 2
    th = 7 * SCALE + 2
    w, h = tw + 2 * (FRAME + MARGIN), th + 2 * (FRAME + MARGIN)
    w += w % 2
    s = sprites.Sprite.blank(w, h)
    buildings.fill(s, 1, 1, w - 2, h - 2, "u")
    buildings.frame(s, 0, 0, w, h, "k")
    buildings.frame(s, 1, 1, w - 2, h - 2, "c")
    buildings.frame(s, 2, 2, w - 4, h - 4, "U")
    lettering.draw_text(s, TEXT, (w - tw) // 2 + 1, (h - th) // 2 + 1, SCALE, SCALE,
                        bands=("w", "w", "f", "c"), outline="k")
    return s


if __name__ == "__main__":
    run(build)
