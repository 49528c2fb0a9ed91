"""Common entry of the picture generators: each sheet script defines
build() and calls run(build) so that `python3 <script> OUTPUT.png` writes it."""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "common"))

import sprites  # noqa: E402


def grids(name):
    return sprites.load_grids(os.path.join(HERE, name))


def run(build):
    if len(sys.argv) != 2:
        sys.exit(f"usage: {os.path.basename(sys.argv[0])} OUTPUT.png")
    result = build()
    if isinstance(result, sprites.Sheet):
        result = result.canvas
    if isinstance(result, sprites.Sprite):
        sprites.write_sprite_png(sys.argv[1], result)
    else:
        # An opaque picture: (width, height, [(r, g, b), ...]).
        w, h, pixels = result
        sprites.write_rgb_png(sys.argv[1], w, h, pixels)
