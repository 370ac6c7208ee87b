#!/usr/bin/python3
"""OrvaneCompressor in Ardour 7, headless: a stereo sine at a known level comes out with the
gain reduction the static curve predicts (static_curve.py, written from the curve's
description) at two threshold/ratio settings; the parameters Ardour shows (all but the
non-automatable "I/O Metering", which Ardour hides) survive saving and reloading, and the
reloaded session sounds as the saved one did. The processor state in the saved session file
holds all nine values.

Usage: ardour_compressor.py OrvaneCompressor.vst3 [--keep] [--verbose]
"""

import base64
import os
import re
import struct
import sys

import realhost
from static_curve import static_gain_db

CHANNELS = 2
LEVEL_DBFS = -6.0
FREQUENCY = 1000.0
# The manual release at its slowest and the shortest attack hold the detector between the
# peaks; lighter reduction first, since the slow release would carry a deep reduction over.
STEADY = [("AutoRelease", 0), ("Release", 4.0), ("Attack", 0.0), ("MakeUpGain", 0.0),
          ("InputGain", 0.0), ("Blend", 100.0)]
SETTINGS = [(-20.0, 2.0), (-40.0, 10.0)]
# The sampled peak of a 1 kHz sine at 48 kHz lies within 0.02 dB of its amplitude, whatever
# its phase; the gain follows the level by less than 1 dB per dB.
TOLERANCE_DB = 0.05
# Parameter order in the processor state; "I/O Metering" (index 7) stays at its default, off.
PARAM_ORDER = ["InputGain", "Threshold", "Ratio", "Attack", "Release", "AutoRelease",
               "MakeUpGain", "I/O Metering", "Blend"]
STATE = [("InputGain", -3.5), ("Threshold", -27.5), ("Ratio", 6.0), ("Attack", 0.37),
         ("Release", 2.2), ("AutoRelease", 1), ("MakeUpGain", 7.25), ("Blend", 64.0)]


def render_id(threshold, ratio):
    return f"t{threshold:g}_r{ratio:g}"


def check(ws, plugin, name):
    renders = [realhost.Render(render_id(t, r), frequency=FREQUENCY, level=LEVEL_DBFS,
                               seconds=1.5, params=STEADY + [("Threshold", t), ("Ratio", r)])
               for t, r in SETTINGS]
    renders.append(realhost.Render("saved", frequency=FREQUENCY, level=LEVEL_DBFS, seconds=1.5,
                                   params=STATE))
    after = realhost.Render("reloaded", frequency=FREQUENCY, level=LEVEL_DBFS, seconds=1.5)
    result = realhost.run_session(ws, plugin, name, renders, state=STATE,
                                  read=[k for k, _ in STATE], reload_renders=[after],
                                  channels=CHANNELS)
    ok = True
    for t, r in SETTINGS:
        rid = render_id(t, r)
        out = realhost.measure_render(result.files[rid], FREQUENCY, CHANNELS, settle=1.0)
        into = realhost.measure_render(result.inputs[rid], FREQUENCY, CHANNELS, settle=1.0)
        expected = static_gain_db(t, r, 10 ** (into[0].sine / 20))
        for c in range(CHANNELS):
            measured = out[c].sine - into[c].sine
            good = abs(measured - expected) <= TOLERANCE_DB
            ok &= good
            print(f"threshold {t:g} ratio {r:g} ch{c}: gain {measured:+.4f} dB, curve "
                  f"{expected:+.4f} dB {'ok' if good else 'FAILED'}")
    for key, value in STATE:
        span = result.spans.get(key, 1.0)
        for when, values in (("saved", result.saved), ("reloaded", result.reloaded)):
            got = values.get(key)
            good = got is not None and abs(got - value) <= 1e-5 * span
            ok &= good
            print(f"{key} {when}: {got} (set {value}) {'ok' if good else 'FAILED'}")
    ok &= check_saved_chunk(ws)
    before = realhost.measure_render(result.files["saved"], FREQUENCY, CHANNELS, settle=1.0)
    reloaded = realhost.measure_render(result.files["reloaded"], FREQUENCY, CHANNELS, settle=1.0)
    for c in range(CHANNELS):
        good = abs(before[c].sine - reloaded[c].sine) <= 0.01
        ok &= good
        print(f"state render ch{c}: {before[c].sine:.4f} dBFS saved, {reloaded[c].sine:.4f} "
              f"dBFS reloaded {'ok' if good else 'FAILED'}")
    return ok


def check_saved_chunk(ws):
    """The processor state in the session file: header 'pfft' 0x20000, bypass word, version
    word, then the nine parameters as little-endian doubles."""
    with open(os.path.join(ws.path("session"), "check.ardour"), encoding="utf-8") as f:
        chunks = re.findall(r"<chunk>([^<]*)</chunk>", f.read())
    if len(chunks) != 1:
        print(f"expected one plug-in state chunk in the session, found {len(chunks)} FAILED")
        return False
    blob = base64.b64decode(chunks[0])
    start = blob.find(struct.pack("<ii", 0x70666674, 0x20000))
    if start < 0 or len(blob) < start + 16 + 9 * 8:
        print("no processor state in the saved chunk FAILED")
        return False
    bypass, version = struct.unpack_from("<ii", blob, start + 8)
    values = struct.unpack_from("<9d", blob, start + 16)
    expected = dict(STATE, **{"I/O Metering": 0.0})
    ok = bypass == 0 and version == 0x10100
    print(f"saved processor state: bypass {bypass}, version {version:#x} {'ok' if ok else 'FAILED'}")
    for key, value in zip(PARAM_ORDER, values):
        # Ardour carries plain values as floats.
        good = abs(value - expected[key]) <= 1e-6 * max(1.0, abs(expected[key]))
        ok &= good
        print(f"saved {key}: {value!r} {'ok' if good else 'FAILED'}")
    return ok


if __name__ == "__main__":
    sys.exit(realhost.run_script(check))
