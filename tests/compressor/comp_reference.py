"""A second, independent model of the compressor engine, written from its description in plain
Python (scalar maths from the math module, numpy only for the single-precision steps).

It follows the engine's arithmetic frame by frame, including the safety rules the engine adds
to the analogue model:
  - a slew never overshoots: a step that would pass the target lands on it;
  - a non-finite channel or sidechain sample reads as silence in the detector;
  - the curve value the detector passes on is floored at -1000 (the gain is already exactly
    zero far above that);
  - the gain-reduction peak takes the linear gain itself (the reference-sample quotient of
    the analogue model equals it wherever it is defined);
  - both meters take their logarithm of at least 1e-4;
  - setters ignore non-finite values; a bypassed engine copies its input to its output.
"""

import math

import numpy as np

F32 = np.float32

RATIO_POINTS = [1.5, 2.0, 3.0, 5.0, 10.0, 50.0]
GAIN_POINTS = [0.9, 1.24, 1.42, 1.51, 1.59, 1.63]
COMPENSATION_DB = [0.0, 1.0, 1.5, 1.55, 2.0]
CURVE_FLOOR = -1000.0
METER_FLOOR = 1e-4
METER_WINDOW = 512


def expf(x):
    """Single-precision exp: the double result rounded to float."""
    return F32(math.exp(float(x)))


def segment(r, last):
    for i in range(1, last + 1):
        if r <= RATIO_POINTS[i]:
            return i
    return last + 1


def attack_taper(a):
    if a < F32(0.5):
        return F32(0.2) * a
    if a < F32(0.75):
        return F32(1.6) * a - F32(0.7)
    return F32(2.0) * a - F32(1.0)


def coefficients(threshold, ratio, attack, release, fs):
    """The coefficient block [G, 1-cA, -cA, cR, wS, wF, K, D]."""
    i = segment(ratio, 4)
    f = (ratio - RATIO_POINTS[i - 1]) / (RATIO_POINTS[i] - RATIO_POINTS[i - 1])
    res = F32(i + f) * F32(1000.0)
    taper = attack_taper(F32(attack))
    tau_a = (res * F32(1505.0) / (res + F32(1505.0)) + taper * F32(470000.0)) * F32(1.5e-7)
    if fs > 0:
        with np.errstate(divide="ignore"):  # a zero time constant (ratio 1) gives cA = 0
            c_a = expf((F32(-1.0) / tau_a) / F32(fs))
    else:
        c_a = F32(0.0)
    g = (1 - f) * GAIN_POINTS[i - 1] + f * GAIN_POINTS[i]
    rc = min(ratio, 10.0)
    j = segment(rc, 3)
    fc = (rc - RATIO_POINTS[j - 1]) / (RATIO_POINTS[j] - RATIO_POINTS[j - 1])
    comp_db = (1 - fc) * COMPENSATION_DB[j - 1] + fc * COMPENSATION_DB[j]
    k = 10.0 ** (-comp_db / 20.0)
    d = 10.0 ** (-(threshold + 50.0) / 20.0)
    if fs > 0:
        c_r = math.exp(-1.0 / (((((release - 0.1) / 3.9) * 470000.0 + 22000.0) * 4.7e-6) * fs))
        w_f = math.exp(-1.0 / (0.03 * fs))
        w_s = 1.0 - math.exp(-1.0 / (0.74 * fs))
    else:
        c_r, w_f, w_s = 0.0, 0.0, 1.0
    return [g, float(F32(1.0) - c_a), -float(c_a), c_r, w_s, w_f, k, d]


def curve(v):
    t = (-0.138627144172033 * v
         - 0.640469614319393 * math.log(5.26701272074567 * v + 0.0178615460309078)
         - 2.38714128109653)
    return max(CURVE_FLOOR, min(0.0, t))


def detector_level(x):
    return abs(x) if math.isfinite(x) else 0.0


def cmax(a, b):
    """max as the engine takes it: the first argument unless the second is larger."""
    return b if a < b else a


def slew(current, target, snap, step):
    if abs(current - target) < snap or abs(current - target) <= step:
        return target
    return current + step if current < target else current - step


