"""Shared set-up of the data tests: where the built data and the generator
sources are, and small readers."""

import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.abspath(os.path.join(HERE, "..", ".."))
ASSETS = os.path.join(REPO, "assets")
DATA = os.environ.get("VELMAROK_DATA", os.path.join(REPO, "build", "bin", "Data"))
BIN = os.environ.get("VELMAROK_BIN", os.path.dirname(DATA))
PYTHON = sys.executable

for sub in ("common", "fonts", "pictures", "sounds", "areas"):
    sys.path.insert(0, os.path.join(ASSETS, sub))

MASK = (255, 0, 255)


def graphics(name):
    return os.path.join(DATA, "Graphics", name)


def read_png(path):
    """(width, height, channels, rows of pixel tuples), decoding the PNG
    ourselves so that the test sees exactly the stored bytes."""
    with open(path, "rb") as f:
        data = f.read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", path
    pos = 8
    idat = b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            w, h, depth, ctype, _, _, interlace = struct.unpack(">IIBBBBB", body)
            assert depth == 8 and interlace == 0 and ctype in (2, 6), (path, depth, ctype)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    ch = 4 if ctype == 6 else 3
    raw = zlib.decompress(idat)
    stride = w * ch
    rows, prev = [], bytearray(stride)
    i = 0
    for _ in range(h):
        ftype = raw[i]
        line = bytearray(raw[i + 1:i + 1 + stride])
        i += 1 + stride
        for x in range(stride):
            a = line[x - ch] if x >= ch else 0
            b = prev[x]
            c = prev[x - ch] if x >= ch else 0
            if ftype == 1:
                line[x] = (line[x] + a) & 255
            elif ftype == 2:
                line[x] = (line[x] + b) & 255
            elif ftype == 3:
                line[x] = (line[x] + (a + b) // 2) & 255
            elif ftype == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[x] = (line[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append([tuple(line[x:x + ch]) for x in range(0, stride, ch)])
        prev = line
    return w, h, ch, rows


def cell(rows, index, cw, chh, cols):
    x0, y0 = (index % cols) * cw, (index // cols) * chh
    return [r[x0:x0 + cw] for r in rows[y0:y0 + chh]]


def opaque(px):
    return len(px) == 3 or px[3] == 255
