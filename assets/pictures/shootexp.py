#!/usr/bin/python3
"""shootexp.png: the burst where a bullet strikes, 4 cells of 24 x 21,
centred near (11, 10): a flash, a star, scattering sparks, a puff."""

import blasts
from picture import run, sprites

CX, CY = 11.0, 9.5


def build():
    sheet = sprites.Sheet(24, 21, 4, 1)
    f0 = blasts.fireball(2.2, 1, [(0.6, "w"), (1.0, "y")], cx=CX, cy=CY)
    f1 = blasts.fireball(3.5, 2, [(0.35, "w"), (0.7, "y"), (1.0, "o")], cx=CX, cy=CY)
    for i in range(-5, 6):
        if abs(i) > 1:
            f1.set(int(CX + 0.5) + i, int(CY + 0.5), "y" if abs(i) < 4 else "o")
            f1.set(int(CX + 0.5), int(CY + 0.5) + i, "y" if abs(i) < 4 else "o")
    f2 = blasts.sparks(blasts.sparks(blasts.fireball(2.5, 3, [(0.5, "y"), (1.0, "o")], cx=CX, cy=CY),
                                       10, 6.0, 3, "y", cx=CX, cy=CY), 10, 8.0, 4, "o", cx=CX, cy=CY)
    f3 = blasts.sparks(blasts.fireball(4.0, 5, [(0.5, "e"), (1.0, "d")], cx=CX, cy=CY), 8, 8.5, 6, "R", cx=CX, cy=CY)
    for i, f in enumerate((f0, f1, f2, f3)):
        sheet.put(i, f)
    return sheet


if __name__ == "__main__":
    run(build)
