"""Generates the image cases that raster_model_cases runs: each case is an operation with its
arguments, a destination image (and a source image, or the destination itself as source), and
the destination as the model leaves it, span columns included.

Usage: gen_cases.py OUTPUT"""

import math
import struct
import sys

import numpy as np

import rastermodel as rm

OPS = {"blit_rect": 1, "scaled_blit": 2, "halve_blit": 3, "fill_rect": 4, "put_pixel": 5,
       "coverage_mask": 6, "blur": 7, "rotated_blit": 8}
SRC_NONE, SRC_OWN, SRC_SAME = 0, 1, 2

ALPHAS = [0.0, 1 / 512, 1 / 256, 0.25, 0.3, 0.5, 0.502, 0.75, 0.999, 1.0, 1.001, 1.5, -0.3,
          math.nan, math.inf]
MODES = list(range(0, 8)) + list(range(0x10000, 0x10007)) + [0x100, 0x10100, 0x10101, 0x105]
HUGE = [(1 << 31) - 1, -(1 << 31), 1 << 30, -(1 << 30)]


class Writer:
    def __init__(self):
        self.parts = []
        self.count = 0

    def image(self, img):
        self.parts.append(struct.pack("<4i", img.w, img.h, img.span, int(img.flipped)))
        self.parts.append(img.words.astype("<u4").tobytes())

    def case(self, label, op, ints, floats, dest, src_kind, src=None, data=b""):
        before = dest.copy()
        srcimg = {SRC_NONE: None, SRC_OWN: src, SRC_SAME: dest}[src_kind]
        run_model(op, ints, floats, dest, srcimg, data)
        self.parts.append(struct.pack("<I i", 0x45534143, OPS[op]))
        self.parts.append(struct.pack("<i", len(ints)) + struct.pack(f"<{len(ints)}i", *ints))
        self.parts.append(struct.pack("<i", len(floats)) + struct.pack(f"<{len(floats)}f", *floats))
        self.image(before)
        self.parts.append(struct.pack("<i", src_kind))
        if src_kind == SRC_OWN:
            self.image(src)
        self.parts.append(struct.pack("<i", len(data)) + bytes(data))
        self.parts.append(dest.words.astype("<u4").tobytes())
        lb = label.encode()
        self.parts.append(struct.pack("<i", len(lb)) + lb)
        self.count += 1


def s32(v):
    v &= 0xFFFFFFFF
    return v - (1 << 32) if v >= 1 << 31 else v


def run_model(op, ints, floats, D, S, data):
    if op == "blit_rect":
        dstx, dsty, has, l, t, r, b, mode = ints
        rm.blit_rect(D, S, dstx, dsty, (l, t, r, b) if has else None, floats[0], mode)
    elif op == "scaled_blit":
        dstx, dsty, dstw, dsth, mode = ints
        rm.scaled_blit(D, S, dstx, dsty, dstw, dsth, *floats[:4], floats[4], mode)
    elif op == "halve_blit":
        rm.halve_blit(D, S)
    elif op == "fill_rect":
        x, y, w, h, colour, mode = ints
        rm.fill_rect(D, x, y, w, h, colour & 0xFFFFFFFF, floats[0], mode)
    elif op == "put_pixel":
        x, y, colour, mode = ints
        rm.put_pixel(D, x, y, colour & 0xFFFFFFFF, floats[0], mode)
    elif op == "coverage_mask":
        x, y, colour, w, span, h, mode = ints
        rm.coverage_mask(D, x, y, colour & 0xFFFFFFFF, list(data), w, span, h, floats[0], mode)
    elif op == "blur":
        rm.blur(D, S, *ints)
    elif op == "rotated_blit":
        dstx, dsty, dstw, dsth, clip, mode = ints
        rm.rotated_blit(D, S, dstx, dsty, dstw, dsth, *floats[:5], clip != 0, floats[5], mode,
                        floats[6], floats[7])
    else:
        raise KeyError(op)


def random_image(rng, w, h, span, flipped):
    words = rng.integers(0, 1 << 32, size=span * h, dtype=np.uint64).astype(np.uint32)
    # Alpha bytes 0 and 255 are frequent: the source-alpha writers treat them apart.
    pick = rng.integers(0, 4, size=span * h)
    words = np.where(pick == 0, words & 0xFFFFFF00, words)
    words = np.where(pick == 1, words | 0xFF, words)
    return rm.Image(w, h, span, flipped, words.astype(np.uint32))


def dests(rng):
    return [random_image(rng, 23, 17, 27, False), random_image(rng, 21, 15, 21, True)]


def source(rng):
    return random_image(rng, 19, 13, 20 + int(rng.integers(0, 3)), bool(rng.integers(0, 2)))


