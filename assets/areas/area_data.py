"""The tables of the eight areas, read from the data files of this folder.

One file per concern (the formats are in README.md):

    checkpoints.txt  restart bands and the actors made again there
    start.txt        actors made when an area starts
    huts.txt         shooting huts and the views they are active in
    overlays.txt     the bridge overlay windows
    fortress.txt     the fortress areas and their fires
    gate.txt         the gate wave at the top of each area
    spawns/areaN.txt the rule chain of area N

The map checker (assets/maps/check_maps.py) tests the maps against these
tables, and make_area_tables.py writes them as C++ for the game, so what
the checker checks is what the game makes.  Every creation call is checked
here against the creation function it names: its argument count, and
direction pickers only where a direction goes.
"""

import os
import re
from dataclasses import dataclass, field

HERE = os.path.dirname(os.path.abspath(__file__))
AREAS = range(1, 9)

# The creation functions the tables may call: the list the actor joins and
# the roles of the arguments, in order.  "dir" is a direction code (a picker
# may stand in for it); "side" is 4 (from the right edge) or 6 (from the
# left edge).
CREATION = {
    "Canyonero": ("enemy", ("x", "key", "dir")),
    "Corredor": ("enemy", ("x", "key")),
    "Corredor_puerta": ("enemy", ("x", "row", "dir")),
    "Corredor_montanya_l6": ("enemy", ("x", "row", "dir")),
    "Granadero": ("enemy", ("row", "side")),
    "Granadero_puerta": ("enemy", ("x", "row", "dir")),
    "Saltador": ("enemy", ("row", "side", "base", "run")),
    "Saltador_Camion": ("enemy", ("x", "row")),
    "Vigilante": ("enemy", ("x", "key")),
    "Vigilante_Ini": ("enemy", ("x", "row")),
    "Acuatico": ("enemy", ("x", "row")),
    "Vigilante_Casa": ("guard", ("x", "key")),
    "Trinchero": ("enemy", ("x", "key", "period")),
    "Trinchero_Ini": ("enemy", ("x", "row", "period")),
    "Puentero": ("enemy", ("row", "side", "distance")),
    "Motero": ("enemy", ("row",)),
    "Granadero_puente": ("enemy", ("row",)),
    "Secuestradores": ("enemy", ("x", "row")),
    "Verde": ("enemy", ("x", "y", "key", "dir")),
    "Bazookero": ("enemy", ("key", "side")),
    "Sale_de_Puerta": ("enemy", ("x", "y", "next", "key")),
    # A door soldier of a random kind: the direction first, then
    # RandRange(1, 10): even makes Corredor_puerta, odd Granadero_puerta.
    "Corredor_puerta|Granadero_puerta": ("enemy", ("x", "row", "dir")),
    "v_Ametralladora": ("vehicle", ("row",)),
    "v_Baja": ("vehicle", ("row",)),
    "v_Jeep": ("vehicle", ("row", "side")),
    "v_Moto": ("vehicle", ("row",)),
    "v_Moto_izq": ("vehicle", ("row",)),
    "v_Camion": ("vehicle", ("row",)),
    "pack_gr": ("pickup", ("x", "row")),
    "Caseta": ("hut", ("row", "side")),
    "fuego": ("fire", ("x", "y")),
}

# The direction pickers, and the codes each may give.
PICKERS = {"RandomDir6or9": (6, 9), "RandomDir4or7": (4, 7), "RandomDir9or8": (9, 8),
           "RandomDir7or8": (7, 8), "RandomDirDownward": (7, 8, 9)}

# The spawned-at test of a rule, by the list its actor joins.
TESTS = {"enemy": "enemy", "guard": "guard", "vehicle": "vehicle", "pickup": "pickup"}


@dataclass(frozen=True)
class Call:
    """One creation call: the function's name and its arguments; `picker`
    names the direction picker that gives the last argument (0 here)."""
    name: str
    args: tuple
    picker: str = None

    @property
    def actor_list(self):
        return CREATION[self.name][0]

    def arg(self, role):
        return self.args[CREATION[self.name][1].index(role)]

    def __str__(self):
        args = [str(a) for a in self.args]
        if self.picker:
            args[-1] = self.picker
        return "%s(%s)" % (self.name, ", ".join(args))


