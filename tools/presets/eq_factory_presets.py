"""The equaliser's eight factory presets after "Default": name and the 13 parameter values in
parameter index order (Hz, dB and Q as the parameters declare them)."""

# HiPassFreq, LowShelfFreq, LowShelfGain, LowMidFreq, LowMidGain, LowMidQ, HiMidFreq,
# HiMidGain, HiMidQ, HiShelfFreq, HiShelfGain, LowPassFreq, Gain
PRESETS = [
    ("ACOUSTIC Bass",
     [34.7826, 270, 1.56863, 600, 0, 2.333, 1209.24, -4.70588, 1.40717, 10000, 2.82353, 22000,
      -2.11765]),
    ("DRUM Bus",
     [34.7826, 120, 0, 76.0551, 2.19608, 3.07417, 1013.57, -0.941176, 2.74962, 10000, 0.313725,
      22000, 0]),
    ("DRUM Snare",
     [109.295, 188.095, 4.70588, 663.627, -7.21569, 1.82379, 4283.14, 4.39216, 1.36138,
      4584.71, 7.10543e-15, 22000, 0]),
    ("DRUM Kick",
     [32.1739, 218.443, 4.07843, 581.506, -4.39216, 2.333, 10071.2, 5.96078, 2.333, 4576.28, 0,
      22000, 0]),
    ("ELECTRIC Bass",
     [34.7826, 98.0261, 3.13725, 185.173, 1.88235, 2.333, 1209.24, -4.70588, 1.40717, 4751.18,
      1.56863, 22000, -2.11765]),
    ("ELECTRIC GTR Lead",
     [104.462, 98.0261, 3.13725, 340.428, -2.5098, 2.333, 822.694, 1.56863, 2.74962, 4751.18,
      1.2549, 15862.5, -2.11765]),
    ("ELECTRIC GTR Rhythm",
     [100.615, 270, 2.5098, 272.235, 0, 2.333, 1140.83, 0, 1.96267, 15000, 0, 16130.4,
      -3.55271e-15]),
    ("VOX Lead",
     [102.538, 120, 0, 1200, -2.19608, 2.333, 5000, 2.19608, 2.333, 9080.8, 0.627451, 22000,
      0]),
]

PARAM_COUNT = 13
