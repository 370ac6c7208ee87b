#pragma once

// The compressor's parameters. The index is also the VST 3 parameter ID and the position of
// the value in the processor chunk, so the order is part of every saved project.
enum EOrvaneCompressorParam : int {
  kInputGain = 0, // dB, -18..18, slewed at 180 dB/s before the detector
  kThreshold,     // dB, -50..-10: the detector's drive
  kRatio,         // 1.5..50, each fifth of the knob one segment of 1.5, 2, 3, 5, 10, 50
  kAttack,        // attack pot position 0..1 (labelled "s")
  kRelease,       // s, 0.1..4: the manual release
  kAutoRelease,   // bool: the two-state programme-dependent release instead of the manual one
  kMakeUpGain,    // dB, 0..40, slewed at 180 dB/s
  kIOMetering,    // bool, not automatable: meters after the output (on) or the input gain (off)
  kBlend,         // 0..100 wet share; the engine gets the normalised value 0..1
  kNumOrvaneCompressorParams
};
