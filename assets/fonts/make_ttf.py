#!/usr/bin/python3
"""Writes basic.ttf: the [text] set of the 8 x 8 design as a TrueType font
whose outlines are the lit pixels themselves.  One pixel is 128 units
(unitsPerEm 1024), every glyph advances 1024 units, the ascender is 896 and
the descender -128, so at a size of 8 pixels the rasteriser covers exactly
the designed pixels: advance 8, line pitch 8, row 0 at the top of the line.
Each horizontal run of lit pixels in a row becomes one rectangle."""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import glyphs  # noqa: E402
from fontTools.fontBuilder import FontBuilder  # noqa: E402
from fontTools.pens.ttGlyphPen import TTGlyphPen  # noqa: E402

UNITS_PER_PIXEL = 128
UPM = 8 * UNITS_PER_PIXEL
ASCENT = 7 * UNITS_PER_PIXEL
DESCENT = -1 * UNITS_PER_PIXEL
FAMILY = "Velmarok Basic"
# A fixed date (1 January 2020, in seconds since 1904) so that the file is
# the same on every build.
TIMESTAMP = 3660681600


def runs(row):
    """(start, end) column pairs of the lit runs in a row, end exclusive."""
    out = []
    x = 0
    while x < len(row):
        if glyphs.lit(row[x]):
            start = x
            while x < len(row) and glyphs.lit(row[x]):
                x += 1
            out.append((start, x))
        else:
            x += 1
    return out


def glyph_outline(rows):
    pen = TTGlyphPen(None)
    for y, row in enumerate(rows):
        top = ASCENT - y * UNITS_PER_PIXEL
        bottom = top - UNITS_PER_PIXEL
        for x0, x1 in runs(row):
            left, right = x0 * UNITS_PER_PIXEL, x1 * UNITS_PER_PIXEL
            # Clockwise, as TrueType wants for filled contours.
            pen.moveTo((left, bottom))
            pen.lineTo((left, top))
            pen.lineTo((right, top))
            pen.lineTo((right, bottom))
            pen.closePath()
    return pen.glyph()


def glyph_name(code):
    return "space" if code == 32 else f"uni{code:04X}"


def build(design=glyphs.DESIGN):
    text = glyphs.read(design)["text"]
    codes = sorted(c for c in text if 32 <= c <= 126)
    order = [".notdef"] + [glyph_name(c) for c in codes]
    fb = FontBuilder(UPM, isTTF=True)
    fb.setupGlyphOrder(order)
    fb.setupCharacterMap({c: glyph_name(c) for c in codes})
    # .notdef: a hollow box, so a missing character shows as such.
    box = ["#######."] + ["#.....#."] * 5 + ["#######.", "........"]
    outlines = {".notdef": glyph_outline(box)}
    for c in codes:
        outlines[glyph_name(c)] = glyph_outline(text[c])
    fb.setupGlyf(outlines)
    glyf = fb.font["glyf"]
    metrics = {}
    for name in order:
        g = glyf[name]
        g.recalcBounds(glyf)
        metrics[name] = (UPM, getattr(g, "xMin", 0) if g.numberOfContours else 0)
    fb.setupHorizontalMetrics(metrics)
    fb.setupHorizontalHeader(ascent=ASCENT, descent=DESCENT, lineGap=0)
    fb.setupNameTable({"familyName": FAMILY, "styleName": "Regular",
                       "uniqueFontIdentifier": "Velmarok Basic 8x8",
                       "fullName": FAMILY, "psName": "VelmarokBasic-Regular",
                       "version": "Version 1.000"})
    fb.setupOS2(sTypoAscender=ASCENT, sTypoDescender=DESCENT, sTypoLineGap=0,
                usWinAscent=ASCENT, usWinDescent=-DESCENT, xAvgCharWidth=UPM,
                fsSelection=0x40, achVendID="VLMK",
                panose={"bFamilyType": 2, "bSerifStyle": 0, "bWeight": 5, "bProportion": 9,
                        "bContrast": 0, "bStrokeVariation": 0, "bArmStyle": 0,
                        "bLetterForm": 0, "bMidline": 0, "bXHeight": 0})
    fb.setupPost(isFixedPitch=1, underlinePosition=-UNITS_PER_PIXEL, underlineThickness=UNITS_PER_PIXEL)
    # No hinting instructions: the outlines already sit on the pixel grid.
    # gasp: no grid-fitting and no smoothing needed at any size.
    font = fb.font
    from fontTools.ttLib import newTable
    gasp = newTable("gasp")
    gasp.version = 1
    gasp.gaspRange = {0xFFFF: 0x000A}
    font["gasp"] = gasp
    head = font["head"]
    head.created = head.modified = TIMESTAMP
    head.flags |= 0x0008  # integer pixel scaling
    head.lowestRecPPEM = 8
    return font


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_ttf.py OUTPUT.ttf")
    font = build()
    out = sys.argv[1]
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    tmp = out + ".tmp"
    font.recalcTimestamp = False
    font.save(tmp, reorderTables=True)
    os.replace(tmp, out)


if __name__ == "__main__":
    main()
