"""Generates the image cases that raster_model_cases runs: each case is an operation with its
arguments, a destination image (and a source image, or the destination itself as source), and
the destination as the model leaves it, span columns included.

Usage: gen_cases.py OUTPUT"""

import math
import struct
import sys

import numpy as np

import rastermodel as rm
import shapemodel as sm

OPS = {"blit_rect": 1, "scaled_blit": 2, "halve_blit": 3, "fill_rect": 4, "put_pixel": 5,
       "coverage_mask": 6, "blur": 7, "rotated_blit": 8, "line": 9, "float_line": 10,
       "dashed_line": 11, "circle": 12, "arc": 13, "round_rect": 14, "polygon": 15,
       "triangle": 16, "trapezoid": 17, "draw_rect": 18, "bordered_rect": 19, "clip_line": 20,
       "clip_line_to_rect": 21, "clip_float_line": 22, "qbezier": 23, "cbezier": 24,
       "fill_cbezier": 25, "qbezier_y_for_x": 26, "cbezier_y_for_x": 27,
       "clip_float_line_to_rect": 28}
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
    elif op in SHAPE_OPS:
        SHAPE_OPS[op](D, ints, floats)
    else:
        raise KeyError(op)


def u32(v):
    return v & 0xFFFFFFFF


def f32bits(v):
    return s32(struct.unpack("<I", struct.pack("<f", float(v)))[0])


def model_clip_float(D, ints, floats):
    ok, pts = sm.clip_float_line(*floats[:4], ints[0], ints[1])
    D.words[:] = [int(ok)] + [u32(f32bits(v)) for v in pts]


def model_clip_float_rect(D, ints, floats):
    ok, pts = sm.clip_float_line_to_rect(*floats)
    D.words[:] = [int(ok)] + [u32(f32bits(v)) for v in pts]


def dbits(v):
    lo, hi = struct.unpack("<II", struct.pack("<d", float(v)))
    return [lo, hi]


def model_q_solver(D, ints, floats):
    y, t = sm.qbezier_y_for_x(*floats)
    D.words[:] = [u32(f32bits(y))] + dbits(t)


def model_c_solver(D, ints, floats):
    y, xu, slope, lo, hi = sm.cbezier_y_for_x(floats[0:4], floats[4:8], floats[8], True)
    D.words[:] = [u32(f32bits(y)), u32(f32bits(xu)), u32(f32bits(slope))] + dbits(lo) + dbits(hi)


SHAPE_OPS = {
    "line": lambda D, i, f: sm.line(D, *i[:4], u32(i[4]), f[0], i[5], i[6] != 0),
    "float_line": lambda D, i, f: sm.float_line(D, *f[:4], u32(i[0]), f[4], i[1], i[2] != 0),
    "dashed_line": lambda D, i, f: sm.dashed_line(D, *i[:6], u32(i[6]), f[0], i[7]),
    "circle": lambda D, i, f: (sm.fill_circle if i[3] else sm.circle)(D, *f[:3], u32(i[0]), f[3],
                                                                       i[1], i[2] != 0),
    "arc": lambda D, i, f: sm.arc(D, *f[:5], u32(i[0]), f[5], i[1], i[2] != 0),
    "round_rect": lambda D, i, f: sm.round_rect(D, *f[:4], i[0], u32(i[1]), f[4], i[2],
                                                i[3] != 0),
    "polygon": lambda D, i, f: sm.polygon(D, i[3:3 + i[2]], i[3 + i[2]:3 + 2 * i[2]], u32(i[0]),
                                          f[0], i[1]),
    "triangle": lambda D, i, f: sm.polygon(D, i[0:6:2], i[1:6:2], u32(i[6]), f[0], i[7]),
    "trapezoid": lambda D, i, f: sm.trapezoid(D, *i[:6], u32(i[6]), f[0], i[7]),
    "draw_rect": lambda D, i, f: sm.draw_rect(D, *i[:4], u32(i[4]), f[0], i[5]),
    "bordered_rect": lambda D, i, f: sm.bordered_rect(D, *i[:4], u32(i[4]), u32(i[5]), f[0],
                                                      i[6]),
    # Clipping results go into the first five words of a 5 x 1 image: the answer, then the
    # four coordinates.
    "clip_line": lambda D, i, f: D.words.__setitem__(
        slice(None), (lambda r: [int(r[0])] + [u32(v) for v in r[1]])(sm.clip_line(*i))),
    "clip_line_to_rect": lambda D, i, f: D.words.__setitem__(
        slice(None), (lambda r: [int(r[0])] + [u32(v) for v in r[1]])(sm.clip_line_to_rect(*i))),
    "clip_float_line": model_clip_float,
    "clip_float_line_to_rect": model_clip_float_rect,
    "qbezier": lambda D, i, f: sm.draw_qbezier(D, *f[:6], u32(i[0]), f[6], i[1], i[2] != 0, f[7]),
    "cbezier": lambda D, i, f: sm.draw_cbezier(D, f[:8], u32(i[0]), f[8], i[1], i[2] != 0, f[9]),
    "fill_cbezier": lambda D, i, f: sm.fill_cbezier(D, f[:8], i[0], i[1] != 0, u32(i[2]), f[8],
                                                    i[3], f[9]),
    "qbezier_y_for_x": model_q_solver,
    "cbezier_y_for_x": model_c_solver,
}


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


