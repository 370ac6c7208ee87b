"""Checks of the built filter stages against independent references.

Usage: test_eq_response.py EQ_FILTER_PROBE

- The compiled tables equal the generator's values bit for bit, and the stages carry the grids
  the tables were built on.
- A stage's running coefficients equal an interpolation of the tables written here from the
  description of the stage (grid segments, trilinear / bilinear / linear, cut inverse, k).
- The stage's steady-state gain, measured by the probe by filtering sines, equals the analytic
  response (scipy.signal.freqz) of the coefficients the stage exports, within 0.01 dB, at grid
  points and between them."""

import functools
import os
import subprocess
import sys
import unittest

import numpy as np
from scipy import signal

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', '..', 'tools', 'eqtables'))
import eq_designs as d  # noqa: E402

PROBE = None

KINDS = {
    # kind: (block name, order, freq grid, gain grid, q grid, coefficient count, entries)
    'parametric': ('Parametric', 2, d.PARAMETRIC_FREQS, d.PARAMETRIC_GAINS, d.PARAMETRIC_QS, 5,
                   720),
    'highshelf': ('HighShelf', 2, d.HIGH_SHELF_FREQS, d.HIGH_SHELF_GAINS, (), 5, 54),
    'lowshelf': ('LowShelf', 4, d.LOW_SHELF_FREQS, d.LOW_SHELF_GAINS, (), 10, 96),
    'lowpass': ('Lowpass', 3, d.LOWPASS_FREQS, (), (), 8, 16),
    'highpass': ('Highpass', 3, d.HIGHPASS_FREQS, (), (), 8, 16),
}

# kind, rate, gain, freq, Q: grid points, points between them, cuts, values past the grids,
# unlisted and nearly listed rates.
CASES = [
    ('parametric', 44100, 16, 800, 1),
    ('parametric', 44100, -16, 800, 1),
    ('parametric', 44100, -3, 33, 0.667),
    ('parametric', 48000, 5.3, 1000, 1.5),
    ('parametric', 47999.99, 6, 4000, 2),
    ('parametric', 96000, -7.2, 2500, 3.1),
    ('parametric', 192000, 12, 15000, 0.8),
    ('parametric', 44100, 16, 18000, 4),
    ('parametric', 44100, 20, 25000, 5),
    ('parametric', 22050, 6, 1000, 2),
    ('highshelf', 44100, 16, 10000, 0),
    ('highshelf', 44100, -16, 10000, 0),
    ('highshelf', 48000, 7, 5000, 0),
    ('highshelf', 96000, -9.5, 12000, 0),
    ('highshelf', 176400, 3, 3300, 0),
    ('lowshelf', 44100, 2, 33, 0),
    ('lowshelf', 44100, -2, 33, 0),
    ('lowshelf', 48000, 9, 120, 0),
    ('lowshelf', 96000, -13, 200, 0),
    ('lowshelf', 192000, 16, 460, 0),
    ('lowshelf', 44100, 1, 100, 0),
    ('lowshelf', 88200, -0.5, 60, 0),
    ('lowpass', 44100, 0, 18000, 0),
    ('lowpass', 48000, 0, 3900, 0),
    ('lowpass', 96000, 0, 12000, 0),
    ('lowpass', 192000, 0, 100, 0),
    ('lowpass', 44100, 0, 22000, 0),
    ('highpass', 44100, 0, 20, 0),
    ('highpass', 48000, 0, 36, 0),
    ('highpass', 96000, 0, 105, 0),
    ('highpass', 192000, 0, 330, 0),
    ('highpass', 88200, 0, 6400, 0),
]


def probe(lines):
    out = subprocess.run([PROBE], input='\n'.join(lines) + '\n', capture_output=True,
                         text=True, check=True).stdout.splitlines()
    assert len(out) == len(lines), out
    return out


def hexes(tokens):
    return [float.fromhex(t) for t in tokens]


# --- the stage's interpolation, written from its description -------------------------------

def rate_set(rate):
    for i, r in enumerate(d.RATES):
        if abs(rate - r) < 1.0:
            return i
    return 0


