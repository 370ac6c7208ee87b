"""Checks of the equaliser's coefficient tables against scipy.

Usage: test_eq_tables.py GENERATED.cpp   (the build's generated table source)

Reference coefficients, stability of every entry, musical sense of the responses, and that the
generator's output is reproducible byte for byte."""

import math
import os
import subprocess
import sys
import tempfile
import unittest

import numpy as np
from scipy import signal

HERE = os.path.dirname(os.path.abspath(__file__))
TOOLS = os.path.join(HERE, '..', '..', 'tools', 'eqtables')
sys.path.insert(0, TOOLS)
import eq_designs as d  # noqa: E402

GENERATED = None

# Reference coefficients of the 44100 Hz set.
REF_HIGHPASS_20 = (0.9985752443, -1.997150489, 0.9985752443, -1.997146435, 0.9971545427,
                   0.9985752443, -0.9985772685, -0.997154537)
REF_LOWPASS_18K = (0.5946446449, 1.18928929, 0.5946446449, 1.084528216, 0.294050363,
                   0.7711320541, 0.7711320541, 0.5422641082)
REF_LOW_SHELF_BOOST = (0.008012644912, 1.450705477e-05, -0.008001497956, -1.984142282,
                       0.9841679362, 0.03333607921, 0.06666516309, 0.03332908535,
                       -1.253329002, 0.3866593298)
REF_LOW_SHELF_CUT = (0.01027608472, 1.860505807e-05, -0.01026178894, -1.979648262, 0.9796811626,
                     0.03272146238, 0.06543605839, 0.03271459746, -1.257460705, 0.3883328232)


def max_diff(a, b):
    return max(abs(x - y) for x, y in zip(a, b))


def biquad(c):
    return np.array(c[0:3]), np.array([1.0, c[3], c[4]])


def response(kind, c, freqs, rate):
    """Complex response of one table entry (target order) at freqs (Hz)."""
    w = 2 * np.pi * np.asarray(freqs, dtype=float) / rate
    if kind in ('parametric', 'highshelf'):
        return signal.freqz(*biquad(c), worN=w)[1]
    if kind in ('highpass', 'lowpass'):
        h1 = signal.freqz(*biquad(c), worN=w)[1]
        h2 = signal.freqz([c[5], c[6]], [1.0, c[7]], worN=w)[1]
        return h1 * h2
    raise ValueError(kind)


def shelf_path(c, freqs, rate):
    w = 2 * np.pi * np.asarray(freqs, dtype=float) / rate
    return (signal.freqz(*biquad(c[0:5]), worN=w)[1] *
            signal.freqz(*biquad(c[5:10]), worN=w)[1])


def path_polynomials(c):
    """Numerator and denominator of the low shelf's two sections in series."""
    return (np.polymul(c[0:3], c[5:8]),
            np.polymul([1.0, c[3], c[4]], [1.0, c[8], c[9]]))


def db(h):
    return 20 * np.log10(np.abs(h))


def entries(tables):
    return [tuple(t[i] for t in tables) for i in range(len(tables[0]))]


def stable(den):
    return bool(np.all(np.abs(np.roots(den)) < 1.0))


