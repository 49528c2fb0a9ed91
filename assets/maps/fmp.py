"""Writing and reading the FMP tile-map container used by the game.

The writer produces exactly the subset the game's map reader is built
around: a little-endian type-1 map (one 16-bit block number per cell),
24-bit block graphics, a full 38-byte header, block records, graphics and
layers 0 and 1.  The reader understands the same subset and is used by the
consistency checker and the review tool, which look at the files the build
really produced.
"""

import struct

MASK_RGB = (255, 0, 255)

FLAG_TL = 0x01  # solid: the game's collision flag
FLAG_BR = 0x08  # deadly where also solid (water, pits)


class Map:
    """One tile map: 8x8 graphics, block records and layers of cells."""

    def __init__(self, width, height, block_w=8, block_h=8):
        self.width = width
        self.height = height
        self.block_w = block_w
        self.block_h = block_h
        # Each graphic is a list of block_h rows of block_w (r, g, b).
        self.graphics = []
        # Each block is (bg graphic number, flags byte).
        self.blocks = []
        # layers[n][y][x] = block number
        self.layers = []

    def flags_at(self, layer, cx, cy):
        """Flags of the block in a cell; outside the map, block 0's."""
        if 0 <= cx < self.width and 0 <= cy < self.height:
            return self.blocks[self.layers[layer][cy][cx]][1]
        return self.blocks[0][1]

    def solid_px(self, px, py):
        """The game's collision probe on layer 0 (cells of 8 px)."""
        cx = int(px / self.block_w)  # toward zero, as the game divides
        cy = int(py / self.block_h)
        return bool(self.flags_at(0, cx, cy) & FLAG_TL)


def _chunk(ident, data):
    return ident + struct.pack(">I", len(data)) + data


def encode(m):
    """The bytes of an FMP file for map m."""
    assert m.block_w == 8 and m.block_h == 8
    nblk, ngfx = len(m.blocks), len(m.graphics)
    assert 0 < nblk <= 32767 and 0 < ngfx <= 32767
    mphd = bytes([1, 0, 1, 1]) + struct.pack(
        "<10h", m.width, m.height, 0, 0, m.block_w, m.block_h, 24, 32, nblk, ngfx)
    mphd += bytes([0]) + bytes(MASK_RGB)
    mphd += struct.pack("<5h", m.block_w, m.block_h, 0, 0, 0)
    assert len(mphd) == 38
    bkdt = bytearray()
    for gfx, flags in m.blocks:
        bkdt += struct.pack("<6i2h", gfx, 0, 0, 0, 0, 0, 0, 0)
        bkdt += bytes([0, 0, 0, flags & 0xFF])
    bgfx = bytearray()
    for g in m.graphics:
        assert len(g) == m.block_h and all(len(row) == m.block_w for row in g)
        for row in g:
            for rgb in row:
                bgfx += bytes(rgb)
    chunks = [_chunk(b"MPHD", mphd), _chunk(b"BKDT", bytes(bkdt)), _chunk(b"BGFX", bytes(bgfx))]
    for n, layer in enumerate(m.layers):
        ident = b"BODY" if n == 0 else b"LYR%d" % n
        assert len(layer) == m.height
        cells = bytearray()
        for row in layer:
            assert len(row) == m.width
            cells += struct.pack("<%dh" % m.width, *row)
        chunks.append(_chunk(ident, bytes(cells)))
    body = b"FMAP" + b"".join(chunks)
    return b"FORM" + struct.pack(">I", len(body)) + body


def decode(data):
    """A Map from the bytes of a file written by encode (strict)."""
    if data[:4] != b"FORM" or data[8:12] != b"FMAP":
        raise ValueError("not an FMP file")
    (total,) = struct.unpack(">I", data[4:8])
    if total + 8 != len(data):
        raise ValueError("FORM length %d does not match the file size %d" % (total, len(data)))
    pos = 12
    chunks = {}
    while pos < len(data):
        ident = data[pos:pos + 4]
        (n,) = struct.unpack(">I", data[pos + 4:pos + 8])
        chunks[ident] = data[pos + 8:pos + 8 + n]
        if pos + 8 + n > len(data):
            raise ValueError("chunk %r runs past the end" % ident)
        pos += 8 + n
    h = chunks[b"MPHD"]
    if h[2] != 1 or h[3] != 1:
        raise ValueError("only little-endian type-1 maps are read here")
    w, ht, _, _, bw, bh, depth, _, nblk, ngfx = struct.unpack("<10h", h[4:24])
    if depth != 24:
        raise ValueError("only 24-bit graphics are read here")
    m = Map(w, ht, bw, bh)
    bk = chunks[b"BKDT"]
    for i in range(nblk):
        rec = bk[32 * i:32 * i + 32]
        m.blocks.append((struct.unpack("<i", rec[0:4])[0], rec[31]))
    gx = chunks[b"BGFX"]
    size = bw * bh * 3
    for i in range(ngfx):
        raw = gx[size * i:size * (i + 1)]
        m.graphics.append([[tuple(raw[3 * (y * bw + x):3 * (y * bw + x) + 3]) for x in range(bw)]
                           for y in range(bh)])
    for n in range(8):
        ident = b"BODY" if n == 0 else b"LYR%d" % n
        if ident not in chunks:
            break
        raw = chunks[ident]
        vals = struct.unpack("<%dh" % (w * ht), raw[:2 * w * ht])
        m.layers.append([list(vals[y * w:(y + 1) * w]) for y in range(ht)])
    return m
