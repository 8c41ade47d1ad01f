"""The 46 sound effects, synthesised: short chimes, clicks, sweeps and fanfares, each its own.
They are written in a mix of PCM formats (11025, 22050 and 44100 Hz; 8 and 16 bits; mono and
stereo), some with the two-byte extra-size field in their format chunk and some with a LIST
chunk before the samples, as sound editors write them."""

import synth as s
import formats

H = s.midi_hz
BELL = ((1, 1.0), (2, 0.45), (3, 0.2), (4, 0.08))
WARM = ((1, 1.0), (2, 0.3), (3, 0.12))
BRASS = ((1, 1.0), (2, 0.7), (3, 0.5), (4, 0.3), (5, 0.18), (6, 0.1))
HOLLOW = ((1, 1.0), (3, 0.35), (5, 0.15))


def chime(notes, rate, gap=0.09, length=0.5, tau=0.22, harmonics=BELL):
    return s.mix([(i * gap, s.tone(H(n), length, rate, tau=tau, harmonics=harmonics))
                  for i, n in enumerate(notes)], rate)


def click(rate, freq=1800, seconds=0.03):
    return s.mix([(0, s.tone(freq, seconds, rate, tau=0.008, attack=0.0005)),
                  (0, s.noise(seconds, rate, amp=0.4, tau=0.006, smooth=0.3, seed=3))], rate)


def sweep(start, end, seconds, rate, harmonics=WARM, tau=None):
    return s.tone(start, seconds, rate, glide_to=end, harmonics=harmonics, tau=tau,
                  attack=0.01, release=0.08)


def thud(rate, freq=110, seconds=0.25):
    return s.mix([(0, s.tone(freq, seconds, rate, glide_to=freq * 0.45, tau=0.08)),
                  (0, s.noise(0.08, rate, amp=0.5, tau=0.02, smooth=0.85, seed=5))], rate)


def voice(vowel_notes, rate, seconds=0.32):
    """A sung two-note phrase on a vowel-like tone (the voice slots have no words)."""
    parts = []
    for i, note in enumerate(vowel_notes):
        parts.append((i * seconds * 0.8, s.tone(H(note), seconds, rate, attack=0.04, tau=0.5,
                                                 release=0.1, harmonics=HOLLOW,
                                                 vibrato=(5.5, 0.012))))
    return s.mix(parts, rate)


def fanfare(rate, root=60):
    parts = [(0.0, s.tone(H(root), 0.16, rate, tau=0.3, harmonics=BRASS)),
             (0.14, s.tone(H(root + 4), 0.16, rate, tau=0.3, harmonics=BRASS)),
             (0.28, s.tone(H(root + 7), 0.16, rate, tau=0.3, harmonics=BRASS))]
    for n in (root, root + 4, root + 7, root + 12):
        parts.append((0.42, s.tone(H(n), 0.7, rate, tau=0.45, harmonics=BRASS,
                                   vibrato=(6, 0.006), release=0.2)))
    return s.mix(parts, rate)


def coins(rate, count=4):
    return s.mix([(i * 0.07, s.mix([(0, s.tone(H(n), 0.25, rate, tau=0.09, harmonics=BELL)),
                                     (0, s.tone(H(n + 7), 0.2, rate, tau=0.07, amp=0.3))],
                                    rate)) for i, n in enumerate([88, 91, 86, 93][:count])],
                 rate)


def ratchet(rate, ticks, gap, freq=2500):
    return s.mix([(i * gap, click(rate, freq, 0.02)) for i in range(ticks)], rate)


