#pragma once

#include "pluginterfaces/base/funknown.h"

// Identity of the equaliser: the VST 3 class IDs that pair its two halves and that hosts
// store in projects, and the codes and version both halves report.
namespace OrvaneEQ {

inline constexpr Steinberg::FUID kProcessorUID(0x834D36AA, 0x9E944C5D, 0xA84EE95B, 0xD4FA43A0);
inline constexpr Steinberg::FUID kControllerUID(0x71905626, 0xB07B4FDA, 0xACF00822, 0xDC0D64C1);

inline constexpr int kEffectVersion = 0x10100; // 1.1.0
inline constexpr int kUniqueID = 0x6F764551;   // 'ovEQ'
inline constexpr int kMakerID = 0x514E4D4B;    // 'QNMK'
inline constexpr int kLatency = 0;
inline constexpr const char* kChannelIO = "1-1 2-2";
inline constexpr int kNumPresets = 9;

inline constexpr const char* kEffectName = "Orvane EQ";
inline constexpr const char* kControllerName = "Orvane EQController";
inline constexpr const char* kMakerName = "Quenmark";
inline constexpr const char* kSubCategories = "Fx|EQ";
inline constexpr const char* kVersionString = "1.1";
inline constexpr const char* kSdkVersionString = "VST 3.6.5";
inline constexpr const char* kVendorUrl = "https://www.quenmark.com";
inline constexpr const char* kVendorEmail = "support@quenmark.com";

} // namespace OrvaneEQ
