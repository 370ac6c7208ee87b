"""Filter designs behind the equaliser's coefficient tables.

Every table entry is the digital section of an analogue prototype, mapped with the bilinear
transform s = (1/K)(1 - z^-1)/(1 + z^-1) in a prototype normalised to w0 = 2 pi f. K is
tan(pi f / fs) where a kind's centre or corner must land exactly on f (parametric, low-pass)
and pi f / fs elsewhere: the high-pass and low-shelf reference coefficients are not pre-warped,
and the high shelf's model (which fits its anchors either way) keeps its responses at the other
rates closer to those at 44100 Hz without it.

Everything here is plain Python floating point (math module only, and a root finder with fixed
start points and iteration counts), so the generated tables are the same byte for byte on every
run.

Coefficients are listed in target order: a biquad is [b0, b1, b2, a1, a2] of
y = b0 x + b1 x1 + b2 x2 - a1 y1 - a2 y2; a first-order section is [b0, b1, a1].
"""

import math

RATES = (44100, 48000, 88200, 96000, 176400, 192000)

PARAMETRIC_FREQS = (33, 50, 75, 100, 150, 200, 300, 400, 600, 800, 1200, 1600, 2400, 3200, 4800,
                    6400, 9600, 12800, 15000, 18000)
PARAMETRIC_GAINS = (0, 1.4291, 2.8937, 4.4338, 6.1005, 7.9658, 10.1446, 12.8457, 16)
PARAMETRIC_QS = (0.667, 1, 2, 4)
HIGH_SHELF_FREQS = (3300, 4700, 6800, 10000, 15000, 18000)
HIGH_SHELF_GAINS = (0, 0.9154, 1.877, 2.94, 4.185, 5.736, 7.833, 11, 16)
LOW_SHELF_FREQS = (33, 56, 95, 160, 270, 460)
LOW_SHELF_GAINS = (2, 4, 6, 8, 10, 12, 14, 16)
LOWPASS_FREQS = (100, 160, 270, 460, 540, 800, 1150, 1600, 2300, 3200, 4600, 6400, 6800, 10000,
                 15000, 18000)
HIGHPASS_FREQS = (20, 33, 56, 95, 160, 270, 460, 540, 800, 1150, 1600, 2300, 3200, 4600, 6400)

# Reference coefficients of the 44100 Hz set that the designs are anchored to.
REFERENCE_RATE = 44100
PARAMETRIC_FLAT_REF = dict(q=0.667, gain=0, freq=33,
                           coeffs=(1.0, -1.987199168, 0.987221133, -1.987199168, 0.987221133))
PARAMETRIC_BOOST_REF = dict(q=1, gain=16, freq=800,
                            coeffs=(1.227362364, -1.888867017, 0.6739108898, -1.88477911,
                                    0.8972006356))
HIGH_SHELF_FLAT_REF = dict(gain=0, freq=3300,
                           coeffs=(1.0, -1.906898423, 0.909219582, -1.906898423, 0.909219582))
HIGH_SHELF_BOOST_REF = dict(gain=16, freq=10000,
                            coeffs=(5.212949685, -9.310570238, 4.213610769, -1.089894154,
                                    0.2058547793))

# Corners of the low shelf's added path at its 33 Hz grid point (Hz); they scale with the grid.
LOW_SHELF_BASE_FREQ = 33.0
LOW_SHELF_ZERO = 11.2437263504478
LOW_SHELF_POLES = (12.8464115627188, 99.1619977064847, 2434.17740045556, 4088.38839166340)


def warped_k(freq, rate):
    return math.tan(math.pi * freq / rate)


def plain_k(freq, rate):
    return math.pi * freq / rate


# --- second-order sections from a normalised analogue prototype ---------------------------

