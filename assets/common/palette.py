"""The game's one palette: every picture and every map tile is drawn with
these colours, so the whole game shares one 8-bit look.

Pixel-art sources (text grids) use the single-character keys below; '.'
is transparent and becomes the mask colour (255, 0, 255) with alpha 0.
"""

MASK = (255, 0, 255)

# key: (name, (r, g, b))
COLOURS = {
    "k": ("black", (0, 0, 0)),
    "w": ("white", (255, 255, 255)),
    "r": ("dark red", (136, 32, 32)),
    "R": ("red", (214, 64, 48)),
    "o": ("orange", (232, 140, 40)),
    "y": ("yellow", (240, 220, 90)),
    "s": ("skin", (236, 180, 130)),
    "b": ("brown", (120, 76, 36)),
    "n": ("sand", (214, 190, 120)),
    "h": ("khaki", (160, 150, 80)),
    "g": ("dark green", (32, 84, 36)),
    "G": ("green", (72, 150, 56)),
    "l": ("light green", (150, 206, 90)),
    "u": ("dark blue", (28, 40, 120)),
    "U": ("blue", (60, 110, 200)),
    "c": ("light blue", (120, 190, 230)),
    "d": ("dark grey", (68, 68, 76)),
    "e": ("grey", (140, 140, 150)),
    "f": ("light grey", (200, 200, 208)),
    # Shades for the battlefield's ground (the tile maps).
    "j": ("deep green", (22, 56, 32)),
    "a": ("olive", (118, 126, 48)),
    "m": ("dune", (188, 160, 96)),
    "z": ("pale sand", (234, 216, 158)),
    "q": ("ash", (50, 44, 40)),
    # The ground's lightest details (pale petals, worn paint, the glint of
    # water at its shore) stay well below white: pure white is the enemy
    # bullets' colour, and they must stand out on any ground.
    "p": ("cream", (236, 226, 184)),
    "x": ("foam", (188, 224, 236)),
    # The desert's warm ochre sand, a step darker than the pale sand, so
    # that white bullets stand out on it.
    "Y": ("ochre", (200, 164, 102)),
    # The lee faces of the desert's dunes, turned away from the sun.
    "J": ("dune shade", (156, 122, 70)),
    # The red-rock canyon: its floor of clay and dust, and its rock from
    # the sunlit sandstone down to the deep red of its shadows.
    "t": ("terracotta", (164, 94, 60)),
    "i": ("clay", (190, 122, 80)),
    "O": ("sandstone", (214, 158, 108)),
    "Q": ("rust", (172, 72, 44)),
    "D": ("oxblood", (118, 46, 34)),
    "V": ("deep red", (72, 30, 26)),
    # Rivers and marshes (the farmland's brook and pond, the jungle's
    # river): water the colour of its depth, from the murky green-blue of
    # the deep channel to the shallows over a muddy bed, and the peaty
    # black-green of a marsh pool under its weed.
    "H": ("river shade", (18, 42, 62)),
    "A": ("deep river", (26, 60, 88)),
    "B": ("river", (40, 92, 118)),
    "C": ("shallows", (78, 130, 132)),
    "E": ("marsh water", (34, 44, 32)),
    "F": ("marsh shine", (60, 74, 58)),
}

TRANSPARENT_KEY = "."


def rgb(key):
    """The colour of a palette key; '.' gives the mask colour."""
    if key == TRANSPARENT_KEY:
        return MASK
    return COLOURS[key][1]
