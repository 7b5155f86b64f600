#!/usr/bin/env python3
"""wavegen: designs the harmonic spectra of Brennix's spectral waveforms.

Waves 16..127 are played from 64 harmonics each: an amplitude (0..1) and a
phase in cycles (0..1). The synthesizer turns them into a 4096-sample cycle

    w(n) = sum_k a_k * cos(2 pi k n / 4096 - theta_k),  theta_k = 2 pi (phase_k - 0.5)

and scales the cycle so that its peak equals the largest a_k. So phase 0.75
is a sine component (sin(2 pi k n / 4096)) and phase 0 or 1 a negative cosine.

This script writes resources/waves/harmonics.txt, which is compiled into the
plug-in. Run it from anywhere (Python 3, standard library only):

    python3 tools/wavegen/wavegen.py            # rewrite the data file
    python3 tools/wavegen/wavegen.py --check    # exit 1 if the file is stale
    python3 tools/wavegen/wavegen.py OUT.txt    # write elsewhere

Every recipe below is deterministic: random choices come from the same 15-bit
generator the synthesizer uses (state * 214013 + 2531011), with fixed seeds.
The recipes, family by family, are documented where they are defined.
"""

import cmath
import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "pylib"))
from rand15 import Rand15  # noqa: E402

HARMONICS = 64
TWO_PI = 2.0 * math.pi

# The engine's reference note (MIDI 57) sounds at 110 Hz; formant recipes put
# their formants where they belong for a voice at that pitch (or an octave or
# two up for the female and choir voices).
REFERENCE_HZ = 110.0


# ---------------------------------------------------------------------------
# Building blocks
# ---------------------------------------------------------------------------

def ks():
    return range(1, HARMONICS + 1)


def normalised(amps, peak=1.0):
    top = max(amps)
    return [a * peak / top for a in amps]


def sine_phases(drift=0.0):
    """Phase 0.75 (a sine) for every harmonic, creeping up by `drift` per
    harmonic as the phases of a measured analog wave do."""
    return [(0.75 + drift * (k - 1)) % 1.0 for k in ks()]


def random_phases(seed):
    rng = Rand15(seed)
    return [rng.next() / 32768.0 for _ in ks()]


def power_law(p, only=None):
    """a_k = k^-p, optionally only for harmonics where only(k) is true."""
    return [k ** -p if (only is None or only(k)) else 0.0 for k in ks()]


def odd(k):
    return k % 2 == 1


def lowpass2(k, cutoff, q=0.7071):
    """Two-pole low-pass response at harmonic k (cutoff in harmonics):
    returns (magnitude, phase shift in cycles)."""
    x = k / cutoff
    h = 1.0 / complex(1.0 - x * x, x / q)
    return abs(h), cmath.phase(h) / TWO_PI


def resonance(f, formant, bandwidth):
    """Magnitude of a two-pole resonance at `formant` Hz with the given
    bandwidth, unity at 0 Hz (the classic cascade formant section)."""
    b = bandwidth / 2.0
    return (formant * formant + b * b) / math.sqrt(((f - formant) ** 2 + b * b) * ((f + formant) ** 2 + b * b))


def filtered(amps, phases, response):
    """Applies a complex response (function of k returning magnitude and phase
    shift in cycles) to a spectrum. A component delayed by psi cycles moves its
    phase value by -psi."""
    out_a, out_p = [], []
    for k, a, p in zip(ks(), amps, phases):
        mag, shift = response(k)
        out_a.append(a * mag)
        out_p.append((p - shift) % 1.0)
    return out_a, out_p


def spectrum_of(shape, points=8192):
    """Amplitudes and phases of harmonics 1..64 of one cycle of shape(x),
    x in 0..1, sampled at `points` positions (a plain DFT)."""
    samples = [shape(i / points) for i in range(points)]
    table = [cmath.exp(-2j * math.pi * i / points) for i in range(points)]
    amps, phases = [], []
    for k in ks():
        acc = 0j
        idx = 0
        for s in samples:
            acc += s * table[idx]
            idx += k
            if idx >= points:
                idx -= points
        x = acc * 2.0 / points  # = a_k * e^(-i theta_k)
        amps.append(abs(x))
        phases.append((0.5 - cmath.phase(x) / TWO_PI) % 1.0)
    return amps, phases