def segment(v, grid):
    v = min(max(v, grid[0]), grid[-1])
    i = 0
    while i + 1 < len(grid) and v >= grid[i + 1]:
        i += 1
    i = min(i, len(grid) - 2)
    return i, (v - grid[i]) / (grid[i + 1] - grid[i])


def lerp(a, b, u):
    return a + (b - a) * u


@functools.lru_cache(maxsize=None)
def generated_block(name):
    return d.block(*[b for b in d.BLOCKS if b[0] == name][0][1:])


def expected_targets(kind, rate, gain, freq, q):
    name, order, fgrid, ggrid, qgrid, count, entries = KINDS[kind]
    block = generated_block(name)
    base = rate_set(rate) * count * entries
    tables = [block[base + c * entries:base + (c + 1) * entries] for c in range(count)]
    i_f, u_f = segment(freq, fgrid)
    if ggrid:
        i_g, u_g = segment(abs(gain), ggrid)
        if order == 4 and gain < 0:
            i_f += 48
    if qgrid:
        i_q, u_q = segment(q, qgrid)

    def value(t):
        if qgrid:
            e = lambda qi, gi, fi: t[(qi * len(ggrid) + gi) * len(fgrid) + fi]  # noqa: E731
            g_at = [[lerp(e(i_q, gi, fi), e(i_q + 1, gi, fi), u_q) for fi in (i_f, i_f + 1)]
                    for gi in (i_g, i_g + 1)]
            return lerp(lerp(g_at[0][0], g_at[1][0], u_g), lerp(g_at[0][1], g_at[1][1], u_g), u_f)
        if ggrid:
            e = lambda gi, fi: t[gi * len(fgrid) + fi]  # noqa: E731
            return lerp(lerp(e(i_g, i_f), e(i_g + 1, i_f), u_g),
                        lerp(e(i_g, i_f + 1), e(i_g + 1, i_f + 1), u_g), u_f)
        return lerp(t[i_f], t[i_f + 1], u_f)

    t = [value(tab) for tab in tables]
    if order == 4:
        t.append(10 ** (gain / 20) - 1)
    elif order == 2 and gain < 0:
        b0, b1, b2, a1, a2 = t
        t = [1 / b0, a1 / b0, a2 / b0, b1 / b0, b2 / b0]
    return t


def exported_targets(order, num, den):
    """The stage's running coefficients in target order."""
    t = [num[0], num[1], num[2], den[1], den[2]]
    if order == 3:
        t += [num[3], num[4], den[4]]
    elif order == 4:
        t += [num[3], num[4], num[5], den[4], den[5], num[6]]
    return t


def analytic_db(order, num, den, freqs, rate):
    w = 2 * np.pi * np.asarray(freqs) / rate
    h1 = signal.freqz(num[0:3], den[0:3], worN=w)[1]
    if order == 2:
        h = h1
    elif order == 3:
        h = h1 * signal.freqz(num[3:5], den[3:5], worN=w)[1]
    else:
        h = 1 + num[6] * h1 * signal.freqz(num[3:6], den[3:6], worN=w)[1]
    return 20 * np.log10(np.abs(h))


def test_freqs(freq, rate):
    top = 0.45 * rate
    picks = [15, 100, 1000, 10000, freq / 3, freq / 1.5, freq, freq * 1.5, freq * 3]
    return sorted({round(f, 3) for f in picks if 15 <= f <= top})


class CompiledTables(unittest.TestCase):
    def test_blocks_equal_the_generator_bit_for_bit(self):
        kinds = list(KINDS)
        for kind, line in zip(kinds, probe([f'dump {k}' for k in kinds])):
            self.assertEqual(hexes(line.split()), generated_block(KINDS[kind][0]), kind)

    def test_stages_carry_the_table_grids(self):
        kinds = list(KINDS)
        for kind, line in zip(kinds, probe([f'grids {k}' for k in kinds])):
            tok = line.split()
            _, order, fgrid, ggrid, qgrid, _, _ = KINDS[kind]
            self.assertEqual(int(tok[1]), order)
            f_at, g_at, q_at = tok.index('freq'), tok.index('gain'), tok.index('q')
            self.assertEqual(hexes(tok[f_at + 1:g_at]), [float(x) for x in fgrid], kind)
            self.assertEqual(hexes(tok[g_at + 1:q_at]), [float(x) for x in ggrid], kind)
            self.assertEqual(hexes(tok[q_at + 1:]), [float(x) for x in qgrid], kind)


