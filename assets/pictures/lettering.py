"""Big lettering from the game's 8 x 8 font design, for the title logo,
the loader picture and the pause banner."""

import os
import sys

from picture import HERE, sprites

sys.path.insert(0, os.path.join(HERE, "..", "fonts"))
import glyphs  # noqa: E402

FONT_DESIGN = glyphs.DESIGN


def text_mask(text, scale_x, scale_y=None, advance=8):
    """The lit pixels of a text in the plain set, enlarged; a set of (x, y)."""
    scale_y = scale_y or scale_x
    cells = glyphs.text_set()
    lit = set()
    for i, ch in enumerate(text):
        for y, row in enumerate(cells[ord(ch)]):
            for x, c in enumerate(row):
                if glyphs.lit(c):
                    for sy in range(scale_y):
                        for sx in range(scale_x):
                            lit.add(((i * advance + x) * scale_x + sx, y * scale_y + sy))
    return lit


def text_width(text, scale_x, advance=8):
    return (len(text) * advance - (advance - 7)) * scale_x


def draw_text(spr, text, x0, y0, scale_x, scale_y=None, bands=("w",), outline="k", shadow=None):
    """Text with a vertical colour gradient (bands from top to bottom), a
    one-pixel outline and an optional drop shadow."""
    scale_y = scale_y or scale_x
    lit = text_mask(text, scale_x, scale_y)
    height = 7 * scale_y
    if shadow:
        for (x, y) in lit:
            for d in (1, 2):
                spr.set(x0 + x + d, y0 + y + d, shadow)
    if outline:
        for (x, y) in lit:
            for dx in (-1, 0, 1):
                for dy in (-1, 0, 1):
                    spr.set(x0 + x + dx, y0 + y + dy, outline)
    for (x, y) in lit:
        band = min(len(bands) - 1, y * len(bands) // max(1, height))
        spr.set(x0 + x, y0 + y, bands[band])
    return spr
