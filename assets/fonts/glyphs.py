"""Reader for the 8 x 8 font design (glyphs8x8.txt).

The design holds two sets of grids, [text] and [game]; see the comments at
the top of glyphs8x8.txt.  A glyph is a list of 8 strings of 8 characters:
'.' empty, '#' white, any other character a palette key.
"""

import os

DESIGN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "glyphs8x8.txt")
SIZE = 8
EMPTY = "." * SIZE
SETS = ("text", "game")


class DesignError(ValueError):
    pass


def read(path=DESIGN):
    """Both sets of the design: {"text": {code: rows}, "game": {code: rows}}."""
    sets = {name: {} for name in SETS}
    current = None
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    i = 0
    while i < len(lines):
        line = lines[i].rstrip("\r")
        stripped = line.strip()
        i += 1
        if not stripped or stripped == "#" or stripped.startswith("# "):
            continue
        if stripped.startswith("[") and stripped.endswith("]"):
            current = stripped[1:-1]
            if current not in sets:
                raise DesignError(f"{path}:{i}: unknown set [{current}]")
            continue
        words = stripped.split(None, 2)
        if words[0] != "char" or len(words) < 2:
            raise DesignError(f"{path}:{i}: expected 'char CODE LABEL', got {line!r}")
        if current is None:
            raise DesignError(f"{path}:{i}: glyph outside a [text] or [game] set")
        try:
            code = int(words[1])
        except ValueError:
            raise DesignError(f"{path}:{i}: bad character code {words[1]!r}") from None
        if not 0 <= code <= 255:
            raise DesignError(f"{path}:{i}: character code {code} out of 0..255")
        if code in sets[current]:
            raise DesignError(f"{path}:{i}: character {code} drawn twice in [{current}]")
        rows = [r.rstrip("\r") for r in lines[i:i + SIZE]]
        for n, r in enumerate(rows):
            if len(r) != SIZE or " " in r:
                raise DesignError(f"{path}:{i + n + 1}: grid rows must be {SIZE} characters, got {r!r}")
        if len(rows) != SIZE:
            raise DesignError(f"{path}:{i}: glyph {code} has fewer than {SIZE} rows")
        sets[current][code] = rows
        i += SIZE
    return sets


def text_set(path=DESIGN):
    """The plain character set, 256 glyphs (codes without a grid are empty)."""
    text = read(path)["text"]
    return [text.get(code, [EMPTY] * SIZE) for code in range(256)]


def game_set(path=DESIGN):
    """The bitmap font's 256 cells: the plain set with the game's cells over it."""
    sets = read(path)
    cells = [sets["text"].get(code, [EMPTY] * SIZE) for code in range(256)]
    for code, rows in sets["game"].items():
        cells[code] = rows
    return cells


def lit(ch):
    return ch != "."


def row_bytes(rows):
    """The 8 row bytes of a glyph, most significant bit = leftmost pixel."""
    out = []
    for r in rows:
        b = 0
        for x, ch in enumerate(r):
            if lit(ch):
                b |= 0x80 >> x
        out.append(b)
    return out
