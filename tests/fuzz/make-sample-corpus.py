#!/usr/bin/env python3
"""Writes starting corpora for brennix-fuzz-wav and brennix-fuzz-aiff: small
valid files in every accepted layout (mono and stereo, 8, 16 and 24 bits),
some with extra chunks in front of the ones the parsers look for.

    tests/fuzz/make-sample-corpus.py WAV_CORPUS_DIR AIFF_CORPUS_DIR
"""
import math
import os
import struct
import sys

wav_dir, aiff_dir = sys.argv[1], sys.argv[2]
for d in (wav_dir, aiff_dir):
    os.makedirs(d, exist_ok=True)


def frames_bytes(channels, bits, frames, big_endian):
    out = bytearray()
    for i in range(frames):
        for c in range(channels):
            v = int(math.sin(i * 0.3 + c) * (2 ** (bits - 1) - 1))
            if bits == 8 and not big_endian:
                out.append(v + 128)  # WAV: unsigned bytes
            else:
                raw = (v & ((1 << bits) - 1)).to_bytes(bits // 8, 'big' if big_endian else 'little')
                out += raw
    return bytes(out)


def wav(channels, rate, bits, frames, extra=b''):
    data = frames_bytes(channels, bits, frames, False)
    fmt = struct.pack('<HHIIHH', 1, channels, rate, rate * channels * bits // 8, channels * bits // 8, bits)
    body = b'WAVE' + extra + b'fmt ' + struct.pack('<I', 16) + fmt + b'data' + struct.pack('<I', len(data)) + data
    return b'RIFF' + struct.pack('<I', len(body)) + body


def extended(rate):
    mantissa, exponent = math.frexp(rate)
    return struct.pack('>HQ', exponent - 1 + 16383, int(mantissa * 2 ** 64))


def aiff(channels, rate, bits, frames, extra=b'', offset=0):
    data = b'\0' * offset + frames_bytes(channels, bits, frames, True)
    comm = b'COMM' + struct.pack('>IHIH', 18, channels, frames, bits) + extended(rate)
    ssnd = b'SSND' + struct.pack('>III', 8 + len(data), offset, 0) + data
    body = b'AIFF' + extra + comm + ssnd
    return b'FORM' + struct.pack('>I', len(body)) + body


list_chunk = b'LIST' + struct.pack('<I', 4) + b'INFO'
mark_chunk = b'MARK' + struct.pack('>IH', 2, 0)
count = 0
for channels in (1, 2):
    for bits in (8, 16, 24):
        for rate in (11025, 44100, 96000):
            name = '%d-%d-%d' % (channels, bits, rate)
            open(os.path.join(wav_dir, name + '.wav'), 'wb').write(wav(channels, rate, bits, 24))
            open(os.path.join(aiff_dir, name + '.aiff'), 'wb').write(aiff(channels, rate, bits, 24))
            count += 2
open(os.path.join(wav_dir, 'list.wav'), 'wb').write(wav(2, 48000, 16, 10, list_chunk))
open(os.path.join(aiff_dir, 'mark.aiff'), 'wb').write(aiff(1, 32000, 16, 10, mark_chunk))
open(os.path.join(aiff_dir, 'offset.aiff'), 'wb').write(aiff(2, 22050, 8, 10, offset=4))
print('%d files' % (count + 3))
