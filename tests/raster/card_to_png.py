"""Turns the raw test card (raster_test_card.rgba, 320 x 240, R G B A bytes) into a PNG.
Usage: card_to_png.py IN.rgba OUT.png [scale]"""

import struct
import sys
import zlib


def chunk(tag, data):
    body = tag + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def main():
    src, dst = sys.argv[1], sys.argv[2]
    scale = int(sys.argv[3]) if len(sys.argv) > 3 else 1
    w, h = 320, 240
    raw = open(src, "rb").read()
    rows = []
    for y in range(h):
        line = raw[y * w * 4:(y + 1) * w * 4]
        wide = b"".join(line[x * 4:x * 4 + 4] * scale for x in range(w))
        rows.extend([b"\0" + wide] * scale)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w * scale, h * scale, 8,
                                                            6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b"")
    open(dst, "wb").write(png)


if __name__ == "__main__":
    main()
