#!/usr/bin/python3
"""Contact sheets for reviewing the generated data: every cell of every
picture enlarged on a mid-green ground with its cell number, and for every
sample a spectrogram and sox's level statistics (when sox is installed).

    contact_sheet.py DATA_DIR OUTPUT_DIR
"""

import os
import shutil
import subprocess
import sys

from PIL import Image, ImageDraw

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "fonts"))
import glyphs  # noqa: E402

# picture: (cell width, cell height, enlargement); None = the whole picture
CELLS = {
    "superdax": (24, 21, 4), "shootexp": (24, 21, 4), "granada_dax": (24, 21, 4),
    "tira_granada_dax": (24, 21, 4), "enemyspr": (24, 21, 4), "enemycspr": (24, 21, 4),
    "casetas": (48, 72, 4), "puertacer": (None, None, 4), "puertaab": (16, 64, 4),
    "8x8_VelmarokFont": (8, 8, 6), "paused": (None, None, 4), "titulo": (None, None, 3),
    "Loader": (None, None, 3), "icon": (None, None, 6),
}
GROUND = (60, 100, 52)
GAP = 6
LABEL = 10


def label(draw, text, x, y, colour=(255, 255, 255)):
    """Writes a label with the game's own 8 x 8 font."""
    cells = glyphs.text_set()
    for i, ch in enumerate(text):
        for yy, row in enumerate(cells[ord(ch)]):
            for xx, c in enumerate(row):
                if glyphs.lit(c):
                    draw.point((x + i * 8 + xx, y + yy), fill=colour)


def sheet(path, out, cw, ch, scale):
    im = Image.open(path).convert("RGBA")
    if cw is None:
        cw, ch = im.size
    cols, rows = im.width // cw, im.height // ch
    per_row = max(1, min(cols, 1600 // (cw * scale + GAP)))
    n = cols * rows
    tile_w, tile_h = cw * scale + GAP, ch * scale + GAP + LABEL
    lines = (n + per_row - 1) // per_row
    outim = Image.new("RGB", (per_row * tile_w + GAP, lines * tile_h + GAP + 12), (24, 24, 32))
    draw = ImageDraw.Draw(outim)
    label(draw, f"{os.path.basename(path)}  {im.width}x{im.height}  {n} cells of {cw}x{ch}", GAP, 2, (240, 220, 90))
    for i in range(n):
        cx, cy = (i % cols) * cw, (i // cols) * ch
        cell = im.crop((cx, cy, cx + cw, cy + ch)).resize((cw * scale, ch * scale), Image.NEAREST)
        ground = Image.new("RGBA", cell.size, GROUND + (255,))
        ground.alpha_composite(cell)
        tx, ty = GAP + (i % per_row) * tile_w, 12 + GAP + (i // per_row) * tile_h
        label(draw, str(i), tx, ty)
        outim.paste(ground.convert("RGB"), (tx, ty + LABEL))
    outim.save(out)


def main():
    data, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    graphics = os.path.join(data, "Graphics")
    for name, (cw, ch, scale) in CELLS.items():
        path = os.path.join(graphics, name + ".png")
        if os.path.exists(path):
            sheet(path, os.path.join(out, name + ".png"), cw, ch, scale)
    sound = os.path.join(data, "sound")
    sox = shutil.which("sox")
    if sox and os.path.isdir(sound):
        with open(os.path.join(out, "sounds.txt"), "w") as report:
            for wav in sorted(os.listdir(sound)):
                if not wav.endswith(".wav"):
                    continue
                src = os.path.join(sound, wav)
                base = os.path.splitext(wav)[0]
                subprocess.run([sox, src, "-n", "spectrogram", "-x", "800", "-y", "257",
                                "-t", wav, "-o", os.path.join(out, base + "-spectrogram.png")], check=False)
                stat = subprocess.run([sox, src, "-n", "stat"], capture_output=True, text=True)
                report.write(f"== {wav}\n{stat.stderr}\n")
    print(f"contact sheets in {out}")


if __name__ == "__main__":
    main()