def sparse(partials, default_phase=0.75):
    """A spectrum holding only the given {harmonic: amplitude} entries."""
    amps = [0.0] * HARMONICS
    for k, a in partials.items():
        amps[k - 1] = a
    return amps, [default_phase] * HARMONICS


def drawbars(setting):
    """Tonewheel organ registration, drawbars 8', 4', 2 2/3', 2', 1 3/5',
    1 1/3', 1' as a string of levels 0..8 (the played pitch is the 8'; the two
    sub-octave drawbars are not representable in a single cycle). Each step
    below 8 is 3 dB quieter; each tonewheel is a sine at its harmonic."""
    harmonic_of_bar = [1, 2, 3, 4, 5, 6, 8]
    partials = {}
    for level, k in zip(setting, harmonic_of_bar):
        level = int(level)
        if level > 0:
            partials[k] = 10.0 ** (-3.0 * (8 - level) / 20.0)
    amps, _ = sparse(partials)
    return amps, random_phases(sum(ord(c) for c in setting))


def vowel(f0, formants, tilt=1.0, seed=None):
    """A voiced vowel: a harmonic series at f0 whose source falls by
    6 dB/octave * tilt (glottal pulse -12 dB/oct, lip radiation +6 dB/oct),
    shaped by a cascade of formant resonances given as (Hz, bandwidth Hz)."""
    amps = []
    for k in ks():
        f = k * f0
        g = k ** -tilt
        for freq, bw in formants:
            g *= resonance(f, freq, bw)
        amps.append(g)
    phases = sine_phases(0.002) if seed is None else random_phases(seed)
    return normalised(amps), phases


def male(f1, f2, f3):
    # Higher formants and bandwidths after the usual cascade-synthesizer defaults.
    return [(f1, 80.0), (f2, 90.0), (f3, 120.0), (3300.0, 250.0), (3750.0, 200.0)]


def female(f1, f2, f3):
    return [(f1, 90.0), (f2, 110.0), (f3, 150.0), (4200.0, 250.0), (4700.0, 250.0)]


# ---------------------------------------------------------------------------
# The waves, in index order. Each recipe returns (amplitudes, phases).
# ---------------------------------------------------------------------------

def harmonic_stack(count, level):
    """Harmc1..Harmc4: the first `count` harmonics at equal level, in sine phase."""
    return [level if k <= count else 0.0 for k in ks()], sine_phases()


def saw2():
    """The reference sawtooth: a_k = 1/k, phases rising from 0.75 by 0.0005
    per harmonic (the slight dispersion of a measured analog saw)."""
    return power_law(1.0), sine_phases(0.0005)


def saw3():
    """Bright, buzzy saw: the upper harmonics fall only as k^-0.8."""
    return power_law(0.8), sine_phases(0.0008)


def saw4():
    """Warm analog saw: 1/k through a gentle two-pole low-pass at the 16th
    harmonic, with the filter's phase shift."""
    return filtered(power_law(1.0), sine_phases(0.0005), lambda k: lowpass2(k, 16.0))


def saw5():
    """Soft saw: steeper k^-1.4 roll-off."""
    return power_law(1.4), sine_phases(0.0003)


def sqr2():
    """The reference square: odd harmonics at 1/k, even harmonics absent."""
    return power_law(1.0, odd), sine_phases(0.0005)


def sqr3():
    """Hard, bright square: odd harmonics at k^-0.8."""
    return power_law(0.8, odd), sine_phases(0.0008)


def sqr4():
    """Rounded square: odd 1/k through a two-pole low-pass at the 12th harmonic."""
    return filtered(power_law(1.0, odd), sine_phases(0.0005), lambda k: lowpass2(k, 12.0))


