#!/usr/bin/env python3
"""Writes a starting corpus for brennix-fuzz-files: valid files of every kind,
each behind the selector byte the fuzz target reads first.

    tests/fuzz/make-corpus.py build/generated/factory.fxb CORPUS_DIR
"""
import os
import struct
import sys

factory_path, out = sys.argv[1], sys.argv[2]
os.makedirs(out, exist_ok=True)
bank = open(factory_path, 'rb').read()
header, chunks = bank[:156], bank[156:]
chunk = 3252


def small_bank(n):
    h = bytearray(header)
    struct.pack_into('>I', h, 4, 156 - 8 + n * chunk)
    struct.pack_into('>I', h, 24, n)
    return bytes(h) + chunks[:n * chunk]


seeds = {
    'bank-factory': b'\0' + bank,
    'bank-1': b'\0' + small_bank(1),
    'bank-3': b'\0' + small_bank(3),
    'preset': b'\1' + chunks[:chunk],
    'ecs': b'\2' + b'Brennix controller setup 1\n# controller parameter\n1 61   # Filter Frequency\n74 62\n',
    'arp': b'\3' + ('Brennix arp pattern 1\n' +
                    ''.join('%d %.9g\n' % (210 + i, (i % 7) / 7.0) for i in range(110))).encode(),
}
for name, data in seeds.items():
    with open(os.path.join(out, name), 'wb') as f:
        f.write(data)
