#!/usr/bin/env python3
"""Draws the pictures of the sample disc: the launcher's bitmaps, the dialogs' shared picture and
the program icon. Pure white (255, 255, 255) is the colour key: those pixels let the window's own
background through. Usage: make_pictures.py OUTPUT_FOLDER"""
import os
import struct
import sys

WHITE = (255, 255, 255)

FONT = {  # 5 x 7 capitals, one string per row
    'K': ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    'E': ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    'S': ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    'T': ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    'R': ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    'U': ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    'N': ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    'L': ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    'X': ["10001", "10001", "01010", "00100", "01010", "10001", "10001"],
    '-': ["00000", "00000", "00000", "11111", "00000", "00000", "00000"],
    '2': ["01110", "10001", "00001", "00010", "00100", "01000", "11111"],
    '0': ["01110", "10001", "10011", "10101", "11001", "10001", "01110"],
    ' ': ["00000"] * 7,
}


class Canvas:
    def __init__(self, w, h, fill=WHITE):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(max(0, y0), min(self.h, y1)):
            row = self.px[y]
            for x in range(max(0, x0), min(self.w, x1)):
                row[x] = colour

    def frame(self, x0, y0, x1, y1, colour, t=1):
        self.rect(x0, y0, x1, y0 + t, colour)
        self.rect(x0, y1 - t, x1, y1, colour)
        self.rect(x0, y0, x0 + t, y1, colour)
        self.rect(x1 - t, y0, x1, y1, colour)

    def gradient(self, x0, y0, x1, y1, top, bottom):
        span = max(1, y1 - y0 - 1)
        for y in range(y0, y1):
            f = (y - y0) / span
            c = tuple(int(top[i] + (bottom[i] - top[i]) * f) for i in range(3))
            self.rect(x0, y, x1, y + 1, c)

    def text(self, x, y, s, colour, scale=1):
        for ch in s:
            glyph = FONT.get(ch, FONT[' '])
            for gy, bits in enumerate(glyph):
                for gx, bit in enumerate(bits):
                    if bit == '1':
                        self.rect(x + gx * scale, y + gy * scale,
                                  x + (gx + 1) * scale, y + (gy + 1) * scale, colour)
            x += 6 * scale

    def bmp(self):
        stride = (self.w * 3 + 3) & ~3
        rows = []
        for y in range(self.h - 1, -1, -1):
            line = b''.join(struct.pack('BBB', b, g, r) for (r, g, b) in self.px[y])
            rows.append(line + b'\0' * (stride - self.w * 3))
        data = b''.join(rows)
        header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
        info = struct.pack('<IiiHHIIiiII', 40, self.w, self.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
        return header + info + data


def printer(c, x, y, w, h, accent):
    """A printer seen from the front: paper tray behind, body, output slot, panel."""
    c.rect(x + w // 5, y, x + w - w // 5, y + h // 3, (250, 250, 246))      # paper
    c.frame(x + w // 5, y, x + w - w // 5, y + h // 3, (190, 190, 190))
    c.gradient(x, y + h // 4, x + w, y + h, (120, 128, 140), (60, 64, 72))  # body
    c.rect(x + w // 8, y + h // 2, x + w - w // 8, y + h // 2 + 6, (30, 30, 34))  # slot
    c.rect(x, y + h // 4, x + w, y + h // 4 + 4, accent)                    # brand stripe
    c.rect(x + w - w // 4, y + h // 3, x + w - w // 10, y + h // 3 + 10, (40, 200, 90))  # panel
    c.rect(x + w // 6, y + h - 8, x + w - w // 6, y + h, (40, 40, 44))      # foot


def large(accent):
    c = Canvas(340, 220)
    printer(c, 40, 30, 260, 170, accent)
    c.rect(90, 160, 250, 200, (248, 248, 248))                              # printed sheet
    c.frame(90, 160, 250, 200, (180, 180, 180))
    c.rect(104, 172, 200, 176, accent)
    c.rect(104, 182, 236, 185, (150, 150, 150))
    return c


def logo():
    c = Canvas(176, 36)
    c.rect(0, 6, 24, 30, (200, 40, 60))
    c.rect(6, 12, 18, 24, WHITE)
    c.text(32, 11, "KESTRUNE", (40, 48, 90), scale=2)
    return c


def banner():
    c = Canvas(320, 64)
    c.gradient(0, 0, 320, 64, (214, 226, 244), (150, 176, 220))
    printer(c, 250, 14, 56, 40, (200, 40, 60))
    c.text(12, 24, "LX-200", (255, 255, 254), scale=2)
    return c


def icon_image(size):
    c = Canvas(size, size, fill=(0, 0, 0))
    s = size / 32
    printer(c, int(2 * s), int(4 * s), int(28 * s), int(24 * s), (200, 40, 60))
    # alpha: the black fill is transparent
    pixels = []
    for y in range(size - 1, -1, -1):
        for (r, g, b) in c.px[y]:
            a = 0 if (r, g, b) == (0, 0, 0) else 255
            pixels.append(struct.pack('BBBB', b, g, r, a))
    xor = b''.join(pixels)
    and_stride = ((size + 31) // 32) * 4
    mask = b'\0' * and_stride * size
    info = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + xor + mask


def icon():
    images = [icon_image(32), icon_image(16)]
    head = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b'', b''
    for size, img in zip((32, 16), images):
        entries += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(img), offset + len(blobs))
        blobs += img
    return head + entries + blobs


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    pictures = {
        'large_1031.bmp': large((200, 40, 60)),
        'large_1014.bmp': large((40, 110, 200)),
        'logo_1030.bmp': logo(),
        'banner_1009.bmp': banner(),
    }
    for name, canvas in pictures.items():
        with open(os.path.join(out, name), 'wb') as f:
            f.write(canvas.bmp())
    with open(os.path.join(out, 'kestrune.ico'), 'wb') as f:
        f.write(icon())


if __name__ == '__main__':
    main()
