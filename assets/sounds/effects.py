#!/usr/bin/python3
"""The game's nine samples.  `effects.py NAME OUTPUT.wav` writes one of them
(NAME is ns or snd2 .. snd9)."""

import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from synth import (Noise, concat, envelope, gain, highpass, lowpass, mix, normalise,  # noqa: E402
                   note, seconds, silence, tone, write_wav)


def boom(dur, seed, depth=1.0):
    """An explosion: a falling low thump under a burst of darkening noise."""
    n = seconds(dur)
    thump = envelope(tone(lambda t: 90.0 * math.exp(-t * 3.0) + 28.0, n, "sine"), 0.002, decay=dur * 0.35)
    rumble = lowpass(Noise(seed).samples(n), lambda t: 2400.0 * math.exp(-t * 4.0) + 120.0)
    rumble = envelope(rumble, 0.001, decay=dur * 0.3)
    crack = envelope(highpass(Noise(seed + 1).samples(seconds(0.06)), 1500.0), 0.0005, decay=0.02)
    return mix((0, gain(thump, 0.9 * depth)), (0, gain(rumble, 1.6)), (0, gain(crack, 0.6)), length=n)


def tape_loader():
    """ns: a tape being loaded: pilot tones, short sync clicks and the warble
    of data bits, with hiss, a little over 7.5 seconds."""
    noise = Noise(7)
    out = []

    def pilot(dur):
        return tone(1050.0, seconds(dur), "square", duty=0.5)

    def data(dur, seed):
        bits = Noise(seed)
        sig = []
        n = seconds(dur)
        phase = 0.0
        freq = 2400.0
        i = 0
        while i < n:
            # A new bit every 1.6 ms: a short or a long wave.
            freq = 3200.0 if bits.next() > 0 else 1600.0
            for _ in range(seconds(0.0016)):
                phase = (phase + freq / 22050.0) % 1.0
                sig.append(1.0 if phase < 0.5 else -1.0)
                i += 1
        return sig[:n]

    out = concat(pilot(1.4), silence(0.05), data(1.6, 11), pilot(0.7), silence(0.04),
                 data(2.1, 12), pilot(0.5), silence(0.04), data(1.3, 13))
    out = lowpass(out, 5000.0)
    hiss = gain(highpass(noise.samples(len(out)), 3000.0), 0.15)
    out = [a * 0.6 + b for a, b in zip(out, hiss)]
    return envelope(out, 0.02, release=0.05)


def pickup():
    """snd2: a bright rising chime."""
    parts = []
    for i, nm in enumerate(("C6", "E6", "G6", "C7")):
        n = tone(note(nm), seconds(0.22), "square", duty=0.25)
        parts.append((i * 0.06, envelope(n, 0.002, decay=0.09)))
    sparkle = envelope(tone(note("C7") * 2, seconds(0.3), "triangle"), 0.01, decay=0.12)
    parts.append((0.18, gain(sparkle, 0.4)))
    return envelope(mix(*parts), 0.0, release=0.03)


def throw():
    """snd3: the whoosh of a grenade leaving the hand."""
    n = seconds(0.36)
    band = lambda t: 500.0 + 3000.0 * math.sin(math.pi * min(1.0, t / 0.36))  # noqa: E731
    w = lowpass(highpass(Noise(3).samples(n), 300.0), band)
    w = [v * math.sin(math.pi * i / n) ** 1.5 for i, v in enumerate(w)]
    tick = envelope(tone(1800.0, seconds(0.02), "square"), 0.0005, decay=0.006)
    return mix((0.0, gain(tick, 0.3)), (0.0, gain(w, 2.5)))


def hut_explosion():
    """snd4: a hut blown up: a big boom and falling debris, about a second."""
    main = boom(1.1, 40)
    debris = []
    rattle = Noise(41)
    for i in range(7):
        t = 0.25 + i * 0.09 + 0.05 * (rattle.next() + 1)
        clunk = envelope(lowpass(Noise(50 + i).samples(seconds(0.05)), 900.0), 0.001, decay=0.015)
        debris.append((t, gain(clunk, 0.6 - i * 0.06)))
    return envelope(mix((0, main), *debris), 0.0, release=0.08)


def hero_death():
    """snd5: the hero goes down: a cry falling in pitch, then a sad three-note
    phrase."""
    cry_n = seconds(0.45)
    cry = tone(lambda t: 880.0 * math.exp(-t * 2.8), cry_n, "square", duty=0.3, vibrato=0.03, vib_rate=18.0)
    cry = envelope(cry, 0.005, release=0.05)
    notes = []
    for i, (nm, d) in enumerate((("E4", 0.18), ("D#4", 0.18), ("D4", 0.18), ("C#4", 0.5))):
        t = 0.5 + i * 0.2
        s = tone(note(nm), seconds(d), "square", duty=0.5, vibrato=0.012 if d > 0.3 else 0.0)
        notes.append((t, envelope(lowpass(s, 2500.0), 0.005, decay=d * 0.9, release=0.03)))
    return mix((0, gain(cry, 0.8)), *notes)


