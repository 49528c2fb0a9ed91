"""Explosions, bursts and shells drawn by code: round, lumpy fireballs whose
colour falls from white-hot in the middle to dark red at the rim."""

import math

from picture import sprites


def _noise(seed, i):
    """A fixed pseudo-random value in 0..1 (the same every run)."""
    v = (seed * 7919 + i * 104729 + 1013) % 2147483647
    v = (v * 48271) % 2147483647
    v = (v * 48271) % 2147483647
    return v / 2147483647.0


def fireball(radius, seed, bands, cx=11.5, cy=10.0, w=24, h=21, lumps=9, smoke=None):
    """A lumpy ball; bands are (fraction of the radius, key) from inside out.
    smoke: key of the dark puffs scattered round the rim."""
    s = sprites.Sprite.blank(w, h)
    bumps = [0.75 + 0.35 * _noise(seed, i) for i in range(lumps)]
    for y in range(h):
        for x in range(w):
            dx, dy = x + 0.5 - cx - 0.5, (y + 0.5 - cy - 0.5) * 1.1
            d = math.hypot(dx, dy)
            a = (math.atan2(dy, dx) + math.pi) / (2 * math.pi) * lumps
            i0 = int(a) % lumps
            f = a - int(a)
            edge = radius * (bumps[i0] * (1 - f) + bumps[(i0 + 1) % lumps] * f)
            if d <= edge:
                t = d / edge
                for frac, key in bands:
                    if t <= frac:
                        s.set(x, y, key)
                        break
    if smoke:
        for i in range(lumps):
            ang = 2 * math.pi * (i + 0.5 * _noise(seed + 5, i)) / lumps
            rr = radius * (0.95 + 0.25 * _noise(seed + 9, i))
            px, py = cx + math.cos(ang) * rr, cy + math.sin(ang) * rr / 1.1
            for yy in range(int(py) - 1, int(py) + 2):
                for xx in range(int(px) - 1, int(px) + 2):
                    if 0 <= xx < w and 0 <= yy < h and s.get(xx, yy) == "." and (xx + yy + i) % 3:
                        s.set(xx, yy, smoke)
    return s


HOT = [(0.25, "w"), (0.5, "y"), (0.72, "o"), (0.88, "R"), (1.0, "r")]
DIRTY = [(0.18, "y"), (0.42, "o"), (0.65, "R"), (0.85, "r"), (1.0, "b")]


def sparks(spr, n, radius, seed, key, cx=11.5, cy=10.0):
    for i in range(n):
        ang = 2 * math.pi * (i + 0.4 * _noise(seed, i)) / n
        rr = radius * (0.8 + 0.3 * _noise(seed + 3, i))
        spr.set(int(cx + math.cos(ang) * rr), int(cy + math.sin(ang) * rr), key)
    return spr


def ball(radius, light, mid, dark, cx=11.5, cy=10.0):
    """A shaded sphere with a black rim (shells)."""
    s = sprites.Sprite.blank(24, 21)
    for y in range(21):
        for x in range(24):
            d = math.hypot(x + 0.5 - cx - 0.5, y + 0.5 - cy - 0.5)
            if d <= radius + 0.2:
                if d > radius - 0.9:
                    s.set(x, y, "k")
                else:
                    hl = math.hypot(x + 0.5 - (cx + 0.5 - radius * 0.35), y + 0.5 - (cy + 0.5 - radius * 0.35))
                    s.set(x, y, light if hl < radius * 0.45 else mid if d < radius * 0.7 else dark)
    return s
