"""Model of the raster library's shapes (lines, dashes, clipping, circles, arcs, rounded
rectangles, polygons, trapezoids, rectangle outlines and curves), written from the shapes'
drawing rules on top of the writer model in pixmodel.py and the fill model in rastermodel.py.

A shape is first turned into the ordered list of pixel writes it makes (stored row and column,
how the colour goes on, weight); the list is then applied to the image in order, so a pixel
written twice (a rectangle's corner, a tiny circle's centre) is combined twice."""

import math

import numpy as np

import pixmodel as pm
import rastermodel as rm

f32 = np.float32
PI_F = float(f32(math.pi))
TWO_PI_F = float(f32(2 * math.pi))
TWO_PI_D = 6.2831854820251465
HALF_PI_D = 1.5707963705062866

# How a write puts the colour on a pixel: whole-word forms, or the mode's writer at a weight.
SET, AVG, HALF, QUARTER, THREE, WRITER = range(6)


def cint(v):
    """C's (int) conversion of a finite value: truncation toward zero, kept in the int range
    (x86 gives INT_MIN for anything outside it and for NaN)."""
    v = float(v)
    if not math.isfinite(v) or v >= 2 ** 31 or v <= -(2 ** 31) - 1:
        return -(2 ** 31)
    return int(v)


def cdiv(a, b):
    """C's integer division, truncated toward zero."""
    q = abs(a) // abs(b)
    return -q if (a < 0) != (b < 0) else q


class Painter:
    """Collects the writes of one shape, in order, on the stored rows of an image."""

    def __init__(self, img, colour, mode):
        self.img = img
        self.colour = colour & 0xFFFFFFFF
        self.op = mode & 0xFF
        self.writes = []

    def put(self, x, y, kind, w=0):
        self.writes.append((x, y, kind, w))

    def apply(self):
        img, c = self.img, self.colour
        words = img.words.reshape(img.h, img.span)
        r, g, b, a = (c >> 8) & 255, (c >> 16) & 255, c >> 24, c & 255
        # Consecutive writes to distinct pixels go on together; a repeated pixel starts a new
        # group, so repeated writes see each other's results.
        start = 0
        n = len(self.writes)
        while start < n:
            seen = set()
            end = start
            while end < n and (self.writes[end][0], self.writes[end][1]) not in seen:
                seen.add((self.writes[end][0], self.writes[end][1]))
                end += 1
            group = self.writes[start:end]
            start = end
            for kind in (SET, AVG, HALF, QUARTER, THREE, WRITER):
                sel = [wr for wr in group if wr[2] == kind]
                if not sel:
                    continue
                xs = np.array([wr[0] for wr in sel])
                ys = np.array([wr[1] for wr in sel])
                assert xs.min() >= 0 and xs.max() < img.w and ys.min() >= 0 and ys.max() < img.h, \
                    "model write outside the bitmap"
                d = words[ys, xs]
                cw = np.uint32(c)
                if kind == SET:
                    words[ys, xs] = cw
                elif kind == AVG:
                    db = rm.words_to_bytes(d).astype(pm.I)
                    cb = rm.words_to_bytes(np.array([c], dtype=np.uint32)).astype(pm.I)
                    words[ys, xs] = ((db + cb) >> 1).astype(np.uint8).view(np.uint32).reshape(-1)
                elif kind == HALF:
                    words[ys, xs] = rm.word_half(d, cw)
                elif kind == QUARTER:
                    words[ys, xs] = rm.word_quarter(d, cw)
                elif kind == THREE:
                    words[ys, xs] = rm.word_three_quarter(d, cw)
                else:
                    wts = np.array([wr[3] for wr in sel], dtype=pm.I)
                    px = rm.words_to_bytes(d).astype(pm.I)
                    if self.op == 5:
                        out = pm.hsv(px, r, g, b, a, wts)
                    else:
                        name = ["blend", "add", "dodge", "multiply", "overlay"][self.op]
                        out = pm.plain(name, px, r, g, b, a, wts)
                    words[ys, xs] = out.astype(np.uint8).view(np.uint32).reshape(-1)
        self.writes = []


def plain_kind(op, ia):
    """How a plain (not anti-aliased) shape puts on its colour at weight ia; None: nothing."""
    if ia == 0 or op > 5:
        return None
    if op == 0:
        if ia == 256:
            return SET
        if ia == 128:
            return AVG
        if ia < 1:
            return None
    return WRITER


def smooth_ok(op, ia):
    return ia != 0 and op <= 5 and not (op == 0 and ia < 1)


def aa_weights(e, ia):
    if ia == 256:
        return 255 - e, e
    return ((255 - e) * ia) >> 8, (e * ia) >> 8


# ---- clipping ---------------------------------------------------------------------------------

def clip_line(x1, y1, x2, y2, w, h):
    """Cohen-Sutherland on the points as given. The coordinates are exact integers here, and
    a crossing's offset is truncated without an int range: points anywhere in the int range, and
    boxes moved by any int offset, clip without overflow. The points handed back are held to the
    int range."""
    def code(x, y):
        return (1 if x < 0 else 2 if x >= w else 0) | (4 if y < 0 else 8 if y >= h else 0)

    def done(ok):
        return ok, tuple(max(-(2 ** 31), min(2 ** 31 - 1, v)) for v in (x1, y1, x2, y2))

    c1, c2 = code(x1, y1), code(x2, y2)
    for _ in range(64):
        if not (c1 | c2):
            return done(True)
        if c1 & c2:
            return done(False)
        first = c1 != 0
        c = c1 if first else c2
        if c & 8:
            x, y = x1 + int(float(h - y1) * float(x2 - x1) / float(y2 - y1)), h - 1
        elif c & 4:
            x, y = x1 + int(float(0 - y1) * float(x2 - x1) / float(y2 - y1)), 0
        elif c & 2:
            x, y = w - 1, y1 + int(float(y2 - y1) * float(w - x1) / float(x2 - x1))
        else:
            x, y = 0, y1 + int(float(y2 - y1) * float(0 - x1) / float(x2 - x1))
        if first:
            x1, y1, c1 = x, y, code(x, y)
        else:
            x2, y2, c2 = x, y, code(x, y)
    return done(False)