class ReferenceCoefficients(unittest.TestCase):
    """The designs reproduce the reference coefficients to what each design gets."""

    def test_anchored_models_hit_their_anchors(self):
        cases = [
            (d.parametric(0.667, 0, 33, 44100), d.PARAMETRIC_FLAT_REF),
            (d.parametric(1, 16, 800, 44100), d.PARAMETRIC_BOOST_REF),
            (d.high_shelf(0, 3300, 44100), d.HIGH_SHELF_FLAT_REF),
            (d.high_shelf(16, 10000, 44100), d.HIGH_SHELF_BOOST_REF),
        ]
        for got, ref in cases:
            self.assertLess(max_diff(got, ref['coeffs']), 1e-9, ref)

    def test_lowpass_is_exact(self):
        self.assertLess(max_diff(d.lowpass(18000, 44100), REF_LOWPASS_18K), 1e-9)

    def test_highpass_is_exact_but_for_the_first_order_gain(self):
        got = d.highpass(20, 44100)
        rest = [i for i in range(8) if i != 5]
        self.assertLess(max_diff([got[i] for i in rest], [REF_HIGHPASS_20[i] for i in rest]),
                        1e-9)
        # The reference's first-order b0 equals its biquad b0, 2e-6 below 1/(1 + K); the table
        # keeps the first-order section at unit gain at Nyquist.
        k = math.pi * 20 / 44100
        self.assertEqual(got[5], 1 / (1 + k))
        self.assertAlmostEqual(got[5], REF_HIGHPASS_20[5], delta=3e-6)

    def test_low_shelf_design_within_rounding_of_its_corners(self):
        # The reference boost carries a rounding artefact that splits its zeros at z = -1;
        # the design keeps them together and is 3.5e-6 away.
        self.assertLess(max_diff(d.low_shelf_boost(33, 44100), REF_LOW_SHELF_BOOST), 5e-6)
        # The cut pairs its poles differently over the sections (see the interpolation test
        # below), so it is compared as one transfer function.
        got, ref = path_polynomials(d.low_shelf_cut(2, 33, 44100)), path_polynomials(
            REF_LOW_SHELF_CUT)
        self.assertLess(max_diff(got[0], ref[0]), 5e-6)
        self.assertLess(max_diff(got[1], ref[1]), 5e-6)

    def test_low_shelf_cut_derivation_from_the_reference_boost(self):
        got = path_polynomials(d.low_shelf_cut_from_boost(REF_LOW_SHELF_BOOST, 2))
        ref = path_polynomials(REF_LOW_SHELF_CUT)
        self.assertLess(max_diff(got[0], ref[0]), 1e-9)
        self.assertLess(max_diff(got[1], ref[1]), 1e-9)
        freqs = np.geomspace(10, 20000, 200)
        self.assertLess(np.abs(db(shelf_path(d.low_shelf_cut_from_boost(REF_LOW_SHELF_BOOST, 2),
                                             freqs, 44100)) -
                               db(shelf_path(REF_LOW_SHELF_CUT, freqs, 44100))).max(), 1e-4)


class Stability(unittest.TestCase):
    """Every pole of every entry lies inside the unit circle; so does every zero of the order-2
    kinds, whose cuts use the zeros as poles."""

    def test_every_entry_of_every_rate(self):
        for name, builder, count, _ in d.BLOCKS:
            for rate in d.RATES:
                for e in entries(builder(rate)):
                    if name == 'Highpass' and not any(e):
                        continue  # the unused sixteenth entry
                    dens = [[1.0, e[3], e[4]]]
                    if name in ('Parametric', 'HighShelf'):
                        dens.append(list(e[0:3]))
                    elif name in ('Lowpass', 'Highpass'):
                        dens.append([1.0, e[7]])
                    else:
                        dens.append([1.0, e[8], e[9]])
                    for den in dens:
                        self.assertTrue(stable(den), (name, rate, e))


