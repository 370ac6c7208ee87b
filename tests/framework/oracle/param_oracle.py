#!/usr/bin/python3
"""Independent transcription of the parameter mapping and display rules, and of the EQ's and
the compressor's parameter tables, used as the oracle of the C++ parameter model.

Writes a C++ include file with one case per (parameter, host input): the plain value the
parameter stores for a normalised input, the host display of that input, and the
normalised position of plain inputs."""

import math
import sys

# name, label, default, min, max, step, break points (normalised, value)
EQ = [
    ("HiPassFreq", "Hz", 20, 20, 330, 0.1, [(0, 20), (0.168478, 36), (0.543478, 105), (1, 330)]),
    ("LowShelfFreq", "Hz", 120, 33, 270, 0.1, [(0, 33), (0.244565, 66), (0.744565, 130), (1, 270)]),
    ("LowShelfGain", "dB", 0, -16, 16, 0.1, []),
    ("LowMidFreq", "Hz", 600, 40, 1200, 0.1,
     [(0, 40), (0.195652, 80), (0.402174, 150), (0.581522, 300), (0.798913, 600), (1, 1200)]),
    ("LowMidGain", "dB", 0, -16, 16, 0.1, []),
    ("LowMidQ", "dB", 2.333, 0.667, 4, 0.001, []),
    ("HiMidFreq", "Hz", 5000, 600, 18000, 0.1,
     [(0, 600), (0.195652, 1200), (0.402174, 2500), (0.581522, 5000), (0.798913, 10000),
      (1, 18000)]),
    ("HiMidGain", "dB", 0, -16, 16, 0.1, []),
    ("HiMidQ", "dB", 2.333, 0.667, 4, 0.001, []),
    ("HiShelfFreq", "Hz", 10000, 3300, 15000, 10,
     [(0, 3300), (0.246217, 5000), (0.746217, 10000), (1, 15000)]),
    ("HiShelfGain", "dB", 0, -16, 16, 0.1, []),
    ("LowPassFreq", "Hz", 22000, 3900, 22000, 10,
     [(0, 3900), (0.429348, 8200), (0.809783, 16000), (1, 22000)]),
    ("Gain", "dB", 0, -18, 18, 0.1, []),
]

# name, label, kind, default, min, max, step, break points
COMP = [
    ("InputGain", "dB", "double", 0, -18, 18, 0.1, []),
    ("Threshold", "dB", "double", -10, -50, -10, 0.5, []),
    ("Ratio", "", "double", 1.5, 1.5, 50, 0.02,
     [(0, 1.5), (0.2, 2), (0.4, 3), (0.6, 5), (0.8, 10), (1, 50)]),
    ("Attack", "s", "double", 0.5, 0, 1, 0.01, []),
    ("Release", "s", "double", 1, 0.1, 4, 0.02, []),
    ("AutoRelease", "", "bool", 1, 0, 1, 1, []),
    ("MakeUpGain", "dB", "double", 0, 0, 40, 0.05, []),
    ("I/O Metering", "", "bool", 0, 0, 1, 1, []),
    ("Blend", "", "double", 100, 0, 100, 1, []),
]


def make(name, label, kind, default, lo, hi, step, bps):
    precision = 0
    x = float(step)
    while precision < 6 and x != math.floor(x):
        precision += 1
        x *= 10
    return dict(name=name, label=label, kind=kind, default=float(default), min=float(lo),
                max=max(float(hi), float(lo) + step), step=float(step), shape=1.0,
                bps=[(float(n), float(v)) for n, v in sorted(bps, key=lambda p: p[0])],
                precision=precision,
                texts={0: "off", 1: "on"} if kind == "bool" else {})


def plain_of(p, x, current):
    """The plain value for normalised x, before rounding."""
    if math.isnan(x):
        return current
    x = min(max(x, 0.0), 1.0)
    bps = p["bps"]
    if not bps:
        return p["min"] + (p["max"] - p["min"]) * math.pow(x, p["shape"])
    for i, (n, v) in enumerate(bps):
        if n >= x:
            if x == n or i == 0:
                return v
            pn, pv = bps[i - 1]
            return pv + (x - pn) * (v - pv) / (n - pn)
    return bps[-1][1]


def stored(p, x, current):
    if math.isnan(x):
        return current
    v = plain_of(p, x, current)
    if p["kind"] != "double":
        v = math.floor(v / p["step"] + 0.5) * p["step"]
    return min(max(v, p["min"]), p["max"])


def normalised_of(p, v, current):
    if math.isnan(v):
        v = current
    v = min(max(v, p["min"]), p["max"])
    bps = p["bps"]
    if not bps:
        return math.pow((v - p["min"]) / (p["max"] - p["min"]), 1.0 / p["shape"])
    for i, (n, pv) in enumerate(bps):
        if pv >= v:
            if v == pv or i == 0:
                return n
            qn, qv = bps[i - 1]
            return qn + (v - qv) * (n - qn) / (pv - qv)
    return bps[-1][0]


def display(p, v):
    i = int(v)  # toward zero
    if i in p["texts"] and p["texts"][i]:
        return p["texts"][i]
    if p["precision"] == 0:
        return "%d" % i
    return "%.*f" % (p["precision"], v)


def inputs_for(p):
    xs = [-0.5, -1e-12, 0.0, 1e-9, 0.1, 0.25, 0.5, 0.75, 0.9, 1 - 1e-9, 1.0, 1 + 1e-12, 1.5,
          math.nan, math.inf, -math.inf]
    for n, _ in p["bps"]:
        xs += [n, math.nextafter(n, -1.0), math.nextafter(n, 2.0), n - 1e-6, n + 1e-6]
    out = []
    for x in xs:
        if x not in out or math.isnan(x):
            out.append(x)
    return out


def plains_for(p):
    vs = [p["min"] - 1, p["min"], p["default"], (p["min"] + p["max"]) / 2, p["max"],
          p["max"] + 1, math.nan]
    for _, v in p["bps"]:
        vs += [v, v - p["step"] / 2, v + p["step"] / 2]
    return vs


def lit(x):
    if math.isnan(x):
        return "kNaN"
    if math.isinf(x):
        return "kInf" if x > 0 else "-kInf"
    return float.hex(x)


def cstr(s):
    return '"' + s.replace("\\", "\\\\").replace('"', '\\"') + '"'


def main(path):
    tables = [("kEq", [make(n, l, "double", d, lo, hi, s, b) for n, l, d, lo, hi, s, b in EQ]),
              ("kComp", [make(*row) for row in COMP])]
    lines = ["// Generated by param_oracle.py: expected values of the parameter model."]
    for tag, params in tables:
        lines.append("const NormalizedCase %sNormalizedCases[] = {" % tag)
        for idx, p in enumerate(params):
            for x in inputs_for(p):
                s = stored(p, x, p["default"])
                lines.append("    {%d, %s, %s, %s, %s}," % (idx, cstr(p["name"]), lit(x), lit(s),
                                                        cstr(display(p, s))))
        lines.append("};")
        lines.append("const PlainCase %sPlainCases[] = {" % tag)
        for idx, p in enumerate(params):
            for v in plains_for(p):
                lines.append("    {%d, %s, %s}," % (idx, lit(v),
                                                    lit(normalised_of(p, v, p["default"]))))
        lines.append("};")
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main(sys.argv[1])
