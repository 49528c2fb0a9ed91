#!/usr/bin/python3
"""icon.png: the window icon, 32 x 32, a hand grenade (transparent around).

The body is a ribbed egg lit from the upper left, with the fuse head, its
lever down the right side and the pull ring at the upper left, all in the
game's palette with a black outline so that it reads at 16 x 16 too.
"""

from picture import run, sprites

S = 32


def build():
    s = sprites.Sprite.blank(S, S)
    body = set()
    cx, cy, rx, ry = 15.5, 20.0, 9.6, 10.4
    for y in range(S):
        for x in range(S):
            dx, dy = (x + 0.5 - cx) / rx, (y + 0.5 - cy) / ry
            if dx * dx + dy * dy <= 1.0:
                body.add((x, y))
    # Body: olive, ribbed in a grid of squares, lit from the upper left.
    for (x, y) in body:
        dx, dy = (x + 0.5 - cx) / rx, (y + 0.5 - cy) / ry
        light = -0.6 * dx - 0.7 * dy
        key = "a" if light > 0.35 else ("G" if light > -0.1 else ("g" if light > -0.6 else "j"))
        if (x - 2) % 5 == 0 or (y - 12) % 5 == 0:
            key = {"a": "G", "G": "g", "g": "j", "j": "j"}[key]
        s.set(x, y, key)
    for (x, y) in ((10, 14), (11, 14), (10, 15), (9, 17), (9, 18), (12, 13)):
        s.set(x, y, "l")
    # Fuse head on top.
    for y in range(6, 11):
        for x in range(12, 20):
            s.set(x, y, "f" if x < 14 else ("e" if x < 18 else "d"))
    for x in range(11, 21):
        s.set(x, 10, "d")
    # The lever, down the right side of the body.
    lever = [(19, 5), (20, 5), (21, 6), (22, 7), (23, 8), (24, 10), (25, 12), (25, 14), (25, 16), (24, 18)]
    for (x, y) in lever:
        s.set(x, y, "f")
        s.set(x + 1, y, "e")
    # The pull ring at the upper left.
    ring = [(9, 3), (10, 3), (11, 3), (8, 4), (12, 4), (7, 5), (13, 5), (7, 6), (13, 6),
            (8, 7), (12, 7), (9, 8), (10, 8), (11, 8)]
    for (x, y) in ring:
        s.set(x, y, "y")
    s.set(12, 8, "o")
    # Outline everything in black.
    lit = {(x, y) for y in range(S) for x in range(S) if s.get(x, y) != "."}
    for (x, y) in lit:
        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            p = (x + dx, y + dy)
            if p not in lit and 0 <= p[0] < S and 0 <= p[1] < S:
                s.set(p[0], p[1], "k")
    return s


if __name__ == "__main__":
    run(build)