def sqr5():
    """Soft analog square: odd harmonics at k^-1.4 with a trace of even
    harmonics (0.03/k) from a slightly uneven duty cycle."""
    amps = [k ** -1.4 if odd(k) else 0.03 / k for k in ks()]
    return amps, sine_phases(0.0004)


def triang2():
    """The reference triangle: odd harmonics at 1/k^2 up to the 9th, in cosine
    phase (phases alternating just above 0 and just below 1, which is the same
    angle)."""
    amps = [k ** -2.0 if odd(k) and k <= 9 else 0.0 for k in ks()]
    phases = [0.0] * HARMONICS
    for i, k in enumerate((1, 3, 5, 7, 9)):
        offset = 0.0008 + 0.0002 * i
        phases[k - 1] = offset if i % 2 == 0 else 1.0 - offset
    return amps, phases


def triang3():
    """Skewed triangle: rises for 30 % of the cycle and falls for 70 %, which
    adds even harmonics and keeps all 64."""
    def shape(x):
        return -1.0 + 2.0 * x / 0.3 if x < 0.3 else 1.0 - 2.0 * (x - 0.3) / 0.7
    amps, phases = spectrum_of(shape)
    return normalised(amps), phases


def glass():
    """Glassy: a clear fundamental over a sparse set of high partials whose
    spacing widens (4, 7, 11, 16, 22, 29, 37, 46, 56), like the stretched
    modes of a struck glass."""
    partials = {1: 1.0}
    for i, k in enumerate((4, 7, 11, 16, 22, 29, 37, 46, 56)):
        partials[k] = 0.65 * 0.78 ** i
    amps, _ = sparse(partials)
    return amps, random_phases(3001)


def hollow():
    """Hollow, clarinet-like: strong odd harmonics falling as k^-1.2 and only
    faint even ones."""
    amps = [k ** -1.2 if odd(k) else 0.02 / k for k in ks()]
    return amps, sine_phases(0.001)


def octave():
    """Harmonics 1, 2, 4, 8, 16, 32, 64 at 1/k."""
    return [1.0 / k if (k & (k - 1)) == 0 else 0.0 for k in ks()], sine_phases()


def overtone():
    """Overtone singing: a soft 1/k series with a single narrow, strong
    resonance on the 8th harmonic."""
    amps = [0.3 / k + math.exp(-((k - 8) / 0.8) ** 2) for k in ks()]
    return normalised(amps), sine_phases(0.001)


def rez(centre, q, tilt):
    """Resonant sweep frozen at one point: a k^-tilt series through a
    resonant two-pole low-pass (cutoff `centre` harmonics, quality q)."""
    def build():
        return filtered(power_law(tilt), sine_phases(0.0005), lambda k: lowpass2(k, centre, q))
    return build


def digix():
    """Digital and harsh: a sine plus its 5th harmonic, sampled-and-held at 12
    steps per cycle and quantised to 6 levels; the steps spray energy around
    the 11th/13th, 23rd/25th ... harmonics."""
    def shape(x):
        step = math.floor(x * 12.0) / 12.0
        v = math.sin(TWO_PI * step) + 0.6 * math.sin(TWO_PI * 5.0 * step)
        return round(v * 2.5) / 2.5
    amps, phases = spectrum_of(shape)
    return normalised(amps), phases


def church_organ():
    """Church organ principal chorus: Principal 8', Octave 4', Twelfth
    2 2/3', Fifteenth 2' and a four-rank mixture (1 1/3', 1', 2/3', 1/2').
    Each pipe contributes its own flue-pipe series (1, 0.45, 0.25, 0.15,
    0.09, 0.05) at multiples of its pitch."""
    ranks = [(1, 1.0), (2, 0.5), (3, 0.35), (4, 0.35), (6, 0.25), (8, 0.22), (12, 0.18), (16, 0.15)]
    pipe = [1.0, 0.45, 0.25, 0.15, 0.09, 0.05]
    amps = [0.0] * HARMONICS
    for pitch, level in ranks:
        for j, p in enumerate(pipe, start=1):
            k = pitch * j
            if k <= HARMONICS:
                amps[k - 1] += level * p
    return normalised(amps), random_phases(4001)


