#!/usr/bin/python3
"""Loader.png: the tape loader's picture, 320 x 192, opaque.  The block
counter and the clock are written over it at picture row 46 (x 96..120 and
168..224), so a dark band with their labels runs across there."""

import math

import buildings
import blasts
import lettering
import superdax
import soldiers
from picture import run, sprites
from palette import rgb

W, H = 320, 192
BAND_TOP, BAND_H = 42, 16


def build():
    s = sprites.Sprite.blank(W, H)
    # Sky: raster bands from night blue at the top to pale at the horizon.
    sky = ["u", "u", "U", "u", "U", "U", "c", "U", "c", "c"]
    for y in range(0, 120):
        key = sky[min(len(sky) - 1, y * len(sky) // 120)]
        # Dither the boundaries between bands, as the old machines did.
        nxt = sky[min(len(sky) - 1, y * len(sky) // 120 + 1)]
        for x in range(W):
            frac = (y * len(sky) / 120) % 1
            s.set(x, y, nxt if frac > 0.75 and (x + y) % 2 == 0 else key)
    # The band for the counters.
    buildings.fill(s, 0, BAND_TOP, W, BAND_H, "k")
    buildings.fill(s, 0, BAND_TOP, W, 1, "c")
    buildings.fill(s, 0, BAND_TOP + BAND_H - 1, W, 1, "c")
    lettering.draw_text(s, "BLOCKS", 40, 46, 1, outline=None, bands=("y",))
    lettering.draw_text(s, "TIME", 128, 46, 1, outline=None, bands=("y",))
    # The name, large, above the mountains.
    name = "VELMAROK"
    w = lettering.text_width(name, 4)
    lettering.draw_text(s, name, (W - w) // 2, 6, 4, 4, bands=("w", "y", "y", "o", "R", "r"), outline="k", shadow="u")
    # Mountains on the horizon and the jungle floor.
    for x in range(W):
        ridge = 104 + int(10 * math.sin(x / 23.0) + 6 * math.sin(x / 9.0 + 1.3) + 4 * math.sin(x / 4.1))
        for y in range(ridge, 124):
            s.set(x, y, "d" if y < ridge + 2 else "e" if (x // 3 + y) % 5 == 0 else "d")
        for y in range(124, H):
            k = "g" if (x * 3 + y * 7) % 11 else "G"
            if y < 127:
                k = "G" if (x + y) % 3 else "l"
            s.set(x, y, k)
    # Soldiers: the hero in front, enemies behind him, a grenade going off.
    boom = blasts.fireball(11.5, 21, blasts.HOT, smoke="d")
    s.paste(sprites.scaled(boom, 3), 214, 108)
    enemy_left = soldiers.enemy_from_hero(10)
    enemy_right = soldiers.enemy_from_hero(7)
    s.paste(sprites.scaled(enemy_left, 2), 24, 120)
    s.paste(sprites.scaled(enemy_right, 2), 262, 128)
    hero = superdax.hero_cells()[1]
    s.paste(sprites.scaled(hero, 3), 110, 122)
    lettering.draw_text(s, "DOZIDU", (W - lettering.text_width("DOZIDU", 2)) // 2, 66, 2, 2,
                        bands=("w", "f", "c"), outline="k")
    lettering.draw_text(s, "RAVO TESK GAMES", (W - lettering.text_width("RAVO TESK GAMES", 1)) // 2, 92, 1,
                        bands=("w",), outline="k")
    pixels = [rgb(c if c != "." else "k") for row in s.rows for c in row]
    return W, H, pixels


if __name__ == "__main__":
    run(build)