# ---- shapes -------------------------------------------------------------------------------------

# The opacities the shapes treat apart: the whole-word copies at 1.0, 0.5, 0.25 and 0.75, the
# weights 256 and 128 reached from other values, 64 and 192, a plain blend weight, weights that
# truncate to 0, and values outside 0..1.
SHAPE_ALPHAS = [1.0, 0.5, 0.25, 0.75, 1.001, 0.502, 0.2502, 0.7502, 0.3, 0.999, 1 / 512, 0.0,
                1.5, -0.3]
# Every combine operation, the flags above the low byte (ignored by shapes), and low bytes
# that draw nothing.
SHAPE_MODES = [0, 1, 2, 3, 4, 5, 6, 0xFF, 0x10000, 0x10001, 0x10003, 0x10005, 0x100, 0x105]
SHAPE_COLOURS = [0x336699CC, 0xFFFFFF00, 0x00000080, 0x123456FF, 0x80808001, 0xFFFFFFFF]


def shape_dests(rng):
    return dests(rng)


def pick(rng, seq):
    return seq[int(rng.integers(0, len(seq)))]


def classes(rng, count):
    """(mode, alpha, colour, dest) combinations: every mode with every alpha class, then
    random ones."""
    out = []
    for mode in SHAPE_MODES:
        for alpha in SHAPE_ALPHAS:
            out.append((mode, alpha))
    for _ in range(count):
        out.append((pick(rng, SHAPE_MODES[:6]), pick(rng, SHAPE_ALPHAS[:10])))
    return [(m, a, pick(rng, SHAPE_COLOURS), pick(rng, shape_dests(rng))) for m, a in out]


def line_points(rng, D, spread):
    """A horizontal, vertical, exact diagonal or sloped line: wholly inside the bitmap when
    spread is None, else with its ends up to spread pixels past the borders (often crossing one
    or two, now and then wholly outside)."""
    if spread is None:
        pts = [int(rng.integers(0, D.w)), int(rng.integers(0, D.h)), int(rng.integers(0, D.w)),
               int(rng.integers(0, D.h))]
    else:
        lo, hi = -spread, max(D.w, D.h) + spread
        pts = [int(v) for v in rng.integers(lo, hi, size=4)]
    kind = int(rng.integers(0, 6))
    if kind == 0:  # horizontal
        pts[3] = pts[1]
    elif kind == 1:  # vertical
        pts[2] = pts[0]
    elif kind == 2:  # exact diagonal
        sx, sy = (1 if rng.integers(0, 2) else -1), (1 if rng.integers(0, 2) else -1)
        d = int(rng.integers(1, 21))
        if spread is None:
            room_x = D.w - 1 - pts[0] if sx > 0 else pts[0]
            room_y = D.h - 1 - pts[1] if sy > 0 else pts[1]
            d = min(d, room_x, room_y)
        pts[2], pts[3] = pts[0] + sx * d, pts[1] + sy * d
    return pts


