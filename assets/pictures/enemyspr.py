#!/usr/bin/python3
"""enemyspr.png: every enemy soldier, vehicle, pickup, flame and score
sprite, 84 cells of 24 x 21 (12 x 7)."""

import soldiers
from picture import grids, run, sprites

COLS, ROWS = 12, 7

# A tiny 3 x 5 digit set for the score sprites.
DIGITS = {
    "0": ["###", "#.#", "#.#", "#.#", "###"],
    "1": [".#.", "##.", ".#.", ".#.", "###"],
    "2": ["###", "..#", "###", "#..", "###"],
}


def score_sprite(text):
    """White digits with a black outline, centred in a 24 x 21 cell."""
    w = len(text) * 4 - 1
    digits = sprites.Sprite.blank(w, 5)
    for i, ch in enumerate(text):
        for y, r in enumerate(DIGITS[ch]):
            for x, c in enumerate(r):
                if c == "#":
                    digits.set(i * 4 + x, y, "y" if y < 2 else "o")
    cell = sprites.Sprite.blank(24, 21)
    ox, oy = (24 - w) // 2, 8
    # Outline first, then the digits on top.
    for y in range(digits.h):
        for x in range(digits.w):
            if digits.get(x, y) != ".":
                for dx in (-1, 0, 1):
                    for dy in (-1, 0, 1):
                        cell.set(ox + x + dx, oy + y + dy, "k")
    cell.paste(digits, ox, oy)
    return cell


def bike(rider="rider"):
    v = grids("vehicles.txt")
    s = sprites.Sprite.blank(48, 21)
    s.paste(sprites.sprite(v, "wheel"), 4, 12)
    s.paste(sprites.sprite(v, "wheel"), 29, 12)
    s.paste(sprites.sprite(v, "bike"), 3, 9)
    s.paste(sprites.sprite(v, rider), 14, 0)
    return s


def jeep():
    v = grids("vehicles.txt")
    s = sprites.Sprite.blank(48, 21)
    s.paste(sprites.sprite(v, "jeep"), 0, 0)
    s.paste(sprites.sprite(v, "wheel"), 11, 12)
    s.paste(sprites.sprite(v, "wheel"), 35, 12)
    return s


def lorry():
    v = grids("vehicles.txt")
    s = sprites.Sprite.blank(48, 21)
    s.paste(sprites.sprite(v, "lorry"), 0, 1)
    s.paste(sprites.sprite(v, "wheel-big"), 3, 10)
    s.paste(sprites.sprite(v, "wheel-big"), 21, 10)
    s.paste(sprites.sprite(v, "wheel-big"), 33, 10)
    return s


def mgcar():
    v = grids("vehicles.txt")
    s = sprites.Sprite.blank(24, 21)
    s.paste(sprites.sprite(v, "mgcar"), 4, 0)
    return s


def kneel(stand, legs):
    out = stand.copy()
    for y in range(13, out.h):
        for x in range(7, 18):
            out.set(x, y, ".")
    out.paste(legs, 0, 13)
    return out


def bright(spr):
    return spr.recoloured({"G": "l", "g": "G", "l": "w", "n": "y", "b": "o"})


def build_cells():
    e = grids("enemy.txt")
    g = lambda name: sprites.sprite(e, name)  # noqa: E731
    cells = {}
    walk = soldiers.walking_cells("soldier")
    cells.update(walk)
    cells[20] = bike()
    cells[22] = bike("rider-throw0")
    cells[24] = bike("rider-throw1")
    cells[26] = jeep()
    cells[28] = g("dying0")
    cells[29] = g("dying1")
    kid = soldiers.walking_cells("kidnapper")
    cells[30], cells[31] = kid[17], kid[19]
    cells[32], cells[33] = g("jump0"), g("jump1")
    legs = g("kneel-legs")
    cells[34] = kneel(walk[4], legs)
    cells[35] = kneel(walk[7], legs)
    cells[36] = kneel(walk[10], legs.mirrored())
    cells[37], cells[38] = g("guard-dying0"), g("guard-dying1")
    # The captive wears prisoner's orange, unlike anyone else.
    prisoner = {"w": "y", "f": "o"}
    cells[39], cells[40] = g("captive0").recoloured(prisoner), g("captive1").recoloured(prisoner)
    cells[41], cells[42] = g("freed0").recoloured(prisoner), g("freed1").recoloured(prisoner)
    cells[43] = score_sprite("2000")
    cells[44] = score_sprite("1000")
    cells[45], cells[46] = g("jump0").mirrored(), g("jump1").mirrored()
    cells[55] = mgcar()
    cells[56], cells[57] = g("throw-wait"), g("throw-raise")
    baz = g("bazooka")
    cells[58] = baz.copy().replace_rows(g("bazooka-legs0"), 14)
    cells[59] = baz
    cells[60] = baz.copy().replace_rows(g("bazooka-legs2"), 14)
    cells[61] = baz
    cells[62] = g("rocket-down")
    cells[63] = g("rocket-down-right").mirrored()
    cells[64] = g("rocket-down-right")
    cells[65], cells[66] = g("trench-down"), g("trench-half")
    cells[67], cells[83] = g("flame0"), g("flame1")
    verde = soldiers.walking_cells("verde")
    cells[68], cells[69] = verde[48], verde[50]
    cells[78], cells[79] = verde[52], verde[54]
    cells[74] = lorry()
    cells[76] = g("pack")
    cells[77] = bright(g("pack"))
    cells[81] = bike().mirrored()
    return cells


def build():
    sheet = sprites.Sheet(24, 21, COLS, ROWS)
    for i, c in build_cells().items():
        if c.w > 24:
            sheet.put_wide(i, c)
        else:
            sheet.put(i, c)
    return sheet


if __name__ == "__main__":
    run(build)