class MusicalSense(unittest.TestCase):
    def test_parametric_peaks_at_the_grid_frequency(self):
        for rate in d.RATES:
            for q in d.PARAMETRIC_QS:
                for f in d.PARAMETRIC_FREQS:
                    if f > 0.4 * rate:
                        continue
                    freqs = np.geomspace(f / 2, min(2 * f, 0.49 * rate), 4001)
                    prev = 0.0
                    for g in d.PARAMETRIC_GAINS[1:]:
                        mag = db(response('parametric', d.parametric(q, g, f, rate), freqs, rate))
                        peak_at = freqs[np.argmax(mag)]
                        self.assertLess(abs(peak_at / f - 1), 0.01, (rate, q, f, g))
                        self.assertGreater(mag.max(), prev)  # peaks rise with the grid gain
                        self.assertLess(mag.max(), g)
                        prev = mag.max()

    def test_parametric_peak_height(self):
        mag = db(response('parametric', d.parametric(1, 16, 800, 44100), [800], 44100))[0]
        self.assertAlmostEqual(mag, 14.62, delta=0.05)

    def test_flat_entries_are_flat(self):
        for rate in d.RATES:
            for e in [d.parametric(q, 0, f, rate) for q in d.PARAMETRIC_QS
                      for f in d.PARAMETRIC_FREQS] + [d.high_shelf(0, f, rate)
                                                      for f in d.HIGH_SHELF_FREQS]:
                self.assertEqual(list(e[0:3]), [1.0, e[3], e[4]])

    def test_high_shelf_plateau_rises_with_the_grid_gain(self):
        for rate in d.RATES:
            for f in d.HIGH_SHELF_FREQS:
                top = [db(response('highshelf', d.high_shelf(g, f, rate), [20000], rate))[0]
                       for g in d.HIGH_SHELF_GAINS]
                self.assertTrue(all(b > a for a, b in zip(top, top[1:])), (rate, f, top))
                low = [db(response('highshelf', d.high_shelf(g, f, rate), [30], rate))[0]
                       for g in d.HIGH_SHELF_GAINS]
                self.assertLess(max(abs(x) for x in low), 0.2, (rate, f))

    def test_high_shelf_boost_shape(self):
        c = d.high_shelf(16, 10000, 44100)
        at = db(response('highshelf', c, [10000, 20000], 44100))
        self.assertAlmostEqual(at[0], 16.4, delta=0.1)
        self.assertAlmostEqual(at[1], 18.2, delta=0.1)
        dip = db(response('highshelf', c, np.geomspace(200, 3000, 400), 44100)).min()
        self.assertAlmostEqual(dip, -1.0, delta=0.3)

    def test_low_shelf_plateau_is_the_gain_and_the_cut_mirrors_the_boost(self):
        freqs = np.geomspace(10, 20000, 300)
        for rate in d.RATES:
            for g in d.LOW_SHELF_GAINS:
                kb = 10 ** (g / 20) - 1
                kc = 10 ** (-g / 20) - 1
                for f in d.LOW_SHELF_FREQS:
                    boost = 1 + kb * shelf_path(d.low_shelf_boost(f, rate), freqs, rate)
                    cut = 1 + kc * shelf_path(d.low_shelf_cut(g, f, rate), freqs, rate)
                    self.assertLess(np.abs(db(boost) + db(cut)).max(), 1e-6, (rate, g, f))
                    dc = 1 + kb * shelf_path(d.low_shelf_boost(f, rate), [1e-3], rate)
                    self.assertAlmostEqual(db(dc)[0], g, delta=1e-6)
                    # Above the shelf the design dips a little below flat (most at the 460 Hz
                    # grid point and high rates, where its corners are not warped).
                    self.assertLess(abs(db(boost[-1:])[0]), 2.1)

    def test_low_shelf_cut_between_grid_gains_mirrors_the_boost(self):
        # The stage interpolates the cut half linearly between grid gains; its poles stay
        # paired alike along the grid, so the result stays the inverse of the boost.
        freqs = np.geomspace(20, 20000, 300)
        gains = d.LOW_SHELF_GAINS
        for rate in d.RATES:
            for f in d.LOW_SHELF_FREQS:
                boost_path = shelf_path(d.low_shelf_boost(f, rate), freqs, rate)
                for lo, hi in zip(gains, gains[1:]):
                    a, b = d.low_shelf_cut(lo, f, rate), d.low_shelf_cut(hi, f, rate)
                    for u in (0.25, 0.5, 0.75):
                        g = lo + (hi - lo) * u
                        cut = [x + (y - x) * u for x, y in zip(a, b)]
                        up = db(1 + (10 ** (g / 20) - 1) * boost_path)
                        down = db(1 + (10 ** (-g / 20) - 1) * shelf_path(cut, freqs, rate))
                        self.assertLess(np.abs(up + down).max(), 0.05, (rate, f, g))

    def test_low_shelf_at_its_grid_frequency_rises_with_the_grid_gain(self):
        for rate in d.RATES:
            for f in d.LOW_SHELF_FREQS:
                mags = [db(1 + (10 ** (g / 20) - 1) *
                           shelf_path(d.low_shelf_boost(f, rate), [f], rate))[0]
                        for g in d.LOW_SHELF_GAINS]
                self.assertTrue(all(b > a for a, b in zip(mags, mags[1:])), (rate, f))

    def test_pass_filter_corners(self):
        # Low-pass: -9 dB (three poles) exactly at the grid frequency at every rate.
        for rate in d.RATES:
            for f in d.LOWPASS_FREQS:
                mag = db(response('lowpass', d.lowpass(f, rate), [f], rate))[0]
                self.assertAlmostEqual(mag, 20 * math.log10(0.5 ** 1.5), delta=1e-6)
        # High-pass: -3 dB at the grid frequency. It is not pre-warped, which moves the corner
        # down by under 0.5 % across the control's 20-330 Hz range; at the top grid points
        # (beyond the control) the response at the grid frequency is up to 0.85 dB off.
        for rate in d.RATES:
            for f in d.HIGHPASS_FREQS:
                mag = db(response('highpass', d.highpass(f, rate), [f], rate))[0]
                tol = 0.01 if f <= 460 else 0.9
                self.assertAlmostEqual(mag, -3.0103, delta=tol, msg=(rate, f))


class Generator(unittest.TestCase):
    def test_output_is_reproducible_byte_for_byte(self):
        with tempfile.TemporaryDirectory() as tmp:
            out = os.path.join(tmp, 'tables.cpp')
            subprocess.run([sys.executable, os.path.join(TOOLS, 'gen_eq_tables.py'), out],
                           check=True)
            with open(out, 'rb') as f:
                fresh = f.read()
        with open(GENERATED, 'rb') as f:
            built = f.read()
        self.assertEqual(fresh, built)


if __name__ == '__main__':
    GENERATED = sys.argv.pop(1)
    unittest.main()
