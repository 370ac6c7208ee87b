#!/usr/bin/python3
"""OrvaneEQ.vst3 in Ardour 7, headless: its response and its state.

Usage: realhost_eq_response.py BUNDLE --probe EQ_FILTER_PROBE [--keep] [--verbose]

Ardour scans the bundle, then one session plays sines on a stereo track through the plug-in at
several settings (a 6 dB mid boost, a low-shelf cut, the high-pass at 100 Hz, and the "DRUM
Snare" factory preset chosen from the plug-in's program list) and captures what enters and
leaves it. The gain
measured in each capture (output against input at the sine's frequency, after the glides have
settled) must equal, within 0.1 dB, the response predicted from the coefficient tables: the
interpolated coefficients each stage exports for its setting (through the filter probe),
evaluated with scipy.signal.freqz, multiplied along the chain, plus the output gain. Then, in a
second session, all 13 parameters are set, saved, and read back after Ardour reloads it."""

import argparse
import os
import subprocess
import sys

import numpy as np
from scipy import signal

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(HERE, "..", "realhost"))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "presets"))
import eq_factory_presets  # noqa: E402
import realhost  # noqa: E402

RATE = 48000
TOLERANCE_DB = 0.1
SETTLE_S = 0.5
SECONDS = 1.5
NAMES = ["HiPassFreq", "LowShelfFreq", "LowShelfGain", "LowMidFreq", "LowMidGain", "LowMidQ",
         "HiMidFreq", "HiMidGain", "HiMidQ", "HiShelfFreq", "HiShelfGain", "LowPassFreq", "Gain"]
DEFAULTS = [20, 120, 0, 600, 0, 2.333, 5000, 0, 2.333, 10000, 0, 22000, 0]


def setting(**changes):
    values = dict(zip(NAMES, DEFAULTS))
    values.update(changes)
    return values


SNARE = dict(zip(NAMES, dict(eq_factory_presets.PRESETS)["DRUM Snare"]))
# label, the values the plug-in then holds, the factory preset that sets them (None: the
# values are set one by one), frequencies.
SETTINGS = [
    ("mid boost", setting(LowMidGain=6.0, LowMidFreq=600.0), None, [600.0, 250.0, 1500.0]),
    ("low-shelf cut", setting(LowShelfGain=-9.0, LowShelfFreq=120.0), None,
     [40.0, 120.0, 1000.0]),
    ("high-pass 100 Hz", setting(HiPassFreq=100.0), None, [50.0, 100.0, 400.0]),
    ("DRUM Snare", SNARE, "DRUM Snare", [110.0, 660.0, 4300.0]),
]
STATE = setting(HiPassFreq=87.5, LowShelfFreq=150.0, LowShelfGain=-3.5, LowMidFreq=420.0,
                LowMidGain=2.5, LowMidQ=1.25, HiMidFreq=3300.0, HiMidGain=-4.5, HiMidQ=3.5,
                HiShelfFreq=7000.0, HiShelfGain=5.5, LowPassFreq=15000.0, Gain=-6.5)


class Probe:
    """The filter probe: a stage's running coefficients at a setting, once settled."""

    def __init__(self, path):
        self.proc = subprocess.Popen([path], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     text=True)

    def coefficients(self, kind, gain, freq, q):
        self.proc.stdin.write(f"case {kind} {RATE} {gain!r} {freq!r} {q!r}\n")
        self.proc.stdin.flush()
        words = self.proc.stdout.readline().split()
        num = [float.fromhex(w) for w in words[1:8]]
        den = [float.fromhex(w) for w in words[9:15]]
        return num, den

    def close(self):
        self.proc.stdin.close()
        self.proc.wait()


def stage_response(num, den, order, freq):
    """H at freq of a stage's sections: order 2 one biquad, 3 a biquad then a first-order
    section, 4 x + k B2(B1(x))."""
    w = 2 * np.pi * freq / RATE
    _, h1 = signal.freqz(num[0:3], den[0:3], worN=[w])
    if order == 2:
        return h1[0]
    _, h2 = signal.freqz(num[3:6], den[3:6], worN=[w])
    if order == 3:
        return h1[0] * h2[0]
    return 1.0 + num[6] * h1[0] * h2[0]


def predicted_db(probe, v, freq):
    """The chain's gain in dB at freq: the engaged stages in processing order, then Gain."""
    stages = []
    if v["HiPassFreq"] > 20:
        stages.append(("highpass", 3, 0.0, v["HiPassFreq"], 0.0))
    stages.append(("parametric", 2, v["LowMidGain"], v["LowMidFreq"], v["LowMidQ"]))
    stages.append(("parametric", 2, v["HiMidGain"], v["HiMidFreq"], v["HiMidQ"]))
    stages.append(("highshelf", 2, v["HiShelfGain"], v["HiShelfFreq"], 0.0))
    stages.append(("lowshelf", 4, v["LowShelfGain"], v["LowShelfFreq"], 0.0))
    if v["LowPassFreq"] < 22000:
        stages.append(("lowpass", 3, 0.0, v["LowPassFreq"], 0.0))
    h = 1.0 + 0j
    for kind, order, gain, f0, q in stages:
        num, den = probe.coefficients(kind, gain, f0, q)
        h *= stage_response(num, den, order, freq)
    return 20 * np.log10(abs(h)) + v["Gain"]


def check(ws, plugin, name, probe):
    renders, expected = [], {}
    for label, values, preset, fs in SETTINGS:
        for f in fs:
            rid = f"{label} {f:g}"
            params = [] if preset else list(values.items())
            renders.append(realhost.Render(rid, f, -12.0, SECONDS, params=params, preset=preset))
            expected[rid] = (f, predicted_db(probe, values, f))
    result = realhost.run_session(ws, plugin, name, renders, channels=2, rate=RATE)
    ok = True
    for rid, (f, want) in expected.items():
        transfers = realhost.measure_transfer(result.files[rid], result.inputs[rid], f, 2,
                                              SETTLE_S)
        for c, transfer in enumerate(transfers):
            ok &= realhost.expect_close(f"{rid} Hz ch{c} gain dB", transfer.gain_db, want,
                                        TOLERANCE_DB)
    # A session of its own: Ardour brings a chosen preset back when it reloads a session, over
    # the parameters saved after it.
    result = realhost.run_session(ws, plugin, name, state=list(STATE.items()), read=NAMES,
                                  rate=RATE)
    for key, value in STATE.items():
        before, after = result.saved.get(key), result.reloaded.get(key)
        tolerance = 1e-5 * max(1.0, abs(value))
        good = (before is not None and after is not None and abs(before - value) <= tolerance
                and abs(after - value) <= tolerance)
        print(f"state '{key}': set {value:g}, before saving {before}, after reloading {after} "
              f"{'ok' if good else 'FAILED'}")
        ok &= good
    return ok


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    realhost.add_common(parser)
    parser.add_argument("--probe", required=True, help="the eq_filter_probe executable")
    args = parser.parse_args(argv[1:])
    probe = Probe(args.probe)
    try:
        with realhost.Workspace(keep=args.keep, timeout=args.timeout, verbose=args.verbose) as ws:
            plugin = ws.stage(args.plugin)
            name = realhost.scan_ardour(ws, plugin)
            print(f"Found Plugin: {name}")
            ok = check(ws, plugin, name, probe)
    except realhost.CheckFailed as failure:
        print(f"FAILED: {failure}")
        return 1
    finally:
        probe.close()
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
