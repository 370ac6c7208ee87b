#!/usr/bin/python3
"""Sines at known levels through the built bundle (comp_plugin_runner, in the VST 3 test host)
must come out with the gain the static curve predicts (static_curve.py, written from the
curve's description, not from the engine's code).

Usage: check_plugin_curve.py RUNNER BUNDLE
"""

import subprocess
import sys

from static_curve import static_gain_db

# threshold dB, ratio, sine peak dBFS: no reduction, gentle, heavy, each ratio segment, the
# ratio ends and beyond 10:1.
CASES = [
    (-10.0, 1.5, -20.0),
    (-10.0, 1.5, 0.0),
    (-20.0, 2.0, -6.0),
    (-30.0, 4.0, -6.0),
    (-30.0, 4.0, -18.0),
    (-40.0, 3.0, -12.0),
    (-50.0, 10.0, -3.0),
    (-50.0, 50.0, -1.0),
    (-35.5, 25.0, -9.0),
    (-45.0, 7.0, -24.0),
]
# The held curve value falls by the release factor between the peaks of each cycle (2.3 s
# time constant, 1 ms cycles): the gain ripples by well under this.
TOLERANCE_DB = 0.02


def main(runner, bundle):
    text = "".join(f"{t} {r} {l}\n" for t, r, l in CASES)
    out = subprocess.run([runner, bundle], input=text, capture_output=True, text=True, timeout=120)
    if out.returncode != 0:
        print(out.stderr)
        return 1
    ok = True
    lines = out.stdout.split("\n")
    for (t, r, l), line in zip(CASES, lines):
        measured = float(line.split()[3])
        expected = static_gain_db(t, r, 10 ** (l / 20))
        good = abs(measured - expected) <= TOLERANCE_DB
        ok &= good
        print(f"threshold {t:6.1f} ratio {r:5.1f} level {l:6.1f}: {measured:+9.4f} dB, "
              f"curve {expected:+9.4f} dB {'ok' if good else 'FAILED'}")
    if len([x for x in lines if x.strip()]) != len(CASES):
        print("runner answered", out.stdout)
        return 1
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:3]))
