#!/usr/bin/env python3
"""Draws the grid's four sort symbols as 4-bit palette PNGs.

Run from this folder: python3 make_symbols.py
Background is aqua (0, 255, 255): the grid paints that colour transparent.
"""
import struct
import zlib

PALETTE = {
    '.': (0, 255, 255),    # aqua background
    'W': (255, 255, 255),  # white
    'S': (192, 192, 192),  # silver
    'G': (128, 128, 128),  # grey
    'K': (0, 0, 0),        # black
    'R': (255, 0, 0),      # red
    'N': (0, 0, 128),      # navy
}
ORDER = list(PALETTE)

SORTUP = [
    "...GW...",
    "...GW...",
    "..GSSW..",
    "..GSSW..",
    ".GSSSSW.",
    ".GSSSSW.",
    "GWWWWWWW",
]
SORTDN = [
    "GGGGGGGW",
    ".GSSSSW.",
    ".GSSSSW.",
    "..GSSW..",
    "..GSSW..",
    "...GW...",
    "...GW...",
]
LETTER_A = [
    "..K...",
    ".K.K..",
    "K...K.",
    "KKKKK.",
    "K...K.",
    "K...K.",
]
LETTER_Z = [
    "RRRRR.",
    "...R..",
    "..R...",
    ".R....",
    "R.....",
    "RRRRR.",
]
ARROW_DOWN = [
    "..N..", "..N..", "..N..", "..N..", "..N..", "..N..", "..N..", "..N..",
    "..N..", "..N..", "NNNNN", ".NNN.", "..N..",
]


def glyph(top, bottom, arrow):
    rows = [['.'] * 16 for _ in range(16)]
    for y, line in enumerate(top):
        for x, c in enumerate(line):
            rows[1 + y][1 + x] = c
    for y, line in enumerate(bottom):
        for x, c in enumerate(line):
            rows[9 + y][1 + x] = c
    for y, line in enumerate(arrow):
        for x, c in enumerate(line):
            rows[1 + y][10 + x] = c
    return [''.join(r) for r in rows]


def chunk(kind, data):
    body = kind + data
    return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body))


def write_png(name, rows):
    width, height = len(rows[0]), len(rows)
    raw = b''
    for line in rows:
        indexes = [ORDER.index(c) for c in line] + [0]
        packed = bytes((indexes[i] << 4) | indexes[i + 1] for i in range(0, width, 2))
        raw += b'\0' + packed
    palette = b''.join(bytes(PALETTE[c]) for c in ORDER)
    png = b'\x89PNG\r\n\x1a\n'
    png += chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 4, 3, 0, 0, 0))
    png += chunk(b'PLTE', palette)
    png += chunk(b'IDAT', zlib.compress(raw, 9))
    png += chunk(b'IEND', b'')
    with open(name, 'wb') as out:
        out.write(png)


write_png('SORTUP.png', SORTUP)
write_png('SORTDN.png', SORTDN)
write_png('SORTAZ.png', glyph(LETTER_A, LETTER_Z, ARROW_DOWN))
write_png('SORTZA.png', glyph(LETTER_Z, LETTER_A, list(reversed(ARROW_DOWN))))