def line_cases(w, rng):
    for mode, alpha, c, D in classes(rng, 200):
        for aa in (False, True):
            for spread in (None, 6, 40):
                D = pick(rng, shape_dests(rng))
                p = line_points(rng, D, spread)
                w.case(f"line {p} mode {mode:#x} alpha {alpha} aa {aa}", "line",
                       p + [s32(c), mode, int(aa)], [alpha], D, SRC_NONE)
    # Named shapes: single points, the four borders, both directions.
    named = [(3, 5, 3, 5), (0, 0, 9, 0), (9, 0, 0, 0), (0, 0, 10, 3), (10, 3, 0, 0),
             (51, 19, 6, 27), (6, 27, 51, 19), (-5, 8, 30, 2), (5, -40, 9, 60), (0, 0, 22, 16),
             (22, 0, 0, 16), (-1000, -700, 1000, 700), (2, 3, 2, 100), (-(1 << 31), 3, 1 << 30, 9),
             (1, 1, 21, 2), (1, 2, 21, 1), (1, 1, 2, 15), (2, 1, 1, 15), (0, 5, 20, 16)]
    for p in named:
        for mode, alpha in ((0, 1.0), (0, 0.5), (0, 0.3), (1, 0.6), (5, 1.0), (0x10000, 1.0)):
            for aa in (False, True):
                for D in shape_dests(rng):
                    w.case(f"line {p} mode {mode:#x} alpha {alpha} aa {aa}", "line",
                           list(p) + [s32(0x40804020), mode, int(aa)], [alpha], D, SRC_NONE)


def float_line_cases(w, rng):
    for mode, alpha, c, D in classes(rng, 200):
        for aa in (False, True, True):
            D = pick(rng, shape_dests(rng))
            lo, hi = -8.0, max(D.w, D.h) + 8.0
            p = [float(np.float32(v)) for v in rng.uniform(lo, hi, size=4)]
            k = int(rng.integers(0, 6))
            if k == 0:
                p[3] = p[1]
            elif k == 1:
                p[2] = p[0]
            elif k == 2:
                p = [float(np.float32(v)) for v in rng.uniform(0, min(D.w, D.h) - 1, size=4)]
            elif k == 3:
                p = [float(int(v)) for v in p]
            w.case(f"float line {p} mode {mode:#x} alpha {alpha} aa {aa}", "float_line",
                   [s32(c), mode, int(aa)], p + [alpha], D, SRC_NONE)
    for p in ((2.5, 2.5, 2.5, 2.5), (1.25, 3.5, 17.75, 9.125), (17.75, 9.125, 1.25, 3.5),
              (3.5, 1.25, 9.125, 14.75), (9.125, 14.75, 3.5, 1.25), (-4.5, 6.0, 30.0, 7.5),
              (0.0, 0.0, 20.0, 14.0), (5.0, 5.0, 12.0, 5.0)):
        for mode, alpha in ((0, 1.0), (0, 0.5), (3, 0.7), (5, 1.0)):
            for D in shape_dests(rng):
                w.case(f"float line {p} mode {mode:#x} alpha {alpha}", "float_line",
                       [s32(0x40804020), mode, 1], list(p) + [alpha], D, SRC_NONE)


def dashed_cases(w, rng):
    for mode, alpha, c, D in classes(rng, 100):
        D = pick(rng, shape_dests(rng))
        p = line_points(rng, D, 6)
        if rng.integers(0, 5):
            axis = int(rng.integers(0, 2))
            p[axis + 2] = p[axis]
        on, off = int(rng.integers(1, 5)), int(rng.integers(0, 4))
        if rng.integers(0, 4) == 0:
            on, off = 1, 1
        w.case(f"dashed {p} {on}/{off} mode {mode:#x} alpha {alpha}", "dashed_line",
               p + [on, off, s32(c), mode], [alpha], D, SRC_NONE)
    for p, on, off in (((0, 0, 0, 10), 3, 2), ((4, 12, 4, 0), 1, 1), ((4, 11, 4, 0), 1, 1),
                       ((3, 3, 3, 3), 1, 1), ((20, 5, 1, 5), 2, 3), ((1, 1, 9, 9), 2, 2),
                       ((5, -10, 5, 40), 4, 1), ((2, 2, 2, 9), 0, 1), ((2, 2, 2, 9), 2, -1)):
        for mode, alpha in ((0, 1.0), (0, 0.5), (0, 0.3), (2, 0.8)):
            for D in shape_dests(rng):
                w.case(f"dashed {p} {on}/{off} mode {mode:#x} alpha {alpha}", "dashed_line",
                       list(p) + [on, off, s32(0x40804020), mode], [alpha], D, SRC_NONE)


