#!/usr/bin/env python3
"""Compares a host's render of a phrase with a reference render of the same
notes, as the Ardour render check needs it:

    compare.py HOST.wav REFERENCE.wav --onsets N [--block FRAMES] [--tolerance-db DB]
               [--floor-db DB] [--quiet]

Both files are 32-bit float WAV (ardour7-export -b float, brennix-render's
default) at the same sample rate. They match when
  * the host's render is not silent (peak above -30 dBFS);
  * their lengths differ by at most one block;
  * in every 100 ms window, the RMS level of each channel, in dBFS and raised
    to the floor (default -60 dBFS, so that the last of a release and the
    silence between notes do not count), differs by at most --tolerance-db;
  * both show exactly N onsets (a rise past 10 % of the file's peak after
    at least 20 ms below 0.3 % of it) and every host onset lies within one
    block of the reference's.
Windows and onsets are printed; the exit status is 0 for a match, 1 for a
mismatch, 2 for a file that cannot be read. Python 3, standard library only.
"""

import argparse
import array
import math
import struct
import sys

WAVE_FORMAT_IEEE_FLOAT = 3
WAVE_FORMAT_EXTENSIBLE = 0xFFFE
NOT_SILENT_DB = -30.0
ONSET_HIGH = 0.1
ONSET_LOW = 0.003
ONSET_QUIET_SECONDS = 0.02


class WavError(Exception):
    pass