def blit_cases(w, rng):
    for mode in MODES + [0xF0 | (2 << 2) | 3, 0xF0 | 1, 0xFF, 0xF4]:
        for alpha in ALPHAS:
            for D in dests(rng):
                dx, dy = (int(v) for v in rng.integers(-8, 20, size=2))
                l, t = (int(v) for v in rng.integers(-5, 10, size=2))
                r, b = l + int(rng.integers(0, 25)), t + int(rng.integers(0, 18))
                w.case(f"blit mode {mode:#x} alpha {alpha}", "blit_rect",
                       [dx, dy, int(rng.integers(0, 4) != 0), l, t, r, b, mode], [alpha], D,
                       SRC_OWN, source(rng))
    # Geometry: negative rectangle corners, far outside, huge coordinates, no rectangle.
    geoms = [(0, 0, 1, -3, -2, 10, 8), (5, 5, 0, 0, 0, 0, 0), (-100, 3, 1, 0, 0, 19, 13),
             (3, -100, 1, 0, 0, 19, 13), (1000, 1000, 1, 0, 0, 19, 13),
             (22, 16, 1, 0, 0, 19, 13), (-18, -12, 1, 0, 0, 19, 13), (2, 2, 1, 18, 12, 40, 40)]
    for a in HUGE:
        for b in HUGE:
            geoms += [(a, b, 1, 0, 0, 5, 5), (0, 0, 1, a, b, a, b), (1, 1, 1, b, a, a, b),
                      (a, 1, 1, b, 0, 19, 13), (0, 0, 1, -5, -5, a, b)]
    for g in geoms:
        for alpha, mode in ((1.0, 0), (0.5, 0), (0.3, 1), (1.0, 0x10000)):
            for D in dests(rng):
                w.case(f"blit geometry {g}", "blit_rect", list(g) + [mode], [alpha], D, SRC_OWN,
                       source(rng))
    # Within one bitmap, overlapping in every direction.
    for dx in (-3, -1, 0, 1, 3):
        for dy in (-2, -1, 0, 1, 2):
            for alpha, mode in ((1.0, 0), (0.5, 0), (0.3, 0), (0.6, 3), (1.0, 0x10000),
                                (1.0, 0xF0 | (1 << 2) | 2)):
                for D in dests(rng):
                    sx, sy = 4, 3
                    w.case(f"blit self offset {dx},{dy} mode {mode:#x}", "blit_rect",
                           [sx + dx, sy + dy, 1, sx, sy, sx + 12, sy + 9, mode], [alpha], D,
                           SRC_SAME)


def scaled_cases(w, rng):
    geoms = [
        # dstx, dsty, dstw, dsth, srcx, srcy, srcw, srch
        (0, 0, 23, 17, 0, 0, 19, 13), (2, 1, 40, 30, 0, 0, 19, 13), (0, 0, 9, 6, 0, 0, 19, 13),
        (1, 1, 7, 5, 0.5, 0.25, 19, 13), (0, 0, 4, 3, 0, 0, 19, 13), (-5, -3, 30, 20, 1, 1, 15, 10),
        (3, 2, 10, 8, 2.4, 1.6, 10, 8), (3, 2, 10, 8, 2.02, 1.01, 10, 8),
        (3, 2, 10, 8, 10.4, 1, 10, 8), (20, 2, -20, 10, 0, 0, 19, 13), (2, 15, 12, -12, 0, 0, 19, 13),
        (22, 16, -22, -16, 0, 0, 19, 13), (10, 3, -10, 9, 3, 2, 7, 9), (0, 0, 23, 17, -4, -3, 30, 20),
        (0, 0, 23, 17, 5, 4, -5, -4), (-30, -20, 60, 40, 0, 0, 19, 13), (5, 5, 5, 5, 18, 12, 5, 5),
        (0, 0, 23, 17, 0, 0, 1, 1), (0, 0, 6, 4, 0, 0, 19, 13), (0, 0, 3, 2, 0, 0, 19, 13),
        (1, 1, 20, 14, 0.3, 0.7, 18.2, 12.1), (0, 0, 11, 9, 0, 0, 19, 13),
        (0, 0, 23, 17, 1e9, 0, 19, 13), (0, 0, 23, 17, 0, 0, 1e9, 1e9),
        (0, 0, 23, 17, math.nan, 0, 19, 13), (0, 0, 23, 17, 0, 0, math.inf, 13),
        ((1 << 31) - 1, 0, 5, 5, 0, 0, 19, 13), (-(1 << 31), 0, (1 << 31) - 1, 5, 0, 0, 19, 13),
        (0, 0, -(1 << 31), 5, 0, 0, 19, 13), (0, 0, 23, 17, -1e6, -1e6, 2e6, 2e6),
    ]
    modes = [0, 0x100, 1, 0x101, 3, 0x103, 5, 0x105, 0x10000, 0x10100, 0x10001, 0x10101,
             0x10004, 0x10105, 7, 0x107, 0x200]
    for g in geoms:
        for mode in modes:
            for alpha in (1.0, 0.5, 0.3, 0.75):
                D = dests(rng)[int(rng.integers(0, 2))]
                w.case(f"scaled {g} mode {mode:#x} alpha {alpha}", "scaled_blit",
                       list(g[:4]) + [mode], list(g[4:]) + [alpha], D, SRC_OWN, source(rng))
    # Random geometry.
    for _ in range(300):
        dw, dh = int(rng.integers(-30, 40)), int(rng.integers(-25, 30))
        g = [int(rng.integers(-10, 25)), int(rng.integers(-8, 18)), dw, dh]
        s = [float(np.float32(rng.uniform(-4, 18))), float(np.float32(rng.uniform(-3, 12))),
             float(np.float32(rng.uniform(-20, 40))), float(np.float32(rng.uniform(-15, 30)))]
        mode = modes[int(rng.integers(0, len(modes)))]
        alpha = [1.0, 0.5, 0.4][int(rng.integers(0, 3))]
        D = dests(rng)[int(rng.integers(0, 2))]
        w.case(f"scaled random {g} {s} mode {mode:#x}", "scaled_blit", g + [mode], s + [alpha],
               D, SRC_OWN, source(rng))