def bilinear_biquad(num, den, k):
    """(c2 s^2 + c1 s + c0) / (d2 s^2 + d1 s + d0) -> [b0, b1, b2, a1, a2]."""
    def terms(c2, c1, c0):
        return (c2 + c1 * k + c0 * k * k, 2.0 * (c0 * k * k - c2), c2 - c1 * k + c0 * k * k)
    n = terms(*num)
    d = terms(*den)
    return [n[0] / d[0], n[1] / d[0], n[2] / d[0], d[1] / d[0], d[2] / d[0]]


def bell_prototype(h, rz, rp, qz, qp, q):
    """H(s) = h (s^2 + s rz/(q qz) + rz^2) / (s^2 + s rp/(q qp) + rp^2)."""
    return (h, h * rz / (q * qz), h * rz * rz), (1.0, rp / (q * qp), rp * rp)


def invert_bell(coeffs, k, q):
    """The (h, rz, rp, qz, qp) whose bilinear image with K = k is the given biquad."""
    b0, b1, b2, a1, a2 = coeffs
    d0 = 4.0 / (1.0 - a1 + a2)
    big_p = (1.0 + a1 + a2) * d0 / 4.0
    lin_p = (1.0 - a2) * d0 / 2.0
    h = (b0 - b1 + b2) * d0 / 4.0
    big_z = (b0 + b1 + b2) * d0 / (4.0 * h)
    lin_z = (b0 - b2) * d0 / (2.0 * h)
    rp = math.sqrt(big_p) / k
    rz = math.sqrt(big_z) / k
    return h, rz, rp, k * rz / (q * lin_z), k * rp / (q * lin_p)


def log_linear(a, b, u):
    return a ** (1.0 - u) * b ** u


# --- parametric (order 2) -----------------------------------------------------------------

def _anchor(ref, k_of, with_q):
    q = ref['q'] if with_q else 1.0
    return invert_bell(ref['coeffs'], k_of(ref['freq'], REFERENCE_RATE), q)


def parametric_anchors():
    return (_anchor(PARAMETRIC_FLAT_REF, warped_k, True),
            _anchor(PARAMETRIC_BOOST_REF, warped_k, True))


def parametric(q, gain, freq, rate):
    flat, boost = parametric_anchors()
    u = gain / 16.0
    h, rz, rp, qz, qp = (log_linear(a, b, u) for a, b in zip(flat, boost))
    if gain == 0:  # a flat section: numerator equals denominator exactly
        h, rz, qz = 1.0, rp, qp
    num, den = bell_prototype(h, rz, rp, qz, qp, q)
    return bilinear_biquad(num, den, warped_k(freq, rate))


# --- high shelf (order 2) -----------------------------------------------------------------

def high_shelf_anchors():
    return (_anchor(HIGH_SHELF_FLAT_REF, plain_k, False),
            _anchor(HIGH_SHELF_BOOST_REF, plain_k, False))


def high_shelf(gain, freq, rate):
    flat, boost = high_shelf_anchors()
    u = gain / 16.0
    h, rz, rp, qz, qp = (log_linear(a, b, u) for a, b in zip(flat, boost))
    if gain == 0:
        h, rz, qz = 1.0, rp, qp
    num, den = bell_prototype(h, rz, rp, qz, qp, 1.0)
    return bilinear_biquad(num, den, plain_k(freq, rate))


# --- pass filters (order 3) ---------------------------------------------------------------

def highpass(freq, rate):
    """Third-order Butterworth high-pass: s^3 / ((s^2 + s + 1)(s + 1))."""
    k = plain_k(freq, rate)
    n = 1.0 + k + k * k
    b0 = 1.0 / n
    first = 1.0 / (1.0 + k)
    return [b0, -2.0 * b0, b0, 2.0 * (k * k - 1.0) / n, (1.0 - k + k * k) / n,
            first, -first, (k - 1.0) / (k + 1.0)]


