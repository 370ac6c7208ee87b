#!/usr/bin/python3
"""The pass-through plug-in in Ardour: a table of gains, each one capture of the same session,
must come out at the level the gain parameter asks for and in phase with the input; polarity
inversion must flip the sign sample by sample.

Usage: passthrough_gains.py OrvanePassthrough.vst3 [--keep] [--verbose]
"""

import sys

import numpy as np

import realhost

# Plain values in dB, including both ends of the range.
GAINS_DB = (-60.0, -24.0, -6.0, -0.5, 0.0, 6.0, 12.0)
TOLERANCE_DB = 0.01
CHANNELS = 2


def render_id(gain):
    return f"gain{gain:+g}"


def check(ws, plugin, name):
    renders = [realhost.Render(render_id(g), seconds=0.5, params=[("Gain", g), ("Invert", 0)])
               for g in GAINS_DB]
    renders.append(realhost.Render("inverted", seconds=0.5, params=[("Gain", -6.0), ("Invert", 1)]))
    result = realhost.run_session(ws, plugin, name, renders, channels=CHANNELS)
    ok = True
    for gain in GAINS_DB:
        rid = render_id(gain)
        transfer = realhost.measure_transfer(result.files[rid], result.inputs[rid], 1000.0,
                                             CHANNELS, settle=0.1)
        for c, t in enumerate(transfer):
            good = abs(t.gain_db - gain) <= TOLERANCE_DB and abs(t.phase_deg) < 0.01
            print(f"Gain {gain:+6.1f} dB, ch{c}: {t.gain_db:+.4f} dB, {t.phase_deg:+.4f} deg "
                  f"{'ok' if good else 'FAILED'}")
            ok &= good
    ok &= check_inverted(result)
    return ok


def check_inverted(result):
    """Sample by sample, the output is the input times -10^(-6/20)."""
    _, into = realhost.read_render(result.inputs["inverted"], CHANNELS)
    _, out = realhost.read_render(result.files["inverted"], CHANNELS)
    expected = -10 ** (-6 / 20) * into
    error = float(np.max(np.abs(out - expected)))
    good = error < 1e-6
    print(f"inverted at -6 dB: largest deviation {error:.2e} {'ok' if good else 'FAILED'}")
    return good


if __name__ == "__main__":
    sys.exit(realhost.run_script(check))
