#!/usr/bin/python3
"""Checks the compressor engine against the Python model in comp_reference.py.

    check_engine_reference.py RUNNER WORKDIR

For a table of settings it compares the coefficient block and the static curve; then, for a
handful of sessions at several sample rates (programme material of noise bursts, sines and
silence, with parameter moves between blocks of random length, in place and with separate
output buffers), every output sample and the meters after every block, to 1e-9.
"""

import math
import os
import subprocess
import sys

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from comp_reference import RefComp  # noqa: E402

TOLERANCE = 1e-9


# Programme material -----------------------------------------------------------------------
def programme(rng, fs, seconds, stereo_spread=0.3):
    """Noise bursts, sines at several levels and silences, in segments of 50-400 ms."""
    n = int(fs * seconds)
    left = np.zeros(n)
    right = np.zeros(n)
    pos = 0
    kinds = ["noise", "sine", "silence", "noise", "sine", "negative", "chirp"]
    while pos < n:
        length = min(n - pos, int(fs * rng.uniform(0.05, 0.4)))
        kind = kinds[rng.integers(len(kinds))]
        t = np.arange(length) / fs
        level = 10.0 ** (rng.uniform(-50.0, 6.0) / 20.0)
        if kind == "noise":
            env = np.minimum(1.0, np.arange(length) / (0.002 * fs + 1)) * np.exp(-t * rng.uniform(0, 20))
            seg_l = level * env * rng.standard_normal(length)
            seg_r = (1 - stereo_spread) * seg_l + stereo_spread * level * env * rng.standard_normal(length)
        elif kind == "sine":
            freq = rng.uniform(30.0, 8000.0)
            phase = rng.uniform(0, 2 * np.pi)
            seg_l = level * np.sin(2 * np.pi * freq * t + phase)
            seg_r = level * np.sin(2 * np.pi * freq * t + phase + rng.uniform(0, 1))
        elif kind == "negative":
            seg_l = -level * np.abs(np.sin(2 * np.pi * 200.0 * t))
            seg_r = -level * np.abs(np.sin(2 * np.pi * 310.0 * t))
        elif kind == "chirp":
            seg_l = level * np.sin(2 * np.pi * (100.0 + 2000.0 * t) * t)
            seg_r = 0.5 * seg_l
        else:
            seg_l = np.zeros(length)
            seg_r = np.zeros(length)
        left[pos:pos + length] = seg_l
        right[pos:pos + length] = seg_r
        pos += length
    return left, right


# Sessions -----------------------------------------------------------------------------------
class Session:
    """A script for the runner and the matching calls on the model."""

    def __init__(self, name, fs, left, right, side=None, in_place=True):
        self.name = name
        self.fs = fs
        self.left, self.right, self.side = left, right, side
        self.lines = ["sidechain %d" % (side is not None), "inplace %d" % in_place,
                      "rate %r" % fs]
        self.pos = 0

    def cmd(self, *words):
        self.lines.append(" ".join(w if isinstance(w, str) else repr(w) for w in words))

    def blocks(self, rng, frames, largest=1024):
        end = min(len(self.left), self.pos + frames)
        while self.pos < end:
            n = min(end - self.pos, int(rng.integers(1, largest + 1)))
            if rng.random() < 0.02:
                self.cmd("process", 0)
            self.cmd("process", n)
            self.pos += n

    def rest(self, rng, largest=1024):
        self.blocks(rng, len(self.left) - self.pos, largest)


def model_run(session):
    """Runs the model through the session's script; returns outputs and the log lines."""
    comp = RefComp()
    out_l, out_r, log = [], [], []
    pos = 0
    left, right, side = session.left.tolist(), session.right.tolist(), None
    if session.side is not None:
        side = session.side.tolist()
    detector = {"threshold": "threshold", "ratio": "ratio", "attack": "attack",
                "release": "release", "makeup": "makeup_target"}
    for line in session.lines:
        words = line.split()
        cmd, args = words[0], [float(w) for w in words[1:]]
        if cmd in ("sidechain", "inplace"):
            continue
        if cmd == "rate":
            comp.set_rate(args[0])
        elif cmd in detector:
            comp.set_detector(detector[cmd], args[0])
        elif cmd == "inputgain":
            if math.isfinite(args[0]):
                comp.in_target = args[0]
        elif cmd == "blend":
            if math.isfinite(args[0]):
                comp.blend_target = args[0]
        elif cmd == "autorelease":
            comp.set_auto_release(args[0] != 0)
        elif cmd == "iometering":
            comp.io_metering = args[0] != 0
        elif cmd == "bypass":
            comp.bypass = args[0] != 0
        elif cmd == "setall":
            comp.set_all(args[0] != 0, args[1] != 0, *args[2:])
        elif cmd == "coef":
            log.append(("coef", comp.coef))
        elif cmd == "curve":
            log.append(("curve", [comp.static_curve_db(args[0])]))
        elif cmd == "process":
            n = int(args[0])
            sc = side[pos:pos + n] if side is not None else None
            l, r = comp.process(left[pos:pos + n], right[pos:pos + n], sc)
            out_l += l
            out_r += r
            pos += n
            log.append(("meters", [comp.level_meter, comp.gr_meter, float(comp.has_processed)]))
        else:
            raise ValueError("unknown command " + cmd)
    return np.array(out_l), np.array(out_r), log