def lowpass(freq, rate):
    """Three coincident real poles at the grid frequency: 1 / (1 + s)^3."""
    k = warped_k(freq, rate)
    c = k / (1.0 + k)
    p = (k - 1.0) / (k + 1.0)
    return [c * c, 2.0 * c * c, c * c, 2.0 * p, p * p, c, c, p]


# --- low shelf (order 4): output x + k * B2(B1(x)) ----------------------------------------

def _poly_mul(a, b):
    out = [0.0] * (len(a) + len(b) - 1)
    for i, x in enumerate(a):
        for j, y in enumerate(b):
            out[i + j] += x * y
    return out


def _first_order(corner, rate):
    """(1 + s/w) times (1 + z^-1), s = 2 rate (1 - z^-1)/(1 + z^-1): [1 + c, 1 - c]."""
    c = 2.0 * rate / (2.0 * math.pi * corner)
    return [1.0 + c, 1.0 - c]


def _unit_dc_section(num, den):
    """Normalise den to a0 = 1 and scale num so the section passes DC at unit gain."""
    a0 = den[0]
    den = [d / a0 for d in den]
    num = [n / a0 for n in num]
    scale = sum(den) / sum(num)
    return [n * scale for n in num] + den[1:]


def low_shelf_boost(freq, rate):
    """The added path (1 + s/wz) / ((1 + s/w1)(1 + s/w2)(1 + s/w3)(1 + s/w4)), L(0) = 1."""
    scale = freq / LOW_SHELF_BASE_FREQ
    fz = LOW_SHELF_ZERO * scale
    f1, f2, f3, f4 = (f * scale for f in LOW_SHELF_POLES)
    one_plus_z = [1.0, 1.0]
    s1 = _unit_dc_section(_poly_mul(_first_order(fz, rate), one_plus_z),
                          _poly_mul(_first_order(f1, rate), _first_order(f2, rate)))
    s2 = _unit_dc_section(_poly_mul(one_plus_z, one_plus_z),
                          _poly_mul(_first_order(f3, rate), _first_order(f4, rate)))
    return s1 + s2


def _poly_eval(p, z):
    acc = 0j
    for c in p:
        acc = acc * z + c
    return acc


def _poly_roots(p):
    """Roots of a polynomial (highest power first) by Durand-Kerner, then Newton polishing.

    Deterministic: fixed start points and iteration counts, plain complex arithmetic."""
    lead = p[0]
    p = [c / lead for c in p]
    n = len(p) - 1
    roots = [(0.4 + 0.9j) ** i for i in range(n)]
    for _ in range(500):
        new = []
        for i, r in enumerate(roots):
            den = 1 + 0j
            for j, s in enumerate(roots):
                if i != j:
                    den *= r - s
            new.append(r - _poly_eval(p, r) / den)
        roots = new
    deriv = [c * (n - i) for i, c in enumerate(p[:-1])]
    for _ in range(8):
        roots = [r - _poly_eval(p, r) / _poly_eval(deriv, r) for r in roots]
    return roots


def _real_quadratic(r0, r1):
    """[1, -(r0 + r1), r0 r1] of a real or complex-conjugate pair."""
    return [1.0, -(r0 + r1).real, (r0 * r1).real]


def _is_complex(z):
    return abs(z.imag) > 1e-9 * max(1.0, abs(z))


def _split_cut_poles(roots):
    """Section 1 takes the poles nearest to and farthest from DC, section 2 the middle two.

    As the cut deepens the middle two merge into a complex pair, which must stay in one
    section; giving them to section 2 at every gain keeps each section's coefficients on a
    smooth path along the gain grid, so that the stage's linear interpolation between grid
    gains stays the inverse of the boost (pairing the two nearest DC where all four are real
    and switching where they are not costs up to 2.8 dB between the 12 and 14 dB points)."""
    roots = sorted(roots, key=lambda z: (abs(z - 1.0), z.imag))
    outer, middle = [roots[0], roots[3]], [roots[1], roots[2]]
    if _is_complex(roots[0]) or _is_complex(roots[3]):
        raise ValueError('low shelf cut: complex pole outside the middle pair')
    if _is_complex(middle[0]) and abs(middle[0] - middle[1].conjugate()) > 1e-9:
        raise ValueError('low shelf cut: unpaired complex pole')
    return outer, middle


