"""A small additive synthesiser: tones with harmonics, pitch glides, vibrato and envelopes,
filtered noise bursts, and mixing. Samples are lists of floats in -1..1 at a given rate.
Everything is computed with plain arithmetic from fixed seeds, so the same call always gives
the same samples."""

import itertools
import math
import operator
import random

TABLE_SIZE = 4096
SINE = [math.sin(2.0 * math.pi * i / TABLE_SIZE) for i in range(TABLE_SIZE)]


_tables = {}


def wave_table(harmonics):
    """One cycle of the sum of the harmonics (multiples of the fundamental, whole or not: a
    fractional one is rounded to the nearest whole multiple so the cycle repeats)."""
    if harmonics not in _tables:
        _tables[harmonics] = [
            sum(w * SINE[int(i * round(m)) % TABLE_SIZE] for m, w in harmonics)
            for i in range(TABLE_SIZE)]
    return _tables[harmonics]


def midi_hz(note):
    return 440.0 * 2.0 ** ((note - 69) / 12.0)


def envelope(count, rate, attack, tau, release):
    """Linear attack, exponential decay with time constant tau (None: sustain), and a linear
    release over the last `release` seconds."""
    attack_n = min(count, max(1, int(attack * rate)))
    release_n = min(count, max(1, int(release * rate)))
    fall = math.exp(-1.0 / (tau * rate)) if tau else 1.0
    env = [i / attack_n for i in range(attack_n)]
    env += itertools.accumulate(itertools.repeat(fall, count - attack_n - 1), operator.mul,
                                initial=1.0) if count > attack_n else []
    tail = count - release_n
    env[tail:] = [v * (count - i) / release_n for i, v in enumerate(env[tail:], tail)]
    return env


def tone(freq, seconds, rate, amp=0.5, attack=0.005, tau=None, release=0.02,
         harmonics=((1, 1.0),), glide_to=None, vibrato=(0.0, 0.0)):
    """harmonics: (multiple, weight) pairs; glide_to: the frequency reached at the end
    (exponential slide); vibrato: (rate in Hz, depth as a fraction of the frequency)."""
    count = max(1, int(seconds * rate))
    env = envelope(count, rate, attack, tau, release)
    step = TABLE_SIZE * freq / rate
    mask = TABLE_SIZE - 1
    if glide_to:
        slide = (glide_to / freq) ** (1.0 / count)
        steps = list(itertools.accumulate(itertools.repeat(slide, count - 1), operator.mul,
                                          initial=step))
    else:
        steps = [step] * count
    vib_rate, vib_depth = vibrato
    if vib_depth:
        vib_step = TABLE_SIZE * vib_rate / rate
        steps = [d * (1.0 + vib_depth * SINE[int(i * vib_step) & mask])
                 for i, d in enumerate(steps)]
    phases = itertools.accumulate(steps)
    table = wave_table(tuple(harmonics))
    gain = amp / sum(w for _, w in harmonics)
    return [gain * e * table[int(p) & mask] for p, e in zip(phases, env)]


def noise(seconds, rate, amp=0.5, attack=0.002, tau=0.05, release=0.01, smooth=0.0, seed=1,
          highpass=False):
    """White noise through a one-pole low-pass (smooth 0 = none, towards 1 = darker); with
    highpass, what the low-pass removes is kept instead (a hiss)."""
    count = max(1, int(seconds * rate))
    env = envelope(count, rate, attack, tau, release)
    rng = random.Random(seed)
    low = 0.0
    out = []
    for i in range(count):
        white = rng.uniform(-1.0, 1.0)
        low += (1.0 - smooth) * (white - low)
        out.append(amp * env[i] * ((white - low) if highpass else low))
    return out


def mix(parts, rate, length=None):
    """parts: (start seconds, samples) pairs added into one track."""
    end = max(int(start * rate) + len(samples) for start, samples in parts)
    track = [0.0] * max(end, int(length * rate) if length else 0)
    for start, samples in parts:
        add_into(track, int(start * rate), samples)
    return track


def add_into(track, offset, samples, gain=1.0):
    end = offset + len(samples)
    if gain == 1.0:
        track[offset:end] = [a + b for a, b in zip(track[offset:end], samples)]
    else:
        track[offset:end] = [a + gain * b for a, b in zip(track[offset:end], samples)]


def normalise(samples, peak=0.85):
    top = max(1e-9, max(samples), -min(samples))
    k = peak / top
    return [s * k for s in samples]


def stereo(left, right):
    """Interleaves two channels of equal length."""
    out = [0.0] * (2 * len(left))
    out[0::2] = left
    out[1::2] = right
    return out


def panned(samples, start_pan, end_pan):
    """Moves a mono sound across the stereo field (pan -1 left to 1 right)."""
    count = len(samples)
    left, right = [], []
    for i, s in enumerate(samples):
        pan = start_pan + (end_pan - start_pan) * i / max(1, count - 1)
        angle = (pan + 1.0) * math.pi / 4.0
        left.append(s * math.cos(angle))
        right.append(s * math.sin(angle))
    return stereo(left, right)