def halve_cases(w, rng):
    for sw, sh in ((19, 13), (46, 34), (47, 35), (1, 1), (2, 2), (60, 10)):
        for D in dests(rng):
            S = random_image(rng, sw, sh, sw + 1, False)
            w.case(f"halve {sw}x{sh}", "halve_blit", [], [], D, SRC_OWN, S)


def fill_cases(w, rng):
    colours = [0x336699CC, 0xFFFFFF00, 0x00000080, 0x123456FF, 0x80808001]
    geoms = [(2, 3, 10, 7), (-4, -5, 10, 9), (20, 14, 10, 10), (0, 0, 23, 17), (5, 5, 0, 4),
             (5, 5, -3, 4), (-(1 << 31), 0, (1 << 31) - 1, 5), (0, 0, (1 << 31) - 1, (1 << 31) - 1),
             ((1 << 31) - 1, 2, 5, 5), (3, -(1 << 31), 4, (1 << 31) - 1)]
    fill_alphas = ALPHAS + [0.2, 0.7]
    for mode in list(range(0, 8)) + [0x10000, 0x10001, 0x10003, 0x10005, 0x100]:
        for alpha in fill_alphas:
            for D in dests(rng):
                g = geoms[int(rng.integers(0, 4))]
                c = colours[int(rng.integers(0, len(colours)))]
                w.case(f"fill {g} mode {mode:#x} alpha {alpha}", "fill_rect",
                       list(g) + [s32(c), mode], [alpha], D, SRC_NONE)
    for g in geoms:
        for D in dests(rng):
            w.case(f"fill geometry {g}", "fill_rect", list(g) + [s32(0x11223344), 0], [0.3], D,
                   SRC_NONE)
    for mode in list(range(0, 7)) + [0x10000]:
        for alpha in fill_alphas:
            for D in dests(rng):
                x, y = int(rng.integers(-2, 25)), int(rng.integers(-2, 19))
                c = colours[int(rng.integers(0, len(colours)))]
                w.case(f"put pixel ({x},{y}) mode {mode:#x} alpha {alpha}", "put_pixel",
                       [x, y, s32(c), mode], [alpha], D, SRC_NONE)


def coverage_cases(w, rng):
    for mode in list(range(0, 7)) + [0x10000, 0x10003]:
        for alpha in (1.0, 0.5, 0.3, 0.0, math.nan):
            for D in dests(rng):
                mw, mh = int(rng.integers(1, 12)), int(rng.integers(1, 10))
                span = mw + int(rng.integers(0, 4))
                mask = rng.integers(0, 256, size=span * mh).astype(np.uint8)
                mask[rng.integers(0, 3, size=span * mh) == 0] = 0
                mask[rng.integers(0, 4, size=span * mh) == 0] = 255
                x, y = int(rng.integers(-mw - 1, 24)), int(rng.integers(-mh - 1, 18))
                c = [0x336699CC, 0xFF00FF80, 0x12345600][int(rng.integers(0, 3))]
                w.case(f"coverage ({x},{y}) {mw}x{mh} mode {mode:#x} alpha {alpha}",
                       "coverage_mask", [x, y, s32(c), mw, span, mh, mode], [alpha], D, SRC_NONE,
                       data=mask.tobytes())