def low_shelf_cut(gain, freq, rate):
    """Exact inverse of the boost of the same |gain| (see low_shelf_cut_from_boost)."""
    return low_shelf_cut_from_boost(low_shelf_boost(freq, rate), gain)


def low_shelf_cut_from_boost(boost, gain):
    """The cut sections whose stage output is the inverse of the boost's: 1/(1 + kb L) = 1 + kc Lc.

    With L = N/D and kc = 1/(1 + kb) - 1, Lc = (1 + kb) N / (D + kb N): its poles are the zeros
    of D + kb N, split over the sections by _split_cut_poles, and its numerators are the boost
    numerators rescaled: section 2 to unit DC gain, section 1 by what the product needs, so the
    cut is the exact inverse even of a boost whose sections are off unit DC gain by rounding."""
    n1, d1 = list(boost[0:3]), [1.0] + list(boost[3:5])
    n2, d2 = list(boost[5:8]), [1.0] + list(boost[8:10])
    kb = 10.0 ** (abs(gain) / 20.0) - 1.0
    num = _poly_mul(n1, n2)
    den = _poly_mul(d1, d2)
    poly = [d + kb * n for d, n in zip(den, num)]
    outer, middle = _split_cut_poles(_poly_roots(poly))
    q1, q2 = _real_quadratic(*outer), _real_quadratic(*middle)
    scale2 = sum(q2) / sum(n2)
    scale1 = (1.0 + kb) / (poly[0] * scale2)
    return [n * scale1 for n in n1] + q1[1:] + [n * scale2 for n in n2] + q2[1:]


# --- whole blocks in table layout ---------------------------------------------------------

def parametric_set(rate):
    entries = [parametric(q, g, f, rate)
               for q in PARAMETRIC_QS for g in PARAMETRIC_GAINS for f in PARAMETRIC_FREQS]
    return _transpose(entries, 5)


def high_shelf_set(rate):
    entries = [high_shelf(g, f, rate) for g in HIGH_SHELF_GAINS for f in HIGH_SHELF_FREQS]
    return _transpose(entries, 5)


def low_shelf_set(rate):
    boost = [low_shelf_boost(f, rate) for _ in LOW_SHELF_GAINS for f in LOW_SHELF_FREQS]
    cut = [low_shelf_cut(g, f, rate) for g in LOW_SHELF_GAINS for f in LOW_SHELF_FREQS]
    return _transpose(boost + cut, 10)


def lowpass_set(rate):
    return _transpose([lowpass(f, rate) for f in LOWPASS_FREQS], 8)


def highpass_set(rate):
    entries = [highpass(f, rate) for f in HIGHPASS_FREQS]
    entries.append([0.0] * 8)  # unused sixteenth entry keeps the tables 16 long
    return _transpose(entries, 8)


def _transpose(entries, count):
    """Entries of [t0..tn] -> one table per coefficient."""
    return [[e[c] for e in entries] for c in range(count)]


# name, per-rate builder, coefficient count, entries per table
BLOCKS = (
    ('Parametric', parametric_set, 5, 720),
    ('HighShelf', high_shelf_set, 5, 54),
    ('LowShelf', low_shelf_set, 10, 96),
    ('Lowpass', lowpass_set, 8, 16),
    ('Highpass', highpass_set, 8, 16),
)


def block(builder, count, entries):
    """All six rate sets of one kind, flattened [set][coefficient][entry]."""
    out = []
    for rate in RATES:
        tables = builder(rate)
        assert len(tables) == count and all(len(t) == entries for t in tables)
        for t in tables:
            out.extend(t)
    return out
