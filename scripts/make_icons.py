#!/usr/bin/env python3
"""Draws the program's icons and bitmaps and writes them into res/.

The pictures are drawn here, pixel by pixel, so that the program carries no
picture from elsewhere: the main icon (a broom over a disk), the yellow
folder of folder rows, the blank document of file rows, and the six option
buttons of the Advance dialog. Each icon holds
images from 16x16 to 64x64 (see ICON_SIZES) in 32-bit colour with an alpha
channel; the toolbar's strips come in one bitmap per display scale. The About
dialog's two bitmaps (the program's picture and a small coloured strip) are
256-colour .bmp files.

Run it again after changing a drawing; the .ico files are committed."""
import os
import struct
import sys

Pixel = tuple  # (r, g, b, a)


def blank(size):
    return [[(0, 0, 0, 0) for _ in range(size)] for _ in range(size)]


def canvas(width, height, colour=(255, 255, 255, 255)):
    """A picture of any size for the bitmaps, white unless told."""
    return [[colour for _ in range(width)] for _ in range(height)]


def rect(img, x0, y0, x1, y1, colour):
    for y in range(max(0, y0), min(len(img), y1)):
        for x in range(max(0, x0), min(len(img[0]), x1)):
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


def disc(img, cx, cy, r, colour, inner=None):
    """A filled disc, or a ring when `inner` (its hole's radius) is given."""
    for y in range(len(img)):
        for x in range(len(img[0])):
            d = ((x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2) ** 0.5
            if d <= r and (inner is None or d > inner):
                img[y][x] = colour


def line(img, x0, y0, x1, y1, width, colour):
    steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 2) + 1
    for i in range(steps + 1):
        x = x0 + (x1 - x0) * i / steps
        y = y0 + (y1 - y0) * i / steps
        rect(img, int(x), int(y), int(x + width), int(y + width), colour)


def find_history(size):  # a magnifying glass
    s = size / 16.0
    img = blank(size)
    disc(img, 6.5 * s, 6.5 * s, 4.8 * s, (190, 225, 250, 255))
    disc(img, 6.5 * s, 6.5 * s, 5.2 * s, (40, 60, 110, 255), inner=4.0 * s)
    line(img, 10 * s, 10 * s, 14 * s, 14 * s, max(2, int(2 * s)), (110, 70, 30, 255))
    return img


def autocomplete(size):  # a key
    s = size / 16.0
    img = blank(size)
    gold, dark = (230, 190, 50, 255), (130, 100, 20, 255)
    disc(img, 4.5 * s, 8 * s, 3.5 * s, gold)
    disc(img, 4.5 * s, 8 * s, 1.2 * s, (0, 0, 0, 0))
    rect(img, int(7 * s), int(7 * s), int(15 * s), int(9 * s), gold)
    rect(img, int(11 * s), int(9 * s), int(12 * s), int(11 * s), dark)
    rect(img, int(13 * s), int(9 * s), int(14 * s), int(12 * s), dark)
    return img


def run_history(size):  # a green start arrow
    s = size / 16.0
    img = blank(size)
    for y in range(size):
        half = (size / 2.0) - abs(y + 0.5 - size / 2.0)
        rect(img, int(3 * s), y, int(3 * s + half * 1.4), y + 1, (40, 160, 60, 255))
    return img


def typed_url(size):  # an address bar with a caret
    s = size / 16.0
    img = blank(size)
    box = (int(1 * s), int(5 * s), int(15 * s), int(11 * s))
    rect(img, *box, (255, 255, 255, 255))
    outline(img, *box, (70, 90, 140, 255))
    rect(img, int(3 * s), int(7 * s), int(10 * s), int(9 * s), (60, 110, 200, 255))
    rect(img, int(11 * s), int(6 * s), int(11 * s) + max(1, int(s)), int(10 * s), (0, 0, 0, 255))
    return img


def url_history(size):  # a globe
    s = size / 16.0
    img = blank(size)
    c, r = size / 2.0, 7 * s
    disc(img, c, c, r, (60, 130, 210, 255))
    disc(img, c, c, r, (20, 60, 120, 255), inner=r - max(1, s))
    rect(img, int(1 * s), int(c), int(15 * s), int(c) + max(1, int(s)), (170, 220, 120, 255))
    rect(img, int(c), int(1 * s), int(c) + max(1, int(s)), int(15 * s), (170, 220, 120, 255))
    return img


def recent_documents(size):  # a document with a clock
    s = size / 16.0
    img = document(size)
    disc(img, 10.5 * s, 10.5 * s, 4.5 * s, (250, 250, 250, 255))
    disc(img, 10.5 * s, 10.5 * s, 4.5 * s, (180, 40, 40, 255), inner=3.5 * s)
    line(img, 10.5 * s, 10.5 * s, 10.5 * s, 7.5 * s, max(1, int(s)), (0, 0, 0, 255))
    line(img, 10.5 * s, 10.5 * s, 12.5 * s, 10.5 * s, max(1, int(s)), (0, 0, 0, 255))
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