def clip_cases(w, rng):
    for _ in range(1500):
        spread = pick(rng, [5, 30, 200])
        wd, ht = int(rng.integers(1, 60)), int(rng.integers(1, 60))
        p = [int(v) for v in rng.integers(-spread, max(wd, ht) + spread, size=4)]
        w.case(f"clip {p} in {wd}x{ht}", "clip_line", p + [wd, ht], [],
               rm.Image(5, 1, 5, False, [0] * 5), SRC_NONE)
        lo = [int(v) for v in rng.integers(-20, 20, size=2)]
        hi = [lo[0] + int(rng.integers(1, 40)), lo[1] + int(rng.integers(1, 40))]
        w.case(f"clip {p} to rect {lo} {hi}", "clip_line_to_rect", p + lo + hi, [],
               rm.Image(5, 1, 5, False, [0] * 5), SRC_NONE)
        fp = [float(np.float32(v)) for v in rng.uniform(-spread, max(wd, ht) + spread, size=4)]
        w.case(f"clip float {fp} in {wd}x{ht}", "clip_float_line", [wd, ht], fp,
               rm.Image(5, 1, 5, False, [0] * 5), SRC_NONE)
        flo = f32s(rng.uniform(-20, 20, size=2))
        fhi = [float(np.float32(flo[0] + rng.uniform(1, 40))),
               float(np.float32(flo[1] + rng.uniform(1, 40)))]
        w.case(f"clip float {fp} to rect {flo} {fhi}", "clip_float_line_to_rect", [],
               fp + flo + fhi, rm.Image(5, 1, 5, False, [0] * 5), SRC_NONE)
    # Points anywhere in the int range: the crossings' offsets exceed it.
    for _ in range(300):
        p = [int(v) for v in rng.integers(-(1 << 31), 1 << 31, size=4)]
        if rng.integers(0, 2):
            p[int(rng.integers(0, 4))] = int(rng.integers(-50, 80))
        wd, ht = int(rng.integers(1, 100)), int(rng.integers(1, 100))
        w.case(f"clip far {p} in {wd}x{ht}", "clip_line", p + [wd, ht], [],
               rm.Image(5, 1, 5, False, [0] * 5), SRC_NONE)
        D = pick(rng, shape_dests(rng))
        w.case(f"line far {p}", "line", p + [s32(0x40804020), pick(rng, [0, 1, 5]),
                                             int(rng.integers(0, 2))], [0.6], D, SRC_NONE)
    for p in ((51, 19, 6, 27), (6, 27, 51, 19), (5, 5, 5, 100), (0, 0, 30, 30), (-5, -5, -1, 3)):
        w.case(f"clip {p}", "clip_line", list(p) + [40, 25], [], rm.Image(5, 1, 5, False, [0] * 5),
               SRC_NONE)


