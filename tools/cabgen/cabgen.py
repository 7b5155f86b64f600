#!/usr/bin/env python3
"""cabgen: designs the Amp Sim's five 64-tap cabinet responses.

The "Amp Sim" effect type convolves its input with one of five 64-tap
impulse responses (at the tap rate of the plug-in's sample rate; the designs
assume 44.1 kHz), chosen by its "Type" knob: "4x10", "4x12", "Bass",
"Combo", "Radio". Tap k weights the input sample k steps back.

Each cabinet is described below by the speaker and box it models, as a
target magnitude response built from a few physical traits:

  * the box's low end: a closed box rolls off below its resonance with 12 dB
    per octave, an open back loses more low end (dipole cancellation);
  * the cone: its useful band ends where it breaks up, a steep low-pass
    whose corner falls with the cone's size; large cones add a breakup peak
    just below it;
  * colourings: broad peaks and dips (in dB, over a width in octaves) from
    the cabinet's standing waves, the speakers' interference and the
    presence region of guitar speakers.

64 taps at 44.1 kHz last 1.45 ms, so nothing narrower than about 700 Hz can
be shaped: the targets keep their low ends gentle for that reason.

The first taps of cabinets 1, 2, 3 and 5 are fixed openings (the attack of
the speaker's response, kept exactly). The remaining taps are found by
alternating projections: from a start (the opening, the rest small random
values from the synthesizer's 15-bit generator with a fixed seed per
cabinet), repeatedly take the 64 taps' spectrum, keep its phase, impose the
target magnitude (times the best overall gain), transform back, keep 64
taps and restore the opening. The result's magnitude follows the target
within a few decibels at the octave points 63 Hz .. 16 kHz.

This script writes resources/cabinets/cabinets.txt, compiled into the
plug-in (resource CABINETS 1). Python 3, standard library only:

    python3 tools/cabgen/cabgen.py            # rewrite the data file
    python3 tools/cabgen/cabgen.py --check    # exit 1 if the file is stale
    python3 tools/cabgen/cabgen.py --report   # print each design's response
    python3 tools/cabgen/cabgen.py OUT.txt    # write elsewhere

Data file: for each cabinet a line `cabinet N NAME`, a line `design` with
the target magnitude in dB at 63, 125, 250, 500, 1k, 2k, 4k, 8k and 16 kHz
(including the overall gain the design settled on), and a line `taps` with
the 64 coefficients. `#` starts a comment.
"""

import cmath
import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "pylib"))
from rand15 import Rand15  # noqa: E402

TAPS = 64
RATE = 44100.0
FFT = 1024
ITERATIONS = 300
OCTAVES = [63.0, 125.0, 250.0, 500.0, 1000.0, 2000.0, 4000.0, 8000.0, 16000.0]


# ---------------------------------------------------------------------------
# Physical traits as magnitudes in dB
# ---------------------------------------------------------------------------

def box_high_pass(f, corner, order):
    """A box's low-end roll-off: `order` x 6 dB per octave below `corner`."""
    return -10.0 * math.log10(1.0 + (corner / max(f, 1.0)) ** (2 * order))


def cone_low_pass(f, corner, order):
    """The cone's upper limit: `order` x 6 dB per octave above `corner`."""
    return -10.0 * math.log10(1.0 + (f / corner) ** (2 * order))


def bump(f, centre, gain_db, octaves):
    """A broad peak (or dip) over about `octaves` around `centre`."""
    x = math.log2(max(f, 1.0) / centre) / octaves
    return gain_db * math.exp(-x * x)


# ---------------------------------------------------------------------------
# The cabinets
# ---------------------------------------------------------------------------

CABINETS = [
    {
        "number": 1, "name": "4x10", "seed": 4010, "level_db": 3.0,
        "models": "closed-back box with four 10-inch guitar speakers: tight low end, "
                  "bright upper mids, cones breaking up above 5 kHz",
        "opening": [0.0587158203, 0.0587158203, 0.0039, -0.0509, -0.1214, -0.1137, -0.0746, 0.0114],
        "target": lambda f: (box_high_pass(f, 60.0, 1) + cone_low_pass(f, 5200.0, 4)
                             + bump(f, 2500.0, 5.0, 0.8) + bump(f, 700.0, -2.0, 0.7)),
    },
    {
        "number": 2, "name": "4x12", "seed": 4012,
        "models": "closed-back box with four 12-inch guitar speakers: full low mids, "
                  "a presence peak near 2 kHz, darker than the 4x10 above 4 kHz",
        "opening": [-0.0039, -0.0039, -0.0039, -0.0039],
        "target": lambda f: (box_high_pass(f, 45.0, 1) + cone_low_pass(f, 4200.0, 4)
                             + bump(f, 2000.0, 4.0, 0.6) + bump(f, 400.0, 2.0, 1.0)
                             + bump(f, 1000.0, -2.0, 0.5)),
    },
    {
        "number": 3, "name": "Bass", "seed": 1015,
        "models": "bass cabinet with one 15-inch woofer in a large ported box: "
                  "flat low end, little above 2 kHz",
        "opening": [-0.0039, -0.0039, -0.0039],
        "target": lambda f: (box_high_pass(f, 30.0, 1) + cone_low_pass(f, 1800.0, 3)
                             + bump(f, 800.0, 1.5, 0.8)),
    },
    {
        "number": 4, "name": "Combo", "seed": 1012,
        "models": "open-back combo with one 12-inch speaker: thinner low end from the "
                  "open back, a bright 3 kHz presence, the widest top of the five",
        "opening": [],
        "target": lambda f: (box_high_pass(f, 160.0, 1) + cone_low_pass(f, 6500.0, 3)
                             + bump(f, 3000.0, 4.0, 0.7)),
    },
    {
        "number": 5, "name": "Radio", "seed": 303, "level_db": 7.0,
        "models": "small 3-inch speaker in a plastic radio case: no bass, "
                  "a narrow band around 1 kHz, nothing above 4 kHz",
        "opening": [0.0413, 0.0997, 0.1503, 0.181, 0.1905, 0.1829, 0.1642, 0.0696],
        "target": lambda f: (box_high_pass(f, 250.0, 1) + cone_low_pass(f, 3000.0, 4)
                             + bump(f, 1200.0, 3.0, 0.6)),
    },
]


