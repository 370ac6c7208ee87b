"""The compressor's static curve, written from its description: the gain in dB a steady
signal of a given peak level comes out with, for a threshold and a ratio. Shared by the
checks through the test host and through Ardour."""

import math

RATIO_POINTS = (1.5, 2.0, 3.0, 5.0, 10.0, 50.0)
GAIN_POINTS = (0.9, 1.24, 1.42, 1.51, 1.59, 1.63)
COMPENSATION_DB = (0.0, 1.0, 1.5, 1.55, 2.0)


def segment(r, last):
    """Smallest i of 1..last with r <= RATIO_POINTS[i], else last + 1; and the fraction."""
    i = next((i for i in range(1, last + 1) if r <= RATIO_POINTS[i]), last + 1)
    return i, (r - RATIO_POINTS[i - 1]) / (RATIO_POINTS[i] - RATIO_POINTS[i - 1])


def gain_factor(ratio):
    i, f = segment(ratio, 4)
    return (1 - f) * GAIN_POINTS[i - 1] + f * GAIN_POINTS[i]


def ratio_compensation(ratio):
    j, f = segment(min(ratio, 10.0), 3)
    return 10 ** (-((1 - f) * COMPENSATION_DB[j - 1] + f * COMPENSATION_DB[j]) / 20)


def drive(threshold_db):
    return 10 ** (-(threshold_db + 50) / 20)


def curve(v):
    return min(0.0, -0.138627144172033 * v
               - 0.640469614319393 * math.log(5.26701272074567 * v + 0.0178615460309078)
               - 2.38714128109653)


def static_gain_db(threshold_db, ratio, peak):
    """Steady-state gain in dB for a signal whose detector level is `peak` (linear)."""
    v = drive(threshold_db) * ratio_compensation(ratio) * abs(peak)
    exponent = min(0.0, curve(v) * gain_factor(ratio) * 1.77 + 0.06)
    return 20 * math.log10(2 ** exponent)