def circle_cases(w, rng):
    radii = [0.0, 0.4, 0.5, 1.0, 1.4, 1.5, 2.0, 2.01, 2.5, 3.0, 3.5, 4.0, 4.5, 5.0, 6.3, 7.75,
             10.25, 12.0]
    for mode, alpha, c, D in classes(rng, 150):
        for fill in (0, 1):
            for aa in (0, 1):
                for whole in (True, False):
                    D = pick(rng, shape_dests(rng))
                    if whole:
                        # With a 2-pixel margin inside the bitmap: drawn without clipping.
                        r = float(np.float32(rng.uniform(0, min(D.w, D.h) / 2 - 2.6)))
                        if rng.integers(0, 2):
                            r = pick(rng, [v for v in radii if v <= r] or [0.0])
                        cx = float(np.float32(rng.uniform(r + 2.01, D.w - r - 2.01)))
                        cy = float(np.float32(rng.uniform(r + 2.01, D.h - r - 2.01)))
                    else:
                        r = pick(rng, radii) if rng.integers(0, 2) else float(np.float32(
                            rng.uniform(0, 14)))
                        cx = float(np.float32(rng.uniform(-6, D.w + 6)))
                        cy = float(np.float32(rng.uniform(-6, D.h + 6)))
                    if rng.integers(0, 4) == 0:
                        cx, cy = float(int(cx)), float(int(cy))
                    w.case(f"circle ({cx},{cy}) r {r} fill {fill} aa {aa} mode {mode:#x} "
                           f"alpha {alpha}", "circle", [s32(c), mode, aa, fill],
                           [cx, cy, r, alpha], D, SRC_NONE)
    for r in radii:
        for fill in (0, 1):
            for aa in (0, 1):
                for mode, alpha in ((0, 1.0), (0, 0.5), (0, 0.3), (1, 0.7), (5, 1.0)):
                    for D in shape_dests(rng):
                        w.case(f"circle centre r {r} fill {fill} aa {aa} mode {mode:#x} "
                               f"alpha {alpha}", "circle", [s32(0x40804020), mode, aa, fill],
                               [10.0, 7.0, r, alpha], D, SRC_NONE)
    for cx, cy, r in ((-5.0, 3.0, 2.9), (-4.0, 3.0, 2.0), (3.0, -5.0, 2.5), (25.0, 18.0, 3.0),
                      (0.0, 0.0, 10.0), (11.0, 8.0, 30.0), (2.9, 2.9, 1.0)):
        for fill in (0, 1):
            for aa in (0, 1):
                for D in shape_dests(rng):
                    w.case(f"circle edge ({cx},{cy}) r {r} fill {fill} aa {aa}", "circle",
                           [s32(0x40804020), 0, aa, fill], [cx, cy, r, 0.6], D, SRC_NONE)


def arc_cases(w, rng):
    q = math.pi / 2
    named = [(0, q), (0, 2 * math.pi), (3 * math.pi, 3.5 * math.pi), (math.pi, 1.5 * math.pi),
             (-q, 0), (q, math.pi), (0.3, 2.9), (-2.0, 1.0), (5.0, 7.0), (-7.0, -6.5),
             (1.0, 1.0), (2.0, 0.5), (-0.2, 0.2), (0, 4 * math.pi)]
    for mode, alpha, c, D in classes(rng, 100):
        D = pick(rng, shape_dests(rng))
        if rng.integers(0, 2):
            a0, a1 = pick(rng, named)
        else:
            a0, a1 = (float(v) for v in rng.uniform(-8, 8, size=2))
        r = float(np.float32(rng.uniform(0.5, 12)))
        cx = float(np.float32(rng.uniform(-4, D.w + 4)))
        cy = float(np.float32(rng.uniform(-4, D.h + 4)))
        aa = int(rng.integers(0, 2))
        a0, a1 = float(np.float32(a0)), float(np.float32(a1))
        w.case(f"arc ({cx},{cy}) r {r} {a0}..{a1} aa {aa} mode {mode:#x} alpha {alpha}", "arc",
               [s32(c), mode, aa], [cx, cy, r, a0, a1, alpha], D, SRC_NONE)
    for a0, a1 in named:
        for aa in (0, 1):
            for D in shape_dests(rng):
                a0f, a1f = float(np.float32(a0)), float(np.float32(a1))
                w.case(f"arc centre {a0f}..{a1f} aa {aa}", "arc", [s32(0x40804020), 0, aa],
                       [10.0, 7.5, 6.0, a0f, a1f, 0.6], D, SRC_NONE)


