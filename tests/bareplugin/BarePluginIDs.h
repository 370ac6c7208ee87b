#pragma once

#include "pluginterfaces/base/funknown.h"

// The bare test plug-in: a gain stage with one parameter of every kind the framework has, two
// presets and MIDI in and out. It is not a product; tests drive the framework through it.
namespace bare {

inline constexpr Steinberg::FUID kProcessorUID(0x4F72764E, 0x42617265, 0x50726F63, 0x00000001);
inline constexpr Steinberg::FUID kControllerUID(0x4F72764E, 0x42617265, 0x4374726C, 0x00000001);

inline constexpr int kEffectVersion = 0x010203;
inline constexpr int kUniqueID = 0x6F764252; // 'ovBR'
inline constexpr int kMakerID = 0x4F52564E;  // 'ORVN'
inline constexpr int kLatency = 64;
inline constexpr const char* kChannelIO = "1-1 2-2";
inline constexpr int kNPresets = 2;

// Parameter indices (= host parameter IDs).
enum EParam {
  kGain = 0, // double, dB, -24..12, group "Main"
  kFreq,     // double with shape 3, Hz, 20..20000, group "Filter" (not heard)
  kMix,      // double with break points, %, 0..100, group "Main"
  kMute,     // bool, group "Main"
  kSteps,    // int 1..8, group "Filter" (not heard)
  kMode,     // enum of three, root unit (not heard)
  kMeter,    // read-only output peak 0..1, sent to the host every block
  kNumParams
};

} // namespace bare