class InterpolatedStability(unittest.TestCase):
    """Between grid points too, every section the stage can run on is stable (for the order-2
    kinds that includes the cut, whose poles are the boost's zeros)."""

    def test_random_settings_of_every_kind(self):
        rng = np.random.default_rng(5)
        for kind, (_, order, fgrid, ggrid, qgrid, _, _) in KINDS.items():
            for _ in range(300):
                rate = float(rng.choice(d.RATES))
                freq = float(np.exp(rng.uniform(np.log(fgrid[0]), np.log(fgrid[-1]))))
                gain = float(rng.uniform(-16, 16)) if ggrid else 0.0
                q = float(rng.uniform(0.667, 4)) if qgrid else 0.0
                t = expected_targets(kind, rate, gain, freq, q)
                dens = [[1.0, t[3], t[4]]]
                if order == 3:
                    dens.append([1.0, t[7]])
                elif order == 4:
                    dens.append([1.0, t[8], t[9]])
                for den in dens:
                    self.assertTrue(np.all(np.abs(np.roots(den)) < 1.0),
                                    (kind, rate, gain, freq, q))


class StageResponse(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        lines = ['case {} {!r} {!r} {!r} {!r} {}'.format(
            kind, float(rate), float(gain), float(freq), float(q),
            ' '.join(repr(f) for f in test_freqs(freq, rate)))
            for kind, rate, gain, freq, q in CASES]
        cls.results = []
        for case, line in zip(CASES, probe(lines)):
            tok = line.split()
            n_at, d_at, m_at = tok.index('num'), tok.index('den'), tok.index('mag')
            cls.results.append((case, hexes(tok[n_at + 1:d_at]), hexes(tok[d_at + 1:m_at]),
                                [float(x) for x in tok[m_at + 1:]]))

    def test_running_coefficients_are_the_interpolated_targets(self):
        for (kind, rate, gain, freq, q), num, den, _ in self.results:
            order = KINDS[kind][1]
            want = expected_targets(kind, rate, gain, freq, q)
            got = exported_targets(order, num, den)
            for w, g in zip(want, got):
                self.assertLess(abs(w - g), 1e-12 * max(1.0, abs(w)), (kind, rate, gain, freq, q))

    def test_measured_gain_equals_the_analytic_response(self):
        for (kind, rate, gain, freq, q), num, den, mags in self.results:
            order = KINDS[kind][1]
            freqs = test_freqs(freq, rate)
            want = analytic_db(order, num, den, freqs, rate)
            for f, w, m in zip(freqs, want, mags):
                self.assertLess(abs(w - m), 0.01, (kind, rate, gain, freq, q, f, w, m))

    def test_cuts_mirror_boosts(self):
        by_case = {c: (num, den) for c, num, den, _ in self.results}
        pairs = [(('parametric', 44100, 16, 800, 1), ('parametric', 44100, -16, 800, 1)),
                 (('highshelf', 44100, 16, 10000, 0), ('highshelf', 44100, -16, 10000, 0)),
                 (('lowshelf', 44100, 2, 33, 0), ('lowshelf', 44100, -2, 33, 0))]
        freqs = np.geomspace(20, 20000, 200)
        for boost, cut in pairs:
            order = KINDS[boost[0]][1]
            up = analytic_db(order, *by_case[boost], freqs, boost[1])
            down = analytic_db(order, *by_case[cut], freqs, cut[1])
            self.assertLess(np.abs(up + down).max(), 1e-6, boost)
            self.assertGreater(up.max(), 1.0)  # and a boost really boosts

    def test_nearly_listed_rates_use_the_listed_set(self):
        by_case = {c: num for c, num, _, _ in self.results}
        near = by_case[('parametric', 47999.99, 6, 4000, 2)]
        want = expected_targets('parametric', 48000, 6, 4000, 2)
        self.assertLess(max(abs(a - b) for a, b in zip(near, want[:3])), 1e-12)


if __name__ == '__main__':
    PROBE = sys.argv.pop(1)
    unittest.main()