# The small and large icon sizes of the common display scales (100 % to
# 200 %), so that the system never has to stretch one.
ICON_SIZES = (16, 20, 24, 32, 40, 48, 64)


def write_ico(path, drawing):
    images = [ico_image(drawing(size)) for size in ICON_SIZES]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(ICON_SIZES, images):
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    with open(path, 'wb') as f:
        f.write(out)


def write_bmp(path, img):
    """A 256-colour bitmap; transparent pixels become white, the colour that
    the program treats as transparent in its bitmaps."""
    height, width = len(img), len(img[0])
    pixels = [[(r, g, b) if a else (255, 255, 255) for r, g, b, a in row] for row in img]
    palette = sorted({p for row in pixels for p in row})
    if len(palette) > 256:
        raise ValueError('%s: %d colours, at most 256' % (path, len(palette)))
    index = {p: i for i, p in enumerate(palette)}
    stride = (width + 3) // 4 * 4
    data = bytearray()
    for row in reversed(pixels):
        data += bytes(index[p] for p in row) + bytes(stride - width)
    table = b''.join(bytes((b, g, r, 0)) for r, g, b in palette) + bytes(4 * (256 - len(palette)))
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 8, 0, len(data), 2835, 2835, 256, 0)
    offset = 14 + len(info) + len(table)
    with open(path, 'wb') as f:
        f.write(b'BM' + struct.pack('<IHHI', offset + len(data), 0, 0, offset) + info + table + data)


# The toolbar's buttons, drawn at 18 x 18 for 100 % and at the sizes of the
# common display scales (125 %: 24, 150 %: 27, 200 %: 36, 250 %: 45), in
# the order of the toolbar resource. Each drawing is laid out on the 18-pixel
# grid and scaled by s; at 18 pixels it is the original picture.
# Inside a picture "white" is drawn as (254, 254, 254): pure white is the
# colour the toolbar leaves transparent.
PAPER = (254, 254, 254, 255)
TOOLBAR_SIZES = (18, 24, 27, 36, 45)


def thick(s):
    """A one-pixel stroke of the 18-pixel grid, at scale s."""
    return max(1, int(round(s)))


def button_standard(size):  # the program's broom over a disk
    img = blank(size)
    inner = size * 16 // 18
    at = (size - inner) // 2
    small = brisko(inner)
    for y in range(inner):
        for x in range(inner):
            img[y + at][x + at] = small[y][x]
    return img


def button_cookies(size):  # a cookie with chocolate chips
    s = size / 18.0
    img = blank(size)
    disc(img, 9 * s, 9 * s, 7.5 * s, (150, 95, 40, 255))
    disc(img, 9 * s, 9 * s, 6.5 * s, (210, 160, 80, 255))
    chip = max(2, int(round(2 * s)))
    for cx, cy in ((6, 6), (11, 5), (12, 10), (7, 11), (9, 8)):
        rect(img, int(cx * s), int(cy * s), int(cx * s) + chip, int(cy * s) + chip, (80, 45, 20, 255))
    return img


def button_offline_temp(size):  # a page of the web cache with a clock
    s = size / 18.0
    img = blank(size)
    page = (int(2 * s), int(1 * s), int(13 * s), int(17 * s))
    rect(img, *page, PAPER)
    for i in range(thick(s)):
        outline(img, page[0] + i, page[1] + i, page[2] - i, page[3] - i, (90, 90, 100, 255))
    for y in (4, 7, 10):
        rect(img, int(4 * s), int(y * s), int(11 * s), int(y * s) + thick(s), (60, 110, 200, 255))
    disc(img, 12.5 * s, 12.5 * s, 5 * s, PAPER)
    disc(img, 12.5 * s, 12.5 * s, 5 * s, (40, 120, 60, 255), inner=3.9 * s)
    line(img, 12 * s, 12 * s, 12 * s, 9.5 * s, thick(s), (0, 0, 0, 255))
    line(img, 12 * s, 12 * s, 14.5 * s, 12 * s, thick(s), (0, 0, 0, 255))
    return img


