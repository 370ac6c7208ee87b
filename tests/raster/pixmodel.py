"""Model of the raster library's combine writers, written from their arithmetic rules and
nothing else, for bit-for-bit checks of the C++ code.

All functions work on numpy int32 arrays (or plain ints; every intermediate of the written
formulas fits 32 bits for weights up to 16384) and return int32 arrays. Division is
signed and truncates toward zero; >> is arithmetic; clamp maps to 0..255; results are stored as
their low 8 bits."""

import numpy as np

I = np.int32


def tdiv(a, b):
    """Signed integer division truncated toward zero (b is a positive constant or array)."""
    a = np.asarray(a, dtype=I)
    b = np.asarray(b, dtype=I)
    q = np.abs(a) // np.abs(b)
    return np.where((a < 0) != (b < 0), -q, q)


def clamp(v):
    return np.clip(np.asarray(v, dtype=I), 0, 255)


def low8(v):
    return np.asarray(v, dtype=I) & 255


# ---- one channel of the plain writers: d dest byte, s source value, w weight --------------

def ch_blend(d, s, w):
    return low8(s + tdiv((d - s) * (256 - w), 256))


def ch_blend_clamped(d, s, w):
    return clamp(s + tdiv((d - s) * (256 - w), 256))


def ch_add(d, s, w):
    return clamp(d + tdiv(s * w, 256))


def ch_dodge(d, s, w):
    t = tdiv(s * w, 256)
    q = 256 - t
    safe_q = np.where(q >= 2, q, 1)
    return np.where(q >= 2, clamp(tdiv(d * 256, safe_q)), clamp(d * 256))


def ch_multiply(d, s, w):
    return low8(((s * w + (256 - w) * 256) * d) >> 16)


def ch_multiply_clamped(d, s, w):
    return clamp(((s * w + (256 - w) * 256) * d) >> 16)


def ch_overlay(d, s, w):
    sp = s * w + (256 - w) * 128
    return clamp(((tdiv((32768 - sp) * d, 256) + sp) * d) >> 15)


PLAIN_CHANNEL = {
    "blend": ch_blend,
    "blendclamped": ch_blend_clamped,
    "add": ch_add,
    "dodge": ch_dodge,
    "multiply": ch_multiply,
    "multiplyclamped": ch_multiply_clamped,
    "overlay": ch_overlay,
    "copy": lambda d, s, w: low8(s + 0 * d),
}


def plain(name, px, r, g, b, a, w):
    """px: (..., 4) int64 array of A, R, G, B bytes. Returns the new bytes."""
    f = PLAIN_CHANNEL[name]
    out = np.empty_like(px)
    out[..., 0] = f(px[..., 0], a, w)
    out[..., 1] = f(px[..., 1], r, w)
    out[..., 2] = f(px[..., 2], g, w)
    out[..., 3] = f(px[..., 3], b, w)
    return out


# ---- HSV adjustment -------------------------------------------------------------------------

RECIP = np.array([0] + [65536 // i - 1 for i in range(1, 256)], dtype=I)


def hsv(px, r, g, b, a, w):
    px = np.asarray(px, dtype=I)
    R, G, B = px[..., 1], px[..., 2], px[..., 3]
    r, g, b, a, w = (np.broadcast_to(np.asarray(v, dtype=I), R.shape) for v in (r, g, b, a, w))
    c1 = (R < G) & (G > B)
    c2 = ~c1 & (R >= G) & (B < R)
    mx = np.where(c1, G, np.where(c2, R, B))
    diff = np.where(c1, B - R, np.where(c2, G - B, R - G))
    delta = np.where(c1, G - np.minimum(B, R),
                     np.where(c2, R - np.minimum(G, B), B - np.minimum(R, G)))
    base = np.where(c1, 128, np.where(c2, np.where(G < B, 383, 0), 256))
    hue = base + tdiv((RECIP[delta] + 1) * diff, 1024)
    sat = tdiv(delta * RECIP[mx], 256)
    val = mx
    hue = hue + tdiv((r + r // 2 - 192) * w, 256)
    hue = np.where(hue < 0, hue + 384, np.where(hue > 383, hue - 384, hue))
    sat = clamp(sat + tdiv((g - 128) * w, 128))
    val = clamp(val + tdiv((b - 128) * w, 128))
    p = tdiv((256 - sat) * val, 256)

    def ramp(k):
        return tdiv(val * (16384 - k * sat), 16384)

    sectors = [hue < 64, hue < 128, hue < 192, hue < 256, hue < 320]
    nr = np.select(sectors, [val, ramp(hue - 64), p, p, ramp(320 - hue)], val)
    ng = np.select(sectors, [ramp(64 - hue), val, val, ramp(hue - 192), p], p)
    nb = np.select(sectors, [p, p, ramp(192 - hue), val, val], ramp(hue - 320))
    out = np.empty_like(px)
    out[..., 0] = low8(a)
    out[..., 1] = low8(nr)
    out[..., 2] = low8(ng)
    out[..., 3] = low8(nb)
    return out


# ---- source-alpha writers: a is the source alpha byte sa -------------------------------------

def sa_weight(sa, w):
    return tdiv((sa + 1) * w, 256)


def source_alpha(name, px, r, g, b, sa, w):
    px = np.asarray(px, dtype=I)
    shape = px[..., 0].shape
    r, g, b, sa, w = (np.broadcast_to(np.asarray(v, dtype=I), shape) for v in (r, g, b, sa, w))
    e = sa_weight(sa, w)
    out = px.copy()
    if name == "copy":
        keep = 255 - sa
        for i, s in ((1, r), (2, g), (3, b)):
            mid = low8(s + tdiv((px[..., i] - s) * keep, 256))
            out[..., i] = np.where(sa == 255, s, mid)
        out[..., 0] = np.where(sa == 255, 255, low8(np.minimum(px[..., 0] + sa, 255)))
    elif name == "blend":
        for i, s in ((1, r), (2, g), (3, b)):
            out[..., i] = ch_blend(px[..., i], s, e)
        out[..., 0] = low8(np.minimum(px[..., 0] + e, 255))
    elif name == "add":
        for i, s in ((1, r), (2, g), (3, b)):
            out[..., i] = ch_add(px[..., i], s, e)
        out[..., 0] = clamp(px[..., 0] + tdiv(e * sa, 256))
    elif name in ("dodge", "multiply", "overlay"):
        out = plain(name, px, r, g, b, sa, e)
    elif name == "hsv":
        out = hsv(px, r, g, b, sa, e)
    else:
        raise KeyError(name)
    if name in ("copy", "blend", "add", "multiply"):
        out = np.where((sa == 0)[..., None], px, out)
    return out