def engine_run(runner, workdir, session):
    base = os.path.join(workdir, session.name)
    columns = [session.left, session.right] + ([session.side] if session.side is not None else [])
    np.stack(columns, axis=1).astype("<f8").tofile(base + ".in")
    with open(base + ".script", "w") as f:
        f.write("\n".join(session.lines) + "\n")
    subprocess.run([runner, base + ".script", base + ".in", base + ".out", base + ".log"],
                   check=True)
    out = np.fromfile(base + ".out", dtype="<f8").reshape(-1, 2)
    log = []
    with open(base + ".log") as f:
        for line in f:
            words = line.split()
            log.append((words[0], [float.fromhex(w) for w in words[1:]]))
    return out[:, 0], out[:, 1], log


def compare(session, engine, model):
    failures = []
    e_l, e_r, e_log = engine
    m_l, m_r, m_log = model
    if len(e_l) != len(m_l):
        return ["%s: %d output frames, model %d" % (session.name, len(e_l), len(m_l))]
    for name, e, m in (("L", e_l, m_l), ("R", e_r, m_r)) if len(e_l) else ():
        both_nan = np.isnan(e) & np.isnan(m)
        same_inf = np.isinf(e) & (e == m)
        diff = np.where(both_nan | same_inf, 0.0, np.abs(e - m))
        diff = np.where(np.isnan(diff), np.inf, diff)
        worst = int(np.argmax(diff))
        if diff[worst] > TOLERANCE:
            failures.append("%s: output %s frame %d: engine %r, model %r" %
                            (session.name, name, worst, e[worst], m[worst]))
    if len(e_log) != len(m_log):
        return failures + ["%s: %d log lines, model %d" % (session.name, len(e_log), len(m_log))]
    for index, ((e_tag, e_vals), (m_tag, m_vals)) in enumerate(zip(e_log, m_log)):
        if e_tag != m_tag or len(e_vals) != len(m_vals):
            failures.append("%s: log line %d: %s vs %s" % (session.name, index, e_tag, m_tag))
            continue
        for e, m in zip(e_vals, m_vals):
            # The coefficient block and the curve are exact but for the last bits of the
            # maths library; the meters follow the signal to the same tolerance as it.
            tolerance = 1e-13 * max(1.0, abs(m)) if e_tag in ("coef", "curve") else TOLERANCE
            if not (e == m or abs(e - m) <= tolerance):
                failures.append("%s: log line %d (%s): engine %r, model %r" %
                                (session.name, index, e_tag, e_vals, m_vals))
                break
        if len(failures) > 20:
            break
    return failures


# The sessions -------------------------------------------------------------------------------
def coefficient_table():
    """Coefficients and curve over a grid of settings, rates and levels."""
    s = Session("coefficients", 0.0, np.zeros(0), np.zeros(0))
    s.lines = ["sidechain 0", "inplace 1", "coef"]
    levels = [0.0, 1e-6, 1e-3, 0.00118, 0.01, 0.1, 0.3, 0.5, 1.0, 2.0, 8.0]
    ratios = [1.0, 1.5, 1.75, 2.0, 2.5, 3.0, 4.0, 5.0, 7.5, 10.0, 20.0, 50.0, 80.0]
    attacks = [0.0, 0.25, 0.4999, 0.5, 0.6, 0.75, 0.9, 1.0]
    rates = [44100.0, 48000.0, 88200.0, 96000.0, 176400.0, 192000.0, 22050.0]
    for fs in rates:
        s.cmd("rate", fs)
        for ratio in ratios:
            s.cmd("ratio", ratio)
            for attack in attacks:
                s.cmd("attack", attack)
                s.cmd("coef")
        for threshold, release in ((-50.0, 0.1), (-35.5, 1.0), (-10.0, 4.0), (-20.0, 2.37)):
            s.cmd("threshold", threshold)
            s.cmd("release", release)
            s.cmd("coef")
            for ratio in (1.5, 4.0, 50.0):
                s.cmd("ratio", ratio)
                for level in levels:
                    s.cmd("curve", level)
    s.cmd("rate", 0.0)
    s.cmd("coef")
    return s


