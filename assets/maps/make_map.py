"""Builds one game map file from its layout: make_map.py LAYOUT OUT.dat"""

import os
import sys

import fmp
import layout


def main(argv):
    if len(argv) != 3:
        print("usage: make_map.py LAYOUT.txt OUT.dat", file=sys.stderr)
        return 2
    try:
        _, m = layout.build(argv[1])
    except layout.LayoutError as e:
        print("make_map: %s" % e, file=sys.stderr)
        return 1
    data = fmp.encode(m)
    out = argv[2]
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    tmp = out + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
