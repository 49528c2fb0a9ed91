"""Huts and the fortress gate, drawn by code in the game's palette."""

from picture import sprites


def planks(spr, x0, y0, w, h, light="n", mid="h", dark="b", vertical=True, step=4):
    for y in range(y0, y0 + h):
        for x in range(x0, x0 + w):
            i = (x - x0) if vertical else (y - y0)
            j = (y - y0) if vertical else (x - x0)
            if i % step == step - 1:
                key = dark
            elif i % step == 0:
                key = light
            else:
                key = mid
            # A board joint now and then.
            if j % 17 == (i // step * 5) % 17 and i % step != 0:
                key = dark
            spr.set(x, y, key)


def frame(spr, x0, y0, w, h, key="k"):
    for x in range(x0, x0 + w):
        spr.set(x, y0, key)
        spr.set(x, y0 + h - 1, key)
    for y in range(y0, y0 + h):
        spr.set(x0, y, key)
        spr.set(x0 + w - 1, y, key)


def fill(spr, x0, y0, w, h, key):
    for y in range(y0, y0 + h):
        for x in range(x0, x0 + w):
            spr.set(x, y, key)


def hut_left():
    """The hut at the left edge: thatched roof seen from above, the plank
    wall with a gun slit on the side facing the field (the right)."""
    s = sprites.Sprite.blank(48, 72)
    # Sandbags round the foot of the hut.
    for i in range(7):
        for bx, by in ((i * 7, 64),):
            fill(s, bx + 1, by + 1, 6, 5, "n")
            frame(s, bx, by, 8, 7)
            s.set(bx + 2, by + 2, "z")
    # Wall.
    fill(s, 0, 30, 44, 36, "b")
    planks(s, 1, 31, 42, 34, light="h", mid="b", dark="k", vertical=True, step=5)
    frame(s, 0, 30, 44, 36)
    # Door at the front.
    fill(s, 6, 46, 12, 19, "k")
    planks(s, 7, 47, 10, 18, light="b", mid="r", dark="k", vertical=True, step=5)
    s.set(15, 56, "y")
    # The gun slit with a riveted steel shield in it, and the gun's barrel
    # poking out through the shield towards the field, lit along its top
    # and ending in a muzzle brake, so the hut reads as a gun post and its
    # shells plainly come from it (a thin dark bar there read as a pipe).
    fill(s, 27, 35, 16, 9, "k")
    fill(s, 29, 36, 10, 7, "d")
    for x in range(29, 39):
        s.set(x, 36, "e")
    for x, y in ((30, 38), (37, 38), (30, 41), (37, 41)):
        s.set(x, y, "k")
    fill(s, 34, 37, 14, 5, "k")
    for x in range(35, 47):
        s.set(x, 38, "f" if x < 42 else "e")
        s.set(x, 39, "e")
        s.set(x, 40, "d")
    fill(s, 42, 36, 5, 7, "k")
    fill(s, 43, 37, 3, 5, "d")
    for x in (43, 44, 45):
        s.set(x, 37, "e")
    s.set(47, 39, "k")
    # Roof: thatch in rows, with a ridge and an overhang over the wall.
    for y in range(0, 33):
        inset = max(0, 6 - y) if y < 6 else 0
        for x in range(inset, 46 - inset):
            k = "n" if (x + 2 * (y // 3)) % 5 else "h"
            if y % 3 == 2:
                k = "h" if (x + y) % 4 else "b"
            s.set(x, y, k)
    for x in range(0, 46):
        s.set(x, 33, "b")
        s.set(x, 34, "k")
    for y in range(0, 34):
        s.set(22, y, "y" if y % 2 else "n")
        s.set(23, y, "b")
    # Roof outline.
    for y in range(0, 34):
        inset = max(0, 6 - y) if y < 6 else 0
        s.set(inset, y, "k")
        s.set(45 - inset, y, "k")
    for x in range(6, 40):
        s.set(x, 0, "k")
    return s


def gate_closed():
    """The closed fortress gate, 88 x 48: two iron-banded wooden leaves."""
    s = sprites.Sprite.blank(88, 48)
    fill(s, 0, 0, 88, 48, "d")
    frame(s, 0, 0, 88, 48)
    for leaf_x in (2, 45):
        fill(s, leaf_x, 2, 41, 44, "b")
        planks(s, leaf_x, 2, 41, 44, light="h", mid="b", dark="k", vertical=True, step=5)
        frame(s, leaf_x, 2, 41, 44)
        for band_y in (8, 23, 38):
            fill(s, leaf_x + 1, band_y, 39, 3, "e")
            for x in range(leaf_x + 1, leaf_x + 40):
                s.set(x, band_y + 2, "d")
                s.set(x, band_y, "f")
            for x in range(leaf_x + 3, leaf_x + 40, 6):
                s.set(x, band_y + 1, "k")
    # The bar across both leaves and its lock.
    fill(s, 30, 26, 28, 4, "e")
    frame(s, 30, 26, 28, 4)
    fill(s, 40, 24, 8, 8, "y")
    frame(s, 40, 24, 8, 8)
    s.set(43, 27, "k")
    s.set(44, 27, "k")
    s.set(43, 28, "k")
    return s


def gate_wing():
    """One open gate leaf seen edge-on against the wall, 16 x 64."""
    s = sprites.Sprite.blank(16, 64)
    fill(s, 2, 0, 12, 64, "b")
    planks(s, 3, 1, 10, 62, light="h", mid="b", dark="k", vertical=False, step=6)
    frame(s, 2, 0, 12, 64)
    for band_y in (6, 30, 54):
        fill(s, 3, band_y, 10, 3, "e")
        for x in range(3, 13):
            s.set(x, band_y, "f")
            s.set(x, band_y + 2, "d")
    # Hinge post.
    fill(s, 0, 0, 2, 64, "d")
    for y in range(0, 64, 8):
        s.set(1, y + 3, "f")
    return s