def whistle():
    """Whistle: an almost pure sine with a faint 2nd and 3rd harmonic and a
    breathy trace spread thinly over the upper harmonics."""
    rng = Rand15(4101)
    amps = [0.0] * HARMONICS
    amps[0], amps[1], amps[2] = 1.0, 0.035, 0.012
    for k in range(4, HARMONICS + 1):
        amps[k - 1] = 0.004 * (0.5 + rng.uniform()) / math.sqrt(k)
    return amps, random_phases(4102)


# Vowel formants (Hz) of adult voices, after the classic vowel studies.
VOWELS_MALE = {
    'a': (730, 1090, 2440),   # "father"
    'e': (480, 2090, 2690),   # "hay"
    'o': (500, 910, 2460),    # "go"
    'u': (300, 870, 2240),    # "boot"
    'i': (270, 2290, 3010),   # "beet"
    'ih': (390, 1990, 2550),  # "bit"
    'ae': (660, 1720, 2410),  # "bat"
    'uh': (640, 1190, 2390),  # "but"
    'er': (490, 1350, 1690),  # "bird"
}
VOWELS_FEMALE = {
    'a': (850, 1220, 2810),
    'i': (310, 2790, 3310),
    'u': (370, 950, 2670),
}


def vocal(name):
    return lambda: vowel(REFERENCE_HZ, male(*VOWELS_MALE[name]))


def vox(n):
    """Vox 01..09: more voices. 01-05 further male vowels (ee, ih, a as in
    "bat", uh, er); 06-07 a female "ah" and "ee" for a voice an octave up; 08
    a hummed nasal "mm" (low murmur formant, weak upper formants); 09 a soft
    choir "ooh" two octaves up with a breathy, steeper source."""
    def build():
        if n <= 5:
            key = ('i', 'ih', 'ae', 'uh', 'er')[n - 1]
            return vowel(REFERENCE_HZ, male(*VOWELS_MALE[key]), seed=5000 + n)
        if n == 6:
            return vowel(2 * REFERENCE_HZ, female(*VOWELS_FEMALE['a']), seed=5006)
        if n == 7:
            return vowel(2 * REFERENCE_HZ, female(*VOWELS_FEMALE['i']), seed=5007)
        if n == 8:
            nasal = [(250, 60.0), (1100, 300.0), (2300, 400.0), (3300, 400.0)]
            return vowel(REFERENCE_HZ, nasal, tilt=1.2, seed=5008)
        choir = [(380, 120.0), (900, 160.0), (2700, 300.0)]
        return vowel(4 * REFERENCE_HZ, choir, tilt=1.6, seed=5009)
    return build


# --- Spec 01..73 ------------------------------------------------------------

def bright_dark(p, seed):
    """Spec 01-08, dark to bright: every harmonic at k^-p, p from 2.5 (a
    muffled, almost triangular tone) to 0.5 (very bright), with the scattered
    phases of a recorded tone."""
    return lambda: (power_law(p), random_phases(seed))


