#!/usr/bin/env python3
"""Draws the program's icons and writes them as .ico files into res/.

The icons are drawn here, pixel by pixel, so that the program carries no
picture from elsewhere: the main icon (a broom over a disk), the yellow
folder of folder rows and the blank document of file rows. Each icon holds
16x16 and 32x32 images in 32-bit colour with an alpha channel.

Run it again after changing a drawing; the .ico files are committed."""
import os
import struct
import sys

Pixel = tuple  # (r, g, b, a)


def blank(size):
    return [[(0, 0, 0, 0) for _ in range(size)] for _ in range(size)]


def rect(img, x0, y0, x1, y1, colour):
    for y in range(max(0, y0), min(len(img), y1)):
        for x in range(max(0, x0), min(len(img), x1)):
            img[y][x] = colour


def outline(img, x0, y0, x1, y1, colour):
    rect(img, x0, y0, x1, y0 + 1, colour)
    rect(img, x0, y1 - 1, x1, y1, colour)
    rect(img, x0, y0, x0 + 1, y1, colour)
    rect(img, x1 - 1, y0, x1, y1, colour)


def folder(size):
    s = size / 16.0
    img = blank(size)
    dark, body, light = (150, 110, 20, 255), (240, 196, 60, 255), (252, 226, 130, 255)
    tab = (int(1 * s), int(3 * s), int(7 * s), int(5 * s))
    rect(img, *tab, body)
    outline(img, *tab, dark)
    box = (int(1 * s), int(4 * s), int(15 * s), int(14 * s))
    rect(img, *box, body)
    rect(img, box[0] + 1, box[1] + 1, box[2] - 1, box[1] + max(1, int(2 * s)), light)
    outline(img, *box, dark)
    return img


def document(size):
    s = size / 16.0
    img = blank(size)
    edge, paper, fold = (90, 90, 100, 255), (255, 255, 255, 255), (200, 200, 210, 255)
    x0, y0, x1, y1 = int(3 * s), int(1 * s), int(13 * s), int(15 * s)
    rect(img, x0, y0, x1, y1, paper)
    outline(img, x0, y0, x1, y1, edge)
    corner = max(2, int(3 * s))
    for i in range(corner):  # the folded corner at the top right
        for j in range(corner - i):
            img[y0 + i][x1 - 1 - j] = (0, 0, 0, 0)
        rect(img, x1 - corner, y0 + i, x1 - corner + i + 1, y0 + i + 1, fold)
        img[y0 + i][x1 - corner + i] = edge
    rect(img, x1 - corner, y0 + corner - 1, x1, y0 + corner, edge)
    return img


def brisko(size):
    s = size / 16.0
    img = blank(size)
    disk, rim, shine = (40, 90, 170, 255), (20, 50, 110, 255), (120, 170, 230, 255)
    cx, cy, r = size / 2.0, size / 2.0 + s, 6.5 * s
    for y in range(size):
        for x in range(size):
            d = ((x + 0.5 - cx) ** 2 + ((y + 0.5 - cy) * 1.6) ** 2) ** 0.5
            if d <= r:
                img[y][x] = rim if d > r - 1.2 * s else disk
    rect(img, int(4 * s), int(8 * s), int(7 * s), int(9 * s), shine)
    handle, straw = (120, 70, 30, 255), (230, 200, 80, 255)
    for i in range(int(9 * s)):  # broom handle, top right to the middle
        x, y = int(13 * s) - i, int(1 * s) + i
        rect(img, x, y, x + max(1, int(s)), y + max(1, int(s)), handle)
    bx, by = int(4 * s), int(10 * s)
    for i in range(int(4 * s)):  # the bristles fan out to the lower left
        rect(img, bx - i, by + i, bx + int(3 * s) - i, by + i + 1, straw)
    return img


def ico_image(img):
    size = len(img)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for row in reversed(img):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(img):
        bits = bytearray(stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(xor) + bytes(mask)


def write_ico(path, drawing):
    images = [ico_image(drawing(size)) for size in (16, 32)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((16, 32), images):
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    with open(path, 'wb') as f:
        f.write(out)


def main():
    res = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'res')
    write_ico(os.path.join(res, 'brisko.ico'), brisko)
    write_ico(os.path.join(res, 'folder.ico'), folder)
    write_ico(os.path.join(res, 'document.ico'), document)
    return 0


if __name__ == '__main__':
    sys.exit(main())
