#!/usr/bin/env python3
"""Draws the installer's icon, src/ui/install.ico: a sheet of paper with a
blue arrow pointing into a box, as two 16-colour images (32 x 32 and
16 x 16), each a DIB with its colour and transparency masks."""
import struct
import sys

# The standard 16-colour palette (B, G, R, 0).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, GREY, SILVER, BLUE, NAVY, WHITE, YELLOW, OLIVE = 0, 8, 7, 12, 4, 15, 11, 3
TRANSPARENT = None


def draw(size):
    s = size / 32.0
    px = [[TRANSPARENT] * size for _ in range(size)]

    def rect(x0, y0, x1, y1, colour):
        for y in range(int(y0 * s), int(y1 * s)):
            for x in range(int(x0 * s), int(x1 * s)):
                px[y][x] = colour

    # The sheet with its outline and folded corner.
    rect(6, 1, 24, 24, BLACK)
    rect(7, 2, 23, 23, WHITE)
    rect(19, 1, 24, 6, TRANSPARENT)
    rect(19, 1, 20, 6, BLACK)
    rect(19, 5, 24, 6, BLACK)
    for line in (8, 11, 14):
        rect(9, line, 17, line + 1, SILVER)
    # The box the arrow points into.
    rect(4, 22, 28, 31, BLACK)
    rect(5, 23, 27, 30, OLIVE)
    rect(5, 23, 27, 24, YELLOW)
    # The arrow.
    rect(13, 10, 19, 20, NAVY)
    rect(14, 10, 18, 20, BLUE)
    for row in range(5):
        rect(10 + row, 19 + row, 22 - row, 20 + row, NAVY if row < 4 else BLUE)
        rect(11 + row, 19 + row, 21 - row, 20 + row, BLUE)
    return px


def dib(size):
    px = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', r, g, b, 0) for (r, g, b) in
                       [(c[2], c[1], c[0]) for c in PALETTE])
    xor = b''
    mask = b''
    for y in reversed(range(size)):
        row = px[y]
        nibbles = [c if c is not None else 0 for c in row]
        xor += bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        bits = 0
        mbytes = b''
        for x in range(size):
            bits = (bits << 1) | (1 if row[x] is None else 0)
            if x % 8 == 7:
                mbytes += bytes([bits])
                bits = 0
        mbytes += b'\0' * ((4 - len(mbytes) % 4) % 4)
        mask += mbytes
    return header + palette + xor + mask


def main(path):
    images = [dib(32), dib(16)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip((32, 16), images):
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    out += b''.join(images)
    with open(path, 'wb') as f:
        f.write(out)
    print(path, [len(i) for i in images])


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'src/ui/install.ico')