def odd_even(variant):
    """Spec 09-16, odd/even balance:
    09 odd harmonics k^-1.5 (soft hollow); 10 odd k^-0.7 (bright hollow);
    11 odd 1/k, even 0.5/k (between square and saw); 12 odd 1/k, even 0.2/k;
    13 even harmonics only plus a thin fundamental (octave-up character);
    14 saw with boosted even harmonics (2/k, capped); 15 every third
    harmonic missing (1/k); 16 odd harmonics rising to the 7th, then k^-1.2."""
    def build():
        if variant == 9:
            return power_law(1.5, odd), sine_phases(0.001)
        if variant == 10:
            return power_law(0.7, odd), sine_phases(0.001)
        if variant == 11:
            return [1.0 / k if odd(k) else 0.5 / k for k in ks()], sine_phases(0.0005)
        if variant == 12:
            return [1.0 / k if odd(k) else 0.2 / k for k in ks()], sine_phases(0.0005)
        if variant == 13:
            return normalised([0.25 if k == 1 else (2.0 / k if not odd(k) else 0.0) for k in ks()]), sine_phases(0.0005)
        if variant == 14:
            return normalised([1.0 / k if odd(k) else min(1.0, 2.0 / k) for k in ks()]), sine_phases(0.0005)
        if variant == 15:
            return [0.0 if k % 3 == 0 else 1.0 / k for k in ks()], sine_phases(0.0005)
        amps = [((k / 7.0) if k <= 7 else (k / 7.0) ** -1.2) if odd(k) else 0.0 for k in ks()]
        return normalised(amps), random_phases(6016)
    return build


def bell_fm(variant):
    """Spec 17-24, bells and FM:
    17 church bell (hum, prime, minor-third tierce, quint, nominal and upper
    partials placed on harmonics 2, 4, 5, 6, 8, 10, 12, 16, 21);
    18 tubular chime (partials 2, 5, 9, 14, 20, 27, 35, 44); 19 vibraphone
    bar tuned 1:4:10; 20 glockenspiel (free-bar modes 1, 2.76, 5.40, 8.93,
    13.34 placed at 3x: harmonics 3, 8, 16, 27, 40, with a faint fundamental);
    21-24 two-operator FM spectra: carrier:modulator 1:2 index 2.5, 1:3 index
    4, 2:5 index 3, 1:7 index 1.5 (the sidebands fold into the harmonic
    series)."""
    def build():
        if variant == 17:
            p = {2: 0.5, 4: 1.0, 5: 0.6, 6: 0.5, 8: 0.8, 10: 0.4, 12: 0.3, 16: 0.2, 21: 0.1}
            return sparse(p)[0], random_phases(7017)
        if variant == 18:
            p = {k: 0.85 ** i for i, k in enumerate((2, 5, 9, 14, 20, 27, 35, 44))}
            return sparse(p)[0], random_phases(7018)
        if variant == 19:
            return sparse({1: 1.0, 4: 0.5, 10: 0.2, 20: 0.05, 40: 0.02})[0], random_phases(7019)
        if variant == 20:
            return sparse({1: 0.15, 3: 1.0, 8: 0.7, 16: 0.45, 27: 0.25, 40: 0.12})[0], random_phases(7020)
        carrier, modulator, index = {21: (1, 2, 2.5), 22: (1, 3, 4.0), 23: (2, 5, 3.0), 24: (1, 7, 1.5)}[variant]
        amps, phases = spectrum_of(lambda x: math.sin(TWO_PI * carrier * x + index * math.sin(TWO_PI * modulator * x)), 4096)
        return normalised(amps), phases
    return build


def formant_sweep(step):
    """Spec 25-36, formant sweep: a saw through a resonant low-pass (q = 6)
    whose cutoff climbs in 12 geometric steps from 1.5 to 48 harmonics; played
    in sequence they give a frozen filter sweep."""
    cutoff = 1.5 * 32.0 ** (step / 11.0)
    return lambda: filtered(power_law(1.0), sine_phases(0.0005), lambda k: lowpass2(k, cutoff, 6.0))


def comb_saw(delay, sign):
    """Spec 37-44, comb-filtered saws: a saw plus a copy of itself delayed by
    `delay` of a cycle (sign +1) or subtracted (sign -1), at 0.9 gain; the
    notches fall on every 1/delay-th harmonic (or between them)."""
    def response(k):
        h = 1.0 + sign * 0.9 * cmath.exp(-2j * math.pi * k * delay)
        return abs(h), cmath.phase(h) / TWO_PI
    def build():
        amps, phases = filtered(power_law(1.0), sine_phases(0.0005), response)
        return normalised(amps), phases
    return build