@dataclass(frozen=True)
class Rule:
    """A rule of an area's chain: while lo <= ViewTop <= hi (exact: lo == hi,
    written "= r") and no actor with `key` is alive in the list of `test`,
    make `call`; `late` rules only when Stage > 8."""
    area: int
    number: int
    lo: int
    hi: int
    exact: bool
    test: str
    key: int
    call: Call
    late: bool


@dataclass(frozen=True)
class Band:
    """A checkpoint band: holds when ViewTop > threshold (the last band:
    ViewTop >= 0); the view restarts at `view` and `calls` are made."""
    threshold: int
    last: bool
    view: int
    calls: tuple


@dataclass(frozen=True)
class Huts:
    lo: int
    hi: int  # None: no upper bound
    calls: tuple


@dataclass(frozen=True)
class Overlay:
    lo: int  # None for both: at every view
    hi: int
    riders: bool
    bridge: bool


@dataclass(frozen=True)
class GateExtra:
    """A grenadier of the gate wave: `call`, or with `other`, RandRange(1, 10)
    even makes `call` and odd `other`; `late` ones only when Stage > 8."""
    call: Call
    other: Call = None
    late: bool = False


@dataclass
class Gate:
    """The gate wave of an area: the pause between steps (RandRange(lo, hi)
    ms), the counter of the verde step and its call, the extra grenadiers
    by the counter a step lowers to, and the side doors (x, row, dir)."""
    wait: tuple = None
    verde_at: int = None
    verde: Call = None
    extras: dict = field(default_factory=dict)  # counter -> (GateExtra, ...)
    doors: list = field(default_factory=list)


@dataclass
class Tables:
    checkpoints: dict = field(default_factory=dict)  # area -> [Band]
    start: dict = field(default_factory=dict)        # area -> [Call]
    huts: dict = field(default_factory=dict)         # area -> Huts
    overlays: dict = field(default_factory=dict)     # area -> Overlay
    fortress_areas: tuple = ()
    fires: tuple = ()
    spawns: dict = field(default_factory=dict)       # area -> [Rule]
    gates: dict = field(default_factory=dict)        # area -> Gate


class DataError(ValueError):
    pass


CALL_RE = re.compile(r"([A-Za-z][A-Za-z0-9_|]*)\(([^()]*)\)")


def parse_call(text, where):
    m = CALL_RE.fullmatch(text.strip())
    if not m:
        raise DataError("%s: %r is not a creation call Name(arguments)" % (where, text))
    name = m.group(1)
    if name not in CREATION:
        raise DataError("%s: %s is no creation function of the game" % (where, name))
    roles = CREATION[name][1]
    raw = [a.strip() for a in m.group(2).split(",")] if m.group(2).strip() else []
    if len(raw) != len(roles):
        raise DataError("%s: %s takes %d arguments (%s), not %d"
                        % (where, name, len(roles), ", ".join(roles), len(raw)))
    args, picker = [], None
    for i, (a, role) in enumerate(zip(raw, roles)):
        if a in PICKERS:
            if role != "dir" or i != len(roles) - 1:
                raise DataError("%s: the picker %s stands where %s takes its %s" % (where, a, name, role))
            picker, a = a, "0"
        if not re.fullmatch(r"-?\d+", a):
            raise DataError("%s: argument %d of %s (%s) is %r, not a whole number" % (where, i + 1, name, role, a))
        args.append(int(a))
    if name == "Corredor_puerta|Granadero_puerta" and not picker:
        raise DataError("%s: a door soldier of random kind takes its direction from a picker" % where)
    return Call(name, tuple(args), picker)


def parse_calls(text, where):
    return tuple(parse_call(m.group(0), where) for m in CALL_RE.finditer(text)) \
        if CALL_RE.sub("", text).strip() == "" else _bad_calls(text, where)


def _bad_calls(text, where):
    raise DataError("%s: %r is not a list of creation calls" % (where, CALL_RE.sub("", text).strip()))


def data_lines(path):
    """(where, text) of every line that is not blank or a comment."""
    with open(path, encoding="utf-8") as f:
        for n, line in enumerate(f, 1):
            text = line.split("#", 1)[0].strip()
            if text:
                yield "%s:%d" % (os.path.relpath(path, HERE), n), text


