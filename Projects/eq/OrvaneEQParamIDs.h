#pragma once

// The equaliser's parameters. The index is also the VST 3 parameter ID and the position of
// the value in the processor chunk, so the order is part of every saved project and preset.
enum EOrvaneEQParam : int {
  kHiPassFreq = 0, // Hz, 20..330; at 20 Hz and below the high-pass stages are bypassed
  kLowShelfFreq,   // Hz, 33..270
  kLowShelfGain,   // dB, -16..16
  kLowMidFreq,     // Hz, 40..1200
  kLowMidGain,     // dB, -16..16
  kLowMidQ,        // Q 0.667..4 (labelled "dB" like the gains, as saved projects show it)
  kHiMidFreq,      // Hz, 600..18000
  kHiMidGain,      // dB, -16..16
  kHiMidQ,         // Q 0.667..4
  kHiShelfFreq,    // Hz, 3300..15000
  kHiShelfGain,    // dB, -16..16
  kLowPassFreq,    // Hz, 3900..22000; at 22000 Hz and above the low-pass stages are bypassed
  kOutputGain,     // dB, -18..18, slewed at 180 dB/s
  kNumOrvaneEQParams
};
