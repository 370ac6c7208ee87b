#pragma once

#include "pluginterfaces/base/funknown.h"

// Identity of the compressor: the VST 3 class IDs that pair its two halves and that hosts
// store in projects, and the codes, names and version both halves and the factory report.
namespace OrvaneCompressor {

inline constexpr Steinberg::FUID kProcessorUID(0x1887D1AD, 0x82174BDA, 0xB55C9797, 0xDF13213E);
inline constexpr Steinberg::FUID kControllerUID(0x223071DC, 0xE0744ED6, 0xA01FBAB0, 0xED1B361E);

inline constexpr int kEffectVersion = 0x10100; // 1.1.0
inline constexpr int kUniqueID = 0x6F764350;   // 'ovCP', also the AAX chunk ID
inline constexpr int kMakerID = 0x514E4D4B;    // 'QNMK'
inline constexpr int kLatency = 0;
inline constexpr const char* kChannelIO = "1-1 2-2";
inline constexpr int kNumPresets = 0;
// The API index both halves are built with (the AAX face is the compressor's main one).
inline constexpr int kAPI = 4;

inline constexpr const char* kEffectName = "Orvane Compressor";
inline constexpr const char* kControllerName = "Orvane CompressorController";
inline constexpr const char* kMakerName = "Quenmark";
inline constexpr const char* kSubCategories = "Fx|Dynamics";
inline constexpr const char* kVersionString = "1.1";
inline constexpr const char* kSdkVersionString = "VST 3.6.5";
inline constexpr const char* kVendorUrl = "https://www.quenmark.com";
inline constexpr const char* kVendorEmail = "support@quenmark.com";

// The meter message from the processor to the controller, every timer tick.
inline constexpr const char* kMeterMessageID = "GAIN";
inline constexpr const char* kLevelAttribute = "GAIN";
inline constexpr const char* kGainReductionAttribute = "GAIN_REDUCTION";

} // namespace OrvaneCompressor