EFFECTS = {
    1: ("sounds/TimesUp.WAV", lambda r: s.mix([(0, s.tone(H(57), 0.35, r, harmonics=BRASS)),
                                              (0.35, s.tone(H(50), 0.6, r, harmonics=BRASS,
                                                            tau=0.5))], r)),
    2: ("sounds/teletype.wav", lambda r: s.mix([(0, click(r, 2200, 0.02)),
                                               (0.05, click(r, 1700, 0.02)),
                                               (0.1, s.tone(H(84), 0.12, r, tau=0.04))], r)),
    3: ("sounds/Button.wav", lambda r: s.mix([(0, click(r, 1400)),
                                             (0.01, s.tone(H(79), 0.12, r, tau=0.04))], r)),
    4: ("sounds/Correct.wav", lambda r: chime([72, 76, 79, 84], r, gap=0.08, length=0.6)),
    5: ("sounds/Incorrect.wav", lambda r: s.mix([
        (0, s.tone(H(52), 0.3, r, glide_to=H(49), harmonics=BRASS, tau=0.4)),
        (0.28, s.tone(H(47), 0.55, r, glide_to=H(43), harmonics=BRASS, tau=0.4,
                      vibrato=(7, 0.01)))], r)),
    6: ("sounds/TimerTick.wav", lambda r: click(r, 3000, 0.025)),
    7: ("sounds/HornToot.wav", lambda r: s.mix([
        (0, s.tone(H(55), 0.22, r, harmonics=BRASS, tau=0.5)),
        (0.25, s.tone(H(54), 0.22, r, harmonics=BRASS, tau=0.5)),
        (0.5, s.tone(H(53), 0.7, r, harmonics=BRASS, tau=0.6, vibrato=(6, 0.02)))], r)),
    8: ("sounds/BoxDrop.wav", lambda r: sweep(900, 200, 0.35, r)),
    9: ("sounds/BoxDropland.wav", lambda r: thud(r)),
    10: ("sounds/Scroll.wav", lambda r: ratchet(r, 8, 0.04)),
    11: ("sounds/Up13.wav", lambda r: s.mix([(0, sweep(220, 880, 0.6, r)),
                                            (0.45, chime([81, 88], r, length=0.5))], r)),
    12: ("sounds/Down13.wav", lambda r: sweep(880, 260, 0.4, r, tau=0.3)),
    13: ("sounds/BoxShake.wav", lambda r: s.mix([
        (i * 0.06, s.noise(0.05, r, amp=0.7, tau=0.015, smooth=0.6, seed=11 + i))
        for i in range(7)], r)),
    14: ("sounds/Collect.wav", lambda r: coins(r)),
    15: ("sounds/CarryOn.wav", lambda r: chime([67, 72, 76], r, gap=0.11)),
    16: ("sounds/NewBox.wav", lambda r: s.tone(H(72), 0.15, r, glide_to=H(84), tau=0.06)),
    17: ("sounds/BoxEmpty.wav", lambda r: chime([91, 96, 91, 96, 103], r, gap=0.1, length=0.3,
                                               tau=0.1)),
    18: ("sounds/BoxCash.wav", lambda r: s.mix([(0, ratchet(r, 3, 0.05, 1200)),
                                               (0.16, coins(r, 3))], r)),
    19: ("sounds/BoxClose.wav", lambda r: s.mix([(0, click(r, 900, 0.04)),
                                                (0.02, thud(r, 160, 0.2))], r)),
    20: ("sounds/Box13.wav", lambda r: fanfare(r)),
    21: ("sounds/ShowPrizes.wav", lambda r: chime([60, 64, 67, 72, 76, 79, 84], r, gap=0.07)),
    22: ("sounds/CorvaneLogoSlap.wav", lambda r: s.mix([
        (0, s.noise(0.2, r, amp=0.9, tau=0.04, smooth=0.2, seed=17)),
        (0, thud(r, 90, 0.3))], r)),
    23: ("sounds/EndgameScroll.wav", lambda r: s.mix([(0, ratchet(r, 12, 0.035, 2000)),
                                                     (0, sweep(300, 600, 0.45, r))], r)),
    24: ("sounds/EndgameScrollShut.wav", lambda r: s.mix([(0, sweep(600, 250, 0.3, r)),
                                                         (0.28, thud(r, 120, 0.2))], r)),
    25: ("sounds/DoorBell.wav", lambda r: s.mix([
        (0, s.tone(H(76), 0.7, r, tau=0.5, harmonics=BELL, release=0.15)),
        (0.35, s.tone(H(72), 0.9, r, tau=0.6, harmonics=BELL, release=0.2))], r)),
    26: ("sounds/CatPurr.wav", lambda r: s.mix([
        (i * 0.09, s.noise(0.08, r, amp=0.6, attack=0.02, tau=0.05, smooth=0.97, seed=23 + i))
        for i in range(8)], r)),
    27: ("sounds/Meow.wav", lambda r: s.tone(H(74), 0.5, r, glide_to=H(67), attack=0.05,
                                            tau=0.6, harmonics=HOLLOW, vibrato=(5, 0.02))),
    28: ("sounds/NastyKitty.wav", lambda r: s.noise(0.5, r, amp=0.6, attack=0.05, tau=0.4,
                                                   smooth=0.5, seed=29, highpass=True)),
    29: ("sounds/OvenDoor.wav", lambda r: s.mix([
        (0, s.tone(320, 0.5, r, glide_to=260, harmonics=BRASS, vibrato=(23, 0.05), tau=0.5)),
        (0.45, thud(r, 140, 0.2))], r)),
    30: ("sounds/Press.wav", lambda r: s.mix([(0, click(r, 1600)),
                                             (0.005, s.tone(H(84), 0.08, r, tau=0.03))], r)),
    31: ("sounds/Cashinc.wav", lambda r: coins(r, 2)),
    32: ("sounds/LoafTing.wav", lambda r: chime([100], r, length=0.6, tau=0.25)),
    33: ("sounds/Voices/MindHowYouGo.wav", lambda r: voice([64, 62, 60], r)),
    34: ("sounds/Voices/ThatRight.wav", lambda r: voice([67, 72], r)),
    35: ("sounds/Voices/OohISee.wav", lambda r: voice([69, 65], r, 0.4)),
    36: ("sounds/Voices/OhRight.wav", lambda r: voice([65, 69], r)),
    37: ("sounds/Voices/OhCorrect.wav", lambda r: voice([64, 67, 72], r, 0.25)),
    38: ("sounds/Voices/Right.wav", lambda r: voice([72], r, 0.3)),
    39: ("sounds/Voices/Gameover.wav", lambda r: voice([60, 55, 52], r, 0.35)),
    40: ("sounds/Voices/ComeOnUseYourLoaf.wav", lambda r: voice([60, 64, 67, 64], r, 0.22)),
    41: ("sounds/Voices/DontFancyIt.wav", lambda r: voice([62, 58], r, 0.35)),
    42: ("sounds/Voices/ProperJob.wav", lambda r: voice([67, 71, 74], r, 0.26)),
    43: ("sounds/BallOpen.wav", lambda r: s.mix([(0, sweep(500, 1400, 0.18, r)),
                                                (0.12, chime([84, 91], r, gap=0.06,
                                                             length=0.35, tau=0.12))], r)),
    44: ("sounds/BallClose.wav", lambda r: s.mix([(0, sweep(900, 300, 0.18, r)),
                                                 (0.16, thud(r, 150, 0.18))], r)),
    45: ("sounds/TryAgain.wav", lambda r: s.mix([
        (0, s.tone(H(69), 0.22, r, tau=0.3, harmonics=WARM)),
        (0.2, s.tone(H(66), 0.4, r, tau=0.35, harmonics=WARM, vibrato=(6, 0.01)))], r)),
    46: ("sounds/CashSpin.wav", lambda r: s.mix(
        [(i * 0.045, s.tone(H(72 + (i * 5) % 19), 0.09, r, tau=0.04, harmonics=BELL))
         for i in range(12)] + [(0.55, coins(r, 2))], r)),
}

# (rate, bits, channels, extra-size field, LIST chunk), taken in turn.
FORMATS = [
    (22050, 16, 1, False, False),
    (11025, 8, 1, False, True),
    (44100, 16, 2, True, False),
    (22050, 8, 2, False, False),
    (44100, 16, 1, False, True),
    (11025, 16, 1, True, False),
    (22050, 16, 2, False, True),
    (44100, 8, 1, True, True),
]


def effect_file(number):
    path, make = EFFECTS[number]
    rate, bits, channels, extra_size, with_list = FORMATS[(number - 1) % len(FORMATS)]
    mono = s.normalise(make(rate), 0.7)
    samples = s.panned(mono, -0.3, 0.3) if channels == 2 else mono
    before_data = formats.info_list(path.rsplit("/", 1)[1]) if with_list else b""
    return path, formats.wav(samples, rate, bits, channels, extra_size, before_data)


def all_effects():
    return dict(effect_file(n) for n in sorted(EFFECTS))
