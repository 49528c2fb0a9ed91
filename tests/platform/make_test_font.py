#!/usr/bin/python3
"""Writes a tiny TrueType font for the font tests: 800 units per em, so at
8 pixels one pixel is 100 units and every outline sits on the pixel grid.

    'A'  a 5 x 7 pixel block one pixel right of the pen, advance 8
    'i'  a 2 x 5 pixel block one pixel right of the pen, advance 4
    ' '  empty, advance 4
Ascender 7 pixels, descender 1: a line is 8 pixels high.
"""
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen


def block(x0, y0, x1, y1):
    pen = TTGlyphPen(None)
    pen.moveTo((x0, y0))
    pen.lineTo((x0, y1))
    pen.lineTo((x1, y1))
    pen.lineTo((x1, y0))
    pen.closePath()
    return pen.glyph()


def main(out):
    fb = FontBuilder(800, isTTF=True)
    order = [".notdef", "space", "A", "i"]
    fb.setupGlyphOrder(order)
    fb.setupCharacterMap({32: "space", 65: "A", 105: "i"})
    empty = TTGlyphPen(None).glyph()
    fb.setupGlyf({".notdef": empty, "space": empty, "A": block(100, 0, 600, 700),
                  "i": block(100, 0, 300, 500)})
    fb.setupHorizontalMetrics({".notdef": (400, 0), "space": (400, 0), "A": (800, 100),
                               "i": (400, 100)})
    fb.setupHorizontalHeader(ascent=700, descent=-100)
    fb.setupNameTable({"familyName": "GridTest", "styleName": "Regular"})
    fb.setupOS2(sTypoAscender=700, sTypoDescender=-100, usWinAscent=700, usWinDescent=100)
    fb.setupPost()
    fb.save(out)


if __name__ == "__main__":
    main(sys.argv[1])