def round_rect_cases(w, rng):
    for mode, alpha, c, D in classes(rng, 80):
        D = pick(rng, shape_dests(rng))
        x, y = (float(np.float32(v)) for v in rng.uniform(-4, 12, size=2))
        wd, ht = (float(np.float32(v)) for v in rng.uniform(0, 20, size=2))
        if rng.integers(0, 2):
            x, y, wd, ht = float(int(x)), float(int(y)), float(int(wd)), float(int(ht))
        cr = int(rng.integers(-1, 9))
        aa = int(rng.integers(0, 2))
        w.case(f"round rect ({x},{y},{wd},{ht}) r {cr} aa {aa} mode {mode:#x} alpha {alpha}",
               "round_rect", [cr, s32(c), mode, aa], [x, y, wd, ht, alpha], D, SRC_NONE)
    for g, cr in (((2, 2, 16, 10), 1), ((2, 2, 16, 10), 3), ((2, 2, 16, 10), 20),
                  ((1, 1, 12, 4), 3),
                  ((-3, -2, 14, 12), 4), ((5.5, 3.25, 10.5, 9.75), 3), ((2, 2, 16, 10), 0)):
        for aa in (0, 1):
            for D in shape_dests(rng):
                w.case(f"round rect {g} r {cr} aa {aa}", "round_rect",
                       [cr, s32(0x40804020), 0, aa], [float(v) for v in g] + [0.6], D, SRC_NONE)


def polygon_cases(w, rng):
    for mode, alpha, c, D in classes(rng, 150):
        for spread in (0, pick(rng, [5, 30])):
            D = pick(rng, shape_dests(rng))
            n = int(rng.integers(3, 9))
            xs = [int(v) for v in rng.integers(-spread, D.w + spread, size=n)]
            ys = [int(v) for v in rng.integers(-spread, D.h + spread, size=n)]
            if rng.integers(0, 5) == 0:
                ys = [ys[0]] * n
            w.case(f"polygon {xs} {ys} mode {mode:#x} alpha {alpha}", "polygon",
                   [s32(c), mode, n] + xs + ys, [alpha], D, SRC_NONE)
            t = [int(rng.integers(-spread, (D.w if k % 2 == 0 else D.h) + spread))
                 for k in range(6)]
            w.case(f"triangle {t} mode {mode:#x} alpha {alpha}", "triangle",
                   t + [s32(c), mode], [alpha], D, SRC_NONE)
    for _ in range(100):
        n = int(rng.integers(3, 7))
        xs = [int(v) for v in rng.integers(-100000, 100000, size=n)]
        ys = [int(v) for v in rng.integers(-100000, 100000, size=n)]
        w.case(f"polygon far {xs} {ys}", "polygon", [s32(0x40804020), 0, n] + xs + ys, [0.6],
               pick(rng, shape_dests(rng)), SRC_NONE)
    tri = [(0, 0, 10, 0, 0, 10), (10, 0, 0, 10, 0, 0), (0, 10, 0, 0, 10, 0), (3, 1, 18, 7, 6, 14),
           (18, 7, 3, 1, 6, 14), (5, 5, 5, 5, 5, 5), (1, 3, 20, 3, 9, 3), (2, 2, 2, 12, 2, 7),
           (-30, -20, 60, 5, 4, 70), (12, -1000, -1000, 500, 1000, 500)]
    for t in tri:
        for mode, alpha in ((0, 1.0), (0, 0.5), (0, 0.25), (0, 0.75), (0, 0.3), (3, 0.8),
                            (5, 1.0)):
            for D in shape_dests(rng):
                w.case(f"triangle {t} mode {mode:#x} alpha {alpha}", "triangle",
                       list(t) + [s32(0x40804020), mode], [alpha], D, SRC_NONE)
    # Many points (more than the fixed buffer holds), a hexagon, a one-row polygon.
    for n in (6, 40, 600):
        ang = np.linspace(0, 2 * math.pi, n, endpoint=False)
        xs = [int(11 + 9 * math.cos(a)) for a in ang]
        ys = [int(8 + 7 * math.sin(a)) for a in ang]
        for D in shape_dests(rng):
            w.case(f"polygon ring {n}", "polygon", [s32(0x40804020), 0, n] + xs + ys, [0.6], D,
                   SRC_NONE)
    for D in shape_dests(rng):
        w.case("polygon one row", "polygon", [s32(0x40804020), 0, 4, 3, -5, 40, 8, 5, 5, 5, 5],
               [1.0], D, SRC_NONE)
        w.case("polygon two points", "polygon", [s32(0x40804020), 0, 2, 3, 9, 5, 12], [1.0], D,
               SRC_NONE)


