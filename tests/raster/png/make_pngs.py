#!/usr/bin/python3
"""Writes PNG files of every colour type, bit depth, interlace method and tRNS choice, with the
pixels each must decode to (A, R, G, B bytes per pixel), independently of the loader: the
files are assembled here from zlib and the PNG chunk rules, every row with its own filter.

Usage: make_pngs.py OUTDIR  (writes NAME.png, NAME.argb and cases.txt)
"""
import os
import struct
import sys
import zlib

WIDTH, HEIGHT = 13, 11

ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2),
         (0, 1, 1, 2)]


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def filter_rows(rows, bpp):
    """Filters each row with type (row index mod 5), so that every filter is exercised."""
    out = bytearray()
    prev = bytes(len(rows[0])) if rows else b""
    for i, row in enumerate(rows):
        kind = i % 5
        out.append(kind)
        for x, v in enumerate(row):
            a = row[x - bpp] if x >= bpp else 0
            b = prev[x]
            c = prev[x - bpp] if x >= bpp else 0
            pred = [0, a, b, (a + b) // 2, paeth(a, b, c)][kind]
            out.append((v - pred) & 0xFF)
        prev = row
    return bytes(out)


def pack_row(samples, depth):
    if depth == 8:
        return bytes(samples)
    if depth == 16:
        return b"".join(struct.pack(">H", s) for s in samples)
    out, acc, bits = bytearray(), 0, 0
    for s in samples:
        acc = (acc << depth) | s
        bits += depth
        if bits == 8:
            out.append(acc)
            acc, bits = 0, 0
    if bits:
        out.append(acc << (8 - bits))
    return bytes(out)


def sample(x, y, c, maxv):
    return (x * 37 + y * 101 + c * 59 + (x * y) * 7) % (maxv + 1)


CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}
DEPTHS = {0: [1, 2, 4, 8, 16], 2: [8, 16], 3: [1, 2, 4, 8], 4: [8, 16], 6: [8, 16]}


def make_case(ct, depth, interlace, trns):
    n = CHANNELS[ct]
    maxv = (1 << depth) - 1
    pixels = [[[sample(x, y, c, maxv) for c in range(n)] for x in range(WIDTH)]
              for y in range(HEIGHT)]
    palette = [((i * 53) % 256, (i * 97 + 11) % 256, (i * 31 + 200) % 256) for i in range(maxv + 1)]
    palette_alpha = [(i * 71 + 5) % 256 for i in range(min(maxv + 1, 7))]  # a short tRNS
    key = pixels[3][4][:] if trns else None  # a value that occurs in the image

    def argb(px):
        if ct == 3:
            i = px[0]
            r, g, b = palette[i]
            a = palette_alpha[i] if trns and i < len(palette_alpha) else 255
            return (a, r, g, b)
        if depth == 16:
            to8 = lambda v: v >> 8
        elif depth < 8:
            to8 = lambda v: v * 255 // maxv
        else:
            to8 = lambda v: v
        if ct == 0:
            v = to8(px[0])
            a = 0 if trns and px == key else 255
            return (a, v, v, v)
        if ct == 2:
            a = 0 if trns and px == key else 255
            return (a, to8(px[0]), to8(px[1]), to8(px[2]))
        if ct == 4:
            v = to8(px[0])
            return (to8(px[1]), v, v, v)
        return (to8(px[3]), to8(px[0]), to8(px[1]), to8(px[2]))

    bpp = max(1, n * depth // 8)
    if interlace:
        raw = b""
        for (x0, y0, dx, dy) in ADAM7:
            xs = list(range(x0, WIDTH, dx))
            ys = list(range(y0, HEIGHT, dy))
            if not xs or not ys:
                continue
            rows = [pack_row([s for x in xs for s in pixels[y][x]], depth) for y in ys]
            raw += filter_rows(rows, bpp)
    else:
        rows = [pack_row([s for x in range(WIDTH) for s in pixels[y][x]], depth)
                for y in range(HEIGHT)]
        raw = filter_rows(rows, bpp)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", WIDTH, HEIGHT, depth, ct, 0, 0, interlace))
    if ct == 3:
        png += chunk(b"PLTE", b"".join(bytes(p) for p in palette))
    if trns:
        if ct == 3:
            png += chunk(b"tRNS", bytes(palette_alpha))
        elif ct == 0:
            png += chunk(b"tRNS", struct.pack(">H", key[0]))
        else:
            png += chunk(b"tRNS", struct.pack(">HHH", *key))
    data = zlib.compress(raw, 9)
    # Two IDAT chunks, so that the decoder has to join them.
    half = len(data) // 2
    png += chunk(b"IDAT", data[:half]) + chunk(b"IDAT", data[half:])
    png += chunk(b"IEND", b"")
    expected = b"".join(bytes(argb(pixels[y][x])) for y in range(HEIGHT) for x in range(WIDTH))
    return png, expected


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    names = []
    for ct, depths in DEPTHS.items():
        for depth in depths:
            for interlace in (0, 1):
                for trns in ((False, True) if ct in (0, 2, 3) else (False,)):
                    name = "ct%d_d%d_i%d_t%d" % (ct, depth, interlace, int(trns))
                    png, expected = make_case(ct, depth, interlace, trns)
                    with open(os.path.join(out, name + ".png"), "wb") as f:
                        f.write(png)
                    with open(os.path.join(out, name + ".argb"), "wb") as f:
                        f.write(expected)
                    names.append(name)
    with open(os.path.join(out, "cases.txt"), "w") as f:
        f.write("%d %d\n" % (WIDTH, HEIGHT))
        f.write("\n".join(names) + "\n")


if __name__ == "__main__":
    main()
