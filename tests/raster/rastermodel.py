"""Model of the raster library's blits and fills on whole images, written from the library's
drawing rules (mended faults noted where they apply), on top of the writer model in pixmodel.py.

Images are stored as the library stores them: span x height words, row 0 first, or last when
the image is flipped. Operations change the storage in place."""

import math

import numpy as np

import pixmodel as pm

f32 = np.float32
I64 = np.int64
INT_MIN, INT_MAX = -(1 << 31), (1 << 31) - 1
MAX_WEIGHT = 16384


class Image:
    def __init__(self, w, h, span, flipped, words):
        self.w, self.h, self.span, self.flipped = w, h, span, flipped
        self.words = np.array(words, dtype=np.uint32).reshape(h * span)

    def bytes(self):
        """Writable (h, span, 4) view of the image rows (flip applied): bytes A, R, G, B."""
        v = self.words.view(np.uint8).reshape(self.h, self.span, 4)
        return v[::-1] if self.flipped else v

    def stored_bytes(self):
        return self.words.view(np.uint8).reshape(self.h, self.span, 4)

    def pixels(self):
        """Writable (h, span) view of the image rows as words."""
        v = self.words.reshape(self.h, self.span)
        return v[::-1] if self.flipped else v

    def copy(self):
        return Image(self.w, self.h, self.span, self.flipped, self.words.copy())


def weight(alpha):
    """(int)(alpha x 256) truncated; 0 for a value that is not finite or lies past 64.0."""
    a = float(alpha)
    if not math.isfinite(a):
        return 0
    w = a * 256.0
    if w > MAX_WEIGHT or w < -MAX_WEIGHT:
        return 0
    return int(w)


def words_to_bytes(words):
    return np.asarray(words, dtype=np.uint32).view(np.uint8).reshape(*np.shape(words), 4)


def word_half(d, c):
    return ((d >> 1) & 0x7F7F7F7F) + ((c >> 1) & 0x7F7F7F7F)


def word_quarter(d, c):
    return ((d >> 2) & 0x3F3F3F3F) + ((c >> 2) & 0x3F3F3F3F) + ((d >> 1) & 0x7F7F7F7F)


def word_three_quarter(d, c):
    return ((d >> 2) & 0x3F3F3F3F) + ((c >> 2) & 0x3F3F3F3F) + ((c >> 1) & 0x7F7F7F7F)


PLAIN_NAMES = {1: "add", 2: "dodge", 3: "multiply", 4: "overlay"}
SA_NAMES = {0x10001: "add", 0x10002: "dodge", 0x10003: "multiply", 0x10004: "overlay",
            0x10005: "hsv"}


def combine(m, ia, px, r, g, b, a):
    """The writer that mode m (mode & 0x100FF) selects at weight ia, applied to bytes px (N, 4)
    with sources r, g, b, a. None when the mode draws nothing."""
    px = np.asarray(px, dtype=pm.I)
    if ia == 0:
        return None
    if m == 0:
        if ia == 256:
            return np.stack([a, r, g, b], axis=-1).astype(pm.I)
        if ia >= 1:
            return pm.plain("blend", px, r, g, b, a, ia)
        return None
    if m in PLAIN_NAMES:
        return pm.plain(PLAIN_NAMES[m], px, r, g, b, a, ia)
    if m == 5:
        return pm.hsv(px, r, g, b, a, ia)
    if m == 0x10000:
        return pm.source_alpha("copy" if ia == 256 else "blend", px, r, g, b, a, ia)
    if m in SA_NAMES:
        return pm.source_alpha(SA_NAMES[m], px, r, g, b, a, ia)
    return None


def apply_samples(dst_bytes, mask, m, ia, samples):
    """Combines samples (N, 4 bytes A, R, G, B) into dst_bytes[mask]."""
    px = dst_bytes[mask].astype(pm.I)
    s = samples.astype(pm.I)
    out = combine(m, ia, px, s[:, 1], s[:, 2], s[:, 3], s[:, 0])
    if out is not None:
        dst_bytes[mask] = out.astype(np.uint8)


