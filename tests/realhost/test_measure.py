"""The host-free half of realhost.py: measuring signals whose levels are known exactly,
and the small helpers around it."""

import math
import os
import tempfile
import unittest

import numpy as np
import scipy.io.wavfile

import realhost

RATE = 48000


def sine(frequency, peak_db, seconds=0.5, phase=0.3, rate=RATE):
    t = np.arange(int(seconds * rate)) / rate
    return 10 ** (peak_db / 20) * np.sin(2 * np.pi * frequency * t + phase)


class SineLevels(unittest.TestCase):
    # Frequencies that do and do not fit a whole number of periods into the window, up to
    # near Nyquist where a period is a couple of samples.
    CASES = [(1000.0, -12.0), (997.3, -6.0), (31.7, -30.0), (12345.6, 0.0), (21000.0, -3.0)]

    def test_rms_peak_and_fitted_sine_of_a_pure_sine(self):
        for frequency, peak_db in self.CASES:
            with self.subTest(frequency=frequency):
                levels = realhost.measure_signal(sine(frequency, peak_db), frequency, RATE)
                self.assertAlmostEqual(levels.sine, peak_db, places=6)
                self.assertAlmostEqual(levels.rms, peak_db - 10 * math.log10(2), delta=2e-3)
                self.assertLessEqual(levels.peak, peak_db + 1e-9)
                self.assertGreater(levels.peak, peak_db - 0.3)

    def test_fitted_sine_ignores_harmonics_dc_and_other_tones(self):
        fundamental = sine(440.0, -10.0)
        x = fundamental + sine(880.0, -20.0) + sine(1320.0, -26.0) + 0.05 + sine(5000.0, -15.0)
        levels = realhost.measure_signal(x, 440.0, RATE)
        self.assertAlmostEqual(levels.sine, -10.0, places=3)
        self.assertGreater(levels.rms, realhost.measure_signal(fundamental, 440.0, RATE).rms + 0.3)

    def test_silence_is_a_floor_not_an_error(self):
        levels = realhost.measure_signal(np.zeros(RATE // 2), 1000.0, RATE)
        self.assertEqual((levels.rms, levels.peak, levels.sine), (realhost.SILENCE_DB,) * 3)

    def test_whole_periods_window(self):
        self.assertEqual(realhost.whole_periods(48000, 1000.0, 48000), 48000)
        self.assertEqual(realhost.whole_periods(1000, 1000.0, 48000), 960)
        self.assertEqual(realhost.whole_periods(10, 1000.0, 48000), 10)


class RenderFiles(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()

    def tearDown(self):
        self.folder.cleanup()

    def write(self, name, data, dtype=np.float32):
        path = os.path.join(self.folder.name, name)
        if np.dtype(dtype).kind == "i":
            data = np.round(data * 32767).astype(dtype)
        scipy.io.wavfile.write(path, RATE, np.asarray(data, dtype=dtype))
        return path

    def test_mono_bounce_files_make_one_channel_each(self):
        left = self.write("r%L.wav", sine(1000.0, -6.0))
        right = self.write("r%R.wav", sine(1000.0, -18.0))
        levels = realhost.measure_render([left, right], 1000.0, channels=2, settle=0.1)
        self.assertAlmostEqual(levels[0].sine, -6.0, places=4)
        self.assertAlmostEqual(levels[1].sine, -18.0, places=4)

    def test_master_export_gives_the_first_channels_and_settling_is_skipped(self):
        x = sine(500.0, -12.0)
        x[:RATE // 10] *= 4.0   # a loud start, as from a plug-in that is still settling
        stereo = np.column_stack([x, np.zeros_like(x)])
        path = self.write("master.wav", stereo, np.int16)
        levels = realhost.measure_render([path], 500.0, channels=1, settle=0.1)
        self.assertEqual(len(levels), 1)
        self.assertAlmostEqual(levels[0].peak, -12.0, delta=0.01)

    def test_transfer_of_a_delay_and_gain_against_its_input(self):
        frequency = 1000.0
        into = sine(frequency, -12.0)
        delayed = np.concatenate([np.zeros(6), into[:-6]]) * 10 ** (-3 / 20)   # 6 samples late
        out = self.write("out.wav", np.column_stack([delayed, -delayed]))
        source = self.write("in.wav", into)
        left, right = realhost.measure_transfer([out], [source], frequency, channels=2, settle=0.1)
        expected_phase = -360.0 * frequency * 6 / RATE
        self.assertAlmostEqual(left.gain_db, -3.0, places=4)
        self.assertAlmostEqual(left.phase_deg, expected_phase, places=3)
        self.assertAlmostEqual(right.gain_db, -3.0, places=4)
        self.assertAlmostEqual(right.phase_deg, expected_phase + 180.0, places=3)

    def test_a_render_too_short_to_settle_is_refused(self):
        path = self.write("short.wav", sine(1000.0, -6.0, seconds=0.1))
        with self.assertRaises(realhost.CheckFailed):
            realhost.measure_render([path], 1000.0, channels=1, settle=0.25)


class Arguments(unittest.TestCase):
    def test_parameter_settings(self):
        self.assertEqual(realhost.parameter_setting("Master Gain=-6"), ("Master Gain", -6.0))
        self.assertEqual(realhost.parameter_setting("#12=0.25"), ("#12", 0.25))
        self.assertEqual(realhost.parameter_setting("A=B=1"), ("A=B", 1.0))
        for bad in ("Gain", "=3", "Gain=loud"):
            with self.subTest(bad=bad), self.assertRaises(Exception):
                realhost.parameter_setting(bad)

    def test_frequency_gain_pairs(self):
        self.assertEqual(realhost.frequency_gain("1000=6"), (1000.0, 6.0))
        self.assertEqual(realhost.frequency_gain("31.5=-0.25"), (31.5, -0.25))
        for bad in ("1000", "0=3", "-5=1", "x=1", "100=loud"):
            with self.subTest(bad=bad), self.assertRaises(Exception):
                realhost.frequency_gain(bad)

    def test_lua_literals_quote_what_lua_would_misread(self):
        self.assertEqual(realhost.lua_literal({"a": [1, 2.5, True, 'x"\\y']}),
                         '{a = {1, 2.5, true, "x\\034\\092y"}}')
        with self.assertRaises(realhost.CheckFailed):
            realhost.lua_literal(float("nan"))

    def test_a_vst2_library_inside_a_bundle_is_staged_with_its_bundle(self):
        self.assertEqual(realhost.enclosing_bundle("/b/OrvaneEQ.vst3/Contents/x86_64-linux/OrvaneEQ.so"),
                         "/b/OrvaneEQ.vst3")
        self.assertIsNone(realhost.enclosing_bundle("/usr/lib/vst/ZamEQ2-vst.so"))
        self.assertIsNone(realhost.enclosing_bundle("/b/Contents/x86_64-linux/OrvaneEQ.so"))

    def test_found_plugin_lines_of_both_scanners(self):
        self.assertEqual(realhost.found_plugin_name("[Info]: Found Plugin: ZamEQ2"), "ZamEQ2")
        self.assertEqual(realhost.found_plugin_name(
            "[Info]: Found Plugin: '8vaj' Delay Compensator Mono"), "Delay Compensator Mono")


if __name__ == "__main__":
    unittest.main()
