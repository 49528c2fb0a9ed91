"""Running the generator again gives the same bytes, and the built data is
what the generator makes from the sources as they stand."""

import os
import subprocess
import tempfile
import unittest

from assetlib import ASSETS, BIN, DATA, PYTHON

PICTURES = ["superdax", "tira_granada_dax", "shootexp", "granada_dax", "enemyspr", "enemycspr",
            "casetas", "puertacer", "puertaab", "paused", "titulo", "Loader", "icon"]
SOUNDS = ["ns", "snd2", "snd3", "snd4", "snd5", "snd6", "snd7", "snd8", "snd9"]


def commands(root):
    """(output path relative to the program folder, command) for every file."""
    out = []
    for p in PICTURES:
        rel = f"Data/Graphics/{p}.png"
        out.append((rel, [os.path.join(ASSETS, "pictures", p + ".py"), os.path.join(root, rel)]))
    for s in SOUNDS:
        rel = f"Data/sound/{s}.wav"
        out.append((rel, [os.path.join(ASSETS, "sounds", "effects.py"), s, os.path.join(root, rel)]))
    rel = "Data/Graphics/8x8_VelmarokFont.png"
    out.append((rel, [os.path.join(ASSETS, "fonts", "make_bitmap_font.py"), os.path.join(root, rel)]))
    rel = "Data/fonts/basic.ttf"
    out.append((rel, [os.path.join(ASSETS, "fonts", "make_ttf.py"), os.path.join(root, rel)]))
    for kind, rel in (("default", "Data/Default.ini"), ("keys", "Keys.ini")):
        out.append((rel, [os.path.join(ASSETS, "ini", "make_ini.py"), kind, os.path.join(root, rel)]))
    return out


def generate(root):
    procs = [subprocess.Popen([PYTHON, "-B"] + cmd) for _, cmd in commands(root)]
    for p in procs:
        assert p.wait() == 0, p.args


def read(path):
    with open(path, "rb") as f:
        return f.read()


class Determinism(unittest.TestCase):
    def test_two_runs_and_the_build_give_the_same_bytes(self):
        with tempfile.TemporaryDirectory() as a, tempfile.TemporaryDirectory() as b:
            generate(a)
            generate(b)
            for rel, _ in commands(a):
                with self.subTest(rel):
                    first = read(os.path.join(a, rel))
                    self.assertEqual(first, read(os.path.join(b, rel)))
                    self.assertEqual(first, read(os.path.join(BIN, rel)), "built file is stale")

    def test_the_build_has_exactly_the_generated_files(self):
        expected = {rel for rel, _ in commands("")}
        found = set()
        for folder in ("Graphics", "sound", "fonts"):
            for name in os.listdir(os.path.join(DATA, folder)):
                found.add(f"Data/{folder}/{name}")
        if os.path.exists(os.path.join(DATA, "Default.ini")):
            found.add("Data/Default.ini")
        if os.path.exists(os.path.join(BIN, "Keys.ini")):
            found.add("Keys.ini")
        self.assertEqual(found, expected)


if __name__ == "__main__":
    unittest.main()