def clip_line_to_rect(x1, y1, x2, y2, xlo, ylo, xhi, yhi):
    ok, (a, b, c, d) = clip_line(x1 - xlo, y1 - ylo, x2 - xlo, y2 - ylo, xhi - xlo, yhi - ylo)
    return ok, (a + xlo, b + ylo, c + xlo, d + ylo)


def clip_float_line(x1, y1, x2, y2, w, h):
    x1, y1, x2, y2 = (f32(v) for v in (x1, y1, x2, y2))
    W, H = f32(w - 1), f32(h - 1)

    def code(x, y):
        return (1 if x < 0 else 2 if x >= W else 0) | (4 if y < 0 else 8 if y >= H else 0)

    c1, c2 = code(x1, y1), code(x2, y2)
    for _ in range(33):
        if not (c1 | c2):
            return True, (x1, y1, x2, y2)
        if c1 & c2:
            return False, (x1, y1, x2, y2)
        first = c1 != 0
        c = c1 if first else c2
        with np.errstate(all="ignore"):
            if c & 8:
                x, y = x1 + (x2 - x1) * (H - y1) / (y2 - y1), H - f32(1)
            elif c & 4:
                x, y = x1 + (x2 - x1) * y1 / (y1 - y2), f32(0)
            elif c & 2:
                x, y = W - f32(1), y1 + (y2 - y1) * (W - x1) / (x2 - x1)
            else:
                x, y = f32(0), y1 + (y2 - y1) * x1 / (x1 - x2)
        x, y = f32(x), f32(y)
        if first:
            x1, y1, c1 = x, y, code(x, y)
        else:
            x2, y2, c2 = x, y, code(x, y)
    return False, (x1, y1, x2, y2)


def clip_float_line_to_rect(x1, y1, x2, y2, xlo, ylo, xhi, yhi):
    x1, y1, x2, y2, xlo, ylo, xhi, yhi = (f32(v) for v in (x1, y1, x2, y2, xlo, ylo, xhi, yhi))
    ok, pts = clip_float_line(x1 - xlo, y1 - ylo, x2 - xlo, y2 - ylo, cint(xhi - xlo),
                              cint(yhi - ylo))
    a, b, c, d = pts
    return ok, (f32(a + xlo), f32(b + ylo), f32(c + xlo), f32(d + ylo))


# ---- integer lines ------------------------------------------------------------------------------

def run_kind(op, alpha, ia):
    if op == 0:
        if alpha == f32(1.0):
            return SET
        if alpha == f32(0.5):
            return HALF
        if alpha == f32(0.25):
            return QUARTER
        if alpha == f32(0.75):
            return THREE
    return plain_kind(op, ia)


def line_writes(P, x1, y1, x2, y2, alpha, aa):
    """The writes of one integer line on stored rows (mirroring already done)."""
    img = P.img
    ok, (x1, y1, x2, y2) = clip_line(x1, y1, x2, y2, img.w, img.h)
    if not ok or P.op > 5:
        return
    alpha = f32(alpha)
    ia = rm.weight(alpha)
    if y1 == y2 or x1 == x2:
        kind = run_kind(P.op, alpha, ia)
        if kind is None:
            return
        if y1 == y2:
            for x in range(min(x1, x2), max(x1, x2) + 1):
                P.put(x, y1, kind, ia)
        else:
            for y in range(min(y1, y2), max(y1, y2) + 1):
                P.put(x1, y, kind, ia)
        return
    dx, dy = x2 - x1, y2 - y1
    if abs(dx) == abs(dy):
        n = abs(dx)
        sx, sy = (1 if dx > 0 else -1), (1 if dy > 0 else -1)
        if P.op == 0 and alpha == f32(1.0):
            if not aa:
                for i in range(n + 1):
                    P.put(x1 + i * sx, y1 + i * sy, SET)
                return
            main_kind, side_kind, wm, ws = THREE, QUARTER, 0, 0
        elif not aa:
            kind = plain_kind(P.op, ia)
            if kind is None:
                return
            for i in range(n + 1):
                P.put(x1 + i * sx, y1 + i * sy, kind, ia)
            return
        else:
            if not smooth_ok(P.op, ia):
                return
            main_kind, side_kind, wm, ws = WRITER, WRITER, cdiv(3 * ia, 4), cdiv(ia, 4)
        for i in range(n + 1):
            x, y = x1 + i * sx, y1 + i * sy
            P.put(x, y, main_kind, wm)
            if i < n:
                P.put(x + sx, y, side_kind, ws)
                P.put(x, y + sy, side_kind, ws)
        return
    # General slope: walked from both ends with one error sequence.
    xmajor = abs(dx) > abs(dy)
    n, m = (dx, dy) if xmajor else (dy, dx)
    ax, ay, bx, by = x1, y1, x2, y2
    if n < 0:
        ax, ay, bx, by = x2, y2, x1, y1
        n, m = -n, -m
    ms = 1 if m > 0 else -1
    slope = int(float(abs(m)) / float(n) * 65536.0)
    # Steps as (dx, dy) on the image.
    major = (1, 0) if xmajor else (0, 1)
    minor = (0, ms) if xmajor else (ms, 0)
    half = (n + 1) // 2
    if not aa:
        kind = plain_kind(P.op, ia)
        if kind is None:
            return
        err = 0
        p, q = [ax, ay], [bx, by]
        for _ in range(half):
            P.put(p[0], p[1], kind, ia)
            P.put(q[0], q[1], kind, ia)
            err += slope
            if err > 0x7FFF:
                p = [p[0] + minor[0], p[1] + minor[1]]
                q = [q[0] - minor[0], q[1] - minor[1]]
                err -= 0x10000
            p = [p[0] + major[0], p[1] + major[1]]
            q = [q[0] - major[0], q[1] - major[1]]
        if n % 2 == 0:
            P.put(p[0], p[1], kind, ia)
        return
    if not smooth_ok(P.op, ia):
        return
    P.put(ax, ay, WRITER, ia)
    P.put(bx, by, WRITER, ia)
    p = [ax + major[0], ay + major[1]]
    q = [bx - major[0], by - major[1]]
    err = slope

    def pair(pt, sgn, e):
        w1, w2 = aa_weights(e, ia)
        P.put(pt[0], pt[1], WRITER, w1)
        P.put(pt[0] + sgn * minor[0], pt[1] + sgn * minor[1], WRITER, w2)

    for _ in range(1, half):
        e = err >> 8
        pair(p, 1, e)
        pair(q, -1, e)
        err += slope
        if err >= 0x10000:
            p = [p[0] + minor[0], p[1] + minor[1]]
            q = [q[0] - minor[0], q[1] - minor[1]]
            err -= 0x10000
        p = [p[0] + major[0], p[1] + major[1]]
        q = [q[0] - major[0], q[1] - major[1]]
    if n % 2 == 0:
        pair(p, 1, err >> 8)