def sessions(rng):
    out = []

    # Manual release at 44.1 kHz: input gain rides and a make-up move, meters after the input.
    fs = 44100.0
    s = Session("manual_44k", fs, *programme(rng, fs, 3.0))
    for c in (("threshold", -30.0), ("ratio", 4.0), ("attack", 0.3), ("release", 0.5),
              ("autorelease", 0), ("makeup", 6.0), ("blend", 1.0), ("iometering", 0)):
        s.cmd(*c)
    s.blocks(rng, int(fs))
    s.cmd("inputgain", 6.0)
    s.blocks(rng, int(fs))
    s.cmd("makeup", 0.0)
    s.cmd("inputgain", -3.3)
    s.rest(rng)
    out.append(s)

    # Auto-release at 48 kHz, meters on the output, blend moves, separate output buffers.
    fs = 48000.0
    s = Session("auto_48k", fs, *programme(rng, fs, 3.0), in_place=False)
    for c in (("threshold", -40.0), ("ratio", 10.0), ("attack", 0.6), ("autorelease", 1),
              ("makeup", 12.0), ("blend", 0.7), ("iometering", 1)):
        s.cmd(*c)
    s.blocks(rng, int(fs))
    s.cmd("blend", 0.3)
    s.blocks(rng, int(0.5 * fs))
    s.cmd("blend", 0.0)
    s.blocks(rng, int(0.5 * fs))
    s.cmd("blend", 1.0)
    s.cmd("attack", 0.05)
    s.rest(rng)
    out.append(s)

    # 96 kHz: ratio extremes and switching release modes mid-programme, long release.
    fs = 96000.0
    s = Session("extremes_96k", fs, *programme(rng, fs, 2.0))
    for c in (("threshold", -50.0), ("ratio", 50.0), ("attack", 0.9), ("release", 4.0),
              ("inputgain", -12.0), ("blend", 1.0), ("iometering", 0)):
        s.cmd(*c)
    s.blocks(rng, int(0.7 * fs), largest=4096)
    s.cmd("ratio", 1.5)
    s.cmd("autorelease", 1)
    s.cmd("blend", 1.2)  # past full wet: the input-gained signal
    s.blocks(rng, int(0.7 * fs), largest=4096)
    s.cmd("blend", 1.0)
    s.cmd("setall", 0, 0, -22.5, 3.3, 0.0, 0.1, 18.0)
    s.cmd("inputgain", 18.0)
    s.rest(rng, largest=4096)
    out.append(s)

    # 192 kHz with a sidechain: the detector hears only the sidechain.
    fs = 192000.0
    left, right = programme(rng, fs, 1.0)
    side, _ = programme(rng, fs, 1.0)
    s = Session("sidechain_192k", fs, left, right, side=side, in_place=False)
    for c in (("threshold", -45.0), ("ratio", 6.0), ("attack", 0.5), ("autorelease", 1),
              ("blend", 0.85), ("makeup", 3.0)):
        s.cmd(*c)
    s.rest(rng, largest=2048)
    out.append(s)

    # 88.2 kHz: bypass in the middle, forced setall, and damaged input (non-finite samples,
    # denormals, absurd levels) that must leave nothing behind.
    fs = 88200.0
    left, right = programme(rng, fs, 2.0)
    n = len(left)
    for frame, value in ((int(0.3 * n), math.nan), (int(0.31 * n), math.inf),
                         (int(0.32 * n), -math.inf), (int(0.5 * n), 1e300),
                         (int(0.6 * n), 5e-324), (int(0.61 * n), -2.2e-310)):
        left[frame] = value
        right[frame + 7] = value
    left[int(0.7 * n):int(0.75 * n)] = 1e-310
    s = Session("damaged_88k", fs, left, right, in_place=False)
    for c in (("threshold", -35.0), ("ratio", 2.5), ("attack", 0.2), ("release", 0.3),
              ("makeup", 4.0), ("blend", 0.9), ("iometering", 1)):
        s.cmd(*c)
    s.blocks(rng, int(0.2 * n))
    s.cmd("bypass", 1)
    s.blocks(rng, int(0.05 * n))
    s.cmd("bypass", 0)
    s.cmd("threshold", math.nan)
    s.cmd("inputgain", math.inf)
    s.cmd("setall", 1, 1, -35.0, 2.5, 0.2, 0.3, 4.0)
    s.rest(rng)
    out.append(s)
    return out


def main():
    runner, workdir = sys.argv[1], sys.argv[2]
    os.makedirs(workdir, exist_ok=True)
    rng = np.random.default_rng(20261210)
    failures = []
    checked = []
    for session in [coefficient_table()] + sessions(rng):
        engine = engine_run(runner, workdir, session)
        model = model_run(session)
        problems = compare(session, engine, model)
        failures += problems
        checked.append("%s: %d frames, %d log lines%s" %
                       (session.name, len(model[0]), len(model[2]),
                        "" if not problems else " FAILED"))
    print("\n".join(checked))
    if failures:
        print("\n".join(failures[:40]))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
