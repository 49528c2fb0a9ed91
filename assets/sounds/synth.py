"""A small sound synthesiser for the game's effects: oscillators, noise,
envelopes, filters and a WAV writer (16-bit PCM mono).  Everything is
plain arithmetic with a fixed noise generator, so a sound comes out the
same, bit for bit, on every build."""

import math
import os
import struct

RATE = 22050


def seconds(n):
    return int(round(n * RATE))


class Noise:
    """White noise in -1..1 from a fixed linear congruential generator."""

    def __init__(self, seed):
        self.state = (seed * 2654435761 + 12345) & 0xFFFFFFFF

    def next(self):
        self.state = (self.state * 1664525 + 1013904223) & 0xFFFFFFFF
        return (self.state >> 8) / float(1 << 23) - 1.0

    def samples(self, n):
        return [self.next() for _ in range(n)]


def tone(freq, n, shape="square", duty=0.5, vibrato=0.0, vib_rate=6.0):
    """An oscillator; freq is a number or a function of the time in seconds."""
    out = []
    phase = 0.0
    f = freq if callable(freq) else (lambda t, v=freq: v)
    for i in range(n):
        t = i / RATE
        fr = f(t) * (1.0 + vibrato * math.sin(2 * math.pi * vib_rate * t))
        phase = (phase + fr / RATE) % 1.0
        if shape == "square":
            # Centred on zero whatever the duty cycle, so no offset builds up.
            v = (1.0 if phase < duty else -1.0) - (2.0 * duty - 1.0)
        elif shape == "saw":
            v = 2.0 * phase - 1.0
        elif shape == "triangle":
            v = 4.0 * phase - 1.0 if phase < 0.5 else 3.0 - 4.0 * phase
        else:
            v = math.sin(2 * math.pi * phase)
        out.append(v)
    return out


def envelope(sig, attack=0.005, decay=None, release=0.02, hold=None):
    """Attack ramp, optional exponential decay (time constant in seconds),
    and a release ramp at the end so that no sound ends in a click."""
    n = len(sig)
    a, r = seconds(attack), seconds(release)
    out = []
    for i, v in enumerate(sig):
        g = 1.0
        if a and i < a:
            g *= i / a
        if decay:
            g *= math.exp(-(i / RATE) / decay)
        if r and i > n - r:
            g *= max(0.0, (n - i) / r)
        out.append(v * g)
    return out


def lowpass(sig, cutoff):
    """One-pole low-pass; cutoff in Hz, a number or a function of time."""
    out = []
    y = 0.0
    f = cutoff if callable(cutoff) else (lambda t, v=cutoff: v)
    for i, v in enumerate(sig):
        c = f(i / RATE)
        k = 1.0 - math.exp(-2.0 * math.pi * c / RATE)
        y += k * (v - y)
        out.append(y)
    return out


def highpass(sig, cutoff):
    low = lowpass(sig, cutoff)
    return [a - b for a, b in zip(sig, low)]


def gain(sig, g):
    return [v * g for v in sig]


def mix(*parts, length=None):
    """Sums (offset in seconds, signal) pairs."""
    n = length if length is not None else max(seconds(o) + len(s) for o, s in parts)
    out = [0.0] * n
    for off, s in parts:
        o = seconds(off)
        for i, v in enumerate(s):
            if 0 <= o + i < n:
                out[o + i] += v
    return out


def concat(*parts):
    out = []
    for p in parts:
        out.extend(p)
    return out


def silence(dur):
    return [0.0] * seconds(dur)


def rms(sig):
    return math.sqrt(sum(v * v for v in sig) / max(1, len(sig)))


def normalise(sig, loudness_db=-16.0, peak_db=-1.0):
    """Scales to a common loudness (RMS over the loud part of the sound, so
    that short and long effects match) without letting peaks pass peak_db;
    the loudest peaks are softly limited."""
    if not sig:
        return sig
    # Loudness is measured over the samples above the quiet tail.
    peak = max(abs(v) for v in sig) or 1.0
    loud = [v for v in sig if abs(v) > peak * 0.05] or sig
    target = 10 ** (loudness_db / 20.0)
    g = target / (rms(loud) or 1.0)
    ceiling = 10 ** (peak_db / 20.0)
    out = []
    for v in sig:
        x = v * g
        # Soft knee above 70 % of the ceiling.
        knee = 0.7 * ceiling
        if abs(x) > knee:
            over = abs(x) - knee
            x = math.copysign(knee + (ceiling - knee) * math.tanh(over / (ceiling - knee)), x)
        out.append(x)
    return out


def write_wav(path, sig):
    frames = bytearray()
    for v in sig:
        s = int(round(max(-1.0, min(1.0, v)) * 32767))
        frames += struct.pack("<h", s)
    header = b"RIFF" + struct.pack("<I", 36 + len(frames)) + b"WAVE"
    header += b"fmt " + struct.pack("<IHHIIHH", 16, 1, 1, RATE, RATE * 2, 2, 16)
    header += b"data" + struct.pack("<I", len(frames))
    folder = os.path.dirname(os.path.abspath(path))
    os.makedirs(folder, exist_ok=True)
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(header + bytes(frames))
        f.flush()
        os.fsync(f.fileno())
    os.replace(tmp, path)


def note(name):
    """Frequency of a note such as 'C5' or 'F#4' (A4 = 440 Hz)."""
    names = {"C": -9, "C#": -8, "D": -7, "D#": -6, "E": -5, "F": -4, "F#": -3,
             "G": -2, "G#": -1, "A": 0, "A#": 1, "B": 2}
    pitch, octave = name[:-1], int(name[-1])
    return 440.0 * 2 ** ((names[pitch] + 12 * (octave - 4)) / 12.0)
