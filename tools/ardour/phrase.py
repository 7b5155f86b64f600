#!/usr/bin/env python3
"""The phrase the Ardour render check plays: single notes and chords over four
bars of 4/4, written twice, as a Standard MIDI File for brennix-render and as a
plain note list for the Lua script that enters the same notes into Ardour's
MIDI model.

    phrase.py --tempo BPM --smf OUT.mid --notes OUT.txt [--shift-ticks N]

Times are in ticks of 1920 per quarter note, Ardour's own beat resolution, so
both hosts see exactly the same positions. Every note group starts after at
least a quarter of a beat of silence, so that a short release dies away and
each group's onset stands out from near-silence. The note list has one note a
line, "start length key velocity" (start and length in ticks), after a header
line "onsets N end T": N distinct note-on times, T the tick of the last
note-off. --shift-ticks moves every note later (the check's own control that
a shifted render is caught). Python 3, standard library only.
"""

import argparse
import struct
import sys

TICKS_PER_BEAT = 1920
Q = TICKS_PER_BEAT  # a quarter note
E = Q // 2  # an eighth note

# (start, length, key, velocity); four bars of 4/4.
NOTES = [
    # bar 1: a rising C major arpeggio, each note three quarters of a beat
    (0 * Q, 3 * Q // 4, 60, 100),
    (1 * Q, 3 * Q // 4, 64, 90),
    (2 * Q, 3 * Q // 4, 67, 110),
    (3 * Q, 3 * Q // 4, 72, 80),
    # bar 2: a C major triad held two beats, then a low A
    (4 * Q, 2 * Q, 60, 100),
    (4 * Q, 2 * Q, 64, 100),
    (4 * Q, 2 * Q, 67, 100),
    (6 * Q + E, E, 57, 120),
    # bar 3: short D minor figure, then an F major chord
    (8 * Q, E, 62, 95),
    (9 * Q, E, 65, 85),
    (10 * Q, 3 * Q // 2, 65, 105),
    (10 * Q, 3 * Q // 2, 69, 105),
    (10 * Q, 3 * Q // 2, 72, 105),
    # bar 4: a wide closing chord
    (12 * Q, 3 * Q, 48, 110),
    (12 * Q, 3 * Q, 60, 100),
    (12 * Q, 3 * Q, 64, 90),
    (12 * Q, 3 * Q, 67, 90),
]


def shifted(notes, ticks):
    return [(start + ticks, length, key, velocity) for start, length, key, velocity in notes]


def vlq(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def smf(notes, tempo):
    """A format 0 file on channel 1: tempo, 4/4, the notes (offs before ons at
    the same tick, so a repeated key is never cut by its own earlier off)."""
    events = []
    for start, length, key, velocity in notes:
        events.append((start + length, 0, bytes([0x80, key, 64])))
        events.append((start, 1, bytes([0x90, key, velocity])))
    events.sort(key=lambda e: (e[0], e[1], e[2][1]))
    micros = round(60_000_000 / tempo)
    track = bytearray()
    track += vlq(0) + b"\xff\x51\x03" + micros.to_bytes(3, "big")
    track += vlq(0) + b"\xff\x58\x04\x04\x02\x18\x08"
    now = 0
    for tick, _, data in events:
        track += vlq(tick - now) + data
        now = tick
    track += vlq(0) + b"\xff\x2f\x00"
    header = b"MThd" + struct.pack(">IHHH", 6, 0, 1, TICKS_PER_BEAT)
    return header + b"MTrk" + struct.pack(">I", len(track)) + bytes(track)


def note_list(notes):
    onsets = len({start for start, _, _, _ in notes})
    end = max(start + length for start, length, _, _ in notes)
    lines = [f"onsets {onsets} end {end}"]
    lines += [f"{start} {length} {key} {velocity}" for start, length, key, velocity in notes]
    return "\n".join(lines) + "\n"


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--tempo", type=float, required=True, help="beats per minute")
    parser.add_argument("--smf", required=True, help="Standard MIDI File to write")
    parser.add_argument("--notes", required=True, help="note list to write")
    parser.add_argument("--shift-ticks", type=int, default=0, help="move every note later")
    args = parser.parse_args(argv)
    if not 10 <= args.tempo <= 1000 or args.shift_ticks < 0:
        parser.error("tempo must be 10..1000 and the shift not negative")
    notes = shifted(NOTES, args.shift_ticks)
    with open(args.smf, "wb") as f:
        f.write(smf(notes, args.tempo))
    with open(args.notes, "w") as f:
        f.write(note_list(notes))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
