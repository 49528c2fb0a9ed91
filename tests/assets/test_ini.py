"""The shipped ini files hold exactly what the program reads back."""

import os
import unittest

from assetlib import BIN, DATA

SETTINGS = ["VERSION NO=0.1", "FULL SCREEN=0", "SCREEN WIDTH=800", "SCREEN HEIGHT=600", "SOUND=1",
            "MUSIC=1", "SPEECH=1", "SOUND VOLUME=100", "MUSIC VOLUME=100", "SPEECH VOLUME=100",
            "FADE=1", "PARTICLES=80", "PORTAL SPLASH=0", "PORTAL SPLASH2=0", "INTRO=0", "VSYNC=1",
            "DRIVER=1", "SOUND DRIVER=FreeAudio", "FULL SCREEN PROCESS PRIORITY=0",
            "FULL SCREEN THREAD PRIORITY=0", "WINDOWED PROCESS PRIORITY=0",
            "WINDOWED THREAD PRIORITY=0", "PROFILE NAME=", "REGION=0", "SUB-REGION=0"]
KEYS = ["LEFT=37", "RIGHT=39", "UP=38", "DOWN=40", "FIRE=162", "GRENADES=164"]


class IniFiles(unittest.TestCase):
    def check(self, path, lines):
        with open(path, "rb") as f:
            data = f.read()
        self.assertEqual(data, "".join(l + "\r\n" for l in lines).encode("ascii"))

    def test_settings_template(self):
        self.check(os.path.join(DATA, "Default.ini"), SETTINGS)
        self.assertEqual(len(SETTINGS), 25)

    def test_key_file_in_the_program_folder(self):
        self.check(os.path.join(BIN, "Keys.ini"), KEYS)


if __name__ == "__main__":
    unittest.main()
