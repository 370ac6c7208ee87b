#!/usr/bin/python3
"""Writes the small PNG strips the toolkit tests load, into the folder given as argument.

Every pixel of a coded image carries its own position (R = x, G = y) and a tag in B, so a test
can tell from any drawn pixel which source pixel it came from."""
import math
import struct
import sys
import zlib
from pathlib import Path


def write_png(path, width, height, pixel):
    """pixel(x, y) -> (r, g, b, a); 8-bit RGBA, filter 0 on every row."""
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        for x in range(width):
            raw.extend(pixel(x, y))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    path.write_bytes(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                     chunk(b"IDAT", zlib.compress(bytes(raw))) + chunk(b"IEND", b""))


def coded(tag, alpha=255):
    return lambda x, y: (x & 255, y & 255, tag, alpha)


def knob_frame(size, frames):
    """A knob strip: a grey disc with a light pointer from -135 to +135 degrees."""
    def pixel(x, y):
        f, yy = divmod(y, size)
        c = (size - 1) / 2
        dx, dy = x - c, yy - c
        r = math.hypot(dx, dy)
        if r > c:
            return (0, 0, 0, 0)
        angle = math.radians(-135 + 270 * f / (frames - 1))
        px, py = math.sin(angle), -math.cos(angle)
        along = dx * px + dy * py
        across = abs(dx * py - dy * px)
        if 2 < along < c - 1 and across < 1.6:
            return (240, 220, 120, 255)
        shade = int(70 + 40 * (1 - r / c))
        return (shade, shade, shade + 10, 255)
    return pixel


def meter_frame(w, h, frames):
    """A VU strip: a dark panel with a needle sweeping left to right."""
    def pixel(x, y):
        f, yy = divmod(y, h)
        angle = math.radians(-50 + 100 * f / (frames - 1))
        cx, cy = w / 2, h - 2
        dx, dy = x - cx, yy - cy
        along = -(dx * math.sin(angle)) * -1 + (-dy) * math.cos(angle)
        across = abs(dx * math.cos(angle) + dy * math.sin(angle))
        if 0 < along < h - 6 and across < 0.9:
            return (230, 40, 30, 255)
        return (235, 225, 190, 255) if yy < h - 1 else (40, 40, 40, 255)
    return pixel


def write_render_set(out):
    write_png(out / "render_bg.png", 200, 100,
              lambda x, y: (30 + x // 4, 36 + y // 3, 52 + (x + y) // 8, 255))
    write_png(out / "render_knob.png", 32, 32 * 61, knob_frame(32, 61))
    write_png(out / "render_vu.png", 60, 40 * 61, meter_frame(60, 40, 61))
    write_png(out / "render_btn.png", 16, 32,
              lambda x, y: (90, 30, 30, 255) if y < 16 else (250, 60, 40, 255))


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    # A 3-frame vertical strip of height 90, a 61-frame knob strip and a 2-frame switch.
    write_png(out / "strip3.png", 8, 90, coded(3))
    write_png(out / "knob61.png", 6, 61 * 4, coded(61))
    write_png(out / "switch2.png", 10, 2 * 6, coded(2))
    # A 4-frame strip laid out side by side.
    write_png(out / "strip4h.png", 4 * 5, 6, coded(4))
    # Background and its double-size twin.
    write_png(out / "background.png", 64, 48, lambda x, y: (x * 4, y * 5, 100, 255))
    write_png(out / "background2x.png", 128, 96, lambda x, y: (x * 2, y * 2, 200, 255))
    # Half-transparent pixels for the blend modes.
    write_png(out / "alpha.png", 8, 8, lambda x, y: (200, 40 * (x % 4), 30 * y, 32 * x + 16))
    # A knob picture for the rotated blits: a bar from the centre up.
    write_png(out / "pointer.png", 15, 15,
              lambda x, y: (250, 250, 250, 255) if 6 <= x <= 8 and y <= 7 else (20, 20, 60, 255))
    # A bitmap font of glyphs for codes 32-95, each a 4 x 6 cell tagged by its frame.
    write_png(out / "glyphs.png", 4, 64 * 6, lambda x, y: (x, y % 6, y // 6, 255))
    # Not a PNG at all.
    (out / "broken.png").write_bytes(b"not a png")
    write_render_set(out)


if __name__ == "__main__":
    main()