def read_wav(path):
    """(rate, [channel sample arrays]) of a 32-bit float WAV file."""
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError as e:
        raise WavError(f"{path}: {e.strerror}")
    if len(data) < 12 or data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        raise WavError(f"{path}: not a WAV file")
    fmt = samples = None
    pos = 12
    while pos + 8 <= len(data):
        chunk, size = struct.unpack_from("<4sI", data, pos)
        body = data[pos + 8 : pos + 8 + size]
        if chunk == b"fmt " and len(body) >= 16:
            fmt = struct.unpack_from("<HHIIHH", body)
            if fmt[0] == WAVE_FORMAT_EXTENSIBLE and len(body) >= 26:
                fmt = (struct.unpack_from("<H", body, 24)[0],) + fmt[1:]
        elif chunk == b"data":
            samples = body
        pos += 8 + size + (size & 1)
    if fmt is None or samples is None:
        raise WavError(f"{path}: no format or no data chunk")
    tag, channels, rate, _, _, bits = fmt
    if tag != WAVE_FORMAT_IEEE_FLOAT or bits != 32 or channels < 1:
        raise WavError(f"{path}: not 32-bit float (format {tag}, {bits} bits)")
    values = array.array("f")
    values.frombytes(samples[: len(samples) // (4 * channels) * 4 * channels])
    if sys.byteorder != "little":
        values.byteswap()
    return rate, [values[c::channels] for c in range(channels)]


def decibels(x):
    return 20.0 * math.log10(x) if x > 0 else -math.inf


def window_levels(channel, window, floor_db):
    levels = []
    for start in range(0, len(channel), window):
        part = channel[start : start + window]
        rms = math.sqrt(math.fsum(x * x for x in part) / len(part))
        levels.append(max(decibels(rms), floor_db))
    return levels


def onsets(channels, rate):
    """Frames where the louder channel rises past ONSET_HIGH of the peak after a
    quiet stretch below ONSET_LOW of it."""
    magnitude = [max(abs(x) for x in frame) for frame in zip(*channels)]
    peak = max(magnitude, default=0.0)
    if peak <= 0.0:
        return []
    high, low = ONSET_HIGH * peak, ONSET_LOW * peak
    quiet_needed = ONSET_QUIET_SECONDS * rate
    found, quiet, armed = [], quiet_needed, True
    for i, m in enumerate(magnitude):
        if armed and m >= high:
            found.append(i)
            armed = False
        if m < low:
            quiet += 1
            if quiet >= quiet_needed:
                armed = True
        else:
            quiet = 0
    return found


def compare(host_path, reference_path, expected_onsets, block, tolerance_db, floor_db, quiet):
    host_rate, host = read_wav(host_path)
    reference_rate, reference = read_wav(reference_path)
    say = (lambda *a: None) if quiet else print
    problems = []
    if host_rate != reference_rate:
        return [f"sample rates differ: {host_rate} and {reference_rate} Hz"]
    if len(host) != len(reference):
        return [f"channel counts differ: {len(host)} and {len(reference)}"]

    host_peak = max((abs(x) for c in host for x in c), default=0.0)
    reference_peak = max((abs(x) for c in reference for x in c), default=0.0)
    say(f"peak: host {decibels(host_peak):.1f} dBFS, reference {decibels(reference_peak):.1f} dBFS")
    if decibels(host_peak) < NOT_SILENT_DB:
        problems.append(f"the host's render is silent (peak below {NOT_SILENT_DB} dBFS)")

    host_frames, reference_frames = len(host[0]), len(reference[0])
    say(f"length: host {host_frames} frames, reference {reference_frames} frames")
    if abs(host_frames - reference_frames) > block:
        problems.append(f"lengths differ by {abs(host_frames - reference_frames)} frames (> {block})")
    common = min(host_frames, reference_frames)

    window = host_rate // 10
    differences = []  # (difference, channel, window, host level, reference level)
    for c in range(len(host)):
        a = window_levels(host[c][:common], window, floor_db)
        b = window_levels(reference[c][:common], window, floor_db)
        differences += [(abs(x - y), c + 1, w, x, y) for w, (x, y) in enumerate(zip(a, b))]
    differences.sort(reverse=True)
    for difference, channel, w, x, y in differences:
        if difference > tolerance_db:
            problems.append(f"channel {channel} at {w / 10:.1f} s: host {x:.1f} dB, "
                            f"reference {y:.1f} dB")
    say(f"level per 100 ms window: {len(differences)} windows, largest differences:")
    for difference, channel, w, x, y in differences[:5]:
        say(f"  ch{channel} {w / 10:5.1f} s  host {x:6.1f}  reference {y:6.1f} dB  ({difference:.3f} dB)")
    say(f"  tolerance {tolerance_db} dB, levels below {floor_db} dBFS counted as {floor_db}")

    host_onsets, reference_onsets = onsets(host, host_rate), onsets(reference, host_rate)
    say(f"onsets: host {len(host_onsets)}, reference {len(reference_onsets)}, expected {expected_onsets}")
    for name, found in (("host", host_onsets), ("reference", reference_onsets)):
        if len(found) != expected_onsets:
            problems.append(f"{name} render has {len(found)} onsets, not {expected_onsets}")
    largest = 0
    for h, r in zip(host_onsets, reference_onsets):
        offset = h - r
        largest = max(largest, abs(offset))
        mark = " <-" if abs(offset) > block else ""
        say(f"  onset host {h:8d}  reference {r:8d}  ({offset:+d} frames){mark}")
        if mark:
            problems.append(f"onset at frame {r} is {offset:+d} frames off (> {block})")
    say(f"largest onset offset: {largest} frames (tolerance {block})")
    return problems


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("host")
    parser.add_argument("reference")
    parser.add_argument("--onsets", type=int, required=True, help="onsets the phrase has")
    parser.add_argument("--block", type=int, default=512, help="onset and length tolerance, frames")
    parser.add_argument("--tolerance-db", type=float, default=1.0, help="per-window level tolerance")
    parser.add_argument("--floor-db", type=float, default=-60.0, help="levels below count as this")
    parser.add_argument("--quiet", action="store_true", help="print only the verdict")
    args = parser.parse_args(argv)
    try:
        problems = compare(args.host, args.reference, args.onsets, args.block,
                           args.tolerance_db, args.floor_db, args.quiet)
    except WavError as e:
        print(f"compare.py: {e}", file=sys.stderr)
        return 2
    for p in problems[:20]:
        print(f"MISMATCH: {p}")
    if len(problems) > 20:
        print(f"MISMATCH: ... and {len(problems) - 20} more")
    if not problems:
        print("match")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
