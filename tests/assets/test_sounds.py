"""The samples are PCM WAV files the sample loader reads, long enough for
their moments in the game, and levelled against each other."""

import math
import os
import struct
import unittest

from assetlib import DATA

# name: (shortest, longest) in seconds
LENGTHS = {
    "ns": (7.0, 9.0), "snd2": (0.15, 1.0), "snd3": (0.1, 0.8), "snd4": (0.7, 1.6),
    "snd5": (0.5, 2.1), "snd6": (1.5, 2.6), "snd7": (2.8, 3.3), "snd8": (0.08, 0.5),
    "snd9": (0.3, 1.5),
}


def read_wav(path):
    with open(path, "rb") as f:
        data = f.read()
    assert data[:4] == b"RIFF" and data[8:12] == b"WAVE", path
    assert struct.unpack("<I", data[4:8])[0] == len(data) - 8, "RIFF size"
    pos, fmt, samples = 12, None, None
    while pos < len(data):
        kind, size = data[pos:pos + 4], struct.unpack("<I", data[pos + 4:pos + 8])[0]
        body = data[pos + 8:pos + 8 + size]
        if kind == b"fmt ":
            fmt = struct.unpack("<HHIIHH", body[:16])
        elif kind == b"data":
            samples = [s / 32768.0 for s in struct.unpack(f"<{size // 2}h", body)]
        pos += 8 + size + (size & 1)
    return fmt, samples


class Sounds(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.wavs = {n: read_wav(os.path.join(DATA, "sound", n + ".wav")) for n in LENGTHS}

    def test_pcm_mono_sixteen_bit_and_long_enough(self):
        for name, (fmt, samples) in self.wavs.items():
            with self.subTest(name):
                tag, channels, rate, byte_rate, align, bits = fmt
                self.assertEqual((tag, channels, bits), (1, 1, 16))
                self.assertIn(rate, (22050, 44100))
                self.assertEqual((byte_rate, align), (rate * 2, 2))
                lo, hi = LENGTHS[name]
                self.assertGreaterEqual(len(samples) / rate, lo)
                self.assertLessEqual(len(samples) / rate, hi)

    def test_no_clipping_no_offset_and_no_clicks_at_the_ends(self):
        for name, (fmt, s) in self.wavs.items():
            with self.subTest(name):
                self.assertLess(max(abs(v) for v in s), 0.95)
                self.assertLess(abs(sum(s) / len(s)), 0.02)
                self.assertLess(abs(s[0]), 0.05)
                self.assertLess(abs(s[-1]), 0.05)

    def test_effects_are_levelled_so_none_drowns_another(self):
        def loudness(s):
            # RMS over the sounding part (loudest 50 ms windows averaged).
            w = len(s) and max(1, 1102)
            windows = [math.sqrt(sum(v * v for v in s[i:i + w]) / w) for i in range(0, len(s) - w + 1, w // 2)]
            windows.sort(reverse=True)
            top = windows[:max(1, len(windows) // 3)]
            return 20 * math.log10(sum(top) / len(top))
        levels = {n: loudness(s) for n, (_, s) in self.wavs.items() if n != "ns"}
        spread = max(levels.values()) - min(levels.values())
        self.assertLess(spread, 8.0, levels)
        # The loader noise plays alone but is long: it must not be louder than the effects.
        self.assertLessEqual(loudness(self.wavs["ns"][1]), max(levels.values()))


if __name__ == "__main__":
    unittest.main()