# ---- plain blits --------------------------------------------------------------------------

def blit_rect(D, S, dstx, dsty, rect, alpha, mode):
    alpha = f32(alpha)
    if alpha == 0:
        return
    L, T, R, B, x, y = 0, 0, S.w, S.h, dstx, dsty
    if rect is not None:
        L, T = max(rect[0], 0), max(rect[1], 0)
        R, B = min(rect[2], S.w), min(rect[3], S.h)
        if rect[0] < 0:
            x -= rect[0]
        if rect[1] < 0:
            y -= rect[1]
    if x < 0:
        L -= x
        x = 0
    if y < 0:
        T -= y
        y = 0
    R = min(R, D.w - x + L)
    B = min(B, D.h - y + T)
    if R <= L or B <= T:
        return
    w, h = R - L, B - T
    # A blit within one bitmap gives the result of a copy: read the source first.
    src = S.bytes()[T:B, L:R].copy()
    dst = D.bytes()[y:y + h, x:x + w]
    if (mode & 0xF0) == 0xF0:
        dst[..., (mode >> 2) & 3] = src[..., mode & 3]
        return
    m = mode & 0x100FF
    dw = D.pixels()[y:y + h, x:x + w]
    sw = src.copy().view(np.uint32).reshape(h, w)
    if m == 0 and alpha == f32(1.0):
        dw[:] = sw
        return
    if m == 0 and alpha == f32(0.5):
        dw[:] = word_half(dw, sw)
        return
    ia = weight(alpha)
    mask = np.ones((h, w), dtype=bool)
    apply_samples(dst, mask, m, ia, src.reshape(-1, 4))


def blit(D, S, dstx, dsty, srcx, srcy, srcw, srch, alpha, mode):
    clamp = lambda v: max(INT_MIN, min(INT_MAX, v))
    blit_rect(D, S, dstx, dsty, (srcx, srcy, clamp(srcx + srcw), clamp(srcy + srch)), alpha,
              mode)


# ---- scaled blits ---------------------------------------------------------------------------

