"""The area tables of assets/areas: the real tables read, and a table that
does not read stops with its file and line instead of giving the game a
wrong actor."""

import os
import shutil
import tempfile
import unittest

import assetlib  # noqa: F401  (puts assets/areas on the path)
import area_data

FOLDER = os.path.join(assetlib.ASSETS, "areas")


class RealTables(unittest.TestCase):
    def test_every_chain_and_band_reads(self):
        t = area_data.load()
        self.assertEqual([len(t.spawns[a]) for a in area_data.AREAS], [54, 44, 49, 49, 61, 50, 54, 61])
        self.assertEqual([len(t.checkpoints[a]) for a in area_data.AREAS], [4, 5, 4, 5, 5, 4, 5, 5])
        self.assertEqual(t.fortress_areas, (4, 8))
        self.assertEqual(len(t.fires), 9)
        # The shapes a rule can take: a window, an exact row, a late rule,
        # a picker, a door soldier of random kind, a house guard's test.
        r = t.spawns[1][1]
        self.assertEqual((r.lo, r.hi, r.exact, r.test, r.key, str(r.call), r.late),
                         (1327, 1369, False, "enemy", 1369, "Corredor(80, 1369)", True))
        r = t.spawns[1][8]
        self.assertEqual((r.lo, r.hi, r.exact, str(r.call)), (1146, 1146, True, "Vigilante(240, 1146)"))
        r = t.spawns[1][34]
        self.assertEqual((r.key, str(r.call)), (4923, "Vigilante(260, 4923)"))
        r = t.spawns[7][0]
        self.assertEqual((r.call.name, r.call.picker), ("Corredor_puerta|Granadero_puerta", "RandomDir9or8"))
        r = t.spawns[4][45]
        self.assertEqual((r.test, r.call.name), ("guard", "Vigilante_Casa"))
        # Area 1's runner between its rules 49 and 50.
        r = t.spawns[1][49]
        self.assertEqual((r.lo, r.hi, r.key, str(r.call)), (78, 120, 120, "Corredor(100, 120)"))

    def test_the_gate_wave_of_every_area_reads(self):
        gates = area_data.load().gates
        self.assertEqual([gates[a].wait for a in area_data.AREAS],
                         [(750, 2000), (1200, 1500)] + [(750, 1500)] * 6)
        self.assertEqual([gates[a].verde_at for a in area_data.AREAS], [-2, -3, -2, -2, -2, -2, -2, -2])
        self.assertEqual(str(gates[4].verde), "Verde(175, 75, -2, 7)")
        self.assertEqual(gates[2].extras, {})
        self.assertEqual(gates[2].doors, [(50, 68, 6), (290, 68, 4), (50, 118, 6), (290, 118, 4)])
        self.assertTrue(all(not gates[a].doors for a in area_data.AREAS if a != 2))
        # The shapes of an extra: one of two by a roll, one only late, in order.
        e = gates[1].extras[-10][0]
        self.assertEqual((str(e.call), str(e.other), e.late), ("Granadero(80, 6)", "Granadero(90, 4)", False))
        self.assertEqual([(str(e.call), e.late) for e in gates[6].extras[-15]],
                         [("Granadero(55, 6)", True), ("Granadero(100, 4)", False)])
        self.assertEqual(sorted(gates[8].extras), [-15, -10, -5])


class BadTables(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="velmarok-areas-")
        self.copy = os.path.join(self.dir, "areas")
        shutil.copytree(FOLDER, self.copy, ignore=shutil.ignore_patterns("*.py", "__pycache__"))

    def tearDown(self):
        shutil.rmtree(self.dir)

    def refused(self, name, line, words):
        with open(os.path.join(self.copy, name), "a", encoding="utf-8") as f:
            f.write(line + "\n")
        with self.assertRaises(area_data.DataError) as caught:
            area_data.load(self.copy)
        text = str(caught.exception)
        self.assertIn(name + ":", text)
        self.assertIn(words, text)

    def test_each_fault_names_its_place(self):
        spawns = os.path.join("spawns", "area1.txt")
        cases = [
            (spawns, "= 10   enemy   10   Nobody(1, 10)", "no creation function"),
            (spawns, "= 10   enemy   10   Corredor(1)", "takes 2 arguments"),
            (spawns, "= 10   enemy   10   Granadero(10, RandomDir9or8)", "stands where"),
            (spawns, "= 10   enemy   10   Corredor(1.5, 10)", "not a whole number"),
            (spawns, "20..10 enemy   10   Corredor(1, 10)", "hold no view"),
            (spawns, "= 10   vehicle 10   Corredor(1, 10)", "tested with"),
            (spawns, "= 10   enemy   10   Corredor_puerta|Granadero_puerta(1, 10, 8)", "from a picker"),
            (spawns, "= 10   enemy   10   Corredor(1, 10)   Stage > 9", "expected"),
            ("checkpoints.txt", "1   > 5   500", "after its last one"),
            ("huts.txt", "3   10   20   pack_gr(1, 2)", "only huts"),
            ("overlays.txt", "9   1   2   bridge", "no area"),
            ("gate.txt", "wait 1 900..800", "lo..hi"),
            ("gate.txt", "verde 1 -2 Verde(176, 0, -3, 7)", "keyed with its counter"),
            ("gate.txt", "verde 1 -2 Corredor(1, -2)", "makes Verde"),
            ("gate.txt", "extra 1 -16 Granadero(80, 6)", "counter -2..-15"),
            ("gate.txt", "extra 1 -5 Corredor(80, 6)", "are grenadiers"),
            ("gate.txt", "extra 1 -5 Granadero(80, 6) if Stage > 9", "is not a grenadier"),
            ("gate.txt", "door 2 50 68", "x, row, direction"),
            ("gate.txt", "gates 2 1", "expected 'wait'"),
        ]
        for name, line, words in cases:
            with self.subTest(line=line):
                self.tearDown()
                self.setUp()
                self.refused(name, line, words)


if __name__ == "__main__":
    unittest.main()