def blur_cases(w, rng):
    geoms = [(0, 0, 0, 0, 19, 13), (2, 3, 0, 0, 19, 13), (-3, -2, 1, 1, 10, 8), (5, 5, -2, -3, 9, 9),
             (0, 0, 3, 3, 1, 5), (0, 0, 3, 3, 2, 2), (20, 14, 0, 0, 19, 13), (0, 0, 17, 11, 5, 5),
             ((1 << 31) - 1, 0, 0, 0, 19, 13), (0, 0, -(1 << 31), 0, (1 << 31) - 1, 13)]
    for g in geoms:
        for D in dests(rng):
            w.case(f"blur {g}", "blur", list(g), [], D, SRC_OWN, source(rng))
    for dx in (-2, -1, 0, 1, 2):
        for dy in (-2, -1, 0, 1, 2):
            for D in dests(rng):
                w.case(f"blur self offset {dx},{dy}", "blur", [4 + dx, 3 + dy, 4, 3, 12, 9], [],
                       D, SRC_SAME)


def rotated_cases(w, rng):
    geoms = [
        # dstx, dsty, dstw, dsth, srcx, srcy, srcw, srch, angle, rotx, roty
        (0, 0, 19, 13, 0, 0, 19, 13, 0.0, 0, 0), (2, 2, 13, 13, 3, 0, 13, 13, math.pi / 2, 0, 0),
        (1, 1, 15, 12, 2, 1, 15, 12, 0.3, 0, 0), (-6, -4, 20, 16, 0, 0, 19, 13, -1.1, 0, 0),
        (4, 3, 12, 9, 0, 0, 19, 13, 2.5, 1.5, -2.0), (0, 0, 23, 17, 0, 0, 19, 13, 0.05, 0.3, 0.2),
        (10, 8, -9, 7, 1, 1, 9, 7, 0.7, 0, 0), (5, 12, 9, -10, 1, 1, 9, 10, 4.0, 0, 0),
        (0, 0, 30, 20, -3, -2, 10, 8, 1.0, 0, 0), (20, 14, 10, 10, 0, 0, 19, 13, 0.4, 0, 0),
        (0, 0, 23, 17, 0, 0, 19, 13, math.nan, 0, 0), (0, 0, 23, 17, 1e9, 0, 19, 13, 0.5, 0, 0),
        (-(1 << 31), 0, 100, 5, 0, 0, 19, 13, 0.5, 0, 0), (0, 0, 23, 17, 0, 0, 19, 13, 1e30, 0, 0),
    ]
    modes = [0, 0x100, 1, 0x101, 2, 3, 4, 5, 0x10000, 0x10100, 0x10101, 0x10001, 0x10105, 7, 0x10006]
    for g in geoms:
        for mode in modes:
            for clip in (0, 1):
                alpha = [1.0, 0.5, 0.3][int(rng.integers(0, 3))]
                D = dests(rng)[int(rng.integers(0, 2))]
                w.case(f"rotated {g} clip {clip} mode {mode:#x} alpha {alpha}", "rotated_blit",
                       list(g[:4]) + [clip, mode], list(g[4:9]) + [alpha] + list(g[9:]), D,
                       SRC_OWN, source(rng))
    for _ in range(200):
        g = [int(rng.integers(-8, 20)), int(rng.integers(-6, 15)), int(rng.integers(-25, 30)),
             int(rng.integers(-20, 25))]
        f = [float(np.float32(v)) for v in (rng.uniform(-3, 12), rng.uniform(-3, 9),
                                            rng.uniform(-5, 22), rng.uniform(-5, 16),
                                            rng.uniform(-7, 7), rng.uniform(0.2, 1.0),
                                            rng.uniform(-3, 3), rng.uniform(-3, 3))]
        mode = modes[int(rng.integers(0, len(modes)))]
        clip = int(rng.integers(0, 2))
        D = dests(rng)[int(rng.integers(0, 2))]
        w.case(f"rotated random {g} {f} clip {clip} mode {mode:#x}", "rotated_blit",
               g + [clip, mode], f, D, SRC_OWN, source(rng))


def main():
    rng = np.random.default_rng(20261210)
    w = Writer()
    for gen in (blit_cases, scaled_cases, halve_cases, fill_cases, coverage_cases, blur_cases,
                rotated_cases):
        gen(w, rng)
    with open(sys.argv[1], "wb") as f:
        f.write(struct.pack("<I i", 0x53455341, w.count))
        for p in w.parts:
            f.write(p)


if __name__ == "__main__":
    main()