def trapezoid_cases(w, rng):
    for mode, alpha, c, D in classes(rng, 150):
        for spread in (0, pick(rng, [5, 40])):
            D = pick(rng, shape_dests(rng))
            xs = [int(v) for v in rng.integers(-spread, D.w + spread, size=4)]
            ys = [int(v) for v in rng.integers(-spread, D.h + spread, size=2)]
            if rng.integers(0, 4) == 0:
                xs[2], xs[3] = xs[0], xs[1]
            w.case(f"trapezoid {xs} {ys} mode {mode:#x} alpha {alpha}", "trapezoid",
                   [xs[0], xs[1], ys[0], xs[2], xs[3], ys[1], s32(c), mode], [alpha], D,
                   SRC_NONE)
    for g in ((2, 8, 0, 2, 8, 3), (8, 2, 3, 2, 8, 0), (5, 5, -20, -10, 30, 10),
              (0, 0, 0, 20, 22, 16),
              (-5, 3, 2, 4, 30, 12), (3, 3, -1000, 4, 4, 1000), (-3, -1, 2, -2, -1, 9),
              (0, 22, 5, 0, 22, 5), (10, 12, 3, 10 - 5000, 12 + 5000, 4)):
        for mode, alpha in ((0, 1.0), (0, 0.5), (0, 0.25), (0, 0.75), (0, 0.3), (4, 0.9)):
            for D in shape_dests(rng):
                w.case(f"trapezoid {g} mode {mode:#x} alpha {alpha}", "trapezoid",
                       list(g) + [s32(0x40804020), mode], [alpha], D, SRC_NONE)


def rect_cases(w, rng):
    for mode, alpha, c, D in classes(rng, 60):
        D = pick(rng, shape_dests(rng))
        g = [int(rng.integers(-5, 20)), int(rng.integers(-5, 15)), int(rng.integers(-3, 20)),
             int(rng.integers(-3, 15))]
        w.case(f"rect {g} mode {mode:#x} alpha {alpha}", "draw_rect", g + [s32(c), mode],
               [alpha], D, SRC_NONE)
        D = pick(rng, shape_dests(rng))
        w.case(f"bordered rect {g} mode {mode:#x} alpha {alpha}", "bordered_rect",
               g + [s32(c), s32(pick(rng, SHAPE_COLOURS)), mode], [alpha], D, SRC_NONE)
    for D in shape_dests(rng):
        w.case("rect 0,0,10,5", "draw_rect", [0, 0, 10, 5, s32(0xFFFFFFFF), 0], [0.5], D, SRC_NONE)
        w.case("bordered rect 0,0,10,10", "bordered_rect",
               [0, 0, 10, 10, s32(0x11111111), s32(0x22222222), 0], [1.0], D, SRC_NONE)


def f32s(values):
    return [float(np.float32(v)) for v in values]


