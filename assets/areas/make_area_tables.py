#!/usr/bin/python3
"""Writes the area tables of this folder as a C++ include for the game:

    make_area_tables.py OUTPUT

The game's CMakeLists runs it at build time and compiles the output into
game/play/script/area_tables.cpp, whose header declares the shapes
(CreationCall, SpawnRule, CheckpointBand, AreaTables).  A table that does
not read (an unknown creation function, a wrong argument count, a bad row
window ...) stops the build with the file and line.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import area_data  # noqa: E402

PICKERS = {None: "None", "RandomDir6or9": "Dir6or9", "RandomDir4or7": "Dir4or7",
           "RandomDir9or8": "Dir9or8", "RandomDir7or8": "Dir7or8", "RandomDirDownward": "DirDownward"}
TESTS = {"enemy": "Enemy", "vehicle": "Vehicle", "guard": "Guard", "pickup": "Pickup"}


def kind(name):
    return "DoorSoldier" if name == "Corredor_puerta|Granadero_puerta" else name


def call(c):
    args = list(c.args) + [0] * (4 - len(c.args))
    return "{Creation::%s, %d, {%s}, Picker::%s}" % (
        kind(c.name), len(c.args), ", ".join(str(a) for a in args), PICKERS[c.picker])


def calls_array(name, calls, out):
    """Defines the array and returns what a span of it is written as."""
    if not calls:
        return "{}"
    out.append("constexpr CreationCall %s[] = {" % name)
    out += ["    %s,  // %s" % (call(c), c) for c in calls]
    out.append("};")
    return name


def window(lo, hi, always=False):
    if always:
        return "{0, 0, false, true}"
    if lo is None:
        return "{}"
    return "{%d, %d, %s, false}" % (lo, hi or 0, "true" if hi is None else "false")


def render(t):
    out = ["// Generated from assets/areas/ by make_area_tables.py: edit the data files, not this file.",
           "", "namespace {", ""]
    areas = []
    for a in area_data.AREAS:
        bands = []
        for i, b in enumerate(t.checkpoints.get(a, ())):
            span = calls_array("kCheckpoint%d_%d" % (a, i + 1), b.calls, out)
            bands.append("    {%d, %s, %d, %s}," % (b.threshold, "true" if b.last else "false", b.view, span))
        out.append("constexpr CheckpointBand kCheckpoints%d[] = {" % a)
        out += bands
        out.append("};")
        huts = t.huts.get(a)
        huts_span = calls_array("kHuts%d" % a, huts.calls if huts else (), out)
        start_span = calls_array("kStart%d" % a, t.start.get(a, ()), out)
        rules = t.spawns.get(a, ())
        if rules:
            out.append("constexpr SpawnRule kSpawns%d[] = {" % a)
            for r in rules:
                out.append("    {%d, %d, SpawnTest::%s, %d, %s, %s},  // %d: %s" % (
                    r.lo, r.hi, TESTS[r.test], r.key, "true" if r.late else "false", call(r.call),
                    r.number, r.call))
            out.append("};")
        gate = t.gates[a]
        extras = [(counter, e) for counter in sorted(gate.extras, reverse=True) for e in gate.extras[counter]]
        if extras:
            out.append("constexpr GateExtra kGateExtras%d[] = {" % a)
            for counter, e in extras:
                out.append("    {%d, %s, %s, %s, %s}," % (
                    counter, "true" if e.late else "false", call(e.call), "true" if e.other else "false",
                    call(e.other) if e.other else "{}"))
            out.append("};")
        if gate.doors:
            out.append("constexpr GateDoor kGateDoors%d[] = {%s};" % (
                a, ", ".join("{%d, %d, %d}" % d for d in gate.doors)))
        gate_text = "{%d, %d, %d, %s, %s, %s}" % (
            gate.wait[0], gate.wait[1], gate.verde_at, call(gate.verde),
            "kGateExtras%d" % a if extras else "{}", "kGateDoors%d" % a if gate.doors else "{}")
        ov = t.overlays.get(a)
        overlay = window(ov.lo, ov.hi, ov.lo is None) if ov else "{}"
        areas.append("    {kCheckpoints%d, %s, %s, %s, %s, %s, %s, %s, %s, %s}," % (
            a, huts_span, window(huts.lo, huts.hi) if huts else "{}", start_span, overlay,
            "true" if ov and ov.riders else "false", "true" if ov and ov.bridge else "false",
            "true" if a in t.fortress_areas else "false", "kSpawns%d" % a if rules else "{}", gate_text))
        out.append("")
    calls_array("kFortressFires", t.fires, out)
    out += ["", "// Index 0 and the areas beyond 8 have empty tables.",
            "const AreaTables kAreaTables[9] = {", "    {},"] + areas + ["};", "", "}  // namespace", ""]
    return "\n".join(out)


def main(argv):
    if len(argv) != 2:
        print("usage: make_area_tables.py OUTPUT", file=sys.stderr)
        return 2
    try:
        text = render(area_data.load())
    except area_data.DataError as e:
        print("area tables: %s" % e, file=sys.stderr)
        return 1
    # Only rewrite changed tables, so that the game is not rebuilt for nothing.
    try:
        with open(argv[1], encoding="utf-8") as f:
            if f.read() == text:
                return 0
    except OSError:
        pass
    os.makedirs(os.path.dirname(os.path.abspath(argv[1])), exist_ok=True)
    tmp = argv[1] + ".tmp"
    with open(tmp, "w", encoding="utf-8") as f:
        f.write(text)
    os.replace(tmp, argv[1])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
