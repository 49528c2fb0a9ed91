"""Pixel-art helpers shared by the picture generators.

A sprite is a grid of palette keys (see palette.py): a list of equal-length
strings, '.' transparent.  Grid files hold named grids:

    # comment
    @name
    ..kk..
    .kRRk.

A grid ends at the first blank line or the next '@' header.  The helpers
mirror, recolour, overlay and place grids, and write the sheet as an RGBA PNG
in which every transparent pixel is the mask colour (255, 0, 255) with
alpha 0, so it is see-through both for a mask test and for alpha blending.
"""

import os
import zlib
import struct

from palette import MASK, TRANSPARENT_KEY, rgb


class GridError(ValueError):
    pass


def load_grids(path):
    grids = {}
    name = None
    rows = []

    def close(lineno):
        nonlocal name, rows
        if name is not None:
            if not rows:
                raise GridError(f"{path}:{lineno}: grid @{name} is empty")
            w = len(rows[0])
            for i, r in enumerate(rows):
                if len(r) != w:
                    raise GridError(f"{path}: grid @{name} row {i} is {len(r)} wide, expected {w}: {r!r}")
            if name in grids:
                raise GridError(f"{path}: grid @{name} defined twice")
            grids[name] = rows
        name, rows = None, []

    with open(path, encoding="utf-8") as f:
        for lineno, line in enumerate(f, 1):
            line = line.rstrip("\r\n")
            s = line.strip()
            if s.startswith("@"):
                close(lineno)
                name = s[1:].strip()
                continue
            if not s:
                close(lineno)
                continue
            if s.startswith("#") and (len(s) == 1 or s[1] == " "):
                continue
            if name is None:
                raise GridError(f"{path}:{lineno}: grid row outside a grid: {line!r}")
            rows.append(s)
    close(0)
    return grids


class Sprite:
    """A mutable grid of palette keys."""

    def __init__(self, rows):
        self.rows = [list(r) for r in rows]

    @classmethod
    def blank(cls, w, h):
        return cls(["." * w] * h)

    @property
    def w(self):
        return len(self.rows[0]) if self.rows else 0

    @property
    def h(self):
        return len(self.rows)

    def copy(self):
        return Sprite(["".join(r) for r in self.rows])

    def get(self, x, y):
        if 0 <= y < self.h and 0 <= x < self.w:
            return self.rows[y][x]
        return TRANSPARENT_KEY

    def set(self, x, y, key):
        if 0 <= y < self.h and 0 <= x < self.w:
            self.rows[y][x] = key

    def mirrored(self):
        return Sprite(["".join(reversed(r)) for r in self.rows])

    def flipped(self):
        return Sprite(["".join(r) for r in reversed(self.rows)])

    def recoloured(self, mapping):
        return Sprite(["".join(mapping.get(c, c) for c in r) for r in self.rows])

    def shifted(self, dx, dy):
        out = Sprite.blank(self.w, self.h)
        out.paste(self, dx, dy)
        return out

    def paste(self, other, x, y, opaque=False):
        """Draws another sprite over this one with its top-left at (x, y)."""
        for yy, r in enumerate(other.rows):
            for xx, c in enumerate(r):
                if c != TRANSPARENT_KEY or opaque:
                    self.set(x + xx, y + yy, c)
        return self

    def replace_rows(self, other, y):
        """Replaces whole rows from y on with the rows of another sprite."""
        for i, r in enumerate(other.rows):
            if 0 <= y + i < self.h:
                self.rows[y + i] = list(r)
        return self

    def crop(self, x, y, w, h):
        return Sprite(["".join(self.get(x + i, y + j) for i in range(w)) for j in range(h)])

    def text(self):
        return ["".join(r) for r in self.rows]

    def count(self, key):
        return sum(r.count(key) for r in self.rows)


def sprite(grids, name):
    try:
        return Sprite(grids[name])
    except KeyError:
        raise GridError(f"no grid @{name}") from None


class Sheet:
    """Cells of equal size, numbered left to right then top to bottom."""

    def __init__(self, cell_w, cell_h, cols, rows):
        self.cell_w, self.cell_h, self.cols, self.rows = cell_w, cell_h, cols, rows
        self.canvas = Sprite.blank(cell_w * cols, cell_h * rows)

    def put(self, index, spr, dx=0, dy=0):
        if not 0 <= index < self.cols * self.rows:
            raise GridError(f"cell {index} outside the sheet")
        if spr.w > self.cell_w or spr.h > self.cell_h:
            raise GridError(f"sprite {spr.w}x{spr.h} larger than the cell for cell {index}")
        x = (index % self.cols) * self.cell_w + dx
        y = (index // self.cols) * self.cell_h + dy
        # Clip to the cell so that nothing bleeds into a neighbour.
        for yy, r in enumerate(spr.rows):
            for xx, c in enumerate(r):
                if c != TRANSPARENT_KEY and 0 <= xx + dx < self.cell_w and 0 <= yy + dy < self.cell_h:
                    self.canvas.set(x + xx, y + yy, c)

    def put_wide(self, index, spr):
        """A sprite spanning several neighbouring cells of one row."""
        x = (index % self.cols) * self.cell_w
        y = (index // self.cols) * self.cell_h
        if (index % self.cols) * self.cell_w + spr.w > self.cols * self.cell_w:
            raise GridError(f"wide sprite at cell {index} runs off the row")
        self.canvas.paste(spr, x, y)


def rgba_rows(spr, colour=rgb, opaque_key=None):
    """RGBA bytes per row; the transparent key becomes the mask colour, alpha 0."""
    out = []
    for r in spr.rows:
        b = bytearray()
        for c in r:
            if c == TRANSPARENT_KEY and opaque_key is None:
                b += bytes(MASK) + b"\x00"
            else:
                b += bytes(colour(c if c != TRANSPARENT_KEY else opaque_key)) + b"\xff"
        out.append(bytes(b))
    return out


def write_png_rows(path, width, height, rows, mode="RGBA"):
    """A plain PNG (no time stamp, no text chunks): the same bytes every run."""
    channels = {"RGBA": 4, "RGB": 3}[mode]
    colour_type = {"RGBA": 6, "RGB": 2}[mode]
    raw = bytearray()
    for r in rows:
        if len(r) != width * channels:
            raise GridError(f"{path}: row of {len(r)} bytes, expected {width * channels}")
        raw += b"\x00" + r
    if len(rows) != height:
        raise GridError(f"{path}: {len(rows)} rows, expected {height}")

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    write_atomic(path, png)


def write_sprite_png(path, spr):
    write_png_rows(path, spr.w, spr.h, rgba_rows(spr))


def write_rgb_png(path, width, height, pixels):
    """An opaque picture from a flat list of (r, g, b) tuples."""
    rows = []
    for y in range(height):
        rows.append(bytes(c for p in pixels[y * width:(y + 1) * width] for c in p))
    write_png_rows(path, width, height, rows, mode="RGB")


def write_atomic(path, data):
    folder = os.path.dirname(os.path.abspath(path))
    os.makedirs(folder, exist_ok=True)
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
        f.flush()
        os.fsync(f.fileno())
    os.replace(tmp, path)


def scaled(spr, n):
    """Every pixel as an n x n block."""
    return Sprite(["".join(c * n for c in r) for r in spr.rows for _ in range(n)])