def curve_cases(w, rng):
    tols = [1.0, 0.5, 2.0, 0.0, -1.0, 3.7]
    for mode, alpha, c, D in classes(rng, 80):
        D = pick(rng, shape_dests(rng))
        aa = int(rng.integers(0, 4) != 0)
        tol = pick(rng, tols)
        q = f32s(rng.uniform(-10, max(D.w, D.h) + 10, size=6))
        w.case(f"qbezier {q} tol {tol} aa {aa} mode {mode:#x} alpha {alpha}", "qbezier",
               [s32(c), mode, aa], q + [alpha, tol], D, SRC_NONE)
        D = pick(rng, shape_dests(rng))
        cb = f32s(rng.uniform(-10, max(D.w, D.h) + 10, size=8))
        w.case(f"cbezier {cb} tol {tol} aa {aa} mode {mode:#x} alpha {alpha}", "cbezier",
               [s32(c), mode, aa], cb + [alpha, tol], D, SRC_NONE)
        for across in (0, 1):
            D = pick(rng, shape_dests(rng))
            cb = f32s(rng.uniform(-6, max(D.w, D.h) + 6, size=8))
            base = int(rng.integers(-3, (D.h if not across else D.w) + 3))
            w.case(f"fill cbezier {cb} base {base} across {across} tol {tol} mode {mode:#x} "
                   f"alpha {alpha}", "fill_cbezier", [base, across, s32(c), mode],
                   cb + [alpha, tol], D, SRC_NONE)
    named_q = [(2, 14, 10, -8, 20, 14), (20, 14, 10, -8, 2, 14), (-8, 3, 10, 20, 30, 3),
               (30, 5, 40, 10, 50, 15), (3, 3, 3, 12, 3, 20), (1, 1, 8, 8, 15, 15)]
    named_c = [(1, 14, 6, -4, 14, 20, 20, 2), (20, 2, 14, 20, 6, -4, 1, 14),
               (-6, 10, 4, -6, 16, 22, 30, 5), (2, 1, 3, 6, 1, 10, 4, 16),
               (4, 16, 1, 10, 3, 6, 2, 1), (30, 1, 35, 5, 40, 9, 45, 12)]
    for D in shape_dests(rng):
        for q in named_q:
            for aa in (0, 1):
                w.case(f"qbezier {q} aa {aa}", "qbezier", [s32(0x40804020), 0, aa],
                       [float(v) for v in q] + [0.8, 1.0], D, SRC_NONE)
        for cb in named_c:
            for aa in (0, 1):
                w.case(f"cbezier {cb} aa {aa}", "cbezier", [s32(0x40804020), 1, aa],
                       [float(v) for v in cb] + [0.8, 1.0], D, SRC_NONE)
            for across in (0, 1):
                for base in (-2, 0, 6, 12, 30):
                    w.case(f"fill cbezier {cb} base {base} across {across}", "fill_cbezier",
                           [base, across, s32(0x40804020), 0], [float(v) for v in cb] + [0.6, 1.0],
                           D, SRC_NONE)
    # The two solvers alone: y (and t, the upper bracket's x and the slope) at x.
    for _ in range(400):
        q = f32s(rng.uniform(-5, 25, size=6))
        q[:3] = sorted(q[:3]) if rng.integers(0, 2) else q[:3]
        x = float(np.float32(rng.uniform(-8, 28)))
        w.case(f"qbezier y at {x} of {q}", "qbezier_y_for_x", [], q + [x],
               rm.Image(3, 1, 3, False, [0] * 3), SRC_NONE)
        cb = f32s(rng.uniform(-5, 25, size=8))
        cb[:4] = sorted(cb[:4]) if rng.integers(0, 2) else cb[:4]
        w.case(f"cbezier y at {x} of {cb}", "cbezier_y_for_x", [], cb + [x],
               rm.Image(7, 1, 7, False, [0] * 7), SRC_NONE)
    for q, x in (((0, 5, 10, 0, 5, 10), 2.5), ((0, 5, 10, 0, 5, 10), -1),
                 ((0, 5, 10, 0, 5, 10), 10),
                 ((3, 3, 3, 1, 2, 3), 3), ((0, 2, 10, 4, 9, 1), 7)):
        w.case(f"qbezier y at {x} of {q}", "qbezier_y_for_x", [], [float(v) for v in q] + [x],
               rm.Image(3, 1, 3, False, [0] * 3), SRC_NONE)


def main():
    rng = np.random.default_rng(20261210)
    w = Writer()
    for gen in (blit_cases, scaled_cases, halve_cases, fill_cases, coverage_cases, blur_cases,
                rotated_cases, line_cases, float_line_cases, dashed_cases, clip_cases,
                circle_cases, arc_cases, round_rect_cases, polygon_cases, trapezoid_cases,
                rect_cases, curve_cases):
        gen(w, rng)
    with open(sys.argv[1], "wb") as f:
        f.write(struct.pack("<I i", 0x53455341, w.count))
        for p in w.parts:
            f.write(p)


if __name__ == "__main__":
    main()