def mirror(img, y):
    return img.h - 1 - y if img.flipped else y


def line(D, x1, y1, x2, y2, colour, alpha, mode, aa):
    P = Painter(D, colour, mode)
    line_writes(P, x1, mirror(D, y1), x2, mirror(D, y2), alpha, aa)
    P.apply()


def float_line(D, x1, y1, x2, y2, colour, alpha, mode, aa):
    x1, y1, x2, y2, alpha = (f32(v) for v in (x1, y1, x2, y2, alpha))
    if not aa:
        line(D, cint(x1), cint(y1), cint(x2), cint(y2), colour, alpha, mode, False)
        return
    if D.flipped:
        y1, y2 = f32(D.h - 1) - y1, f32(D.h - 1) - y2
    ok, (x1, y1, x2, y2) = clip_float_line(x1, y1, x2, y2, D.w, D.h)
    if not ok or (x1 == x2 and y1 == y2):
        return
    P = Painter(D, colour, mode)
    ia = rm.weight(alpha)
    if not smooth_ok(P.op, ia):
        return
    xmajor = abs(x2 - x1) > abs(y2 - y1)
    if xmajor:
        na, ma, nb, mb = x1, y1, x2, y2
    else:
        na, ma, nb, mb = y1, x1, y2, x2
    if nb < na:
        na, ma, nb, mb = nb, mb, na, ma
    slope = f32((mb - ma) / (nb - na))
    ms = -1 if mb - ma < 0 else 1
    c0 = f32(math.ceil(na))
    count = cint(f32(math.floor(nb)) - c0)
    mpos = f32(f32(c0 - na) * slope + ma)
    frac = cint(f32(mpos - f32(math.floor(mpos))) * f32(65536))
    major = cint(c0)
    minor = cint(mpos)
    err = frac
    if ms < 0:
        minor += 1
        err = 0xFFFF - frac
    slope16 = cint(abs(float(slope)) * 65536.0)
    for _ in range(count + 1):
        w1, w2 = aa_weights(err >> 8, ia)
        for mn, wt in ((minor, w1), (minor + ms, w2)):
            if xmajor:
                P.put(major, mn, WRITER, wt)
            else:
                P.put(mn, major, WRITER, wt)
        err += slope16
        if err >= 0x10000:
            minor += ms
            err -= 0x10000
        major += 1
    P.apply()