# ---------------------------------------------------------------------------
# Design
# ---------------------------------------------------------------------------

def fft(values, inverse=False):
    n = len(values)
    a = list(values)
    j = 0
    for i in range(1, n):
        bit = n >> 1
        while j & bit:
            j ^= bit
            bit >>= 1
        j ^= bit
        if i < j:
            a[i], a[j] = a[j], a[i]
    length = 2
    sign = 1.0 if inverse else -1.0
    while length <= n:
        step = cmath.exp(complex(0.0, sign * 2.0 * math.pi / length))
        half = length // 2
        for start in range(0, n, length):
            w = 1.0
            for k in range(half):
                u = a[start + k]
                v = a[start + k + half] * w
                a[start + k] = u + v
                a[start + k + half] = u - v
                w *= step
        length <<= 1
    if inverse:
        a = [x / n for x in a]
    return a


def response_db(taps, f):
    """Magnitude in dB of the taps at f Hz (tap k weights the input k steps back)."""
    h = sum(t * cmath.exp(complex(0.0, -2.0 * math.pi * f * k / RATE)) for k, t in enumerate(taps))
    return 20.0 * math.log10(max(abs(h), 1e-12))


# Below this a cabinet is taken as silent: 64 taps cannot hold a deeper stop band.
FLOOR_DB = -30.0


def floored(target, f):
    return max(target(f), FLOOR_DB)


def design(cabinet):
    target = cabinet["target"]
    opening = cabinet["opening"]
    bins = FFT // 2 + 1
    # Target magnitude per bin (the lowest bin at the first bin's frequency).
    want = [10.0 ** (floored(target, max(k, 0.5) * RATE / FFT) / 20.0) for k in range(bins)]
    # The loudest frequency at the cabinet's level (0 dB for most: a cabinet
    # colours, it does not amplify; the radio's opening is louder than that).
    peak = max(want) / 10.0 ** (cabinet.get("level_db", 0.0) / 20.0)
    want = [w / peak for w in want]
    gain = 1.0 / peak
    # Start: the target's zero-phase response centred on the opening's
    # strongest tap, with a little seeded noise, under the opening.
    centre = max(range(len(opening)), key=lambda k: abs(opening[k])) if opening else 2
    zero_phase = fft([complex(want[k if k < bins else FFT - k]) for k in range(FFT)], inverse=True)
    random = Rand15(cabinet["seed"])
    taps = [zero_phase[(k - centre) % FFT].real + 0.002 * random.bipolar() for k in range(TAPS)]
    taps[:len(opening)] = opening
    for _ in range(ITERATIONS):
        spectrum = fft([complex(t) for t in taps] + [0j] * (FFT - TAPS))
        shaped = []
        for k in range(FFT):
            m = k if k < bins else FFT - k
            z = spectrum[k]
            phase = z / abs(z) if abs(z) > 1e-12 else 1.0
            shaped.append(want[m] * phase)
        full = fft(shaped, inverse=True)
        taps = [x.real for x in full[:TAPS]]
        taps[:len(opening)] = opening
    design_db = [20.0 * math.log10(gain) + floored(target, f) for f in OCTAVES]
    return taps, design_db


def number(v):
    return "%.10g" % v


def generate():
    lines = ["# Amp Sim cabinet responses, written by tools/cabgen/cabgen.py; do not edit.",
             "# design: target magnitude in dB at " + " ".join("%g" % f for f in OCTAVES) + " Hz.",
             "# taps: 64 coefficients, tap k weighting the input k samples back."]
    report = []
    for cabinet in CABINETS:
        taps, design_db = design(cabinet)
        lines.append("")
        lines.append("# %s: %s" % (cabinet["name"], cabinet["models"]))
        lines.append("cabinet %d %s" % (cabinet["number"], cabinet["name"]))
        lines.append("design " + " ".join("%.2f" % d for d in design_db))
        lines.append("taps " + " ".join(number(t) for t in taps))
        report.append((cabinet["name"], design_db, [response_db(taps, f) for f in OCTAVES]))
    return "\n".join(lines) + "\n", report


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.join(here, "..", "..", "resources", "cabinets", "cabinets.txt")
    args = [a for a in argv[1:] if not a.startswith("--")]
    out = args[0] if args else default
    text, report = generate()
    if "--report" in argv:
        print("%-6s %s" % ("", " ".join("%7s" % ("%gk" % (f / 1000) if f >= 1000 else "%g" % f) for f in OCTAVES)))
        for name, design_db, achieved in report:
            print("%-6s %s   design" % (name, " ".join("%7.1f" % d for d in design_db)))
            print("%-6s %s   taps" % ("", " ".join("%7.1f" % d for d in achieved)))
        return 0
    if "--check" in argv:
        try:
            with open(out) as f:
                current = f.read()
        except OSError:
            current = None
        if current != text:
            print("%s is stale: run python3 tools/cabgen/cabgen.py" % out, file=sys.stderr)
            return 1
        return 0
    with open(out, "w") as f:
        f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