def clip_span(start, count, c0, step, size):
    """Cuts a span whose 16.16 samples start at c0 and advance by step >= 1 to the source.
    Every sample inside the last source pixel is kept, up to size - 1/65536."""
    if step < 1:
        return start, count, c0
    if c0 < 0:
        n = (step - 1 - c0) // step  # both positive: floor equals truncation
        start, count, c0 = start + n, count - n, c0 + n * step
    if count >= 1 and ((count - 1) * step + c0) // 65536 >= size:
        room = size * 65536 - 1 - c0
        count = 0 if room < 0 else min(count, room // step + 1)
    return start, count, c0


def usable_coord(v):
    return math.isfinite(float(v)) and abs(float(v)) <= (1 << 28)


def scaled_blit(D, S, dstx, dsty, dstw, dsth, srcx, srcy, srcw, srch, alpha, mode):
    srcx, srcy, srcw, srch, alpha = (f32(v) for v in (srcx, srcy, srcw, srch, alpha))
    if dstw == 0 or dsth == 0 or alpha == 0:
        return
    if not all(usable_coord(v) for v in (srcx, srcy, srcw, srch)):
        return
    filt = (mode & 0xFF00) == 0x100
    if abs(srcw - f32(dstw)) < f32(0.001) and abs(srch - f32(dsth)) < f32(0.001):
        on_pixel = (abs(srcx - np.floor(srcx + f32(0.5))) <= f32(0.03) and
                    abs(srcy - np.floor(srcy + f32(0.5))) <= f32(0.03))
        if not filt or on_pixel:
            blit(D, S, dstx, dsty, int(srcx + f32(0.5)), int(srcy + f32(0.5)), dstw, dsth,
                 alpha, mode)
            return
    x, y, w, h = dstx, dsty, dstw, dsth
    if w < 0:
        x, srcx, srcw, w = x + w, srcx + srcw, -srcw, -w
    if h < 0:
        y, srcy, srch, h = y + h, srcy + srch, -srch, -h
    # Mended: the sampling bounds come from the source window itself, not from the start point
    # moved by a clipped destination edge.
    clipR = min(float(srcx) + float(max(srcw, f32(0))) + 0.999999, S.w)
    clipB = min(float(srcy) + float(max(srch, f32(0))) + 0.999999, S.h)
    if clipR < 1 or clipB < 1:
        return
    clipR, clipB = int(clipR), int(clipB)
    xstep, ystep = srcw / f32(w), srch / f32(h)
    # Mended: a mirrored axis starts one step inside the window's far edge.
    if xstep < 0:
        srcx = srcx + xstep
    if ystep < 0:
        srcy = srcy + ystep
    if x < 0:
        srcx = f32(float(srcx) + float(-x) * float(xstep))
        w, x = w + x, 0
    if y < 0:
        srcy = f32(float(srcy) + float(-y) * float(ystep))
        h, y = h + y, 0
    if w < 1 or h < 1 or x >= D.w or y >= D.h:
        return
    w, h = min(w, D.w - x), min(h, D.h - y)
    idx, idy = int(float(xstep) * 65536.0), int(float(ystep) * 65536.0)
    if max(abs(idx), abs(idy)) > (1 << 31):
        return
    icx, icy = int(float(srcx) * 65536.0), int(float(srcy) * 65536.0)
    x, w, icx = clip_span(x, w, icx, idx, S.w)
    y, h, icy = clip_span(y, h, icy, idy, S.h)
    if w < 1 or h < 1:
        return

    cx = icx + np.arange(w, dtype=I64) * idx
    cy = icy + np.arange(h, dtype=I64) * idy
    sx, sy = cx >> 16, cy >> 16
    fx, fy = cx & 0xFFFF, cy & 0xFFFF
    inside = ((sy >= 0) & (sy < clipB))[:, None] & ((sx >= 0) & (sx < clipR))[None, :]
    SX, SY = np.broadcast_to(sx[None, :], (h, w)), np.broadcast_to(sy[:, None], (h, w))
    FX, FY = np.broadcast_to(fx[None, :], (h, w)), np.broadcast_to(fy[:, None], (h, w))
    src = S.bytes().astype(I64)
    dst = D.bytes()[y:y + h, x:x + w]
    dwords = D.pixels()[y:y + h, x:x + w]
    ia = weight(alpha)

    def at(yy, xx):
        return src[np.clip(yy, 0, S.h - 1), np.clip(xx, 0, S.w - 1)]

    if (mode & 0x1FFFF) == 0 and ia in (256, 128):
        words = S.pixels()[np.clip(SY, 0, S.h - 1), np.clip(SX, 0, S.w - 1)]
        dwords[inside] = words[inside] if ia == 256 else word_half(dwords[inside], words[inside])
        return
    m = mode & 0x100FF
    if filt and xstep >= f32(1.7) and ystep >= f32(1.7):
        n = 3 if max(idx, idy) <= 0x30000 else 5
        total = np.zeros((h, w, 4), dtype=I64)
        count = np.zeros((h, w), dtype=I64)
        for oy in range(-(n // 2), n // 2 + 1):
            for ox in range(-(n // 2), n // 2 + 1):
                ok = (SX + ox >= 0) & (SX + ox < clipR) & (SY + oy >= 0) & (SY + oy < clipB)
                total += np.where(ok[..., None], at(SY + oy, SX + ox), 0)
                count += ok
        sample = total // np.maximum(count, 1)[..., None]
    elif filt:
        p00, p10, p01, p11 = at(SY, SX), at(SY, SX + 1), at(SY + 1, SX), at(SY + 1, SX + 1)
        FXc, FYc = FX[..., None], FY[..., None]
        w11 = (FXc * FYc) >> 16
        w01, w10, w00 = FYc - w11, FXc - w11, 65536 - FXc - FYc + w11
        right = (SX < clipR - 1)[..., None]
        below = (SY < clipB - 1)[..., None]
        four = (p00 * w00 + p10 * w10 + p01 * w01 + p11 * w11) >> 16
        vert = (p00 * (65536 - FYc) + p01 * FYc) >> 16
        horz = (p00 * (65536 - FXc) + p10 * FXc) >> 16
        sample = np.where(right & below, four, np.where(below, vert, np.where(right, horz, p00)))
    else:
        sample = at(SY, SX)
    apply_samples(dst, inside, m, ia, sample[inside])


def halve_blit(D, S):
    w, h = min(D.w, S.w // 2), min(D.h, S.h // 2)
    if w < 1 or h < 1:
        return
    s = S.words.reshape(S.h, S.span)
    d = D.words.reshape(D.h, D.span)
    q = lambda v: (v >> 2) & 0x3F3F3F3F
    d[:h, :w] = (q(s[0:2 * h:2, 0:2 * w:2]) + q(s[0:2 * h:2, 1:2 * w:2]) +
                 q(s[1:2 * h:2, 0:2 * w:2]) + q(s[1:2 * h:2, 1:2 * w:2]))


# ---- fills and pixel access ------------------------------------------------------------------

def clip_area(img, x, y, w, h):
    x0, y0 = max(x, 0), max(y, 0)
    x1, y1 = min(x + w, img.w), min(y + h, img.h)
    if x1 <= x0 or y1 <= y0:
        return None
    return x0, y0, x1 - x0, y1 - y0


def fill_words(dw, ia, c):
    c = np.uint32(c)
    if ia == 256:
        dw[:] = c
    elif ia == 192:
        dw[:] = word_three_quarter(dw, c)
    elif ia == 128:
        dw[:] = word_half(dw, c)
    elif ia == 64:
        dw[:] = word_quarter(dw, c)
    else:
        return False
    return True


def fill_rect(D, x, y, w, h, colour, alpha, mode):
    alpha = f32(alpha)
    if mode & 0x10000:
        alpha = f32(float(alpha) * ((colour & 0xFF) / 255.0))
    area = clip_area(D, x, y, w, h)
    if area is None or alpha == 0:
        return
    x, y, w, h = area
    ia = weight(alpha)
    op = mode & 0xFF
    r, g, b = (colour >> 8) & 255, (colour >> 16) & 255, colour >> 24
    if op == 0 and fill_words(D.pixels()[y:y + h, x:x + w], ia, colour):
        return
    if op == 0 and ia < 1:
        return
    if op > 5 or ia == 0:
        return
    dst = D.bytes()[y:y + h, x:x + w]
    px = dst.reshape(-1, 4).astype(pm.I)
    out = pm.hsv(px, r, g, b, ia, ia) if op == 5 else pm.plain(
        ["blend", "add", "dodge", "multiply", "overlay"][op], px, r, g, b, ia, ia)
    dst[:] = out.reshape(dst.shape).astype(np.uint8)


def put_pixel(D, x, y, colour, alpha, mode):
    if not (0 <= x < D.w and 0 <= y < D.h):
        return
    ia = weight(f32(alpha))
    op = mode & 0xFF
    r, g, b, a = (colour >> 8) & 255, (colour >> 16) & 255, colour >> 24, colour & 255
    if op == 0:
        if fill_words(D.pixels()[y:y + 1, x:x + 1], ia, colour) or ia <= 0:
            return
    elif op > 5 or ia == 0:
        return
    px = D.bytes()[y, x].astype(pm.I)[None, :]
    out = pm.hsv(px, r, g, b, a, ia) if op == 5 else pm.plain(
        ["blend", "add", "dodge", "multiply", "overlay"][op], px, r, g, b, a, ia)
    D.bytes()[y, x] = out[0].astype(np.uint8)


def coverage_mask(D, x, y, colour, cov, w, span, h, alpha, mode):
    if w < 1 or h < 1 or x <= -w or y <= -h:
        return
    mx = my = 0
    cw, ch = w, h
    if x < 0:
        mx, cw, x = -x, cw + x, 0
    if y < 0:
        my, ch, y = -y, ch + y, 0
    cw, ch = min(cw, D.w - x), min(ch, D.h - y)
    if cw < 1 or ch < 1:
        return
    ia = weight(f32(alpha))
    op = mode & 0xFF
    if ia == 0 or op > 5:
        return
    cov = np.asarray(cov, dtype=I64)
    m = np.array([[cov[(my + j) * span + mx + i] for i in range(cw)] for j in range(ch)],
                 dtype=I64)
    dst = D.bytes()[y:y + ch, x:x + cw]
    r, g, b, a = (colour >> 8) & 255, (colour >> 16) & 255, colour >> 24, colour & 255
    on = m != 0
    px = dst[on].astype(pm.I)
    wts = pm.tdiv(m[on] * ia, 256)
    out = pm.hsv(px, r, g, b, a, wts) if op == 5 else pm.plain(
        ["blend", "add", "dodge", "multiply", "overlay"][op], px, r, g, b, a, wts)
    dst[on] = out.astype(np.uint8)


def blur(D, S, dstx, dsty, srcx, srcy, w, h):
    ox, oy = max(dstx, 0), max(dsty, 0)
    left = max(srcx, 0) + max(-dstx, 0)
    top = max(srcy, 0) + max(-dsty, 0)
    right = min(srcx + w, S.w)
    bottom = min(srcy + h, S.h)
    right = min(right, left + D.w - ox)
    bottom = min(bottom, top + D.h - oy)
    if right - left < 2 or bottom - top < 2:
        return
    src = S.pixels()[top:bottom, left:right].astype(np.uint32).copy()
    aw, ah = right - left, bottom - top
    half = lambda v: (v >> 1) & 0x7F7F7F7F
    eighth = lambda v: (v >> 3) & 0x1F1F1F1F
    quarter = lambda v: (v >> 2) & 0x3F3F3F3F
    out = half(src)
    horiz = np.zeros_like(src)
    horiz[:, 1:-1] = eighth(src[:, :-2]) + eighth(src[:, 2:])
    horiz[:, 0] = quarter(src[:, 1])
    horiz[:, -1] = quarter(src[:, -2])
    vert = np.zeros_like(src)
    vert[1:-1, :] = eighth(src[:-2, :]) + eighth(src[2:, :])
    vert[0, :] = quarter(src[1, :])
    vert[-1, :] = quarter(src[-2, :])
    D.pixels()[oy:oy + ah, ox:ox + aw] = out + horiz + vert


# ---- rotated blits ---------------------------------------------------------------------------

def walk_samples(S, li, ti, winw, winh, U, V, filt):
    """Samples of a walk: U, V (h, w) int64 16.16 positions counted from the window corner
    (li, ti). Returns (inside mask, samples (h, w, 4))."""
    sx, sy = U >> 16, V >> 16
    fx, fy = (U & 0xFFFF)[..., None], (V & 0xFFFF)[..., None]
    inside = (sx >= 0) & (sx < winw) & (sy >= 0) & (sy < winh)
    src = S.bytes().astype(I64)

    def at(yy, xx):
        return src[np.clip(yy + ti, 0, S.h - 1), np.clip(xx + li, 0, S.w - 1)]

    if not filt:
        return inside, at(sy, sx)
    p00, p10, p01, p11 = at(sy, sx), at(sy, sx + 1), at(sy + 1, sx), at(sy + 1, sx + 1)
    w11 = (fx * fy) >> 16
    w01, w10, w00 = fy - w11, fx - w11, 65536 - fx - fy + w11
    right, below = (sx < winw - 1)[..., None], (sy < winh - 1)[..., None]
    four = (p00 * w00 + p10 * w10 + p01 * w01 + p11 * w11) >> 16
    vert = (p00 * (65536 - fy) + p01 * fy) >> 16
    horz = (p00 * (65536 - fx) + p10 * fx) >> 16
    return inside, np.where(right & below, four, np.where(below, vert, np.where(right, horz, p00)))


def usable(v):
    return math.isfinite(float(v)) and abs(float(v)) <= (1 << 28)


def rotated_blit(D, S, dstx, dsty, dstw, dsth, srcx, srcy, srcw, srch, angle, clip, alpha, mode,
                 rotx, roty):
    srcx, srcy, srcw, srch, angle, alpha, rotx, roty = (
        f32(v) for v in (srcx, srcy, srcw, srch, angle, alpha, rotx, roty))
    if dstw == 0 or dsth == 0:
        return
    if not all(usable(v) for v in (srcx, srcy, srcw, srch, rotx, roty)) or \
            not math.isfinite(float(angle)):
        return
    l, t, r, b = 0.0, 0.0, float(S.w), float(S.h)
    if clip:
        l, t = max(float(srcx), 0.0), max(float(srcy), 0.0)
        r, b = min(float(srcx) + float(srcw), r), min(float(srcy) + float(srch), b)
    x, y, w, h = dstx, dsty, dstw, dsth
    mirror_x, mirror_y = w < 0, h < 0
    if mirror_x:
        x, srcx, srcw, w = x + w, srcx + srcw, -srcw, -w
    if mirror_y:
        y, srcy, srch, h = y + h, srcy + srch, -srch, -h
    xsc, ysc = float(srcw / f32(w)), float(srch / f32(h))
    c, s = math.cos(float(angle)), math.sin(float(angle))
    dudx, dvdx, dudy, dvdy = c * xsc, -s * ysc, s * xsc, c * ysc
    u = float(srcx) - ((w * c * xsc + h * s * xsc - float(srcw)) * 0.5 - float(rotx))
    v = float(srcy) - ((h * c * ysc - w * s * ysc - float(srch)) * 0.5 - float(roty))
    # Mended: a mirrored axis samples each destination pixel one step on (its far edge).
    if mirror_x:
        u, v = u + dudx, v + dvdx
    if mirror_y:
        u, v = u + dudy, v + dvdy
    ia = weight(alpha)
    if ia == 0:
        return
    if x < 0:
        u, v, w, x = u + (-x) * dudx, v + (-x) * dvdx, w + x, 0
    if y < 0:
        u, v, h, y = u + (-y) * dudy, v + (-y) * dvdy, h + y, 0
    w, h = min(w, D.w - x), min(h, D.h - y)
    if w < 1 or h < 1:
        return
    li, ti = int(l), int(t)
    winw, winh = int(r) - li, int(b) - ti
    if winw <= 0 or winh <= 0:
        return
    u, v = u - li, v - ti
    if not all(usable(q) for q in (u, v, dudx, dvdx, dudy, dvdy)):
        return
    fixed = lambda q: int(q * 65536.0)
    cols, rows = np.arange(w, dtype=I64), np.arange(h, dtype=I64)
    U = fixed(u) + rows[:, None] * fixed(dudy) + cols[None, :] * fixed(dudx)
    V = fixed(v) + rows[:, None] * fixed(dvdy) + cols[None, :] * fixed(dvdx)
    inside, sample = walk_samples(S, li, ti, winw, winh, U, V, (mode & 0xFF00) == 0x100)
    apply_samples(D.bytes()[y:y + h, x:x + w], inside, mode & 0x100FF, ia, sample[inside])
