"""The attract music: a bright 32-bar tune in F major (lead, pad, plucked chords, bass and light
drums) that loops seamlessly, encoded as MP3 with lame.

The attract screen plays the song from 42 ms for 60,030 ms and starts again at 42 ms. The 32 bars
last exactly 60,030 ms, and the whole file repeats with that period (the notes still sounding at
the end of bar 32 are folded back onto the start), so the jump back is seamless wherever the
decoder's delay puts the song's first bar. Four more seconds follow, so the file is 64 s long."""

import functools
import os
import subprocess
import tempfile

import formats
import synth as s

RATE = 44100
LOOP_SAMPLES = 60030 * RATE // 1000          # 32 bars of 4 beats
BEAT = LOOP_SAMPLES / 128.0 / RATE          # seconds, about 128 beats a minute
BAR = 4 * BEAT
TAIL_SECONDS = 4.0
BLOCK_BARS = 8

# Chords of the 8-bar progression (I vi IV V I iii IV V), as MIDI notes.
CHORDS = [(53, 57, 60), (50, 53, 57), (46, 50, 53), (48, 52, 55),
          (53, 57, 60), (45, 48, 52), (46, 50, 53), (48, 52, 55)]

# Melody phrases: (beats, MIDI note or None for a rest) per bar, 8 bars each.
PHRASE_A = [
    [(1, 69), (1, 72), (1.5, 77), (0.5, 76)],
    [(2, 74), (1, 69), (1, 65)],
    [(1, 70), (1, 74), (1, 77), (1, 74)],
    [(3, 72), (1, None)],
    [(1, 69), (1, 72), (1, 77), (1, 79)],
    [(2, 76), (1, 72), (1, 69)],
    [(1, 70), (1, 74), (1, 79), (0.5, 77), (0.5, 76)],
    [(1, 76), (1, 79), (2, 72)],
]
PHRASE_A_HOME = PHRASE_A[:7] + [[(1, 76), (1, 74), (2, 77)]]
PHRASE_B = [
    [(1.5, 84), (0.5, 81), (1, 77), (1, 81)],
    [(1.5, 86), (0.5, 81), (2, 77)],
    [(1, 86), (1, 84), (1, 82), (1, 81)],
    [(2, 79), (1, 76), (1, 79)],
    [(1, 81), (1, 77), (1, 72), (1, 77)],
    [(1, 76), (1, 81), (2, 84)],
    [(1, 82), (1, 81), (1, 79), (1, 77)],
    [(2, 76), (1, 79), (1, 72)],
]
SONG = [PHRASE_A, PHRASE_A_HOME, PHRASE_B, PHRASE_A]

LEAD = ((1, 1.0), (2, 0.35), (3, 0.12), (4, 0.05))
PLUCK = ((1, 1.0), (2, 0.5), (3, 0.25))
BASS = ((1, 1.0), (2, 0.45), (3, 0.1))


# The instruments: each note is rendered once, at its level in the mix.


@functools.lru_cache(maxsize=None)
def pad(chord):
    return s.mix([(0, s.tone(s.midi_hz(n + 12), BAR, RATE, amp=0.09, attack=0.25, tau=3.0,
                             release=0.3, harmonics=((1, 1.0), (2, 0.2)))) for n in chord], RATE)


@functools.lru_cache(maxsize=None)
def pluck(chord):
    return s.mix([(0, s.tone(s.midi_hz(n + 12), 0.3, RATE, amp=0.1, tau=0.09,
                             harmonics=PLUCK)) for n in chord], RATE)


@functools.lru_cache(maxsize=None)
def bass(note, beats):
    return s.tone(s.midi_hz(note), beats * BEAT, RATE, amp=0.3, tau=0.35, harmonics=BASS,
                  release=0.05)


@functools.lru_cache(maxsize=None)
def kick():
    return s.tone(110, 0.18, RATE, amp=0.35, glide_to=45, tau=0.06, attack=0.001)


@functools.lru_cache(maxsize=None)
def snare():
    return s.noise(0.16, RATE, amp=0.12, tau=0.05, smooth=0.35, seed=41)


@functools.lru_cache(maxsize=None)
def hat(accent):
    return s.noise(0.05, RATE, amp=0.08 if accent else 0.05, tau=0.012, smooth=0.2, seed=43,
                   highpass=True)


@functools.lru_cache(maxsize=None)
def lead_note(note, beats):
    return s.tone(s.midi_hz(note), beats * BEAT + 0.25, RATE, amp=0.26, tau=0.45,
                  attack=0.008, release=0.2, harmonics=LEAD, vibrato=(5.0, 0.004))


def place(track, seconds, samples):
    s.add_into(track, int(round(seconds * RATE)), samples)


def fold(track, period):
    """Makes the track repeat with the period: what rings on past its end is added back onto
    its start."""
    tail = track[period:]
    del track[period:]
    for start in range(0, len(tail), period):
        s.add_into(track, 0, tail[start:start + period])
    return track


def accompaniment():
    """8 bars of pad, plucked off-beat chords, bass and drums, repeating seamlessly."""
    track = [0.0] * int((BLOCK_BARS * BAR + 1.5) * RATE)
    for bar, chord in enumerate(CHORDS):
        start = bar * BAR
        place(track, start, pad(chord))
        root = chord[0] - 12
        for beat, beats, note in ((0, 1.5, root), (1.5, 0.5, root + 7), (2, 1.0, root),
                                  (3, 1.0, root + 12)):
            place(track, start + beat * BEAT, bass(note, beats))
        for beat in (0, 2):
            place(track, start + beat * BEAT, kick())
        for beat in (1, 3):
            place(track, start + beat * BEAT, pluck(chord))
            place(track, start + beat * BEAT, snare())
        for eighth in range(8):
            place(track, start + eighth * BEAT / 2, hat(eighth % 2 == 0))
    return fold(track, int(round(BLOCK_BARS * BAR * RATE)))


def lead():
    """The melody over the 32 bars, with what rings on past the end."""
    track = [0.0] * (LOOP_SAMPLES + 2 * RATE)
    at = 0.0
    for phrase in SONG:
        for notes in phrase:
            for beats, note in notes:
                if note is not None:
                    place(track, at, lead_note(note, beats))
                at += beats * BEAT
    return track


def song_samples():
    """The looping song: 60,030 ms of period plus the 4-second tail, as floats."""
    backing = (accompaniment() * len(SONG))[:LOOP_SAMPLES]
    melody = fold(lead(), LOOP_SAMPLES)
    loop = s.normalise([a + b for a, b in zip(backing, melody)], 0.8)
    return loop + loop[:int(TAIL_SECONDS * RATE)]


def encode_mp3(samples):
    """MP3 at fixed settings: 44.1 kHz mono, 128 kbit/s constant rate, no tags."""
    with tempfile.TemporaryDirectory(prefix="make-assets-") as scratch:
        source = os.path.join(scratch, "song.wav")
        target = os.path.join(scratch, "song.mp3")
        with open(source, "wb") as f:
            f.write(formats.wav(samples, RATE, 16, 1))
        subprocess.run(["lame", "--quiet", "--noreplaygain", "--cbr", "-b", "128", "-m", "m",
                        "-q", "5", source, target], check=True)
        with open(target, "rb") as f:
            return f.read()


def background_music():
    return {"sounds/Background2.mp3": encode_mp3(song_samples())}
