#!/usr/bin/python3
"""Writes the shipped ini files, KEY=value lines ending in CR LF.

    make_ini.py default OUTPUT   the settings template Data/Default.ini
    make_ini.py keys OUTPUT      the default key file Keys.ini
"""

import os
import sys

# The settings in the order the program fills them.  The game starts
# windowed on its first run, on the one graphics driver there is (OpenGL,
# 1), so it never falls back and marks the settings changed; everything else
# is the program's default.
DEFAULT_INI = [
    ("VERSION NO", "0.1"),
    ("FULL SCREEN", "0"),
    ("SCREEN WIDTH", "800"),
    ("SCREEN HEIGHT", "600"),
    ("SOUND", "1"),
    ("MUSIC", "1"),
    ("SPEECH", "1"),
    ("SOUND VOLUME", "100"),
    ("MUSIC VOLUME", "100"),
    ("SPEECH VOLUME", "100"),
    ("FADE", "1"),
    ("PARTICLES", "80"),
    ("PORTAL SPLASH", "0"),
    ("PORTAL SPLASH2", "0"),
    ("INTRO", "0"),
    ("VSYNC", "1"),
    ("DRIVER", "1"),
    ("SOUND DRIVER", "FreeAudio"),
    ("FULL SCREEN PROCESS PRIORITY", "0"),
    ("FULL SCREEN THREAD PRIORITY", "0"),
    ("WINDOWED PROCESS PRIORITY", "0"),
    ("WINDOWED THREAD PRIORITY", "0"),
    ("PROFILE NAME", ""),
    ("REGION", "0"),
    ("SUB-REGION", "0"),
]

# Cursor keys, left Control to fire, left Alt for grenades (key codes of
# the game's key-name table).
KEYS_INI = [
    ("LEFT", "37"),
    ("RIGHT", "39"),
    ("UP", "38"),
    ("DOWN", "40"),
    ("FIRE", "162"),
    ("GRENADES", "164"),
]

FILES = {"default": DEFAULT_INI, "keys": KEYS_INI}


def text(entries):
    return "".join(f"{k}={v}\r\n" for k, v in entries).encode("ascii")


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in FILES:
        sys.exit("usage: make_ini.py {default,keys} OUTPUT")
    out = sys.argv[2]
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    tmp = out + ".tmp"
    with open(tmp, "wb") as f:
        f.write(text(FILES[sys.argv[1]]))
    os.replace(tmp, out)


if __name__ == "__main__":
    main()