def sparse_set(variant):
    """Spec 45-52, sparse partials: 45 Fibonacci harmonics (1, 2, 3, 5, 8, 13,
    21, 34, 55); 46 the fundamental and prime harmonics; 47 square numbers
    (1, 4, 9, ..., 64); 48 triangular numbers (1, 3, 6, 10, ..., 55);
    49 octaves and fifths (1, 2, 3, 4, 6, 8, 12, 16, 24, 32, 48, 64);
    50 ten scattered harmonics drawn at random over a fundamental, falling
    gently (k^-0.4) so the high ones do not dominate; 51 two
    clusters (1-3 and 20-24); 52 shimmer: a fundamental and a band of
    harmonics 24-32."""
    def build():
        if variant == 45:
            sel = (1, 2, 3, 5, 8, 13, 21, 34, 55)
            return sparse({k: k ** -0.5 for k in sel})[0], random_phases(8045)
        if variant == 46:
            primes = [k for k in range(2, HARMONICS + 1) if all(k % d for d in range(2, int(k ** 0.5) + 1))]
            return sparse({k: k ** -0.7 for k in [1] + primes})[0], random_phases(8046)
        if variant == 47:
            return sparse({n * n: (n * n) ** -0.5 for n in range(1, 9)})[0], random_phases(8047)
        if variant == 48:
            return sparse({n * (n + 1) // 2: (n * (n + 1) / 2) ** -0.5 for n in range(1, 11)})[0], random_phases(8048)
        if variant == 49:
            sel = (1, 2, 3, 4, 6, 8, 12, 16, 24, 32, 48, 64)
            return sparse({k: k ** -0.5 for k in sel})[0], random_phases(8049)
        if variant == 50:
            rng = Rand15(8050)
            p = {1: 1.0}
            while len(p) < 11:
                k = 2 + rng.next() % (HARMONICS - 1)
                p.setdefault(k, (0.2 + 0.6 * rng.uniform()) * k ** -0.4)
            return sparse(p)[0], random_phases(8150)
        if variant == 51:
            p = {1: 1.0, 2: 0.7, 3: 0.5, 20: 0.3, 21: 0.45, 22: 0.5, 23: 0.45, 24: 0.3}
            return sparse(p)[0], random_phases(8051)
        p = {1: 1.0}
        p.update({k: 0.3 for k in range(24, 33)})
        return sparse(p)[0], random_phases(8052)
    return build


def pulse(width):
    """Spec 53-60, pulse widths 40 % down to 3 %: the exact Fourier series of a
    rectangular pulse, a_k = |sin(pi k w)| / k, phases from its position."""
    def build():
        amps, phases = [], []
        for k in ks():
            x = (1.0 - cmath.exp(-2j * math.pi * k * width)) / (1j * math.pi * k)
            amps.append(abs(x))
            phases.append((0.5 - cmath.phase(x) / TWO_PI) % 1.0 if abs(x) > 1e-12 else 0.0)
        return normalised(amps), phases
    return build


def hard_sync(ratio, slave):
    """Spec 61-66, hard sync: one master cycle of a slave saw (61-64: slave at
    1.5, 2.25, 3.1, 4.6 times the master) or slave sine (65-66: 2.6 and 5.4
    times) restarted at every master cycle."""
    def build():
        if slave == 'saw':
            shape = lambda x: 2.0 * ((ratio * x) % 1.0) - 1.0
        else:
            shape = lambda x: math.sin(TWO_PI * ratio * x)
        amps, phases = spectrum_of(shape)
        return normalised(amps), phases
    return build


def instrument(variant):
    """Spec 67-73, instrument-like spectra: 67 brass (harmonics rising to a
    peak around the 4th, then falling steeply); 68 bowed string (saw with the
    bow at 1/7 of the string: every 7th harmonic notched); 69 clarinet (odd
    harmonics, even ones weak below the 12th, then all harmonics); 70 flute
    (strong fundamental, quick decay, breath floor); 71 piano-like struck
    string (struck at 1/8, k^-1.5); 72 harpsichord (plucked at 1/12, 1/k);
    73 double reed (weak fundamental, formants near 500 Hz and 1.2 kHz at
    110 Hz)."""
    def build():
        if variant == 67:
            amps = [k ** 1.5 / (1.0 + (k / 4.0) ** 3.2) for k in ks()]
            return normalised(amps), sine_phases(0.002)
        if variant == 68:
            amps = [abs(math.sin(math.pi * k / 7.0)) / k for k in ks()]
            return normalised(amps), random_phases(9068)
        if variant == 69:
            amps = [k ** -1.1 if odd(k) else (0.05 / k if k < 12 else 0.6 * k ** -1.1) for k in ks()]
            return normalised(amps), sine_phases(0.001)
        if variant == 70:
            rng = Rand15(9070)
            amps = [max(0.0, 1.0 * 0.35 ** (k - 1)) + 0.006 * rng.uniform() for k in ks()]
            return normalised(amps), random_phases(9170)
        if variant == 71:
            amps = [abs(math.sin(math.pi * k / 8.0)) * k ** -1.5 for k in ks()]
            return normalised(amps), random_phases(9071)
        if variant == 72:
            amps = [abs(math.sin(math.pi * k / 12.0)) / k for k in ks()]
            return normalised(amps), sine_phases(0.0005)
        reed = [(500, 150.0), (1200, 250.0), (2600, 400.0)]
        amps = [(0.25 if k == 1 else 1.0) * k ** -0.5 * resonance(k * REFERENCE_HZ, 500, 150.0)
                * resonance(k * REFERENCE_HZ, 1200, 250.0) * resonance(k * REFERENCE_HZ, 2600, 400.0) for k in ks()]
        return normalised(amps), random_phases(9073)
    return build


def numbered_spectra():
    r = []
    for i, p in enumerate((2.5, 2.1, 1.8, 1.5, 1.25, 0.9, 0.7, 0.5)):
        r.append(bright_dark(p, 6001 + i))                     # 01-08
    r += [odd_even(v) for v in range(9, 17)]                   # 09-16
    r += [bell_fm(v) for v in range(17, 25)]                      # 17-24
    r += [formant_sweep(s) for s in range(12)]                         # 25-36
    combs = ((1 / 3, 1), (1 / 4, 1), (1 / 5, 1), (1 / 6, -1), (1 / 8, 1), (1 / 11, -1), (2 / 7, 1), (3 / 10, -1))
    r += [comb_saw(d, s) for d, s in combs]                        # 37-44
    r += [sparse_set(v) for v in range(45, 53)]                    # 45-52
    r += [pulse(w) for w in (0.40, 0.30, 0.25, 0.20, 0.15, 0.10, 0.06, 0.03)]  # 53-60
    r += [hard_sync(x, 'saw') for x in (1.5, 2.25, 3.1, 4.6)]       # 61-64
    r += [hard_sync(x, 'sine') for x in (2.6, 5.4)]                 # 65-66
    r += [instrument(v) for v in range(67, 74)]                # 67-73
    assert len(r) == 73
    return r


def numbered_name(number, index):
    # The waveform menu shows "Spec 30" at index 104, where "Spec 50" would
    # be; the data carries the same name.
    return "Spec 30" if index == 104 else "Spec %02d" % number


def waves():
    """(index, name, recipe) for indexes 16..127."""
    table = [
        ("Harmc1", lambda: harmonic_stack(1, 0.9955)),
        ("Harmc2", lambda: harmonic_stack(2, 0.955)),
        ("Harmc3", lambda: harmonic_stack(3, 0.9955)),
        ("Harmc4", lambda: harmonic_stack(4, 1.0)),
        ("Saw 2", saw2), ("Saw 3", saw3), ("Saw 4", saw4), ("Saw 5", saw5),
        ("Sqr 2", sqr2), ("Sqr 3", sqr3), ("Sqr 4", sqr4), ("Sqr 5", sqr5),
        ("Triang 2", triang2), ("Triang 3", triang3),
        ("Glass", glass), ("Hollow", hollow), ("Octave", octave), ("Overtone", overtone),
        ("Rez 4", rez(8.0, 8.0, 1.0)),     # resonance on the 8th harmonic
        ("Rez 5", rez(16.0, 14.0, 0.6)),   # sharper resonance on the 16th, brighter base
        ("Digix", digix),
        ("Organ 1", lambda: drawbars("8740000")),  # mellow: 8', 4', a touch of 2 2/3'
        ("Organ 2", lambda: drawbars("8888888")),  # full upper drawbars
        ("Organ 3", lambda: drawbars("8080800")),  # reedy cornet: 8', 2 2/3', 1 3/5'
        ("Ch. Organ", church_organ), ("Whistle", whistle),
        ("Vocal A", vocal('a')), ("Vocal E", vocal('e')), ("Vocal O", vocal('o')), ("Vocal U", vocal('u')),
    ]
    table += [("Vox %02d" % n, vox(n)) for n in range(1, 10)]
    out = [(16 + i, name, recipe) for i, (name, recipe) in enumerate(table)]
    for n, recipe in enumerate(numbered_spectra(), start=1):
        index = 54 + n
        out.append((index, numbered_name(n, index), recipe))
    assert [w[0] for w in out] == list(range(16, 128))
    return out


# ---------------------------------------------------------------------------
# Output
# ---------------------------------------------------------------------------

def fmt(value, decimals):
    text = "%.*f" % (decimals, value)
    if "." in text:
        text = text.rstrip("0").rstrip(".")
    return "0" if text in ("", "-0") else text


def format_row(values, decimals, per_line=16):
    lines = []
    for i in range(0, HARMONICS, per_line):
        lines.append(" ".join(fmt(v, decimals) for v in values[i:i + per_line]))
    return ("\n      ").join(lines)


def render():
    out = [
        "# Brennix spectral waveforms 16..127.",
        "# Generated by tools/wavegen/wavegen.py; do not edit by hand. Regenerate with:",
        "#     python3 tools/wavegen/wavegen.py",
        "#",
        "# One record per wave:",
        "#     wave INDEX \"NAME\"",
        "#     amp   64 amplitudes of harmonics 1..64 (0..1)",
        "#     phase 64 phases of harmonics 1..64 (cycles, 0..1)",
        "# A harmonic adds a * cos(2 pi k n / 4096 - 2 pi (phase - 0.5)) to the cycle.",
        "",
    ]
    for index, name, recipe in waves():
        amps, phases = recipe()
        if index >= 20:
            # Every designed wave has its strongest harmonic at 1; the Harmc
            # rows keep their own levels.
            amps = normalised(amps)
        amps = [round(a, 5) for a in amps]
        if len(amps) != HARMONICS or len(phases) != HARMONICS:
            raise ValueError("wave %d: wrong harmonic count" % index)
        if max(amps) > 1.0 or min(amps) < 0.0:
            raise ValueError("wave %d (%s): amplitude out of range" % (index, name))
        phases = [0.0 if a == 0.0 else round(p % 1.0, 4) % 1.0 for a, p in zip(amps, phases)]
        out.append('wave %d "%s"' % (index, name))
        out.append("amp   " + format_row(amps, 5))
        out.append("phase " + format_row(phases, 4))
        out.append("")
    return "\n".join(out)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.normpath(os.path.join(here, "..", "..", "resources", "waves", "harmonics.txt"))
    args = [a for a in argv[1:] if a != "--check"]
    check = "--check" in argv[1:]
    if len(args) > 1 or any(a.startswith("-") for a in args):
        sys.stderr.write("usage: wavegen.py [--check] [OUTPUT]\n")
        return 2
    path = args[0] if args else default
    text = render()
    if check:
        try:
            with open(path, encoding="ascii") as f:
                current = f.read()
        except OSError:
            current = None
        if current != text:
            sys.stderr.write("%s is out of date; run tools/wavegen/wavegen.py\n" % path)
            return 1
        return 0
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