def area_of(word, where):
    if not word.isdigit() or int(word) not in AREAS:
        raise DataError("%s: %r is no area 1..8" % (where, word))
    return int(word)


def read_checkpoints(path, tables):
    for where, text in data_lines(path):
        m = re.fullmatch(r"(\S+)\s+(>=?)\s*(\d+)\s+(\d+)\s*(.*)", text)
        if not m:
            raise DataError("%s: expected: area, band (> t or >= 0), view, calls" % where)
        area = area_of(m.group(1), where)
        bands = tables.checkpoints.setdefault(area, [])
        if bands and bands[-1].last:
            raise DataError("%s: area %d has a band after its last one (>= 0)" % (where, area))
        last, threshold = m.group(2) == ">=", int(m.group(3))
        if last and threshold != 0:
            raise DataError("%s: the last band is >= 0" % where)
        if bands and threshold >= bands[-1].threshold:
            raise DataError("%s: band thresholds go down the area" % where)
        bands.append(Band(threshold, last, int(m.group(4)), parse_calls(m.group(5), where)))
    for area, bands in tables.checkpoints.items():
        if not bands[-1].last:
            raise DataError("%s: area %d ends without its band >= 0" % (os.path.basename(path), area))


def read_start(path, tables):
    for where, text in data_lines(path):
        word, _, rest = text.partition(" ")
        tables.start.setdefault(area_of(word, where), []).extend(parse_calls(rest, where))


def read_huts(path, tables):
    for where, text in data_lines(path):
        m = re.fullmatch(r"(\S+)\s+(\d+)\s+(\d+|-)\s+(.*)", text)
        if not m:
            raise DataError("%s: expected: area, lo, hi (or -), huts" % where)
        calls = parse_calls(m.group(4), where)
        if any(c.name != "Caseta" for c in calls):
            raise DataError("%s: only huts (Caseta) here" % where)
        hi = None if m.group(3) == "-" else int(m.group(3))
        tables.huts[area_of(m.group(1), where)] = Huts(int(m.group(2)), hi, calls)


def read_overlays(path, tables):
    for where, text in data_lines(path):
        m = re.fullmatch(r"(\S+)\s+(?:(\d+)\s+(\d+)|always)\s+((?:riders|bridge)(?:\s+(?:riders|bridge))*)", text)
        if not m:
            raise DataError("%s: expected: area, lo hi (or always), riders and/or bridge" % where)
        area = area_of(m.group(1), where)
        lo, hi = (None, None) if m.group(2) is None else (int(m.group(2)), int(m.group(3)))
        draws = m.group(4).split()
        tables.overlays[area] = Overlay(lo, hi, "riders" in draws, "bridge" in draws)


def read_fortress(path, tables):
    for where, text in data_lines(path):
        word, _, rest = text.partition(" ")
        if word == "areas":
            tables.fortress_areas = tuple(area_of(w, where) for w in rest.split())
        elif word == "fires":
            tables.fires = parse_calls(rest, where)
            if any(c.name != "fuego" for c in tables.fires):
                raise DataError("%s: only fires (fuego) here" % where)
        else:
            raise DataError("%s: expected 'areas' or 'fires'" % where)


GATE_COUNTERS = range(-15, -1)  # the values a step may lower the counter to