def dashed_line(D, x1, y1, x2, y2, pxon, pxoff, colour, alpha, mode):
    if pxon < 1 or pxoff < 0:
        return
    ok, (x1, y1, x2, y2) = clip_line(x1, y1, x2, y2, D.w, D.h)
    if not ok:
        return
    if y2 < y1:
        y1, y2 = y2, y1
    alpha = f32(alpha)
    P = Painter(D, colour, mode)
    if pxon == 1 and pxoff == 1 and x1 == x2 and P.op == 0 and alpha == f32(1.0):
        for k in range((y2 - y1 + 1) // 2):
            P.put(x1, y1 + 2 * k, SET)
        P.apply()
        return
    if x2 < x1:
        x1, x2 = x2, x1
    ia = rm.weight(alpha)
    kind = plain_kind(P.op, ia)
    if kind is None:
        return
    if x1 == x2:
        start, end, put = y1, y2, lambda v: P.put(x1, v, kind, ia)
    elif y1 == y2:
        start, end, put = x1, x2, lambda v: P.put(v, y1, kind, ia)
    else:
        return
    pos = start
    while pos < end - pxon:
        for v in range(pos, pos + pxon):
            put(v)
        pos += pxon + pxoff
    for v in range(pos, pos + min(pxon, end - pos)):
        put(v)
    P.apply()


# ---- circles ------------------------------------------------------------------------------------

class CircleParts:
    """The engine's three primitives with the clip rectangle."""

    def __init__(self, P, clip, clip_on):
        self.P, self.clip, self.on = P, clip, clip_on

    def pixel(self, x, y, kind, w):
        l, t, r, b = self.clip
        if self.on and not (l <= x < r and t <= y < b):
            return
        self.P.put(x, y, kind, w)

    def vrun(self, x, ya, yb, kind, w):
        l, t, r, b = self.clip
        if self.on:
            if not (l <= x < r):
                return
            ya, yb = max(ya, t), min(yb, b - 1)
        for y in range(ya, yb + 1):
            self.P.put(x, y, kind, w)

    def hrun(self, y, xa, xb, kind, w):
        l, t, r, b = self.clip
        if self.on:
            if not (t <= y < b):
                return
            xa, xb = max(xa, l), min(xb, r - 1)
        for x in range(xa, xb + 1):
            self.P.put(x, y, kind, w)


def circle_engine(P, cx, cy, r, ia, aa, fill, clip, clip_on):
    if ia == 0 or P.op > 5:
        return
    cx, cy, r = float(f32(cx)), float(f32(cy)), float(f32(r))
    C = CircleParts(P, clip, clip_on)
    xc, yc = cint(cx + 0.5), cint(cy + 0.5)
    if not aa:
        kind = plain_kind(P.op, ia)
        if kind is None:
            return
        R = cint(r + 0.5)
        if fill:
            C.vrun(xc, yc - R, yc - 1, kind, ia)
            C.vrun(xc, yc + 1, yc + R, kind, ia)
            C.hrun(yc, xc - R, xc + R, kind, ia)
        else:
            for x, y in ((xc, yc - R), (xc + R, yc), (xc, yc + R), (xc - R, yc)):
                C.pixel(x, y, kind, ia)
        if R > 1:
            d = -R
            i = 1
            while True:
                if d >= 0:
                    d += 1 + 2 * (i + 1 - R)
                    R -= 1
                else:
                    d += 1 + 2 * i
                if fill:
                    for x in (xc - i, xc + i):
                        C.vrun(x, yc - R, yc - 1 - i, kind, ia)
                        C.vrun(x, yc + 1 + i, yc + R, kind, ia)
                    for y in (yc - i, yc + i):
                        C.hrun(y, xc - R, xc - i, kind, ia)
                        C.hrun(y, xc + i, xc + R, kind, ia)
                else:
                    pts = [(xc - i, yc - R), (xc - i, yc + R), (xc + i, yc - R), (xc + i, yc + R)]
                    if i != R:
                        pts += [(xc - R, yc - i), (xc - R, yc + i), (xc + R, yc - i),
                                (xc + R, yc + i)]
                    for x, y in pts:
                        C.pixel(x, y, kind, ia)
                if not (i + 1 < R):
                    break
                i += 1
        return
    if not smooth_ok(P.op, ia):
        return
    W = WRITER
    R = cint(r)
    f0 = cint((r - math.floor(r)) * ia)
    for x, y in ((xc, yc - R - 1), (xc, yc + R + 1), (xc - R - 1, yc), (xc + R + 1, yc)):
        C.pixel(x, y, W, f0)
    if fill:
        C.vrun(xc, yc - R, yc - 1, W, ia)
        C.vrun(xc, yc + 1, yc + R, W, ia)
        C.hrun(yc, xc - R, xc + R, W, ia)
    else:
        for x, y in ((xc, yc - R), (xc + R, yc), (xc, yc + R), (xc - R, yc)):
            C.pixel(x, y, W, ia - f0)

    def root(k):
        v = r * r - k * k
        return math.sqrt(v) if v >= 0 else math.nan

    Y = root(1)
    n = cint(Y + 0.5)
    if n <= 0:
        return
    i = 1
    while True:
        Yi = cint(Y)
        f = cint((Y - math.floor(Y)) * ia)
        outer = [(xc - i, yc - Yi - 1), (xc - i, yc + Yi + 1), (xc + i, yc - Yi - 1),
                 (xc + i, yc + Yi + 1)]
        if i != n:
            outer += [(xc - Yi - 1, yc - i), (xc + Yi + 1, yc - i), (xc - Yi - 1, yc + i),
                      (xc + Yi + 1, yc + i)]
        for x, y in outer:
            C.pixel(x, y, W, f)
        if fill:
            for x in (xc - i, xc + i):
                C.vrun(x, yc - Yi, yc - 1 - i, W, ia)
                C.vrun(x, yc + 1 + i, yc + Yi, W, ia)
            for y in (yc - i, yc + i):
                C.hrun(y, xc - Yi, xc - i, W, ia)
                C.hrun(y, xc + i, xc + Yi, W, ia)
        else:
            inner = [(xc - Yi, yc - i), (xc + Yi, yc - i), (xc - i, yc + Yi), (xc + i, yc + Yi)]
            if i != n:
                inner += [(xc - i, yc - Yi), (xc + i, yc - Yi), (xc - Yi, yc + i),
                          (xc + Yi, yc + i)]
            for x, y in inner:
                C.pixel(x, y, W, ia - f)
        Y = root(i + 1)
        n = cint(Y + 0.5)
        if not (i < n):
            break
        i += 1


def circle_placement(D, cx, cy, r):
    """None when the circle is rejected, else (clip rectangle, clip on)."""
    if D.w <= 0 or D.h <= 0 or r < 0:
        return None
    if (cint(cx) + cint(r) < -2 or cint(cy) + cint(r) < -2 or cint(cx) - cint(r) > D.w + 2 or
            cint(cy) - cint(r) > D.h + 2):
        return None
    two = f32(2)
    inside = (cx - r - two >= 0 and cy - r - two >= 0 and cx + r + two < f32(D.w) and
              cy + r + two < f32(D.h))
    return (0, 0, D.w, D.h), not inside


def fill_circle(D, cx, cy, r, colour, alpha, mode, aa):
    cx, cy, r, alpha = (f32(v) for v in (cx, cy, r, alpha))
    if D.flipped:
        cy = f32(D.h - 1) - cy
    ia = rm.weight(alpha)
    if ia == 0:
        return
    place = circle_placement(D, cx, cy, r)
    if place is None:
        return
    P = Painter(D, colour, mode)
    circle_engine(P, cx, cy, r, ia, aa, True, *place)
    P.apply()


def _mask(rows):
    return [int(v, 16) for row in rows.split("/") for v in row.split()]


def _rows(rows, n):
    """Expands 'a / b (two rows) / c' into n rows."""
    out = []
    for part in rows.split("/"):
        part = part.strip()
        reps = 1
        for word, k in (("(two rows)", 2), ("(three rows)", 3)):
            if part.endswith(word):
                part, reps = part[:-len(word)].strip(), k
        out += [part] * reps
    assert len(out) == n
    return " / ".join(out)


MASKS = {
    1.5: ("4F FF FF 4F / FF 0F 0F FF / FF 0F 0F FF / 4F FF FF 4F",
          "00 FF FF 00 / FF 00 00 FF / FF 00 00 FF / 00 FF FF 00"),
    2.0: ("0F BF FF BF 0F / BF D1 4F D1 BF / FF 4F 00 4F FF / BF D1 4F D1 BF / 0F BF FF BF 0F",
          "00 00 FF 00 00 / 00 FF 00 FF 00 / FF 00 00 00 FF / 00 FF 00 FF 00 / 00 00 FF 00 00"),
    2.5: ("0F BF FF FF BF 0F / BF D1 4F 4F D1 BF / FF 4F 00 00 4F FF / FF 4F 00 00 4F FF / "
          "BF D1 4F 4F D1 BF / 0F BF FF FF BF 0F",
          "00 00 FF FF 00 00 / 00 FF 00 00 FF 00 / FF 00 00 00 00 FF / FF 00 00 00 00 FF / "
          "00 FF 00 00 FF 00 / 00 00 FF FF 00 00"),
    3.0: ("00 8F FF FF FF 8F 00 / 8F FF 61 40 61 FF 8F / FF 70 00 00 00 70 FF / "
          "FF 30 00 00 00 30 FF / FF 70 00 00 00 70 FF / 8F FF 61 40 61 FF 8F / "
          "00 8F FF FF FF 8F 00",
          "00 00 FF FF FF 00 00 / 00 FF 00 00 00 FF 00 / FF 00 00 00 00 00 FF (three rows) / "
          "00 FF 00 00 00 FF 00 / 00 00 FF FF FF 00 00"),
    3.5: ("00 4F DE FF FF DE 4F 00 / 4F FF B0 40 40 B0 FF 4F / DE B0 00 00 00 00 B0 DE / "
          "FF 40 00 00 00 00 40 FF (two rows) / DE B0 00 00 00 00 B0 DE / "
          "4F FF B0 40 40 B0 FF 4F / 00 4F DE FF FF DE 4F 00",
          "00 00 FF FF FF FF 00 00 / 00 FF FF 00 00 FF FF 00 / FF FF 00 00 00 00 FF FF / "
          "FF 00 00 00 00 00 00 FF (two rows) / FF FF 00 00 00 00 FF FF / "
          "00 FF FF 00 00 FF FF 00 / 00 00 FF FF FF FF 00 00"),
    4.0: ("00 1F B0 FF FF FF B0 1F 00 / 1F F0 D1 4F 40 4F D1 F0 1F / B0 D1 0F 00 00 00 0F D1 B0 / "
          "FF 4F 00 00 00 00 00 4F FF / FF 30 00 00 00 00 00 30 FF / FF 4F 00 00 00 00 00 4F FF / "
          "B0 D1 0F 00 00 00 0F D1 B0 / 1F F0 D1 4F 40 4F D1 F0 1F / 00 1F B0 FF FF FF B0 1F 00",
          "00 00 FF FF FF FF FF 00 00 / 00 FF FF 00 00 00 FF FF 00 / FF FF 00 00 00 00 00 FF FF / "
          "FF 00 00 00 00 00 00 00 FF (three rows) / FF FF 00 00 00 00 00 FF FF / "
          "00 FF FF 00 00 00 FF FF 00 / 00 00 FF FF FF FF FF 00 00"),
}
MASK_SIZE = {1.5: 4, 2.0: 5, 2.5: 6, 3.0: 7, 3.5: 8, 4.0: 9}


def circle_mask(r, aa):
    n = MASK_SIZE[r]
    m = _mask(_rows(MASKS[r][0 if aa else 1], n))
    assert len(m) == n * n
    return m


def circle(D, cx, cy, r, colour, alpha, mode, aa):
    cx, cy, r, alpha = (f32(v) for v in (cx, cy, r, alpha))
    if circle_placement(D, cx, cy, r) is None:
        return
    if float(r) in MASK_SIZE:
        n = MASK_SIZE[float(r)]
        rm.coverage_mask(D, cint(cx - r), cint(cy - r), colour & 0xFFFFFFFF,
                         circle_mask(float(r), aa), n, n, n, alpha, mode)
        return
    if D.flipped:
        cy = f32(D.h - 1) - cy
    ia = rm.weight(alpha)
    if ia == 0:
        return
    place = circle_placement(D, cx, cy, r)
    if place is None:
        return
    P = Painter(D, colour, mode)
    circle_engine(P, cx, cy, r, ia, aa, False, *place)
    P.apply()


def arc(D, cx, cy, r, amin, amax, colour, alpha, mode, aa):
    cx0, cy0 = f32(cx), f32(cy)
    cx, cy, r, amin, amax, alpha = (f32(v) for v in (cx, cy, r, amin, amax, alpha))
    if D.flipped:
        cy = f32(D.h - 1) - cy
        amin, amax = f32(PI_F) - amin, f32(PI_F) - amax
    lo, hi = min(amin, amax), max(amin, amax)
    if hi - lo >= f32(TWO_PI_F):
        circle(D, cx0, cy0, r, colour, alpha, mode, aa)
        return
    if hi >= f32(TWO_PI_F):
        m = math.fmod(float(hi), TWO_PI_D)
        lo, hi = f32(float(lo) - (float(hi) - m)), f32(m)
    elif lo <= f32(-TWO_PI_F):
        m = math.fmod(float(lo), TWO_PI_D)
        lo, hi = f32(m), f32(float(hi) - (float(lo) - m))
    ia = rm.weight(alpha)
    if ia == 0:
        return
    a, b = float(lo) + TWO_PI_D, float(hi) + TWO_PI_D
    if not a < b:
        return
    fr, fx, fy = float(r), float(cx), float(cy)
    P = Painter(D, colour, mode)
    xs, ys = cint(math.sin(a) * fr + fx + 0.5), cint(fy - math.cos(a) * fr + 0.5)
    a = a - math.fmod(a, HALF_PI_D)
    while True:
        nxt = min(a + HALF_PI_D, b)
        xe, ye = cint(math.sin(nxt) * fr + fx + 0.5), cint(fy - math.cos(nxt) * fr + 0.5)
        right = max(xs, xe) + 1 + (1 if max(xs, xe) != fx else 0)
        bottom = max(ys, ye) + 1 + (1 if max(ys, ye) != fy else 0)
        clip = (max(min(xs, xe), 0), max(min(ys, ye), 0), min(right, D.w), min(bottom, D.h))
        circle_engine(P, cx, cy, r, ia, aa, False, clip, True)
        xs, ys = xe, ye
        a = nxt
        if not a < b:
            break
    P.apply()


def round_rect(D, x, y, w, h, cr, colour, alpha, mode, aa):
    x, y, w, h = (f32(v) for v in (x, y, w, h))
    c = math.floor(min(float(cr), float(w * f32(0.5)), float(h * f32(0.5))))
    if cr <= 0 or c < 2:
        draw_rect(D, cint(x), cint(y), cint(w), cint(h), colour, alpha, mode)
        return
    c = int(c)
    fc = f32(c)
    xl, xr = x + fc, x + w - fc
    for a_, b_, c_, d_ in ((xl, y, xr, y), (xl - f32(1), y + h, xr, y + h),
                           (x + w, y + fc, x + w, y + h - fc),
                           (x, y + fc - f32(1), x, y + h - fc)):
        line(D, cint(a_), cint(b_), cint(c_), cint(d_), colour, alpha, mode, aa)
    hp = f32(math.pi / 2)
    for ax_, ay_, a0, a1 in ((xl, y + fc, -hp, f32(0)), (xr, y + fc, f32(0), hp),
                             (xr, y + h - fc, hp, f32(PI_F)),
                             (xl, y + h - fc, f32(PI_F), f32(3 * math.pi / 2))):
        arc(D, ax_, ay_, fc, a0, a1, colour, alpha, mode, aa)


# ---- polygons and rectangles --------------------------------------------------------------------

def trapezoid_writes(P, x1a, x1b, y1, x2a, x2b, y2, alpha):
    img = P.img
    W, H = img.w, img.h
    if y2 < y1:
        x1a, x1b, y1, x2a, x2b, y2 = x2a, x2b, y2, x1a, x1b, y1
    a, b = min(x1a, x1b), max(x1a, x1b)
    c, d = min(x2a, x2b), max(x2a, x2b)
    if (b < 0 and d < 0) or (a >= W and c >= W):
        return
    if a < 1 and c < 1:
        a = c = 0
    if b >= W - 1 and d >= W - 1:
        b = d = W - 1
    if not (y2 >= 0 and y1 < H):
        return
    ia = rm.weight(f32(alpha))
    op = P.op
    kind = None
    if op == 0:
        kind = {256: SET, 128: HALF, 64: QUARTER, 192: THREE}.get(ia)
    if kind is None:
        if ia == 0 or op > 5 or (op == 0 and ia < 1):
            return
        kind = WRITER
    inv = 0.0 if y1 == y2 else 65536.0 / (y2 - y1)
    lim = float(1 << 29)

    def slope(v):
        return int(max(-lim, min(lim, v)))

    ls, rs = slope((c - a) * inv), slope((d - b) * inv)
    lsg, rsg = (1 if ls >= 0 else -1), (1 if rs >= 0 else -1)
    la, ra = abs(ls), abs(rs)
    left, right = a, b
    lacc = racc = 0
    if y1 < 0:
        lacc, racc = la * (-y1), ra * (-y1)
        if lacc > 0xFFFF:
            left += lsg * (lacc >> 16)
            lacc &= 0xFFFF
        if racc > 0xFFFF:
            right += rsg * (racc >> 16)
            racc &= 0xFFFF
        y1 = 0
    last = min(y2, H - 1)
    rows = last - y1 + 1
    right += 1
    for k in range(rows):
        y = y1 + k
        if ls == 0 and rs == 0:
            xa, xb = max(a, 0), min(b + 1, W)
        else:
            xa, xb = max(left, 0), min(right, W)
        for x in range(xa, xb):
            P.put(x, y, kind, ia)
        lacc += la
        if lacc > 0xFFFF:
            left += lsg * (lacc >> 16)
            lacc &= 0xFFFF
        racc += ra
        if racc > 0xFFFF:
            right += rsg * (racc >> 16)
            racc &= 0xFFFF


def trapezoid(D, x1a, x1b, y1, x2a, x2b, y2, colour, alpha, mode):
    P = Painter(D, colour, mode)
    trapezoid_writes(P, x1a, x1b, y1, x2a, x2b, y2, alpha)
    P.apply()


def polygon(D, xs, ys, colour, alpha, mode):
    n = len(xs)
    if n < 3:
        return
    pts = []
    xmin, xmax = D.w, 0
    for x, y in zip(xs, ys):
        if D.flipped:
            y = D.h - 1 - y
        pts.append((x, y))
        xmin, xmax = min(xmin, x), max(xmax, x)
    pts.sort(key=lambda p: (p[1], p[0]))
    X = [p[0] for p in pts]
    Y = [p[1] for p in pts]
    P = Painter(D, colour, mode)
    if Y[0] == Y[-1]:
        if 0 <= Y[0] < D.h and xmin <= xmax:
            trapezoid_writes(P, xmin, xmax, Y[0], xmin, xmax, Y[0], alpha)
        P.apply()
        return
    run = 0
    while run + 1 < n and Y[run + 1] == Y[0]:
        run += 1
    left_cur = max(i for i in range(run + 1) if X[i] == X[0])
    right_cur = run

    def step(i, left):
        best, best_slope = i, None
        for j in range(i + 1, n):
            if Y[j] == Y[i]:
                continue
            s = f32(f32(X[j] - X[i]) / f32(Y[j] - Y[i]))
            if best_slope is None or s == best_slope or (s < best_slope if left else
                                                          s > best_slope):
                best, best_slope = j, s
        return best

    left_next, right_next = step(left_cur, True), step(right_cur, False)
    if left_cur == left_next and right_cur == right_next:
        return

    def x_at(i, j, row):
        xu, yu, xl, yl = X[i], Y[i], X[j], Y[j]
        if row <= yu:
            return xu
        if row >= yl:
            return xl
        q = f32(f32(xl - xu) / f32(yl - yu))
        return xu + cint(f32(f32(row - yu) * q))

    y = Y[0]

    def body():
        nonlocal y, left_cur, left_next, right_cur, right_next
        y_end = min(Y[left_next], Y[right_next])
        trapezoid_writes(P, x_at(left_cur, left_next, y), x_at(right_cur, right_next, y), y,
                         x_at(left_cur, left_next, y_end), x_at(right_cur, right_next, y_end),
                         y_end, alpha)
        if Y[left_next] == y_end:
            left_cur, left_next = left_next, step(left_next, True)
        if Y[right_next] == y_end:
            right_cur, right_next = right_next, step(right_next, False)
        y = y_end + 1 if y_end >= y else y_end - 1

    while left_cur != left_next:
        body()
    while right_cur != right_next:
        body()
    P.apply()


def draw_rect(D, x, y, w, h, colour, alpha, mode):
    for a, b, c, d in ((x, y, x + w, y), (x + w, y, x + w, y + h), (x + w, y + h, x, y + h),
                       (x, y + h, x, y)):
        line(D, a, b, c, d, colour, alpha, mode, False)


def bordered_rect(D, x, y, w, h, bg, fg, alpha, mode):
    rm.fill_rect(D, x + 1, y + 1, w - 1, h - 1, bg & 0xFFFFFFFF, alpha, mode)
    draw_rect(D, x, y, w, h, fg, alpha, mode)


# ---- curves -------------------------------------------------------------------------------------

def steps(length, span, tol):
    tol = float(tol) if tol > 0 else 1.0
    return max(cint(length * span / tol), 1)


def qbezier_y_for_x(x0, xc, x1, y0, yc, y1, x):
    """(y, t) of the quadratic curve where its x is x."""
    x0, xc, x1, y0, yc, y1, x = (float(f32(v)) for v in (x0, xc, x1, y0, yc, y1, x))
    if x <= x0:
        return float(f32(y0)), 0.0
    if x >= x1:
        return float(f32(y1)), 1.0
    a = x0 - 2 * xc + x1
    if a == 0:
        if x0 == x1:
            return float(f32(y0)), 0.0
        t = (x - x0) / (x1 - x0)
        return float(f32(y0 + (y1 - y0) * t)), t
    b = 2 * (xc - x0)
    t = (math.sqrt(b * b - 4 * a * (x0 - x)) - b) / (2 * a)
    return float(f32(y0 * (1 - t) * (1 - t) + yc * 2 * t * (1 - t) + y1 * t * t)), t


def draw_qbezier(D, xs, ys, xc, yc, xe, ye, colour, alpha, mode, aa, tol):
    xs, ys, xc, yc, xe, ye = (float(f32(v)) for v in (xs, ys, xc, yc, xe, ye))
    if xe < xs:
        xs, ys, xe, ye = xe, ye, xs, ys
    t0, t1 = 0.0, 1.0
    cxs, cys, cxe, cye = xs, ys, xe, ye
    if xs < 0:
        cys, t0 = qbezier_y_for_x(xs, xc, xe, ys, yc, ye, 0.0)
        cxs = 0.0
    if xe >= D.w:
        cxe = float(D.w - 1)
        cye, t1 = qbezier_y_for_x(xs, xc, xe, ys, yc, ye, cxe)
    if cxs > cxe:
        return
    length = math.hypot(xe - xc, ye - yc) + math.hypot(xc - xs, yc - ys)
    n = steps(length, t1 - t0, tol)
    t = t0
    px, py = cxs, cys
    for _ in range(1, n):
        t += (t1 - t0) / n
        u = 1 - t
        qx = float(f32(xe * t * t + xc * 2 * t * u + xs * u * u))
        qy = float(f32(ye * t * t + yc * 2 * t * u + ys * u * u))
        float_line(D, px, py, qx, qy, colour, alpha, mode, aa)
        px, py = qx, qy
    float_line(D, px, py, cxe, cye, colour, alpha, mode, aa)


class Cubic:
    def __init__(self, x0, y0, x1, y1, x2, y2, x3, y3):
        self.cx = 3 * (x1 - x0)
        self.bx = 3 * (x2 - x1) - self.cx
        self.ax = x3 - x0 - self.cx - self.bx
        self.cy = 3 * (y1 - y0)
        self.by = 3 * (y2 - y1) - self.cy
        self.ay = y3 - y0 - self.cy - self.by
        self.x0, self.y0 = x0, y0

    def x(self, t):
        return ((self.ax * t + self.bx) * t + self.cx) * t + self.x0

    def y(self, t):
        return ((self.ay * t + self.by) * t + self.cy) * t + self.y0


def cbezier_y_for_x(xs4, ys4, x, outputs=False):
    """(y, t lower, t upper) of the cubic curve at x; with outputs, (y, x at the upper bracket,
    slope, t lower, t upper)."""
    xs4 = [float(f32(v)) for v in xs4]
    ys4 = [float(f32(v)) for v in ys4]
    x = float(f32(x))
    if x < xs4[0]:
        return (ys4[0], xs4[0], 0.0, 0.0, 0.0) if outputs else (ys4[0], 0.0, 0.0)
    if x >= xs4[3]:
        return (ys4[3], xs4[3], 0.0, 1.0, 1.0) if outputs else (ys4[3], 1.0, 1.0)
    c = Cubic(xs4[0], ys4[0], xs4[1], ys4[1], xs4[2], ys4[2], xs4[3], ys4[3])
    lo, hi = 0.0, 1.0
    for _ in range(8):
        tm = (lo + hi) / 2
        xm = c.x(tm)
        if xm < x:
            lo = tm
        elif xm > x:
            hi = tm
        else:
            lo, hi = tm, min(tm + 1 / 256, 1.0)
            break
    ylo, yhi, xlo, xhi = c.y(lo), c.y(hi), c.x(lo), c.x(hi)
    s = 0.0 if xhi == xlo else (yhi - ylo) / (xhi - xlo)
    y = float(f32(ylo + (x - xlo) * s))
    return (y, float(f32(xhi)), float(f32(s)), lo, hi) if outputs else (y, lo, hi)


def cbezier_prep(D, pts, by_x, tol):
    """(n, cubic, start x, start y, end x, end y, t0, t1)."""
    x0, y0, x1, y1, x2, y2, x3, y3 = (float(f32(v)) for v in pts)
    if (x0 > x3) if by_x else (y0 > y3):
        x0, y0, x1, y1, x2, y2, x3, y3 = x3, y3, x2, y2, x1, y1, x0, y0
    c = Cubic(x0, y0, x1, y1, x2, y2, x3, y3)
    xs, ys, xe, ye, t0, t1 = x0, y0, x3, y3, 0.0, 1.0
    if by_x and xs < 0:
        xs = 0.0
        ys, t0, _ = cbezier_y_for_x((x0, x1, x2, x3), (y0, y1, y2, y3), 0.0)
    if by_x and xe > D.w:
        xe = float(D.w)
        ye, _, t1 = cbezier_y_for_x((x0, x1, x2, x3), (y0, y1, y2, y3), xe)
    if (xe < xs) if by_x else (ye < ys):
        return 0, c, xs, ys, xe, ye, t0, t1
    length = (math.hypot(x1 - x0, y1 - y0) + math.hypot(x2 - x1, y2 - y1) +
              math.hypot(x3 - x2, y3 - y2))
    return steps(length, t1 - t0, tol), c, xs, ys, xe, ye, t0, t1


def draw_cbezier(D, pts, colour, alpha, mode, aa, tol):
    n, c, xs, ys, xe, ye, t0, t1 = cbezier_prep(D, pts, True, tol)
    if n == 0:
        return
    t = t0
    px, py = xs, ys
    for _ in range(1, n - 1):
        t += (t1 - t0) / n
        qx, qy = float(f32(c.x(t))), float(f32(c.y(t)))
        float_line(D, px, py, qx, qy, colour, alpha, mode, aa)
        px, py = qx, qy
    float_line(D, px, py, xe, ye, colour, alpha, mode, aa)


def fill_cbezier(D, pts, base, across, colour, alpha, mode, tol):
    """The area between the curve and the row base (or the column base, across). u is the
    stepped axis, v the other."""
    n, c, xs, ys, xe, ye, t0, t1 = cbezier_prep(D, pts, not across, tol)
    if n == 0:
        return

    def poly(points):
        xs_ = [p[1] if across else p[0] for p in points]
        ys_ = [p[0] if across else p[1] for p in points]
        polygon(D, xs_, ys_, colour, alpha, mode)

    def strip(ua, va, ub, vb):
        if ua > ub:
            return
        if ua == ub:
            lo_, hi_ = min(va, base), (vb - 1 if vb > base else base)
            if across:
                line(D, lo_, ua, hi_, ua, colour, alpha, mode, False)
            else:
                line(D, ua, lo_, ua, hi_, colour, alpha, mode, False)
            return
        if (va < base) == (vb < base):
            b = base + 1 if va < base else base
            poly([(ua, va), (ua, b), (ub, vb), (ub, b)])
            return
        um = ua + cint(float(ub - ua) * float(base - va) / float(vb - va))
        b1 = base + 1 if va < base else base
        b2 = base + 1 if vb < base else base
        poly([(ua, va), (ua, b1), (um, b1)])
        poly([(um, b2), (ub, b2), (ub, vb)])

    u = (lambda t: c.y(t)) if across else (lambda t: c.x(t))
    v = (lambda t: c.x(t)) if across else (lambda t: c.y(t))
    us, vs, ue, ve = (ys, xs, ye, xe) if across else (xs, ys, xe, ye)
    pu, pv = cint(us), cint(f32(f32(vs) + f32(0.5)))
    t = t0
    for _ in range(1, n - 1):
        t += (t1 - t0) / n
        U = cint(u(t))
        if U >= pu:
            V = cint(v(t) + 0.5)
            strip(pu, pv, U, V)
            pu, pv = U + 1, V
    if pu <= cint(f32(f32(ue) - f32(1))):
        strip(pu, pv, cint(f32(f32(ue) - f32(1))), cint(f32(f32(ve) + f32(0.5))))