class RefComp:
    def __init__(self):
        self.bypass = False
        self.fs = 0.0
        self.threshold = -10.0
        self.ratio = 1.5
        self.attack = 0.0
        self.release = 0.1
        self.makeup_target = 0.0
        self.auto_release = False
        self.io_metering = True
        self.gr_peak = 1.0
        self.has_processed = True
        self.in_target = 0.0
        self.in_current = 0.0
        self.blend_target = 0.5
        self.blend_current = 0.5
        self.makeup_current = 0.0
        self.window_peak = 0.0
        self.held = 0.0
        self.count = 0
        self.s0 = 0.0
        self.s1 = 0.0
        self.h = 0.0
        self.a = 0.0
        self.level_meter = 0.0
        self.gr_meter = 1.0
        self.recalc()

    def recalc(self):
        self.coef = coefficients(self.threshold, self.ratio, self.attack, self.release, self.fs)

    # Setters ----------------------------------------------------------------------------
    def set_rate(self, fs):
        self.fs = fs if (math.isfinite(fs) and fs > 0) else 0.0
        self.recalc()

    def set_detector(self, name, value):
        if math.isfinite(value) and getattr(self, name) != value:
            setattr(self, name, value)
            self.recalc()

    def set_auto_release(self, on):
        if self.auto_release != on:
            self.auto_release = on
            self.recalc()

    def set_all(self, auto, force, threshold, ratio, attack, release, makeup):
        differs = (auto != self.auto_release or self.threshold != threshold
                   or self.ratio != ratio or self.attack != attack
                   or self.release != release or self.makeup_target != makeup)
        if not (force or differs):
            return
        for name, value in (("threshold", threshold), ("ratio", ratio), ("attack", attack),
                            ("release", release), ("makeup_target", makeup)):
            if math.isfinite(value):
                setattr(self, name, value)
        self.auto_release = auto
        self.recalc()

    def static_curve_db(self, level):
        g, _, _, _, _, _, k, d = self.coef
        e = curve(d * k * detector_level(level)) * g * 1.77 + 0.06
        return 20.0 * math.log10(2.0 ** min(0.0, e))

    # Processing -------------------------------------------------------------------------
    def take_gr_peak(self):
        p = self.gr_peak
        self.gr_peak = 1.0
        self.has_processed = False
        return p

    def meter_tap(self, left, right):
        sample = cmax(left, right)
        if sample > self.window_peak:
            self.window_peak = sample

    def update_meters(self):
        self.window_peak = min(self.window_peak, 1.0)
        self.held = min(self.held, 1.0)
        self.count += 1
        if self.count == METER_WINDOW:
            if self.window_peak > self.held:
                self.held = self.window_peak
            else:
                self.held = max(1e-4, self.held - 0.075 * (self.held - self.window_peak))
            self.level_meter = 20.0 * math.log10(max(self.held, METER_FLOOR)) / 60.0 + 1.0
            peak = max(self.take_gr_peak(), METER_FLOOR)
            self.gr_meter = 20.0 * math.log10(peak) / 20.0 + 1.0
            self.window_peak = 0.0
            self.count = 0

    def process(self, left, right, side):
        """Processes lists of samples; returns the output lists."""
        self.has_processed = True
        n = len(left)
        if self.bypass:
            return list(left), list(right)
        if self.fs > 0:
            gain_step = 180.0 / self.fs
            blend_step = 5.0 / self.fs
        else:
            gain_step = blend_step = math.inf
        g_fac, w_in, neg_ca, c_r, w_s, w_f, k, d = self.coef
        out_l = [0.0] * n
        out_r = [0.0] * n
        for i in range(n):
            dry_l, dry_r = left[i], right[i]
            self.in_current = slew(self.in_current, self.in_target, 0.1, gain_step)
            factor = 10.0 ** (self.in_current / 20.0)
            l, r = dry_l * factor, dry_r * factor
            if not self.io_metering:
                self.meter_tap(l, r)
            if side is not None:
                x = detector_level(side[i])
            else:
                x = cmax(detector_level(l), detector_level(r))
            g = curve(d * k * x)
            if self.auto_release:
                if self.s0 + self.s1 > g:
                    self.s1 = self.s1 + w_s * (0.789 * g - self.s1)
                    self.s0 = g - self.s1
                else:
                    s1 = (1.0 - w_f) * self.s0 + (1.0 - w_s) * self.s1
                    self.s0 = w_f * self.s0
                    self.s1 = s1
                    g = self.s1 + self.s0
            else:
                if g > self.h:
                    g = self.h * c_r
                self.h = g
            c_a = -neg_ca
            self.a = w_in * g + c_a * self.a
            e = self.a * g_fac * 1.77 + 0.06
            gain = 2.0 ** min(0.0, e)
            ref = l if l != 0.0 else 2.0 ** -126
            if math.isfinite(ref) and abs(ref) >= 2.0 ** -1022:
                reduction = abs(ref * gain / ref)
            else:
                reduction = gain
            self.gr_peak = min(self.gr_peak, reduction)
            self.makeup_current = slew(self.makeup_current, self.makeup_target, 0.1, gain_step)
            m = 10.0 ** (self.makeup_current / 20.0)
            self.blend_current = slew(self.blend_current, self.blend_target, 0.001, blend_step)
            b = self.blend_current
            if b == 0.0:
                l, r = dry_l, dry_r
            elif b <= 1.0:
                l = l * gain * m * b + dry_l * (1.0 - b)
                r = r * gain * m * b + dry_r * (1.0 - b)
            out_l[i], out_r[i] = l, r
            if self.io_metering:
                self.meter_tap(l, r)
            self.update_meters()
        return out_l, out_r