def button_recycle(size):  # a waste basket
    s = size / 18.0
    img = blank(size)
    body, edge = (110, 160, 210, 255), (40, 70, 120, 255)
    t = thick(s)
    rect(img, int(3 * s), int(3 * s), int(15 * s), int(5 * s), edge)
    for y in range(int(5 * s), int(17 * s)):
        inset = int((y / s - 5) // 5 * s)
        left, right = int(4 * s) + inset, int(14 * s) - inset
        rect(img, left, y, right, y + 1, body)
        rect(img, left, y, left + t, y + 1, edge)
        rect(img, right - t, y, right, y + 1, edge)
    rect(img, int(5 * s), int(16 * s), int(13 * s), int(17 * s), edge)
    for x in (7, 10):
        rect(img, int(x * s), int(7 * s), int(x * s) + t, int(14 * s), edge)
    return img


def button_delete(size):  # a red cross
    s = size / 18.0
    img = blank(size)
    red = (200, 30, 30, 255)
    line(img, 3 * s, 3 * s, 13 * s, 13 * s, 2.5 * s, red)
    line(img, 13 * s, 3 * s, 3 * s, 13 * s, 2.5 * s, red)
    return img


def list_rows(size, checked):
    s = size / 18.0
    img = blank(size)
    box, tick = (60, 60, 80, 255), (30, 140, 40, 255)
    t = thick(s)
    for y in (2, 8, 14):
        top = int(y * s)
        x0, y0, x1, y1 = int(1 * s), top, int(6 * s), top + int(round(5 * s))
        rect(img, x0, y0, x1, y1, PAPER)
        for i in range(t):
            outline(img, x0 + i, y0 + i, x1 - i, y1 - i, box)
        rect(img, int(8 * s), top + int(2 * s), int(17 * s), top + int(2 * s) + t, (60, 110, 200, 255))
        if checked:
            rect(img, int(2 * s), top + int(2 * s), int(4 * s), top + int(4 * s), tick)
            rect(img, int(4 * s), top + int(1 * s), int(4 * s) + t, top + int(1 * s) + t, tick)
    return img


def toolbar_strip(size, disabled=False):
    buttons = [button_standard(size), button_cookies(size), button_offline_temp(size), button_recycle(size),
               button_delete(size), list_rows(size, True), list_rows(size, False)]
    strip = canvas(size * len(buttons), size)
    for i, button in enumerate(buttons):
        for y in range(size):
            for x in range(size):
                r, g, b, a = button[y][x]
                if not a:
                    continue
                if disabled:  # a light grey picture of the same shape
                    level = 128 + (r * 30 + g * 59 + b * 11) // 400
                    r = g = b = min(level, 250)
                strip[y][size * i + x] = (r, g, b, 255)
    return strip


def program_picture():
    """The main icon's broom over a disk, large, for the About dialog."""
    width, height = 75, 45
    img = canvas(width, height)
    disk, rim, shine = (40, 90, 170, 255), (20, 50, 110, 255), (120, 170, 230, 255)
    cx, cy, rx, ry = 38.0, 28.0, 26.0, 14.0
    for y in range(height):
        for x in range(width):
            d = (((x + 0.5 - cx) / rx) ** 2 + ((y + 0.5 - cy) / ry) ** 2) ** 0.5
            if d <= 1.0:
                img[y][x] = rim if d > 0.86 else disk
    rect(img, 20, 25, 31, 27, shine)
    line(img, 62, 3, 35, 30, 3, (120, 70, 30, 255))  # the handle, top right to the middle
    straw, band = (230, 200, 80, 255), (170, 120, 40, 255)
    for i in range(12):  # the bristles fan out to the lower left
        rect(img, 27 - i, 31 + i, 40 - i // 2, 32 + i, straw)
    line(img, 29, 31, 39, 31, 2, band)
    return img


def about_strip():
    """A thin bar from the disk's blue to the bristles' yellow."""
    width, height = 90, 10
    img = canvas(width, height)
    start, end = (20, 50, 110), (230, 200, 80)
    for x in range(width):
        t = x / (width - 1)
        colour = tuple(int(a + (b - a) * t) for a, b in zip(start, end)) + (255,)
        rect(img, x, 1, x + 1, height - 1, colour)
    return img


def main():
    res = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'res')
    write_ico(os.path.join(res, 'brisko.ico'), brisko)
    write_ico(os.path.join(res, 'folder.ico'), folder)
    write_ico(os.path.join(res, 'document.ico'), document)
    for name, drawing in (('find.ico', find_history), ('autocomplete.ico', autocomplete),
                          ('run.ico', run_history), ('typedurl.ico', typed_url),
                          ('urlhistory.ico', url_history), ('recent.ico', recent_documents)):
        write_ico(os.path.join(res, name), drawing)
    for size in TOOLBAR_SIZES:
        suffix = '' if size == 18 else '_%d' % size
        write_bmp(os.path.join(res, 'toolbar%s.bmp' % suffix), toolbar_strip(size))
        write_bmp(os.path.join(res, 'toolbar_disabled%s.bmp' % suffix), toolbar_strip(size, disabled=True))
    write_bmp(os.path.join(res, 'picture.bmp'), program_picture())
    write_bmp(os.path.join(res, 'strip.bmp'), about_strip())
    return 0


if __name__ == '__main__':
    sys.exit(main())