def machine_gun_car():
    """snd6: a car's engine roaring in, then a machine-gun burst."""
    n = seconds(2.0)
    engine = tone(lambda t: 55.0 + 25.0 * min(1.0, t / 0.6), n, "saw")
    wobble = tone(9.0, n, "sine")
    engine = [e * (0.7 + 0.3 * w) for e, w in zip(engine, wobble)]
    engine = lowpass(engine, 700.0)
    engine = envelope(engine, 0.25, release=0.4)
    shots = []
    for i in range(9):
        t = 0.7 + i * 0.085
        pop = envelope(highpass(Noise(60 + i).samples(seconds(0.05)), 400.0), 0.0005, decay=0.012)
        thud = envelope(tone(160.0, seconds(0.04), "sine"), 0.0005, decay=0.012)
        shots.append((t, gain(mix((0, pop), (0, thud)), 1.1)))
    return mix((0, gain(engine, 0.55)), *shots, length=n)


def fortress_fire():
    """snd7: the fortress goes up in flames: a run of explosions over a
    roaring, crackling fire, about three seconds."""
    n = seconds(3.05)
    roar = lowpass(Noise(70).samples(n), 500.0)
    flutter = lowpass(Noise(71).samples(n), 6.0)
    roar = [r * (0.6 + 2.5 * abs(f)) for r, f in zip(roar, flutter)]
    roar = envelope(roar, 0.3, release=0.5)
    crackle = []
    c = Noise(72)
    for i in range(40):
        t = 0.1 + 2.8 * (c.next() + 1) / 2
        crackle.append((t, envelope(highpass(Noise(100 + i).samples(seconds(0.008)), 2000.0), 0.0, decay=0.003)))
    booms = [(t, gain(boom(0.9, 80 + i, depth=1.0), g)) for i, (t, g) in
             enumerate(((0.0, 1.0), (0.45, 0.7), (0.95, 0.8), (1.6, 0.6), (2.2, 0.5)))]
    return envelope(mix((0, gain(roar, 1.3)), *booms, *[(t, gain(s, 0.5)) for t, s in crackle], length=n),
                    0.0, release=0.3)


def shot():
    """snd8: one rifle shot."""
    crack = envelope(highpass(Noise(8).samples(seconds(0.18)), 600.0), 0.0005, decay=0.03)
    body = envelope(lowpass(Noise(9).samples(seconds(0.25)), 900.0), 0.001, decay=0.06)
    thump = envelope(tone(lambda t: 180.0 * math.exp(-t * 12) + 50.0, seconds(0.15), "sine"), 0.0005, decay=0.04)
    return envelope(mix((0, crack), (0, gain(body, 1.2)), (0, gain(thump, 0.8))), 0.0, release=0.03)


def extra_life():
    """snd9: a short victorious fanfare."""
    melody = (("G5", 0.09), ("C6", 0.09), ("E6", 0.09), ("G6", 0.18), ("E6", 0.09), ("G6", 0.36))
    parts = []
    t = 0.0
    for nm, d in melody:
        s = tone(note(nm), seconds(d + 0.02), "square", duty=0.25)
        parts.append((t, envelope(s, 0.003, decay=max(0.08, d), release=0.02)))
        bass = tone(note(nm) / 4, seconds(d + 0.02), "triangle")
        parts.append((t, gain(envelope(bass, 0.003, release=0.02), 0.5)))
        t += d
    return mix(*parts)


# name: (synthesis, loudness in dB relative to full scale)
SOUNDS = {
    "ns": (tape_loader, -20.0),
    "snd2": (pickup, -16.0),
    "snd3": (throw, -17.0),
    "snd4": (hut_explosion, -15.0),
    "snd5": (hero_death, -16.0),
    "snd6": (machine_gun_car, -16.0),
    "snd7": (fortress_fire, -16.0),
    "snd8": (shot, -16.0),
    "snd9": (extra_life, -16.0),
}


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in SOUNDS:
        sys.exit("usage: effects.py {" + ",".join(SOUNDS) + "} OUTPUT.wav")
    make, loudness = SOUNDS[sys.argv[1]]
    write_wav(sys.argv[2], normalise(make(), loudness))


if __name__ == "__main__":
    main()
