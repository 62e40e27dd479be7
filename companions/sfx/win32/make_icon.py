#!/usr/bin/env python3
"""Draws the self-extractor's icon: a 32 x 32, 16-colour .ico whose image is
exactly 744 bytes (header 40 + palette 64 + colour bits 512 + mask 128), the
size the program looks for when it replaces the icon of a copied stub.

The artwork is a parcel with a zip fastener and a green arrow leaving it."""
import struct
import sys

# The standard 16-colour palette, as BGRX quads.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_YELLOW, GREY, GREEN, YELLOW, WHITE, LIGHT_GREY = 0, 3, 8, 10, 11, 15, 7
TRANSPARENT = None


def draw():
    pixels = [[TRANSPARENT] * 32 for _ in range(32)]
    for y in range(8, 30):          # parcel body with a dark outline
        for x in range(2, 24):
            edge = y in (8, 29) or x in (2, 23)
            pixels[y][x] = BLACK if edge else YELLOW
    for y in range(9, 29):          # fastener down the middle
        pixels[y][12] = GREY
        pixels[y][13] = LIGHT_GREY if y % 2 else DARK_YELLOW
    for y in range(9, 12):          # fastener pull
        for x in range(11, 15):
            pixels[y][x] = BLACK if x in (11, 14) else WHITE
    for y in range(6, 20):          # arrow shaft leaving the parcel upwards
        for x in range(26, 29):
            pixels[y][x] = GREEN
    for i in range(5):              # arrow head
        for x in range(27 - i, 28 + i):
            if 0 <= x < 32:
                pixels[1 + i][x] = GREEN
    return pixels


def image_bytes(pixels):
    header = struct.pack('<IiiHHIIiiII', 40, 32, 64, 1, 4, 0, 512 + 128, 0, 0, 16, 0)
    palette = b''.join(struct.pack('BBBB', b, g, r, 0) for r, g, b in PALETTE)
    colour, mask = bytearray(), bytearray()
    for row in reversed(pixels):    # bottom-up rows
        for x in range(0, 32, 2):
            a, b = (row[x] or 0), (row[x + 1] or 0)
            colour.append((a << 4) | b)
        bits = 0
        for x in range(32):
            bits = (bits << 1) | (1 if row[x] is TRANSPARENT else 0)
        mask += struct.pack('>I', bits)
    data = header + palette + bytes(colour) + bytes(mask)
    assert len(data) == 744, len(data)
    return data


def main(path):
    image = image_bytes(draw())
    directory = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', 32, 32, 16, 0, 1, 4, len(image), 22)
    with open(path, 'wb') as out:
        out.write(directory + image)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'sfx.ico')
