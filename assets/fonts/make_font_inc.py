#!/usr/bin/python3
"""Writes the 8 x 8 font design as a C++ include: a table of 256 characters
of 8 row bytes each, the most significant bit being the leftmost pixel.
Advance 8, height 8.

    make_font_inc.py [--set text|game] [--name NAME] OUTPUT [DESIGN]

--set text (the default) is the plain character set, meant for a built-in
default font; --set game gives the cells of the game's bitmap font.

A library compiles the table in with a custom command in its own folder:

    add_custom_command(
      OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/default_font8x8.inc
      COMMAND ${VELMAROK_PYTHON} -B ${CMAKE_SOURCE_DIR}/assets/fonts/make_font_inc.py
              ${CMAKE_CURRENT_BINARY_DIR}/default_font8x8.inc
      DEPENDS ${CMAKE_SOURCE_DIR}/assets/fonts/make_font_inc.py
              ${CMAKE_SOURCE_DIR}/assets/fonts/glyphs.py
              ${CMAKE_SOURCE_DIR}/assets/fonts/glyphs8x8.txt)

and lists the .inc among its sources (with the binary folder on its include
path).
"""

import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import glyphs  # noqa: E402


def render(cells, name, source):
    out = [
        f"// Generated from {source} by make_font_inc.py: edit the design, not this file.",
        "// 256 characters x 8 rows; bit 7 of a row byte is the leftmost pixel.",
        f"static const unsigned char {name}[256][8] = {{",
    ]
    for code, rows in enumerate(cells):
        values = ", ".join(f"0x{b:02x}" for b in glyphs.row_bytes(rows))
        label = f" '{chr(code)}'" if 33 <= code <= 126 and chr(code) not in "\\" else ""
        out.append(f"    {{{values}}},  // {code}{label}")
    out.append("};")
    return "\n".join(out) + "\n"


def main(argv=None):
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--set", choices=glyphs.SETS, default="text")
    p.add_argument("--name", default="kDefaultFont8x8")
    p.add_argument("output")
    p.add_argument("design", nargs="?", default=glyphs.DESIGN)
    a = p.parse_args(argv)
    cells = glyphs.text_set(a.design) if a.set == "text" else glyphs.game_set(a.design)
    text = render(cells, a.name, os.path.basename(a.design))
    # Only rewrite a changed table so that dependants are not rebuilt for nothing.
    try:
        with open(a.output, encoding="utf-8") as f:
            if f.read() == text:
                return 0
    except OSError:
        pass
    tmp = a.output + ".tmp"
    with open(tmp, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)
    os.replace(tmp, a.output)
    return 0


if __name__ == "__main__":
    sys.exit(main())