def read_gate(path, tables):
    for where, text in data_lines(path):
        word, _, rest = text.partition(" ")
        m = re.fullmatch(r"(\S+)\s+(.*)", rest.strip())
        if word not in ("wait", "verde", "extra", "door") or not m:
            raise DataError("%s: expected 'wait', 'verde', 'extra' or 'door', then the area" % where)
        area = area_of(m.group(1), where)
        gate, rest = tables.gates.setdefault(area, Gate()), m.group(2)
        if word == "wait":
            w = re.fullmatch(r"(\d+)\.\.(\d+)", rest)
            if not w or int(w.group(1)) > int(w.group(2)):
                raise DataError("%s: the wait is lo..hi milliseconds" % where)
            gate.wait = (int(w.group(1)), int(w.group(2)))
        elif word == "verde":
            v = re.fullmatch(r"(-\d+)\s+(.*)", rest)
            if not v:
                raise DataError("%s: expected: area, counter, Verde(...)" % where)
            call = parse_call(v.group(2), where)
            if call.name != "Verde" or call.arg("key") != int(v.group(1)):
                raise DataError("%s: the verde step makes Verde(...) keyed with its counter" % where)
            gate.verde_at, gate.verde = int(v.group(1)), call
        elif word == "extra":
            e = re.fullmatch(r"(-\d+)\s+(.*)", rest)
            if not e or int(e.group(1)) not in GATE_COUNTERS:
                raise DataError("%s: expected: area, counter -2..-15, grenadiers" % where)
            extras = []
            for item in re.split(r",(?![^()]*\))", e.group(2)):
                g = re.fullmatch(r"\s*(\w+\([^()]*\))(?:\s+or\s+(\w+\([^()]*\)))?(\s+if Stage > 8)?\s*", item)
                if not g:
                    raise DataError("%s: %r is not a grenadier, 'A or B', or one 'if Stage > 8'" % (where, item.strip()))
                call = parse_call(g.group(1), where)
                other = parse_call(g.group(2), where) if g.group(2) else None
                if any(c and c.name != "Granadero" for c in (call, other)):
                    raise DataError("%s: the gate wave's extras are grenadiers (Granadero)" % where)
                extras.append(GateExtra(call, other, bool(g.group(3))))
            gate.extras[int(e.group(1))] = tuple(extras)
        else:
            d = re.fullmatch(r"(\d+)\s+(\d+)\s+([1-9])", rest)
            if not d:
                raise DataError("%s: expected: area, x, row, direction" % where)
            gate.doors.append(tuple(int(v) for v in d.groups()))
    for area in AREAS:
        gate = tables.gates.get(area)
        if not gate or gate.wait is None or gate.verde is None:
            raise DataError("%s: area %d needs its wait and its verde step" % (os.path.basename(path), area))


def read_spawns(path, area, tables):
    rules = tables.spawns.setdefault(area, [])
    for where, text in data_lines(path):
        m = re.fullmatch(r"(?:(\d+)\.\.(\d+)|=\s*(\d+))\s+(\w+)\s+(\d+)\s+([A-Za-z][A-Za-z0-9_|]*\([^()]*\))\s*(Stage > 8)?", text)
        if not m:
            raise DataError("%s: expected: rows (lo..hi or = row), test, key, creation call, "
                            "and 'Stage > 8' or nothing" % where)
        if m.group(3) is not None:
            lo = hi = int(m.group(3))
            exact = True
        else:
            lo, hi, exact = int(m.group(1)), int(m.group(2)), False
            if lo > hi:
                raise DataError("%s: the rows %d..%d hold no view" % (where, lo, hi))
        test = m.group(4)
        if test not in TESTS:
            raise DataError("%s: the test is one of %s, not %r" % (where, ", ".join(TESTS), test))
        call = parse_call(m.group(6), where)
        if TESTS.get(call.actor_list) != test:
            raise DataError("%s: %s makes an actor of the %s list, tested with %s"
                            % (where, call.name, call.actor_list, test))
        rules.append(Rule(area, len(rules) + 1, lo, hi, exact, test, int(m.group(5)), call, bool(m.group(7))))


def load(folder=HERE):
    """Reads every table of the folder; raises DataError on a bad line."""
    tables = Tables()
    read_checkpoints(os.path.join(folder, "checkpoints.txt"), tables)
    read_start(os.path.join(folder, "start.txt"), tables)
    read_huts(os.path.join(folder, "huts.txt"), tables)
    read_overlays(os.path.join(folder, "overlays.txt"), tables)
    read_fortress(os.path.join(folder, "fortress.txt"), tables)
    read_gate(os.path.join(folder, "gate.txt"), tables)
    for area in AREAS:
        path = os.path.join(folder, "spawns", "area%d.txt" % area)
        if os.path.exists(path):
            read_spawns(path, area, tables)
    return tables


def sources(folder=HERE):
    """Every data file the tables are read from (for build dependencies)."""
    names = ["checkpoints.txt", "start.txt", "huts.txt", "overlays.txt", "fortress.txt", "gate.txt"]
    names += [os.path.join("spawns", "area%d.txt" % a) for a in AREAS]
    return [os.path.join(folder, n) for n in names]


