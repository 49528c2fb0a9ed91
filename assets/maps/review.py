"""Review pictures of the maps (a tool, not game data).

    review.py MAPS_FOLDER OUT_FOLDER [--marks] [AREA...]

Writes each map as one tall PNG, layer 0 with layer 1 blended over it, as
the game shows them.  With --marks the picture also shows the checkpoint
views (the 160-px bands), the hero's restart places and the scripted
actors (boxes coloured by kind), to judge the design against the script.
"""

import os
import sys

from PIL import Image, ImageDraw

import fmp

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "areas"))
import area_data  # noqa: E402

MARK_COLOURS = {
    "Granadero": (255, 128, 0), "Corredor": (255, 255, 0), "Vigilante": (255, 0, 0),
    "pack_gr": (0, 255, 255), "Trinchero": (160, 80, 0), "Acuatico": (0, 0, 255),
    "Saltador": (255, 0, 255), "Puentero": (255, 255, 255), "door": (0, 255, 0),
    "vehicle": (128, 128, 128), "Canyonero": (128, 0, 0), "other": (200, 200, 200),
}


def render(m):
    w, h = m.width * 8, m.height * 8
    img = Image.new("RGB", (w, h))
    px = img.load()
    for cy in range(m.height):
        for cx in range(m.width):
            g = m.graphics[m.blocks[m.layers[0][cy][cx]][0]]
            for y in range(8):
                for x in range(8):
                    px[cx * 8 + x, cy * 8 + y] = g[y][x]
    if len(m.layers) > 1:
        for cy in range(m.height):
            for cx in range(m.width):
                gfx = m.blocks[m.layers[1][cy][cx]][0]
                if gfx <= 0:
                    continue
                g = m.graphics[gfx]
                for y in range(8):
                    for x in range(8):
                        if g[y][x] != fmp.MASK_RGB:
                            px[cx * 8 + x, cy * 8 + y] = g[y][x]
    return img


def marks(img, area):
    d = ImageDraw.Draw(img)
    tables = area_data.load()
    for v in [band.view for band in tables.checkpoints.get(area, ())]:
        d.rectangle([0, v, 319, v + 159], outline=(255, 255, 255))
        d.rectangle([130, v + 124, 154, v + 145], outline=(0, 255, 0))
    for ar, rule, lo, hi, kind, p, late in area_data.spawn_places(tables):
        if ar != area:
            continue
        key = kind if kind in MARK_COLOURS else ("door" if "puerta" in kind else
                                                  "vehicle" if kind.startswith("v_") else "other")
        c = MARK_COLOURS[key]
        boxes = []
        if "x" in p and "y" in p and isinstance(p["x"], int):
            boxes.append((p["x"], p["y"]))
        elif kind == "Corredor":
            boxes.append((p["x"][0], hi - 21))
            boxes.append((p["x"][1], hi - 21))
        elif kind == "Saltador":
            boxes += [p["start"], p["land"]]
        elif kind == "Puentero":
            boxes += [(p["x0"], p["y"]), (p["to"], p["y"])]
        elif "y" in p:
            boxes.append((p.get("x0", 160), p["y"]))
        for x, y in boxes:
            d.rectangle([x, y, x + 23, y + 20], outline=c)
            d.text((x + 2, y + 2), str(rule), fill=c)


def main(argv):
    args = [a for a in argv[1:] if not a.startswith("--")]
    if len(args) < 2:
        print("usage: review.py MAPS_FOLDER OUT_FOLDER [--marks] [AREA...]", file=sys.stderr)
        return 2
    folder, out = args[0], args[1]
    wanted = [int(a) for a in args[2:]] or list(range(9))
    os.makedirs(out, exist_ok=True)
    for area in wanted:
        with open(os.path.join(folder, "Level%d.dat" % area), "rb") as f:
            m = fmp.decode(f.read())
        img = render(m)
        if "--marks" in argv:
            marks(img, area)
        img.save(os.path.join(out, "Level%d.png" % area))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