# --- where the actors stand ------------------------------------------------
# Map pixels of the top-left corner of the 24 x 21 actor a rule makes, as
# its creation function places it when the rule fires at its creation row
# (the window's upper end).  The map checker and the review pictures use it.

def place(area, call, row):
    """(kind, where) of the actor `call` makes when ViewTop is `row`."""
    n, a = call.name, call.arg
    direction = call.picker or (str(call.args[-1]) if "dir" in CREATION[n][1] else None)
    side_x = lambda right, left: right if a("side") == 4 else left
    if n == "Corredor":
        return n, {"x": (a("x") - 30, a("x") + 30)}
    if n == "Granadero":
        return n, {"x": side_x(318, 0), "y": a("row")}
    if n == "Saltador":
        jump = side_x(318 - a("run"), a("run"))
        return n, {"start": (side_x(a("base") + 318, a("base")), a("row") + 30),
                   "land": (jump + side_x(-50, 50), a("row") + 52), "jump_x": jump}
    if n in ("Vigilante", "Vigilante_Casa", "Trinchero"):
        return n, {"x": a("x"), "y": row - 15}
    if n in ("Vigilante_Ini", "Trinchero_Ini"):
        return n[:-4], {"x": a("x"), "y": a("row") - 15}
    if n == "Acuatico":
        return n, {"x": a("x"), "y": 1560 if (area, a("row")) == (5, 1536) else a("row") - 15}
    if n == "pack_gr":
        return n, {"x": a("x"), "y": a("row") - 21}
    if n == "Canyonero":
        return n, {"x": a("x"), "y": row - 21, "dir": direction}
    if n == "Secuestradores":
        return n, {"xs": (a("x"), a("x") + 18, a("x") + 32), "y": a("row")}
    if n == "Motero":
        return n, {"y": a("row") - 42}
    if n == "Granadero_puente":
        return n, {"y": a("row")}
    if n == "Puentero":
        return n, {"y": a("row"), "x0": side_x(320, 0), "to": side_x(320 - a("distance"), a("distance"))}
    if n == "Verde":
        return n, {"x": a("x"), "y": a("y"), "dir": direction}
    if n == "Bazookero":
        return n, {"y": row, "x0": side_x(320, 0)}
    if n in ("Corredor_puerta", "Granadero_puerta", "Corredor_montanya_l6"):
        return n, {"x": a("x"), "y": a("row"), "dir": direction}
    if n == "Corredor_puerta|Granadero_puerta":
        return "Corredor_puerta/Granadero_puerta", {"x": a("x"), "y": a("row"), "dir": direction}
    if n == "v_Ametralladora":
        return n, {"y": a("row") + 160}
    if n == "v_Baja":
        return n, {"y": a("row") - 21}
    if n == "v_Jeep":
        return n, {"y": a("row") + 20, "x0": side_x(320, 0)}
    if n in ("v_Moto", "v_Camion"):
        return n, {"y": a("row") + 20, "x0": 320}
    if n == "v_Moto_izq":
        return n, {"y": a("row") + 20, "x0": 0}
    if n == "Caseta":
        return n, {"x": side_x(0, 272), "y": a("row") - 72, "bottom": a("row")}
    return n, {}


HUT_W = 48   # a hut's picture and the site it stands on


def hut_shell_path(hut_x, hut_y, reach=24):
    """Where a hut's shell feels for solid ground over its first `reach`
    pixels across: 16 px below itself, every half pixel, as it flies two
    across for one down.  It bursts at the first of them that is solid.  A
    left hut (x 0) fires down-right from (x + 38, y + 40), inside its own
    site; a right hut fires down-left from (x - 10, y + 42)."""
    left = hut_x == 0
    sx, sy, dx = (hut_x + 38, hut_y + 40, 1) if left else (hut_x - 10, hut_y + 42, -1)
    return [(int(sx + dx * i / 2.0), int(sy + i / 4.0 + 16)) for i in range(2 * reach + 1)]


def spawn_places(tables):
    """Every rule of every chain as (area, rule, lo, hi, kind, where, late)."""
    out = []
    for area in AREAS:
        for r in tables.spawns.get(area, ()):
            kind, where = place(area, r.call, r.hi)
            out.append((area, r.number, r.lo, r.hi, kind, where, r.late))
    return out
